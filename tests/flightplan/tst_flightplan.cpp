// The flight-plan model: point builders, legs, times, the map script, the
// grid rows and the list operations.

#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "flightplan/planchange.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(PointPtr)

namespace {

constexpr double Pi = 3.14159265358979323846;

PointPtr at(double lat, double lon, qint32 speed = 0, const QString &name = QString())
{
    PointPtr p = PointPtr::create();
    p->latitude = lat;
    p->longitude = lon;
    p->speed = speed;
    p->name = name;
    p->ident = name;
    return p;
}

// Records that tell the grid rows apart.
PointPtr ofUsage(const QString &usage, qint32 navaidType = 0)
{
    PointPtr p = PointPtr::create();
    p->usage = usage;
    p->navaidType = navaidType;
    return p;
}

// Great-circle distance by the haversine formula and the initial bearing by
// the usual east-positive formula, in nautical miles (arc minutes) and
// degrees: computed independently of the plan's own formulas.
void reference(double latA, double lonA, double latB, double lonB, double *course, double *distance)
{
    const double rad = Pi / 180;
    const double p1 = latA * rad, p2 = latB * rad;
    const double dl = (lonB - lonA) * rad;
    const double h = std::pow(std::sin((p2 - p1) / 2), 2) + std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
    *distance = 2 * std::asin(std::sqrt(h)) / rad * 60;
    const double b = std::atan2(std::sin(dl) * std::cos(p2), std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
    *course = std::fmod(b / rad + 360, 360);
}

class RecordingView : public CFlightPlanView
{
public:
    void showPlan(const CFlightPlan &plan) override
    {
        ++calls;
        rows = plan.gridRows();
    }
    int calls = 0;
    QList<CFlightPlan::GridRow> rows;
};

} // namespace

class TestFlightPlan : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void builders_data();
    void builders();
    void buildersLeaveSpeedTimeAndLegs();

    void newPointTakesAircraftFigures();

    void legs_data();
    void legs();
    void longLegsMatchReference_data();
    void longLegsMatchReference();
    void timesAccumulate();
    void lastLegIsCleared();
    void onePointPlan();
    void emptyPlanIsLeftAlone();

    void mapScript_data();
    void mapScript();

    void gridTypeCell_data();
    void gridTypeCell();
    void gridCells();

    void insertAt_data();
    void insertAt();
    void sameRecordTwiceKeepsOwnLegs();
    void removeAt_data();
    void removeAt();
    void moves_data();
    void moves();
    void clearKeepsVersionAndCounterForgetsStart();
    void startFollowsFirstAirport_data();
    void startFollowsFirstAirport();

    void userWaypointNames_data();
    void userWaypointNames();

    void refreshShowsRowsAndReturnsScript();

private:
    QSqlDatabase m_db;
    QString createStatement(const QString &dump, const QString &table) const;
};

QString TestFlightPlan::createStatement(const QString &dump, const QString &table) const
{
    QFile file(qEnvironmentVariable("CORVANE_DEMO_DIR") + QStringLiteral("/sql/") + dump);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QString prefix = QStringLiteral("CREATE TABLE %1 (").arg(table);
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(prefix))
            return line;
    }
    return QString();
}

