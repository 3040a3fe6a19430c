// The editors without a window: the NAV and WPT records and the texts made
// from them, the navaid key builder, the statements, the update files and
// the conversions of the position entry.

#include "data/sqlmgr.h"
#include "editors/editorstore.h"
#include "editors/latlonentry.h"
#include "editors/markertitle.h"
#include "editors/navaidrecord.h"
#include "editors/updatefile.h"
#include "editors/waypointrecord.h"
#include "map/jstext.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString Hostile = QStringLiteral("O'Hare \"Intl\" </script>");

CNavaidRecord vorRecord()
{
    CNavaidRecord r;
    r.tile = QStringLiteral("65703");
    r.ukey = QStringLiteral("FR1PGS11");
    r.iden = QStringLiteral("PGS");
    r.name = QStringLiteral("L'ISLE");
    r.nfrq = 117.975;
    r.ctry = QStringLiteral("FR");
    r.ntyp = 1;
    r.nuse = 3;
    r.nlat = QStringLiteral("174600.00");
    r.nlon = QStringLiteral("8100.00");
    return r;
}

CWaypointRecord waypointRecord()
{
    CWaypointRecord r;
    r.tile = QStringLiteral("16646303");
    r.iden = QStringLiteral("ABCD");
    r.ukey = QStringLiteral("ABCDEFR");
    r.name = QStringLiteral("ABCDEF");
    r.ctry = QStringLiteral("FR");
    r.wtyp = 1;
    r.wuse = 1;
    r.wlat = QStringLiteral("163800.00");
    r.wlon = QStringLiteral("1287900.00");
    return r;
}

QStringList rowValues(const QSqlDatabase &db, const QString &table, const QString &key)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT * FROM %1 WHERE ukey = ?").arg(table));
    q.addBindValue(key);
    QStringList out;
    if (!q.exec() || !q.next())
        return out;
    for (int i = 0; i < q.record().count(); ++i)
        out << q.value(i).toString();
    return out;
}

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void markerTitle_data();
    void markerTitle();

    void navaidTypeCodes_data();
    void navaidTypeCodes();
    void navaidUsageCodes();
    void frequencyLimits_data();
    void frequencyLimits();
    void navaidValuesAndRecord();
    void navaidGeneralFormat_data();
    void navaidGeneralFormat();
    void navaidMapCommand_data();
    void navaidMapCommand();
    void navaidFromQuery();

    void waypointValuesAndRecord();
    void waypointMapCommand_data();
    void waypointMapCommand();
    void waypointHostileName();
    void waypointKeys_data();
    void waypointKeys();
    void waypointFromQuery();

    void keyBuilder_data();
    void keyBuilder();
    void keyBuilderFailsWithoutTable();
    void replaceNavaidReadsBack_data();
    void replaceNavaidReadsBack();
    void replaceWaypointKeepsColumnOrder();
    void replaceOverwritesSameKeyOnly();
    void deleteByKey();
    void deletionRecords();

    void safeName_data();
    void safeName();
    void updateFilePath();
    void recordable_data();
    void recordable();
    void writeUpdateFile();
    void writeReplacesWholeFile();
    void writeFailureIsReported();

    void latLonShown_data();
    void latLonShown();
    void latLonEdits_data();
    void latLonEdits();
    void latitudeHemisphereRoundTrip();

private:
    void addNav(const QString &ukey, const QString &name = QStringLiteral("X"));

    std::unique_ptr<SimFixture> m_sim;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    std::unique_ptr<SqlMgr> m_sqlMgr;
    QSqlDatabase m_gen;
    QSqlDatabase m_wpt;
    QTemporaryDir m_program;
};

void TestEditors::initTestCase()
{
    m_prompt = std::make_unique<ScriptedPrompt>();
    QVERIFY(m_program.isValid());
}

void TestEditors::cleanupTestCase()
{
    m_gen = QSqlDatabase();
    m_wpt = QSqlDatabase();
    if (m_sqlMgr)
        m_sqlMgr->closeAll();
    UpdateFile::setProgramDir(QString());
}

void TestEditors::init()
{
    // A fresh pair of empty databases for every test.
    m_gen = QSqlDatabase();
    m_wpt = QSqlDatabase();
    if (m_sqlMgr)
        m_sqlMgr->closeAll();
    m_sqlMgr.reset();
    m_sim = std::make_unique<SimFixture>();
    QVERIFY(m_sim->isValid());
    QVERIFY(m_sim->buildSkeleton());
    QVERIFY2(m_sim->createSchemaDatabase(QStringLiteral("GEN.db"), QStringLiteral("GEN"), 0), qPrintable(m_sim->lastError()));
    QVERIFY2(m_sim->createSchemaDatabase(QStringLiteral("WPT.db"), QStringLiteral("WPT"), 0), qPrintable(m_sim->lastError()));
    m_sqlMgr = std::make_unique<SqlMgr>();
    m_sqlMgr->addDB(QStringLiteral("GEN.db"), m_sim->sqlDir());
    m_sqlMgr->addDB(QStringLiteral("WPT.db"), m_sim->sqlDir());
    m_gen = QSqlDatabase::database(QStringLiteral("GEN.db"));
    m_wpt = QSqlDatabase::database(QStringLiteral("WPT.db"));
    QVERIFY(m_gen.isOpen());
    QVERIFY(m_wpt.isOpen());
    UpdateFile::setProgramDir(m_program.path());
    QDir(m_program.path() + QStringLiteral("/Data")).removeRecursively();
    QFile::remove(m_program.path() + QStringLiteral("/Data"));
}

void TestEditors::addNav(const QString &ukey, const QString &name)
{
    QSqlQuery q(m_gen);
    QVERIFY(q.prepare(QStringLiteral("INSERT INTO NAV (tile, ukey, iden, name) VALUES (0, ?, 'PGS', ?)")));
    q.addBindValue(ukey);
    q.addBindValue(name);
    QVERIFY(q.exec());
}

// --- marker titles ---

