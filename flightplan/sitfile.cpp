#include "flightplan/sitfile.h"

#include "app/navglobalvar.h"
#include "data/backup.h"
#include "data/globalvar.h"
#include "flightplan/flightplan.h"
#include "data/textfile.h"

#include <QDebug>

namespace SitFile {

QStringList buildEntries(const QString &firstIdent, const CFlightPlanPoint &start)
{
    const QString zero = QStringLiteral("0.0");
    const QString zeros = QStringLiteral("0.0,0.0,0.0");
    const QString radians = QString::number(start.heading * 0.017453292519943295, 'f', 2);

    QStringList lines;
    lines << QStringLiteral("<bgno> ========== ") + TextFile::oneLine(firstIdent) + QStringLiteral(" =====\n");
    lines << QStringLiteral("\t<wobj> ---- world object type ----\n\tplan\n");
    lines << QStringLiteral("\t<bgno> ========== BEGIN OBJECT ==========\n");
    lines << QStringLiteral("\t\t<geop> ---- geo position lat lon elev ----\n\t\t") + CGlobalVar::latitudeText(start.latitude, true)
                    + QStringLiteral("\n\t\t") + CGlobalVar::longitudeText(start.longitude, true) + QStringLiteral("\n\t\t")
                    + QString::number(start.altitude) + u'\n';
    lines << QStringLiteral("\t\t<_NFO> ---- Vehicle Info Files ----\n\t\tcessna172.nfo\n");
    lines << QStringLiteral("\t\t<user> ---- Default user vehicle ----\n");
    lines << QStringLiteral("\t\t<iang> ---- Inertial angular position ----\n\t\t") + zero + u',' + radians + u',' + zero + u'\n';
    lines << QStringLiteral("\t\t<bvel> ----\n\t\t") + zeros + u'\n';
    lines << QStringLiteral("\t\t<bang>\n\t\t") + zeros + u'\n';
    lines << QStringLiteral("\t\t<vmod> ---- view mode ----\n\t\tspot\n");
    lines << QStringLiteral("\t<endo> ========== END OBJECT ============\n");
    lines << QStringLiteral("<endo> ========== END OBJECT ============\n");
    return lines;
}

QString fileName(const QString &firstName)
{
    // Upper case first: some Latin-1 letters have their capital outside it
    // (ÿ, µ). The ini entry that names the file is 8-bit text.
    return TextFile::latin1FileName((firstName + QStringLiteral(".sit")).toUpper());
}

QString iniEntry(const QString &sitFileName)
{
    return QStringLiteral("startupSituation=Saved Simulations/") + sitFileName;
}

QByteArray rewriteIni(const QByteArray &ini, const QString &sitFileName)
{
    QList<QByteArray> lines = ini.split('\n');
    // A line end after the last line closes it; it is not a line of its own.
    if (lines.size() > 1 && lines.last().isEmpty()) {
        lines.removeLast();
        if (lines.last().endsWith('\r'))
            lines.last().chop(1);
    }
    const QByteArray entry = TextFile::toLatin1(iniEntry(sitFileName));
    for (QByteArray &line : lines) {
        if (line.startsWith("startupSituation"))
            line = line.endsWith('\r') ? entry + '\r' : entry;
    }
    return lines.join('\n');
}

void buildSitLines(CFlightPlan &plan)
{
    const QString ident = plan.points.isEmpty() ? QString() : plan.points.first()->ident;
    plan.textLines = buildEntries(ident, plan.startPoint ? *plan.startPoint : CFlightPlanPoint());
}

QString filePath(const CFlightPlan &plan, const QString &name)
{
    const QString dir = plan.config ? plan.config->dirCorvane.path() : QString();
    return dir + QStringLiteral("/Saved Simulations/") + name;
}

bool saveSit(CFlightPlan &plan, const QString &name, QString *error)
{
    buildSitLines(plan);
    const QString path = filePath(plan, name);
    QString why;
    if (!TextFile::write(path, TextFile::toLatin1(plan.textLines.join(QString())), &why)) {
        qWarning() << "CFlightPlan::saveSit :" << path << why;
        if (error)
            *error = why;
        return false;
    }
    return true;
}

QString iniPath(const QString &simulatorDir)
{
    return simulatorDir + QStringLiteral("/system/Corvane.ini");
}

IniResult setStartupSituation(const QString &simulatorDir, const QString &sitFileName, QString *error)
{
    const QString path = iniPath(simulatorDir);
    QByteArray ini;
    QString why;
    if (!TextFile::read(path, &ini, &why)) {
        qWarning() << "MainWindow::on_btnStartPos_clicked :" << path << why;
        if (error)
            *error = why;
        return IniResult::Unreadable;
    }
    if (!CBackup::beforeChange(path, &why)) {
        if (error)
            *error = CBackup::failureText(path, why);
        return IniResult::NotWritten;
    }
    if (!TextFile::write(path, rewriteIni(ini, sitFileName), &why)) {
        qWarning() << "MainWindow::on_btnStartPos_clicked :" << path << why;
        if (error)
            *error = why;
        return IniResult::NotWritten;
    }
    return IniResult::Rewritten;
}

} // namespace SitFile
