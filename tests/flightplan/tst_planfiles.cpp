// The files the simulator reads: the flight plan (.fpl), the situation
// (.sit) and the start-up entry of its ini file; the aircraft figures
// read from the POD archives.

#include "app/navglobalvar.h"
#include "data/textfile.h"
#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "flightplan/fplfile.h"
#include "flightplan/podmgr.h"
#include "flightplan/sitfile.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/simfixture.h"
#include "tools/simtree/simtree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

namespace {

PointPtr airport(const QString &ident, const QString &name, double lat, double lon, int elevation)
{
    PointPtr p = PointPtr::create();
    p->kind = p->usage = QStringLiteral("airp");
    p->name = name;
    p->ident = p->dbKey = ident;
    p->latitude = lat;
    p->longitude = lon;
    p->elevation = p->altitude = elevation;
    p->takeoffRunway = p->landingRunway = QString();
    return p;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The file written for LFPG to LSZH, version 1, ceiling 14000: written in
// Latin-1 (the dash has no Latin-1 byte), one line per value.
const QByteArray LfpgLszh =
        "<bgno> == Generated with corvane Navigator ==\n"
        "\t<form> ---- Format Type -----------------\n\twpno=1, format=FM01\n"
        "\t<desc> ========== Description ===========\n\tFlight plan from LFPG to LSZH\n"
        "\t<vers> ---------- Version number --------\n\t1\n"
        "\t<ceil> -----------Average ceil ----------\n\t14000\n"
        "\t<wpnt> --------- Waypoint ---------------\n\tairp\n"
        "\t<bgno> ========== BEGIN OBJECT ==========\n"
        "\t\t<name> ---------- Waypoint name ---------\n\t\tParis Charles De Gaulle\n"
        "\t\t<iden> ---------- Waypoint identity -----\n\t\tLFPG\n"
        "\t\t<llps> ---------- Lat/lon,alt position --\n\t\t176435.072,9225.430,392\n"
        "\t\t<dbky> ---------- Database key ----------\n\t\tLFPG\n"
        "\t\t<user> ---------- Waypoint usage --------\n\t\tairp\n"
        "\t\t<altd> --- Altitude (feet) at WPT -------\n\t\t392\n"
        "\t\t<tkof> --- Take off runway --------------\n\t\t27L\n"
        "\t\t<land> --- Landing runway ---------------\n\t\t\n"
        "\t\t<mark> --- Terminated mark- -------------\n\t\t\n"
        "\t<endo> ========== END OBJECT ============\n"
        "\t<wpnt> --------- Waypoint ---------------\n\tairp\n"
        "\t<bgno> ========== BEGIN OBJECT ==========\n"
        "\t\t<name> ---------- Waypoint name ---------\n\t\tZ\xFCrich ? Kloten\n"
        "\t\t<iden> ---------- Waypoint identity -----\n\t\tLSZH\n"
        "\t\t<llps> ---------- Lat/lon,alt position --\n\t\t-171285.500,1296000.000,-12\n"
        "\t\t<dbky> ---------- Database key ----------\n\t\tLSZH\n"
        "\t\t<user> ---------- Waypoint usage --------\n\t\tairp\n"
        "\t\t<altd> --- Altitude (feet) at WPT -------\n\t\t1416\n"
        "\t\t<tkof> --- Take off runway --------------\n\t\t\n"
        "\t\t<land> --- Landing runway ---------------\n\t\t14\n"
        "\t\t<mark> --- Terminated mark- -------------\n\t\t%1\n"
        "\t<endo> ========== END OBJECT ============\n"
        "<endo> ========== END OBJECT ============\n";

} // namespace

class TestPlanFiles : public QObject
{
    Q_OBJECT

private:
    // A plan of two airports on a simulator tree of its own.
    struct PlanTree {
        SimFixture sim;
        std::unique_ptr<CFlightPlan> plan;
    };
    std::unique_ptr<PlanTree> makePlanTree();
    QTemporaryDir m_settings;

private slots:
    void initTestCase();
    void fplBytes();
    void reader_data();
    void reader();
    void fileNames_data();
    void fileNames();
    void sitBytes();
    void iniRewrite_data();
    void iniRewrite();
    void writeFailingPartWay_data();
    void writeFailingPartWay();
    void pod_data();
    void pod();
};

void TestPlanFiles::initTestCase()
{
    QVERIFY(m_settings.isValid());
    CNavGlobalVar::setSettingsPath(m_settings.filePath(QStringLiteral("navigator.ini")));
}

std::unique_ptr<TestPlanFiles::PlanTree> TestPlanFiles::makePlanTree()
{
    auto tree = std::make_unique<PlanTree>();
    if (!tree->sim.buildSkeleton())
        return nullptr;
    CNavGlobalVar *config = CNavGlobalVar::instance();
    config->dirCorvane = QDir(tree->sim.root());
    tree->plan = std::make_unique<CFlightPlan>(config);
    tree->plan->startPoint = tree->plan->newPoint();
    tree->plan->aircraft->ceiling = 14000;
    PointPtr lfpg = airport("LFPG", "Paris Charles De Gaulle", 176435.072, 9225.43, 392);
    lfpg->takeoffRunway = QStringLiteral("27L");
    PointPtr lszh = airport("LSZH", QString::fromUtf8("Zürich –\nKloten"), -171285.5, 1295999.9996, -12);
    lszh->altitude = 1416;
    lszh->landingRunway = QStringLiteral("14");
    lszh->mark = QStringLiteral("%1");
    tree->plan->points << lfpg << lszh;
    return tree;
}

void TestPlanFiles::fplBytes()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    QVERIFY(FplFile::saveFpl(*tree->plan, QStringLiteral("LFPG_LSZH.FPL")));
    const QByteArray bytes = readFile(tree->sim.path(QStringLiteral("Flightplan/LFPG_LSZH.FPL")));
    QCOMPARE(bytes, LfpgLszh);

