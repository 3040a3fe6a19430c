// The benchmark's own pieces (figures, process memory, update files, the
// world tree) and the fast paths the benchmark led to, held to the plain
// constructions they replace: the marker batches byte for byte, the search
// result for result.
#include "data/globalvar.h"
#include "data/sqlmgr.h"
#include "io/iodatabase.h"
#include "io/updaterecord.h"
#include "map/jstext.h"
#include "map/markerscript.h"
#include "search/pointsearch.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"
#include "tools/bench/procmem.h"
#include "tools/bench/stats.h"
#include "tools/bench/updatefile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>
#include <random>

namespace Reference {

// The marker batches as the program first built them: SELECT *, each call
// assembled on its own, the info texts filled from their templates. The
// fast batches must give the same bytes.

double number(const QVariant &value)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0;
}

int integer(const QVariant &value)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const int i = value.toInt(&ok);
    return ok ? i : 0;
}

QString position(double lat, double lon)
{
    return JsText::latLng(lat / 3600, JsText::degreesInRange(lon / 3600));
}

QString quoted(const QString &text)
{
    return u'"' + JsText::escape(text) + u'"';
}

void addCall(QString &batch, bool &first, const QString &call)
{
    if (!first)
        batch += u';';
    batch += call;
    first = false;
}

QString airportInfo(const QString &iden, const QString &name, double lat, double lon)
{
    return JsText::fill(QStringLiteral("<font color=blue><b>Airport %1</b><font color=black><br/>%2<br/>%3 - %4"),
                        {JsText::html(iden), JsText::html(name), CGlobalVar::latitudeText(lat, false),
                         CGlobalVar::longitudeText(lon, false)});
}

QString navaidInfo(bool ndb, const QString &iden, const QString &name, double frequency, double lat, double lon)
{
    const QString pattern = ndb
            ? QStringLiteral("<font color=blue><b>NDB %1</b><font color=black><br/>%2<br/>%3 Khz<br/>%4 - %5")
            : QStringLiteral("<font color=blue><b>VOR %1</b><font color=black><br/>%2<br/>%3 Mhz<br/>%4 - %5");
    return JsText::fill(pattern, {JsText::html(iden), JsText::html(name), JsText::general(frequency),
                                  CGlobalVar::latitudeText(lat, false), CGlobalVar::longitudeText(lon, false)});
}

QString waypointInfo(const QString &iden, const QString &name, int usage, double lat, double lon)
{
    return JsText::fill(
            QStringLiteral("<font color=blue><b>Waypoint %1</b><font color=black><br/>%2 (%3)<br/>%4 - %5"),
            {JsText::html(iden), JsText::html(name), QString::number(usage), CGlobalVar::latitudeText(lat, false),
             CGlobalVar::longitudeText(lon, false)});
}

CMarkerSection airports(const QSqlDatabase &gen, bool show)
{
    CMarkerSection section;
    QSqlQuery query(gen);
    if (!query.exec(QStringLiteral("SELECT * from APT;")))
        return section;
    bool first = true;
    while (query.next()) {
        const QString iden = query.value(3).toString();
        const QString name = query.value(4).toString();
        const double lat = number(query.value(9));
        const double lon = number(query.value(10));
        addCall(section.script, first,
                QLatin1String("addAPTMarker(") + position(lat, lon) + u',' + quoted(iden) + QLatin1String(",1,")
                        + quoted(airportInfo(iden, name, lat, lon)) + u')');
        ++section.count;
    }
    if (section.count == 0)
        return CMarkerSection();
    section.hasRows = true;
    addCall(section.script, first, QStringLiteral("pushAPT();"));
    if (!show)
        addCall(section.script, first, QStringLiteral("ArptMgr.clearMarkers()"));
    return section;
}

CMarkerSection navaids(const QSqlDatabase &gen, const CMarkerLayers &layers)
{
    CMarkerSection section;
    QSqlQuery query(gen);
    if (!query.exec(QStringLiteral("SELECT * from NAV;")))
        return section;
    bool first = true;
    while (query.next()) {
        const QString ukey = query.value(1).toString();
        const QString iden = query.value(2).toString();
        const QString name = query.value(3).toString();
        const double frequency = number(query.value(4));
        const int type = integer(query.value(9));
        const double lat = number(query.value(12));
        const double lon = number(query.value(13));
        const bool ndb = type == 8 || type == 24;
        addCall(section.script, first,
                (ndb ? QLatin1String("addNDBMarker(") : QLatin1String("addVORMarker(")) + position(lat, lon) + u','
                        + quoted(iden + u'-' + ukey) + u','
                        + QString::number(ndb ? integer(query.value(11)) : type) + u','
                        + quoted(navaidInfo(ndb, iden, name, frequency, lat, lon)) + u')');
        ++section.count;
    }
    if (section.count == 0)
        return CMarkerSection();
    section.hasRows = true;
    addCall(section.script, first, QStringLiteral("addNavMgr();"));
    addCall(section.script, first, layers.vor ? QStringLiteral("VORMgr.addMarkers(listVOR)") : QStringLiteral("VORMgr.clearMarkers()"));
    addCall(section.script, first, layers.ndbRte ? QStringLiteral("NDBRteMgr.addMarkers(listNDBRte)")
                                                 : QStringLiteral("NDBRteMgr.clearMarkers()"));
    addCall(section.script, first, layers.ndbTerm ? QStringLiteral("NDBTermMgr.addMarkers(listNDBTerm)")
                                                  : QStringLiteral("NDBTermMgr.clearMarkers()"));
    return section;
}

CMarkerSection waypoints(const QSqlDatabase &wpt, const CMarkerLayers &layers)
{
    CMarkerSection section;
    QSqlQuery query(wpt);
    if (!query.exec(QStringLiteral("SELECT * FROM WPT WHERE wloc = 78;")))
        return section;
    bool first = true;
    while (query.next()) {
        const QString iden = query.value(1).toString();
        const QString ukey = query.value(2).toString();
        const QString name = query.value(3).toString();
        const int usage = integer(query.value(8));
        const double lat = number(query.value(9));
        const double lon = number(query.value(10));
        addCall(section.script, first,
                QLatin1String("addWPTMarker(") + position(lat, lon) + u',' + quoted(name + u'-' + ukey) + u','
                        + QString::number(usage) + u',' + quoted(waypointInfo(iden, name, usage, lat, lon)) + u')');
        ++section.count;
    }
    if (section.count == 0)
        return CMarkerSection();
    section.hasRows = true;
    addCall(section.script, first, QStringLiteral("addWptMgr();"));
    addCall(section.script, first, layers.wptRte ? QStringLiteral("WPTRteMgr.addMarkers(listWptRte)")
                                                 : QStringLiteral("WPTRteMgr.clearMarkers()"));
    addCall(section.script, first, layers.wptTerm ? QStringLiteral("WPTTermMgr.addMarkers(listWptTerm)")
                                                  : QStringLiteral("WPTTermMgr.clearMarkers()"));
    addCall(section.script, first, layers.wptVfr ? QStringLiteral("WPTVfrMgr.addMarkers(listWptVfr)")
                                                 : QStringLiteral("WPTVfrMgr.clearMarkers()"));
    return section;
}

