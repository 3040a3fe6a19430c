// The flight plan: legs and times, the map script, the grid cells, the
// list operations and the start-position rule; the files the simulator
// reads (the flight plan, the situation and the start-up entry of its ini
// file); the aircraft figures read from the POD archives.

#include "app/navglobalvar.h"
#include "data/textfile.h"
#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "flightplan/fplfile.h"
#include "flightplan/planchange.h"
#include "flightplan/podmgr.h"
#include "flightplan/sitfile.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/simfixture.h"
#include "tools/simtree/simtree.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <memory>
#include <optional>

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

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// The file written for LFPG to LSZH, version 1, ceiling 14000: written in
// Latin-1 (the dash has no Latin-1 byte), one line per value.
const QByteArray LfpgLszh =
        "<bgno> == Generated with corvane Navigator ==\n"
        "\t<form> ---- Format Type -----------------\n\twpno=1, format=FM01\n"
        "\t<desc> ========== Description ===========\n\tFlight plan from LFPG to LSZH\n"
        "\t<vers> ---------- Version number --------\n\t1\n\t<ceil> -----------Average ceil ----------\n\t14000\n"
        "\t<wpnt> --------- Waypoint ---------------\n\tairp\n\t<bgno> ========== BEGIN OBJECT ==========\n"
        "\t\t<name> ---------- Waypoint name ---------\n\t\tParis Charles De Gaulle\n"
        "\t\t<iden> ---------- Waypoint identity -----\n\t\tLFPG\n"
        "\t\t<llps> ---------- Lat/lon,alt position --\n\t\t176435.072,9225.430,392\n"
        "\t\t<dbky> ---------- Database key ----------\n\t\tLFPG\n"
        "\t\t<user> ---------- Waypoint usage --------\n\t\tairp\n"
        "\t\t<altd> --- Altitude (feet) at WPT -------\n\t\t392\n"
        "\t\t<tkof> --- Take off runway --------------\n\t\t27L\n"
        "\t\t<land> --- Landing runway ---------------\n\t\t\n"
        "\t\t<mark> --- Terminated mark- -------------\n\t\t\n\t<endo> ========== END OBJECT ============\n"
        "\t<wpnt> --------- Waypoint ---------------\n\tairp\n\t<bgno> ========== BEGIN OBJECT ==========\n"
        "\t\t<name> ---------- Waypoint name ---------\n\t\tZ\xFCrich ? Kloten\n"
        "\t\t<iden> ---------- Waypoint identity -----\n\t\tLSZH\n"
        "\t\t<llps> ---------- Lat/lon,alt position --\n\t\t-171285.500,1296000.000,-12\n"
        "\t\t<dbky> ---------- Database key ----------\n\t\tLSZH\n"
        "\t\t<user> ---------- Waypoint usage --------\n\t\tairp\n"
        "\t\t<altd> --- Altitude (feet) at WPT -------\n\t\t1416\n"
        "\t\t<tkof> --- Take off runway --------------\n\t\t\n"
        "\t\t<land> --- Landing runway ---------------\n\t\t14\n"
        "\t\t<mark> --- Terminated mark- -------------\n\t\t%1\n\t<endo> ========== END OBJECT ============\n"
        "<endo> ========== END OBJECT ============\n";

} // namespace

