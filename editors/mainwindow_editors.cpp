#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::sAddWptToDB(QString title, double lat, double lon)
{
    Q_UNUSED(title);
    Q_UNUSED(lat);
    Q_UNUSED(lon);
}

void MainWindow::sAddNavToDB(QString title, double lat, double lon)
{
    Q_UNUSED(title);
    Q_UNUSED(lat);
    Q_UNUSED(lon);
}

void MainWindow::sDelNavFromDB(QString title)
{
    Q_UNUSED(title);
}

void MainWindow::sDelWptFromDB(QString title)
{
    Q_UNUSED(title);
}
