#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::searchInTable(bool exact)
{
    Q_UNUSED(exact);
}

void MainWindow::sFndCenterAt()
{
}

void MainWindow::on_treeWFound_itemDoubleClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(item);
    Q_UNUSED(column);
}

void MainWindow::on_searchData_returnPressed()
{
}

void MainWindow::on_btnSearchNear_clicked()
{
}

void MainWindow::on_btnSearchExact_clicked()
{
}