void TestFlightPlan::initTestCase()
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("builders"));
    m_db.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(m_db.open());
    const QList<QPair<QString, QString>> tables = {
        {"GEN.sql", "APT"}, {"GEN.sql", "NAV"}, {"GEN.sql", "RWY"}, {"WPT.sql", "WPT"}, {"ROUTE.sql", "SIDSTAR"}};
    for (const auto &t : tables) {
        const QString create = createStatement(t.first, t.second);
        QVERIFY2(!create.isEmpty(), qPrintable(t.second));
        QSqlQuery q(m_db);
        QVERIFY2(q.exec(create), qPrintable(q.lastError().text()));
    }

    // One row per table, each value told apart by its column position.
    auto insert = [this](const QString &table, const QVariantList &values) {
        QSqlQuery count(m_db);
        QVERIFY(count.exec(QStringLiteral("SELECT * FROM %1").arg(table)));
        const int columns = count.record().count();
        QStringList marks;
        for (int i = 0; i < columns; ++i)
            marks << QStringLiteral("?");
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, marks.join(u','))));
        for (int i = 0; i < columns; ++i)
            q.addBindValue(i < values.size() ? values.at(i) : QVariant(0));
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    };
    // APT: tile, ukey, afaa, iden, name, ctry, stat, acty, atyp, alat, alon, aele
    insert("APT", {1, "LFPGKEY", "CDG", "LFPG", "Paris Charles de Gaulle", "FR", "IDF", "X", 1, 176130.0, 9198.0, 392});
    // NAV: tile, ukey, iden, name, nfrq, nmdv, nsvr, ctry, stat, ntyp, ncls, nuse, nlat, nlon, nalt
    insert("NAV", {2, "PGSKEY", "PGS", "Pontoise", 117.8, 1.0, 2.0, "FR", "IDF", 8, 3, 4, 177000.0, 1260000.0, 320});
    // WPT: tile, iden, ukey, name, ctry, stat, wloc, wtyp, wuse, wlat, wlon
    insert("WPT", {3, "ABNUR", "ABNURKEY", "Abnur fix", "FR", "IDF", "V", 1, 2, 170000.0, 5000.0});
    // SIDSTAR: tile, skey, sapt, strm, sqnm, styp, swid, swpt, salt, slat, slon
    insert("SIDSTAR", {4, "DEP110", "LFPGKEY", "DEP1", 10, 2, "OPALE", 4096, 1500.0, 175000.0, 8000.0});
    // RWY: high end at 13..18, low end at 42..47
    QVariantList rwy;
    for (int i = 0; i < 71; ++i)
        rwy << QVariant(0);
    rwy[1] = "LFPGKEY";
    rwy[13] = "09L"; rwy[14] = 176100.0; rwy[15] = 9000.0; rwy[16] = 350; rwy[17] = 88.0; rwy[18] = 87.5;
    rwy[42] = "27R"; rwy[43] = 176110.0; rwy[44] = 9400.0; rwy[45] = 360; rwy[46] = 268.0; rwy[47] = 267.5;
    insert("RWY", rwy);
}

void TestFlightPlan::builders_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("builder");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ident");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<int>("elevation");
    QTest::addColumn<QString>("dbKey");
    QTest::addColumn<QString>("usage");
    QTest::addColumn<int>("altitude");
    QTest::addColumn<int>("navaidType");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("heading");

    QTest::newRow("airport") << "APT" << "APT" << "airp" << "Paris Charles de Gaulle" << "LFPG" << 176130.0 << 9198.0
                             << 392 << "LFPGKEY" << "airp" << 392 << 0 << 0.0 << 0.0;
    QTest::newRow("navaid") << "NAV" << "NAV" << "snav" << "Pontoise" << "PGS" << 177000.0 << 1260000.0 << 320
                            << "PGSKEY" << "snav" << 0 << 8 << 117.8 << 0.0;
    QTest::newRow("waypoint, ident before key") << "WPT" << "WPT" << "wayp" << "Abnur fix" << "ABNUR" << 170000.0
                                                << 5000.0 << 0 << "ABNURKEY" << "uswp" << 0 << 0 << 0.0 << 0.0;
    QTest::newRow("procedure fix") << "SIDSTAR" << "SIDSTAR" << "wayp" << "OPALE" << "OPALE" << 175000.0 << 8000.0
                                   << 0 << "NONE" << "uswp" << 0 << 0 << 0.0 << 0.0;
    QTest::newRow("runway high end") << "RWY" << "high" << "uswp" << "RWY 09L" << "09L" << 176100.0 << 9000.0 << 350
                                     << "NONE" << "uswp" << 0 << 0 << 0.0 << 87.5;
    QTest::newRow("runway low end") << "RWY" << "low" << "uswp" << "RWY 27R" << "27R" << 176110.0 << 9400.0 << 360
                                    << "NONE" << "uswp" << 0 << 0 << 0.0 << 267.5;
}

