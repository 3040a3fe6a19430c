#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::on_btnLoadFlightPlan_clicked()
{
}

void MainWindow::on_btnSaveFlightPlan_clicked()
{
}
