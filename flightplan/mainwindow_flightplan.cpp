#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "data/sqlmgr.h"
#include "editors/markertitle.h"
#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "flightplan/planundocommand.h"
#include "map/jstext.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUndoStack>

#include <cmath>

void MainWindow::setupFlightPlan()
{
    auto *fp = new CFlightPlan(m_config, ui->fltplnGrid);
    m_config->flightPlan = fp;
    // The plan lives as long as the grid that shows it.
    connect(ui->fltplnGrid, &QObject::destroyed, ui->fltplnGrid, [fp] { delete fp; });

    const CAircraft &aircraft = *fp->aircraft;
    ui->leAircraftCeiling->setText(QString::number(aircraft.ceiling));
    ui->leAircraftNumber->setText(aircraft.registration);
    ui->leAltCruise->setText(QString::number(aircraft.maxCruiseAltitude));
    ui->leSpeedApp->setText(QString::number(aircraft.approachSpeed));
    ui->leSpeedCruise->setText(QString::number(aircraft.cruiseSpeed));
    ui->leSpeedMax->setText(QString::number(aircraft.maxCruiseSpeed));
    ui->leSpeedVert->setText(QString::number(aircraft.climbRate));

    fp->startPoint = fp->newPoint();
    // The plan moves the start point to its first airport: the marker follows.
    fp->startMoved = [this, fp] { runJavaScript(fp->startMarkerScript(ui->cbAircraftType->currentText())); };

    // Every change of the plan goes on the undo stack as it ends; the
    // stack starts clean (nothing to save).
    m_planUndo = new QUndoStack(this);
    m_planUndo->setObjectName(QStringLiteral("planUndoStack"));
    fp->changeRecorded = [this](const CPlanChange &change) { pushPlanChange(change); };
    connect(ui->menuUndoFlightPlan, &QAction::triggered, m_planUndo, &QUndoStack::undo);
    connect(ui->menuRedoFlightPlan, &QAction::triggered, m_planUndo, &QUndoStack::redo);
    connect(m_planUndo, &QUndoStack::indexChanged, this, &MainWindow::showUndoState);
    showUndoState();
}

void MainWindow::pushPlanChange(const CPlanChange &change)
{
    CFlightPlan *fp = m_config->flightPlan;
    m_planUndo->push(new CPlanUndoCommand(*fp, change, [this, fp](const QString &script) {
        runJavaScript(script);
        setSaveControlsEnabled(fp->saveEnabled);
    }));
    // A plan read from a file is that file, as a saved one is.
    if (change.loadedPoints())
        m_planUndo->setClean();
}

void MainWindow::showUndoState()
{
    const QString undo = m_planUndo->undoText();
    const QString redo = m_planUndo->redoText();
    ui->menuUndoFlightPlan->setText(undo.isEmpty() ? tr("Annuler", "undo a change of the flight plan")
                                                   : tr("Annuler %1").arg(undo));
    ui->menuRedoFlightPlan->setText(redo.isEmpty() ? tr("Rétablir", "redo a change of the flight plan")
                                                   : tr("Rétablir %1").arg(redo));
    ui->menuUndoFlightPlan->setEnabled(m_planUndo->canUndo());
    ui->menuRedoFlightPlan->setEnabled(m_planUndo->canRedo());
}

void MainWindow::setSaveControlsEnabled(bool enabled)
{
    if (m_config && m_config->flightPlan)
        m_config->flightPlan->saveEnabled = enabled;
    ui->menuSaveFlightPlan->setEnabled(enabled);
    ui->btnSaveFlightPlan->setEnabled(enabled);
    ui->btnStartPos->setEnabled(enabled);
    ui->btnCreateSID->setEnabled(enabled);
    ui->btnCreateSTAR->setEnabled(enabled);
}

void MainWindow::insertIntoPlan(const QSharedPointer<CFlightPlanPoint> &point)
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp || !point)
        return;
    const int r = ui->fltplnGrid->currentRow();
    fp->insertAt(point, r + 1);
    runJavaScript(fp->refresh());
    ui->fltplnGrid->setCurrentCell(r + 1, 1);
}

void MainWindow::sAddAptToFp(QString param)
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp || !m_config->sqlMgr)
        return;
    QSqlQuery query(QSqlDatabase::database(m_config->genName));
    if (!m_config->sqlMgr->selectAPT(param, true, &query) || !query.isValid())
        return;
    PointPtr p = fp->newPoint();
    p->fromAPT(query);
    const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::Add);
    // An airport that becomes the first line also places the start point
    // (CFlightPlan::refresh).
    insertIntoPlan(p);
    setSaveControlsEnabled(true);
    ui->dockWFlightPlan->raise();
}

void MainWindow::sAddNavToFp(QString param)
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    QSqlQuery query;
    if (!fp || !CMarkerTitle::find(QSqlDatabase::database(m_config->genName), QStringLiteral("NAV"), param, &query).found)
        return;
    PointPtr p = fp->newPoint();
    p->fromNAV(query);
    const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::Add);
    insertIntoPlan(p);
    ui->dockWFlightPlan->raise();
}