void TestFlightPlan::builders()
{
    QFETCH(QString, table);
    QFETCH(QString, builder);
    QSqlQuery q(m_db);
    QVERIFY(q.exec(QStringLiteral("SELECT * FROM %1").arg(table)));
    QVERIFY(q.next());

    CFlightPlanPoint p;   // a default record: runways "NONE"
    if (builder == "APT")
        p.fromAPT(q);
    else if (builder == "NAV")
        p.fromNAV(q);
    else if (builder == "WPT")
        p.fromWPT(q);
    else if (builder == "SIDSTAR")
        p.fromSIDSTAR(q);
    else if (builder == "high")
        p.fromRunwayHigh(q);
    else
        p.fromRunwayLow(q);

    QTEST(p.kind, "kind");
    QTEST(p.name, "name");
    QTEST(p.ident, "ident");
    QTEST(p.latitude, "latitude");
    QTEST(p.longitude, "longitude");
    QTEST(int(p.elevation), "elevation");
    QTEST(p.dbKey, "dbKey");
    QTEST(p.usage, "usage");
    QTEST(int(p.altitude), "altitude");
    QTEST(int(p.navaidType), "navaidType");
    QFETCH(double, frequency);
    QVERIFY(qFuzzyCompare(1 + p.frequency, 1 + frequency));
    QTEST(p.heading, "heading");
    QCOMPARE(p.takeoffRunway, QString());
    QCOMPARE(p.landingRunway, QString());
    QCOMPARE(p.mark, QString());
}

void TestFlightPlan::buildersLeaveSpeedTimeAndLegs()
{
    QSqlQuery q(m_db);
    QVERIFY(q.exec(QStringLiteral("SELECT * FROM APT")));
    QVERIFY(q.next());
    CFlightPlanPoint p;
    p.speed = 130;
    p.time = QTime(1, 2);
    p.course = 12;
    p.distance = 34;
    p.duration = 56;
    p.mark = QStringLiteral("X");
    p.fromAPT(q);
    QCOMPARE(p.speed, 130);
    QCOMPARE(p.time, QTime(1, 2));
    QCOMPARE(p.course, 12.0);
    QCOMPARE(p.distance, 34.0);
    QCOMPARE(p.duration, 56);
    QCOMPARE(p.mark, QString());
}

void TestFlightPlan::newPointTakesAircraftFigures()
{
    CFlightPlan plan;
    plan.aircraft->cruiseSpeed = 120;
    plan.aircraft->maxCruiseAltitude = 9000;
    const PointPtr p = plan.newPoint();
    QCOMPARE(p->speed, 120);
    QCOMPARE(p->altitude, 9000);
    QCOMPARE(p->takeoffRunway, QStringLiteral("NONE"));
    QCOMPARE(p->landingRunway, QStringLiteral("NONE"));
    QCOMPARE(p->time, QTime(0, 0));
    QCOMPARE(p->kind, QString());
    QVERIFY(plan.newPoint() != p);
}

void TestFlightPlan::legs_data()
{
    QTest::addColumn<double>("latA");
    QTest::addColumn<double>("lonA");
    QTest::addColumn<double>("latB");
    QTest::addColumn<double>("lonB");
    QTest::addColumn<int>("speed");
    QTest::addColumn<double>("course");
    QTest::addColumn<double>("distance");
    QTest::addColumn<int>("duration");

    QTest::newRow("one degree south on a meridian, 130 kt") << 3600.0 << 0.0 << 0.0 << 0.0 << 130 << 180.0 << 60.0 << 27;
    QTest::newRow("one degree north") << 0.0 << 0.0 << 3600.0 << 0.0 << 60 << 0.0 << 60.0 << 60;
    QTest::newRow("across the prime meridian eastwards") << 0.0 << 1295000.0 << 0.0 << 1000.0 << 100 << 90.0
                                                         << 2000.0 / 60 << 20;
    QTest::newRow("across the prime meridian westwards") << 0.0 << 1000.0 << 0.0 << -1000.0 << 100 << 270.0
                                                         << 2000.0 / 60 << 20;
    QTest::newRow("longitude beyond a full turn") << 0.0 << 1296000.0 + 3600 << 0.0 << 0.0 << 60 << 270.0 << 60.0
                                                  << 60;
    QTest::newRow("speed 0 has no duration") << 3600.0 << 0.0 << 0.0 << 0.0 << 0 << 180.0 << 60.0 << 0;
    QTest::newRow("equal points") << 176130.0 << 9198.0 << 176130.0 << 9198.0 << 130 << 0.0 << 0.0 << 0;
}

