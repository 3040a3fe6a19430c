#include "flightplan/flightplangrid.h"

#include <QDropEvent>
#include <QIcon>
#include <QMimeData>
#include <QSignalBlocker>

CFlightPlanGrid::CFlightPlanGrid(QWidget *parent)
    : QTableWidget(parent)
{
    setAcceptDrops(true);
}

void CFlightPlanGrid::showPlan(const CFlightPlan &plan)
{
    const QList<CFlightPlan::GridRow> rows = plan.gridRows();
    // Rebuilding moves the current cell; that is no user move, so the
    // window's cell handlers do not hear of it.
    const QSignalBlocker blocker(this);
    if (columnCount() < CFlightPlan::ColumnCount)
        setColumnCount(CFlightPlan::ColumnCount);
    clearContents();
    setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const CFlightPlan::GridRow &row = rows.at(r);
        for (int c = 0; c < CFlightPlan::ColumnCount; ++c) {
            if (c == 0 && !row.hasTypeCell)
                continue;
            auto *item = c == 0 ? new QTableWidgetItem(QIcon(row.icon), row.cells.at(0))
                                : new QTableWidgetItem(row.cells.at(c));
            if (c >= 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(r, c, item);
        }
        setRowHeight(r, 20);
    }
    if (!rows.isEmpty())
        setCurrentCell(int(rows.size()) - 1, 1);
}

void CFlightPlanGrid::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasFormat(QStringLiteral("application/x-dnditemdata"))) {
        event->ignore();
        return;
    }
    if (event->source() == this) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}
