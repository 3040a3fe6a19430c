#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::on_fltplnGrid_cellClicked(int row, int column)
{
    Q_UNUSED(row);
    Q_UNUSED(column);
}

void MainWindow::on_btnAddSid_clicked()
{
}

void MainWindow::on_btnAddStar_clicked()
{
}

void MainWindow::on_treeWSid_itemClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(item);
    Q_UNUSED(column);
}

void MainWindow::on_treeWStar_itemClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(item);
    Q_UNUSED(column);
}

void MainWindow::on_btnCreateSID_clicked()
{
}

void MainWindow::on_btnCreateSTAR_clicked()
{
}

void MainWindow::on_dockWFlightPlan_visibilityChanged(bool visible)
{
    Q_UNUSED(visible);
}

void MainWindow::on_dockWSid_visibilityChanged(bool visible)
{
    Q_UNUSED(visible);
}

void MainWindow::on_dockWStar_visibilityChanged(bool visible)
{
    Q_UNUSED(visible);
}

void MainWindow::on_pbDelSTAR_clicked()
{
}

void MainWindow::on_pbDelSID_clicked()
{
}

void MainWindow::loadProcedures(const QString &airportKey)
{
    Q_UNUSED(airportKey);
}

void MainWindow::drawProcedure(const QString &name)
{
    Q_UNUSED(name);
}

void MainWindow::addProcedure(QTreeWidget *tree)
{
    Q_UNUSED(tree);
}