void TestFlightPlan::legs()
{
    QFETCH(double, latA);
    QFETCH(double, lonA);
    QFETCH(double, latB);
    QFETCH(double, lonB);
    QFETCH(int, speed);
    QFETCH(double, course);
    QFETCH(double, distance);
    QFETCH(int, duration);

    CFlightPlan plan;
    plan.insertAt(at(latA, lonA, speed), 0);
    plan.insertAt(at(latB, lonB, speed), 1);
    plan.computeLegs();
    const CFlightPlanPoint &a = *plan.points.at(0);
    QVERIFY(!std::isnan(a.course));
    QVERIFY(!std::isnan(a.distance));
    QVERIFY2(std::abs(a.course - course) < 1e-6, qPrintable(QString::number(a.course, 'f', 9)));
    QVERIFY2(std::abs(a.distance - distance) < 1e-6, qPrintable(QString::number(a.distance, 'f', 9)));
    QCOMPARE(a.duration, duration);
}

void TestFlightPlan::longLegsMatchReference_data()
{
    QTest::addColumn<double>("latA");
    QTest::addColumn<double>("lonA");
    QTest::addColumn<double>("latB");
    QTest::addColumn<double>("lonB");

    // Degrees; longitudes west as negative values.
    QTest::newRow("Paris to New York") << 48.8566 << 2.3522 << 40.7128 << -74.0060;
    QTest::newRow("New York to Paris") << 40.7128 << -74.0060 << 48.8566 << 2.3522;
    QTest::newRow("Sydney to Santiago, across the date line") << -33.8688 << 151.2093 << -33.4489 << -70.6693;
    QTest::newRow("Tokyo to Anchorage") << 35.6762 << 139.6503 << 61.2181 << -149.9003;
}

void TestFlightPlan::longLegsMatchReference()
{
    QFETCH(double, latA);
    QFETCH(double, lonA);
    QFETCH(double, latB);
    QFETCH(double, lonB);
    double course = 0, distance = 0;
    reference(latA, lonA, latB, lonB, &course, &distance);

    CFlightPlan plan;
    // West longitudes as the databases may hold them: east-positive over a full turn.
    plan.insertAt(at(latA * 3600, std::fmod(lonA * 3600 + 1296000, 1296000), 450), 0);
    plan.insertAt(at(latB * 3600, std::fmod(lonB * 3600 + 1296000, 1296000), 450), 1);
    plan.computeLegs();
    const CFlightPlanPoint &a = *plan.points.at(0);
    QVERIFY2(std::abs(a.distance - distance) < 1e-6, qPrintable(QStringLiteral("%1 / %2").arg(a.distance).arg(distance)));
    QVERIFY2(std::abs(a.course - course) < 1e-6, qPrintable(QStringLiteral("%1 / %2").arg(a.course).arg(course)));
    QCOMPARE(a.duration, int(distance / 450 * 60));
}

void TestFlightPlan::timesAccumulate()
{
    CFlightPlan plan;
    plan.insertAt(at(7200, 0, 130), 0);   // 60 nm at 130 kt: 27 min
    plan.insertAt(at(3600, 0, 60), 1);    // 60 nm at 60 kt: 60 min
    plan.insertAt(at(0, 0, 1), 2);        // 60 nm at 1 kt: 60 hours
    plan.insertAt(at(-3600, 0, 60), 3);
    plan.points.first()->time = QTime(5, 0);   // the first point always starts at 00:00
    plan.points.first()->elapsed = 300;
    plan.computeLegs();
    QCOMPARE(plan.points.at(0)->time, QTime(0, 0));
    QCOMPARE(plan.points.at(1)->time, QTime(0, 27));
    QCOMPARE(plan.points.at(2)->time, QTime(1, 27));
    QCOMPARE(plan.points.at(3)->time, QTime(13, 27));
    QCOMPARE(plan.points.at(3)->elapsed, 61 * 60 + 27);
    const QList<CFlightPlan::GridRow> rows = plan.gridRows();
    QCOMPARE(rows.at(0).cells.at(8), QStringLiteral("00:00"));
    QCOMPARE(rows.at(1).cells.at(8), QStringLiteral("00:27"));
    QCOMPARE(rows.at(2).cells.at(8), QStringLiteral("01:27"));
    // The hours go on past a day.
    QCOMPARE(rows.at(3).cells.at(8), QStringLiteral("61:27"));
}