class TestFlightPlan : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        CNavGlobalVar::setSettingsPath(m_settings.filePath(QStringLiteral("navigator.ini")));
    }

    // a plan of two airports on a simulator tree of its own
    void init()
    {
        m_sim = std::make_unique<SimFixture>();
        QVERIFY(m_sim->buildSkeleton());
        CNavGlobalVar *config = CNavGlobalVar::instance();
        config->dirCorvane = QDir(m_sim->root());
        m_plan = std::make_unique<CFlightPlan>(config);
        m_plan->startPoint = m_plan->newPoint();
        m_plan->aircraft->ceiling = 14000;
        for (const PointPtr &p : {at(176435.072, 9225.43, 0, "LFPG"), at(-171285.5, 1295999.9996, 0, "LSZH")}) {
            p->kind = p->usage = QStringLiteral("airp");
            p->dbKey = p->ident;
            p->takeoffRunway = p->landingRunway = QString();
            m_plan->points << p;
        }
        CFlightPlanPoint &lfpg = *m_plan->points.first(), &lszh = *m_plan->points.last();
        lfpg.name = QStringLiteral("Paris Charles De Gaulle");
        lfpg.elevation = lfpg.altitude = 392;
        lfpg.takeoffRunway = QStringLiteral("27L");
        lszh.name = QString::fromUtf8("Zürich –\nKloten");
        lszh.elevation = -12;
        lszh.altitude = 1416;
        lszh.landingRunway = QStringLiteral("14");
        lszh.mark = QStringLiteral("%1");
    }

    void legs_data()
    {
        // Positions in arc-seconds, longitudes east-positive over a full turn
        // as the databases hold them; long legs checked against the haversine
        // distance and the usual initial bearing.
        QTest::addColumn<QList<double>>("positions");   // latA, lonA, latB, lonB
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("course");
        QTest::addColumn<double>("distance");
        QTest::addColumn<int>("duration");
        QTest::newRow("across the prime meridian eastwards") << QList<double>{0, 1295000, 0, 1000} << 100 << 90.0 << 2000.0 / 60 << 20;
        QTest::newRow("speed 0 has no duration") << QList<double>{3600, 0, 0, 0} << 0 << 180.0 << 60.0 << 0;
        QTest::newRow("equal points, their cosine a hair above 1") << QList<double>{100000, 9198, 100000, 9198} << 130 << 0.0 << 0.0 << 0;
        QTest::newRow("Sydney to Santiago, across the date line") << QList<double>{-121927.68, 544353.48, -120416.04, 1041590.52}
                                                                  << 450 << 145.282670565 << 6122.607638893 << 816;
    }

    void legs()
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

    void timesAndGridCells()
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

    void mapScript()
    {
        CFlightPlan plan;
        QCOMPARE(plan.refresh(), QStringLiteral("clearFP();pushFP();"));
        plan.insertAt(at(172800, 7200, 0, "L'Alpe %2 \"O\"\\\n</script>"), 0);
        plan.insertAt(at(-3600, 1260000, 0, "WP001"), 1);   // stored east of 180
        QCOMPARE(plan.refresh(), QStringLiteral("clearFP();addPointToFp(new google.maps.LatLng(48.00000,2.00000),\"L'Alpe %2 \\\"O\\\"\\\\\\n</script>\");"
                                                "addPointToFp(new google.maps.LatLng(-1.00000,-10.00000),\"WP001\");pushFP();"));
    }

    void edits()
    {
        CFlightPlan plan;
        const auto order = [&plan] {
            QString names;
            for (const PointPtr &p : std::as_const(plan.points))
                names += p->name;
            return names;
        };
        plan.insertAt(at(0, 0, 0, "B"), 99);   // beyond the end: appended
        plan.insertAt(at(0, 0, 0, "C"), 99);
        plan.insertAt(at(0, 0, 0, "A"), -5);   // below 0: first
        // No current row, or no neighbour to swap with: nothing.
        plan.removeAt(-1);
        plan.moveUp(0);
        plan.moveDown(2);
        plan.moveDown(-1);
        QCOMPARE(order(), QStringLiteral("ABC"));
        plan.moveUp(1);
        plan.moveDown(1);
        QCOMPARE(order(), QStringLiteral("BCA"));
        // The same search result again (back home): a copy, each line carries its own leg.
        plan.insertAt(plan.points.first(), 3);
        QVERIFY(plan.points.at(3) != plan.points.first() && plan.points.at(3)->name == QStringLiteral("B"));

        // Nouveau keeps the version and the waypoint counter; the start is the
        // same record, its position forgotten, its heading kept.
        plan.version = 4;
        plan.userWaypointCounter = 1233;
        const PointPtr start = plan.startPoint = plan.newPoint();
        start->heading = 90;
        plan.placeStartByUser(45, 5);
        plan.clear();
        QCOMPARE(plan.version, 4);
        QCOMPARE(plan.nextUserWaypointName(QStringLiteral("WP%1")), QStringLiteral("WP%11234"));
        QVERIFY(plan.startPoint == start && plan.startPlacement == CFlightPlan::StartPlacement::None);
        QCOMPARE(QList<double>({start->latitude, start->longitude, start->heading}), QList<double>({0, 0, 90}));
    }

    void startFollowsFirstAirport_data()
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
        QTest::newRow("placed by hand since the airport") << QStringList{"+LFPG", "user", "+LFPO"} << "user" << 1;
        QTest::newRow("placed by hand before the airport") << QStringList{"user", "+LFPG"} << "LFPG" << 1;
        QTest::newRow("a new first airport") << QStringList{"+LFPG", "user", "0LFPO"} << "LFPO" << 2;
        QTest::newRow("moved up to the first line") << QStringList{"+LFPG", "+LFPO", "up1"} << "LFPO" << 2;
        QTest::newRow("first airport deleted, the next one") << QStringList{"+LFPG", "+LFPO", "del0"} << "LFPO" << 2;
        QTest::newRow("airport put before the navaid") << QStringList{"+NAV", "0LFPG"} << "LFPG" << 1;
        QTest::newRow("Nouveau, then another plan") << QStringList{"+LFPG", "user", "clear", "+LFPO"} << "LFPO" << 2;
        QTest::newRow("undone: never placed again") << QStringList{"+LFPG", "undo"} << "none" << 1;
        QTest::newRow("undone: back where the user put it") << QStringList{"user", "+LFPG", "undo"} << "user" << 2;
        QTest::newRow("placed by hand since: undo keeps it") << QStringList{"+LFPG", "user", "undo"} << "user" << 1;
        QTest::newRow("placed by hand since: redo keeps it") << QStringList{"+LFPG", "undo", "user", "redo"} << "user" << 1;
        QTest::newRow("first airport deleted, undone") << QStringList{"+LFPG", "+LFPO", "del0", "undo"} << "LFPG" << 3;
        QTest::newRow("Nouveau undone") << QStringList{"+LFPG", "clear", "undo"} << "LFPG" << 2;
        QTest::newRow("move undone, then redone") << QStringList{"+LFPG", "+LFPO", "up1", "undo", "redo"} << "LFPO" << 4;
    }

    void startFollowsFirstAirport()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, start);
        CFlightPlan plan;
        plan.startPoint = plan.newPoint();
        int moved = 0;
        plan.startMoved = [&moved] { ++moved; };
        QList<CPlanChange> done, undone;
        plan.changeRecorded = [&](const CPlanChange &change) { done << change, undone.clear(); };
        for (const QString &step : steps) {
            const QString name = step.mid(1);
            PointPtr p = at(name == "LFPG" ? 176435 : name == "LFPO" ? 175415 : 170000, name == "LFPG" ? 9225 : -8521, 0, name);
            p->usage = name == "NAV" ? QStringLiteral("snav") : QStringLiteral("airp");
            std::optional<CFlightPlan::ChangeScope> change;   // the edits, refreshed as the window does
            if (step != "user" && !step.endsWith(QStringLiteral("do")))
                change.emplace(plan, CFlightPlan::ChangeKind::Add);
            if (step == "user")
                plan.placeStartByUser(45, 5);
            else if (step == "undo")
                (undone << done.takeLast()).last().undo(plan);
            else if (step == "redo")
                (done << undone.takeLast()).last().redo(plan);
            else if (step == "del0")
                plan.removeAt(0);
            else if (step == "up1")
                plan.moveUp(1);
            else if (step == "clear")
                plan.clear();
            else
                plan.insertAt(p, step.startsWith(u'+') ? plan.count() : 0);
            if (change && !plan.isEmpty())
                plan.refresh();
        }
        QTEST(moved, "moves");
        // Placement, then the position in arc-seconds, held east-positive.
        const QMap<QString, QString> expected = {
                {"none", "0 0 0"}, {"user", "2 162000 18000"}, {"LFPG", "1 176435 9225"}, {"LFPO", "1 175415 1287479"}};
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(int(plan.startPlacement)).arg(QString::number(plan.startPoint->latitude, 'f', 0),
                                                                            QString::number(plan.startPoint->longitude, 'f', 0)),
                 expected.value(start));
    }

    void fplBytes()
    {
        QVERIFY(FplFile::saveFpl(*m_plan, QStringLiteral("LFPG_LSZH.FPL")));
        const QByteArray bytes = readFile(m_sim->path(QStringLiteral("Flightplan/LFPG_LSZH.FPL")));
        QCOMPARE(bytes, LfpgLszh);

        // Read back (as Latin-1, the bytes are no UTF-8) into a plan that
        // counted a user waypoint: every field returns, the plan writes the
        // same file, one version on.
        CFlightPlan other(m_plan->config);
        other.aircraft->ceiling = 14000;
        other.version = 5;
        other.nextUserWaypointName(QStringLiteral("WP"));
        FplFile::loadText(other, TextFile::decode(bytes));
        QCOMPARE(other.points.size(), 2);
        QCOMPARE(other.userWaypointCounter, 3);   // every point read counts
        QVERIFY(FplFile::saveFpl(other, QStringLiteral("AGAIN.FPL")));
        QCOMPARE(readFile(m_sim->path(QStringLiteral("Flightplan/AGAIN.FPL"))), QByteArray(LfpgLszh).replace("\t1\n", "\t2\n"));
    }

    void reader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("point");   // kind|name|lat|lon|elevation|altitude|mark
        QTest::newRow("CRLF line ends, space indentation, tag lines with extra text")
                << QByteArray("<wpnt> x\r\n  airp\r\n  <name> word\r\n  Orly \r\n<llps>junk\r\n1.5,2.5,3\r\n<altd> ft\r\n 1200 \r\n<mark>?\r\nM\r\n")
                << "airp|Orly|1.5|2.5|3|1200|M";
        QTest::newRow("position with latitude only") << QByteArray("<wpnt>\nuswp\n<llps>\n100\n") << "uswp||100|0|0|0|";
        QTest::newRow("numbers that do not read") << QByteArray("<wpnt>\nuswp\n<llps>\nnan,-inf,7\n<altd>\nhigh\n") << "uswp||0|0|7|0|";
        QTest::newRow("value looking like a tag is a value, tag on the last line")
                << QByteArray("<wpnt>\nuswp\n<name>\n<mark>\n<mark>") << "uswp|<mark>|0|0|0|0|";
        QTest::newRow("tags before the first point, unknown and upper-case lines")
                << QByteArray("hello\n<name>\nLOST\n<llps>\n1,2,3\n<wpnt>\nsnav\nstray\n<zzzz>\n<NAME>\nQ\n<name>\nP\n")
                << "snav|P|0|0|0|0|";
        QTest::newRow("UTF-8") << QByteArray("<wpnt>\nairp\n<name>\nZ\xC3\xBCrich \xE2\x80\x93 K\n")
                               << QString::fromUtf8("airp|Zürich – K|0|0|0|0|");
        QTest::newRow("Latin-1 that starts like UTF-8") << QByteArray("<wpnt>\nairp\n<name>\n\xC3 A\n")
                                                        << QString::fromUtf8("airp|Ã A|0|0|0|0|");
    }

    void reader()
    {
        QFETCH(QByteArray, bytes);
        const FplFile::Content content = FplFile::parse(TextFile::decode(bytes), []() {
            PointPtr p = PointPtr::create();
            p->speed = 111;   // the fields the file does not carry keep the plan's defaults
            return p;
        });
        QCOMPARE(content.points.size(), 1);
        QCOMPARE(content.waypointTags, 1);
        const CFlightPlanPoint &p = *content.points.first();
        QTEST(QStringList({p.kind, p.name, QString::number(p.latitude), QString::number(p.longitude),
                           QString::number(p.elevation), QString::number(p.altitude), p.mark}).join(u'|'), "point");
        QCOMPARE(p.speed, 111);
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");   // empty: the situation file of the first point's name
        QTest::addColumn<QString>("file");
        QTest::newRow("plan, separators stay in the folder") << "../A\\B" << "C:D/E" << ".._A_B_C_D_E.FPL";
        QTest::newRow("situation, characters Windows refuses") << "Nice/Cote d'Azur\\:*?\"<>|\t" << "" << "NICE_COTE D'AZUR_________.SIT";
        QTest::newRow("situation, accents kept, letters outside Latin-1 not")
                << QString::fromUtf8("Besançon Łódź Пу") << "" << QString::fromUtf8("BESANÇON _ÓD_ __.SIT");
        QTest::newRow("situation, capital outside Latin-1") << QString::fromUtf8("Laÿ µ") << "" << QStringLiteral("LA_ _.SIT");
    }

    void fileNames()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, file);
        if (!last.isEmpty()) {
            QCOMPARE(FplFile::fileName(first, last), file);
            return;
        }
        QCOMPARE(SitFile::fileName(first), file);
        // The 8-bit ini entry names that very file.
        QCOMPARE(QString::fromLatin1(TextFile::toLatin1(SitFile::iniEntry(file))), QStringLiteral("startupSituation=Saved Simulations/") + file);
    }

    void sitBytes()
    {
        // The marker moved off the airport, a hair below whole minutes (the
        // seconds that round to 60 are carried), 2 40' W held east-positive.
        m_plan->startPoint->latitude = 175199.999;
        m_plan->startPoint->longitude = 1286400;
        m_plan->startPoint->altitude = 3500;
        m_plan->startPoint->heading = 90;
        QVERIFY(SitFile::saveSit(*m_plan, QStringLiteral("PARIS.SIT")));
        QCOMPARE(readFile(m_sim->path(QStringLiteral("Saved Simulations/PARIS.SIT"))),
                 QByteArray("<bgno> ========== LFPG =====\n\t<wobj> ---- world object type ----\n\tplan\n"
                            "\t<bgno> ========== BEGIN OBJECT ==========\n"
                            "\t\t<geop> ---- geo position lat lon elev ----\n\t\t48 40' 00.00\" N\n\t\t002 40' 00.00\" W\n\t\t3500\n"
                            "\t\t<_NFO> ---- Vehicle Info Files ----\n\t\tcessna172.nfo\n"
                            "\t\t<user> ---- Default user vehicle ----\n"
                            "\t\t<iang> ---- Inertial angular position ----\n\t\t0.0,1.57,0.0\n"
                            "\t\t<bvel> ----\n\t\t0.0,0.0,0.0\n\t\t<bang>\n\t\t0.0,0.0,0.0\n"
                            "\t\t<vmod> ---- view mode ----\n\t\tspot\n\t<endo> ========== END OBJECT ============\n"
                            "<endo> ========== END OBJECT ============\n"));
    }

    void iniRewrite_data()
    {
        // The entry names BESANÇON.SIT in Latin-1; "-" stands for no ini file.
        const QByteArray e = "startupSituation=Saved Simulations/BESAN\xC7ON.SIT";
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("CRLF lines kept, the last one loses its line end")
                << QByteArray("[Main]\r\nstartupSituation=OLD.SIT\r\nlanguage=FR\r\n\r\n[SQL]\r\n")
                << "[Main]\r\n" + e + "\r\nlanguage=FR\r\n\r\n[SQL]";
        QTest::newRow("every matching line, prefix only")
                << QByteArray("startupSituation=A\nx=startupSituation\nstartupSituationOld = B\n StartupSituation=C\n")
                << e + "\nx=startupSituation\n" + e + "\n StartupSituation=C";
        QTest::newRow("LF lines, bytes of other lines kept, no final line feed")
                << QByteArray("name=Caf\xE9\t \nstartupSituation=x\n\n\xFF\xFE") << "name=Caf\xE9\t \n" + e + "\n\n\xFF\xFE";
        QTest::newRow("no matching line") << QByteArray("[Main]\nlanguage=FR\n") << QByteArray("[Main]\nlanguage=FR");
        QTest::newRow("no ini file: none written") << QByteArray("-") << QByteArray("<unreadable>");
    }

    void iniRewrite()
    {
        QFETCH(QByteArray, ini);
        const QString path = m_sim->path(QStringLiteral("system/Corvane.ini"));
        QVERIFY(ini == "-" ? QFile::remove(path) : m_sim->writeIni(ini));
        QString error;
        QCOMPARE(SitFile::setStartupSituation(m_sim->root(), QString::fromUtf8("BESANÇON.SIT"), &error),
                 ini == "-" ? SitFile::IniResult::Unreadable : SitFile::IniResult::Rewritten);
        QTEST(readFile(path), "expected");
    }

    void writeFailingPartWay_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("flight plan") << "Flightplan/LFPG_LSZH.FPL";
        QTest::newRow("situation") << "Saved Simulations/PARIS.SIT";
        QTest::newRow("simulator ini") << "system/Corvane.ini";
    }

    // The disk fills while a file is written: the old file stays whole, the
    // writer says it failed and why.
    void writeFailingPartWay()
    {
        QFETCH(QString, file);
        const QString path = m_sim->path(file);
        const QByteArray old = "startupSituation=x\n";   // fits, as does the ini's backup copy
        QVERIFY(TextFile::write(path, old));
        const QString name = file.section(u'/', -1);
        bool written = true;
        QString error;
        {
            FileSizeLimit limit(old.size() + 8);
            QVERIFY(limit.active());
            if (name.endsWith(QStringLiteral(".FPL")))
                written = FplFile::saveFpl(*m_plan, name, &error);
            else if (name.endsWith(QStringLiteral(".SIT")))
                written = SitFile::saveSit(*m_plan, name, &error);
            else
                written = SitFile::setStartupSituation(m_sim->root(), QStringLiteral("PARIS.SIT"), &error)
                        == SitFile::IniResult::Rewritten;
        }
        QVERIFY(!written && !error.isEmpty());
        QCOMPARE(readFile(path), old);
        QCOMPARE(m_plan->version, name.endsWith(QStringLiteral(".FPL")) ? 1 : 0);   // every attempt at the plan counts
    }

    // An archive of the make, an older and a newer SVH entry, and a last one
    // whose data lies past the end of the file: the newer one is read.
    void pod()
    {
        QByteArray bytes = SimTree::packPod({{"A.NFO", "<make>\r\n  Rall\xC3\xBD  \r\n"}, {"OLD.SVH", "<043a>\n100\n"},
                                             {"NEW.SVH", "<acid>\r\n F-TEST \r\n<043a>\r\n 120 \r\n<048a>\r\n130\r\n<045a>\r\n700\r\n"
                                                         "<044a>\r\n60\r\nservice <CEIL> feet\r\n12000"},
                                             {"BAD.SVH", "<043a>\n6\n"}});
        qToLittleEndian<qint32>(1 << 30, bytes.data() + qFromLittleEndian<qint32>(bytes.constData() + 264) + 3 * 20 + 8);
        const QString path = m_sim->path(QStringLiteral("test.pod"));
        QVERIFY(TextFile::write(path, bytes));
        CPodMgr pod(path);
        CAircraft a;
        pod.extractBySuffix(QStringLiteral("NFO"));
        a.make = pod.tagValue(QStringLiteral("<make>")).trimmed();
        pod.extractBySuffix(QStringLiteral("SVH"));
        a.parse(pod);
        QCOMPARE(QStringList({a.make, a.registration}).join(u'|') + QStringLiteral("|%1|%2|%3|%4|%5").arg(a.maxCruiseSpeed)
                         .arg(a.cruiseSpeed).arg(a.climbRate).arg(a.approachSpeed).arg(a.ceiling),
                 QString::fromUtf8("Rallý|F-TEST|130|120|700|60|12000"));
    }

private:
    QTemporaryDir m_settings;
    std::unique_ptr<SimFixture> m_sim;
    std::unique_ptr<CFlightPlan> m_plan;
};

QTEST_MAIN(TestFlightPlan)
#include "tst_flightplan.moc"
