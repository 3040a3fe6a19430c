#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::doMoveSIT(double lat, double lon)
{
    Q_UNUSED(lat);
    Q_UNUSED(lon);
}

void MainWindow::sAddSitToFp(double lat, double lon)
{
    Q_UNUSED(lat);
    Q_UNUSED(lon);
}

void MainWindow::on_btnStartPos_clicked()
{
}

void MainWindow::on_spInertial_valueChanged(int arg1)
{
    Q_UNUSED(arg1);
}