void TestEditors::markerTitle_data()
{
    QTest::addColumn<QStringList>("keys");   // stored in NAV
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");

    const QStringList paris{QStringLiteral("FR1PGS1")};
    QTest::newRow("name-key") << paris << "PARIS-FR1PGS1" << "PARIS" << "FR1PGS1" << true;
    QTest::newRow("dashes in the name") << QStringList{"FR1SJ1"} << "SAINT-JEAN-FR1SJ1" << "SAINT-JEAN" << "FR1SJ1" << true;
    QTest::newRow("dash in the key") << QStringList{"X-RAYBE"} << "X-RAY-X-RAYBE" << "X-RAY" << "X-RAYBE" << true;
    QTest::newRow("dash in the key, its tail a key too")
            << QStringList{"X-RAYBE", "RAYBE"} << "X-RAY-X-RAYBE" << "X-RAY" << "X-RAYBE" << true;
    QTest::newRow("the tail's own title") << QStringList{"X-RAYBE", "RAYBE"} << "RAY-RAYBE" << "RAY" << "RAYBE" << true;
    QTest::newRow("dashes in both") << QStringList{"ST-JEFR"} << "ST-JEAN-ST-JEFR" << "ST-JEAN" << "ST-JEFR" << true;
    QTest::newRow("trimmed") << paris << "  PARIS-FR1PGS1 " << "PARIS" << "FR1PGS1" << true;
    QTest::newRow("empty name") << paris << "-FR1PGS1" << "" << "FR1PGS1" << true;
    QTest::newRow("hostile name") << QStringList{"FR1OH1"} << Hostile + QStringLiteral("-FR1OH1") << Hostile << "FR1OH1"
                                  << true;
    QTest::newRow("no dash") << paris << "FR1PGS1" << "" << "" << false;
    QTest::newRow("nothing after the dash") << QStringList{""} << "PARIS-" << "" << "" << false;
    QTest::newRow("unknown key") << paris << "PARIS-NOSUCH" << "" << "" << false;
    QTest::newRow("key in another case") << paris << "PARIS-fr1pgs1" << "" << "" << false;
    QTest::newRow("ident, not key") << paris << "X-PGS" << "" << "" << false;
}

void TestEditors::markerTitle()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, title);
    QFETCH(QString, name);
    QFETCH(QString, key);
    QFETCH(bool, found);
    for (const QString &k : keys)
        addNav(k);
    QSqlQuery row;
    const CMarkerTitle t = CMarkerTitle::find(m_gen, QStringLiteral("NAV"), title, &row);
    QCOMPARE(t.found, found);
    QCOMPARE(t.name, name);
    QCOMPARE(t.key, key);
    if (found) {
        QCOMPARE(row.value(1).toString(), key);
        // The keys a title ending with this one may name instead.
        QStringList longer;
        for (const QString &k : keys)
            if (k.endsWith(u'-' + key))
                longer << k;
        QCOMPARE(CMarkerTitle::longerKeys(m_gen, QStringLiteral("NAV"), key), longer);
    }
    // Only the two tables of the editors.
    QVERIFY(!CMarkerTitle::find(m_gen, QStringLiteral("APT"), QStringLiteral("X-LFPG"), &row).found);
}

// --- navaid records ---

void TestEditors::navaidTypeCodes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("keyDigit");

    QTest::newRow("VOR") << int(CNavaidRecord::Vor) << 1 << 1;
    QTest::newRow("TACAN") << int(CNavaidRecord::Tacan) << 5 << 2;
    QTest::newRow("VOR DME") << int(CNavaidRecord::VorDme) << 17 << 4;
    QTest::newRow("NDB") << int(CNavaidRecord::Ndb) << 8 << 5;
    QTest::newRow("NDB DME") << int(CNavaidRecord::NdbDme) << 24 << 7;
    QTest::newRow("none") << int(CNavaidRecord::NoType) << 0 << 0;
}

void TestEditors::navaidTypeCodes()
{
    QFETCH(int, type);
    QFETCH(int, written);
    QFETCH(int, keyDigit);
    QCOMPARE(CNavaidRecord::typeCode(CNavaidRecord::Type(type)), written);
    QCOMPARE(CNavaidRecord::keyDigit(CNavaidRecord::Type(type)), keyDigit);
}

void TestEditors::navaidUsageCodes()
{
    // Loading: a TACAN is filed under 4 and written as 5: both select it.
    QCOMPARE(CNavaidRecord::typeOfCode(1), CNavaidRecord::Vor);
    QCOMPARE(CNavaidRecord::typeOfCode(4), CNavaidRecord::Tacan);
    QCOMPARE(CNavaidRecord::typeOfCode(5), CNavaidRecord::Tacan);
    QCOMPARE(CNavaidRecord::typeOfCode(8), CNavaidRecord::Ndb);
    QCOMPARE(CNavaidRecord::typeOfCode(16), CNavaidRecord::NoType);
    QCOMPARE(CNavaidRecord::typeOfCode(17), CNavaidRecord::VorDme);
    QCOMPARE(CNavaidRecord::typeOfCode(24), CNavaidRecord::NdbDme);
    QCOMPARE(CNavaidRecord::typeOfCode(0), CNavaidRecord::NoType);

    for (int code = 1; code <= 5; ++code) {
        QCOMPARE(CNavaidRecord::usageCode(CNavaidRecord::usageOfCode(code)), code);
    }
    QCOMPARE(CNavaidRecord::usageOfCode(1), CNavaidRecord::High);
    QCOMPARE(CNavaidRecord::usageOfCode(4), CNavaidRecord::Terminal);
    QCOMPARE(CNavaidRecord::usageOfCode(5), CNavaidRecord::Rnav);
    QCOMPARE(CNavaidRecord::usageOfCode(0), CNavaidRecord::NoUsage);
    QCOMPARE(CNavaidRecord::usageOfCode(6), CNavaidRecord::NoUsage);
    QCOMPARE(CNavaidRecord::usageCode(CNavaidRecord::NoUsage), 0);
    QCOMPARE(CNavaidRecord::keyPrefix(QStringLiteral("FR"), 1, QStringLiteral("PGS")), QStringLiteral("FR1PGS"));
}

