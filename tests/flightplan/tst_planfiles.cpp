// Flight-plan files, the situation file and the simulator's ini entry, POD
// archives and the aircraft records, and the window slots that use them.

#include "app/navglobalvar.h"
#include "data/textfile.h"
#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "flightplan/fplfile.h"
#include "flightplan/podmgr.h"
#include "flightplan/sitfile.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"
#include "tests/support/windowfixture.h"
#include "tools/simtree/simtree.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

namespace {

PointPtr airport(const QString &ident, const QString &name, double lat, double lon, int elevation)
{
    PointPtr p = PointPtr::create();
    p->kind = QStringLiteral("airp");
    p->name = name;
    p->ident = ident;
    p->latitude = lat;
    p->longitude = lon;
    p->elevation = elevation;
    p->dbKey = ident;
    p->usage = QStringLiteral("airp");
    p->altitude = elevation;
    p->takeoffRunway = QString();
    p->landingRunway = QString();
    p->mark = QString();
    return p;
}

PointPtr lfpg() { return airport("LFPG", "Paris Charles De Gaulle", 176435.072, 9225.43, 392); }
PointPtr egll() { return airport("EGLL", "London Heathrow", 185296.384, -1659.52, 83); }
PointPtr lfpo() { return airport("LFPO", "Paris Orly", 175414.897, 8521.304, 291); }

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Makes writing into a folder fail: the folder becomes read-only, and since
// the superuser writes into read-only folders anyway, files may not grow
// past a few bytes either while the guard lives.
class WriteBlocker
{
public:
    explicit WriteBlocker(const QString &folder, qint64 maxFileSize = 16)
        : m_folder(folder)
        , m_permissions(QFile::permissions(folder))
    {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser);
        m_limit = std::make_unique<FileSizeLimit>(maxFileSize);
    }
    ~WriteBlocker()
    {
        m_limit.reset();
        QFile::setPermissions(m_folder, m_permissions);
    }

private:
    QString m_folder;
    QFile::Permissions m_permissions;
    std::unique_ptr<FileSizeLimit> m_limit;
};

// A POD archive written by hand, for damaged and hostile layouts.
QByteArray podHeader(qint32 count, qint32 directoryOffset)
{
    QByteArray header(276, '\0');
    header.replace(0, 4, "POD3");
    qToLittleEndian<qint32>(count, header.data() + 88);
    qToLittleEndian<qint32>(directoryOffset, header.data() + 264);
    return header;
}

QByteArray podEntry(qint32 size, qint32 offset)
{
    QByteArray entry(20, '\0');
    qToLittleEndian<qint32>(size, entry.data() + 4);
    qToLittleEndian<qint32>(offset, entry.data() + 8);
    return entry;
}

// The file as written for LFPG to EGLL, version 1, ceiling 14000.
const char *const LfpgEgll =
        "<bgno> == Generated with corvane Navigator ==\n"
        "\t<form> ---- Format Type -----------------\n"
        "\twpno=1, format=FM01\n"
        "\t<desc> ========== Description ===========\n"
        "\tFlight plan from LFPG to EGLL\n"
        "\t<vers> ---------- Version number --------\n"
        "\t1\n"
        "\t<ceil> -----------Average ceil ----------\n"
        "\t14000\n"
        "\t<wpnt> --------- Waypoint ---------------\n"
        "\tairp\n"
        "\t<bgno> ========== BEGIN OBJECT ==========\n"
        "\t\t<name> ---------- Waypoint name ---------\n"
        "\t\tParis Charles De Gaulle\n"
        "\t\t<iden> ---------- Waypoint identity -----\n"
        "\t\tLFPG\n"
        "\t\t<llps> ---------- Lat/lon,alt position --\n"
        "\t\t176435.072,9225.430,392\n"
        "\t\t<dbky> ---------- Database key ----------\n"
        "\t\tLFPG\n"
        "\t\t<user> ---------- Waypoint usage --------\n"
        "\t\tairp\n"
        "\t\t<altd> --- Altitude (feet) at WPT -------\n"
        "\t\t392\n"
        "\t\t<tkof> --- Take off runway --------------\n"
        "\t\t\n"
        "\t\t<land> --- Landing runway ---------------\n"
        "\t\t\n"
        "\t\t<mark> --- Terminated mark- -------------\n"
        "\t\t\n"
        "\t<endo> ========== END OBJECT ============\n"
        "\t<wpnt> --------- Waypoint ---------------\n"
        "\tairp\n"
        "\t<bgno> ========== BEGIN OBJECT ==========\n"
        "\t\t<name> ---------- Waypoint name ---------\n"
        "\t\tLondon Heathrow\n"
        "\t\t<iden> ---------- Waypoint identity -----\n"
        "\t\tEGLL\n"
        "\t\t<llps> ---------- Lat/lon,alt position --\n"
        "\t\t185296.384,-1659.520,83\n"
        "\t\t<dbky> ---------- Database key ----------\n"
        "\t\tEGLL\n"
        "\t\t<user> ---------- Waypoint usage --------\n"
        "\t\tairp\n"
        "\t\t<altd> --- Altitude (feet) at WPT -------\n"
        "\t\t83\n"
        "\t\t<tkof> --- Take off runway --------------\n"
        "\t\t\n"
        "\t\t<land> --- Landing runway ---------------\n"
        "\t\t\n"
        "\t\t<mark> --- Terminated mark- -------------\n"
        "\t\t\n"
        "\t<endo> ========== END OBJECT ============\n"
        "<endo> ========== END OBJECT ============\n";

// A short file of three points as another tool might write it.
const char *const ThreePoints =
        "<bgno>\n<vers>\n\t7\n"
        "<wpnt>\nairp\n<name>\nA\n<iden>\nAAAA\n<llps>\n1,2,3\n"
        "<wpnt>\nuswp\n<name>\nB\n<iden>\nB\n<llps>\n4,5,0\n"
        "<wpnt>\nairp\n<name>\nC\n<iden>\nCCCC\n<llps>\n6,7,8\n<endo>\n";

} // namespace

class TestPlanFiles : public QObject
{
    Q_OBJECT

private:
    // A plan on a simulator tree of its own.
    struct PlanTree {
        SimFixture sim;
        std::unique_ptr<CFlightPlan> plan;
    };
    std::unique_ptr<PlanTree> makePlanTree();
    QTemporaryDir m_settings;

private slots:
    void initTestCase();
    void cleanup();

    // Flight-plan file
    void fplBytes();
    void fplEmptyFields();
    void fplVersionRisesOnEverySave();
    void positionLine_data();
    void positionLine();
    void fileName_data();
    void fileName();
    void sitFileName_data();
    void sitFileName();
    void readerTolerance_data();
    void readerTolerance();
    void readerIgnoresTagsBeforeFirstPoint();
    void roundTrip();
    void loadRaisesUserWaypointCounter();
    void loadTakesVersion();
    void loadAsksForFile();
    void latin1Writing();
    void decoding_data();
    void decoding();
    void failedWriteKeepsOldFile();

    // Situation file and ini entry
    void sitBytes();
    void sitHeading_data();
    void sitHeading();
    void sitHeaderFromFirstPointPositionFromStart();
    void iniRewrite_data();
    void iniRewrite();
    void iniUnreadableLeftAlone();
    void sitFailedWriteKeepsOldFile();

    // POD archives and aircraft
    void podEntries_data();
    void podEntries();
    void podHostile_data();
    void podHostile();
    void podMissingFile();
    void podDemoAircraft();

    // Window
    void windowSaveNeedsTwoPoints();
    void windowSaveWritesAndAsksForStart();
    void windowSaveFailureWarns();
    void windowLoad();
    void windowLoadCancelled();
    void windowSitMarker_data();
    void windowSitMarker();
    void windowHeadingRedrawsMarker();
    void windowMoveSitSendsNothing();
    void windowStartPosNeedsAirport_data();
    void windowStartPosNeedsAirport();
    void windowStartPosOk();
    void windowStartPosCancel();
    void windowAircraftList();
    void windowAircraftActivation();
    void windowDamagedArchiveListed();
    void windowPodDiagnostic();
};

void TestPlanFiles::initTestCase()
{
    QVERIFY(m_settings.isValid());
    CNavGlobalVar::setSettingsPath(m_settings.filePath(QStringLiteral("navigator.ini")));
}

void TestPlanFiles::cleanup()
{
    // Window tests release the configuration with the window; plain tests
    // release it here so each starts from fresh settings.
    CNavGlobalVar::release();
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
    return tree;
}

// ---------------------------------------------------------------- .fpl

