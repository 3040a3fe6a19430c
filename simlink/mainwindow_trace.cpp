#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::on_pbTraceAcft_clicked(bool checked)
{
    Q_UNUSED(checked);
}

void MainWindow::sTraceAircraft()
{
}
