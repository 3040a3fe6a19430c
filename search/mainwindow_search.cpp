#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "flightplan/flightplan.h"
#include "search/pointsearch.h"

#include <QIcon>
#include <QTreeWidgetItem>

namespace {

// The result index lives in a column the tree does not show.
constexpr int IndexColumn = 5;

} // namespace

void MainWindow::searchInTable(bool exact)
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    m_searchText = ui->searchData->text().toUpper();
    ui->searchData->setText(m_searchText);

    ui->treeWFound->clear();
    if (!fp)
        return;
    fp->results.clear();

    const CPointSearch search(m_config->sqlMgr, m_config->genName, m_config->wptName);
    const QList<CPointSearch::Result> found = search.run(m_searchText, exact, ui->leSpeedCruise->text().toInt(),
                                                         ui->leAltCruise->text().toInt());
    QList<QTreeWidgetItem *> items;
    items.reserve(found.size());
    for (int i = 0; i < found.size(); ++i) {
        const CPointSearch::Result &r = found.at(i);
        fp->results.append(r.point);
        auto *item = new QTreeWidgetItem;
        const QString icon = CPointSearch::icon(r);
        if (!icon.isEmpty())
            item->setIcon(0, QIcon(icon));
        item->setText(1, r.point->ident);
        item->setText(3, r.point->name);
        item->setText(4, r.point->dbKey);
        item->setText(IndexColumn, QString::number(i));
        items.append(item);
        if (r.kind == CPointSearch::RunwayEnd && r.parent >= 0)
            items.at(r.parent)->addChild(item);
        else
            ui->treeWFound->addTopLevelItem(item);
    }
}

void MainWindow::on_searchData_returnPressed()
{
    searchInTable(true);
}

void MainWindow::on_btnSearchNear_clicked()
{
    searchInTable(false);
}

void MainWindow::on_btnSearchExact_clicked()
{
    searchInTable(true);
}

void MainWindow::sFndCenterAt()
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    const QTreeWidgetItem *item = ui->treeWFound->currentItem();
    if (!fp || !item)
        return;
    bool ok = false;
    const int i = item->text(IndexColumn).toInt(&ok);
    if (!ok || i < 0 || i >= fp->results.size())
        return;
    centerOnPoint(*fp->results.at(i));
}

void MainWindow::on_treeWFound_itemDoubleClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(column);
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp || !item)
        return;
    bool ok = false;
    const int i = item->text(IndexColumn).toInt(&ok);
    if (!ok || i < 0 || i >= fp->results.size())
        return;

    const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::Add);
    // After the current line; on a plan without a current line, as its
    // second line (the first of an empty plan).
    int row = ui->fltplnGrid->currentRow();
    int position = row + 1;
    if (row < 0) {
        setSaveControlsEnabled(true);
        position = 1;
        row = 0;
    }
    fp->insertAt(fp->results.at(i), position);
    runJavaScript(fp->refresh());
    ui->dockWFlightPlan->raise();
    on_fltplnGrid_cellClicked(row, 2);
}
