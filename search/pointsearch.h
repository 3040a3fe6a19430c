#pragma once

#include "flightplan/flightplanpoint.h"

#include <QList>
#include <QString>

class SqlMgr;

// The search of the "Recherche" dock: airports (each followed by its own
// runway ends), then navaids, then waypoints, each found by key, ident or
// name through the SQL manager's cascading selectors.
class CPointSearch
{
public:
    enum Kind { Airport, RunwayEnd, Navaid, Waypoint };

    // One found item. Its position in the result list is its result index.
    struct Result {
        Kind kind = Airport;
        PointPtr point;
        int parent = -1;   // runway ends: the result index of their airport
    };

    CPointSearch(SqlMgr *sqlMgr, const QString &genConnection, const QString &wptConnection);

    // Runs the search for `text` (exact: equality, otherwise prefix for keys
    // and idents, contained text for names). Each airport is followed by
    // the runway ends of its exact key. Airports, navaids and
    // waypoints take the given cruise speed and altitude; runway ends keep
    // the values of a fresh record.
    QList<Result> run(const QString &text, bool exact, qint32 cruiseSpeed, qint32 cruiseAltitude) const;

    // Icon of a result in the results tree; empty for navaids of types
    // without their own icon.
    static QString icon(const Result &result);

private:
    SqlMgr *m_sqlMgr;
    QString m_gen;
    QString m_wpt;
};
