#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "flightplan/flightplan.h"
#include "flightplan/sitfile.h"

#include <QDir>

void MainWindow::doMoveSIT(double lat, double lon)
{
    CFlightPlan *plan = m_config->flightPlan;
    if (!plan || !plan->startPoint)
        return;
    plan->placeStartByUser(lat, lon);
}

void MainWindow::sAddSitToFp(double lat, double lon)
{
    CFlightPlan *plan = m_config->flightPlan;
    if (!plan || !plan->startPoint)
        return;
    plan->placeStartByUser(lat, lon);
    runJavaScript(plan->startMarkerScript(ui->cbAircraftType->currentText()));
}

void MainWindow::on_spInertial_valueChanged(int arg1)
{
    CFlightPlan *plan = m_config->flightPlan;
    if (!plan || !plan->startPoint)
        return;
    // Turning the aircraft does not place it.
    plan->startPoint->heading = arg1;
    runJavaScript(plan->startMarkerScript(ui->cbAircraftType->currentText()));
}

void MainWindow::on_btnStartPos_clicked()
{
    CFlightPlan *plan = m_config->flightPlan;
    if (!plan || plan->isEmpty() || plan->points.first()->usage != QLatin1String("airp")) {
        prompt().warn(tr("Enregistrement point de départ"), tr("Vous devez choisir un aéroport en première ligne."));
        return;
    }
    // A start position nobody placed is never written as it stands (0, 0):
    // the airport of the first line places it, as it does when it is added.
    if (plan->startPlacement == CFlightPlan::StartPlacement::None)
        plan->followFirstAirport();
    const CFlightPlanPoint &first = *plan->points.first();
    const QString name = SitFile::fileName(first.name);
    QString error;
    if (!SitFile::saveSit(*plan, name, &error)) {
        prompt().warn(tr("Enregistrement point de départ"),
                      tr("Le fichier de situation %1 n'a pas pu être enregistré :\n%2")
                              .arg(QDir::toNativeSeparators(SitFile::filePath(*plan, name)), error));
        return;
    }
    const QString answer = prompt().ask(CPrompt::Question, tr("Enregistrement plan de vol"),
                                        tr("Voulez vous définir %1 comme départ dans Corvane ?").arg(first.ident),
                                        {CPrompt::Ok, CPrompt::Cancel});
    if (answer != CPrompt::Ok)
        return;
    const QString simulatorDir = m_config->dirCorvane.path();
    if (SitFile::setStartupSituation(simulatorDir, name, &error) == SitFile::IniResult::NotWritten) {
        prompt().warn(tr("Enregistrement point de départ"),
                      tr("Le fichier %1 n'a pas pu être modifié :\n%2")
                              .arg(QDir::toNativeSeparators(SitFile::iniPath(simulatorDir)), error));
    }
}
