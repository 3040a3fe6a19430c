#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "data/backup.h"
#include "flightplan/flightplan.h"
#include "flightplan/procedures.h"

#include <QBrush>
#include <QIcon>
#include <QTreeWidgetItem>

namespace {

// The procedure line a tree's selection stands for (a fix line stands for
// its procedure); null unless exactly one line is selected.
QTreeWidgetItem *selectedProcedure(const QTreeWidget *tree)
{
    const QList<QTreeWidgetItem *> selected = tree->selectedItems();
    if (selected.size() != 1)
        return nullptr;
    QTreeWidgetItem *item = selected.first();
    return item->parent() ? item->parent() : item;
}

const QString ClearProcedure = QStringLiteral("clearSS()");

} // namespace

// A click on an airport line lists its procedures; any other line leaves
// the trees as they are.
void MainWindow::on_fltplnGrid_cellClicked(int row, int column)
{
    Q_UNUSED(column);
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp || !fp->isValidRow(row))
        return;
    const PointPtr point = fp->points.at(row);
    if (point->usage != QLatin1String("airp"))
        return;
    ui->treeWSid->clear();
    ui->treeWStar->clear();
    loadProcedures(point->dbKey);
    ui->dockWSid->setWindowTitle(tr("SID : %1").arg(point->ident));
    ui->dockWStar->setWindowTitle(tr("STAR : %1").arg(point->ident));
}

void MainWindow::loadProcedures(const QString &airportKey)
{
    if (!m_config)
        return;
    const CProcedures procedures(m_config->routeName, m_config->sqlMgr);
    for (const CProcedures::Procedure &procedure : procedures.airportProcedures(airportKey)) {
        auto *top = new QTreeWidgetItem(procedure.isStar ? ui->treeWStar : ui->treeWSid);
        top->setText(0, procedure.name);
        for (const CProcedures::Fix &fix : procedure.fixes) {
            auto *line = new QTreeWidgetItem(top);
            const QString icon = CProcedures::icon(fix.waypointType);
            if (!icon.isEmpty())
                line->setIcon(0, QIcon(icon));
            line->setText(1, fix.ident);
            line->setForeground(1, QBrush(Qt::blue));
        }
    }
}

void MainWindow::drawProcedure(const QString &name)
{
    runJavaScript(ClearProcedure);
    if (!m_config)
        return;
    const QString script = CProcedures(m_config->routeName, m_config->sqlMgr).drawScript(name);
    if (!script.isEmpty())
        runJavaScript(script);
}

void MainWindow::on_treeWSid_itemClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(column);
    if (item)
        drawProcedure((item->parent() ? item->parent() : item)->text(0));
}

void MainWindow::on_treeWStar_itemClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(column);
    if (item)
        drawProcedure((item->parent() ? item->parent() : item)->text(0));
}

// The fixes of the selected procedure go after the grid's current line, in
// procedure order; its airports stay out.
void MainWindow::addProcedure(QTreeWidget *tree)
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    const QTreeWidgetItem *procedure = selectedProcedure(tree);
    if (!fp || !procedure)
        return;
    int r = ui->fltplnGrid->currentRow();
    const CProcedures procedures(m_config->routeName, m_config->sqlMgr);
    const CFlightPlan::ChangeScope change(*fp, CFlightPlan::ChangeKind::AddProcedure, procedure->text(0));
    for (const PointPtr &p : procedures.planPoints(*fp, procedure->text(0)))
        fp->insertAt(p, ++r);
    runJavaScript(ClearProcedure);
    runJavaScript(fp->refresh());
    ui->dockWFlightPlan->raise();
}

void MainWindow::on_btnAddSid_clicked()
{
    addProcedure(ui->treeWSid);
}

void MainWindow::on_btnAddStar_clicked()
{
    addProcedure(ui->treeWStar);
}

