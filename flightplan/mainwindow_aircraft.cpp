#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "flightplan/podmgr.h"

#include <QDebug>
#include <QDirIterator>

void MainWindow::on_btnPod_clicked()
{
    const QString path = prompt().openFileName(tr("Ouvrir un POD"), m_config->dirCorvane.path() + QStringLiteral("/aircraft"),
                                               tr("Fichier POD (*pod)"));
    if (path.isEmpty())
        return;
    CPodMgr pod(path);
    pod.extractBySuffix(QStringLiteral("SVH"));
    qDebug() << "MainWindow::on_btnPod_clicked" << pod.currentText();
}

void MainWindow::on_cbAircraftType_activated(int index)
{
    showAircraft(index);
}

void MainWindow::on_dockWAircraft_visibilityChanged(bool visible)
{
    Q_UNUSED(visible);
    showAircraft(ui->cbAircraftType->currentIndex());
}

void MainWindow::loadSVH()
{
    // Every archive of the aircraft folder and its subfolders, in name order
    // so the list reads the same on every file system.
    QStringList paths;
    QDirIterator it(m_config->dirCorvane.path() + QStringLiteral("/Aircraft"), {QStringLiteral("*.pod")},
                    QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    paths.sort();
    qDebug() << "MainWindow::loadSVH" << paths;

    for (const QString &path : std::as_const(paths)) {
        auto *aircraft = new CAircraft;
        m_aircraftList.append(aircraft);
        CPodMgr pod(path);
        pod.extractBySuffix(QStringLiteral("NFO"));
        aircraft->make = pod.tagValue(QStringLiteral("<make>")).trimmed();
        ui->cbAircraftType->addItem(aircraft->make);
        pod.extractBySuffix(QStringLiteral("SVH"));
        aircraft->parse(pod);
    }
    // The dock shows the figures of the make the list shows.
    if (!m_aircraftList.isEmpty()) {
        ui->cbAircraftType->setCurrentIndex(0);
        showAircraft(0);
    }
}

// Shows the figures of the aircraft at `index` of the list and makes it the
// flight plan's aircraft: map-added points take its cruise speed and the
// saved plan its ceiling.
void MainWindow::showAircraft(int index)
{
    if (index < 0 || index >= m_aircraftList.size())
        return;
    const CAircraft &aircraft = *m_aircraftList.at(index);
    ui->leAircraftNumber->setText(aircraft.registration);
    ui->leSpeedMax->setText(QString::number(aircraft.maxCruiseSpeed));
    ui->leSpeedCruise->setText(QString::number(aircraft.cruiseSpeed));
    ui->leSpeedApp->setText(QString::number(aircraft.approachSpeed));
    ui->leAircraftCeiling->setText(QString::number(aircraft.ceiling));
    if (CFlightPlan *plan = m_config->flightPlan; plan && plan->aircraft)
        *plan->aircraft = aircraft;
}