void TestPlanFiles::fplBytes()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    plan.aircraft->ceiling = 14000;
    plan.points << lfpg() << egll();

    QVERIFY(FplFile::saveFpl(plan, QStringLiteral("LFPG_EGLL.FPL")));
    const QByteArray bytes = readFile(tree->sim.path(QStringLiteral("Flightplan/LFPG_EGLL.FPL")));
    QCOMPARE(bytes, QByteArray(LfpgEgll));

    // 9 + 2 x 22 + 1 lines, each ended by a line feed, no carriage return.
    QCOMPARE(bytes.count('\n'), 54);
    QVERIFY(bytes.endsWith('\n'));
    QVERIFY(!bytes.contains('\r'));
    QCOMPARE(bytes.split('\n').at(2), QByteArray("\twpno=1, format=FM01"));

    // The plan keeps the entries it wrote.
    QCOMPARE(plan.textLines.join(QString()).toLatin1(), QByteArray(LfpgEgll));
    QCOMPARE(plan.textLines.first(), QStringLiteral("<bgno> == Generated with corvane Navigator ==\n"));
}

void TestPlanFiles::fplEmptyFields()
{
    const QStringList empty = FplFile::buildEntries({}, 0, 0);
    QCOMPARE(empty.join(QString()), QStringLiteral("<bgno> == Generated with corvane Navigator ==\n"
                                                   "\t<form> ---- Format Type -----------------\n"
                                                   "\twpno=1, format=FM01\n"
                                                   "\t<desc> ========== Description ===========\n"
                                                   "\tFlight plan from  to \n"
                                                   "\t<vers> ---------- Version number --------\n"
                                                   "\t0\n"
                                                   "\t<ceil> -----------Average ceil ----------\n"
                                                   "\t0\n"
                                                   "<endo> ========== END OBJECT ============\n"));
    // Values are written as they stand: no quoting, no escaping.
    PointPtr odd = lfpo();
    odd->name = QStringLiteral("O'Hare \"Intl\" %2 <x>");
    odd->mark = QStringLiteral("%1");
    const QString text = FplFile::buildEntries({odd}, 3, 0).join(QString());
    QVERIFY(text.contains(QStringLiteral("\n\t\tO'Hare \"Intl\" %2 <x>\n")));
    QVERIFY(text.contains(QStringLiteral("\t\t<mark> --- Terminated mark- -------------\n\t\t%1\n")));
}

void TestPlanFiles::fplVersionRisesOnEverySave()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    plan.points << lfpg() << egll();
    const QString path = tree->sim.path(QStringLiteral("Flightplan/LFPG_EGLL.FPL"));

    QVERIFY(FplFile::saveFpl(plan, QStringLiteral("LFPG_EGLL.FPL")));
    QCOMPARE(readFile(path).split('\n').at(6), QByteArray("\t1"));
    QVERIFY(FplFile::saveFpl(plan, QStringLiteral("LFPG_EGLL.FPL")));
    QCOMPARE(readFile(path).split('\n').at(6), QByteArray("\t2"));

    // A save that cannot write still counts.
    QVERIFY(QDir(tree->sim.path(QStringLiteral("Flightplan"))).removeRecursively());
    QString error;
    QVERIFY(!FplFile::saveFpl(plan, QStringLiteral("LFPG_EGLL.FPL"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(plan.version, 3);
    QVERIFY(QDir(tree->sim.root()).mkdir(QStringLiteral("Flightplan")));
    QVERIFY(FplFile::saveFpl(plan, QStringLiteral("LFPG_EGLL.FPL")));
    QCOMPARE(readFile(path).split('\n').at(6), QByteArray("\t4"));
}

void TestPlanFiles::positionLine_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<int>("elevation");
    QTest::addColumn<QString>("line");
    QTest::newRow("west, small") << 36.0 << -8.5 << 392 << "36.000,-8.500,392";
    QTest::newRow("rounded to 3 decimals") << 174600.12345 << 1295999.9996 << 0 << "174600.123,1296000.000,0";
    QTest::newRow("south, below sea level") << -324000.0 << 648000.0 << -12 << "-324000.000,648000.000,-12";
    QTest::newRow("no thousands separator") << 1234567.0 << 7654321.5 << 12000 << "1234567.000,7654321.500,12000";
}

void TestPlanFiles::positionLine()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(int, elevation);
    QFETCH(QString, line);
    CFlightPlanPoint p;
    p.latitude = lat;
    p.longitude = lon;
    p.elevation = elevation;
    QCOMPARE(FplFile::positionText(p), line);
    const QList<PointPtr> points{PointPtr(new CFlightPlanPoint(p))};
    const QString text = FplFile::buildEntries(points, 1, 0).join(QString());
    QVERIFY(text.contains(QStringLiteral("\t\t<llps> ---------- Lat/lon,alt position --\n\t\t") + line + u'\n'));
}

void TestPlanFiles::fileName_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("name");
    QTest::newRow("airports") << "LFPG" << "EGLL" << "LFPG_EGLL.FPL";
    QTest::newRow("lower case") << "lfpo" << "wp003" << "LFPO_WP003.FPL";
    QTest::newRow("separators stay in the folder") << "../A\\B" << "C:D/E" << ".._A_B_C_D_E.FPL";
}

void TestPlanFiles::fileName()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, name);
    QCOMPARE(FplFile::fileName(first, last), name);
}

void TestPlanFiles::sitFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << "Orly" << "ORLY.SIT";
    QTest::newRow("slash in an airport name") << "Nice/Cote d'Azur" << "NICE_COTE D'AZUR.SIT";
    QTest::newRow("characters Windows refuses") << "a\\b:c*d?e\"f<g>h|i\tj" << "A_B_C_D_E_F_G_H_I_J.SIT";
    QTest::newRow("accents kept") << QString::fromUtf8("Besançon") << QString::fromUtf8("BESANÇON.SIT");
    QTest::newRow("letters outside Latin-1") << QString::fromUtf8("Łódź") << QString::fromUtf8("_ÓD_.SIT");
    QTest::newRow("Cyrillic") << QString::fromUtf8("Пулково") << QStringLiteral("_______.SIT");
    QTest::newRow("capital outside Latin-1") << QString::fromUtf8("Laÿ µ") << QStringLiteral("LA_ _.SIT");
}

void TestPlanFiles::sitFileName()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(SitFile::fileName(name), file);
    QCOMPARE(SitFile::iniEntry(file), QStringLiteral("startupSituation=Saved Simulations/") + file);
    // The 8-bit ini entry names that very file.
    QCOMPARE(QString::fromLatin1(TextFile::toLatin1(SitFile::iniEntry(file))), SitFile::iniEntry(file));
}

void TestPlanFiles::readerTolerance_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<int>("elevation");
    QTest::addColumn<int>("altitude");
    QTest::addColumn<QString>("mark");

    const QString canonical = QString::fromLatin1(LfpgEgll);
    QTest::newRow("as written") << canonical << "Paris Charles De Gaulle" << 176435.072 << 9225.43 << 392 << 392 << "";
    QString spaces = canonical;
    spaces.replace(u'\t', QStringLiteral("    "));
    QTest::newRow("space indentation") << spaces << "Paris Charles De Gaulle" << 176435.072 << 9225.43 << 392 << 392 << "";
    QString crlf = canonical;
    crlf.replace(u'\n', QStringLiteral("\r\n"));
    QTest::newRow("CRLF line ends") << crlf << "Paris Charles De Gaulle" << 176435.072 << 9225.43 << 392 << 392 << "";
    QTest::newRow("tag lines with extra text")
            << "<wpnt> x\nairp\n  <name> word\n Orly \n<llps>junk\n1.5,2.5,3\n<altd> feet\n 1200 \n<mark>?\nM\n"
            << "Orly" << 1.5 << 2.5 << 3 << 1200 << "M";
    QTest::newRow("position without elevation") << "<wpnt>\nuswp\n<name>\nP\n<llps>\n100,200\n" << "P" << 100.0 << 200.0 << 0 << 0 << "";
    QTest::newRow("position with latitude only") << "<wpnt>\nuswp\n<name>\nP\n<llps>\n100\n" << "P" << 100.0 << 0.0 << 0 << 0 << "";
    QTest::newRow("empty position") << "<wpnt>\nuswp\n<name>\nP\n<llps>\n\n" << "P" << 0.0 << 0.0 << 0 << 0 << "";
    QTest::newRow("numbers that do not read") << "<wpnt>\nuswp\n<name>\nP\n<llps>\nabc,nan,12.5\n<altd>\nhigh\n" << "P" << 0.0 << 0.0 << 0 << 0 << "";
    QTest::newRow("infinite position") << "<wpnt>\nuswp\n<name>\nP\n<llps>\ninf,-inf,1\n" << "P" << 0.0 << 0.0 << 1 << 0 << "";
    QTest::newRow("value looking like a tag is a value") << "<wpnt>\nuswp\n<name>\n<mark>\n<mark>\nX\n" << "<mark>" << 0.0 << 0.0 << 0 << 0 << "X";
    QTest::newRow("tag on the last line") << "<wpnt>\nuswp\n<name>\nP\n<mark>" << "P" << 0.0 << 0.0 << 0 << 0 << "";
    QTest::newRow("lower-case tag is no tag") << "<wpnt>\nuswp\n<NAME>\nQ\n<name>\nP\n" << "P" << 0.0 << 0.0 << 0 << 0 << "";
    QTest::newRow("unknown lines ignored") << "hello\n\n<wpnt>\nuswp\nstray\n<zzzz>\n<name>\nP\n" << "P" << 0.0 << 0.0 << 0 << 0 << "";
}

