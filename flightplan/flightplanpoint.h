#pragma once

#include <QSharedPointer>
#include <QString>
#include <QTime>

class QSqlQuery;

// One point of a flight plan (or of the search results): an airport, a
// navaid, a database waypoint, a SID/STAR fix, a runway end or a user
// waypoint. Positions in arc-seconds, north and east positive.
class CFlightPlanPoint
{
public:
    QString kind;          // "airp", "snav", "wayp", "uswp"
    QString name;
    QString ident;
    double latitude = 0;
    double longitude = 0;
    qint32 elevation = 0;
    QString dbKey;         // ukey of the source row, "NONE" otherwise
    QString usage;         // "airp", "snav", "uswp"
    qint32 altitude = 0;
    QString takeoffRunway = QStringLiteral("NONE");
    QString landingRunway = QStringLiteral("NONE");
    QString mark;
    qint32 navaidType = 0;
    double heading = 0;
    qint32 speed = 0;
    double course = 0;
    double distance = 0;
    qint32 duration = 0;
    QTime time = QTime(0, 0);
    // Minutes from the first point, past 24 hours too: what the grid's
    // "Temps" column shows (time wraps at midnight).
    qint64 elapsed = 0;
    double frequency = 0;

    // Builders: fill the record from the current row of a SELECT * query.
    void fromAPT(const QSqlQuery &row);
    void fromNAV(const QSqlQuery &row);
    void fromWPT(const QSqlQuery &row);
    void fromSIDSTAR(const QSqlQuery &row);
    void fromRunwayHigh(const QSqlQuery &row);
    void fromRunwayLow(const QSqlQuery &row);

private:
    void clearRunwaysAndMark();
    void fromRunwayEnd(const QSqlQuery &row, int id, int lat, int lon, int elev, int magHeading);
};

// Records are shared: a search result added to the plan is the same record
// in both lists.
using PointPtr = QSharedPointer<CFlightPlanPoint>;