    // Read back (as Latin-1, the bytes are no UTF-8) into a plan that
    // counted a user waypoint: every field returns, the plan writes the
    // same file, one version on.
    CFlightPlan other(tree->plan->config);
    other.aircraft->ceiling = 14000;
    other.version = 5;
    other.nextUserWaypointName(QStringLiteral("WP"));
    FplFile::loadText(other, TextFile::decode(bytes));
    QCOMPARE(other.points.size(), 2);
    QCOMPARE(other.userWaypointCounter, 3);   // every point read counts
    QVERIFY(FplFile::saveFpl(other, QStringLiteral("AGAIN.FPL")));
    QCOMPARE(readFile(tree->sim.path(QStringLiteral("Flightplan/AGAIN.FPL"))), QByteArray(LfpgLszh).replace("\t1\n", "\t2\n"));
}

void TestPlanFiles::reader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("point");   // kind|name|lat|lon|elevation|altitude|mark
    QTest::newRow("CRLF line ends, space indentation")
            << QByteArray("<wpnt>\r\n  airp\r\n    <name>\r\n    Orly \r\n<llps>\r\n1.5,2.5,3\r\n") << "airp|Orly|1.5|2.5|3|0|";
    QTest::newRow("tag lines with extra text")
            << QByteArray("<wpnt> x\nairp\n<name> word\nOrly\n<llps>junk\n1.5,2.5,3\n<altd> feet\n 1200 \n<mark>?\nM\n")
            << "airp|Orly|1.5|2.5|3|1200|M";
    QTest::newRow("position with latitude only") << QByteArray("<wpnt>\nuswp\n<llps>\n100\n") << "uswp||100|0|0|0|";
    QTest::newRow("numbers that do not read")
            << QByteArray("<wpnt>\nuswp\n<llps>\nnan,-inf,7\n<altd>\nhigh\n") << "uswp||0|0|7|0|";
    QTest::newRow("value looking like a tag is a value")
            << QByteArray("<wpnt>\nuswp\n<name>\n<mark>\n<mark>\nX\n") << "uswp|<mark>|0|0|0|0|X";
    QTest::newRow("tag on the last line") << QByteArray("<wpnt>\nuswp\n<name>\nP\n<mark>") << "uswp|P|0|0|0|0|";
    QTest::newRow("tags before the first point, unknown and upper-case lines")
            << QByteArray("hello\n<name>\nLOST\n<llps>\n1,2,3\n<wpnt>\nsnav\nstray\n<zzzz>\n<NAME>\nQ\n<name>\nP\n")
            << "snav|P|0|0|0|0|";
    QTest::newRow("UTF-8") << QByteArray("<wpnt>\nairp\n<name>\nZ\xC3\xBCrich \xE2\x80\x93 K\n")
                           << QString::fromUtf8("airp|Zürich – K|0|0|0|0|");
    QTest::newRow("Latin-1 that starts like UTF-8") << QByteArray("<wpnt>\nairp\n<name>\n\xC3 A\n")
                                                    << QString::fromUtf8("airp|Ã A|0|0|0|0|");
}

