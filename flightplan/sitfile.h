#pragma once

#include "flightplan/flightplanpoint.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class CFlightPlan;

// The simulator's situation file (".sit") that puts the aircraft at the
// start position, and the "startupSituation" entry of the simulator's ini
// file that names it.
namespace SitFile {

// The entries of the situation file: headed by the ident of the plan's
// first point, placed at the start point's position, altitude and heading.
// Every entry ends with a line feed; some hold several lines.
QStringList buildEntries(const QString &firstIdent, const CFlightPlanPoint &start);

// "ORLY.SIT" for an airport named Orly; characters that cannot stand in a
// file name become "_" ("Nice/Cote d'Azur" gives NICE_COTE D'AZUR.SIT), and
// so do those outside Latin-1 (Łódź gives _ÓD_.SIT), so that the 8-bit ini
// entry names the file itself.
QString fileName(const QString &firstName);

// The ini line that names the situation: "startupSituation=Saved Simulations/ORLY.SIT".
QString iniEntry(const QString &sitFileName);

// The simulator's ini file with every line that begins with
// "startupSituation" replaced by the entry for the situation. Every other
// line is kept byte for byte (a carriage return before the line feed
// included, and the replaced line keeps it too); lines are joined by line
// feeds and the last one gets no line end. No line is added when none
// matches.
QByteArray rewriteIni(const QByteArray &ini, const QString &sitFileName);

// The plan's situation file operations.

// Replaces the plan's text lines with the situation entries: the ident of
// the plan's first point, the start point's position.
void buildSitLines(CFlightPlan &plan);

// "<simulator>/Saved Simulations/<name>".
QString filePath(const CFlightPlan &plan, const QString &name);

// Builds the lines and writes them in Latin-1, replacing the file
// atomically. On failure the old file stays, the result is false and
// `error` says why.
bool saveSit(CFlightPlan &plan, const QString &name, QString *error = nullptr);

// "<simulator>/system/Corvane.ini".
QString iniPath(const QString &simulatorDir);

enum class IniResult { Rewritten, Unreadable, NotWritten };

// Makes the situation file the simulator's start-up situation: rewrites the
// "startupSituation" lines of the simulator's ini file (rewriteIni),
// replacing the file atomically. The ini file is saved first, once per run
// (see CBackup); when that copy fails the file stays as it was, the result
// is NotWritten and `error` says that the copy failed and why.
IniResult setStartupSituation(const QString &simulatorDir, const QString &sitFileName, QString *error = nullptr);

} // namespace SitFile
