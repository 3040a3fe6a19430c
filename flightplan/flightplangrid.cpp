#include "flightplan/flightplangrid.h"

#include <QDropEvent>
#include <QMimeData>

CFlightPlanGrid::CFlightPlanGrid(QWidget *parent)
    : QTableWidget(parent)
{
    setAcceptDrops(true);
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