void TestPlanFiles::reader()
{
    QFETCH(QByteArray, bytes);
    int created = 0;
    const FplFile::Content content = FplFile::parse(TextFile::decode(bytes), [&created]() {
        ++created;
        PointPtr p = PointPtr::create();
        p->speed = 111;   // the fields the file does not carry keep the plan's defaults
        return p;
    });
    QCOMPARE(content.points.size(), 1);
    QCOMPARE(created, 1);
    QCOMPARE(content.waypointTags, 1);
    const CFlightPlanPoint &p = *content.points.first();
    QTEST(QStringList({p.kind, p.name, QString::number(p.latitude), QString::number(p.longitude),
                       QString::number(p.elevation), QString::number(p.altitude), p.mark}).join(u'|'), "point");
    QCOMPARE(p.speed, 111);
}

void TestPlanFiles::fileNames_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");   // empty: the situation file of the first point's name
    QTest::addColumn<QString>("file");
    QTest::newRow("plan, lower case") << "lfpo" << "wp003" << "LFPO_WP003.FPL";
    QTest::newRow("plan, separators stay in the folder") << "../A\\B" << "C:D/E" << ".._A_B_C_D_E.FPL";
    QTest::newRow("situation, characters Windows refuses") << "Nice/Cote d'Azur\\:*?\"<>|\t" << "" << "NICE_COTE D'AZUR_________.SIT";
    QTest::newRow("situation, accents kept, letters outside Latin-1 not")
            << QString::fromUtf8("Besançon Łódź Пу") << "" << QString::fromUtf8("BESANÇON _ÓD_ __.SIT");
    QTest::newRow("situation, capital outside Latin-1") << QString::fromUtf8("Laÿ µ") << "" << QStringLiteral("LA_ _.SIT");
}

void TestPlanFiles::fileNames()
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

void TestPlanFiles::sitBytes()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    // The marker moved off the airport, a hair below whole minutes: the
    // seconds that round to 60 are carried.
    plan.startPoint->latitude = 175199.999;   // 48 40' N
    plan.startPoint->longitude = 1286400;     // 2 40' W, held east-positive
    plan.startPoint->altitude = 3500;
    plan.startPoint->heading = 90;
    QVERIFY(SitFile::saveSit(plan, QStringLiteral("PARIS.SIT")));
    QCOMPARE(readFile(tree->sim.path(QStringLiteral("Saved Simulations/PARIS.SIT"))),
             QByteArray("<bgno> ========== LFPG =====\n"
                        "\t<wobj> ---- world object type ----\n\tplan\n"
                        "\t<bgno> ========== BEGIN OBJECT ==========\n"
                        "\t\t<geop> ---- geo position lat lon elev ----\n\t\t48 40' 00.00\" N\n\t\t002 40' 00.00\" W\n\t\t3500\n"
                        "\t\t<_NFO> ---- Vehicle Info Files ----\n\t\tcessna172.nfo\n"
                        "\t\t<user> ---- Default user vehicle ----\n"
                        "\t\t<iang> ---- Inertial angular position ----\n\t\t0.0,1.57,0.0\n"
                        "\t\t<bvel> ----\n\t\t0.0,0.0,0.0\n"
                        "\t\t<bang>\n\t\t0.0,0.0,0.0\n"
                        "\t\t<vmod> ---- view mode ----\n\t\tspot\n"
                        "\t<endo> ========== END OBJECT ============\n"
                        "<endo> ========== END OBJECT ============\n"));
}

void TestPlanFiles::iniRewrite_data()
{
    // The entry names BESANÇON.SIT in Latin-1; "-" stands for no ini file.
    const QByteArray e = "startupSituation=Saved Simulations/BESAN\xC7ON.SIT";
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("LF lines, no final line feed") << QByteArray("[Main]\nstartupSituation=OLD.SIT\nother=1") << "[Main]\n" + e + "\nother=1";
    QTest::newRow("CRLF lines kept, the last one loses its line end")
            << QByteArray("[Main]\r\nstartupSituation=OLD.SIT\r\nlanguage=FR\r\n\r\n[SQL]\r\n")
            << "[Main]\r\n" + e + "\r\nlanguage=FR\r\n\r\n[SQL]";
    QTest::newRow("every matching line, prefix only")
            << QByteArray("startupSituation=A\nx=startupSituation\nstartupSituationOld = B\n StartupSituation=C\n")
            << e + "\nx=startupSituation\n" + e + "\n StartupSituation=C";
    QTest::newRow("no matching line, bytes of other lines kept")
            << QByteArray("name=Caf\xE9\t \n\n\xFF\xFE\n") << QByteArray("name=Caf\xE9\t \n\n\xFF\xFE");
    QTest::newRow("no ini file: none written") << QByteArray("-") << QByteArray("<unreadable>");
}