void TestEditors::frequencyLimits_data()
{
    QTest::addColumn<int>("ntyp");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<bool>("valid");

    QTest::newRow("NDB 180") << 8 << 180.0 << true;
    QTest::newRow("NDB 179.999") << 8 << 179.999 << false;
    QTest::newRow("NDB 1749.999") << 8 << 1749.999 << true;
    QTest::newRow("NDB 1750") << 8 << 1750.0 << false;
    QTest::newRow("NDB DME 1750") << 24 << 1750.0 << false;
    QTest::newRow("NDB DME 356") << 24 << 356.0 << true;
    QTest::newRow("NDB 117") << 8 << 117.0 << false;
    QTest::newRow("VOR 108") << 1 << 108.0 << true;
    QTest::newRow("VOR 107.975") << 1 << 107.975 << false;
    QTest::newRow("VOR 117.975") << 1 << 117.975 << true;
    QTest::newRow("VOR 118") << 1 << 118.0 << false;
    QTest::newRow("TACAN 118") << 5 << 118.0 << false;
    QTest::newRow("VOR DME 356") << 17 << 356.0 << false;
    QTest::newRow("no type: VOR range") << 0 << 112.0 << true;
    QTest::newRow("no type 356") << 0 << 356.0 << false;
}

void TestEditors::frequencyLimits()
{
    QFETCH(int, ntyp);
    QFETCH(double, frequency);
    QFETCH(bool, valid);
    QCOMPARE(CNavaidRecord::frequencyInRange(ntyp, frequency), valid);
}

void TestEditors::navaidValuesAndRecord()
{
    const CNavaidRecord r = vorRecord();
    const QStringList expected{"65703", "FR1PGS11", "PGS", "L'ISLE", "117.975", "0", "0", "FR", "", "1",
                               "0", "3", "174600.00", "8100.00", "0", "0", "0"};
    QCOMPARE(r.values(), expected);
    QCOMPARE(r.updateRecord(),
             QStringLiteral("GEN;NAV;+;65703;FR1PGS11;PGS;L'ISLE;117.975;0;0;FR;;1;0;3;174600.00;8100.00;0;0;0"));

    // The carried values keep their places.
    CNavaidRecord c = r;
    c.nmdv = -3;
    c.nsvr = 1.5;
    c.stat = QStringLiteral("ST");
    c.ncls = 7;
    c.nalt = 348;
    c.npow = 50;
    c.nrgn = 100;
    QCOMPARE(c.updateRecord(),
             QStringLiteral("GEN;NAV;+;65703;FR1PGS11;PGS;L'ISLE;117.975;-3;1.5;FR;ST;1;7;3;174600.00;8100.00;348;50;100"));
}

void TestEditors::navaidGeneralFormat_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("113.25") << 113.25 << "113.25";
    QTest::newRow("350") << 350.0 << "350";
    QTest::newRow("one million") << 1e6 << "1e+06";
    QTest::newRow("six digits at most") << 1749.999 << "1750";
    QTest::newRow("zero") << 0.0 << "0";
}

void TestEditors::navaidGeneralFormat()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    CNavaidRecord r;
    r.nfrq = value;
    r.nrgn = value;
    QCOMPARE(r.values().at(4), text);
    QCOMPARE(r.values().at(16), text);
}

void TestEditors::navaidMapCommand_data()
{
    QTest::addColumn<int>("ntyp");
    QTest::addColumn<int>("nuse");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<QString>("lon");
    QTest::addColumn<QString>("command");

    QTest::newRow("VOR") << 1 << 3 << "L'ISLE" << 117.975 << "8100.00"
                         << "addVORMarker2(new google.maps.LatLng(48.50000,2.25000),\"L'ISLE-FR1PGS11\",1,"
                            "\"<font color=blue><b>VOR PGS</b><font color=black><br/>L'ISLE<br/>117.975 Mhz<br/>"
                            "48 30' 00.00 N - 002 15' 00.00 E\",\"FR1PGS11\")";
    QTest::newRow("TACAN: type code 5, west of Greenwich")
            << 5 << 1 << "ST-JEAN D'ANGELY" << 108.0 << "1287900.00"
            << "addVORMarker2(new google.maps.LatLng(48.50000,-2.25000),\"ST-JEAN D'ANGELY-FR1PGS11\",5,"
               "\"<font color=blue><b>VOR PGS</b><font color=black><br/>ST-JEAN D'ANGELY<br/>108.000 Mhz<br/>"
               "48 30' 00.00 N - 002 15' 00.00 W\",\"FR1PGS11\")";
    QTest::newRow("VOR DME") << 17 << 3 << "PARIS" << 117.05 << "8100.00"
                             << "addVORMarker2(new google.maps.LatLng(48.50000,2.25000),\"PARIS-FR1PGS11\",17,"
                                "\"<font color=blue><b>VOR PGS</b><font color=black><br/>PARIS<br/>117.050 Mhz<br/>"
                                "48 30' 00.00 N - 002 15' 00.00 E\",\"FR1PGS11\")";
    QTest::newRow("NDB: usage code, kHz in general format")
            << 8 << 4 << "NDBX" << 356.0 << "-8100"
            << "addNDBMarker2(new google.maps.LatLng(48.50000,-2.25000),\"NDBX-FR1PGS11\",4,"
               "\"<font color=blue><b>NDB PGS</b><font color=black><br/>NDBX<br/>356 Khz<br/>"
               "48 30' 00.00 N - 002 15' 00.00 W\",\"FR1PGS11\")";
    QTest::newRow("NDB DME") << 24 << 2 << "N" << 1749.5 << "8100.00"
                             << "addNDBMarker2(new google.maps.LatLng(48.50000,2.25000),\"N-FR1PGS11\",2,"
                                "\"<font color=blue><b>NDB PGS</b><font color=black><br/>N<br/>1749.5 Khz<br/>"
                                "48 30' 00.00 N - 002 15' 00.00 E\",\"FR1PGS11\")";
    QTest::newRow("hostile name") << 1 << 3 << Hostile << 110.0 << "8100.00"
                                  << "addVORMarker2(new google.maps.LatLng(48.50000,2.25000),"
                                     "\"O'Hare \\\"Intl\\\" </script>-FR1PGS11\",1,"
                                     "\"<font color=blue><b>VOR PGS</b><font color=black><br/>"
                                     "O'Hare &quot;Intl&quot; &lt;/script&gt;<br/>110.000 Mhz<br/>"
                                     "48 30' 00.00 N - 002 15' 00.00 E\",\"FR1PGS11\")";
    QTest::newRow("placeholder in the name is not filled again")
            << 1 << 3 << "A%2B%5" << 110.0 << "8100.00"
            << "addVORMarker2(new google.maps.LatLng(48.50000,2.25000),\"A%2B%5-FR1PGS11\",1,"
               "\"<font color=blue><b>VOR PGS</b><font color=black><br/>A%2B%5<br/>110.000 Mhz<br/>"
               "48 30' 00.00 N - 002 15' 00.00 E\",\"FR1PGS11\")";
    // Every other type code shows as a VOR, as the map loads it.
    QTest::newRow("DME 16") << 16 << 3 << "X" << 110.0 << "8100.00"
                            << "addVORMarker2(new google.maps.LatLng(48.50000,2.25000),\"X-FR1PGS11\",16,"
                               "\"<font color=blue><b>VOR PGS</b><font color=black><br/>X<br/>110.000 Mhz<br/>"
                               "48 30' 00.00 N - 002 15' 00.00 E\",\"FR1PGS11\")";
}

