#include "data/globalvar.h"
#include "data/sqlmgr.h"
#include "tests/data/logcapture.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList baseFiles = {"GEN.db:0", "M3D.db:3", "OBJ.db:4", "TXY.db:1", "WPT.db:0", "ROUTE.db:0"};

// The base set with some files left out and others added.
QStringList files(const QStringList &drop, const QStringList &add)
{
    QStringList out;
    for (const QString &f : baseFiles) {
        if (!drop.contains(f.section(u':', 0, 0)))
            out << f;
    }
    return out + add;
}

// A skeleton tree (ini naming SQL for every database) holding the files
// "NAME:version"; the version "x" gives a file that is no database.
bool makeTree(SimFixture &sim, const QStringList &entries)
{
    if (!sim.buildSkeleton())
        return false;
    for (const QString &entry : entries) {
        const QString name = entry.section(u':', 0, 0);
        const QString version = entry.section(u':', 1);
        if (version == QLatin1String("x")) {
            QFile f(QDir(sim.sqlDir()).filePath(name));
            if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray(4096, 'z')) != 4096)
                return false;
        } else if (!sim.createDatabase(name, version.toInt())) {
            return false;
        }
    }
    return true;
}

QStringList names(const CGlobalVar &c)
{
    return {c.genName, c.m3dName, c.objName, c.txyName, c.wptName, c.routeName};
}

void removeAllConnections()
{
    for (const QString &name : QSqlDatabase::connectionNames())
        QSqlDatabase::removeDatabase(name);
}

} // namespace

class TestGlobalVar : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void constructorState();
    void initDBPath_data();
    void initDBPath();
    void acceptance_data();
    void acceptance();
    void logOfAGoodStart();
    void connectionsGoWithTheConfiguration();
    void fatalVersion_data();
    void fatalVersion();
    void helperRunsAGoodTree();
};

void TestGlobalVar::cleanup()
{
    removeAllConnections();
}

void TestGlobalVar::constructorState()
{
    CGlobalVar c;
    QVERIFY(c.sqlMgr);
    for (const QString &n : names(c))
        QVERIFY(n.isEmpty());
    QVERIFY(c.osmName.isEmpty());
    for (const QDir *d : {&c.dirCorvane, &c.dirWork, &c.dirGen, &c.dirM3d, &c.dirObj, &c.dirTxy, &c.dirWpt, &c.dirRte, &c.dirOsm})
        QCOMPARE(d->path(), QStringLiteral("."));   // QDir's empty path
    QCOMPARE(CGlobalVar::GenVersion, 0);
    QCOMPARE(CGlobalVar::M3dVersion, 3);
    QCOMPARE(CGlobalVar::ObjVersion, 4);
    QCOMPARE(CGlobalVar::TxyVersion, 1);
    QCOMPARE(CGlobalVar::WptVersion, 0);
    QCOMPARE(CGlobalVar::RouteVersion, 0);
}

