#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "data/sqlmgr.h"
#include "flightplan/flightplanpoint.h"
#include "map/jstext.h"
#include "map/mapbridge.h"
#include "map/markerscript.h"
#include "map/sectionbuilder.h"
#include "map/webpage.h"

#include <QAction>
#include <QCoreApplication>
#include <QDebug>
#include <QLabel>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QUrl>

#include <cmath>

namespace {

std::function<void(const QString &)> g_scriptRecorder;

// The connection of an accepted database; invalid when there is none (an
// empty name would otherwise reach Qt's default connection).
QSqlDatabase connection(const QString &name)
{
    if (name.isEmpty() || !QSqlDatabase::contains(name))
        return QSqlDatabase();
    return QSqlDatabase::database(name);
}

bool checkedOr(const QAction *action, bool stored)
{
    return action ? action->isChecked() : stored;
}

QString setCenterScript(double latDegrees, double lonDegrees)
{
    return QStringLiteral("map.setCenter(") + JsText::latLng(latDegrees, lonDegrees) + QStringLiteral(");");
}

void setPlainText(QLabel *label, const QString &text)
{
    if (!label)
        return;
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
}

} // namespace

void MainWindow::setScriptRecorder(std::function<void(const QString &)> recorder)
{
    g_scriptRecorder = std::move(recorder);
}

void MainWindow::runJavaScript(const QString &script)
{
    if (script.isEmpty())
        return;
    if (g_scriptRecorder)
        g_scriptRecorder(script);
    if (m_page)
        m_page->runJavaScript(script);
}

// --- page set-up and bridge ------------------------------------------------

void MainWindow::setupMapPage(bool load)
{
    const QString language = QLocale::system().name().section(u'_', 0, 0);
    const QString pageFile = QCoreApplication::applicationDirPath()
            + (language == QLatin1String("fr") ? QStringLiteral("/gm_navigator_fr.html")
                                               : QStringLiteral("/gm_navigator_en.html"));

    // In Qt 6 the view does not take the page over: the view is its parent.
    m_page = new myWebPage(ui->map);
    m_page->setPageFile(pageFile);
    ui->map->setPage(m_page);
    // Drops on the map are the window's (a flight-plan file loads).
    ui->map->setAcceptDrops(false);
    // Nothing is sent to a page that is gone.
    connect(m_page, &QObject::destroyed, this, [this] { m_page = nullptr; });

    connect(m_page, &myWebPage::sendData, this, &MainWindow::receiveData);
    connect(ui->map, &QWebEngineView::loadFinished, this, &MainWindow::readDataFromDB);
    populateJavaScriptWindowObject();
    connect(ui->map, &QWebEngineView::loadFinished, this, &MainWindow::sInitGoogleMap);

    if (load)
        ui->map->load(QUrl::fromLocalFile(pageFile));
}

void MainWindow::populateJavaScriptWindowObject()
{
    // The channel keeps the object published across page loads.
    if (!m_page || m_bridge)
        return;
    m_bridge = new CMapBridge(this);
    m_page->installBridge(m_bridge);
}

void MainWindow::receiveData(QString msg)
{
    qWarning() << "MainWindow::receiveData" << msg;
}

void MainWindow::doSomething(QString param)
{
    qDebug() << "MainWindow::doSomething Message de la page HTML: " << param;
}

// --- markers -----------------------------------------------------------------

void MainWindow::readDataFromDB()
{
    // The view may still report a load while the window is being taken down.
    if (!ui || !m_config)
        return;
    // A load for an earlier document stops: its pieces must not reach this one.
    delete m_markerLoad;

    // The four sections are read on a thread of their own and sent piece by
    // piece as they come, in order; the window goes on meanwhile, and the
    // status bar says which section is being read.
    const QString route = m_config->route;
    const auto section = [&route](const QString &connection, CMarkerKind kind) {
        return CSectionBuilder::Section{connection, [kind, route](const QSqlDatabase &db, const CMarkerSink &sink) {
                                            return CMarkerScript::calls(kind, db, route, sink);
                                        }};
    };
    m_markerLoad = new CSectionBuilder({section(m_config->genName, CMarkerKind::Airports),
                                        section(m_config->genName, CMarkerKind::Navaids),
                                        section(m_config->wptName, CMarkerKind::Waypoints),
                                        section(m_config->routeName, CMarkerKind::Routes)},
                                       this);
    connect(m_markerLoad, &CSectionBuilder::piece, this, [this](int, const QString &calls) { runJavaScript(calls); });
    connect(m_markerLoad, &CSectionBuilder::sectionEnd, this, &MainWindow::endMarkerSection);
    connect(m_markerLoad, &CSectionBuilder::finished, this, &MainWindow::endMarkerLoad);
    statusBar()->showMessage(tr("Chargement des aéroports..."));
    m_markerLoad->start();
}

