#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "flightplan/flightplan.h"
#include "flightplan/fplfile.h"

#include <QDir>
#include <QUndoStack>

void MainWindow::on_btnLoadFlightPlan_clicked()
{
    loadPlanFile(QString());
}

void MainWindow::loadPlanFile(const QString &path)
{
    CFlightPlan *plan = m_config->flightPlan;
    if (!plan)
        return;
    // Clearing the plan, reading the file and the saving controls are one
    // change; a plan read in is clean (pushPlanChange).
    const CFlightPlan::ChangeScope change(*plan, CFlightPlan::ChangeKind::Load);
    if (!confirmNewPlan())
        return;
    runJavaScript(path.isEmpty() ? FplFile::loadFpl(*plan) : FplFile::loadFplFile(*plan, path));
    ui->dockWFlightPlan->raise();
    ui->dockWSid->setWindowTitle(tr("SID : "));
    ui->dockWStar->setWindowTitle(tr("STAR : "));
    setSaveControlsEnabled(true);
}

void MainWindow::on_btnSaveFlightPlan_clicked()
{
    CFlightPlan *plan = m_config->flightPlan;
    const QString title = tr("Enregistrement plan de vol");
    if (!plan || plan->count() < 2) {
        prompt().warn(title, tr("Un plan de vol doit comporté au moins deux points"));
        return;
    }
    const QString name = FplFile::fileName(plan->points.first()->ident, plan->points.last()->ident);
    QString error;
    if (FplFile::saveFpl(*plan, name, &error)) {
        m_planUndo->setClean();
        prompt().inform(title, tr("Le plan de vol %1 a été enregistré").arg(name));
    } else {
        prompt().warn(title, tr("Le plan de vol %1 n'a pas pu être enregistré :\n%2")
                                     .arg(QDir::toNativeSeparators(FplFile::filePath(*plan, name)), error));
    }
    on_btnStartPos_clicked();
}