void TestFlightPlan::lastLegIsCleared()
{
    CFlightPlan plan;
    plan.insertAt(at(7200, 0, 130), 0);
    plan.insertAt(at(3600, 0, 130), 1);
    plan.insertAt(at(0, 0, 130), 2);
    plan.refresh();
    QCOMPARE(plan.points.at(1)->distance, 60.0);
    // The former middle point ends the route now: it has no leg any more.
    plan.removeAt(2);
    plan.refresh();
    const CFlightPlanPoint &last = *plan.points.at(1);
    QCOMPARE(last.course, 0.0);
    QCOMPARE(last.distance, 0.0);
    QCOMPARE(last.duration, 0);
    // After a move the new last point loses its old leg as well.
    plan.insertAt(at(0, 0, 130), 2);
    plan.refresh();
    plan.moveDown(1);
    plan.refresh();
    QCOMPARE(plan.points.at(2)->distance, 0.0);
    QCOMPARE(plan.points.at(2)->course, 0.0);
    QCOMPARE(plan.points.at(1)->distance, 60.0);
}

void TestFlightPlan::onePointPlan()
{
    CFlightPlan plan;
    plan.insertAt(at(3600, 0, 130), 0);
    plan.refresh();
    const QList<CFlightPlan::GridRow> rows = plan.gridRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0).cells.at(5), QStringLiteral("  0°"));
    QCOMPARE(rows.at(0).cells.at(6), QStringLiteral("  0.0"));
    QCOMPARE(rows.at(0).cells.at(7), QStringLiteral("0"));
    QCOMPARE(rows.at(0).cells.at(8), QStringLiteral("00:00"));
}

void TestFlightPlan::emptyPlanIsLeftAlone()
{
    CFlightPlan plan;
    plan.computeLegs();
    QCOMPARE(plan.count(), 0);
    QCOMPARE(plan.refresh(), QStringLiteral("clearFP();pushFP();"));
}

void TestFlightPlan::mapScript_data()
{
    QTest::addColumn<QList<PointPtr>>("points");
    QTest::addColumn<QString>("script");

    QTest::newRow("empty plan") << QList<PointPtr>() << "clearFP();pushFP();";
    QTest::newRow("one point") << QList<PointPtr>{at(172800, 7200, 0, "Paris")}
                               << "clearFP();addPointToFp(new google.maps.LatLng(48.00000,2.00000),\"Paris\");pushFP();";
    QTest::newRow("two points, user waypoint stored east of 180")
            << QList<PointPtr>{at(172800, 7200, 0, "A"), at(-3600, 1260000, 0, "WP001")}
            << "clearFP();addPointToFp(new google.maps.LatLng(48.00000,2.00000),\"A\");"
               "addPointToFp(new google.maps.LatLng(-1.00000,-10.00000),\"WP001\");pushFP();";
    QTest::newRow("apostrophe and percent signs stay")
            << QList<PointPtr>{at(0, 0, 0, "L'Alpe %2 d'Huez")}
            << "clearFP();addPointToFp(new google.maps.LatLng(0.00000,0.00000),\"L'Alpe %2 d'Huez\");pushFP();";
    QTest::newRow("quote, backslash and line end escaped")
            << QList<PointPtr>{at(0, 0, 0, "O\"Hare\\\n</script>")}
            << "clearFP();addPointToFp(new google.maps.LatLng(0.00000,0.00000),\"O\\\"Hare\\\\\\n</script>\");pushFP();";
}

void TestFlightPlan::mapScript()
{
    QFETCH(QList<PointPtr>, points);
    QFETCH(QString, script);
    CFlightPlan plan;
    for (const PointPtr &p : points)
        plan.insertAt(p, plan.count());
    QCOMPARE(plan.mapScript(), script);
    QCOMPARE(plan.refresh(), script);
}

void TestFlightPlan::gridTypeCell_data()
{
    QTest::addColumn<PointPtr>("point");
    QTest::addColumn<bool>("hasTypeCell");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("text");

    QTest::newRow("airport") << ofUsage("airp") << true << ":/icon/images/Img08.bmp" << "Airport";
    QTest::newRow("navaid of type 8") << ofUsage("snav", 8) << true << ":/icon/images/Img03.bmp" << "Navaid";
    QTest::newRow("navaid of type 1") << ofUsage("snav", 1) << true << ":/icon/images/Img05.bmp" << "Navaid";
    QTest::newRow("navaid of type 32") << ofUsage("snav", 32) << true << ":/icon/images/Img05.bmp" << "Navaid";
    QTest::newRow("waypoint") << ofUsage("uswp") << true << ":/icon/images/Img12.bmp" << "Waypoint";
    QTest::newRow("other usage") << ofUsage("wayp") << false << "" << "";
}

