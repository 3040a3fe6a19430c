#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::on_btnPod_clicked()
{
}

void MainWindow::on_cbAircraftType_activated(int index)
{
    Q_UNUSED(index);
}

void MainWindow::on_dockWAircraft_visibilityChanged(bool visible)
{
    Q_UNUSED(visible);
}

void MainWindow::loadSVH()
{
}

void MainWindow::showAircraft(int index)
{
    Q_UNUSED(index);
}
