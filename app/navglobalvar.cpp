#include "app/navglobalvar.h"

#include <QSettings>

namespace {
CNavGlobalVar *g_instance = nullptr;
QString g_settingsPath = QStringLiteral("navigator.ini");
}

CNavGlobalVar *CNavGlobalVar::instance()
{
    if (!g_instance)
        g_instance = new CNavGlobalVar;
    return g_instance;
}

void CNavGlobalVar::release()
{
    delete g_instance;
    g_instance = nullptr;
}

QString CNavGlobalVar::settingsPath()
{
    return g_settingsPath;
}

void CNavGlobalVar::setSettingsPath(const QString &path)
{
    g_settingsPath = path;
}

CNavGlobalVar::CNavGlobalVar()
{
    readSettings();
}

CNavGlobalVar::~CNavGlobalVar()
{
    writeSettings();
}

void CNavGlobalVar::readSettings()
{
    QSettings s(g_settingsPath, QSettings::IniFormat);
    showAirport = s.value("view/showAirport", true).toBool();
    showVor = s.value("view/showVor", true).toBool();
    showNdbRte = s.value("view/showNdbRte", true).toBool();
    showNdbTerm = s.value("view/showNdbTerm", true).toBool();
    showWaypointRte = s.value("view/showWaypointRte", true).toBool();
    showWaypointTerm = s.value("view/showWaypointTerm", true).toBool();
    showWaypointVfr = s.value("view/showWaypointVfr", true).toBool();
    showATSH = s.value("view/showATSH", true).toBool();
    showATSL = s.value("view/showATSL", true).toBool();
    showATSB = s.value("view/showATSB", true).toBool();
    showBoundary = s.value("view/showBoundary", true).toBool();
    showDock = s.value("view/showDock", true).toBool();
    zoom = s.value("view/zoom", 6).toDouble();
    const QPointF center = s.value("view/mapCenter", QPointF(2.0, 49.0)).toPointF();
    centerLon = center.x();
    centerLat = center.y();
    route = s.value("view/route", QStringLiteral("FR")).toString();
    traceInterval = s.value("trace/intervale", DefaultTraceInterval).toInt();
    if (traceInterval <= 0)
        traceInterval = DefaultTraceInterval;
    const QString work = s.value("directory/dirWork", QString()).toString();
    workDirSet = !work.isEmpty();
    dirWork.setPath(work);
}

void CNavGlobalVar::writeSettings()
{
    QSettings s(g_settingsPath, QSettings::IniFormat);
    s.setValue("view/showAirport", showAirport);
    s.setValue("view/showVor", showVor);
    s.setValue("view/showNdbRte", showNdbRte);
    s.setValue("view/showNdbTerm", showNdbTerm);
    s.setValue("view/showWaypointRte", showWaypointRte);
    s.setValue("view/showWaypointTerm", showWaypointTerm);
    s.setValue("view/showWaypointVfr", showWaypointVfr);
    s.setValue("view/showATSL", showATSL);
    s.setValue("view/showATSH", showATSH);
    s.setValue("view/showATSB", showATSB);
    s.setValue("view/showBoundary", showBoundary);
    s.setValue("view/showDock", showDock);
    s.setValue("view/zoom", zoom);
    s.setValue("view/mapCenter", QPointF(centerLon, centerLat));
    s.setValue("directory/dirWork", workDirSet ? dirWork.path() : QString());
    s.setValue("view/route", route);
    s.setValue("trace/intervale", traceInterval);
    s.sync();
}