CMarkerLayers MainWindow::markerLayers() const
{
    CMarkerLayers layers;
    layers.airports = checkedOr(m_actApt, m_config->showAirport);
    layers.vor = checkedOr(m_actVor, m_config->showVor);
    layers.ndbRte = checkedOr(m_actNdbRte, m_config->showNdbRte);
    layers.ndbTerm = checkedOr(m_actNdbTerm, m_config->showNdbTerm);
    layers.wptRte = checkedOr(m_actWptRte, m_config->showWaypointRte);
    layers.wptTerm = checkedOr(m_actWptTerm, m_config->showWaypointTerm);
    layers.wptVfr = checkedOr(m_actWptVfr, m_config->showWaypointVfr);
    layers.atsL = m_config->showATSL;
    layers.atsH = m_config->showATSH;
    layers.atsB = m_config->showATSB;
    layers.route = m_config->route;
    return layers;
}

// A section's last calls go with its closing calls, which follow the layers
// as they stand now: a layer switched during the load stays as the user set it.
void MainWindow::endMarkerSection(int section, const CMarkerSection &rest)
{
    const auto kind = CMarkerKind(section);
    const auto close = [&] {
        runJavaScript(CMarkerScript::closed(rest.script, CMarkerScript::closing(kind, markerLayers())));
    };
    if (kind == CMarkerKind::Routes) {
        if (rest.hasRows) {
            qDebug() << "MainWindow::readDataFromDB: route" << m_config->route;
            close();
        }
        qDebug() << QStringLiteral("MainWindow::readDataFromDB ATS: %1 élément chargés").arg(rest.count);
        ui->debugText->append(tr("ATS: %1 élément chargés").arg(rest.count));
        return;
    }
    // What the log and the pane say of a marker section, and the section read next.
    struct Report {
        QString log;
        QString pane;
        QString next;
    };
    const Report report =
            kind == CMarkerKind::Airports
            ? Report{QStringLiteral("MainWindow::readDataFromDB Airport %1"), tr("Airport: %1 éléments chargés"),
                     tr("Chargement des balises...")}
            : kind == CMarkerKind::Navaids
            ? Report{QStringLiteral("MainWindow::readDataFromDB Navaid %1"), tr("Navaid: %1 éléments chargés"),
                     tr("Chargement des points de report...")}
            : Report{QStringLiteral("MainWindow::readDataFromDB Waypoint: %1 éléments chargés"),
                     tr("Waypoint: %1 élément chargés"), tr("Chargement des routes ATS...")};
    if (rest.hasRows) {
        qDebug() << report.log.arg(rest.count);
        ui->debugText->append(report.pane.arg(rest.count));
        close();
    }
    statusBar()->showMessage(report.next);
}

void MainWindow::endMarkerLoad()
{
    statusBar()->clearMessage();
    if (m_markerLoad)
        m_markerLoad->deleteLater();
    if (m_loadEndPending) {
        m_loadEndPending = false;
        ui->debugText->append(tr("Chargement terminé"));
    }
}

// --- layers ------------------------------------------------------------------

void MainWindow::sendLayer(QAction *action, bool &flag, const QString &whenOn, const QString &whenOff)
{
    if (action)
        flag = action->isChecked();
    runJavaScript(flag ? whenOn : whenOff);
}

void MainWindow::sViewApt()
{
    sendLayer(m_actApt, m_config->showAirport, QStringLiteral("ArptMgr.addMarkers(listApt)"),
              QStringLiteral("ArptMgr.clearMarkers()"));
}

void MainWindow::sViewVor()
{
    sendLayer(m_actVor, m_config->showVor, QStringLiteral("VORMgr.addMarkers(listVOR)"),
              QStringLiteral("VORMgr.clearMarkers()"));
}

void MainWindow::sViewNdbRte()
{
    sendLayer(m_actNdbRte, m_config->showNdbRte, QStringLiteral("NDBRteMgr.addMarkers(listNDBRte)"),
              QStringLiteral("NDBRteMgr.clearMarkers()"));
}

void MainWindow::sViewNdbTerm()
{
    sendLayer(m_actNdbTerm, m_config->showNdbTerm, QStringLiteral("NDBTermMgr.addMarkers(listNDBTerm)"),
              QStringLiteral("NDBTermMgr.clearMarkers()"));
}

void MainWindow::sViewWptRte()
{
    sendLayer(m_actWptRte, m_config->showWaypointRte, QStringLiteral("WPTRteMgr.addMarkers(listWptRte)"),
              QStringLiteral("WPTRteMgr.clearMarkers()"));
}