void TestFlightPlan::gridTypeCell()
{
    QFETCH(PointPtr, point);
    const CFlightPlan::GridRow row = CFlightPlan::gridRow(*point);
    QTEST(row.hasTypeCell, "hasTypeCell");
    QTEST(row.icon, "icon");
    QTEST(row.cells.at(0), "text");
    QCOMPARE(row.cells.size(), 10);
}

void TestFlightPlan::gridCells()
{
    CFlightPlanPoint p;
    p.usage = QStringLiteral("snav");
    p.ident = QStringLiteral("PGS");
    p.name = QStringLiteral("Pontoise");
    p.frequency = 117.8;
    p.speed = 130;
    p.course = 179.6;
    p.distance = 60;
    p.duration = 27;
    p.time = QTime(1, 5, 59);
    p.elapsed = 25 * 60 + 10;   // the time column goes on past a day
    p.altitude = 5000;
    const QStringList expected = {"Navaid", "PGS", "Pontoise", "117.800", "130", "180°", " 60.0", "27", "25:10", "5000"};
    QCOMPARE(CFlightPlan::gridRow(p).cells, expected);

    CFlightPlanPoint fresh;
    fresh.usage = QStringLiteral("airp");
    const QStringList freshCells = {"Airport", "", "", "0.000", "  0", "  0°", "  0.0", "0", "00:00", "0"};
    QCOMPARE(CFlightPlan::gridRow(fresh).cells, freshCells);
}

void TestFlightPlan::insertAt_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("order");

    QTest::newRow("below 0 inserts first") << -5 << "XABC";
    QTest::newRow("0 inserts first") << 0 << "XABC";
    QTest::newRow("middle") << 2 << "ABXC";
    QTest::newRow("end appends") << 3 << "ABCX";
    QTest::newRow("beyond the end appends") << 99 << "ABCX";
}

void TestFlightPlan::insertAt()
{
    QFETCH(int, position);
    QFETCH(QString, order);
    CFlightPlan plan;
    for (const QString n : {"A", "B", "C"})
        plan.insertAt(at(0, 0, 0, n), plan.count());
    const PointPtr x = at(0, 0, 0, "X");
    plan.insertAt(x, position);
    QString names;
    for (const PointPtr &p : plan.points)
        names += p->name;
    QCOMPARE(names, order);
    QVERIFY(plan.points.contains(x));   // the record itself, not a copy
}

void TestFlightPlan::sameRecordTwiceKeepsOwnLegs()
{
    CFlightPlan plan;
    const PointPtr home = at(3600, 0, 60, "HOME");
    plan.results << home;
    plan.insertAt(home, 0);
    plan.insertAt(at(0, 0, 60, "TURN"), 1);
    plan.insertAt(home, 2);   // back home: the same search result again
    plan.refresh();
    QVERIFY(plan.points.at(0) == home);
    QVERIFY(plan.points.at(2) != home);
    QCOMPARE(plan.points.at(2)->name, QStringLiteral("HOME"));
    QCOMPARE(plan.points.at(0)->course, 180.0);
    QCOMPARE(plan.points.at(0)->distance, 60.0);
    QCOMPARE(plan.points.at(1)->course, 0.0);
    QCOMPARE(plan.points.at(1)->distance, 60.0);
    QCOMPARE(plan.points.at(2)->distance, 0.0);
    QCOMPARE(plan.points.at(2)->time, QTime(2, 0));
}

void TestFlightPlan::removeAt_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("order");

    QTest::newRow("first") << 0 << "BC";
    QTest::newRow("last") << 2 << "AB";
    QTest::newRow("negative does nothing") << -1 << "ABC";
    QTest::newRow("beyond the end does nothing") << 3 << "ABC";
}

void TestFlightPlan::removeAt()
{
    QFETCH(int, position);
    QFETCH(QString, order);
    CFlightPlan plan;
    for (const QString n : {"A", "B", "C"})
        plan.insertAt(at(0, 0, 0, n), plan.count());
    plan.removeAt(position);
    QString names;
    for (const PointPtr &p : plan.points)
        names += p->name;
    QCOMPARE(names, order);
}

void TestFlightPlan::moves_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("order");

    QTest::newRow("up the second") << "ABC" << true << 1 << "BAC";
    QTest::newRow("up the first changes nothing") << "ABC" << true << 0 << "ABC";
    QTest::newRow("up beyond the end changes nothing") << "ABC" << true << 3 << "ABC";
    QTest::newRow("up on one point") << "A" << true << 1 << "A";
    QTest::newRow("down the second") << "ABC" << false << 1 << "ACB";
    QTest::newRow("down the last changes nothing") << "ABC" << false << 2 << "ABC";
    QTest::newRow("down with no row changes nothing") << "ABC" << false << -1 << "ABC";
}

