#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class SimFixture;

// Rows that a simulator's databases may hold and that test every place
// where the program turns database texts into statements, scripts, HTML,
// widgets and files: quotes of both kinds, backslashes, the update files'
// separator, dashes, markup and a closing script tag, line breaks (also the
// two that end a JavaScript line), letters beyond ASCII and beyond Latin-1,
// template markers such as "%1", NULLs in numeric columns, longitudes far
// outside one turn (1e7, -1e9, 1e300, infinity), airports without runways,
// unusual navaid types (0, 2, 99, NULL) and waypoints not shown on the map.
//
// Keys never hold a dash (a marker title ends with "-" and the key) nor a
// line break; names stay within the lengths of the schema catalogue.
namespace HostileData {

// One hostile row of APT, NAV or WPT, with what the program reads from it.
struct Row {
    QString table;      // "APT", "NAV", "WPT"
    QString key;        // ukey
    QString ident;      // iden
    QString name;
    QVariant lat;       // arc-seconds; null: NULL
    QVariant lon;
    QVariant code;      // APT: atyp; NAV: ntyp; WPT: wuse
    QVariant usage;     // NAV: nuse
    QVariant frequency; // NAV: nfrq
    bool onMap = true;  // WPT: wloc 78
};

// The rows the fixture adds.
const QList<Row> &rows();
QList<Row> rows(const QString &table);
const Row &row(const QString &key);

// Hostile airport with two runways (one with NULL ends), and the runway
// end ids.
QString runwayAirport();
QString runwayHigh();
QString runwayLow();
// A stored procedure of the hostile airport "Q'1" and the idents of its rows.
QString procedureName();
QStringList procedureIdents();
// A route of the route filter's country with a hostile name.
QString routeName();

// The texts as a list, for tests that type them.
QStringList hostileTexts();

// Adds every row to a demo tree (SimFixture::buildDemo first).
bool addTo(SimFixture &sim, QString *error);

// A JavaScript string literal read back, for the tests' own parsing of the
// scripts the program sends (independent of the program's escaper).
// False when the literal is not well formed.
bool readJsString(const QString &script, qsizetype *pos, QString *out);

// One call of a script: "name(arg, arg, ...)"; numbers and identifiers as
// text, strings decoded, "new google.maps.LatLng(a,b)" as "LatLng(a,b)"
// with its two numbers in `lat` and `lng`.
struct Call {
    QString function;
    QList<QVariant> args;   // QString for strings, double for numbers, "LatLng" positions as QPointF(lng, lat)
};
// Parses a script made of calls separated by ";" (the form every marker,
// route and plan script of the program takes); the operands of a comma
// expression after a call are added to its arguments. False, with the
// position of the fault, when the script is not of that form.
bool parseCalls(const QString &script, QList<Call> *calls, QString *error);

} // namespace HostileData