void TestEditors::navaidMapCommand()
{
    QFETCH(int, ntyp);
    QFETCH(int, nuse);
    QFETCH(QString, name);
    QFETCH(double, frequency);
    QFETCH(QString, lon);
    QFETCH(QString, command);
    CNavaidRecord r = vorRecord();
    r.ntyp = ntyp;
    r.nuse = nuse;
    r.name = name;
    r.nfrq = frequency;
    r.nlon = lon;
    QCOMPARE(r.mapCommand(), command);
}

void TestEditors::navaidFromQuery()
{
    QSqlQuery q(m_gen);
    QVERIFY(q.exec(QStringLiteral("INSERT INTO NAV VALUES (65703,'BE2BBE1','BBE','BEAUVECHAIN TACAN',116.0,-2.5,1.0,"
                                  "'BE','ST',4,6,3,182723.0,17165.002,370,12.5,100.0)")));
    QVERIFY(q.exec(QStringLiteral("SELECT * FROM NAV")));
    QVERIFY(q.next());
    const CNavaidRecord r = CNavaidRecord::fromQuery(q);
    QCOMPARE(r.tile, QStringLiteral("65703"));
    QCOMPARE(r.ukey, QStringLiteral("BE2BBE1"));
    QCOMPARE(r.iden, QStringLiteral("BBE"));
    QCOMPARE(r.name, QStringLiteral("BEAUVECHAIN TACAN"));
    QCOMPARE(r.nfrq, 116.0);
    QCOMPARE(r.ntyp, 4);
    QCOMPARE(r.nlat, QStringLiteral("182723.00"));
    QCOMPARE(r.nlon, QStringLiteral("17165.00"));
    QCOMPARE(r.values().mid(5), (QStringList{"-2.5", "1", "BE", "ST", "4", "6", "3", "182723.00", "17165.00", "370",
                                             "12.5", "100"}));
}

// --- waypoint records ---

void TestEditors::waypointValuesAndRecord()
{
    const CWaypointRecord r = waypointRecord();
    const QStringList expected{"16646303", "ABCD", "ABCDEFR", "ABCDEF", "FR", "", "78", "1",
                               "1", "163800.00", "1287900.00", "0", "0", "0", "0", ""};
    QCOMPARE(r.values(), expected);
    QCOMPARE(r.updateRecord(),
             QStringLiteral("WPT;WPT;+;16646303;ABCD;ABCDEFR;ABCDEF;FR;;78;1;1;163800.00;1287900.00;0;0;0;0;"));
    CWaypointRecord c = r;
    c.stat = QStringLiteral("S");
    c.wloc = 12;
    c.walt = 1500;
    c.wmag = -2.5;
    c.wbrg = 123.456789;
    c.wdis = 1e7;
    c.wnav = QStringLiteral("FR1PGS1");
    QCOMPARE(c.updateRecord(), QStringLiteral("WPT;WPT;+;16646303;ABCD;ABCDEFR;ABCDEF;FR;S;12;1;1;163800.00;"
                                              "1287900.00;1500;-2.5;123.457;1e+07;FR1PGS1"));
}

void TestEditors::waypointMapCommand_data()
{
    QTest::addColumn<int>("wtyp");
    QTest::addColumn<int>("wuse");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("usageShown");
    QTest::addColumn<int>("usagePassed");

    QTest::newRow("high") << 1 << 1 << "ABCDEF" << "High" << 1;
    QTest::newRow("low") << 1 << 2 << "ABCDEF" << "Low" << 2;
    QTest::newRow("both") << 6 << 3 << "ABCDEF" << "High/Low" << 3;
    QTest::newRow("terminal (caption 5)") << 6 << 4 << "ABCDEF" << "Terminal" << 4;
    QTest::newRow("rnav (caption 4)") << 12 << 5 << "ABCDEF" << "RNAV" << 5;
    QTest::newRow("usage 6: no name") << 1 << 6 << "ABCDEF" << "" << 6;
    QTest::newRow("VFR type wins") << 10 << 6 << "ABCDEF" << "VFR" << 6;
    QTest::newRow("VFR type, high usage") << 10 << 1 << "ABCDEF" << "VFR" << 1;
    QTest::newRow("no usage: 4 passed") << 1 << 0 << "ABCDEF" << "" << 4;
}