void TestGlobalVar::initDBPath_data()
{
    QTest::addColumn<bool>("writeIni");
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("expected");   // GEN M3D OBJ TXY WPT RTE OSM; %R = simulator folder

    const QString def = QStringLiteral("%R/../../SQL");
    const QStringList defaults(7, def);
    QTest::newRow("no ini file: defaults") << false << QByteArray() << defaults;
    QTest::newRow("no SQL section: defaults") << true << QByteArray("[Main]\nlanguage=FR\n") << defaults;
    QTest::newRow("relative SQL") << true
                                  << QByteArray("[SQL]\r\nGENDB=SQL\r\nM3DDB=SQL\r\nOBJDB=SQL\r\nTXYDB=SQL\r\nWPTDB=SQL\r\nRTEDB=SQL\r\nOSMDB=SQL\r\n")
                                  << QStringList(7, QStringLiteral("%R/SQL"));
    QTest::newRow("each key on its own, missing keys default")
            << true << QByteArray("[SQL]\nGENDB=A\nOBJDB=C\nRTEDB=F\n")
            << QStringList{"%R/A", def, "%R/C", def, def, "%R/F", def};
    QTest::newRow("the value is cleaned, the joined path is not")
            << true << QByteArray("[SQL]\nGENDB=./data/../SQL/\nM3DDB=../../Base\nOBJDB=a//b\n")
            << QStringList{"%R/SQL", "%R/../../Base", "%R/a/b", def, def, def, def};
    QTest::newRow("absolute value unchanged")
            << true << QByteArray("[SQL]\nGENDB=/srv/sim/../SQL\nWPTDB=/data/wpt\n")
            << QStringList{"/srv/sim/../SQL", def, def, def, "/data/wpt", def, def};
    QTest::newRow("Windows absolute value unchanged")
            << true << QByteArray("[SQL]\nGENDB=\"D:\\\\Data\\\\SQL\"\nM3DDB=D:/Data/SQL\nOBJDB=c:\\\\SQL\n")
            << QStringList{"D:\\Data\\SQL", "D:/Data/SQL", "c:\\SQL", def, def, def, def};
    QTest::newRow("Windows path written without quotes")
            << true << QByteArray("[SQL]\nTXYDB=D:\\Data\\SQL\n")
            << QStringList{def, def, def, "D:\\Data\\SQL", def, def, def};
    QTest::newRow("accented folders in the 8-bit encoding are Latin-1")
            << true << QByteArray("[SQL]\r\nGENDB=D:\\Donn\xe9" "es\\SQL\r\nOBJDB=Donn\xe9" "es/SQL\r\n")
            << QStringList{"D:\\Données\\SQL", def, "%R/Données/SQL", def, def, def, def};
    QTest::newRow("accented folders in UTF-8 stay UTF-8")
            << true << QByteArray("[SQL]\nGENDB=D:\\Donn\xc3\xa9" "es\\SQL\nOBJDB=Donn\xc3\xa9" "es/SQL\n")
            << QStringList{"D:\\Données\\SQL", def, "%R/Données/SQL", def, def, def, def};
    QTest::newRow("value with a comma is one path")
            << true << QByteArray("[SQL]\nGENDB=SQL,old\n")
            << QStringList{"%R/SQL,old", def, def, def, def, def, def};
}

void TestGlobalVar::initDBPath()
{
    QFETCH(bool, writeIni);
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, expected);

    SimFixture sim;
    QVERIFY(sim.isValid());
    if (writeIni)
        QVERIFY(sim.writeIni(ini));
    CGlobalVar c;
    c.dirCorvane.setPath(sim.root());
    LogCapture log;
    c.initDBPath();

    const QStringList got = {c.dirGen.path(), c.dirM3d.path(), c.dirObj.path(), c.dirTxy.path(),
                             c.dirWpt.path(), c.dirRte.path(), c.dirOsm.path()};
    QStringList want;
    for (const QString &e : expected)
        want << QString(e).replace(QStringLiteral("%R"), sim.root());
    QCOMPARE(got, want);

    QStringList lines = {QStringLiteral("Debug: CGlobalVar::initDBPath Corvane.ini settings")};
    const char *keys[] = {"GENDB", "M3DDB", "OBJDB", "TXYDB", "WPTDB", "RTEDB", "OSMDB"};
    for (int i = 0; i < 7; ++i)
        lines << QStringLiteral("Debug: CGlobalVar::initDBPath %1 \"%2\"")
                         .arg(QLatin1String(keys[i]), QString(want.at(i)).replace(u'\\', QStringLiteral("\\\\")));
    QCOMPARE(log.lines, lines);
}