void MainWindow::sAddWptToFp(QString param)
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    QSqlQuery query;
    if (!fp || !CMarkerTitle::find(QSqlDatabase::database(m_config->wptName), QStringLiteral("WPT"), param, &query).found)
        return;
    PointPtr p = fp->newPoint();
    p->fromWPT(query);
    const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::Add);
    insertIntoPlan(p);
    ui->dockWFlightPlan->raise();
}

void MainWindow::sAddNewWptToFp(QString param, double lat, double lon)
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    // A position the page could not compute is no place to fly to.
    if (!fp || !std::isfinite(lat) || !std::isfinite(lon))
        return;
    // The counter is part of the change: undone, the next waypoint takes
    // the same number again.
    const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::Add);
    const QString name = fp->nextUserWaypointName(param);
    PointPtr p = fp->newPoint();
    p->latitude = lat * 3600;
    p->longitude = JsText::arcSecondsInTurn(lon * 3600);
    p->kind = QStringLiteral("uswp");
    p->name = name;
    p->ident = name;
    p->dbKey = QStringLiteral("NONE");
    p->usage = QStringLiteral("uswp");
    insertIntoPlan(p);
    ui->dockWFlightPlan->raise();
}

void MainWindow::sFpCenterAt()
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    const int r = ui->fltplnGrid->currentRow();
    if (fp && fp->isValidRow(r))
        centerOnPoint(*fp->points.at(r));
}

void MainWindow::sFpLineDel()
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp)
        return;
    const int r = ui->fltplnGrid->currentRow();
    const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::Delete);
    fp->removeAt(r);
    qDebug() << "MainWindow::sFpLineDel" << ui->fltplnGrid->currentRow();
    if (fp->isEmpty()) {
        ui->fltplnGrid->setRowCount(0);
        runJavaScript(QStringLiteral("clearFP()"));
    } else {
        runJavaScript(fp->refresh());
    }
}

void MainWindow::sFpLineUp()
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp)
        return;
    const int r = ui->fltplnGrid->currentRow();
    {
        const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::MoveUp);
        fp->moveUp(r);
        runJavaScript(fp->refresh());
    }
    on_fltplnGrid_cellClicked(r, 1);
}

void MainWindow::sFpLineDown()
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp)
        return;
    const int r = ui->fltplnGrid->currentRow();
    {
        const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::MoveDown);
        fp->moveDown(r);
        runJavaScript(fp->refresh());
    }
    on_fltplnGrid_cellClicked(r, 1);
}

void MainWindow::on_fltplnGrid_currentCellChanged(int currentRow, int currentColumn, int previousRow, int previousColumn)
{
    Q_UNUSED(currentRow);
    Q_UNUSED(currentColumn);
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    // Only the altitude column is read back; the last point (normally the
    // destination) keeps its own altitude.
    if (!fp || previousColumn != CFlightPlan::AltitudeColumn || !fp->isValidRow(previousRow))
        return;
    const QTableWidgetItem *cell = ui->fltplnGrid->item(previousRow, CFlightPlan::AltitudeColumn);
    const int altitude = cell ? cell->text().trimmed().toInt() : 0;
    const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::Altitude);
    fp->setAltitudeFrom(previousRow, altitude);
    fp->refresh();
}

bool MainWindow::confirmNewPlan()
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp || fp->isEmpty())
        return true;
    const QString answer = prompt().ask(CPrompt::Warning, tr("Nouveau plan de vol"),
                                        tr("Voulez vous effacer le plan de vol en cours ?"),
                                        {CPrompt::Ok, CPrompt::Cancel});
    if (answer != CPrompt::Ok)
        return false;
    const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::Clear);
    fp->clear();
    ui->fltplnGrid->setRowCount(0);
    runJavaScript(QStringLiteral("clearFP();"));
    runJavaScript(QStringLiteral("clearSS()"));
    return true;
}

bool MainWindow::confirmDiscardPlan()
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    // Unchanged since it was saved or loaded (undo may come back there).
    if (!fp || fp->isEmpty() || m_planUndo->isClean())
        return true;
    const QString answer = prompt().ask(CPrompt::Warning, tr("Quitter"),
                                        tr("Le plan de vol en cours n'est pas enregistré. Voulez vous quitter quand même ?"),
                                        {CPrompt::Ok, CPrompt::Cancel});
    return answer == CPrompt::Ok;
}

void MainWindow::on_btnNewFlightPlan_clicked()
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp)
        return;
    // Clearing and the saving controls are one change.
    const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::Clear);
    if (!confirmNewPlan())
        return;
    ui->dockWFlightPlan->raise();
    ui->dockWSid->setWindowTitle(tr("SID : "));
    ui->dockWStar->setWindowTitle(tr("STAR : "));
    setSaveControlsEnabled(false);
}