void TestEditors::waypointMapCommand()
{
    QFETCH(int, wtyp);
    QFETCH(int, wuse);
    QFETCH(QString, name);
    QFETCH(QString, usageShown);
    QFETCH(int, usagePassed);
    CWaypointRecord r = waypointRecord();
    r.wtyp = wtyp;
    r.wuse = wuse;
    r.name = name;
    const QString expected = QStringLiteral("addWPTMarker2(new google.maps.LatLng(45.50000,-2.25000),\"ABCDEF-ABCDEFR\",")
            + QString::number(usagePassed)
            + QStringLiteral(",\"<font color=blue><b>Waypoint ABCD</b><font color=black><br/>ABCDEF (") + usageShown
            + QStringLiteral(")<br/>45 30' 00.00 N - 002 15' 00.00 W\",\"ABCDEFR\")");
    QCOMPARE(r.mapCommand(), expected);
    // The number of the row stays as stored.
    QCOMPARE(r.values().at(8), QString::number(wuse));
}

void TestEditors::waypointHostileName()
{
    CWaypointRecord r = waypointRecord();
    r.name = Hostile;
    r.iden = QStringLiteral("O'H");
    r.ukey = QStringLiteral("O'HARFR");
    QCOMPARE(r.mapCommand(),
             QStringLiteral("addWPTMarker2(new google.maps.LatLng(45.50000,-2.25000),"
                            "\"O'Hare \\\"Intl\\\" </script>-O'HARFR\",1,"
                            "\"<font color=blue><b>Waypoint O'H</b><font color=black><br/>"
                            "O'Hare &quot;Intl&quot; &lt;/script&gt; (High)<br/>"
                            "45 30' 00.00 N - 002 15' 00.00 W\",\"O'HARFR\")"));
    // The keys that end with this one's follow it, for the page.
    QVERIFY(r.mapCommand({QStringLiteral("X-O'HARFR"), QStringLiteral("A\"-O'HARFR")})
                    .endsWith(QStringLiteral("W\",\"O'HARFR\",[\"X-O'HARFR\",\"A\\\"-O'HARFR\"])")));
    QCOMPARE(r.updateRecord(), QStringLiteral("WPT;WPT;+;16646303;O'H;O'HARFR;") + Hostile
                                       + QStringLiteral(";FR;;78;1;1;163800.00;1287900.00;0;0;0;0;"));
}

void TestEditors::waypointKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("ident");
    QTest::addColumn<QString>("key");

    QTest::newRow("short") << "ABC" << "FR" << "ABC" << "ABCFR";
    QTest::newRow("longer than 5") << "ABCDEF" << "FR" << "ABCD" << "ABCDEFR";
    QTest::newRow("empty") << "" << "FR" << "" << "FR";
    QTest::newRow("no country") << "ABCDEF" << "" << "ABCD" << "ABCDE";
}

void TestEditors::waypointKeys()
{
    QFETCH(QString, name);
    QFETCH(QString, country);
    QFETCH(QString, ident);
    QFETCH(QString, key);
    QCOMPARE(CWaypointRecord::identForName(name), ident);
    QCOMPARE(CWaypointRecord::keyForName(name, country), key);

    // Another country takes the place of the last two characters, whatever
    // the length of the previous code.
    QCOMPARE(CWaypointRecord::keyForCountry(QStringLiteral("ABCFR"), QStringLiteral("DE")), QStringLiteral("ABCDE"));
    QCOMPARE(CWaypointRecord::keyForCountry(QStringLiteral("ABCFRA"), QStringLiteral("DE")), QStringLiteral("ABCFDE"));
    QCOMPARE(CWaypointRecord::keyForCountry(QStringLiteral("X"), QStringLiteral("FR")), QStringLiteral("FR"));
    QCOMPARE(CWaypointRecord::keyForCountry(QString(), QStringLiteral("AT")), QStringLiteral("AT"));
}

void TestEditors::waypointFromQuery()
{
    QSqlQuery q(m_wpt);
    QVERIFY(q.exec(QStringLiteral("INSERT INTO WPT VALUES(166,'E1','E1FR','E1','FR','',78,10,6,170539.999,-3676.0,"
                                  "120,1.5,2.5,3.5,'NAVK')")));
    QVERIFY(q.exec(QStringLiteral("SELECT * FROM WPT")));
    QVERIFY(q.next());
    const CWaypointRecord r = CWaypointRecord::fromQuery(q);
    QCOMPARE(r.iden, QStringLiteral("E1"));
    QCOMPARE(r.ukey, QStringLiteral("E1FR"));
    QCOMPARE(r.wloc, 78);
    QCOMPARE(r.wtyp, 10);
    QCOMPARE(r.wuse, 6);
    // Positions as stored, not reformatted.
    QCOMPARE(r.wlat, QStringLiteral("170539.999"));
    QCOMPARE(r.wlon, QStringLiteral("-3676"));
    QCOMPARE(r.updateRecord(),
             QStringLiteral("WPT;WPT;+;166;E1;E1FR;E1;FR;;78;10;6;170539.999;-3676;120;1.5;2.5;3.5;NAVK"));
}

// --- statements ---

