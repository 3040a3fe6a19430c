#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "data/sqlmgr.h"
#include "editors/markertitle.h"
#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "map/jstext.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlQuery>

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
    m_planChanged = false;
}

void MainWindow::setSaveControlsEnabled(bool enabled)
{
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
    m_planChanged = true;
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
    insertIntoPlan(p);
    ui->dockWFlightPlan->raise();
}

void MainWindow::sAddNewWptToFp(QString param, double lat, double lon)
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    // A position the page could not compute is no place to fly to.
    if (!fp || !std::isfinite(lat) || !std::isfinite(lon))
        return;
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
    if (fp->isValidRow(r))
        m_planChanged = true;
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
    if (fp->count() >= 2 && r >= 1 && r < fp->count())
        m_planChanged = true;
    fp->moveUp(r);
    runJavaScript(fp->refresh());
    on_fltplnGrid_cellClicked(r, 1);
}

void MainWindow::sFpLineDown()
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp)
        return;
    const int r = ui->fltplnGrid->currentRow();
    if (fp->count() >= 2 && r >= 0 && r < fp->count() - 1)
        m_planChanged = true;
    fp->moveDown(r);
    runJavaScript(fp->refresh());
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
    for (int i = previousRow; i < fp->count() - 1; ++i) {
        if (fp->points.at(i)->altitude != altitude) {
            fp->points.at(i)->altitude = altitude;
            m_planChanged = true;
        }
    }
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
    fp->clear();
    ui->fltplnGrid->setRowCount(0);
    runJavaScript(QStringLiteral("clearFP();"));
    runJavaScript(QStringLiteral("clearSS()"));
    m_planChanged = false;
    return true;
}

bool MainWindow::confirmDiscardPlan()
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp || fp->isEmpty() || !m_planChanged)
        return true;
    const QString answer = prompt().ask(CPrompt::Warning, tr("Quitter"),
                                        tr("Le plan de vol en cours n'est pas enregistré. Voulez vous quitter quand même ?"),
                                        {CPrompt::Ok, CPrompt::Cancel});
    return answer == CPrompt::Ok;
}

void MainWindow::on_btnNewFlightPlan_clicked()
{
    if (!confirmNewPlan())
        return;
    ui->dockWFlightPlan->raise();
    ui->dockWSid->setWindowTitle(tr("SID : "));
    ui->dockWStar->setWindowTitle(tr("STAR : "));
    setSaveControlsEnabled(false);
}