CMarkerSection routes(const QSqlDatabase &route, const CMarkerLayers &layers)
{
    CMarkerSection section;
    QSqlQuery query(route);
    if (!query.exec(QStringLiteral("SELECT * from ATSROUTE;")))
        return section;
    bool first = true, open = false;
    QString current;
    double lastLat = 0, lastLon = 0;
    while (query.next()) {
        section.hasRows = true;
        if (query.value(12).toString() != layers.route && query.value(16).toString() != layers.route)
            continue;
        const QString id = query.value(2).toString();
        const double lat1 = number(query.value(22)), lon1 = number(query.value(23));
        const double lat2 = number(query.value(24)), lon2 = number(query.value(25));
        if (!open || id != current || lat1 != lastLat || lon1 != lastLon) {
            open = true;
            current = id;
            const QString level = query.value(7).toString().left(1);
            addCall(section.script, first, QLatin1String("addATS('") + JsText::escape(level, u'\'') + QLatin1String("')"));
            addCall(section.script, first, QLatin1String("addToATS(") + position(lat1, lon1) + QLatin1String("),'ATS'"));
        }
        addCall(section.script, first, QLatin1String("addToATS(") + position(lat2, lon2) + QLatin1String("),'ATS'"));
        lastLat = lat2;
        lastLon = lon2;
        ++section.count;
    }
    if (!section.hasRows)
        return section;
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    addCall(section.script, first, QLatin1String("showATS('L',") + flag(layers.atsL) + u')');
    addCall(section.script, first, QLatin1String("showATS('H',") + flag(layers.atsH) + u')');
    addCall(section.script, first, QLatin1String("showATS('B',") + flag(layers.atsB) + u')');
    return section;
}


// The search as the program first ran it: the selectors of SqlMgr, one per
// table, and the runways of each airport looked up on their own.
QList<CPointSearch::Result> search(SqlMgr *sql, const QString &genName, const QString &wptName, const QString &text,
                                   bool exact)
{
    QList<CPointSearch::Result> results;
    const auto cruise = [](const PointPtr &p) {
        p->speed = 120;
        p->altitude = 3500;
    };
    const QSqlDatabase gen = QSqlDatabase::database(genName, false);
    if (gen.isOpen()) {
        QSqlQuery airports(gen);
        if (sql->selectAPT(text, exact, &airports)) {
            do {
                const int airportIndex = int(results.size());
                PointPtr apt = PointPtr::create();
                apt->fromAPT(airports);
                cruise(apt);
                results.append({CPointSearch::Airport, apt, -1});
                // Each airport's own runways: those of its exact key.
                QSqlQuery runways(gen);
                if (sql->selectRWY(apt->dbKey, true, &runways)) {
                    do {
                        PointPtr high = PointPtr::create();
                        high->fromRunwayHigh(runways);
                        results.append({CPointSearch::RunwayEnd, high, airportIndex});
                        PointPtr low = PointPtr::create();
                        low->fromRunwayLow(runways);
                        results.append({CPointSearch::RunwayEnd, low, airportIndex});
                    } while (runways.next());
                }
            } while (airports.next());
        }
        QSqlQuery navaids(gen);
        if (sql->selectNAV(text, exact, &navaids)) {
            do {
                PointPtr nav = PointPtr::create();
                nav->fromNAV(navaids);
                cruise(nav);
                results.append({CPointSearch::Navaid, nav, -1});
            } while (navaids.next());
        }
    }
    const QSqlDatabase wpt = QSqlDatabase::database(wptName, false);
    if (wpt.isOpen()) {
        QSqlQuery waypoints(wpt);
        if (sql->selectWPT(text, exact, &waypoints)) {
            do {
                PointPtr w = PointPtr::create();
                w->fromWPT(waypoints);
                cruise(w);
                results.append({CPointSearch::Waypoint, w, -1});
            } while (waypoints.next());
        }
    }
    return results;
}

// A result as text, every field that the tree and the flight plan use.
QStringList describe(const QList<CPointSearch::Result> &results)
{
    QStringList out;
    for (const CPointSearch::Result &r : results) {
        const CFlightPlanPoint &p = *r.point;
        out << QStringLiteral("%1/%2 %3|%4|%5|%6|%7|%8|%9")
                       .arg(int(r.kind))
                       .arg(r.parent)
                       .arg(p.kind, p.dbKey, p.ident, p.name, p.usage, p.mark, p.takeoffRunway)
               + QStringLiteral("|%1|%2|%3|%4|%5|%6|%7|%8")
                         .arg(p.latitude, 0, 'g', 17)
                         .arg(p.longitude, 0, 'g', 17)
                         .arg(p.elevation)
                         .arg(p.altitude)
                         .arg(p.speed)
                         .arg(p.navaidType)
                         .arg(p.frequency, 0, 'g', 17)
                         .arg(p.heading, 0, 'g', 17);
    }
    return out;
}

} // namespace Reference

namespace {

QString binDir()
{
    return qEnvironmentVariable("CORVANE_BIN_DIR");
}

QSqlDatabase openDb(const QString &connection, const QString &file)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(file);
    db.open();
    return db;
}

QVariant scalar(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    return query.exec(sql) && query.next() ? query.value(0) : QVariant();
}

// Texts that stress the escaping: quotes of both kinds, HTML, a backslash,
// line ends, the two JavaScript line separators, placeholders, accents.
const QStringList kHostile = {
    QStringLiteral("O'Hare \"Intl\" </script>"), QStringLiteral("A&B <b>C</b>"), QStringLiteral("back\\slash"),
    QStringLiteral("two\nlines\r"), QString::fromUtf16(u"sep\u2028ara\u2029tors"), QStringLiteral("%1 %2 %10"),
    QStringLiteral("L'ÎLE-D'OR ÉTÉ"), QString(), QStringLiteral("\"")};

// Stored values that stress the number texts: NULL, texts, -0, a tie of
// the 5-decimal rounding (56.25 arc-seconds are 0.015625 degrees), values
// beyond the half turn and whole turns, seconds that round up to 60.
const QList<QVariant> kLatitudes = {QVariant(), QStringLiteral("north"), -0.0, 56.25, -56.25, 3599.9999, 324000.0,
                                    -324000.0, 1e15, 174003.125, 12.3456789};
const QList<QVariant> kLongitudes = {QVariant(), QStringLiteral("east"), -0.0, 648000.0, 650000.0, -648000.0,
                                     -1296000.0, 1296000.0, 2592001.5, -56.25, 7.125, 1e15};