void TestPlanFiles::readerTolerance()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(int, elevation);
    QFETCH(int, altitude);
    QFETCH(QString, mark);

    int created = 0;
    const FplFile::Content content = FplFile::parse(text, [&created]() {
        ++created;
        PointPtr p = PointPtr::create();
        p->speed = 111;
        return p;
    });
    QVERIFY(!content.points.isEmpty());
    QCOMPARE(created, content.points.size());
    QCOMPARE(content.waypointTags, content.points.size());
    const CFlightPlanPoint &p = *content.points.first();
    QCOMPARE(p.name, name);
    QCOMPARE(p.latitude, lat);
    QCOMPARE(p.longitude, lon);
    QCOMPARE(p.elevation, elevation);
    QCOMPARE(p.altitude, altitude);
    QCOMPARE(p.mark, mark);
    QCOMPARE(p.speed, 111);
}

void TestPlanFiles::readerIgnoresTagsBeforeFirstPoint()
{
    const FplFile::Content content = FplFile::parse(
            QStringLiteral("<name>\nLOST\n<iden>\nLOST\n<llps>\n1,2,3\n<wpnt>\nsnav\n<iden>\nPGS\n"),
            []() { return PointPtr::create(); });
    QCOMPARE(content.points.size(), 1);
    QCOMPARE(content.points.first()->kind, QStringLiteral("snav"));
    QCOMPARE(content.points.first()->ident, QStringLiteral("PGS"));
    QCOMPARE(content.points.first()->name, QString());
    QCOMPARE(content.points.first()->latitude, 0.0);
    QVERIFY(!content.hasVersion);
}

void TestPlanFiles::roundTrip()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;

    PointPtr nav = PointPtr::create();
    nav->kind = "snav";
    nav->name = "PARIS ORLY VOR-DME";
    nav->ident = "OL";
    nav->latitude = 175200.5;
    nav->longitude = 8400.25;
    nav->elevation = 300;
    nav->dbKey = "FR4OL1";
    nav->usage = "snav";
    nav->altitude = 5000;
    nav->takeoffRunway = "";
    nav->landingRunway = "";
    nav->navaidType = 17;
    nav->frequency = 111.2;
    nav->heading = 45;
    PointPtr user = PointPtr::create();
    user->kind = "uswp";
    user->name = "WP001";
    user->ident = "WP001";
    user->latitude = 180000;
    user->longitude = 1260000;
    user->dbKey = "NONE";
    user->usage = "uswp";
    user->altitude = 6000;
    user->mark = "T";
    PointPtr fix = PointPtr::create();
    fix->kind = "wayp";
    fix->name = "ABC";
    fix->ident = "ABC";
    fix->latitude = -1000.125;
    fix->longitude = -2000.875;
    fix->dbKey = "NONE";
    fix->usage = "uswp";
    fix->takeoffRunway = "09";
    fix->landingRunway = "27R";
    plan.points << lfpg() << nav << user << fix << egll();
    QVERIFY(FplFile::saveFpl(plan, QStringLiteral("RT.FPL")));

    auto other = std::make_unique<CFlightPlan>(plan.config);
    other->aircraft->cruiseSpeed = 150;
    other->aircraft->maxCruiseAltitude = 9000;
    const QString script = FplFile::loadText(
            *other, TextFile::decode(readFile(tree->sim.path(QStringLiteral("Flightplan/RT.FPL")))));
    QVERIFY(script.startsWith(QStringLiteral("clearFP();addPointToFp(")));
    QCOMPARE(other->points.size(), plan.points.size());
    for (int i = 0; i < plan.points.size(); ++i) {
        const CFlightPlanPoint &a = *plan.points.at(i);
        const CFlightPlanPoint &b = *other->points.at(i);
        QCOMPARE(b.kind, a.kind);
        QCOMPARE(b.name, a.name);
        QCOMPARE(b.ident, a.ident);
        QCOMPARE(b.latitude, a.latitude);
        QCOMPARE(b.longitude, a.longitude);
        QCOMPARE(b.elevation, a.elevation);
        QCOMPARE(b.dbKey, a.dbKey);
        QCOMPARE(b.usage, a.usage);
        QCOMPARE(b.altitude, a.altitude);
        QCOMPARE(b.takeoffRunway, a.takeoffRunway);
        QCOMPARE(b.landingRunway, a.landingRunway);
        QCOMPARE(b.mark, a.mark);
        // Not carried by the file: the values of a fresh point.
        QCOMPARE(b.speed, 150);
        QCOMPARE(b.navaidType, 0);
        QCOMPARE(b.heading, 0.0);
        QCOMPARE(b.frequency, 0.0);
    }
    QCOMPARE(other->version, 1);
    QCOMPARE(other->currentPoint, other->points.last());
    // The loaded plan saves again as the same file, one version on.
    QVERIFY(FplFile::saveFpl(*other, QStringLiteral("RT2.FPL")));
    QByteArray first = readFile(tree->sim.path(QStringLiteral("Flightplan/RT.FPL")));
    first.replace("\t<vers> ---------- Version number --------\n\t1\n", "\t<vers> ---------- Version number --------\n\t2\n");
    QCOMPARE(readFile(tree->sim.path(QStringLiteral("Flightplan/RT2.FPL"))), first);
}

void TestPlanFiles::loadRaisesUserWaypointCounter()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    QCOMPARE(plan.nextUserWaypointName(QStringLiteral("WP")), QStringLiteral("WP001"));
    QCOMPARE(plan.nextUserWaypointName(QStringLiteral("WP")), QStringLiteral("WP002"));
    plan.clear();
    FplFile::loadText(plan, QString::fromLatin1(ThreePoints));
    QCOMPARE(plan.points.size(), 3);
    QCOMPARE(plan.userWaypointCounter, 5);
    QCOMPARE(plan.nextUserWaypointName(QStringLiteral("WP")), QStringLiteral("WP006"));
}

void TestPlanFiles::loadTakesVersion()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    plan.version = 2;
    FplFile::loadText(plan, QString::fromLatin1(ThreePoints));
    QCOMPARE(plan.version, 7);
    // A file without a version leaves the count as it was.
    plan.clear();
    FplFile::loadText(plan, QStringLiteral("<wpnt>\nairp\n"));
    QCOMPARE(plan.version, 7);
    // The refreshed plan holds the flight-plan lines of what was read.
    plan.clear();
    FplFile::loadText(plan, QString::fromLatin1(ThreePoints));
    QVERIFY(FplFile::saveFpl(plan, QStringLiteral("V.FPL")));
    QCOMPARE(readFile(tree->sim.path(QStringLiteral("Flightplan/V.FPL"))).split('\n').at(6), QByteArray("\t8"));
}

void TestPlanFiles::loadAsksForFile()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    const QString path = tree->sim.path(QStringLiteral("Flightplan/LFPG_EGLL.FPL"));
    QVERIFY(writeFile(path, LfpgEgll));

    ScriptedPrompt prompt;
    prompt.answers << QString();
    QCOMPARE(FplFile::loadFpl(plan), QString());
    QVERIFY(plan.isEmpty());
    QCOMPARE(prompt.records.size(), 1);
    QCOMPARE(prompt.last().kind, QStringLiteral("openFile"));
    QCOMPARE(prompt.last().title, QStringLiteral("Ouvrir un plan de vol existant"));
    QCOMPARE(prompt.last().dir, tree->sim.root() + QStringLiteral("/Flightplan"));
    QCOMPARE(prompt.last().filter, QStringLiteral("Fichier plan de vol (*.fpl)"));

    // An unreadable choice reads nothing.
    prompt.answers << tree->sim.path(QStringLiteral("Flightplan/MISSING.FPL"));
    QCOMPARE(FplFile::loadFpl(plan), QString());
    QVERIFY(plan.isEmpty());

    prompt.answers << path;
    const QString script = FplFile::loadFpl(plan);
    QCOMPARE(script, plan.mapScript());
    QCOMPARE(plan.points.size(), 2);
    QCOMPARE(plan.points.at(1)->ident, QStringLiteral("EGLL"));
    QCOMPARE(plan.version, 1);
}

void TestPlanFiles::latin1Writing()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    PointPtr a = lfpg();
    a->name = QString::fromUtf8("Zürich – Kloten");   // the dash has no Latin-1 byte
    plan.points << a << egll();
    QVERIFY(FplFile::saveFpl(plan, QStringLiteral("ENC.FPL")));
    const QByteArray bytes = readFile(tree->sim.path(QStringLiteral("Flightplan/ENC.FPL")));
    QVERIFY(bytes.contains(QByteArray("\t\tZ\xFCrich ? Kloten\n")));

    // Read back as Latin-1, since the bytes are not UTF-8.
    auto other = std::make_unique<CFlightPlan>(plan.config);
    FplFile::loadText(*other, TextFile::decode(bytes));
    QCOMPARE(other->points.first()->name, QString::fromUtf8("Zürich ? Kloten"));
}

