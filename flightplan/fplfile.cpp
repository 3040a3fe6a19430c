#include "flightplan/fplfile.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "data/textfile.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>

#include <cmath>

namespace FplFile {

namespace {

QString number(double value)
{
    return QString::number(value, 'f', 3);
}

// "nan" and "inf" read as numbers; a position must be finite.
double finite(const QString &text)
{
    const double value = text.trimmed().toDouble();
    return std::isfinite(value) ? value : 0;
}

// A tag line and its value, with the given indentation.
QString tagged(const QString &indent, const char *tagLine, const QString &value)
{
    return indent + QLatin1String(tagLine) + u'\n' + indent + TextFile::oneLine(value) + u'\n';
}

} // namespace

QString positionText(const CFlightPlanPoint &point)
{
    return number(point.latitude) + u',' + number(point.longitude) + u',' + QString::number(point.elevation);
}

QStringList buildEntries(const QList<PointPtr> &points, int version, int ceiling)
{
    const QString one = QStringLiteral("\t");
    const QString two = QStringLiteral("\t\t");
    const QString first = points.isEmpty() ? QString() : points.first()->ident;
    const QString last = points.isEmpty() ? QString() : points.last()->ident;

    QStringList lines;
    lines << QStringLiteral("<bgno> == Generated with corvane Navigator ==\n");
    lines << tagged(one, "<form> ---- Format Type -----------------", QStringLiteral("wpno=1, format=FM01"));
    lines << QStringLiteral("\t<desc> ========== Description ===========\n");
    lines << one + QStringLiteral("Flight plan from ") + TextFile::oneLine(first) + QStringLiteral(" to ")
                    + TextFile::oneLine(last) + u'\n';
    lines << tagged(one, "<vers> ---------- Version number --------", QString::number(version));
    lines << tagged(one, "<ceil> -----------Average ceil ----------", QString::number(ceiling));
    for (const PointPtr &p : points) {
        lines << QStringLiteral("\t<wpnt> --------- Waypoint ---------------\n");
        lines << one + TextFile::oneLine(p->kind) + u'\n';
        lines << QStringLiteral("\t<bgno> ========== BEGIN OBJECT ==========\n");
        lines << tagged(two, "<name> ---------- Waypoint name ---------", p->name);
        lines << tagged(two, "<iden> ---------- Waypoint identity -----", p->ident);
        lines << tagged(two, "<llps> ---------- Lat/lon,alt position --", positionText(*p));
        lines << tagged(two, "<dbky> ---------- Database key ----------", p->dbKey);
        lines << tagged(two, "<user> ---------- Waypoint usage --------", p->usage);
        lines << tagged(two, "<altd> --- Altitude (feet) at WPT -------", QString::number(p->altitude));
        lines << tagged(two, "<tkof> --- Take off runway --------------", p->takeoffRunway);
        lines << tagged(two, "<land> --- Landing runway ---------------", p->landingRunway);
        lines << tagged(two, "<mark> --- Terminated mark- -------------", p->mark);
        lines << QStringLiteral("\t<endo> ========== END OBJECT ============\n");
    }
    lines << QStringLiteral("<endo> ========== END OBJECT ============\n");
    return lines;
}

QString fileName(const QString &firstIdent, const QString &lastIdent)
{
    return TextFile::safeFileName(firstIdent + u'_' + lastIdent + QStringLiteral(".fpl")).toUpper();
}

Content parse(const QString &text, const std::function<PointPtr()> &newPoint)
{
    Content content;
    const QStringList lines = text.split(u'\n');
    qsizetype i = 0;
    // The value line after a tag; a tag on the last line has an empty value.
    auto nextValue = [&]() -> QString {
        if (i >= lines.size())
            return QString();
        return lines.at(i++).trimmed();
    };

    PointPtr current;
    while (i < lines.size()) {
        const QString key = lines.at(i++).trimmed().left(6);
        if (key == QLatin1String("<desc>") || key == QLatin1String("<form>") || key == QLatin1String("<ceil>")) {
            nextValue();
        } else if (key == QLatin1String("<vers>")) {
            content.version = nextValue().toInt();
            content.hasVersion = true;
        } else if (key == QLatin1String("<wpnt>")) {
            ++content.waypointTags;
            current = newPoint();
            content.points.append(current);
            current->kind = nextValue();
        } else if (key == QLatin1String("<name>")) {
            const QString v = nextValue();
            if (current)
                current->name = v;
        } else if (key == QLatin1String("<iden>")) {
            const QString v = nextValue();
            if (current)
                current->ident = v;
        } else if (key == QLatin1String("<dbky>")) {
            const QString v = nextValue();
            if (current)
                current->dbKey = v;
        } else if (key == QLatin1String("<user>")) {
            const QString v = nextValue();
            if (current)
                current->usage = v;
        } else if (key == QLatin1String("<tkof>")) {
            const QString v = nextValue();
            if (current)
                current->takeoffRunway = v;
        } else if (key == QLatin1String("<land>")) {
            const QString v = nextValue();
            if (current)
                current->landingRunway = v;
        } else if (key == QLatin1String("<mark>")) {
            const QString v = nextValue();
            if (current)
                current->mark = v;
        } else if (key == QLatin1String("<altd>")) {
            const QString v = nextValue();
            if (current)
                current->altitude = v.toInt();
        } else if (key == QLatin1String("<llps>")) {
            const QStringList parts = nextValue().split(u',');
            if (current) {
                current->latitude = finite(parts.value(0));
                current->longitude = finite(parts.value(1));
                current->elevation = parts.value(2).trimmed().toInt();
            }
        }
        // "<bgno>", "<endo>" and any other line: nothing.
    }
    return content;
}

namespace {

QString simulatorDir(const CFlightPlan &plan)
{
    return plan.config ? plan.config->dirCorvane.path() : QString();
}

} // namespace

void buildPlanLines(CFlightPlan &plan)
{
    plan.textLines = buildEntries(plan.points, plan.version, plan.aircraft ? plan.aircraft->ceiling : 0);
}

QString filePath(const CFlightPlan &plan, const QString &name)
{
    return simulatorDir(plan) + QStringLiteral("/Flightplan/") + name;
}

bool saveFpl(CFlightPlan &plan, const QString &name, QString *error)
{
    ++plan.version;
    buildPlanLines(plan);
    const QString path = filePath(plan, name);
    QString why;
    if (!TextFile::write(path, TextFile::toLatin1(plan.textLines.join(QString())), &why)) {
        qWarning() << "CFlightPlan::saveFpl :" << path << why;
        if (error)
            *error = why;
        return false;
    }
    return true;
}

QString loadText(CFlightPlan &plan, const QString &text, const QString &name)
{
    const Content content = parse(text, [&plan]() { return plan.newPoint(); });
    // One change, undone as a whole (the start position and the counter
    // with it).
    const CFlightPlan::ChangeScope change(plan, CFlightPlan::ChangeKind::Load, name);
    plan.userWaypointCounter += content.waypointTags;
    if (content.hasVersion)
        plan.version = content.version;
    for (const PointPtr &p : content.points) {
        plan.insertAt(p, plan.count());
        plan.currentPoint = p;
    }
    return plan.refresh();
}

QString loadFpl(CFlightPlan &plan)
{
    const QString path = prompt().openFileName(QCoreApplication::translate("QObject", "Ouvrir un plan de vol existant"),
                                               simulatorDir(plan) + QStringLiteral("/Flightplan"),
                                               QCoreApplication::translate("QObject", "Fichier plan de vol (*.fpl)"));
    return path.isEmpty() ? QString() : loadFplFile(plan, path);
}

QString loadFplFile(CFlightPlan &plan, const QString &path)
{
    QByteArray bytes;
    QString why;
    if (!TextFile::read(path, &bytes, &why)) {
        qWarning() << "CFlightPlan::loadFpl :" << path << why;
        return QString();
    }
    return loadText(plan, TextFile::decode(bytes), QFileInfo(path).fileName());
}

} // namespace FplFile
