// The undo stack of the flight plan: 10,000 changes made in the window as
// a user makes them, on the demo tree (the size of the databases does not
// matter here), then the heap the stack holds: what emptying it gives back.
//
// The changes go round a plan of about twenty points: a user waypoint, an
// airport and a navaid from the map, a runway end from the search results,
// a line moved up and one down, an altitude typed into the grid (it runs
// down to the line before the last), four lines deleted; every fiftieth
// round "Nouveau" and a file of twenty points loaded.
#include "tools/bench/bench.h"

#include "app/mainwindow.h"
#include "flightplan/flightplan.h"
#include "flightplan/fplfile.h"
#include "app/navglobalvar.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QLineEdit>
#include <QTreeWidget>
#include <QUndoStack>

#include <malloc.h>

namespace Bench {

namespace {

// The heap in use, in bytes.
qint64 heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        err() << message << Qt::endl;
}

// Twenty user waypoints along the 45th parallel, as a flight-plan file.
QByteArray twentyPoints(const CFlightPlan &plan)
{
    QList<PointPtr> points;
    for (int i = 0; i < 20; ++i) {
        PointPtr p = plan.newPoint();
        p->kind = p->usage = QStringLiteral("uswp");
        p->ident = p->name = QStringLiteral("FILE%1").arg(i, 2, 10, QLatin1Char('0'));
        p->dbKey = QStringLiteral("NONE");
        p->latitude = 45 * 3600;
        p->longitude = i * 1800;
        points << p;
    }
    return FplFile::buildEntries(points, 1, 0).join(QString()).toLatin1();
}

} // namespace

int undoStack(int changes)
{
    qInstallMessageHandler(quiet);
    WindowFixture fx;
    MainWindow *window = fx.prepareDemo() ? fx.start(false) : nullptr;
    QUndoStack *stack = window ? window->findChild<QUndoStack *>(QStringLiteral("planUndoStack")) : nullptr;
    CFlightPlan *plan = window ? CNavGlobalVar::instance()->flightPlan : nullptr;
    if (!stack || !plan) {
        err() << "corvane-bench undo: the window did not start on the demo tree" << Qt::endl;
        return 1;
    }
    Ui::MainWindow *ui = fx.ui();
    QTableWidget *grid = ui->fltplnGrid;
    const QString file = fx.sim.path(QStringLiteral("Flightplan/ROUND.FPL"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(twentyPoints(*plan)) < 0) {
        err() << "corvane-bench undo: cannot write " << file << Qt::endl;
        return 1;
    }
    out.close();
    ui->searchData->setText(QStringLiteral("LFPG"));
    window->searchInTable(true);
    QTreeWidgetItem *airport = ui->treeWFound->topLevelItem(0);
    if (!airport || airport->childCount() == 0) {
        err() << "corvane-bench undo: LFPG and its runways are not found in the demo tree" << Qt::endl;
        return 1;
    }

    const qint64 before = heapBytes();
    for (int round = 0; stack->count() < changes; ++round) {
        const auto middle = [&](int column) { grid->setCurrentCell(qMin(5, plan->count() - 1), column); };
        const std::function<void()> steps[] = {
            [&] {
                if (round % 50 == 0) {
                    fx.prompt.answers << CPrompt::Ok;
                    ui->btnNewFlightPlan->click();
                    fx.prompt.answers << file;
                    ui->btnLoadFlightPlan->click();
                }
            },
            [&] { window->sAddNewWptToFp(QStringLiteral("WP"), 46, round % 90); },
            [&] { window->sAddAptToFp(QStringLiteral("LFPO")); },
            [&] { window->sAddNavToFp(QStringLiteral("BBE-BE2BBE1")); },
            [&] { emit ui->treeWFound->itemDoubleClicked(airport->child(round % airport->childCount()), 1); },
            [&] { middle(1); window->sFpLineUp(); },
            [&] { middle(1); window->sFpLineDown(); },
            [&] {
                middle(CFlightPlan::AltitudeColumn);
                grid->currentItem()->setText(QString::number(1000 + round % 300 * 100));
                grid->setCurrentCell(grid->currentRow(), 1);
            },
            [&] { middle(1); window->sFpLineDel(); },
            [&] { middle(1); window->sFpLineDel(); },
            [&] { middle(1); window->sFpLineDel(); },
            [&] { middle(1); window->sFpLineDel(); },
        };
        for (const auto &step : steps) {
            if (stack->count() >= changes)
                break;
            step();
        }
        fx.scripts.clear();
        fx.prompt.records.clear();
        // The scripts go out to the page.
        QCoreApplication::processEvents();
    }
    const qint64 withStack = heapBytes();
    const int count = stack->count();
    stack->clear();
    const qint64 without = heapBytes();

    err() << "corvane-bench undo: " << count << " changes, plan of " << plan->count() << " points, heap "
          << number(double(before) / 1048576) << " MB before the changes, " << number(double(withStack) / 1048576)
          << " MB with the stack, " << number(double(without) / 1048576) << " MB without" << Qt::endl;
    Bench::out() << "undo_stack_mb=" << number(double(withStack - without) / 1048576) << Qt::endl;
    return count == changes ? 0 : 1;
}

} // namespace Bench
