#include "search/pointsearch.h"

#include "data/sqlmgr.h"

#include <QSqlDatabase>
#include <QSqlQuery>

CPointSearch::CPointSearch(SqlMgr *sqlMgr, const QString &genConnection, const QString &wptConnection)
    : m_sqlMgr(sqlMgr)
    , m_gen(genConnection)
    , m_wpt(wptConnection)
{
}

QList<CPointSearch::Result> CPointSearch::run(const QString &text, bool exact, qint32 cruiseSpeed,
                                              qint32 cruiseAltitude) const
{
    QList<Result> results;
    if (!m_sqlMgr)
        return results;

    auto withCruise = [&](const PointPtr &p) {
        p->speed = cruiseSpeed;
        p->altitude = cruiseAltitude;
    };

    const QSqlDatabase gen = QSqlDatabase::database(m_gen, false);
    if (gen.isOpen()) {
        QSqlQuery airports(gen);
        if (m_sqlMgr->selectAPT(text, exact, &airports)) {
            do {
                const int airportIndex = int(results.size());
                PointPtr apt = PointPtr::create();
                apt->fromAPT(airports);
                withCruise(apt);
                results.append({Airport, apt, -1});

                QSqlQuery runways(gen);
                if (m_sqlMgr->selectRWY(apt->dbKey, exact, &runways)) {
                    do {
                        PointPtr high = PointPtr::create();
                        high->fromRunwayHigh(runways);
                        results.append({RunwayEnd, high, airportIndex});
                        PointPtr low = PointPtr::create();
                        low->fromRunwayLow(runways);
                        results.append({RunwayEnd, low, airportIndex});
                    } while (runways.next());
                }
            } while (airports.next());
        }

        QSqlQuery navaids(gen);
        if (m_sqlMgr->selectNAV(text, exact, &navaids)) {
            do {
                PointPtr nav = PointPtr::create();
                nav->fromNAV(navaids);
                withCruise(nav);
                results.append({Navaid, nav, -1});
            } while (navaids.next());
        }
    }

    // Without a waypoint database the airports and navaids still count.
    const QSqlDatabase wpt = QSqlDatabase::database(m_wpt, false);
    if (wpt.isOpen()) {
        QSqlQuery waypoints(wpt);
        if (m_sqlMgr->selectWPT(text, exact, &waypoints)) {
            do {
                PointPtr w = PointPtr::create();
                w->fromWPT(waypoints);
                withCruise(w);
                results.append({Waypoint, w, -1});
            } while (waypoints.next());
        }
    }
    return results;
}

QString CPointSearch::icon(const Result &result)
{
    switch (result.kind) {
    case Airport:
        return QStringLiteral(":/icon/images/Img08.bmp");
    case RunwayEnd:
        return QStringLiteral(":/icon/images/Img10.bmp");
    case Waypoint:
        return QStringLiteral(":/icon/images/Img12.bmp");
    case Navaid:
        switch (result.point->navaidType) {
        case 1: case 4: case 16: case 17:
            return QStringLiteral(":/icon/images/Img05.bmp");
        case 8: case 32:
            return QStringLiteral(":/icon/images/Img03.bmp");
        default:
            return QString();
        }
    }
    return QString();
}