void TestEditors::keyBuilder_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("existing");
    QTest::addColumn<QString>("proposed");

    QStringList ten;
    for (int i = 1; i <= 10; ++i)
        ten << QStringLiteral("FR1PGS%1").arg(i);
    QTest::newRow("FR1PGS1 to FR1PGS10") << ten << "FR1PGS" << 10 << "FR1PGS11";
    QTest::newRow("first of its prefix") << ten << "FR5PGS" << 0 << "FR5PGS1";
    QTest::newRow("empty table") << QStringList() << "FR1PGS" << 0 << "FR1PGS1";
    QTest::newRow("gap: one above the largest") << QStringList{"FR1PGS1", "FR1PGS3"} << "FR1PGS" << 2 << "FR1PGS4";
    QTest::newRow("leading zero") << QStringList{"FR1PGS1", "FR1PGS02"} << "FR1PGS" << 2 << "FR1PGS3";
    QTest::newRow("longer idents do not count")
            << QStringList{"FR1PGS1", "FR1PGSX1", "FR1PGSA"} << "FR1PGS" << 1 << "FR1PGS2";
    QTest::newRow("lower case does not count") << QStringList{"fr1pgs7", "FR1PGS1"} << "FR1PGS" << 1 << "FR1PGS2";
    QTest::newRow("LIKE wildcards are plain characters")
            << QStringList{"FR1PGS1", "FR1PGS2"} << "FR1P_S" << 0 << "FR1P_S1";
    QTest::newRow("percent in the ident") << QStringList{"FR1PGS1"} << "FR1%" << 0 << "FR1%1";
    QTest::newRow("apostrophe in the ident") << QStringList{"FR1A'B1"} << "FR1A'B" << 1 << "FR1A'B2";
}

void TestEditors::keyBuilder()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, prefix);
    QFETCH(int, existing);
    QFETCH(QString, proposed);
    for (const QString &k : keys)
        addNav(k);
    const CEditorStore::KeyProposal p = CEditorStore::proposeNavaidKey(m_gen, prefix);
    QVERIFY(p.ok);
    QCOMPARE(p.existing, existing);
    QCOMPARE(p.key, proposed);
    QCOMPARE(CEditorStore::keyExists(m_gen, QStringLiteral("NAV"), p.key), 0);
}

void TestEditors::keyBuilderFailsWithoutTable()
{
    QSqlQuery q(m_gen);
    QVERIFY(q.exec(QStringLiteral("DROP TABLE NAV")));
    const CEditorStore::KeyProposal p = CEditorStore::proposeNavaidKey(m_gen, QStringLiteral("FR1PGS"));
    QVERIFY(!p.ok);
    QVERIFY(p.key.isEmpty());
    QCOMPARE(CEditorStore::keyExists(m_gen, QStringLiteral("NAV"), QStringLiteral("X")), -1);
    QCOMPARE(CEditorStore::keyExists(m_gen, QStringLiteral("NAV; DROP TABLE CTY"), QStringLiteral("X")), -1);
}

void TestEditors::replaceNavaidReadsBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ident");

    QTest::newRow("plain") << "PARIS" << "PGS";
    QTest::newRow("apostrophe") << "L'ISLE" << "LI";
    QTest::newRow("apostrophe and dash") << "ST-JEAN D'ANGELY" << "SJA";
    QTest::newRow("hostile") << Hostile << "O'H";
    QTest::newRow("statement in the name") << "X'); DROP TABLE NAV; --" << "X";
}

