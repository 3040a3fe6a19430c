#include "app/mainwindow.h"

#include <QtAlgorithms>
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "app/version.h"
#include "flightplan/aircraft.h"   // complete, so that deleting the list runs the destructors
#include "map/sectionbuilder.h"   // complete, so that a load under way is stopped
#include "map/webpage.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMimeData>
#include <QUndoStack>
#include <QUrl>

namespace {

QIcon resourceIcon(const char *name)
{
    return QIcon(QStringLiteral(":/icon/images/") + QLatin1String(name));
}

// The first flight-plan file (".fpl", in any case) among dropped data;
// empty when there is none.
QString droppedPlanFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QLatin1String(".fpl"), Qt::CaseInsensitive))
            return url.toLocalFile();
    }
    return QString();
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : MainWindow(Options(), parent)
{
}

MainWindow::MainWindow(const Options &options, QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    construct(options);
}

// The window's start-up: banner, directories, databases, form, map page,
// flight plan, docks, status bar, stored layers, aircraft list.
void MainWindow::construct(const Options &options)
{
    qDebug() << "\n\n-------------------->\nStarting CorvaneNavigator"
             << QDateTime::currentDateTime().toString(QStringLiteral("yy-MM-dd hh:mm:ss"));

    // Both directory choosers and the map page start from here.
    m_appDir = QCoreApplication::applicationDirPath();

    // Reads navigator.ini.
    m_config = CNavGlobalVar::instance();

    // The program is started from a folder two levels below the simulator.
    qDebug() << "MainWindow::MainWindow : QDir::current" << QDir::current();
    m_config->dirCorvane = QDir::current();
    (void)m_config->dirCorvane.cdUp();
    (void)m_config->dirCorvane.cdUp();
    qDebug() << "MainWindow::MainWindow : dirCorvane" << m_config->dirCorvane.path();

    if (!QFileInfo::exists(m_config->dirCorvane.filePath(QStringLiteral("Corvane.exe")))) {
        qDebug() << "MainWindow::MainWindow : dirCorvane not found";
        // Whatever is chosen is used; a cancelled chooser leaves an empty path.
        m_config->dirCorvane.setPath(prompt().existingDirectory(tr("Sélectionner le répertoire de Corvane"), m_appDir));
    }
    qDebug() << "MainWindow::MainWindow : dirCorvane" << m_config->dirCorvane.path();

    // An empty setting (first start) counts as missing; it is tested first
    // because QDir complains about an empty path.
    if (!m_config->workDirSet || !m_config->dirWork.exists()) {
        qDebug() << "MainWindow::MainWindow : dirWork not found";
        const QString chosen = prompt().existingDirectory(tr("Sélectionner le répertoire de travail"), m_appDir);
        m_config->dirWork.setPath(chosen);
        m_config->workDirSet = !chosen.isEmpty();
    }
    qDebug() << "MainWindow::MainWindow : dirWork" << m_config->dirWork.path();

    // Database directories, connections and version checks, tile tables.
    if (!m_config->init()) {
        // main shows the window after the constructor, so a close made now
        // would be undone; the close is queued behind the show instead.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }

    ui->setupUi(this);
    // The form's z-order: the docks are raised in this order.
    ui->dockWDebug->raise();
    ui->dockWSearch->raise();
    ui->dockWFlightPlan->raise();
    ui->dockWAircraft->raise();
    ui->dockWStar->raise();

    setWindowTitle(tr("Corvane Navigator - Version %1").arg(programVersion()));

    createLayerActions();
    connect(ui->menuNewFlightPlan, &QAction::triggered, this, &MainWindow::on_btnNewFlightPlan_clicked);
    connect(ui->menuLoadFlightPlan, &QAction::triggered, this, &MainWindow::on_btnLoadFlightPlan_clicked);
    connect(ui->menuSaveFlightPlan, &QAction::triggered, this, &MainWindow::on_btnSaveFlightPlan_clicked);

    // Five labels give the results tree five columns; its header stays hidden.
    ui->treeWFound->setHeaderLabels({QString(), tr("OACI"), tr("Pays"), tr("Nom"), tr("Clé unique")});
    const int foundWidths[] = {60, 40, 30, 130, 60};
    for (int column = 0; column < 5; ++column)
        ui->treeWFound->setColumnWidth(column, foundWidths[column]);

    ui->fltplnGrid->setAcceptDrops(true);
    const int gridWidths[] = {20, 60, 120, 80, 45, 40, 60, 50, 50, 60};
    for (int column = 0; column < 10; ++column)
        ui->fltplnGrid->setColumnWidth(column, gridWidths[column]);
    // Fourteen labels; the grid keeps its ten columns, so only the first
    // ten are shown.
    ui->fltplnGrid->setHorizontalHeaderLabels({QString(), tr("ID"), tr("Nom"), tr("Fréq."), tr("Vitesse"),
                                               tr("Route"), tr("Dist"), tr("Durée"), tr("Temps"),
                                               tr("Altitude"), tr("Lat."), tr("Long."), tr("Latitude"),
                                               tr("Longitude")});

    setMouseTracking(true);
    // Files dropped on the map come here (the map view takes none).
    setAcceptDrops(true);

    // Page choice (French or English page), page, bridge and connections.
    setupMapPage(options.loadPage);

    // Flight-plan manager over the grid, aircraft fields, start point.
    setupFlightPlan();

    // The export commands of the "Export" menu.
    setupExportMenu();

    tabifyDockWidget(ui->dockWFlightPlan, ui->dockWSid);
    tabifyDockWidget(ui->dockWFlightPlan, ui->dockWStar);
    tabifyDockWidget(ui->dockWFlightPlan, ui->dockWAircraft);
    tabifyDockWidget(ui->dockWFlightPlan, ui->dockWDebug);
    ui->dockWDebug->raise();

    createContextMenus();

    m_dataLabel = new QLabel(this);
    m_centerLabel = new QLabel(this);
    m_zoomLabel = new QLabel(this);
    ui->statusBar->addPermanentWidget(m_dataLabel);
    ui->statusBar->addPermanentWidget(m_centerLabel);
    ui->statusBar->addPermanentWidget(m_zoomLabel);

    qDebug() << "MainWindow::MainWindow" << "Start ended";

    // The page is still loading: this only copies the actions' states into
    // the view flags.
    applyStoredLayers();

    loadSVH();

    ui->btnPod->hide();
}

MainWindow::~MainWindow()
{
    // A marker load under way stops before the connections close.
    delete m_markerLoad;

    // The last centre and zoom the page reported; when it never reported,
    // the stored values stay as they were.
    if (m_centerReported) {
        m_config->centerLat = m_reportedLat;
        m_config->centerLon = m_reportedLon;
    }
    if (m_zoomReported)
        m_config->zoom = m_reportedZoom;

    qDeleteAll(m_aircraftList);
    m_aircraftList.clear();

    // The page goes with the view, once this window is no longer a
    // MainWindow: nothing it signals then may reach this window.
    if (m_page)
        m_page->disconnect(this);
    // The undo stack empties itself as it goes, after the form.
    if (m_planUndo)
        m_planUndo->disconnect(this);

    // Writes navigator.ini.
    CNavGlobalVar::release();
    m_config = nullptr;
    delete ui;
    ui = nullptr;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!confirmDiscardPlan()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedPlanFile(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    if (droppedPlanFile(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedPlanFile(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Once the drop is over: loading may ask a question first.
    QMetaObject::invokeMethod(this, [this, path] { loadPlanFile(path); }, Qt::QueuedConnection);
}

void MainWindow::createLayerActions()
{
    auto addLayerAction = [this](const QString &text, const QString &statusTip, const char *icon, bool checked,
                                 void (MainWindow::*slot)()) {
        auto *action = new QAction(resourceIcon(icon), text, this);
        action->setStatusTip(statusTip);
        action->setCheckable(true);
        action->setChecked(checked);
        connect(action, &QAction::triggered, this, slot);
        ui->mainToolBar->addAction(action);
        return action;
    };

    ui->mainToolBar->addSeparator();
    m_actApt = addLayerAction(tr("Aéroport"), tr("Affiche les aéroports"), "Img08.bmp",
                              m_config->showAirport, &MainWindow::sViewApt);
    m_actVor = addLayerAction(tr("VOR"), tr("Affiche les VOR"), "Img05.bmp",
                              m_config->showVor, &MainWindow::sViewVor);
    m_actNdbRte = addLayerAction(tr("NDB Rte"), tr("Affiche les NDB en route"), "Img06.bmp",
                                 m_config->showNdbRte, &MainWindow::sViewNdbRte);
    m_actNdbTerm = addLayerAction(tr("NDB Ter"), tr("Affiche les NDB terminaux"), "Img06.bmp",
                                  m_config->showNdbTerm, &MainWindow::sViewNdbTerm);
    m_actWptRte = addLayerAction(tr("Waypoint en route"), tr("Affiche les points de report en route"), "Img12.bmp",
                                 m_config->showWaypointRte, &MainWindow::sViewWptRte);
    m_actWptTerm = addLayerAction(tr("Waypoint terminaux"), tr("Affiche les points de report terminaux"), "Img13.bmp",
                                  m_config->showWaypointTerm, &MainWindow::sViewWptTerm);
    m_actWptVfr = addLayerAction(tr("Waypoint VFR"), tr("Affiche les points de report VFR"), "Img33.bmp",
                                 m_config->showWaypointVfr, &MainWindow::sViewWptVfr);
    m_actAtsLo = addLayerAction(tr("ATS Low"), tr("Affiche les routes basse altitude"), "Img36.bmp",
                                m_config->showATSL, &MainWindow::sViewAtsLo);
    m_actAtsHi = addLayerAction(tr("ATS High"), tr("Affiche les routes haute altitude"), "Img37.bmp",
                                m_config->showATSH, &MainWindow::sViewAtsHi);
    m_actAtsB = addLayerAction(tr("ATS High/Low"), tr("Affiche les routes mixtes"), "Img38.bmp",
                               m_config->showATSB, &MainWindow::sViewAtsB);
    m_actBdry = addLayerAction(tr("Zone de contôle"), tr("Affiche les zones de contrôle"), "Img27.bmp",
                               m_config->showBoundary, &MainWindow::sViewBdry);
    m_actDock = addLayerAction(tr("Plein écran"), tr("Mode plein écran"), "Img09.bmp",
                               m_config->showDock, &MainWindow::sViewDock);
}

void MainWindow::createContextMenus()
{
    const QIcon center = resourceIcon("Img00.bmp");

    m_actFndCenter = new QAction(center, tr("Centrer sur ce point"), this);
    connect(m_actFndCenter, &QAction::triggered, this, &MainWindow::sFndCenterAt);
    ui->treeWFound->setContextMenuPolicy(Qt::ActionsContextMenu);
    ui->treeWFound->addAction(m_actFndCenter);

    m_actFpCenter = new QAction(center, tr("Centrer sur ce point"), this);
    connect(m_actFpCenter, &QAction::triggered, this, &MainWindow::sFpCenterAt);
    m_actFpDel = new QAction(center, tr("Supprimer la ligne"), this);
    connect(m_actFpDel, &QAction::triggered, this, &MainWindow::sFpLineDel);
    m_actFpUp = new QAction(center, tr("Monter la ligne"), this);
    connect(m_actFpUp, &QAction::triggered, this, &MainWindow::sFpLineUp);
    m_actFpDown = new QAction(center, tr("Descendre la ligne"), this);
    connect(m_actFpDown, &QAction::triggered, this, &MainWindow::sFpLineDown);
    ui->fltplnGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    ui->fltplnGrid->addAction(m_actFpCenter);
    ui->fltplnGrid->addAction(m_actFpDel);
    ui->fltplnGrid->addAction(m_actFpUp);
    ui->fltplnGrid->addAction(m_actFpDown);
}

void MainWindow::applyStoredLayers()
{
    sViewApt();
    sViewVor();
    sViewNdbRte();
    sViewNdbTerm();
    sViewWptRte();
    sViewWptTerm();
    sViewWptVfr();
    sViewAtsLo();
    sViewAtsHi();
    sViewAtsB();
}

void MainWindow::on_actionAboutQt_triggered()
{
    prompt().aboutQt(QString());
}

void MainWindow::on_actionAbout_triggered()
{
    prompt().about(tr("A propos de Corvane Navigator"), tr("Corvane Navigator\nversion %1").arg(programVersion()));
}