// Rows that stress the search: see initTestCase.
const QString kAwkwardGen = QStringLiteral(
        "INSERT INTO APT (ukey, iden, name, alat, alon, aele) VALUES "
        "('AB', 'AB', 'ORLY EST', 1, 2, 3), ('ABC', 'XYZ', 'ÉTÉ', 4, 5, 6), ('ABCD', 'ABC', 'O''HARE \"X\"', 7, 8, 9),"
        "('abc', 'abc', 'orly', 10, 11, 12), ('A%C', 'A_C', '100%', 13, 14, 15), ('Q', NULL, NULL, 16, 17, 18),"
        "(NULL, 'NULL', 'NAME', 19, 20, 21), (12, 12, 'twelve', 22, 23, 24), ('É1', 'é', 'ÉTÉ 2', 25, 26, 27),"
        "('ZZ', 'AB', 'AB NAME', 28, 29, 30), ('A\\C', 'A\\C', 'back', 1, 1, 1);"
        "INSERT INTO RWY (nseq, rapt, rhid, rhla, rhlo, rlid, rlla, rllo) VALUES "
        "(1, 'AB', '09', 1, 1, '27', 2, 2), (2, 'ABC', '10', 3, 3, '28', 4, 4), (1, 'ABCD', '11', 5, 5, '29', 6, 6),"
        "(1, 'abc', '12', 7, 7, '30', 8, 8), (1, 'aBcDe', '13', 9, 9, '31', 10, 10), (1, 'A%C', '14', 1, 1, '32', 1, 1),"
        "(1, 'AXC', '15', 1, 1, '33', 1, 1), (1, NULL, '16', 1, 1, '34', 1, 1), (1, 12, '17', 1, 1, '35', 1, 1),"
        "(1, '123', '18', 1, 1, '36', 1, 1), (1, 'É1', '01', 1, 1, '19', 1, 1), (1, 'é1', '02', 1, 1, '20', 1, 1),"
        "(3, 'AB', '03', 1, 1, '21', 1, 1), (1, 'ZZ', '04', 1, 1, '22', 1, 1), (1, 'A\\C', '05', 1, 1, '23', 1, 1);"
        "INSERT INTO NAV (ukey, iden, name, ntyp, nlat, nlon) VALUES "
        "('FR4AB1', 'AB', 'ABBEVILLE VOR', 17, 1, 1), ('ab', 'ORY', 'ORLY', 1, 2, 2), ('X', NULL, 'NAME', 8, 3, 3),"
        "('É', 'É', 'É', 24, 4, 4), ('Z%', 'Z_', 'Z', 2, 5, 5);");
const QString kAwkwardWpt = QStringLiteral(
        "INSERT INTO WPT (iden, ukey, name, wloc, wuse, wlat, wlon) VALUES "
        "('ABCDE', 'ABCDEFR', 'ABCDE', '78', 1, 1, 1), ('ORLYS', 'AB', 'ORLYS', '78', 2, 2, 2),"
        "('N', 'NFR', 'L''ÉTANG', '78', 6, 3, 3), ('NAME', 'Z', 'NULL', '78', 4, 4, 4), (NULL, 'Y', NULL, '78', 4, 5, 5),"
        "('é', 'éFR', 'É', '78', 4, 6, 6);");

} // namespace

class BenchTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void median_data();
    void median();
    void percentile_data();
    void percentile();

    void statusField_data();
    void statusField();
    void parentPid_data();
    void parentPid();
    void cpuTicks_data();
    void cpuTicks();
    void processTree();

    void updateRecords();
    void updateRecordsImport();

    void infoTexts_data();
    void infoTexts();
    void markerBatchesHostile();
    void markerBatchesDemo();
    void searchHostile_data();
    void searchHostile();
    void searchDemo_data();
    void searchDemo();
    void searchWithoutTables();

    void worldCounts_data();
    void worldCounts();
    void worldKeys_data();
    void worldKeys();
    void worldNames();
    void markerBatchesWorld();
    void searchWorld();

private:
    // The fast search and the selectors' search on the same connections.
    void compareSearches(const QString &genName, const QString &wptName, const QString &text, bool exact);

    // The demo tree and a tree of awkward rows, built once for the search
    // tests; the world tree, generated once for the world tests.
    SimFixture m_demo;
    SimFixture m_awkward;
    QString m_awkwardError;
    QTemporaryDir m_world;
    bool m_worldBuilt = false;
    QString m_worldError;
};

void BenchTest::initTestCase()
{
    QVERIFY(m_demo.buildDemo());
    QVERIFY(m_awkward.buildSkeleton());
    QVERIFY(m_awkward.createSchemaDatabase(QStringLiteral("GEN.db"), QStringLiteral("GEN"), 0));
    QVERIFY(m_awkward.createSchemaDatabase(QStringLiteral("WPT.db"), QStringLiteral("WPT"), 0));
    // Airport keys that begin others (AB, ABC, ABCD, abc), a key holding
    // LIKE's characters, names found by contained text, runways of every
    // kind of key, NULL keys and names, an integer key.
    QVERIFY2(m_awkward.exec(QStringLiteral("GEN.db"), kAwkwardGen), qPrintable(m_awkward.lastError()));
    QVERIFY2(m_awkward.exec(QStringLiteral("WPT.db"), kAwkwardWpt), qPrintable(m_awkward.lastError()));

    // worldgen writes the tree the benchmark measures.
    QProcess worldgen;
    worldgen.start(binDir() + QStringLiteral("/worldgen"), {m_world.path()});
    if (!worldgen.waitForFinished(600000) || worldgen.exitCode() != 0)
        m_worldError = QString::fromLocal8Bit(worldgen.readAllStandardError());
    else
        m_worldBuilt = true;
}

// --- figures ---------------------------------------------------------------

void BenchTest::median_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("expected");
    QTest::newRow("none") << QList<double>{} << 0.0;
    QTest::newRow("one") << QList<double>{7} << 7.0;
    QTest::newRow("odd count, unsorted") << QList<double>{9, 1, 5, 3, 7} << 5.0;
    QTest::newRow("even count: mean of the middle two") << QList<double>{4, 1, 3, 2} << 2.5;
    QTest::newRow("an outlier does not move it") << QList<double>{10, 11, 12, 13, 5000} << 12.0;
}

void BenchTest::median()
{
    QFETCH(QList<double>, values);
    QFETCH(double, expected);
    QCOMPARE(BenchStats::median(values), expected);
}

void BenchTest::percentile_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("expected");
    QList<double> hundred;
    for (int i = 100; i >= 1; --i)
        hundred << i;
    QTest::newRow("p95 of 1..100") << hundred << 95.0 << 95.0;
    QTest::newRow("p100 is the maximum") << hundred << 100.0 << 100.0;
    QTest::newRow("p50 of 1..100") << hundred << 50.0 << 50.0;
    QTest::newRow("nearest rank rounds up") << QList<double>{10, 20, 30} << 95.0 << 30.0;
    QTest::newRow("small p gives the minimum") << QList<double>{10, 20, 30} << 1.0 << 10.0;
    QTest::newRow("none") << QList<double>{} << 95.0 << 0.0;
}

