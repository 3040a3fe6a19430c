#include "search/pointsearch.h"

#include "data/sqlmgr.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <functional>

// The search finds what SqlMgr's selectors find (selectAPT, selectNAV,
// selectWPT, selectRWY), row for row and in the same order, but reads
// world-sized tables fewer times: the selectors run one statement per
// column in turn and each one that is not on the key's index reads the
// whole table; each airport found reads the whole runway table again. Here the columns are tested together in one pass that
// returns row numbers only, then the rows found are read; the runways of
// all the airports are matched in one pass. Should a statement of this way
// fail (a table without row numbers, say), the selectors run as before.

namespace {

// Row numbers are integers made here: they can be written into a statement.
constexpr int RowsPerStatement = 500;

// The rowids a selector would give, in its order. False when the fast
// statements cannot run.
bool selectRowids(const QSqlDatabase &db, const QString &table, const QString &text, bool exact,
                  QList<qint64> *rowids)
{
    rowids->clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (exact) {
        // The key column first, on its index.
        if (!query.prepare(QStringLiteral("SELECT rowid FROM %1 WHERE ukey = ? ORDER BY rowid").arg(table)))
            return false;
        query.addBindValue(text);
        if (!query.exec())
            return false;
        while (query.next())
            rowids->append(query.value(0).toLongLong());
        if (!rowids->isEmpty())
            return true;
        // Then the ident, else the name: one pass for both.
        // One placeholder per use: the driver refuses a numbered one used
        // twice, and the fast statements would never run.
        if (!query.prepare(QStringLiteral("SELECT rowid, iden = ? FROM %1 WHERE iden = ? OR name = ? ORDER BY rowid")
                                   .arg(table)))
            return false;
        for (int use = 0; use < 3; ++use)
            query.addBindValue(text);
    } else {
        // Key and ident (prefixes) in one pass; the name (contained) only
        // when neither matches, as it costs the most.
        if (!query.prepare(QStringLiteral("SELECT rowid, ukey LIKE ? ESCAPE '\\' FROM %1 "
                                          "WHERE ukey LIKE ? ESCAPE '\\' OR iden LIKE ? ESCAPE '\\' ORDER BY rowid")
                                   .arg(table)))
            return false;
        for (int use = 0; use < 3; ++use)
            query.addBindValue(SqlMgr::likePrefix(text));
    }
    if (!query.exec())
        return false;
    // Per row: whether the earlier column matched.
    QList<qint64> first, second;
    while (query.next()) {
        const qint64 rowid = query.value(0).toLongLong();
        if (query.value(1).toInt() == 1)
            first << rowid;
        else
            second << rowid;
    }
    if (exact || !first.isEmpty() || !second.isEmpty()) {
        *rowids = !first.isEmpty() ? first : second;
        return true;
    }
    if (!query.prepare(QStringLiteral("SELECT rowid FROM %1 WHERE name LIKE ? ESCAPE '\\' ORDER BY rowid").arg(table)))
        return false;
    query.addBindValue(SqlMgr::likeContains(text));
    if (!query.exec())
        return false;
    while (query.next())
        rowids->append(query.value(0).toLongLong());
    return true;
}

// Reads the rows (SELECT *) of the rowids, in that order, handing each to
// `use`. False when a statement fails.
bool readRows(const QSqlDatabase &db, const QString &table, const QList<qint64> &rowids,
              const std::function<void(const QSqlQuery &)> &use)
{
    for (qsizetype from = 0; from < rowids.size(); from += RowsPerStatement) {
        QStringList numbers;
        for (qsizetype i = from; i < qMin(rowids.size(), from + RowsPerStatement); ++i)
            numbers << QString::number(rowids.at(i));
        QSqlQuery query(db);
        query.setForwardOnly(true);
        // rowids are given in ascending order: ORDER BY keeps it.
        if (!query.exec(QStringLiteral("SELECT * FROM %1 WHERE rowid IN (%2) ORDER BY rowid")
                                .arg(table, numbers.join(u','))))
            return false;
        while (query.next())
            use(query);
    }
    return true;
}

// The runway rowids of every airport key ("rapt" equal to the key, as
// selectRWY's exact match, on the key's index), each airport's in rowid
// order, a few hundred keys a statement. False when it cannot run.
bool runwaysByKey(const QSqlDatabase &db, const QStringList &keys, QList<QList<qint64>> *runways)
{
    QHash<QString, QList<int>> byKey;   // key -> airports
    for (int i = 0; i < keys.size(); ++i)
        byKey[keys.at(i)] << i;
    const QStringList distinct = byKey.keys();
    runways->fill(QList<qint64>(), keys.size());
    for (qsizetype from = 0; from < distinct.size(); from += RowsPerStatement) {
        const QStringList chunk = distinct.mid(from, RowsPerStatement);
        QStringList marks;
        marks.fill(QStringLiteral("?"), chunk.size());
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.prepare(QStringLiteral("SELECT rowid, rapt FROM RWY WHERE rapt IN (%1) ORDER BY rowid")
                                   .arg(marks.join(u','))))
            return false;
        for (const QString &key : chunk)
            query.addBindValue(key);
        if (!query.exec())
            return false;
        while (query.next()) {
            for (int airport : byKey.value(query.value(1).toString()))
                (*runways)[airport] << query.value(0).toLongLong();
        }
    }
    return true;
}

} // namespace

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
    auto addRunways = [&](const QSqlQuery &row, int airportIndex) {
        PointPtr high = PointPtr::create();
        high->fromRunwayHigh(row);
        results.append({RunwayEnd, high, airportIndex});
        PointPtr low = PointPtr::create();
        low->fromRunwayLow(row);
        results.append({RunwayEnd, low, airportIndex});
    };

    const QSqlDatabase gen = QSqlDatabase::database(m_gen, false);
    if (gen.isOpen()) {
        QList<PointPtr> airports;
        const auto addAirport = [&](const QSqlQuery &row) {
            PointPtr apt = PointPtr::create();
            apt->fromAPT(row);
            withCruise(apt);
            airports << apt;
        };
        QList<qint64> rowids;
        if (!selectRowids(gen, QStringLiteral("APT"), text, exact, &rowids)
            || !readRows(gen, QStringLiteral("APT"), rowids, addAirport)) {
            airports.clear();
            QSqlQuery query(gen);
            if (m_sqlMgr->selectAPT(text, exact, &query)) {
                do {
                    addAirport(query);
                } while (query.next());
            }
        }

        // Each airport is followed by its own runway ends: those of its
        // exact key, whichever match found the airport (a near search for
        // "LFPB" must not give LFPB the runways of LFPBX).
        QStringList keys;
        for (const PointPtr &apt : std::as_const(airports))
            keys << apt->dbKey;
        QList<QList<qint64>> runwayRows;
        const bool batched = airports.size() > 1 && runwaysByKey(gen, keys, &runwayRows);
        for (qsizetype a = 0; a < airports.size(); ++a) {
            const int airportIndex = int(results.size());
            results.append({Airport, airports.at(a), -1});
            const bool read = batched && readRows(gen, QStringLiteral("RWY"), runwayRows.at(a), [&](const QSqlQuery &row) {
                addRunways(row, airportIndex);
            });
            if (!read) {
                results.resize(airportIndex + 1);
                QSqlQuery runways(gen);
                if (m_sqlMgr->selectRWY(keys.at(a), true, &runways)) {
                    do {
                        addRunways(runways, airportIndex);
                    } while (runways.next());
                }
            }
        }

        const bool fastNav = selectRowids(gen, QStringLiteral("NAV"), text, exact, &rowids);
        const qsizetype navStart = results.size();
        if (!fastNav || !readRows(gen, QStringLiteral("NAV"), rowids, [&](const QSqlQuery &row) {
                PointPtr nav = PointPtr::create();
                nav->fromNAV(row);
                withCruise(nav);
                results.append({Navaid, nav, -1});
            })) {
            results.resize(navStart);
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
    }

    // Without a waypoint database the airports and navaids still count.
    const QSqlDatabase wpt = QSqlDatabase::database(m_wpt, false);
    if (wpt.isOpen()) {
        QList<qint64> rowids;
        const qsizetype start = results.size();
        const auto addWaypoint = [&](const QSqlQuery &row) {
            PointPtr w = PointPtr::create();
            w->fromWPT(row);
            withCruise(w);
            results.append({Waypoint, w, -1});
        };
        if (!selectRowids(wpt, QStringLiteral("WPT"), text, exact, &rowids)
            || !readRows(wpt, QStringLiteral("WPT"), rowids, addWaypoint)) {
            results.resize(start);
            QSqlQuery waypoints(wpt);
            if (m_sqlMgr->selectWPT(text, exact, &waypoints)) {
                do {
                    addWaypoint(waypoints);
                } while (waypoints.next());
            }
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
