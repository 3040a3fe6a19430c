// The floor of the marker load: the four statements the map reads, run
// with SQLite alone, every row stepped and its used columns fetched.
#include "tools/bench/bench.h"

#include <QElapsedTimer>
#include <QFile>

#include <sqlite3.h>

#include <initializer_list>

namespace Bench {

namespace {

struct Statement {
    const char *sql;
    std::initializer_list<int> texts;     // columns read as text
    std::initializer_list<int> numbers;   // columns read as numbers
};

// Rows stepped; -1 when the file or the statement fails. `sink` keeps the
// reads from being optimised away.
qint64 readAll(const QString &file, const Statement &statement, double *sink)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return -1;
    }
    sqlite3_stmt *stmt = nullptr;
    qint64 rows = -1;
    if (sqlite3_prepare_v2(db, statement.sql, -1, &stmt, nullptr) == SQLITE_OK) {
        rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c : statement.texts) {
                const unsigned char *text = sqlite3_column_text(stmt, c);
                *sink += sqlite3_column_bytes(stmt, c) + (text ? text[0] : 0);
            }
            for (int c : statement.numbers)
                *sink += sqlite3_column_double(stmt, c);
            ++rows;
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

} // namespace

int scan(const QString &root)
{
    TreeFiles files;
    QString error;
    if (!treeFiles(root, &files, &error)) {
        err() << "corvane-bench scan: " << error << Qt::endl;
        return 1;
    }
    // The statements and columns of the marker load.
    const Statement airports{"SELECT * from APT;", {3, 4}, {9, 10}};
    const Statement navaids{"SELECT * from NAV;", {1, 2, 3}, {4, 9, 11, 12, 13}};
    const Statement waypoints{"SELECT * FROM WPT WHERE wloc = 78;", {1, 2, 3}, {8, 9, 10}};
    const Statement routes{"SELECT * from ATSROUTE;", {2, 7, 12, 16}, {22, 23, 24, 25}};

    double sink = 0;
    QElapsedTimer timer;
    timer.start();
    const qint64 apt = readAll(files.gen, airports, &sink);
    const qint64 nav = readAll(files.gen, navaids, &sink);
    const qint64 wpt = readAll(files.wpt, waypoints, &sink);
    const qint64 ats = files.route.isEmpty() ? 0 : readAll(files.route, routes, &sink);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (apt < 0 || nav < 0 || wpt < 0 || ats < 0) {
        err() << "corvane-bench scan: a marker statement failed on " << root << Qt::endl;
        return 1;
    }
    out() << "tree=" << root << " airports=" << apt << " navaids=" << nav << " waypoints=" << wpt
          << " ats_segments=" << ats << Qt::endl;
    out() << "floor_sql_scan_ms=" << number(ms) << Qt::endl;
    err() << "scan checksum " << sink << Qt::endl;
    return 0;
}

} // namespace Bench