void TestPlanFiles::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ASCII") << QByteArray("LFPG") << "LFPG";
    QTest::newRow("valid UTF-8") << QByteArray("Z\xC3\xBCrich \xE2\x80\x93 K") << QString::fromUtf8("Zürich – K");
    QTest::newRow("Latin-1") << QByteArray("Z\xFCrich") << QString::fromUtf8("Zürich");
    QTest::newRow("Latin-1 that looks like a UTF-8 start") << QByteArray("\xC3 A") << QString::fromUtf8("Ã A");
    QTest::newRow("truncated UTF-8 sequence") << QByteArray("ab\xE2\x80") << QString::fromLatin1("ab\xE2\x80");
}

void TestPlanFiles::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(TextFile::decode(bytes), text);
    const FplFile::Content content = FplFile::parse(TextFile::decode("<wpnt>\nairp\n<name>\n" + bytes + "\n"),
                                                    []() { return PointPtr::create(); });
    QCOMPARE(content.points.first()->name, text.trimmed());
}

void TestPlanFiles::failedWriteKeepsOldFile()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    plan.points << lfpg() << egll();
    const QString folder = tree->sim.path(QStringLiteral("Flightplan"));
    const QString path = folder + QStringLiteral("/LFPG_EGLL.FPL");
    QVERIFY(writeFile(path, "old plan\n"));

    bool saved = true;
    QString error;
    {
        WriteBlocker blocker(folder);
        saved = FplFile::saveFpl(plan, QStringLiteral("LFPG_EGLL.FPL"), &error);
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readFile(path), QByteArray("old plan\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("LFPG_EGLL.FPL")});
    QCOMPARE(plan.version, 1);
}

// ---------------------------------------------------------------- .sit

void TestPlanFiles::sitBytes()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    plan.points << lfpo() << egll();
    plan.startPoint->latitude = 174600;     // 48.5 N
    plan.startPoint->longitude = 1260000;   // 10 W, held east-positive
    plan.startPoint->altitude = 3500;
    plan.startPoint->heading = 90;

    QVERIFY(SitFile::saveSit(plan, QStringLiteral("PARIS ORLY.SIT")));
    const QByteArray expected = "<bgno> ========== LFPO =====\n"
                                "\t<wobj> ---- world object type ----\n"
                                "\tplan\n"
                                "\t<bgno> ========== BEGIN OBJECT ==========\n"
                                "\t\t<geop> ---- geo position lat lon elev ----\n"
                                "\t\t48 30' 00.00\" N\n"
                                "\t\t010 00' 00.00\" W\n"
                                "\t\t3500\n"
                                "\t\t<_NFO> ---- Vehicle Info Files ----\n"
                                "\t\tcessna172.nfo\n"
                                "\t\t<user> ---- Default user vehicle ----\n"
                                "\t\t<iang> ---- Inertial angular position ----\n"
                                "\t\t0.0,1.57,0.0\n"
                                "\t\t<bvel> ----\n"
                                "\t\t0.0,0.0,0.0\n"
                                "\t\t<bang>\n"
                                "\t\t0.0,0.0,0.0\n"
                                "\t\t<vmod> ---- view mode ----\n"
                                "\t\tspot\n"
                                "\t<endo> ========== END OBJECT ============\n"
                                "<endo> ========== END OBJECT ============\n";
    QCOMPARE(readFile(tree->sim.path(QStringLiteral("Saved Simulations/PARIS ORLY.SIT"))), expected);
    QCOMPARE(expected.count('\n'), 21);
    // The plan's lines are now the situation's; the next save builds the plan's again.
    QCOMPARE(plan.textLines.join(QString()).toLatin1(), expected);
    QCOMPARE(plan.textLines.size(), 12);
    QVERIFY(FplFile::saveFpl(plan, QStringLiteral("X.FPL")));
    QVERIFY(plan.textLines.first().contains(QStringLiteral("Generated with corvane Navigator")));
}

void TestPlanFiles::sitHeading_data()
{
    QTest::addColumn<double>("heading");
    QTest::addColumn<QString>("line");
    QTest::newRow("north") << 0.0 << "\t\t0.0,0.00,0.0\n";
    QTest::newRow("east") << 90.0 << "\t\t0.0,1.57,0.0\n";
    QTest::newRow("south") << 180.0 << "\t\t0.0,3.14,0.0\n";
    QTest::newRow("359") << 359.0 << "\t\t0.0,6.27,0.0\n";
}

void TestPlanFiles::sitHeading()
{
    QFETCH(double, heading);
    QFETCH(QString, line);
    CFlightPlanPoint start;
    start.heading = heading;
    const QStringList entries = SitFile::buildEntries(QStringLiteral("LFPO"), start);
    QCOMPARE(entries.at(6), QStringLiteral("\t\t<iang> ---- Inertial angular position ----\n") + line);
}

void TestPlanFiles::sitHeaderFromFirstPointPositionFromStart()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    plan.points << lfpg() << egll();
    // The marker was moved off the airport, onto whole minutes: seconds
    // that round to 60 are carried.
    plan.startPoint->latitude = 175200;       // 48 40' N
    plan.startPoint->longitude = 1286400;     // 2 40' W, held east-positive
    SitFile::buildSitLines(plan);
    QCOMPARE(plan.textLines.first(), QStringLiteral("<bgno> ========== LFPG =====\n"));
    QCOMPARE(plan.textLines.at(3), QStringLiteral("\t\t<geop> ---- geo position lat lon elev ----\n"
                                                  "\t\t48 40' 00.00\" N\n\t\t002 40' 00.00\" W\n\t\t0\n"));
}

void TestPlanFiles::iniRewrite_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("three lines") << QByteArray("[Main]\nstartupSituation=Saved Simulations/OLD.SIT\nother=1\n")
                                 << QByteArray("[Main]\nstartupSituation=Saved Simulations/ORLY.SIT\nother=1");
    QTest::newRow("no final line feed") << QByteArray("[Main]\nstartupSituation=Saved Simulations/OLD.SIT\nother=1")
                                        << QByteArray("[Main]\nstartupSituation=Saved Simulations/ORLY.SIT\nother=1");
    QTest::newRow("no matching line") << QByteArray("[Main]\nlanguage=FR\n\nunits=imperial\n")
                                      << QByteArray("[Main]\nlanguage=FR\n\nunits=imperial");
    QTest::newRow("CRLF lines kept") << QByteArray("[Main]\r\nstartupSituation=Saved Simulations/OLD.SIT\r\nlanguage=FR\r\n\r\n[SQL]\r\nGENDB=SQL\r\n")
                                     << QByteArray("[Main]\r\nstartupSituation=Saved Simulations/ORLY.SIT\r\nlanguage=FR\r\n\r\n[SQL]\r\nGENDB=SQL");
    QTest::newRow("every matching line, prefix only")
            << QByteArray("startupSituation=A\nx=startupSituation\nstartupSituationOld = B\n StartupSituation=C\n")
            << QByteArray("startupSituation=Saved Simulations/ORLY.SIT\nx=startupSituation\nstartupSituation=Saved Simulations/ORLY.SIT\n StartupSituation=C");
    QTest::newRow("bytes of other lines kept") << QByteArray("name=Caf\xE9\t \nstartupSituation=x\n\xFF\xFE\n")
                                               << QByteArray("name=Caf\xE9\t \nstartupSituation=Saved Simulations/ORLY.SIT\n\xFF\xFE");
    QTest::newRow("empty file") << QByteArray() << QByteArray();
}

void TestPlanFiles::iniRewrite()
{
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, expected);
    QCOMPARE(SitFile::rewriteIni(ini, QStringLiteral("ORLY.SIT")), expected);

    SimFixture sim;
    QVERIFY(sim.buildSkeleton());
    QVERIFY(sim.writeIni(ini));
    QCOMPARE(SitFile::setStartupSituation(sim.root(), QStringLiteral("ORLY.SIT")), SitFile::IniResult::Rewritten);
    QCOMPARE(readFile(sim.path(QStringLiteral("system/Corvane.ini"))), expected);
}

void TestPlanFiles::iniUnreadableLeftAlone()
{
    SimFixture sim;
    QVERIFY(sim.buildSkeleton());
    QVERIFY(QFile::remove(sim.path(QStringLiteral("system/Corvane.ini"))));
    QCOMPARE(SitFile::setStartupSituation(sim.root(), QStringLiteral("ORLY.SIT")), SitFile::IniResult::Unreadable);
    QVERIFY(!QFile::exists(sim.path(QStringLiteral("system/Corvane.ini"))));
}