void TestGlobalVar::acceptance_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("expected");      // GEN M3D OBJ TXY WPT ROUTE connection names
    QTest::addColumn<QStringList>("registered");
    QTest::addColumn<QStringList>("unregistered");
    QTest::addColumn<int>("genCandidates");
    QTest::addColumn<bool>("routeWarning");

    const QStringList standard = {"GEN.db", "M3D.db", "OBJ.db", "TXY.db", "WPT.db", "ROUTE.db"};
    auto with = [&](int index, const QString &name) {
        QStringList out = standard;
        out[index] = name;
        return out;
    };

    QTest::newRow("every database at its version")
            << baseFiles << standard << standard << QStringList{} << 1 << false;
    QTest::newRow("GEN.db v0 with GEN_old.db v2: GEN.db, GEN_old.db unregistered")
            << files({}, {"GEN_old.db:2"}) << standard << standard << QStringList{"GEN_old.db"} << 2 << false;
    QTest::newRow("GEN.db and GEN2.db both v0: the last wins, both stay open")
            << files({}, {"GEN2.db:0"}) << with(0, "GEN2.db") << QStringList{"GEN.db", "GEN2.db"} << QStringList{} << 2 << false;
    QTest::newRow("gen.db is a GEN file")
            << files({"GEN.db"}, {"gen.db:0"}) << with(0, "gen.db") << QStringList{"gen.db"} << QStringList{} << 1 << false;
    QTest::newRow("upper-case .DB is listed")
            << files({}, {"GEN9.DB:0"}) << with(0, "GEN9.DB") << QStringList{"GEN.db", "GEN9.DB"} << QStringList{} << 2 << false;
    QTest::newRow("other suffixes are not listed")
            << files({}, {"GEN9.sqlite:0"}) << standard << QStringList{"GEN.db"} << QStringList{"GEN9.sqlite"} << 1 << false;
    QTest::newRow("m3d.db is an M3D file, M3D.DB is not")
            << files({"M3D.db"}, {"M3D.DB:3", "m3d.db:3"}) << with(1, "m3d.db") << QStringList{"m3d.db"}
            << QStringList{"M3D.DB"} << 1 << false;
    QTest::newRow("a file that merely contains M3D is no candidate")
            << files({}, {"OLD_M3D.db:3"}) << standard << QStringList{"M3D.db"} << QStringList{"OLD_M3D.db"} << 1 << false;
    QTest::newRow("MyGEN.db is listed but no candidate")
            << files({}, {"MyGEN.db:0"}) << standard << QStringList{"GEN.db"} << QStringList{"MyGEN.db"} << 1 << false;
    QTest::newRow("a file that is no database is passed over and stays registered")
            << files({}, {"GEN_x.db:x"}) << standard << QStringList{"GEN.db", "GEN_x.db"} << QStringList{} << 2 << false;
    QTest::newRow("a wrong version after the accepted file keeps it")
            << files({}, {"OBJ2.db:3"}) << standard << QStringList{"OBJ.db"} << QStringList{"OBJ2.db"} << 1 << false;
    QTest::newRow("no route database: warning only")
            << files({"ROUTE.db"}, {}) << with(5, "") << QStringList{} << QStringList{"ROUTE.db"} << 1 << true;
    QTest::newRow("route database of another version: warning, unregistered")
            << files({"ROUTE.db"}, {"ROUTE.db:1"}) << with(5, "") << QStringList{} << QStringList{"ROUTE.db"} << 1 << true;
    QTest::newRow("several route databases")
            << files({}, {"ROUTE_EU.db:0"}) << with(5, "ROUTE_EU.db") << QStringList{"ROUTE.db", "ROUTE_EU.db"}
            << QStringList{} << 1 << false;
}

void TestGlobalVar::acceptance()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, registered);
    QFETCH(QStringList, unregistered);
    QFETCH(int, genCandidates);
    QFETCH(bool, routeWarning);

    SimFixture sim;
    QVERIFY(makeTree(sim, files));
    ScriptedPrompt prompt;
    LogCapture log;
    {
        CGlobalVar c;
        c.dirCorvane.setPath(sim.root());
        QVERIFY(c.init());
        QCOMPARE(names(c), expected);
        QCOMPARE(c.top[1], 1.40625);
        for (const QString &name : registered) {
            QVERIFY2(QSqlDatabase::contains(name), qPrintable(name));
            QVERIFY2(QSqlDatabase::database(name, false).isOpen(), qPrintable(name));
        }
        for (const QString &name : unregistered)
            QVERIFY2(!QSqlDatabase::contains(name), qPrintable(name));
        QVERIFY(prompt.records.isEmpty());
        QCOMPARE(log.lines.count(QStringLiteral("Debug: CGlobalVar::initDB \"%1\"").arg(sim.sqlDir())), genCandidates);
        QCOMPARE(log.lines.contains(QStringLiteral("Warning: CGlobalVar::initDB ROUTE : base de donnée manquante")),
                 routeWarning);
    }
    // No complaint about connections removed while in use, and nothing fatal.
    for (const QString &line : log.lines) {
        QVERIFY2(!line.contains(QLatin1String("still in use")), qPrintable(line));
        QVERIFY2(!line.startsWith(QLatin1String("Fatal")), qPrintable(line));
    }
}