void BenchTest::percentile()
{
    QFETCH(QList<double>, values);
    QFETCH(double, p);
    QFETCH(double, expected);
    QCOMPARE(BenchStats::percentile(values, p), expected);
}

// --- process memory ----------------------------------------------------------

void BenchTest::statusField_data()
{
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<qint64>("expected");
    const QByteArray status = "Name:\tQtWebEngineProc\nVmPeak:\t 1000 kB\nVmHWM:\t  524288 kB\nVmRSS:\t  262144 kB\n";
    QTest::newRow("resident") << status << QByteArray("VmRSS") << qint64(262144);
    QTest::newRow("peak resident") << status << QByteArray("VmHWM") << qint64(524288);
    QTest::newRow("missing field") << status << QByteArray("VmSwap") << qint64(-1);
    QTest::newRow("a field that only begins the same") << QByteArray("VmRSSx:\t5 kB\nVmRSS:\t6 kB\n")
                                                       << QByteArray("VmRSS") << qint64(6);
    QTest::newRow("kernel thread: no memory lines") << QByteArray("Name:\tkthreadd\n") << QByteArray("VmRSS")
                                                    << qint64(-1);
    QTest::newRow("empty") << QByteArray() << QByteArray("VmRSS") << qint64(-1);
}

void BenchTest::statusField()
{
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, field);
    QFETCH(qint64, expected);
    QCOMPARE(ProcMem::statusField(status, field), expected);
}

void BenchTest::parentPid_data()
{
    QTest::addColumn<QByteArray>("stat");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("plain") << QByteArray("1234 (corvane-bench) S 99 1234 1234 0") << qint64(99);
    QTest::newRow("blank and parenthesis in the name") << QByteArray("77 (Web Content) (x)) R 12 77 77") << qint64(12);
    QTest::newRow("truncated") << QByteArray("77 (x) R") << qint64(-1);
    QTest::newRow("no name") << QByteArray("garbage") << qint64(-1);
}

void BenchTest::parentPid()
{
    QFETCH(QByteArray, stat);
    QFETCH(qint64, expected);
    QCOMPARE(ProcMem::parentPid(stat), expected);
}

void BenchTest::cpuTicks_data()
{
    QTest::addColumn<QByteArray>("stat");
    QTest::addColumn<qint64>("expected");
    // pid (comm) state ppid pgrp session tty tpgid flags minflt cminflt majflt cmajflt utime stime
    QTest::newRow("plain") << QByteArray("1234 (corvane-bench) S 99 1234 1234 0 -1 4194560 10 0 0 0 250 31 0 0 20")
                           << qint64(281);
    QTest::newRow("blank and parenthesis in the name")
            << QByteArray("77 (Web Content) (x)) R 12 77 77 0 -1 0 0 0 0 0 7 8 0 0") << qint64(15);
    QTest::newRow("truncated") << QByteArray("77 (x) R 12 77 77 0 -1 0 0 0 0 0 7") << qint64(-1);
    QTest::newRow("not a number") << QByteArray("77 (x) R 12 77 77 0 -1 0 0 0 0 0 a 8") << qint64(-1);
}

void BenchTest::cpuTicks()
{
    QFETCH(QByteArray, stat);
    QFETCH(qint64, expected);
    QCOMPARE(ProcMem::cpuTicks(stat), expected);
}

void BenchTest::processTree()
{
    // 10 started 11 and 12; 12 started 13; 20 is someone else's.
    QTemporaryDir proc;
    const auto add = [&](qint64 pid, qint64 ppid, qint64 rssKb) {
        QDir(proc.path()).mkpath(QString::number(pid));
        QFile stat(proc.filePath(QStringLiteral("%1/stat").arg(pid)));
        QVERIFY(stat.open(QIODevice::WriteOnly));
        stat.write(QStringLiteral("%1 (proc %1) S %2 0 0").arg(pid).arg(ppid).toLatin1());
        QFile status(proc.filePath(QStringLiteral("%1/status").arg(pid)));
        QVERIFY(status.open(QIODevice::WriteOnly));
        if (rssKb >= 0)
            status.write(QStringLiteral("Name:\tx\nVmRSS:\t%1 kB\n").arg(rssKb).toLatin1());
    };
    add(10, 1, 1000);
    add(11, 10, 200);
    add(12, 10, 30);
    add(13, 12, 4);
    add(20, 1, 50000);
    add(21, 20, 50000);
    add(14, 13, -1);   // no memory lines
    QDir(proc.path()).mkpath(QStringLiteral("self"));   // not a process
    const QList<qint64> tree = ProcMem::processTree(10, proc.path());
    QCOMPARE(tree.first(), qint64(10));
    QCOMPARE(QSet<qint64>(tree.cbegin(), tree.cend()), (QSet<qint64>{10, 11, 12, 13, 14}));
    QCOMPARE(ProcMem::treeKb(10, "VmRSS", proc.path()), qint64(1234));
    QCOMPARE(ProcMem::treeKb(12, "VmRSS", proc.path()), qint64(34));
    QCOMPARE(ProcMem::treeKb(99, "VmRSS", proc.path()), qint64(0));
}

// --- update files ------------------------------------------------------------

void BenchTest::updateRecords()
{
    CGlobalVar geo;
    const QByteArray file = BenchUpdateFile::wptRecords(3000, 7, geo);
    QCOMPARE(file, BenchUpdateFile::wptRecords(3000, 7, geo));   // deterministic
    QVERIFY(file != BenchUpdateFile::wptRecords(3000, 8, geo));
    const QList<QByteArray> lines = file.split('\n');
    QCOMPARE(lines.size(), 3001);   // each record ends its line
    QVERIFY(lines.last().isEmpty());
    QSet<QString> keys;
    int vfr = 0;
    for (qsizetype i = 0; i < lines.size() - 1; ++i) {
        const QStringList fields = UpdateRecord::split(lines.at(i));
        QCOMPARE(fields.size(), 19);
        QCOMPARE(fields.mid(0, 3), (QStringList{"WPT", "WPT", "+"}));
        QCOMPARE(fields.at(9), QStringLiteral("78"));   // wloc: the map shows it
        const QString key = fields.at(5);
        QVERIFY2(key.size() <= 10, qPrintable(key));
        QVERIFY(!keys.contains(key));
        keys.insert(key);
        QCOMPARE(fields.at(3).toInt(), geo.tileKey(fields.at(12).toDouble(), fields.at(13).toDouble()));
        for (const QString &field : fields)
            QVERIFY(UpdateRecord::representable(field));
        vfr += fields.at(11) == QLatin1String("6");
    }
    QVERIFY(vfr > 0);
}

