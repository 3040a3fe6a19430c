// The flight-plan model: legs and times, the map
// script, the grid cells, the list operations and the start-position rule.

#include "flightplan/flightplan.h"
#include "flightplan/planchange.h"

#include <QMap>
#include <QTest>

#include <cmath>

namespace {

PointPtr at(double lat, double lon, qint32 speed = 0, const QString &name = QString())
{
    PointPtr p = PointPtr::create();
    p->latitude = lat;
    p->longitude = lon;
    p->speed = speed;
    p->name = p->ident = name;
    return p;
}

} // namespace

class TestFlightPlan : public QObject
{
    Q_OBJECT

private slots:
    void legs_data();
    void legs();
    void timesAndGridCells();
    void mapScript();
    void edits_data();
    void edits();
    void sameRecordTwiceKeepsOwnLegs();
    void clearKeepsVersionAndCounterForgetsStart();
    void startFollowsFirstAirport_data();
    void startFollowsFirstAirport();
};

void TestFlightPlan::legs_data()
{
    // Positions in arc-seconds, longitudes east-positive over a full turn
    // as the databases hold them; long legs checked against the haversine
    // distance and the usual initial bearing.
    QTest::addColumn<QList<double>>("positions");   // latA, lonA, latB, lonB
    QTest::addColumn<int>("speed");
    QTest::addColumn<double>("course");
    QTest::addColumn<double>("distance");
    QTest::addColumn<int>("duration");
    QTest::newRow("one degree south, 130 kt") << QList<double>{3600, 0, 0, 0} << 130 << 180.0 << 60.0 << 27;
    QTest::newRow("across the prime meridian eastwards") << QList<double>{0, 1295000, 0, 1000} << 100 << 90.0 << 2000.0 / 60 << 20;
    QTest::newRow("longitude beyond a full turn") << QList<double>{0, 1296000 + 3600, 0, 0} << 60 << 270.0 << 60.0 << 60;
    QTest::newRow("speed 0 has no duration") << QList<double>{3600, 0, 0, 0} << 0 << 180.0 << 60.0 << 0;
    QTest::newRow("equal points") << QList<double>{176130, 9198, 176130, 9198} << 130 << 0.0 << 0.0 << 0;
    QTest::newRow("Sydney to Santiago, across the date line") << QList<double>{-121927.68, 544353.48, -120416.04, 1041590.52}
                                                              << 450 << 145.282670565 << 6122.607638893 << 816;
}

void TestFlightPlan::legs()
{
    QFETCH(QList<double>, positions);
    QFETCH(int, speed);
    QFETCH(double, course);
    QFETCH(double, distance);
    CFlightPlan plan;
    plan.insertAt(at(positions[0], positions[1], speed), 0);
    plan.insertAt(at(positions[2], positions[3], speed), 1);
    plan.computeLegs();
    const CFlightPlanPoint &a = *plan.points.at(0);
    QVERIFY2(std::abs(a.course - course) < 1e-6, qPrintable(QString::number(a.course, 'f', 9)));
    QVERIFY2(std::abs(a.distance - distance) < 1e-6, qPrintable(QString::number(a.distance, 'f', 9)));
    QTEST(int(a.duration), "duration");
}

void TestFlightPlan::timesAndGridCells()
{
    CFlightPlan plan;
    for (int i = 0; i < 4; ++i)   // 60 nm legs at 130 kt (27 min), 60 kt (1 h), 1 kt (60 h)
        plan.insertAt(at((2 - i) * 3600, 0, i == 0 ? 130 : i == 1 ? 60 : 1, QStringLiteral("P%1").arg(i)), i);
    plan.points[1]->usage = QStringLiteral("snav");
    plan.points[1]->frequency = 117.8;
    plan.points[1]->altitude = 5000;
    plan.points.first()->time = QTime(5, 0);   // the first point always starts at 00:00
    plan.refresh();
    const QList<CFlightPlan::GridRow> rows = plan.gridRows();
    QCOMPARE(rows.at(1).cells, (QStringList{"Navaid", "P1", "P1", "117.800", " 60", "180°", " 60.0", "60", "00:27", "5000"}));
    // The time of day wraps at midnight, the Temps column goes on past a day.
    QCOMPARE(plan.points.at(3)->time, QTime(13, 27));
    QCOMPARE(rows.at(2).cells.at(8) + u' ' + rows.at(3).cells.at(8), QStringLiteral("01:27 61:27"));

    // The last point starts no leg, also once the former last one is gone.
    plan.removeAt(3);
    plan.refresh();
    QCOMPARE(plan.gridRows().at(2).cells.mid(5, 3), (QStringList{"  0°", "  0.0", "0"}));
}

