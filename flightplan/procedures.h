#pragma once

#include "flightplan/flightplanpoint.h"

#include <QList>
#include <QString>

class CFlightPlan;
class QSqlQuery;
class SqlMgr;

// One row of the SIDSTAR table, as the program writes it.
struct CSidStarRow
{
    qint32 tile = 0;
    QString skey;     // procedure name followed by the sequence number
    QString sapt;     // key of the procedure's airport
    QString strm;     // procedure name
    qint32 sqnm = 0;  // 10, 20, 30 ...
    qint32 styp = 0;  // 2 SID, 1 STAR
    QString swid;     // ident of the point
    qint32 swpt = 0;  // waypoint type
    double salt = 0;  // elevation, feet
    double slat = 0;  // arc-seconds, 3 decimals
    double slon = 0;  // arc-seconds, 3 decimals

    bool operator==(const CSidStarRow &) const = default;
};

// The standard departures (SID) and arrivals (STAR) of the route database:
// one SIDSTAR row per point, the rows of a procedure sharing its name.
class CProcedures
{
public:
    enum Type { Star = 1, Sid = 2 };

    struct Fix {
        QString ident;          // swid
        qint32 waypointType = 0; // swpt
    };
    struct Procedure {
        QString name;
        bool isStar = false;
        QList<Fix> fixes;       // in stored order
    };

    // Works on the connection of that name (the route database).
    CProcedures(const QString &connectionName, SqlMgr *sql);

    // The procedures listed for an airport: rows of the airport (or, when
    // it has none, rows whose name is the key), in stored order. A row of
    // sequence 10 starts a procedure; rows before the first one belong to
    // no procedure and are left out.
    QList<Procedure> airportProcedures(const QString &airportKey) const;

    // The rows of one procedure (by its name only), in stored order.
    QList<CSidStarRow> rows(const QString &name) const;

    // The elements that draw a procedure, joined with ";"; empty when the
    // procedure has no row.
    QString drawScript(const QString &name) const;

    // The fixes of a procedure as new plan points (the plan's speed and
    // altitude), airports (waypoint type 0) left out.
    QList<PointPtr> planPoints(const CFlightPlan &plan, const QString &name) const;

    // Both writers save the route database first, once per run (see
    // CBackup); when that copy fails nothing changes and error says why.

    // A key of the rows to write that a row of another procedure holds
    // (the key is the name followed by the sequence number, so "ABC" and
    // "ABC1" can meet: ABC's point 11 and ABC1's point 1 are both ABC110).
    struct KeyConflict {
        QString key;
        QString name;      // the other procedure
        QString airport;   // its airport's key
    };

    // Writes a procedure in one transaction: its old rows (same name, same
    // airport) go, the new ones come. A key held by another procedure
    // (another name, or the same name at another airport) is never written
    // over: the save stops with `conflict` set. On any failure nothing
    // changes and error says why.
    bool save(const QString &name, const QList<CSidStarRow> &rows, QString *error,
              KeyConflict *conflict = nullptr) const;
    // Removes every row of a procedure.
    bool remove(const QString &name, QString *error) const;

    // The rows that store the points of a plan as a procedure: every point,
    // the airport at each end included; the SID's airport is the first
    // point, the STAR's the last.
    static QList<CSidStarRow> rowsForPlan(const QList<PointPtr> &points, const QString &name, Type type);
    // Waypoint type of a plan point: 0 airport, the navaid type for a
    // navaid, 4096 for a waypoint, 0 otherwise.
    static qint32 waypointType(const CFlightPlanPoint &point);
    // Resource path of the icon of a waypoint type; empty for none.
    static QString icon(qint32 waypointType);
    // One drawing element: "addPointToSS(new google.maps.LatLng(lat,lng),"name")".
    static QString drawElement(const CFlightPlanPoint &point);

private:
    template<typename Fn>
    void forEachRow(const QString &name, Fn &&fn) const;

    QString m_connection;
    SqlMgr *m_sql = nullptr;
};