void BenchTest::updateRecordsImport()
{
    // The generated records go through the importer as any update file.
    SimFixture sim;
    QVERIFY(sim.buildDemo());
    CGlobalVar config;
    config.wptName = QStringLiteral("WPT.db");
    config.dirWpt.setPath(sim.sqlDir());
    config.sqlMgr->addDB(config.wptName, sim.sqlDir());
    const QSqlDatabase wpt = QSqlDatabase::database(config.wptName);
    const qint64 before = scalar(wpt, QStringLiteral("SELECT COUNT(*) FROM WPT")).toLongLong();

    QFile update(sim.path(QStringLiteral("Data/BENCH.CSV")));
    QVERIFY(update.open(QIODevice::WriteOnly));
    update.write(BenchUpdateFile::wptRecords(2000, 1, config));
    update.close();
    QVERIFY(update.open(QIODevice::ReadOnly));
    ScriptedPrompt prompt;
    CIODataBase io;
    QVERIFY(io.importDB(&update, &config));
    QCOMPARE(prompt.texts(), QStringList{QStringLiteral("Importation terminée\n %1").arg(update.fileName())});
    QCOMPARE(scalar(wpt, QStringLiteral("SELECT COUNT(*) FROM WPT")).toLongLong(), before + 2000);
    QCOMPARE(scalar(wpt, QStringLiteral("SELECT COUNT(*) FROM WPT WHERE wloc = 78")).toLongLong(), before + 2000);
}

// --- marker batches ----------------------------------------------------------

void BenchTest::infoTexts_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    for (const QVariant &lat : kLatitudes) {
        for (const QVariant &lon : kLongitudes) {
            QTest::addRow("%s / %s", qPrintable(lat.toString()), qPrintable(lon.toString()))
                    << Reference::number(lat) << Reference::number(lon);
        }
    }
}

void BenchTest::infoTexts()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    for (const QString &name : kHostile) {
        QCOMPARE(CMarkerScript::airportInfo(name, name, lat, lon), Reference::airportInfo(name, name, lat, lon));
        QCOMPARE(CMarkerScript::navaidInfo(true, name, name, 356, lat, lon),
                 Reference::navaidInfo(true, name, name, 356, lat, lon));
        QCOMPARE(CMarkerScript::navaidInfo(false, name, name, 117.95, lat, lon),
                 Reference::navaidInfo(false, name, name, 117.95, lat, lon));
        QCOMPARE(CMarkerScript::waypointInfo(name, name, 6, lat, lon), Reference::waypointInfo(name, name, 6, lat, lon));
    }
    // And a sweep of positions in arc-seconds, whole and fractional.
    std::mt19937_64 rnd(quint64(std::abs(lat) + std::abs(lon)) + 1);
    std::uniform_real_distribution<double> latitudes(-330000, 330000), longitudes(-2000000, 2000000);
    for (int i = 0; i < 2000; ++i) {
        double a = latitudes(rnd), b = longitudes(rnd);
        if (i % 3 == 0) {
            a = std::round(a * 8) / 8;   // eighths of a second: exact ties of the rounding
            b = std::round(b * 8) / 8;
        }
        QCOMPARE(CMarkerScript::waypointInfo(QStringLiteral("W"), QStringLiteral("W"), 1, a, b),
                 Reference::waypointInfo(QStringLiteral("W"), QStringLiteral("W"), 1, a, b));
    }
}