void TestFlightPlan::mapScript()
{
    CFlightPlan plan;
    QCOMPARE(plan.refresh(), QStringLiteral("clearFP();pushFP();"));
    plan.insertAt(at(172800, 7200, 0, "L'Alpe %2 \"O\"\\\n</script>"), 0);
    plan.insertAt(at(-3600, 1260000, 0, "WP001"), 1);   // stored east of 180
    QCOMPARE(plan.refresh(), QStringLiteral("clearFP();addPointToFp(new google.maps.LatLng(48.00000,2.00000),\"L'Alpe %2 \\\"O\\\"\\\\\\n</script>\");"
                                            "addPointToFp(new google.maps.LatLng(-1.00000,-10.00000),\"WP001\");pushFP();"));
}

void TestFlightPlan::edits_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("order");   // from ABC
    QTest::newRow("insert below 0: first") << "insert" << -5 << "XABC";
    QTest::newRow("insert beyond the end: appended") << "insert" << 99 << "ABCX";
    QTest::newRow("remove negative: nothing") << "remove" << -1 << "ABC";
    QTest::newRow("remove beyond the end: nothing") << "remove" << 3 << "ABC";
    QTest::newRow("up the second") << "up" << 1 << "BAC";
    QTest::newRow("up the first: nothing") << "up" << 0 << "ABC";
    QTest::newRow("up beyond the end: nothing") << "up" << 3 << "ABC";
    QTest::newRow("down the second") << "down" << 1 << "ACB";
    QTest::newRow("down the last: nothing") << "down" << 2 << "ABC";
    QTest::newRow("down with no row: nothing") << "down" << -1 << "ABC";
}

void TestFlightPlan::edits()
{
    QFETCH(QString, op);
    QFETCH(int, position);
    CFlightPlan plan;
    for (const char *n : {"A", "B", "C"})
        plan.insertAt(at(0, 0, 0, n), plan.count());
    if (op == "insert")
        plan.insertAt(at(0, 0, 0, "X"), position);
    else if (op == "remove")
        plan.removeAt(position);
    else if (op == "up")
        plan.moveUp(position);
    else
        plan.moveDown(position);
    QString names;
    for (const PointPtr &p : std::as_const(plan.points))
        names += p->name;
    QTEST(names, "order");
}

void TestFlightPlan::sameRecordTwiceKeepsOwnLegs()
{
    CFlightPlan plan;
    const PointPtr home = at(3600, 0, 60, "HOME");
    plan.insertAt(home, 0);
    plan.insertAt(at(0, 0, 60, "TURN"), 1);
    plan.insertAt(home, 2);   // back home: the same search result again
    plan.refresh();
    QVERIFY(plan.points.at(0) == home && plan.points.at(2) != home);
    QCOMPARE(home->course, 180.0);
    QCOMPARE(plan.points.at(2)->name + plan.points.at(2)->time.toString(), QStringLiteral("HOME02:00:00"));
}

void TestFlightPlan::clearKeepsVersionAndCounterForgetsStart()
{
    CFlightPlan plan;
    plan.version = 4;
    plan.userWaypointCounter = 1233;
    const PointPtr start = plan.startPoint = plan.newPoint();
    start->heading = 90;
    plan.insertAt(at(0, 0), 0);
    plan.placeStartByUser(45, 5);
    plan.clear();
    QVERIFY(plan.isEmpty());
    QCOMPARE(plan.version, 4);
    QCOMPARE(plan.nextUserWaypointName(QStringLiteral("WP%1")), QStringLiteral("WP%11234"));
    // The same record, its position forgotten, its heading kept.
    QVERIFY(plan.startPoint == start);
    QCOMPARE(plan.startPlacement, CFlightPlan::StartPlacement::None);
    QCOMPARE(QList<double>({start->latitude, start->longitude, start->heading}), QList<double>({0, 0, 90}));
}

void TestFlightPlan::startFollowsFirstAirport_data()
{
    // Steps, each followed by a refresh as the window does: "+X" appends,
    // "0X" inserts first (X an airport LFPG or LFPO, or NAV), "user" places
    // the start by hand, "del0" deletes the first line, "up1" moves the
    // second line up, "clear" is "Nouveau", "undo" and "redo" take back and
    // make again the last change.
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
            else {
                const QString name = step.mid(1);
                PointPtr p = at(name == "LFPG" ? 176435 : name == "LFPO" ? 175415 : 170000, name == "LFPG" ? 9225 : -8521, 0, name);
                p->usage = name == "NAV" ? QStringLiteral("snav") : QStringLiteral("airp");
                plan.insertAt(p, step.startsWith(u'+') ? plan.count() : 0);
            }
            if (!plan.isEmpty())
                plan.refresh();
        }
    }
    QTEST(moved, "moves");
    // Placement, then the position in arc-seconds, held east-positive.
    const QMap<QString, QString> expected = {
            {"none", "0 0 0"}, {"user", "2 162000 18000"}, {"LFPG", "1 176435 9225"}, {"LFPO", "1 175415 1287479"}};
    QCOMPARE(QStringLiteral("%1 %2 %3").arg(int(plan.startPlacement)).arg(QString::number(plan.startPoint->latitude, 'f', 0),
                                                                        QString::number(plan.startPoint->longitude, 'f', 0)),
             expected.value(start));
}

QTEST_GUILESS_MAIN(TestFlightPlan)
#include "tst_flightplan.moc"