void TestGlobalVar::logOfAGoodStart()
{
    SimFixture sim;
    QVERIFY(makeTree(sim, files({}, {"GEN_old.db:2"})));
    ScriptedPrompt prompt;
    LogCapture log;
    CGlobalVar c;
    c.dirCorvane.setPath(sim.root());
    QVERIFY(c.init());
    const QString sql = sim.sqlDir();
    QStringList expected = {QStringLiteral("Debug: CGlobalVar::initDBPath Corvane.ini settings")};
    for (const char *key : {"GENDB", "M3DDB", "OBJDB", "TXYDB", "WPTDB", "RTEDB", "OSMDB"})
        expected << QStringLiteral("Debug: CGlobalVar::initDBPath %1 \"%2\"").arg(QLatin1String(key), sql);
    auto opened = [&](const char *file) { return QStringLiteral("Debug: SqlMgr::addDB \"%1/%2\" is open").arg(sql, QLatin1String(file)); };
    const QString genDir = QStringLiteral("Debug: CGlobalVar::initDB \"%1\"").arg(sql);
    expected << opened("GEN.db") << genDir << opened("GEN_old.db") << genDir << opened("M3D.db") << opened("OBJ.db")
             << opened("TXY.db") << opened("WPT.db") << opened("ROUTE.db");
    QCOMPARE(log.lines, expected);
}

void TestGlobalVar::connectionsGoWithTheConfiguration()
{
    SimFixture first;
    SimFixture second;
    QVERIFY(makeTree(first, baseFiles));
    QVERIFY(makeTree(second, baseFiles));
    ScriptedPrompt prompt;
    {
        CGlobalVar c;
        c.dirCorvane.setPath(first.root());
        QVERIFY(c.init());
        QCOMPARE(QSqlDatabase::database(QStringLiteral("GEN.db")).databaseName(), first.sqlDir() + QStringLiteral("/GEN.db"));
    }
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("GEN.db")));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("ROUTE.db")));
    // A later configuration opens its own files, not the earlier tree's.
    CGlobalVar c;
    c.dirCorvane.setPath(second.root());
    QVERIFY(c.init());
    QCOMPARE(QSqlDatabase::database(QStringLiteral("GEN.db")).databaseName(), second.sqlDir() + QStringLiteral("/GEN.db"));
}

void TestGlobalVar::fatalVersion_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fatal");
    QTest::addColumn<QStringList>("opened");      // files opened before the end
    QTest::addColumn<QStringList>("neverOpened");

    const QString tail = QStringLiteral("\nLe programme va s'arréter.");
    auto text = [&](const char *db, int expected, int found) {
        return QStringLiteral("%1 : La version attendue est %2.\nLa version trouvée est %3.").arg(QLatin1String(db)).arg(expected).arg(found) + tail;
    };
    const QString genFatal = QStringLiteral("CGlobalVar::initDB : GEN : erreur de version");

    QTest::newRow("GEN at version 2 only")
            << files({"GEN.db"}, {"GEN.db:2"}) << text("GEN", 0, 2) << genFatal << QStringList{"GEN.db"}
            << QStringList{"M3D.db", "OBJ.db", "TXY.db", "WPT.db", "ROUTE.db"};
    QTest::newRow("GEN: the last wrong version is reported")
            << files({"GEN.db"}, {"GEN.db:1", "GEN2.db:3"}) << text("GEN", 0, 3) << genFatal
            << QStringList{"GEN.db", "GEN2.db"} << QStringList{"M3D.db", "OBJ.db", "TXY.db", "WPT.db", "ROUTE.db"};
    QTest::newRow("GEN: only MyGEN.db")
            << files({"GEN.db"}, {"MyGEN.db:0"}) << text("GEN", 0, -1) << genFatal << QStringList{}
            << QStringList{"MyGEN.db", "M3D.db", "OBJ.db"};
    QTest::newRow("GEN: the file is no database")
            << files({"GEN.db"}, {"GEN.db:x"}) << text("GEN", 0, -1) << genFatal << QStringList{"GEN.db"}
            << QStringList{"M3D.db", "OBJ.db"};
    QTest::newRow("no M3D file (M3D.DB is none): found -1 after GEN read 0")
            << files({"M3D.db"}, {"M3D.DB:3"}) << text("M3D", 3, -1)
            << QStringLiteral("CGlobalVar::initDB M3D : erreur de version") << QStringList{"GEN.db"}
            << QStringList{"M3D.DB", "OBJ.db", "TXY.db", "WPT.db", "ROUTE.db"};
    QTest::newRow("OBJ at version 3")
            << files({"OBJ.db"}, {"OBJ.db:3"}) << text("OBJ", 4, 3) << QStringLiteral("CGlobalVar::initDB OBJ : erreur de version")
            << QStringList{"GEN.db", "M3D.db", "OBJ.db"} << QStringList{"TXY.db", "WPT.db", "ROUTE.db"};
    QTest::newRow("TXY at version 0")
            << files({"TXY.db"}, {"TXY.db:0"}) << text("TXY", 1, 0) << QStringLiteral("CGlobalVar::initDB TXY : erreur de version")
            << QStringList{"OBJ.db", "TXY.db"} << QStringList{"WPT.db", "ROUTE.db"};
    QTest::newRow("WPT at version 1")
            << files({"WPT.db"}, {"WPT.db:1"}) << text("WPT", 0, 1) << QStringLiteral("CGlobalVar::initDB WPT : erreur de version")
            << QStringList{"TXY.db", "WPT.db"} << QStringList{"ROUTE.db"};
}