void BenchTest::markerBatchesHostile()
{
    SimFixture sim;
    QVERIFY(sim.buildSkeleton());
    QVERIFY(sim.createSchemaDatabase(QStringLiteral("GEN.db"), QStringLiteral("GEN"), 0));
    QVERIFY(sim.createSchemaDatabase(QStringLiteral("WPT.db"), QStringLiteral("WPT"), 0));
    QVERIFY(sim.createSchemaDatabase(QStringLiteral("ROUTE.db"), QStringLiteral("ROUTE"), 0));
    {
        QSqlDatabase gen = openDb(QStringLiteral("bench-hostile-gen"), sim.path(QStringLiteral("SQL/GEN.db")));
        QSqlDatabase wpt = openDb(QStringLiteral("bench-hostile-wpt"), sim.path(QStringLiteral("SQL/WPT.db")));
        QSqlDatabase route = openDb(QStringLiteral("bench-hostile-route"), sim.path(QStringLiteral("SQL/ROUTE.db")));
        QSqlQuery apt(gen), nav(gen), fix(wpt), ats(route);
        QVERIFY(apt.prepare(QStringLiteral("INSERT INTO APT (ukey, iden, name, alat, alon) VALUES (?, ?, ?, ?, ?)")));
        QVERIFY(nav.prepare(QStringLiteral("INSERT INTO NAV (ukey, iden, name, nfrq, ntyp, nuse, nlat, nlon) "
                                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?)")));
        QVERIFY(fix.prepare(QStringLiteral("INSERT INTO WPT (iden, ukey, name, wloc, wuse, wlat, wlon) "
                                           "VALUES (?, ?, ?, ?, ?, ?, ?)")));
        QVERIFY(ats.prepare(QStringLiteral("INSERT INTO ATSROUTE (akey, aaid, levl, nvc1, nvc2, lat1, lon1, lat2, lon2) "
                                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")));
        const QList<QVariant> types = {1, 4, 5, 7, 8, 16, 17, 24, QVariant(), QStringLiteral("eight")};
        const QList<QVariant> usages = {1, 2, 3, 4, 6, QVariant(), QStringLiteral("x")};
        const QList<QVariant> wlocs = {78, QStringLiteral("78"), 79, QVariant()};
        const QList<QVariant> countries = {QStringLiteral("FR"), QStringLiteral("fr"), QStringLiteral("DE"), QVariant(),
                                           QString(), 12};
        int n = 0;
        QVERIFY(gen.transaction() && wpt.transaction() && route.transaction());
        for (const QVariant &lat : kLatitudes) {
            for (const QVariant &lon : kLongitudes) {
                const QString text = kHostile.at(n % kHostile.size());
                const QString key = QStringLiteral("K%1").arg(n);
                apt.addBindValue(key);
                apt.addBindValue(text);
                apt.addBindValue(kHostile.at((n + 3) % kHostile.size()));
                apt.addBindValue(lat);
                apt.addBindValue(lon);
                QVERIFY2(apt.exec(), qPrintable(apt.lastError().text()));
                nav.addBindValue(key);
                nav.addBindValue(text);
                nav.addBindValue(kHostile.at((n + 5) % kHostile.size()));
                nav.addBindValue(n % 4 == 0 ? QVariant() : n % 4 == 1 ? QVariant(QStringLiteral("x")) : QVariant(108.0 + n * 0.05));
                nav.addBindValue(types.at(n % types.size()));
                nav.addBindValue(usages.at(n % usages.size()));
                nav.addBindValue(lat);
                nav.addBindValue(lon);
                QVERIFY2(nav.exec(), qPrintable(nav.lastError().text()));
                fix.addBindValue(text);
                fix.addBindValue(key);
                fix.addBindValue(kHostile.at((n + 1) % kHostile.size()));
                fix.addBindValue(wlocs.at(n % wlocs.size()));
                fix.addBindValue(usages.at(n % usages.size()));
                fix.addBindValue(lat);
                fix.addBindValue(lon);
                QVERIFY2(fix.exec(), qPrintable(fix.lastError().text()));
                // Routes of three segments, some joined end to start, some not.
                ats.addBindValue(key);
                ats.addBindValue(QStringLiteral("R%1").arg(n / 3));
                ats.addBindValue(n % 5 == 0 ? QVariant() : QVariant(QStringLiteral("LHB'").mid(n % 4, 1)));
                ats.addBindValue(countries.at(n % countries.size()));
                ats.addBindValue(countries.at((n / 2) % countries.size()));
                ats.addBindValue(n % 3 == 1 ? QVariant(100.0 * (n - 1)) : lat);
                ats.addBindValue(lon);
                ats.addBindValue(100.0 * n);
                ats.addBindValue(lon);
                QVERIFY2(ats.exec(), qPrintable(ats.lastError().text()));
                ++n;
            }
        }
        QVERIFY(gen.commit() && wpt.commit() && route.commit());

        for (const QString &filter : {QStringLiteral("FR"), QStringLiteral("fr"), QString(), QStringLiteral("12")}) {
            CMarkerLayers layers;
            layers.route = filter;
            layers.vor = false;
            layers.wptVfr = false;
            layers.atsH = false;
            const CMarkerSection fast = CMarkerScript::routes(route, layers);
            const CMarkerSection plain = Reference::routes(route, layers);
            QCOMPARE(fast.script, plain.script);
            QCOMPARE(fast.count, plain.count);
            QCOMPARE(fast.hasRows, plain.hasRows);
        }
        CMarkerLayers layers;
        layers.ndbTerm = false;
        layers.wptRte = false;
        for (bool show : {true, false})
            QCOMPARE(CMarkerScript::airports(gen, show).script, Reference::airports(gen, show).script);
        const CMarkerSection navFast = CMarkerScript::navaids(gen, layers);
        QCOMPARE(navFast.script, Reference::navaids(gen, layers).script);
        QCOMPARE(navFast.count, n);
        const CMarkerSection wptFast = CMarkerScript::waypoints(wpt, layers);
        const CMarkerSection wptPlain = Reference::waypoints(wpt, layers);
        QCOMPARE(wptFast.script, wptPlain.script);
        QCOMPARE(wptFast.count, wptPlain.count);
        QVERIFY(wptFast.count > 0 && wptFast.count < n);   // only wloc 78, as number or text

        // An empty route table sends nothing; a missing one neither.
        QSqlQuery(route).exec(QStringLiteral("DELETE FROM ATSROUTE"));
        QCOMPARE(CMarkerScript::routes(route, layers).hasRows, false);
        QVERIFY(CMarkerScript::routes(route, layers).script.isEmpty());
        QSqlQuery(route).exec(QStringLiteral("DROP TABLE ATSROUTE"));
        QCOMPARE(CMarkerScript::routes(route, layers).hasRows, false);
    }
    for (const char *name : {"bench-hostile-gen", "bench-hostile-wpt", "bench-hostile-route"})
        QSqlDatabase::removeDatabase(QLatin1String(name));
}

void BenchTest::markerBatchesDemo()
{
    {
        const QSqlDatabase gen = openDb(QStringLiteral("bench-demo-gen"), m_demo.path(QStringLiteral("SQL/GEN.db")));
        const QSqlDatabase wpt = openDb(QStringLiteral("bench-demo-wpt"), m_demo.path(QStringLiteral("SQL/WPT.db")));
        const QSqlDatabase route = openDb(QStringLiteral("bench-demo-route"), m_demo.path(QStringLiteral("SQL/ROUTE.db")));
        const CMarkerLayers layers;
        QCOMPARE(CMarkerScript::airports(gen).script, Reference::airports(gen, true).script);
        QCOMPARE(CMarkerScript::navaids(gen, layers).script, Reference::navaids(gen, layers).script);
        QCOMPARE(CMarkerScript::waypoints(wpt, layers).script, Reference::waypoints(wpt, layers).script);
        const CMarkerSection routes = CMarkerScript::routes(route, layers);
        QCOMPARE(routes.script, Reference::routes(route, layers).script);
        QVERIFY(routes.count > 0);
    }
    for (const char *name : {"bench-demo-gen", "bench-demo-wpt", "bench-demo-route"})
        QSqlDatabase::removeDatabase(QLatin1String(name));
}

// --- search ------------------------------------------------------------------

void BenchTest::compareSearches(const QString &genName, const QString &wptName, const QString &text, bool exact)
{
    SqlMgr sql;
    const CPointSearch search(&sql, genName, wptName);
    const QStringList fast = Reference::describe(search.run(text, exact, 120, 3500));
    const QStringList plain = Reference::describe(Reference::search(&sql, genName, wptName, text, exact));
    if (fast != plain) {
        for (qsizetype i = 0; i < qMax(fast.size(), plain.size()); ++i) {
            if (fast.value(i) != plain.value(i)) {
                qWarning() << "first difference at" << i << fast.value(i) << plain.value(i);
                break;
            }
        }
    }
    QCOMPARE(fast.size(), plain.size());
    QVERIFY2(fast == plain, qPrintable(QStringLiteral("%1 (%2)").arg(text, exact ? "exact" : "near")));
}

void BenchTest::searchHostile_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("exact");
    // Keys that are prefixes of others, case, LIKE's own characters, names
    // with quotes, accents and NULLs.
    const QStringList texts = {"AB", "ab", "ABC", "ABCD", "A%", "A_C", "%", "_", "\\", "'", "\"", "É", "é", "ÉTÉ",
                               "O'HARE", "ORLY", "or", "NAME", "", "Z", "12", "1", "NULL", "AB\\C"};
    for (const QString &text : texts) {
        QTest::addRow("exact %s", qPrintable(text)) << text << true;
        QTest::addRow("near %s", qPrintable(text)) << text << false;
    }
}

void BenchTest::searchHostile()
{
    QFETCH(QString, text);
    QFETCH(bool, exact);
    {
        QSqlDatabase gen = openDb(QStringLiteral("bench-search-gen"), m_awkward.path(QStringLiteral("SQL/GEN.db")));
        QSqlDatabase wpt = openDb(QStringLiteral("bench-search-wpt"), m_awkward.path(QStringLiteral("SQL/WPT.db")));
        compareSearches(gen.connectionName(), wpt.connectionName(), text, exact);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-search-gen"));
    QSqlDatabase::removeDatabase(QStringLiteral("bench-search-wpt"));
}

void BenchTest::searchDemo_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("exact");
    for (const char *text : {"LFPG", "LFP", "LF", "PAR", "PARIS", "PGS", "EG", "ABBEV", "ROMLO", "E", "CDG", "LFPO",
                             "NA", "ORLY", "KOK", "ZZZZ"}) {
        QTest::addRow("exact %s", text) << QString::fromLatin1(text) << true;
        QTest::addRow("near %s", text) << QString::fromLatin1(text) << false;
    }
}

void BenchTest::searchDemo()
{
    QFETCH(QString, text);
    QFETCH(bool, exact);
    {
        QSqlDatabase gen = openDb(QStringLiteral("bench-search-gen"), m_demo.path(QStringLiteral("SQL/GEN.db")));
        QSqlDatabase wpt = openDb(QStringLiteral("bench-search-wpt"), m_demo.path(QStringLiteral("SQL/WPT.db")));
        compareSearches(gen.connectionName(), wpt.connectionName(), text, exact);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-search-gen"));
    QSqlDatabase::removeDatabase(QStringLiteral("bench-search-wpt"));
}

void BenchTest::searchWithoutTables()
{
    // Databases without the tables: nothing found, no error.
    SimFixture sim;
    QVERIFY(sim.buildSkeleton());
    QVERIFY(sim.createDatabase(QStringLiteral("GEN.db"), 0));
    QVERIFY(sim.createDatabase(QStringLiteral("WPT.db"), 0));
    {
        QSqlDatabase gen = openDb(QStringLiteral("bench-search-gen"), sim.path(QStringLiteral("SQL/GEN.db")));
        QSqlDatabase wpt = openDb(QStringLiteral("bench-search-wpt"), sim.path(QStringLiteral("SQL/WPT.db")));
        SqlMgr sql;
        for (bool exact : {true, false})
            QVERIFY(CPointSearch(&sql, gen.connectionName(), wpt.connectionName()).run("LFPG", exact, 0, 0).isEmpty());
        // Runways without an airport table, airports without runways.
        QVERIFY(sim.exec(QStringLiteral("GEN.db"), QStringLiteral("CREATE TABLE APT (tile, ukey, afaa, iden, name, ctry,"
                                                                   " stat, acty, atyp, alat, alon, aele);"
                                                                   "INSERT INTO APT (ukey, iden, name) VALUES ('AB', 'AB', 'X'),"
                                                                   " ('ABC', 'ABC', 'Y');")));
        compareSearches(gen.connectionName(), wpt.connectionName(), QStringLiteral("AB"), false);
        compareSearches(gen.connectionName(), wpt.connectionName(), QStringLiteral("AB"), true);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-search-gen"));
    QSqlDatabase::removeDatabase(QStringLiteral("bench-search-wpt"));
}

// --- the world tree ----------------------------------------------------------

void BenchTest::worldCounts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("airports") << "GEN.db" << "SELECT COUNT(*) FROM APT" << qint64(35000);
    QTest::newRow("runways") << "GEN.db" << "SELECT COUNT(*) FROM RWY" << qint64(45000);
    QTest::newRow("runways of unknown airports") << "GEN.db"
                                                << "SELECT COUNT(*) FROM RWY WHERE rapt NOT IN (SELECT ukey FROM APT)"
                                                << qint64(0);
    QTest::newRow("runway counts kept by the airports") << "GEN.db"
                                                        << "SELECT SUM(anrw) FROM APT" << qint64(45000);
    QTest::newRow("navaids") << "GEN.db" << "SELECT COUNT(*) FROM NAV" << qint64(26000);
    QTest::newRow("waypoints") << "WPT.db" << "SELECT COUNT(*) FROM WPT" << qint64(120000);
    QTest::newRow("waypoints the map shows") << "WPT.db" << "SELECT COUNT(*) FROM WPT WHERE wloc = 78" << qint64(120000);
    QTest::newRow("no usage the map does not know") << "WPT.db"
                                                    << "SELECT COUNT(*) FROM WPT WHERE wuse NOT IN (1, 2, 3, 4, 6)"
                                                    << qint64(0);
    QTest::newRow("airway segments") << "ROUTE.db" << "SELECT COUNT(*) FROM ATSROUTE" << qint64(70000);
    QTest::newRow("French segments") << "ROUTE.db"
                                     << "SELECT COUNT(*) FROM ATSROUTE WHERE nvc1 = 'FR' OR nvc2 = 'FR'" << qint64(5040);
    QTest::newRow("French segments over France") << "ROUTE.db"
                                                 << "SELECT COUNT(*) FROM ATSROUTE WHERE nvc1 = 'FR' AND "
                                                    "(lat1 < 41 * 3600 OR lat1 > 52 * 3600 OR lon1 < -6 * 3600 OR lon1 > 9 * 3600)"
                                                 << qint64(0);
    QTest::newRow("procedure rows") << "ROUTE.db" << "SELECT COUNT(*) FROM SIDSTAR" << qint64(2000);
    QTest::newRow("airports over Europe") << "GEN.db"
                                          << "SELECT COUNT(*) > 9000 FROM APT WHERE alat BETWEEN 35 * 3600 AND 60 * 3600 "
                                             "AND alon BETWEEN -10 * 3600 AND 25 * 3600"
                                          << qint64(1);
    QTest::newRow("some over the oceans") << "GEN.db"
                                          << "SELECT COUNT(*) > 100 FROM APT WHERE ctry = 'XX'" << qint64(1);
    QTest::newRow("no waypoint beyond 80 degrees") << "WPT.db" << "SELECT COUNT(*) FROM WPT WHERE abs(wlat) > 80 * 3600"
                                                   << qint64(0);
    QTest::newRow("no airport beyond 80 degrees") << "GEN.db" << "SELECT COUNT(*) FROM APT WHERE abs(alat) > 80 * 3600"
                                                  << qint64(0);
}

void BenchTest::worldCounts()
{
    QVERIFY2(m_worldBuilt, qPrintable(m_worldError));
    QFETCH(QString, file);
    QFETCH(QString, sql);
    QFETCH(qint64, expected);
    {
        const QSqlDatabase db = openDb(QStringLiteral("bench-world-count"), m_world.filePath(QStringLiteral("SQL/") + file));
        const QVariant value = scalar(db, sql);
        QVERIFY2(value.isValid(), qPrintable(sql));
        QCOMPARE(value.toLongLong(), expected);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-world-count"));
}

void BenchTest::worldKeys_data()
{
    // Keys are unique and fit the catalogue's lengths; text columns hold
    // texts, never NULL.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("sql");
    QTest::newRow("airport idents are the keys") << "GEN.db" << "SELECT COUNT(*) FROM APT WHERE iden <> ukey";
    QTest::newRow("airport keys unique") << "GEN.db" << "SELECT COUNT(*) - COUNT(DISTINCT ukey) FROM APT";
    QTest::newRow("airport keys at most 6") << "GEN.db" << "SELECT COUNT(*) FROM APT WHERE length(ukey) > 6";
    QTest::newRow("French airports are LF") << "GEN.db" << "SELECT COUNT(*) FROM APT WHERE ctry = 'FR' AND ukey NOT LIKE 'LF%'";
    QTest::newRow("navaid keys at most 10") << "GEN.db" << "SELECT COUNT(*) FROM NAV WHERE length(ukey) > 10";
    QTest::newRow("navaid keys unique") << "GEN.db" << "SELECT COUNT(*) - COUNT(DISTINCT ukey) FROM NAV";
    QTest::newRow("navaid names at most 40") << "GEN.db" << "SELECT COUNT(*) FROM NAV WHERE length(name) > 40";
    QTest::newRow("no NULL texts of airports") << "GEN.db"
                                               << "SELECT COUNT(*) FROM APT WHERE afaa IS NULL OR stat IS NULL OR argn IS NULL";
    QTest::newRow("no NULL texts of navaids") << "GEN.db" << "SELECT COUNT(*) FROM NAV WHERE stat IS NULL";
    QTest::newRow("no NULL texts of runways") << "GEN.db" << "SELECT COUNT(*) FROM RWY WHERE rhid IS NULL OR rlid IS NULL OR rhel IS NULL";
    QTest::newRow("waypoint keys at most 10") << "WPT.db" << "SELECT COUNT(*) FROM WPT WHERE length(ukey) > 10";
    QTest::newRow("waypoint keys unique") << "WPT.db" << "SELECT COUNT(*) - COUNT(DISTINCT ukey) FROM WPT";
    QTest::newRow("waypoint names at most 26") << "WPT.db" << "SELECT COUNT(*) FROM WPT WHERE length(name) > 26";
    QTest::newRow("no NULL texts of waypoints") << "WPT.db" << "SELECT COUNT(*) FROM WPT WHERE stat IS NULL OR wnav IS NULL";
    QTest::newRow("runway ends 01 to 36") << "GEN.db"
                                          << "SELECT COUNT(*) FROM RWY WHERE CAST(rlid AS INTEGER) NOT BETWEEN 1 AND 18 "
                                             "OR CAST(rhid AS INTEGER) <> CAST(rlid AS INTEGER) + 18";
}

void BenchTest::worldKeys()
{
    QVERIFY2(m_worldBuilt, qPrintable(m_worldError));
    QFETCH(QString, file);
    QFETCH(QString, sql);
    {
        const QSqlDatabase db = openDb(QStringLiteral("bench-world-keys"), m_world.filePath(QStringLiteral("SQL/") + file));
        const QVariant value = scalar(db, sql);
        QVERIFY2(value.isValid(), qPrintable(sql));
        QCOMPARE(value.toLongLong(), qint64(0));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-world-keys"));
}

void BenchTest::worldNames()
{
    QVERIFY2(m_worldBuilt, qPrintable(m_worldError));
    {
        const QSqlDatabase db = openDb(QStringLiteral("bench-world-names"), m_world.filePath(QStringLiteral("SQL/GEN.db")));
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("SELECT name FROM APT UNION ALL SELECT name FROM NAV")));
        int accents = 0, apostrophes = 0, hyphens = 0;
        while (query.next()) {
            const QString name = query.value(0).toString();
            QVERIFY2(UpdateRecord::representable(name), qPrintable(name));   // an update file can carry it
            accents += std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() > 0x7f; });
            apostrophes += name.contains(u'\'');
            hyphens += name.contains(u'-');
        }
        QVERIFY(accents > 10000);
        QVERIFY(apostrophes > 500);
        QVERIFY(hyphens > 1000);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-world-names"));
}

void BenchTest::markerBatchesWorld()
{
    QVERIFY2(m_worldBuilt, qPrintable(m_worldError));
    {
        const QSqlDatabase gen = openDb(QStringLiteral("bench-world-gen"), m_world.filePath(QStringLiteral("SQL/GEN.db")));
        const QSqlDatabase wpt = openDb(QStringLiteral("bench-world-wpt"), m_world.filePath(QStringLiteral("SQL/WPT.db")));
        const QSqlDatabase route = openDb(QStringLiteral("bench-world-route"), m_world.filePath(QStringLiteral("SQL/ROUTE.db")));
        const CMarkerLayers layers;
        const CMarkerSection airports = CMarkerScript::airports(gen);
        QCOMPARE(airports.count, 35000);
        QVERIFY(airports.script == Reference::airports(gen, true).script);
        QVERIFY(CMarkerScript::navaids(gen, layers).script == Reference::navaids(gen, layers).script);
        const CMarkerSection waypoints = CMarkerScript::waypoints(wpt, layers);
        QCOMPARE(waypoints.count, 120000);
        QVERIFY(waypoints.script == Reference::waypoints(wpt, layers).script);
        const CMarkerSection routes = CMarkerScript::routes(route, layers);
        QCOMPARE(routes.count, 5040);
        QVERIFY(routes.script == Reference::routes(route, layers).script);
    }
    for (const char *name : {"bench-world-gen", "bench-world-wpt", "bench-world-route"})
        QSqlDatabase::removeDatabase(QLatin1String(name));
}

void BenchTest::searchWorld()
{
    QVERIFY2(m_worldBuilt, qPrintable(m_worldError));
    {
        QSqlDatabase gen = openDb(QStringLiteral("bench-world-sgen"), m_world.filePath(QStringLiteral("SQL/GEN.db")));
        QSqlDatabase wpt = openDb(QStringLiteral("bench-world-swpt"), m_world.filePath(QStringLiteral("SQL/WPT.db")));
        // Texts of the tree: keys, idents, names and parts of them.
        QStringList texts = {QStringLiteral("QQ9Z7")};
        QSqlQuery query(gen);
        QVERIFY(query.exec(QStringLiteral("SELECT ukey, name FROM APT WHERE rowid % 12001 = 3")));
        while (query.next()) {
            texts << query.value(0).toString() << query.value(0).toString().left(3) << query.value(1).toString()
                  << query.value(1).toString().mid(2, 4);
        }
        QVERIFY(query.exec(QStringLiteral("SELECT iden FROM NAV WHERE rowid % 13001 = 5")));
        while (query.next())
            texts << query.value(0).toString();
        QSqlQuery fixes(wpt);
        QVERIFY(fixes.exec(QStringLiteral("SELECT iden, ukey FROM WPT WHERE rowid % 60001 = 7")));
        while (fixes.next())
            texts << fixes.value(0).toString() << fixes.value(1).toString() << fixes.value(0).toString().left(4);
        texts << QStringLiteral("LFP") << QStringLiteral("EDD");   // near: tens of airports, each with runways
        QVERIFY(texts.size() > 12);
        for (const QString &text : std::as_const(texts)) {
            compareSearches(gen.connectionName(), wpt.connectionName(), text, true);
            compareSearches(gen.connectionName(), wpt.connectionName(), text, false);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-world-sgen"));
    QSqlDatabase::removeDatabase(QStringLiteral("bench-world-swpt"));
}

QTEST_GUILESS_MAIN(BenchTest)
#include "tst_bench.moc"