void MainWindow::sViewWptTerm()
{
    sendLayer(m_actWptTerm, m_config->showWaypointTerm, QStringLiteral("WPTTermMgr.addMarkers(listWptTerm)"),
              QStringLiteral("WPTTermMgr.clearMarkers()"));
}

void MainWindow::sViewWptVfr()
{
    sendLayer(m_actWptVfr, m_config->showWaypointVfr, QStringLiteral("WPTVfrMgr.addMarkers(listWptVfr)"),
              QStringLiteral("WPTVfrMgr.clearMarkers()"));
}

void MainWindow::sViewAtsLo()
{
    sendLayer(m_actAtsLo, m_config->showATSL, QStringLiteral("showATS('L',1)"), QStringLiteral("showATS('L',0)"));
}

void MainWindow::sViewAtsHi()
{
    sendLayer(m_actAtsHi, m_config->showATSH, QStringLiteral("showATS('H',1)"), QStringLiteral("showATS('H',0)"));
}

void MainWindow::sViewAtsB()
{
    sendLayer(m_actAtsB, m_config->showATSB, QStringLiteral("showATS('B',1)"), QStringLiteral("showATS('B',0)"));
}

void MainWindow::sViewBdry()
{
    // Only remembered: no boundary layer is drawn.
    if (m_actBdry)
        m_config->showBoundary = m_actBdry->isChecked();
}

void MainWindow::sViewDock()
{
    if (m_actDock)
        m_config->showDock = m_actDock->isChecked();
    const bool visible = m_config->showDock;
    for (QDockWidget *dock : {ui->dockWSearch, ui->dockWFlightPlan, ui->dockWSid, ui->dockWStar, ui->dockWAircraft,
                              ui->dockWDebug})
        dock->setVisible(visible);
}

// --- view state --------------------------------------------------------------

void MainWindow::sInitGoogleMap()
{
    if (!ui || !m_config)
        return;
    runJavaScript(setCenterScript(m_config->centerLat, m_config->centerLon));
    runJavaScript(QStringLiteral("map.setZoom(") + JsText::general(m_config->zoom) + u')');
    // The map is centred at once; the load is done once its markers are sent.
    if (m_markerLoad && m_markerLoad->isRunning())
        m_loadEndPending = true;
    else
        ui->debugText->append(tr("Chargement terminé"));
}

void MainWindow::doCenter(double lat, double lon)
{
    // A page that reports no number must not become the stored centre.
    if (!std::isfinite(lat) || !std::isfinite(lon))
        return;
    m_centerReported = true;
    m_reportedLat = lat;
    m_reportedLon = lon;

    const double latSeconds = lat * 3600;
    const double lonSeconds = lon * 3600;
    const QString latText = CGlobalVar::latitudeText(latSeconds, true);
    const QString lonText = CGlobalVar::longitudeText(lonSeconds, true);
    setPlainText(m_centerLabel,
                 JsText::fill(QStringLiteral("Centre: %1  %2\n %3 %4\n%5 %6"),
                              {JsText::fixed(lat, 5), JsText::fixed(lon, 5), JsText::fixed(latSeconds, 2),
                               JsText::fixed(JsText::arcSecondsInTurn(lonSeconds), 2), latText, lonText}));
}

void MainWindow::doZoom(int zoom)
{
    m_zoomReported = true;
    m_reportedZoom = zoom;
    setPlainText(m_zoomLabel, QStringLiteral("Zoom: %1").arg(zoom));
}

void MainWindow::doData(QString value)
{
    setPlainText(m_dataLabel, value);
}

void MainWindow::centerOnPoint(const CFlightPlanPoint &point)
{
    const double lat = point.latitude / 3600;
    const double lon = JsText::arcSecondsInHalfTurn(point.longitude) / 3600;
    m_config->centerLat = lat;
    m_config->centerLon = lon;
    runJavaScript(setCenterScript(lat, lon));
}

// --- runways -----------------------------------------------------------------

void MainWindow::doViewRwy(QString value)
{
    const QSqlDatabase gen = connection(m_config->genName);
    SqlMgr *sql = m_config->sqlMgr;

    QString key;
    QSqlQuery airport(gen);
    if (sql && gen.isValid() && sql->selectAPT(value, true, &airport))
        key = airport.value(1).toString();

    QSqlQuery runways(gen);
    const bool found = sql && gen.isValid() && sql->selectRWY(key, true, &runways);
    statusBar()->showMessage(key);
    if (found)
        runJavaScript(CMarkerScript::runways(runways));
}