void TestFlightPlan::moves()
{
    QFETCH(QString, start);
    QFETCH(bool, up);
    QFETCH(int, position);
    QFETCH(QString, order);
    CFlightPlan plan;
    for (const QChar n : start)
        plan.insertAt(at(0, 0, 0, n), plan.count());
    if (up)
        plan.moveUp(position);
    else
        plan.moveDown(position);
    QString names;
    for (const PointPtr &p : plan.points)
        names += p->name;
    QCOMPARE(names, order);
}

void TestFlightPlan::clearKeepsVersionAndCounterForgetsStart()
{
    CFlightPlan plan;
    plan.version = 4;
    plan.startPoint = plan.newPoint();
    plan.startPoint->heading = 90;
    const PointPtr start = plan.startPoint;
    QCOMPARE(plan.nextUserWaypointName(QStringLiteral("WP")), QStringLiteral("WP001"));
    plan.insertAt(at(0, 0), 0);
    plan.placeStartByUser(45, 5);
    plan.clear();
    QVERIFY(plan.isEmpty());
    QCOMPARE(plan.version, 4);
    QCOMPARE(plan.userWaypointCounter, 1);
    // The same record, its position forgotten, its heading kept.
    QVERIFY(plan.startPoint == start);
    QCOMPARE(plan.startPlacement, CFlightPlan::StartPlacement::None);
    QCOMPARE(plan.startPoint->latitude, 0.0);
    QCOMPARE(plan.startPoint->longitude, 0.0);
    QCOMPARE(plan.startPoint->heading, 90.0);
}

void TestFlightPlan::startFollowsFirstAirport_data()
{
    // Steps, each followed by a refresh as the window does: "+X" appends,
    // "0X" inserts first (X an airport LFPG or LFPO, or NAV), "user" places
    // the start by hand, "del0" deletes the first line, "up1" moves the
    // second line up, "clear" is "Nouveau".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("start");   // the airport that placed it, "user" or "none"
    QTest::addColumn<int>("moves");       // how often the plan moved it

    QTest::newRow("first airport places it") << QStringList{"+LFPG"} << "LFPG" << 1;
    QTest::newRow("a later airport does not") << QStringList{"+LFPG", "+LFPO"} << "LFPG" << 1;
    QTest::newRow("placed by hand since the airport") << QStringList{"+LFPG", "user", "+LFPO"} << "user" << 1;
    QTest::newRow("placed by hand before the airport") << QStringList{"user", "+LFPG"} << "LFPG" << 1;
    QTest::newRow("a new first airport") << QStringList{"+LFPG", "user", "0LFPO"} << "LFPO" << 2;
    QTest::newRow("moved up to the first line") << QStringList{"+LFPG", "+LFPO", "up1"} << "LFPO" << 2;
    QTest::newRow("first airport deleted, the next one") << QStringList{"+LFPG", "+LFPO", "del0"} << "LFPO" << 2;
    QTest::newRow("navaid first: not placed") << QStringList{"+NAV", "+LFPG"} << "none" << 0;
    QTest::newRow("airport put before the navaid") << QStringList{"+NAV", "0LFPG"} << "LFPG" << 1;
    QTest::newRow("Nouveau forgets it") << QStringList{"+LFPG", "clear"} << "none" << 1;
    QTest::newRow("Nouveau, then another plan") << QStringList{"+LFPG", "user", "clear", "+LFPO"} << "LFPO" << 2;
    // "undo" and "redo" take back and make again the last change.
    QTest::newRow("undone: never placed again") << QStringList{"+LFPG", "undo"} << "none" << 1;
    QTest::newRow("undone and redone") << QStringList{"+LFPG", "undo", "redo"} << "LFPG" << 2;
    QTest::newRow("undone: back where the user put it") << QStringList{"user", "+LFPG", "undo"} << "user" << 2;
    QTest::newRow("placed by hand since: undo keeps it") << QStringList{"+LFPG", "user", "undo"} << "user" << 1;
    QTest::newRow("placed by hand since: redo keeps it") << QStringList{"+LFPG", "undo", "user", "redo"} << "user" << 1;
    QTest::newRow("first airport deleted, undone") << QStringList{"+LFPG", "+LFPO", "del0", "undo"} << "LFPG" << 3;
    QTest::newRow("Nouveau undone") << QStringList{"+LFPG", "clear", "undo"} << "LFPG" << 2;
    QTest::newRow("move undone, then redone") << QStringList{"+LFPG", "+LFPO", "up1", "undo", "redo"} << "LFPO" << 4;
}

