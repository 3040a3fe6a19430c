#pragma once

#include "data/globalvar.h"

#include <QPointF>
#include <QString>

class CFlightPlan;

// The global configuration plus the program's own view settings, kept in
// "navigator.ini" in the current directory: read once when the instance is
// created, written once when it is released.
class CNavGlobalVar : public CGlobalVar
{
public:
    static CNavGlobalVar *instance();
    static void release();

    // Where the settings live; tests point it elsewhere before instance().
    static QString settingsPath();
    static void setSettingsPath(const QString &path);

    void readSettings() override;
    void writeSettings() override;

    bool showAirport = true;
    bool showVor = true;
    bool showNdbRte = true;
    bool showNdbTerm = true;
    bool showWaypointRte = true;
    bool showWaypointTerm = true;
    bool showWaypointVfr = true;
    bool showATSH = true;
    bool showATSL = true;
    bool showATSB = true;
    bool showBoundary = true;
    bool showDock = true;
    double zoom = 6;
    double centerLon = 2.0;   // degrees
    double centerLat = 49.0;  // degrees
    QString route = QStringLiteral("FR");
    // Milliseconds between two trace ticks; a setting of 0 or less (which
    // would tick on every pass of the event loop) reads as the default.
    static constexpr int DefaultTraceInterval = 2;
    int traceInterval = DefaultTraceInterval;
    // False while the work directory setting is empty (first start).
    bool workDirSet = false;

    CFlightPlan *flightPlan = nullptr;

private:
    CNavGlobalVar();
    ~CNavGlobalVar() override;
};
