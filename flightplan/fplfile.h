#pragma once

#include "flightplan/flightplanpoint.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class CFlightPlan;

// The simulator's flight-plan file (".fpl"): tagged blocks, a tag of six
// characters opening a line and its value alone on the next line. Building
// and reading work on text; writing and choosing the file are the plan's.
namespace FplFile {

// The entries of the file for the plan, in order. Every entry ends with a
// line feed; some hold two lines (a tag and its value). The file is the
// entries written one after the other.
QStringList buildEntries(const QList<PointPtr> &points, int version, int ceiling);

// The file name of a plan from its first and last point: "LFPG_EGLL.FPL".
// Characters that cannot stand in a file name become "_".
QString fileName(const QString &firstIdent, const QString &lastIdent);

// The position line of a point: latitude and longitude in arc-seconds with
// three decimals, then the elevation ("36.000,-8.500,392").
QString positionText(const CFlightPlanPoint &point);

// What a file holds.
struct Content {
    QList<PointPtr> points;   // in file order
    bool hasVersion = false;
    int version = 0;
    int waypointTags = 0;     // number of "<wpnt>" lines
};

// Reads the text of a file. Every point is created by `newPoint` (so the
// fields the file does not carry keep the plan's defaults) and filled from
// its tags. Tolerant: only the first six characters of a trimmed line count
// as its tag, indentation and trailing text are ignored, a number that does
// not read converts to 0, a position with missing parts gets 0 for them.
Content parse(const QString &text, const std::function<PointPtr()> &newPoint);

// The plan's own file operations (the plan's simulator directory is that of
// its configuration).

// Replaces the plan's text lines with the entries of its flight-plan file.
void buildPlanLines(CFlightPlan &plan);

// "<simulator>/Flightplan/<name>".
QString filePath(const CFlightPlan &plan, const QString &name);

// Raises the version (on every attempt), rebuilds the lines and writes them
// in Latin-1 to filePath(name), replacing the file atomically. On failure
// the old file stays, the result is false and `error` says why.
bool saveFpl(CFlightPlan &plan, const QString &name, QString *error = nullptr);

// Reads the text of a file into the plan: appends its points, counts every
// "<wpnt>" as a user waypoint, takes its version. One change of the plan
// ("le chargement de <name>"), which can be undone. Returns the map script
// of the refreshed plan.
QString loadText(CFlightPlan &plan, const QString &text, const QString &name = QString());

// Asks for a file ("Ouvrir un plan de vol existant") and reads it into the
// plan. Returns the map script, empty when no file was read.
QString loadFpl(CFlightPlan &plan);
// Reads the file at `path` into the plan, as loadFpl does once the file is
// chosen. Returns the map script, empty when the file cannot be read.
QString loadFplFile(CFlightPlan &plan, const QString &path);

} // namespace FplFile