void TestPlanFiles::sitFailedWriteKeepsOldFile()
{
    auto tree = makePlanTree();
    QVERIFY(tree);
    CFlightPlan &plan = *tree->plan;
    plan.points << lfpo();
    const QString folder = tree->sim.path(QStringLiteral("Saved Simulations"));
    QVERIFY(writeFile(folder + QStringLiteral("/PARIS ORLY.SIT"), "old"));
    bool saved = true;
    QString error;
    {
        WriteBlocker blocker(folder);
        saved = SitFile::saveSit(plan, QStringLiteral("PARIS ORLY.SIT"), &error);
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readFile(folder + QStringLiteral("/PARIS ORLY.SIT")), QByteArray("old"));

    // The ini file is replaced atomically too.
    const QString ini = tree->sim.path(QStringLiteral("system/Corvane.ini"));
    const QByteArray before = readFile(ini);
    SitFile::IniResult result;
    {
        WriteBlocker blocker(tree->sim.path(QStringLiteral("system")));
        result = SitFile::setStartupSituation(tree->sim.root(), QStringLiteral("PARIS ORLY.SIT"), &error);
    }
    QCOMPARE(result, SitFile::IniResult::NotWritten);
    QCOMPARE(readFile(ini), before);
}

// ---------------------------------------------------------------- POD

void TestPlanFiles::podEntries_data()
{
    QTest::addColumn<QList<SimTree::PodEntry>>("entries");
    QTest::addColumn<QString>("make");
    QTest::addColumn<QString>("registration");
    QTest::addColumn<QList<int>>("figures");   // max cruise, cruise, climb, approach, ceiling

    const QByteArray nfo = "<make>\nTest Plane\n";
    QTest::newRow("CRLF and padded values")
            << QList<SimTree::PodEntry>{{"A.NFO", "<make>\r\n  Padded Make  \r\n"},
                                        {"A.SVH", "<acid>\r\n F-TEST \r\n<043a>\r\n   120   \r\n<048a>\r\n130\r\n<045a>\r\n700\r\n"
                                                  "<044a>\r\n60\r\n<CEIL>\r\n12000\r\n"}}
            << "Padded Make" << "F-TEST" << QList<int>{130, 120, 700, 60, 12000};
    QTest::newRow("tag inside a longer line")
            << QList<SimTree::PodEntry>{{"B.NFO", nfo}, {"B.SVH", "<acid>\nX\nservice <CEIL> feet\n41000\n"}}
            << "Test Plane" << "X" << QList<int>{0, 0, 0, 0, 41000};
    QTest::newRow("two SVH entries, the later wins")
            << QList<SimTree::PodEntry>{{"C.NFO", nfo}, {"OLD.SVH", "<043a>\n100\n"}, {"C.TXT", "x"}, {"NEW.SVH", "<043a>\n200\n"}}
            << "Test Plane" << "" << QList<int>{0, 200, 0, 0, 0};
    QTest::newRow("lower-case svh does not match")
            << QList<SimTree::PodEntry>{{"D.NFO", nfo}, {"d.svh", "<043a>\n100\n"}}
            << "Test Plane" << "" << QList<int>{0, 0, 0, 0, 0};
    QTest::newRow("tag on the last line, value not a number")
            << QList<SimTree::PodEntry>{{"E.NFO", nfo}, {"E.SVH", "<043a>\nfast\n<CEIL>"}}
            << "Test Plane" << "" << QList<int>{0, 0, 0, 0, 0};
    QTest::newRow("no NFO entry")
            << QList<SimTree::PodEntry>{{"F.SVH", "<make>\nNot Here\n<043a>\n90\n"}}
            << "" << "" << QList<int>{0, 90, 0, 0, 0};
    QTest::newRow("no SVH entry")
            << QList<SimTree::PodEntry>{{"G.NFO", "<make>\nMake\n<043a>\n90\n"}}
            << "Make" << "" << QList<int>{0, 0, 0, 0, 0};
    QTest::newRow("UTF-8 make") << QList<SimTree::PodEntry>{{"H.NFO", "<make>\nSocata Rall\xC3\xBD\n"}}
                                << QString::fromUtf8("Socata Rallý") << "" << QList<int>{0, 0, 0, 0, 0};
}

void TestPlanFiles::podEntries()
{
    QFETCH(QList<SimTree::PodEntry>, entries);
    QFETCH(QString, make);
    QFETCH(QString, registration);
    QFETCH(QList<int>, figures);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("test.pod"));
    QVERIFY(SimTree::writePod(path, entries));

    CPodMgr pod(path);
    QCOMPARE(pod.entries().size(), entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(pod.entries().at(i).name, entries.at(i).first);
        QCOMPARE(pod.entries().at(i).size, entries.at(i).second.size());
    }
    CAircraft aircraft;
    pod.extractBySuffix(QStringLiteral("NFO"));
    aircraft.make = pod.tagValue(QStringLiteral("<make>")).trimmed();
    pod.extractBySuffix(QStringLiteral("SVH"));
    aircraft.parse(pod);
    QCOMPARE(aircraft.make, make);
    QCOMPARE(aircraft.registration, registration);
    QCOMPARE((QList<int>{aircraft.maxCruiseSpeed, aircraft.cruiseSpeed, aircraft.climbRate, aircraft.approachSpeed,
                         aircraft.ceiling}),
             figures);
    QCOMPARE(aircraft.maxCruiseAltitude, 0);
}

void TestPlanFiles::podHostile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("entries");          // entries read
    QTest::addColumn<QStringList>("names");    // their names
    QTest::addColumn<bool>("svh");             // an SVH entry extracts
    QTest::addColumn<QString>("text");         // then the current text

    const QByteArray good = SimTree::packPod({{"A.SVH", "<043a>\n1\n"}});
    QTest::newRow("intact") << good << 1 << QStringList{"A.SVH"} << true << "<043a>\n1\n";
    QTest::newRow("empty file") << QByteArray() << 0 << QStringList() << false << "";
    QTest::newRow("truncated header") << good.left(200) << 0 << QStringList() << false << "";
    QTest::newRow("header only, count 3") << podHeader(3, 276) << 0 << QStringList() << false << "";
    QTest::newRow("truncated names") << good.left(good.size() - 3) << 1 << QStringList{"A.S"} << false << "";
    QTest::newRow("truncated directory") << good.left(good.size() - 8) << 0 << QStringList() << false << "";

    // Huge and negative counts: only the entries that fit are read.
    QByteArray huge = podHeader(0x7fffffff, 276) + podEntry(4, 316) + podEntry(4, 316) + "DATA";
    QTest::newRow("huge count") << huge << 2 << QStringList{"", ""} << false << "";
    QTest::newRow("negative count") << podHeader(-5, 276) + podEntry(4, 296) + "A.SVH\0" << 0 << QStringList() << false << "";
    QTest::newRow("directory past the end") << podHeader(1, 100000) + podEntry(4, 0) << 0 << QStringList() << false << "";
    QTest::newRow("negative directory offset") << podHeader(1, -20) + podEntry(4, 0) << 0 << QStringList() << false << "";

    // Entries whose data does not lie in the file are skipped.
    QByteArray pastEnd = podHeader(1, 276) + podEntry(10, 5000);
    pastEnd += QByteArray("A.SVH\0", 6);
    QTest::newRow("data past the end") << pastEnd << 1 << QStringList{"A.SVH"} << false << "";
    QByteArray hugeSize = podHeader(1, 276) + podEntry(0x7fffffff, 0);
    hugeSize += QByteArray("A.SVH\0", 6);
    QTest::newRow("huge size") << hugeSize << 1 << QStringList{"A.SVH"} << false << "";
    QByteArray negative = podHeader(2, 276) + podEntry(-1, 0) + podEntry(4, -8);
    negative += QByteArray("A.SVH\0B.SVH\0", 12);
    QTest::newRow("negative size and offset") << negative << 2 << QStringList{"A.SVH", "B.SVH"} << false << "";
    QByteArray overflow = podHeader(1, 276) + podEntry(0x7ffffff0, 0x7ffffff0);
    overflow += QByteArray("A.SVH\0", 6);
    QTest::newRow("offset plus size overflows") << overflow << 1 << QStringList{"A.SVH"} << false << "";

    // A bad entry does not hide an earlier good one.
    QByteArray laterBad = podHeader(2, 276) + podEntry(4, 328) + podEntry(100, 900) + QByteArray("A.SVH\0B.SVH\0", 12);
    laterBad += "GOOD";
    QTest::newRow("later entry bad, earlier one read") << laterBad << 2 << QStringList{"A.SVH", "B.SVH"} << true << "GOOD";

    // Names: no zero byte, or far too long.
    QByteArray noZero = podHeader(1, 276) + podEntry(0, 0) + "X.SVH";
    QTest::newRow("name without zero byte") << noZero << 1 << QStringList{"X.SVH"} << true << "";
    QByteArray longName = podHeader(2, 276) + podEntry(0, 0) + podEntry(0, 0) + QByteArray(1000, 'N') + QByteArray("\0B.SVH\0", 7);
    QTest::newRow("overlong name cut at 255") << longName << 2 << QStringList{QString(255, u'N'), "B.SVH"} << true << "";
}