void TestPlanFiles::iniRewrite()
{
    QFETCH(QByteArray, ini);
    SimFixture sim;
    QVERIFY(sim.buildSkeleton());
    const QString path = sim.path(QStringLiteral("system/Corvane.ini"));
    QVERIFY(ini == "-" ? QFile::remove(path) : sim.writeIni(ini));
    QString error;
    QCOMPARE(SitFile::setStartupSituation(sim.root(), QString::fromUtf8("BESANÇON.SIT"), &error),
             ini == "-" ? SitFile::IniResult::Unreadable : SitFile::IniResult::Rewritten);
    QTEST(readFile(path), "expected");
}

void TestPlanFiles::writeFailingPartWay_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("flight plan") << "Flightplan/LFPG_LSZH.FPL";
    QTest::newRow("situation") << "Saved Simulations/PARIS.SIT";
    QTest::newRow("simulator ini") << "system/Corvane.ini";
}

// The disk fills while a file is written: the old file stays whole, the
// writer says it failed and why.
void TestPlanFiles::writeFailingPartWay()
{
    QFETCH(QString, file);
    auto tree = makePlanTree();
    QVERIFY(tree);
    const QString path = tree->sim.path(file);
    const QByteArray old = "startupSituation=x\n";   // fits, as does the ini's backup copy
    QVERIFY(writeFile(path, old));
    const QString name = QFileInfo(path).fileName();
    bool written = true;
    QString error;
    {
        FileSizeLimit limit(old.size() + 8);
        QVERIFY(limit.active());
        if (name.endsWith(QStringLiteral(".FPL")))
            written = FplFile::saveFpl(*tree->plan, name, &error);
        else if (name.endsWith(QStringLiteral(".SIT")))
            written = SitFile::saveSit(*tree->plan, name, &error);
        else
            written = SitFile::setStartupSituation(tree->sim.root(), QStringLiteral("PARIS.SIT"), &error)
                    == SitFile::IniResult::Rewritten;
    }
    QVERIFY(!written && !error.isEmpty());
    QCOMPARE(readFile(path), old);
    QCOMPARE(tree->plan->version, name.endsWith(QStringLiteral(".FPL")) ? 1 : 0);   // every attempt at the plan counts
}

void TestPlanFiles::pod_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("aircraft");   // make|registration|max cruise|cruise|climb|approach|ceiling
    QTest::newRow("CRLF, padded values, two SVH entries: the later wins")
            << SimTree::packPod({{"A.NFO", "<make>\r\n  Rall\xC3\xBD  \r\n"}, {"NEW.SVH", "<043a>\n100\n"},
                                 {"A.SVH", "<acid>\r\n F-TEST \r\n<043a>\r\n 120 \r\n<048a>\r\n130\r\n<045a>\r\n700\r\n"
                                           "<044a>\r\n60\r\nservice <CEIL> feet\r\n12000"}})
            << QString::fromUtf8("Rallý|F-TEST|130|120|700|60|12000");
    // The later SVH entry's data lies past the end of the file.
    QByteArray bad = SimTree::packPod({{"A.SVH", "<043a>\n5\n"}, {"B.SVH", "<043a>\n6\n"}});
    qToLittleEndian<qint32>(1 << 30, bad.data() + qFromLittleEndian<qint32>(bad.constData() + 264) + 28);
    QTest::newRow("a bad entry does not hide an earlier good one") << bad << "||0|5|0|0|0";
}

void TestPlanFiles::pod()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("test.pod"));
    QVERIFY(writeFile(path, bytes));
    CPodMgr pod(path);
    CAircraft a;
    pod.extractBySuffix(QStringLiteral("NFO"));
    a.make = pod.tagValue(QStringLiteral("<make>")).trimmed();
    pod.extractBySuffix(QStringLiteral("SVH"));
    a.parse(pod);
    QTEST(QStringList({a.make, a.registration}).join(u'|') + QStringLiteral("|%1|%2|%3|%4|%5").arg(a.maxCruiseSpeed)
                  .arg(a.cruiseSpeed).arg(a.climbRate).arg(a.approachSpeed).arg(a.ceiling), "aircraft");
}

QTEST_MAIN(TestPlanFiles)
#include "tst_planfiles.moc"
