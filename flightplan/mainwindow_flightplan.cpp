#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::sFpCenterAt()
{
}

void MainWindow::sFpLineDel()
{
}

void MainWindow::sFpLineUp()
{
}

void MainWindow::sFpLineDown()
{
}

void MainWindow::sAddAptToFp(QString param)
{
    Q_UNUSED(param);
}

void MainWindow::sAddNavToFp(QString param)
{
    Q_UNUSED(param);
}

void MainWindow::sAddWptToFp(QString param)
{
    Q_UNUSED(param);
}

void MainWindow::sAddNewWptToFp(QString param, double lat, double lon)
{
    Q_UNUSED(param);
    Q_UNUSED(lat);
    Q_UNUSED(lon);
}

void MainWindow::on_btnNewFlightPlan_clicked()
{
}

void MainWindow::on_fltplnGrid_currentCellChanged(int currentRow, int currentColumn, int previousRow, int previousColumn)
{
    Q_UNUSED(currentRow);
    Q_UNUSED(currentColumn);
    Q_UNUSED(previousRow);
    Q_UNUSED(previousColumn);
}

void MainWindow::setSaveControlsEnabled(bool enabled)
{
    Q_UNUSED(enabled);
}

bool MainWindow::confirmNewPlan()
{
    return false;
}

bool MainWindow::confirmDiscardPlan()
{
    return true;
}

void MainWindow::insertIntoPlan(CFlightPlanPoint *point)
{
    Q_UNUSED(point);
}

void MainWindow::setupFlightPlan()
{
}