void TestPlanFiles::podHostile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, entries);
    QFETCH(QStringList, names);
    QFETCH(bool, svh);
    QFETCH(QString, text);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hostile.pod"));
    QVERIFY(writeFile(path, bytes));
    CPodMgr pod(path);
    QCOMPARE(pod.entries().size(), entries);
    QVERIFY(pod.entries().size() * CPodMgr::EntrySize <= bytes.size());
    QStringList read;
    for (const CPodMgr::Entry &e : pod.entries())
        read << e.name;
    QCOMPARE(read, names);
    QCOMPARE(pod.extractBySuffix(QStringLiteral("SVH")), svh);
    QCOMPARE(pod.currentText(), text);
    QVERIFY(pod.currentText().size() <= bytes.size());
    // A damaged archive still gives a record of zeros.
    CAircraft aircraft;
    aircraft.parse(pod);
    QCOMPARE(aircraft.ceiling, 0);
}

void TestPlanFiles::podMissingFile()
{
    CPodMgr pod(QStringLiteral("/nonexistent/none.pod"));
    QVERIFY(pod.entries().isEmpty());
    QVERIFY(!pod.extractBySuffix(QStringLiteral("NFO")));
    QCOMPARE(pod.tagValue(QStringLiteral("<make>")), QString());
}

void TestPlanFiles::podDemoAircraft()
{
    SimFixture sim;
    QVERIFY2(sim.buildDemo(), qPrintable(sim.lastError()));
    struct Expected {
        const char *pod;
        const char *make;
        const char *acid;
        QList<int> figures;
    };
    const QList<Expected> expected = {
            {"Aircraft/baron58/baron58.pod", "Beechcraft Baron 58", "F-GBRN", {200, 190, 1700, 95, 20688}},
            {"Aircraft/cessna172/cessna172.pod", "Cessna 172 Skyhawk", "F-GTRN", {124, 110, 730, 65, 14000}},
            {"Aircraft/citationcj2/citationcj2.pod", "Cessna Citation CJ2", "F-HCJB", {413, 390, 3500, 118, 45000}},
    };
    for (const Expected &e : expected) {
        CPodMgr pod(sim.path(QLatin1String(e.pod)));
        QCOMPARE(pod.entries().size(), 4);
        QVERIFY(pod.extractBySuffix(QStringLiteral("NFO")));
        QCOMPARE(pod.tagValue(QStringLiteral("<make>")).trimmed(), QLatin1String(e.make));
        QVERIFY(pod.extractBySuffix(QStringLiteral("SVH")));
        CAircraft aircraft;
        aircraft.parse(pod);
        QCOMPARE(aircraft.registration, QLatin1String(e.acid));
        QCOMPARE((QList<int>{aircraft.maxCruiseSpeed, aircraft.cruiseSpeed, aircraft.climbRate, aircraft.approachSpeed,
                             aircraft.ceiling}),
                 e.figures);
    }
}

// ---------------------------------------------------------------- window

namespace {

CFlightPlan *windowPlan()
{
    return CNavGlobalVar::instance()->flightPlan;
}

// Puts points into the window's plan as the add slots leave it.
void setPlan(MainWindow *window, const QList<PointPtr> &points)
{
    CFlightPlan *plan = windowPlan();
    plan->clear();
    for (const PointPtr &p : points)
        plan->points << p;
    window->runJavaScript(plan->refresh());
}

} // namespace

void TestPlanFiles::windowSaveNeedsTwoPoints()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QVERIFY(windowPlan());
    setPlan(w, {lfpg()});
    f.prompt.records.clear();
    const int version = windowPlan()->version;

    f.ui()->btnSaveFlightPlan->setEnabled(true);
    f.ui()->btnSaveFlightPlan->click();
    QCOMPARE(f.prompt.records.size(), 1);
    QCOMPARE(f.prompt.last().icon, CPrompt::Warning);
    QCOMPARE(f.prompt.last().title, QStringLiteral("Enregistrement plan de vol"));
    QCOMPARE(f.prompt.last().text, QStringLiteral("Un plan de vol doit comporté au moins deux points"));
    QCOMPARE(f.prompt.last().buttons, QStringList{CPrompt::Ok});
    QCOMPARE(windowPlan()->version, version);
    QVERIFY(QDir(f.sim.path(QStringLiteral("Flightplan"))).isEmpty());
}

void TestPlanFiles::windowSaveWritesAndAsksForStart()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QVERIFY(windowPlan());
    setPlan(w, {lfpg(), egll()});
    f.prompt.records.clear();
    f.prompt.answers << CPrompt::Ok << CPrompt::Cancel;

    f.ui()->btnSaveFlightPlan->setEnabled(true);
    f.ui()->btnSaveFlightPlan->click();
    QCOMPARE(f.prompt.records.size(), 2);
    QCOMPARE(f.prompt.records.at(0).icon, CPrompt::Information);
    QCOMPARE(f.prompt.records.at(0).title, QStringLiteral("Enregistrement plan de vol"));
    QCOMPARE(f.prompt.records.at(0).text, QStringLiteral("Le plan de vol LFPG_EGLL.FPL a été enregistré"));
    QCOMPARE(f.prompt.records.at(0).buttons, QStringList{CPrompt::Ok});
    // The start-position dialogue follows.
    QCOMPARE(f.prompt.records.at(1).icon, CPrompt::Question);
    QCOMPARE(f.prompt.records.at(1).text, QStringLiteral("Voulez vous définir LFPG comme départ dans Corvane ?"));

    const QByteArray bytes = readFile(f.sim.path(QStringLiteral("Flightplan/LFPG_EGLL.FPL")));
    QCOMPARE(bytes.count('\n'), 54);
    QVERIFY(bytes.contains("\t\tParis Charles De Gaulle\n"));
    QVERIFY(QFile::exists(f.sim.path(QStringLiteral("Saved Simulations/PARIS CHARLES DE GAULLE.SIT"))));

    // Saved again: the next version, and the plan's aircraft ceiling.
    f.ui()->cbAircraftType->setCurrentIndex(2);
    w->metaObject()->invokeMethod(w, "on_cbAircraftType_activated", Q_ARG(int, 2));
    f.prompt.answers << CPrompt::Ok << CPrompt::Cancel;
    f.ui()->btnSaveFlightPlan->click();
    const QList<QByteArray> lines = readFile(f.sim.path(QStringLiteral("Flightplan/LFPG_EGLL.FPL"))).split('\n');
    QCOMPARE(lines.at(6), QByteArray("\t2"));
    QCOMPARE(lines.at(8), QByteArray("\t45000"));
}

void TestPlanFiles::windowSaveFailureWarns()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QVERIFY(windowPlan());
    setPlan(w, {lfpg(), egll()});
    const QString folder = f.sim.path(QStringLiteral("Flightplan"));
    const QString path = folder + QStringLiteral("/LFPG_EGLL.FPL");
    QVERIFY(writeFile(path, "old plan\n"));
    f.prompt.records.clear();
    f.prompt.answers << CPrompt::Ok;
    {
        // The plan does not fit, the situation file after it does.
        WriteBlocker blocker(folder, 1024);
        f.ui()->btnSaveFlightPlan->setEnabled(true);
        f.ui()->btnSaveFlightPlan->click();
    }
    QCOMPARE(readFile(path), QByteArray("old plan\n"));
    QVERIFY(f.prompt.records.size() >= 2);
    const ScriptedPrompt::Record &warning = f.prompt.records.at(0);
    QCOMPARE(warning.icon, CPrompt::Warning);
    QCOMPARE(warning.title, QStringLiteral("Enregistrement plan de vol"));
    const QString head = QStringLiteral("Le plan de vol %1 n'a pas pu être enregistré :\n").arg(QDir::toNativeSeparators(path));
    QVERIFY2(warning.text.startsWith(head), qPrintable(warning.text));
    QVERIFY(warning.text.size() > head.size());
    // Never reported as saved; the start-position dialogue still follows.
    for (const ScriptedPrompt::Record &r : std::as_const(f.prompt.records))
        QVERIFY(!r.text.contains(QStringLiteral("a été enregistré")));
    QCOMPARE(f.prompt.records.at(1).icon, CPrompt::Question);
}