void TestEditors::replaceNavaidReadsBack()
{
    QFETCH(QString, name);
    QFETCH(QString, ident);
    CNavaidRecord r = vorRecord();
    r.name = name;
    r.iden = ident;
    r.nmdv = -3;
    r.stat = QStringLiteral("S");
    r.ncls = 2;
    r.nalt = 348;
    r.npow = 1.5;
    r.nrgn = 100;
    QString error;
    QVERIFY2(CEditorStore::replaceNavaid(m_gen, r, &error), qPrintable(error));
    const QStringList expected{"65703", "FR1PGS11", ident, name, "117.975", "-3", "0", "FR", "S", "1",
                               "2", "3", "174600", "8100", "348", "1.5", "100"};
    QCOMPARE(rowValues(m_gen, QStringLiteral("NAV"), QStringLiteral("FR1PGS11")), expected);
    QSqlQuery q(m_gen);
    QVERIFY(q.exec(QStringLiteral("SELECT typeof(tile), typeof(nfrq), typeof(ntyp), typeof(nlat) FROM NAV")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("integer"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("real"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("integer"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("real"));
}

void TestEditors::replaceWaypointKeepsColumnOrder()
{
    CWaypointRecord r = waypointRecord();
    r.name = QStringLiteral("L'ISLE");
    r.wnav = QStringLiteral("FR1PGS1");
    QString error;
    QVERIFY2(CEditorStore::replaceWaypoint(m_wpt, r, &error), qPrintable(error));
    const QStringList expected{"16646303", "ABCD", "ABCDEFR", "L'ISLE", "FR", "", "78", "1",
                               "1", "163800", "1287900", "0", "0", "0", "0", "FR1PGS1"};
    QCOMPARE(rowValues(m_wpt, QStringLiteral("WPT"), QStringLiteral("ABCDEFR")), expected);
    // The ident sits in the second column, the key in the third.
    QSqlQuery q(m_wpt);
    QVERIFY(q.exec(QStringLiteral("SELECT iden, ukey FROM WPT")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ABCD"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("ABCDEFR"));
}

void TestEditors::replaceOverwritesSameKeyOnly()
{
    addNav(QStringLiteral("FR1PGS1"), QStringLiteral("OLD"));
    addNav(QStringLiteral("FR1PGS2"), QStringLiteral("OTHER"));
    CNavaidRecord r = vorRecord();
    r.ukey = QStringLiteral("FR1PGS1");
    r.name = QStringLiteral("NEW");
    QVERIFY(CEditorStore::replaceNavaid(m_gen, r));
    QCOMPARE(rowValues(m_gen, QStringLiteral("NAV"), QStringLiteral("FR1PGS1")).value(3), QStringLiteral("NEW"));
    QCOMPARE(rowValues(m_gen, QStringLiteral("NAV"), QStringLiteral("FR1PGS2")).value(3), QStringLiteral("OTHER"));
    QSqlQuery q(m_gen);
    QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM NAV")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 2);

    // A failing statement says so.
    QVERIFY(q.exec(QStringLiteral("DROP TABLE NAV")));
    QString error;
    QVERIFY(!CEditorStore::replaceNavaid(m_gen, r, &error));
    QVERIFY(!error.isEmpty());
}

void TestEditors::deleteByKey()
{
    addNav(QStringLiteral("FR1PGS1"));
    addNav(QStringLiteral("FR1PGS2"));
    QString error;
    QVERIFY(!CEditorStore::deleteNavaid(m_sqlMgr.get(), m_gen, QStringLiteral("FR1PGS3"), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(CEditorStore::deleteNavaid(m_sqlMgr.get(), m_gen, QStringLiteral("FR1PGS1"), &error));
    QCOMPARE(CEditorStore::keyExists(m_gen, QStringLiteral("NAV"), QStringLiteral("FR1PGS1")), 0);
    QCOMPARE(CEditorStore::keyExists(m_gen, QStringLiteral("NAV"), QStringLiteral("FR1PGS2")), 1);

    CWaypointRecord w = waypointRecord();
    QVERIFY(CEditorStore::replaceWaypoint(m_wpt, w));
    QVERIFY(CEditorStore::deleteWaypoint(m_sqlMgr.get(), m_wpt, QStringLiteral("ABCDEFR"), &error));
    QCOMPARE(CEditorStore::keyExists(m_wpt, QStringLiteral("WPT"), QStringLiteral("ABCDEFR")), 0);
    QVERIFY(!CEditorStore::deleteWaypoint(nullptr, m_wpt, QStringLiteral("ABCDEFR"), &error));
}

void TestEditors::deletionRecords()
{
    QCOMPARE(CEditorStore::navaidDeletionRecord(QStringLiteral("FR1PGS1")), QStringLiteral("GEN;NAV;-;ukey;FR1PGS1"));
    QCOMPARE(CEditorStore::waypointDeletionRecord(QStringLiteral("ABCFR")), QStringLiteral("WPT;WPT;-;ukey;ABCFR"));
}

// --- update files ---

void TestEditors::safeName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");

    QTest::newRow("plain") << "PARIS" << "PARIS";
    QTest::newRow("apostrophe and blank stay") << "L'ISLE D'ABEAU" << "L'ISLE D'ABEAU";
    QTest::newRow("dash and accents stay") << "SAINT-ÉTIENNE" << "SAINT-ÉTIENNE";
    QTest::newRow("slash") << "A/B" << "A_B";
    QTest::newRow("backslash") << "A\\B" << "A_B";
    QTest::newRow("climbing out") << "../../x" << ".._.._x";
    QTest::newRow("hostile") << Hostile << "O'Hare _Intl_ __script_";
    QTest::newRow("reserved characters") << "a:b*c?d|e" << "a_b_c_d_e";
    QTest::newRow("control character") << QString("a\tb\nc") << "a_b_c";
    QTest::newRow("empty") << "" << "_";
}

void TestEditors::safeName()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(UpdateFile::safeName(name), file);
}

void TestEditors::updateFilePath()
{
    QCOMPARE(UpdateFile::path(QStringLiteral("PARIS")), m_program.path() + QStringLiteral("/Data/PARIS.CSV"));
    QCOMPARE(UpdateFile::path(QStringLiteral("A/B")), m_program.path() + QStringLiteral("/Data/A_B.CSV"));
    UpdateFile::setProgramDir(QString());
    QCOMPARE(UpdateFile::programDir(), QCoreApplication::applicationDirPath());
    QCOMPARE(UpdateFile::path(QStringLiteral("PARIS")),
             QCoreApplication::applicationDirPath() + QStringLiteral("/Data/PARIS.CSV"));
}

void TestEditors::recordable_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("ok");

    QTest::newRow("plain") << "PARIS" << true;
    QTest::newRow("apostrophe") << "L'ISLE" << true;
    QTest::newRow("Latin-1 accent") << "ÉVREUX" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("separator") << "A;B" << false;
    QTest::newRow("line feed") << "A\nB" << false;
    QTest::newRow("carriage return") << "A\rB" << false;
    QTest::newRow("outside Latin-1") << QString::fromUtf8("Ω") << false;
}

void TestEditors::recordable()
{
    QFETCH(QString, value);
    QFETCH(bool, ok);
    QCOMPARE(UpdateFile::recordable({QStringLiteral("X"), value}), ok);
}

void TestEditors::writeUpdateFile()
{
    const QString path = UpdateFile::path(QStringLiteral("ÉVREUX"));
    QVERIFY(!QFileInfo::exists(m_program.path() + QStringLiteral("/Data")));
    QString error;
    QVERIFY2(UpdateFile::write(path, QStringLiteral("GEN;NAV;-;ukey;ÉV1"), &error), qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    // Latin-1, one record, no line end.
    QCOMPARE(f.readAll(), QByteArray("GEN;NAV;-;ukey;\xc9V1"));
    // Nothing that Latin-1 cannot carry.
    QVERIFY(!UpdateFile::write(path, QString::fromUtf8("GEN;NAV;-;ukey;Ω"), &error));
    QVERIFY(!UpdateFile::write(path, QStringLiteral("GEN;NAV;-;ukey;A\nGEN;NAV;-;ukey;"), &error));
}

void TestEditors::writeReplacesWholeFile()
{
    const QString path = UpdateFile::path(QStringLiteral("PARIS"));
    QVERIFY(UpdateFile::write(path, QStringLiteral("GEN;NAV;+;a;long;first;record;with;many;fields")));
    QVERIFY(UpdateFile::write(path, QStringLiteral("GEN;NAV;-;ukey;FR1PGS1")));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("GEN;NAV;-;ukey;FR1PGS1"));
}

void TestEditors::writeFailureIsReported()
{
    // "Data" is a file: the folder cannot be made.
    {
        QFile blocker(m_program.path() + QStringLiteral("/Data"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    QString error;
    QVERIFY(!UpdateFile::write(UpdateFile::path(QStringLiteral("PARIS")), QStringLiteral("GEN;NAV;-;ukey;X"), &error));
    QVERIFY(!error.isEmpty());
    QFile::remove(m_program.path() + QStringLiteral("/Data"));

    // A folder in the way of the file.
    const QString path = UpdateFile::path(QStringLiteral("PARIS"));
    QVERIFY(QDir().mkpath(path));
    QVERIFY(!UpdateFile::write(path, QStringLiteral("GEN;NAV;-;ukey;X"), &error));
    QVERIFY(QFileInfo(path).isDir());
}

// --- position entry ---

void TestEditors::latLonShown_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<bool>("south");
    QTest::addColumn<QList<double>>("latDms");
    QTest::addColumn<bool>("west");
    QTest::addColumn<QList<double>>("lonDms");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("zero shows S and W") << 0.0 << 0.0 << true << QList<double>{0, 0, 0} << true
                                        << QList<double>{0, 0, 0}
                                        << QStringList{"0.00", "0.00000", "0.00", "0.00000"};
    QTest::newRow("8100 shows E 2 15 0") << 174600.0 << 8100.0 << false << QList<double>{48, 30, 0} << false
                                         << QList<double>{2, 15, 0}
                                         << QStringList{"174600.00", "48.50000", "8100.00", "2.25000"};
    QTest::newRow("stored west of Greenwich") << -3600.0 << 1287900.0 << true << QList<double>{1, 0, 0} << true
                                              << QList<double>{2, 15, 0}
                                              << QStringList{"-3600.00", "-1.00000", "1287900.00", "-2.25000"};
    QTest::newRow("negative longitude kept as given") << 1.0 << -8100.0 << false << QList<double>{0, 0, 1} << true
                                                      << QList<double>{2, 15, 0}
                                                      << QStringList{"1.00", "0.00028", "-8100.00", "-2.25000"};
    QTest::newRow("180 east") << 0.0 << 648000.0 << true << QList<double>{0, 0, 0} << false
                              << QList<double>{180, 0, 0}
                              << QStringList{"0.00", "0.00000", "648000.00", "180.00000"};
    QTest::newRow("a full turn") << 0.0 << 1296000.0 << true << QList<double>{0, 0, 0} << true
                                 << QList<double>{0, 0, 0}
                                 << QStringList{"0.00", "0.00000", "1296000.00", "0.00000"};
    QTest::newRow("beyond 85 degrees") << 88.5 * 3600 << 0.5 << false << QList<double>{88, 30, 0} << false
                                       << QList<double>{0, 0, 0.5}
                                       << QStringList{"318600.00", "88.50000", "0.50", "0.00014"};
}

void TestEditors::latLonShown()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(bool, south);
    QFETCH(QList<double>, latDms);
    QFETCH(bool, west);
    QFETCH(QList<double>, lonDms);
    QFETCH(QStringList, texts);
    CLatLonEntry e;
    e.setLatLon(lat, lon);
    QCOMPARE(e.lat, lat);
    QCOMPARE(e.lon, lon);
    QCOMPARE(e.south, south);
    QCOMPARE(e.west, west);
    QCOMPARE(e.latDms.degrees, int(latDms[0]));
    QCOMPARE(e.latDms.minutes, int(latDms[1]));
    QVERIFY(qAbs(e.latDms.seconds - latDms[2]) < 1e-6);
    QCOMPARE(e.lonDms.degrees, int(lonDms[0]));
    QCOMPARE(e.lonDms.minutes, int(lonDms[1]));
    QVERIFY(qAbs(e.lonDms.seconds - lonDms[2]) < 1e-6);
    QCOMPARE((QStringList{e.latText(), e.latDegreesText(), e.lonText(), e.lonDegreesText()}), texts);
}

void TestEditors::latLonEdits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("west");
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("degrees");

    QTest::newRow("W with magnitude 0") << 0.0 << true << 1296000.0 << "0.00000";
    QTest::newRow("E with magnitude 0") << 0.0 << false << 0.0 << "0.00000";
    QTest::newRow("2.25 W") << 8100.0 << true << 1287900.0 << "-2.25000";
    QTest::newRow("back to E") << 1287900.0 << false << 8100.0 << "2.25000";
    QTest::newRow("W kept W") << 1287900.0 << true << 1287900.0 << "-2.25000";
    QTest::newRow("negative, E") << -8100.0 << false << 8100.0 << "2.25000";
    QTest::newRow("180 W") << 648000.0 << true << 648000.0 << "180.00000";
    QTest::newRow("seconds at 60") << 60.0 << true << 1295940.0 << "-0.01667";
}

void TestEditors::latLonEdits()
{
    QFETCH(double, value);
    QFETCH(bool, west);
    QFETCH(double, stored);
    QFETCH(QString, degrees);
    CLatLonEntry e;
    e.setLatLon(0, 8100);
    e.updateLon(value, west);
    QCOMPARE(e.lon, stored);
    QCOMPARE(e.lonText(), JsText::fixed(stored, 2));
    QCOMPARE(e.lonDegreesText(), degrees);
    QVERIFY(e.lon >= 0 && e.lon <= 1296000);

    QCOMPARE(CLatLonEntry::magnitude(2, 15, 0), 8100.0);
    QCOMPARE(CLatLonEntry::magnitude(-2, 15, 0.5), 8100.5);
    QCOMPARE(CLatLonEntry::magnitude(0, 59, 60), 3600.0);
}

void TestEditors::latitudeHemisphereRoundTrip()
{
    CLatLonEntry e;
    e.setLatLon(174600, 0);
    QVERIFY(!e.south);
    e.updateLat(qAbs(e.latText().toDouble()), true);
    QCOMPARE(e.lat, -174600.0);
    QCOMPARE(e.latText(), QStringLiteral("-174600.00"));
    QCOMPARE(e.latDegreesText(), QStringLiteral("-48.50000"));
    e.updateLat(qAbs(e.latText().toDouble()), false);
    QCOMPARE(e.lat, 174600.0);
    // South with nothing to carry is no "-0".
    e.updateLat(0, true);
    QCOMPARE(e.latText(), QStringLiteral("0.00"));
}

QTEST_GUILESS_MAIN(TestEditors)
#include "tst_editors.moc"