// A failed check ends the process: run it in a child and read what it
// showed and logged.
void TestGlobalVar::fatalVersion()
{
    QFETCH(QStringList, files);
    QFETCH(QString, text);
    QFETCH(QString, fatal);
    QFETCH(QStringList, opened);
    QFETCH(QStringList, neverOpened);

    SimFixture sim;
    QVERIFY(makeTree(sim, files));
    QTemporaryDir run;
    QVERIFY(run.isValid());
    QProcess helper;
    helper.setWorkingDirectory(run.path());
    helper.start(QStringLiteral(CORVANE_INIT_HELPER), {sim.root()});
    QVERIFY(helper.waitForStarted());
    QVERIFY(helper.waitForFinished(300000));
    QCOMPARE(helper.exitStatus(), QProcess::CrashExit);

    const QList<QByteArray> out = helper.readAllStandardOutput().split('\n');
    QCOMPARE(out.size(), 2);   // one box, then the empty rest: init never returned
    QVERIFY(out.at(1).isEmpty());
    const QJsonObject box = QJsonDocument::fromJson(out.at(0)).object();
    QCOMPARE(box.value("icon").toInt(), int(CPrompt::Critical));
    QCOMPARE(box.value("title").toString(), QStringLiteral("Erreur de version de base de données"));
    QCOMPARE(box.value("text").toString(), text);
    QCOMPARE(box.value("buttons").toArray(), QJsonArray{CPrompt::Ok});

    QFile logFile(QDir(run.path()).filePath(QStringLiteral("navigator_debug.log")));
    QVERIFY(logFile.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(logFile.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    QCOMPARE(lines.last(), QStringLiteral("Fatal: ") + fatal);
    QCOMPARE(lines.filter(QStringLiteral("Fatal:")).size(), 1);
    for (const QString &file : opened)
        QVERIFY2(lines.contains(QStringLiteral("Debug: SqlMgr::addDB \"%1/%2\" is open").arg(sim.sqlDir(), file)), qPrintable(file));
    for (const QString &file : neverOpened)
        QVERIFY2(lines.filter(QStringLiteral("/%1\"").arg(file)).isEmpty(), qPrintable(file));
}

void TestGlobalVar::helperRunsAGoodTree()
{
    SimFixture sim;
    QVERIFY2(sim.buildDemo(), qPrintable(sim.lastError()));
    QTemporaryDir run;
    QProcess helper;
    helper.setWorkingDirectory(run.path());
    helper.start(QStringLiteral(CORVANE_INIT_HELPER), {sim.root()});
    QVERIFY(helper.waitForFinished(300000));
    QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
    QCOMPARE(helper.exitCode(), 0);
    QCOMPARE(helper.readAllStandardOutput(), QByteArray("init true GEN.db\n"));
    QFile logFile(QDir(run.path()).filePath(QStringLiteral("navigator_debug.log")));
    QVERIFY(logFile.open(QIODevice::ReadOnly));
    const QString log = QString::fromUtf8(logFile.readAll());
    QVERIFY(log.contains(QStringLiteral("Debug: SqlMgr::addDB \"%1/ROUTE.db\" is open").arg(sim.sqlDir())));
    QVERIFY(!log.contains(QLatin1String("Fatal")));
    QVERIFY(!log.contains(QLatin1String("Warning")));
}

int runGlobalVarTests(int argc, char **argv)
{
    TestGlobalVar t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_globalvar.moc"