void TestPlanFiles::windowLoad()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QVERIFY(windowPlan());
    const QString path = f.sim.path(QStringLiteral("Flightplan/LFPG_EGLL.FPL"));
    QVERIFY(writeFile(path, LfpgEgll));
    f.ui()->dockWSid->setWindowTitle(QStringLiteral("SID : LFPG"));
    f.ui()->dockWStar->setWindowTitle(QStringLiteral("STAR : LFPG"));
    f.ui()->btnSaveFlightPlan->setEnabled(false);
    f.prompt.records.clear();
    f.scripts.clear();
    f.prompt.answers << path;

    f.ui()->btnLoadFlightPlan->click();
    QCOMPARE(f.prompt.records.size(), 1);
    QCOMPARE(f.prompt.last().kind, QStringLiteral("openFile"));
    QCOMPARE(f.prompt.last().title, QStringLiteral("Ouvrir un plan de vol existant"));
    QCOMPARE(f.prompt.last().dir, f.sim.root() + QStringLiteral("/Flightplan"));
    QCOMPARE(f.prompt.last().filter, QStringLiteral("Fichier plan de vol (*.fpl)"));
    QCOMPARE(windowPlan()->points.size(), 2);
    // The first airport places the start point; its marker, then the route.
    QCOMPARE(f.scripts.size(), 2);
    QCOMPARE(f.scripts.first(), QStringLiteral("addSitMarker(new google.maps.LatLng(49.00974222,2.56261944),"
                                               "\"Beechcraft Baron 58\", 0);"));
    QCOMPARE(f.scripts.last(), windowPlan()->mapScript());
    QVERIFY(f.scripts.last().contains(QStringLiteral("\"London Heathrow\"")));
    QCOMPARE(f.ui()->dockWSid->windowTitle(), QStringLiteral("SID : "));
    QCOMPARE(f.ui()->dockWStar->windowTitle(), QStringLiteral("STAR : "));
    QVERIFY(f.ui()->btnSaveFlightPlan->isEnabled());
    QCOMPARE(f.ui()->fltplnGrid->rowCount(), 2);
    Q_UNUSED(w);

    // Saved as loaded: the situation starts the aircraft at the first airport.
    f.prompt.answers << CPrompt::Ok << CPrompt::Cancel;
    f.ui()->btnSaveFlightPlan->click();
    const QList<QByteArray> sit = readFile(f.sim.path(QStringLiteral("Saved Simulations/PARIS CHARLES DE GAULLE.SIT"))).split('\n');
    QCOMPARE(sit.size(), 22);
    QCOMPARE(sit.at(0), QByteArray("<bgno> ========== LFPG ====="));
    QCOMPARE(sit.at(5), QByteArray("\t\t49 00' 35.07\" N"));
    QCOMPARE(sit.at(6), QByteArray("\t\t002 33' 45.43\" E"));
}

void TestPlanFiles::windowLoadCancelled()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    f.start();
    QVERIFY(windowPlan());
    f.ui()->btnSaveFlightPlan->setEnabled(false);
    f.prompt.records.clear();
    f.scripts.clear();

    f.ui()->btnLoadFlightPlan->click();
    QCOMPARE(f.prompt.records.size(), 1);
    QVERIFY(windowPlan()->isEmpty());
    QVERIFY(f.scripts.isEmpty());
    QCOMPARE(f.ui()->dockWSid->windowTitle(), QStringLiteral("SID : "));
    QVERIFY(f.ui()->btnSaveFlightPlan->isEnabled());
}

void TestPlanFiles::windowSitMarker_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("aircraft");   // empty: the list's own first make
    QTest::addColumn<double>("heldLon");
    QTest::addColumn<QString>("script");
    QTest::newRow("Paris") << 48.7233 << 2.3794 << ""
                           << 2.3794 * 3600 << "addSitMarker(new google.maps.LatLng(48.72330000,2.37940000),\"Beechcraft Baron 58\", 0);";
    QTest::newRow("10 degrees west") << 47.0 << -10.0 << ""
                                     << 1260000.0 << "addSitMarker(new google.maps.LatLng(47.00000000,-10.00000000),\"Beechcraft Baron 58\", 0);";
    QTest::newRow("350 degrees east") << -33.5 << 350.0 << ""
                                      << 1260000.0 << "addSitMarker(new google.maps.LatLng(-33.50000000,-10.00000000),\"Beechcraft Baron 58\", 0);";
    QTest::newRow("name escaped") << 1.0 << 2.0 << "Spirit \"X\" \\ 1"
                                  << 7200.0 << "addSitMarker(new google.maps.LatLng(1.00000000,2.00000000),\"Spirit \\\"X\\\" \\\\ 1\", 0);";
    QTest::newRow("apostrophe and %2 kept") << 1.0 << 2.0 << "L'avion %2"
                                            << 7200.0 << "addSitMarker(new google.maps.LatLng(1.00000000,2.00000000),\"L'avion %2\", 0);";
}

void TestPlanFiles::windowSitMarker()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QString, aircraft);
    QFETCH(double, heldLon);
    QFETCH(QString, script);

    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QVERIFY(windowPlan() && windowPlan()->startPoint);
    if (!aircraft.isEmpty()) {
        f.ui()->cbAircraftType->addItem(aircraft);
        f.ui()->cbAircraftType->setCurrentIndex(f.ui()->cbAircraftType->count() - 1);
    }
    f.scripts.clear();
    w->sAddSitToFp(lat, lon);
    QCOMPARE(f.scripts, QStringList{script});
    QCOMPARE(windowPlan()->startPoint->latitude, lat * 3600);
    QCOMPARE(windowPlan()->startPoint->longitude, heldLon);
}

void TestPlanFiles::windowHeadingRedrawsMarker()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QVERIFY(windowPlan() && windowPlan()->startPoint);
    w->sAddSitToFp(47.0, -10.0);
    f.scripts.clear();
    f.ui()->spInertial->setValue(90);
    QCOMPARE(windowPlan()->startPoint->heading, 90.0);
    QCOMPARE(f.scripts, QStringList{"addSitMarker(new google.maps.LatLng(47.00000000,-10.00000000),\"Beechcraft Baron 58\", 90);"});
    windowPlan()->startPoint->heading = 12.5;
    f.scripts.clear();
    w->sAddSitToFp(47.0, -10.0);
    QCOMPARE(f.scripts, QStringList{"addSitMarker(new google.maps.LatLng(47.00000000,-10.00000000),\"Beechcraft Baron 58\", 12.5);"});
}

void TestPlanFiles::windowMoveSitSendsNothing()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QVERIFY(windowPlan() && windowPlan()->startPoint);
    f.scripts.clear();
    w->doMoveSIT(45.5, -1.25);
    QVERIFY(f.scripts.isEmpty());
    QCOMPARE(windowPlan()->startPoint->latitude, 45.5 * 3600);
    QCOMPARE(windowPlan()->startPoint->longitude, 1296000 - 1.25 * 3600);
}

void TestPlanFiles::windowStartPosNeedsAirport_data()
{
    QTest::addColumn<bool>("empty");
    QTest::newRow("empty plan") << true;
    QTest::newRow("navaid first") << false;
}

void TestPlanFiles::windowStartPosNeedsAirport()
{
    QFETCH(bool, empty);
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QVERIFY(windowPlan());
    if (!empty) {
        PointPtr nav = lfpo();
        nav->usage = QStringLiteral("snav");
        setPlan(w, {nav, lfpg()});
    }
    const QByteArray ini = readFile(f.sim.path(QStringLiteral("system/Corvane.ini")));
    f.prompt.records.clear();
    f.ui()->btnStartPos->setEnabled(true);
    f.ui()->btnStartPos->click();
    QCOMPARE(f.prompt.records.size(), 1);
    QCOMPARE(f.prompt.last().icon, CPrompt::Warning);
    QCOMPARE(f.prompt.last().title, QStringLiteral("Enregistrement point de départ"));
    QCOMPARE(f.prompt.last().text, QStringLiteral("Vous devez choisir un aéroport en première ligne."));
    QCOMPARE(f.prompt.last().buttons, QStringList{CPrompt::Ok});
    QCOMPARE(QDir(f.sim.path(QStringLiteral("Saved Simulations"))).entryList(QDir::Files), QStringList{"OLD.SIT"});
    QCOMPARE(readFile(f.sim.path(QStringLiteral("system/Corvane.ini"))), ini);
}

void TestPlanFiles::windowStartPosOk()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QVERIFY(windowPlan());
    setPlan(w, {lfpg(), egll()});
    w->sAddSitToFp(176435.072 / 3600, 9225.43 / 3600);
    f.ui()->spInertial->setValue(270);
    const QByteArray ini = readFile(f.sim.path(QStringLiteral("system/Corvane.ini")));
    QVERIFY(ini.contains("startupSituation=Saved Simulations/OLD.SIT\r\n"));
    f.prompt.records.clear();
    f.prompt.answers << CPrompt::Ok;

    f.ui()->btnStartPos->setEnabled(true);
    f.ui()->btnStartPos->click();
    QCOMPARE(f.prompt.records.size(), 1);
    QCOMPARE(f.prompt.last().icon, CPrompt::Question);
    QCOMPARE(f.prompt.last().title, QStringLiteral("Enregistrement plan de vol"));
    QCOMPARE(f.prompt.last().text, QStringLiteral("Voulez vous définir LFPG comme départ dans Corvane ?"));
    QCOMPARE(f.prompt.last().buttons, (QStringList{CPrompt::Ok, CPrompt::Cancel}));

    const QList<QByteArray> sit = readFile(f.sim.path(QStringLiteral("Saved Simulations/PARIS CHARLES DE GAULLE.SIT"))).split('\n');
    QCOMPARE(sit.size(), 22);
    QCOMPARE(sit.at(0), QByteArray("<bgno> ========== LFPG ====="));
    QCOMPARE(sit.at(5), QByteArray("\t\t49 00' 35.07\" N"));
    QCOMPARE(sit.at(6), QByteArray("\t\t002 33' 45.43\" E"));
    QCOMPARE(sit.at(12), QByteArray("\t\t0.0,4.71,0.0"));

    // The CRLF lines stay as they were, the entry names the new file, and
    // the last line has no line end.
    QByteArray expected = ini;
    expected.replace("startupSituation=Saved Simulations/OLD.SIT\r\n",
                     "startupSituation=Saved Simulations/PARIS CHARLES DE GAULLE.SIT\r\n");
    QVERIFY(expected.endsWith("\r\n"));
    expected.chop(2);
    QCOMPARE(readFile(f.sim.path(QStringLiteral("system/Corvane.ini"))), expected);
}