// A SID starts at the plan's first point, a STAR ends at its last; both
// store every point of the plan.
void MainWindow::createProcedure(bool star)
{
    CFlightPlan *fp = m_config ? m_config->flightPlan : nullptr;
    if (!fp || fp->isEmpty())
        return;
    const QString creation = star ? tr("Création d'un STAR") : tr("Création d'un SID");
    const CFlightPlanPoint &airport = star ? *fp->points.last() : *fp->points.first();
    if (airport.usage != QLatin1String("airp")) {
        prompt().warn(creation, star ? tr("Le nouveau STAR doit finir par un aéroport")
                                     : tr("Le nouveau SID doit commencé par un aéroport"));
        return;
    }

    bool ok = false;
    const QString name = prompt().text(star ? tr("Nouveau STAR") : tr("Nouveau SID"),
                                       star ? tr("Nom du STAR") : tr("Nom du SID"), QString(), &ok);
    if (!ok || name.isEmpty())
        return;

    // No change to the simulator's database without a copy of it.
    if (!CBackup::confirmConnection(m_config->routeName))
        return;
    const CProcedures procedures(m_config->routeName, m_config->sqlMgr);
    const auto rows = CProcedures::rowsForPlan(fp->points, name, star ? CProcedures::Star : CProcedures::Sid);
    QString error;
    CProcedures::KeyConflict conflict;
    if (!procedures.save(name, rows, &error, &conflict)) {
        if (!conflict.key.isEmpty())
            prompt().warn(creation,
                          (star ? tr("Le STAR %1 n'a pas été enregistré : sa clé %2 est déjà celle d'un point de la "
                                     "procédure %3 de %4.\nChoisissez un autre nom.")
                                : tr("Le SID %1 n'a pas été enregistré : sa clé %2 est déjà celle d'un point de la "
                                     "procédure %3 de %4.\nChoisissez un autre nom."))
                                  .arg(name, conflict.key, conflict.name, conflict.airport));
        else
            prompt().warn(creation, star ? tr("Le STAR %1 n'a pas pu être enregistré :\n%2").arg(name, error)
                                         : tr("Le SID %1 n'a pas pu être enregistré :\n%2").arg(name, error));
        return;
    }

    // Lists the airport's procedures again, the new one included.
    on_fltplnGrid_cellClicked(star ? ui->fltplnGrid->rowCount() - 1 : 0, 1);
    if (star)
        prompt().inform(tr("Enregistrement STAR"), tr("Le STAR %1 a été enregistré").arg(name));
    else
        prompt().inform(tr("Enregistrement SID"), tr("Le SID %1 a été enregistré").arg(name));
}

void MainWindow::on_btnCreateSID_clicked()
{
    createProcedure(false);
}

void MainWindow::on_btnCreateSTAR_clicked()
{
    createProcedure(true);
}

void MainWindow::deleteProcedure(QTreeWidget *tree, bool star)
{
    QTreeWidgetItem *procedure = selectedProcedure(tree);
    if (!m_config || !procedure)
        return;
    const QString name = procedure->text(0);
    const QString answer = prompt().ask(CPrompt::Warning, star ? tr("Effacer une STAR") : tr("Effacer un SID"),
                                        star ? tr("Voulez vous effacer la STAR %1 ?").arg(name)
                                             : tr("Voulez vous effacer le SID %1 ?").arg(name),
                                        {CPrompt::Ok, CPrompt::Cancel});
    if (answer != CPrompt::Ok)
        return;

    if (!CBackup::confirmConnection(m_config->routeName))
        return;
    const QString title = star ? tr("Effacement STAR") : tr("Effacement SID");
    QString error;
    if (!CProcedures(m_config->routeName, m_config->sqlMgr).remove(name, &error)) {
        prompt().warn(title, star ? tr("La STAR %1 n'a pas pu être effacée :\n%2").arg(name, error)
                                  : tr("Le SID %1 n'a pas pu être effacé :\n%2").arg(name, error));
        return;
    }

    runJavaScript(ClearProcedure);
    delete procedure;
    prompt().inform(title, star ? tr("La STAR %1 a été effacé").arg(name) : tr("Le SID %1 a été effacé").arg(name));
}

void MainWindow::on_pbDelSID_clicked()
{
    deleteProcedure(ui->treeWSid, false);
}

void MainWindow::on_pbDelSTAR_clicked()
{
    deleteProcedure(ui->treeWStar, true);
}

// A dock coming to the front hides the procedure drawn from the trees.
void MainWindow::on_dockWFlightPlan_visibilityChanged(bool visible)
{
    if (visible)
        runJavaScript(ClearProcedure);
}

void MainWindow::on_dockWSid_visibilityChanged(bool visible)
{
    if (visible)
        runJavaScript(ClearProcedure);
}

void MainWindow::on_dockWStar_visibilityChanged(bool visible)
{
    if (visible)
        runJavaScript(ClearProcedure);
}