void TestFlightPlan::startFollowsFirstAirport()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, start);
    QFETCH(int, moves);
    const auto point = [](const QString &name) {
        PointPtr p = at(name == "LFPG" ? 176435.0 : name == "LFPO" ? 175415.0 : 170000.0,
                        name == "LFPG" ? 9225.0 : -8521.0, 0, name);
        p->usage = name == "NAV" ? QStringLiteral("snav") : QStringLiteral("airp");
        return p;
    };
    CFlightPlan plan;
    plan.startPoint = plan.newPoint();
    int moved = 0;
    plan.startMoved = [&moved] { ++moved; };
    QList<CPlanChange> done, undone;
    plan.changeRecorded = [&](const CPlanChange &change) {
        done << change;
        undone.clear();
    };
    for (const QString &step : steps) {
        if (step == "user") {
            plan.placeStartByUser(45, 5);
        } else if (step == "undo") {
            undone << done.takeLast();
            undone.last().undo(plan);
        } else if (step == "redo") {
            done << undone.takeLast();
            done.last().redo(plan);
        } else {
            const CFlightPlan::ChangeScope change(plan, CFlightPlan::ChangeKind::Add);
            if (step == "del0")
                plan.removeAt(0);
            else if (step == "up1")
                plan.moveUp(1);
            else if (step == "clear")
                plan.clear();
            else
                plan.insertAt(point(step.mid(1)), step.startsWith(u'+') ? plan.count() : 0);
            if (!plan.isEmpty())
                plan.refresh();
        }
    }
    QCOMPARE(moved, moves);
    if (start == "none") {
        QCOMPARE(plan.startPlacement, CFlightPlan::StartPlacement::None);
        QCOMPARE(plan.startPoint->latitude, 0.0);
    } else if (start == "user") {
        QCOMPARE(plan.startPlacement, CFlightPlan::StartPlacement::User);
        QCOMPARE(plan.startPoint->latitude, 45 * 3600.0);
        QCOMPARE(plan.startPoint->longitude, 5 * 3600.0);
    } else {
        QCOMPARE(plan.startPlacement, CFlightPlan::StartPlacement::FirstAirport);
        const PointPtr airport = point(start);
        QCOMPARE(plan.startPoint->latitude, airport->latitude);
        // Held east-positive.
        QCOMPARE(plan.startPoint->longitude, airport->longitude < 0 ? airport->longitude + 1296000 : airport->longitude);
    }
}

void TestFlightPlan::userWaypointNames_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("counter");
    QTest::addColumn<QString>("name");

    QTest::newRow("first") << "WP" << 0 << "WP001";
    QTest::newRow("seventh") << "WP" << 6 << "WP007";
    QTest::newRow("more than three digits") << "WP" << 1233 << "WP1234";
    QTest::newRow("prefix holding a placeholder") << "%1%2" << 1 << "%1%2002";
}

void TestFlightPlan::userWaypointNames()
{
    QFETCH(QString, prefix);
    QFETCH(int, counter);
    CFlightPlan plan;
    plan.userWaypointCounter = counter;
    QTEST(plan.nextUserWaypointName(prefix), "name");
    QCOMPARE(plan.userWaypointCounter, counter + 1);
}

void TestFlightPlan::refreshShowsRowsAndReturnsScript()
{
    RecordingView view;
    CFlightPlan plan(nullptr, &view);
    plan.insertAt(at(3600, 0, 130, "A"), 0);
    plan.insertAt(at(0, 0, 130, "B"), 1);
    QCOMPARE(view.calls, 0);
    const QString script = plan.refresh();
    QCOMPARE(view.calls, 1);
    QCOMPARE(view.rows.size(), 2);
    QCOMPARE(view.rows.at(0).cells.at(6), QStringLiteral(" 60.0"));
    QCOMPARE(script, plan.mapScript());
}

QTEST_GUILESS_MAIN(TestFlightPlan)
#include "tst_flightplan.moc"