void TestPlanFiles::windowStartPosCancel()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    f.start();
    QVERIFY(windowPlan());
    // An airport first in a plan no refresh has seen: the start position was
    // never placed, and is not written as it stands (0, 0).
    windowPlan()->points << lfpo();
    const QByteArray ini = readFile(f.sim.path(QStringLiteral("system/Corvane.ini")));
    f.prompt.records.clear();
    f.prompt.answers << CPrompt::Cancel;
    f.ui()->btnStartPos->setEnabled(true);
    f.ui()->btnStartPos->click();
    QCOMPARE(f.prompt.records.size(), 1);
    QCOMPARE(f.prompt.last().text, QStringLiteral("Voulez vous définir LFPO comme départ dans Corvane ?"));
    const QList<QByteArray> sit = readFile(f.sim.path(QStringLiteral("Saved Simulations/PARIS ORLY.SIT"))).split('\n');
    QCOMPARE(sit.size(), 22);
    QCOMPARE(sit.at(5), QByteArray("\t\t48 43' 34.90\" N"));
    QCOMPARE(sit.at(6), QByteArray("\t\t002 22' 01.30\" E"));
    QCOMPARE(readFile(f.sim.path(QStringLiteral("system/Corvane.ini"))), ini);

    // A situation that cannot be written is reported, and nothing is asked.
    f.prompt.records.clear();
    const QString folder = f.sim.path(QStringLiteral("Saved Simulations"));
    {
        WriteBlocker blocker(folder);
        f.ui()->btnStartPos->click();
    }
    QCOMPARE(f.prompt.records.size(), 1);
    QCOMPARE(f.prompt.last().icon, CPrompt::Warning);
    QCOMPARE(f.prompt.last().title, QStringLiteral("Enregistrement point de départ"));
    const QString head = QStringLiteral("Le fichier de situation %1 n'a pas pu être enregistré :\n")
                                 .arg(QDir::toNativeSeparators(folder + QStringLiteral("/PARIS ORLY.SIT")));
    QVERIFY2(f.prompt.last().text.startsWith(head), qPrintable(f.prompt.last().text));
    QCOMPARE(readFile(f.sim.path(QStringLiteral("system/Corvane.ini"))), ini);
}

void TestPlanFiles::windowAircraftList()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    f.start();
    Ui::MainWindow *ui = f.ui();
    QCOMPARE(ui->cbAircraftType->count(), 3);
    QCOMPARE(ui->cbAircraftType->itemText(0), QStringLiteral("Beechcraft Baron 58"));
    QCOMPARE(ui->cbAircraftType->itemText(1), QStringLiteral("Cessna 172 Skyhawk"));
    QCOMPARE(ui->cbAircraftType->itemText(2), QStringLiteral("Cessna Citation CJ2"));
    // The dock shows the figures of the make the list shows.
    QCOMPARE(ui->cbAircraftType->currentIndex(), 0);
    QCOMPARE(ui->leAircraftNumber->text(), QStringLiteral("F-GBRN"));
    QCOMPARE(ui->leSpeedMax->text(), QStringLiteral("200"));
    QCOMPARE(ui->leSpeedCruise->text(), QStringLiteral("190"));
    QCOMPARE(ui->leSpeedApp->text(), QStringLiteral("95"));
    QCOMPARE(ui->leAircraftCeiling->text(), QStringLiteral("20688"));
    QCOMPARE(windowPlan()->aircraft->cruiseSpeed, 190);
    QCOMPARE(windowPlan()->aircraft->ceiling, 20688);
}

void TestPlanFiles::windowAircraftActivation()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    Ui::MainWindow *ui = f.ui();
    QCOMPARE(ui->cbAircraftType->count(), 3);
    ui->leSpeedVert->setText(QStringLiteral("5"));
    ui->leAltCruise->setText(QStringLiteral("7"));

    ui->cbAircraftType->setCurrentIndex(1);
    QMetaObject::invokeMethod(w, "on_cbAircraftType_activated", Q_ARG(int, 1));
    QCOMPARE(ui->leAircraftNumber->text(), QStringLiteral("F-GTRN"));
    QCOMPARE(ui->leSpeedMax->text(), QStringLiteral("124"));
    QCOMPARE(ui->leSpeedCruise->text(), QStringLiteral("110"));
    QCOMPARE(ui->leSpeedApp->text(), QStringLiteral("65"));
    QCOMPARE(ui->leAircraftCeiling->text(), QStringLiteral("14000"));
    // Climb rate and cruise altitude are not written.
    QCOMPARE(ui->leSpeedVert->text(), QStringLiteral("5"));
    QCOMPARE(ui->leAltCruise->text(), QStringLiteral("7"));
    // Points added from now on take the chosen aircraft's speed.
    QCOMPARE(windowPlan()->aircraft->make, QStringLiteral("Cessna 172 Skyhawk"));
    QCOMPARE(windowPlan()->newPoint()->speed, 110);

    // An index outside the list changes nothing.
    QMetaObject::invokeMethod(w, "on_cbAircraftType_activated", Q_ARG(int, 7));
    QMetaObject::invokeMethod(w, "on_cbAircraftType_activated", Q_ARG(int, -1));
    QCOMPARE(ui->leAircraftNumber->text(), QStringLiteral("F-GTRN"));

    // Showing or hiding the dock shows the current item's figures again.
    ui->leSpeedMax->setText(QStringLiteral("1"));
    QMetaObject::invokeMethod(w, "on_dockWAircraft_visibilityChanged", Q_ARG(bool, false));
    QCOMPARE(ui->leSpeedMax->text(), QStringLiteral("124"));
}

void TestPlanFiles::windowDamagedArchiveListed()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    // A damaged archive beside the demo ones, a link to one of them, and a
    // file that is no archive by its name.
    QVERIFY(writeFile(f.sim.path(QStringLiteral("Aircraft/broken.pod")), podHeader(0x7fffffff, 276) + podEntry(50, 1 << 30)));
#ifdef Q_OS_UNIX
    QVERIFY(QFile::link(f.sim.path(QStringLiteral("Aircraft/cessna172/cessna172.pod")),
                        f.sim.path(QStringLiteral("Aircraft/link.pod"))));
#endif
    QVERIFY(writeFile(f.sim.path(QStringLiteral("Aircraft/notes.txt")), "<make>\nNo\n"));
    MainWindow *w = f.start();
    Ui::MainWindow *ui = f.ui();
    QCOMPARE(ui->cbAircraftType->count(), 4);
    QCOMPARE(ui->cbAircraftType->itemText(0), QStringLiteral("Beechcraft Baron 58"));
    QCOMPARE(ui->cbAircraftType->itemText(1), QString());
    QCOMPARE(ui->cbAircraftType->itemText(2), QStringLiteral("Cessna 172 Skyhawk"));
    QCOMPARE(ui->cbAircraftType->itemText(3), QStringLiteral("Cessna Citation CJ2"));
    ui->cbAircraftType->setCurrentIndex(1);
    QMetaObject::invokeMethod(w, "on_cbAircraftType_activated", Q_ARG(int, 1));
    QCOMPARE(ui->leAircraftNumber->text(), QString());
    QCOMPARE(ui->leSpeedMax->text(), QStringLiteral("0"));
    QCOMPARE(ui->leSpeedCruise->text(), QStringLiteral("0"));
    QCOMPARE(ui->leSpeedApp->text(), QStringLiteral("0"));
    QCOMPARE(ui->leAircraftCeiling->text(), QStringLiteral("0"));
}

void TestPlanFiles::windowPodDiagnostic()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    f.prompt.records.clear();
    f.prompt.answers << f.sim.path(QStringLiteral("Aircraft/baron58/baron58.pod"));
    const QString before = f.ui()->leSpeedMax->text();
    QMetaObject::invokeMethod(w, "on_btnPod_clicked");
    QCOMPARE(f.prompt.records.size(), 1);
    QCOMPARE(f.prompt.last().kind, QStringLiteral("openFile"));
    QCOMPARE(f.prompt.last().title, QStringLiteral("Ouvrir un POD"));
    QCOMPARE(f.prompt.last().dir, f.sim.root() + QStringLiteral("/aircraft"));
    QCOMPARE(f.prompt.last().filter, QStringLiteral("Fichier POD (*pod)"));
    QCOMPARE(f.ui()->leSpeedMax->text(), before);
    QCOMPARE(f.ui()->cbAircraftType->count(), 3);
}

QTEST_MAIN(TestPlanFiles)
#include "tst_planfiles.moc"
