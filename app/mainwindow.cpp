#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "app/version.h"

#include <QCloseEvent>

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

MainWindow::~MainWindow()
{
    CNavGlobalVar::release();
    delete ui;
}

void MainWindow::construct(const Options &options)
{
    Q_UNUSED(options);
    m_config = CNavGlobalVar::instance();
    ui->setupUi(this);
    setWindowTitle(tr("Corvane Navigator - Version %1").arg(programVersion()));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
}

void MainWindow::createLayerActions() {}
void MainWindow::createContextMenus() {}
void MainWindow::applyStoredLayers() {}

void MainWindow::on_actionAboutQt_triggered()
{
    prompt().aboutQt(QString());
}

void MainWindow::on_actionAbout_triggered()
{
    prompt().about(tr("A propos de Corvane Navigator"), tr("Corvane Navigator\nversion %1").arg(programVersion()));
}
