#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "flightplan/flightplan.h"
#include "flightplan/sitfile.h"
#include "map/jstext.h"

#include <QDir>

namespace {

// The start point held east-positive, from 0 to one full turn.
void placeStartPoint(CFlightPlanPoint &start, double lat, double lon)
{
    start.latitude = lat * 3600;
    start.longitude = JsText::arcSecondsInTurn(lon * 3600);
}

} // namespace

void MainWindow::doMoveSIT(double lat, double lon)
{
    CFlightPlan *plan = m_config->flightPlan;
    if (!plan || !plan->startPoint)
        return;
    placeStartPoint(*plan->startPoint, lat, lon);
}

void MainWindow::sAddSitToFp(double lat, double lon)
{
    CFlightPlan *plan = m_config->flightPlan;
    if (!plan || !plan->startPoint)
        return;
    placeStartPoint(*plan->startPoint, lat, lon);
    runJavaScript(JsText::fill(QStringLiteral("addSitMarker(new google.maps.LatLng(%1,%2),\"%3\", %4);"),
                               {JsText::fixed(lat, 8, 3), JsText::fixed(JsText::degreesInRange(lon), 8, 3),
                                JsText::escape(ui->cbAircraftType->currentText()),
                                JsText::general(plan->startPoint->heading)}));
}

void MainWindow::on_spInertial_valueChanged(int arg1)
{
    CFlightPlan *plan = m_config->flightPlan;
    if (!plan || !plan->startPoint)
        return;
    plan->startPoint->heading = arg1;
    sAddSitToFp(plan->startPoint->latitude / 3600, plan->startPoint->longitude / 3600);
}

void MainWindow::on_btnStartPos_clicked()
{
    CFlightPlan *plan = m_config->flightPlan;
    if (!plan || plan->isEmpty() || plan->points.first()->usage != QLatin1String("airp")) {
        prompt().warn(tr("Enregistrement point de départ"), tr("Vous devez choisir un aéroport en première ligne."));
        return;
    }
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
