// The editors without a window: the marker titles, the records and the page
// calls made from them, the navaid key builder, the deletion, the update
// files and the position entry.

#include "data/sqlmgr.h"
#include "editors/editorstore.h"
#include "editors/latlonentry.h"
#include "editors/markertitle.h"
#include "editors/navaidrecord.h"
#include "editors/updatefile.h"
#include "editors/waypointrecord.h"
#include "tests/support/simfixture.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString Hostile = QStringLiteral("O'Hare \"Intl\" </script>");

CNavaidRecord navaid(int ntyp, int nuse, const QString &name, double nfrq, const QString &nlon)
{
    CNavaidRecord r;
    r.tile = QStringLiteral("65703");
    r.ukey = QStringLiteral("FR1PGS11");
    r.iden = QStringLiteral("PGS");
    r.name = name;
    r.nfrq = nfrq;
    r.ctry = QStringLiteral("FR");
    r.ntyp = ntyp;
    r.nuse = nuse;
    r.nlat = QStringLiteral("174600.00");
    r.nlon = nlon;
    return r;
}

CWaypointRecord waypoint(int wtyp, int wuse, const QString &name = QStringLiteral("ABCDEF"))
{
    CWaypointRecord r;
    r.tile = QStringLiteral("16646303");
    r.iden = QStringLiteral("ABCD");
    r.ukey = QStringLiteral("ABCDEFR");
    r.name = name;
    r.ctry = QStringLiteral("FR");
    r.wtyp = wtyp;
    r.wuse = wuse;
    r.wlat = QStringLiteral("163800.00");
    r.wlon = QStringLiteral("1287900.00");
    return r;
}

} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void navaidKeys_data();
    void navaidKeys();
    void texts_data();
    void texts();
    void deletion();
    void updateFile_data();
    void updateFile();
    void latLon_data();
    void latLon();

private:
    void addNav(const QString &ukey);

    std::unique_ptr<SimFixture> m_sim;
    std::unique_ptr<SqlMgr> m_sqlMgr;
    QSqlDatabase m_gen;
    QSqlDatabase m_wpt;
    QTemporaryDir m_program;
};

void TestEditors::init()
{
    // A fresh pair of empty databases for every test.
    cleanupTestCase();
    m_sim = std::make_unique<SimFixture>();
    QVERIFY(m_sim->buildSkeleton());
    m_sqlMgr = std::make_unique<SqlMgr>();
    for (const QString db : {"GEN", "WPT"}) {
        QVERIFY(m_sim->createSchemaDatabase(db + QStringLiteral(".db"), db, 0));
        m_sqlMgr->addDB(db + QStringLiteral(".db"), m_sim->sqlDir());
    }
    m_gen = QSqlDatabase::database(QStringLiteral("GEN.db"));
    m_wpt = QSqlDatabase::database(QStringLiteral("WPT.db"));
    QVERIFY(m_gen.isOpen() && m_wpt.isOpen());
    UpdateFile::setProgramDir(m_program.path());
    QDir(m_program.path() + QStringLiteral("/Data")).removeRecursively();
}

void TestEditors::cleanupTestCase()
{
    m_gen = m_wpt = QSqlDatabase();
    if (m_sqlMgr)
        m_sqlMgr->closeAll();
    m_sqlMgr.reset();
    UpdateFile::setProgramDir(QString());
}

void TestEditors::addNav(const QString &ukey)
{
    QSqlQuery q(m_gen);
    QVERIFY(q.prepare(QStringLiteral("INSERT INTO NAV (tile, ukey, iden, name) VALUES (0, ?, 'PGS', 'X')")));
    q.addBindValue(ukey);
    QVERIFY(q.exec());
}

// The navaid keys stored, then a marker title looked up, or the key proposed
// for a prefix.
void TestEditors::navaidKeys_data()
{
    QTest::addColumn<QStringList>("keys");   // stored in NAV
    QTest::addColumn<QString>("title");      // "NAME-KEY", or "PREFIX*" for a proposal
    QTest::addColumn<QString>("found");      // "name|key" (empty: not found), or "existing|proposed"

    QTest::newRow("dashes in the name") << QStringList{"FR1SJ1"} << "SAINT-JEAN-FR1SJ1" << "SAINT-JEAN|FR1SJ1";
    QTest::newRow("dash in the key, its tail a key too") << QStringList{"X-RAYBE", "RAYBE"} << "X-RAY-X-RAYBE" << "X-RAY|X-RAYBE";
    QTest::newRow("the tail's own title, a longer key ends with it") << QStringList{"X-RAYBE", "RAYBE"} << "RAY-RAYBE" << "RAY|RAYBE";
    QTest::newRow("trimmed, hostile") << QStringList{"FR1OH1"} << " " + Hostile + "-FR1OH1 " << Hostile + "|FR1OH1";
    QTest::newRow("nothing after the dash") << QStringList{""} << "PARIS-" << "";
    QTest::newRow("key in another case") << QStringList{"FR1PGS1"} << "PARIS-fr1pgs1" << "";
    // Proposals: one above the largest number, read as a number.
    QTest::newRow("gap") << QStringList{"FR1PGS1", "FR1PGS3"} << "FR1PGS*" << "2|FR1PGS4";
    QTest::newRow("leading zero") << QStringList{"FR1PGS1", "FR1PGS02"} << "FR1PGS*" << "2|FR1PGS3";
    QTest::newRow("longer idents, lower case do not count") << QStringList{"FR1PGS1", "FR1PGSX1", "fr1pgs7"} << "FR1PGS*" << "1|FR1PGS2";
    QTest::newRow("LIKE wildcards are plain characters") << QStringList{"FR1PGS1"} << "FR1P_S*" << "0|FR1P_S1";
    QTest::newRow("apostrophe in the ident") << QStringList{"FR1A'B1"} << "FR1A'B*" << "1|FR1A'B2";
}

void TestEditors::navaidKeys()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, title);
    for (const QString &k : keys)
        addNav(k);
    if (title.endsWith(u'*')) {
        const CEditorStore::KeyProposal p = CEditorStore::proposeNavaidKey(m_gen, title.chopped(1));
        QVERIFY(p.ok);
        QTEST(QString::number(p.existing) + u'|' + p.key, "found");
        return;
    }
    QSqlQuery row;
    const CMarkerTitle t = CMarkerTitle::find(m_gen, QStringLiteral("NAV"), title, &row);
    QTEST(t.found ? t.name + u'|' + row.value(1).toString() : QString(), "found");
    QCOMPARE(t.key, t.found ? row.value(1).toString() : QString());
    // The keys a title ending with this one may name instead.
    QStringList longer;
    for (const QString &k : keys)
        if (t.found && k.endsWith(u'-' + t.key))
            longer << k;
    QCOMPARE(CMarkerTitle::longerKeys(m_gen, QStringLiteral("NAV"), t.key), longer);
    // Only the two tables of the editors.
    QVERIFY(!CMarkerTitle::find(m_gen, QStringLiteral("APT"), QStringLiteral("X-LFPG"), &row).found);
}

// The update records the simulator reads and the calls the page runs.
void TestEditors::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    CNavaidRecord n = navaid(1, 3, "L'ISLE", 117.975, "8100.00");
    n.nmdv = -3;
    n.nsvr = 1.5;
    n.stat = QStringLiteral("ST");
    n.ncls = 7;
    n.nalt = 348;
    n.npow = 50;
    n.nrgn = 1e6;
    QTest::newRow("navaid record") << n.updateRecord()
            << "GEN;NAV;+;65703;FR1PGS11;PGS;L'ISLE;117.975;-3;1.5;FR;ST;1;7;3;174600.00;8100.00;348;50;1e+06";
    CWaypointRecord w = waypoint(1, 1);
    w.stat = QStringLiteral("S");
    w.wloc = 12;
    w.walt = 1500;
    w.wmag = -2.5;
    w.wbrg = 123.456789;
    w.wnav = QStringLiteral("FR1PGS1");
    QTest::newRow("waypoint record") << w.updateRecord()
            << "WPT;WPT;+;16646303;ABCD;ABCDEFR;ABCDEF;FR;S;12;1;1;163800.00;1287900.00;1500;-2.5;123.457;0;FR1PGS1";
    QTest::newRow("navaid deletion") << CEditorStore::navaidDeletionRecord("FR1PGS1") << "GEN;NAV;-;ukey;FR1PGS1";

    // Every type code but the NDBs' shows as a VOR with its code.
    QTest::newRow("DME 16 stored west") << navaid(16, 1, "X%2", 108.0, "-8100").mapCommand()
            << "addVORMarker2(new google.maps.LatLng(48.50000,-2.25000),\"X%2-FR1PGS11\",16,\"<font color=blue><b>VOR PGS"
               "</b><font color=black><br/>X%2<br/>108.000 Mhz<br/>48 30' 00.00 N - 002 15' 00.00 W\",\"FR1PGS11\")";
    const QString head = QStringLiteral("addWPTMarker2(new google.maps.LatLng(45.50000,-2.25000),\"ABCDEF-ABCDEFR\",");
    const QString info = QStringLiteral(",\"<font color=blue><b>Waypoint ABCD</b><font color=black><br/>ABCDEF (");
    const QString tail = QStringLiteral(")<br/>45 30' 00.00 N - 002 15' 00.00 W\",\"ABCDEFR\")");
    QTest::newRow("waypoint, VFR type wins") << waypoint(10, 2).mapCommand() << head + "2" + info + "VFR" + tail;
    QTest::newRow("waypoint, no usage: 4 passed") << waypoint(1, 0).mapCommand() << head + "4" + info + tail;
    // The keys that end with this one's follow it, for the page.
    QTest::newRow("hostile waypoint, longer keys")
            << waypoint(6, 3, Hostile).mapCommand({QStringLiteral("X-ABCDEFR"), QStringLiteral("A\"-ABCDEFR")})
            << "addWPTMarker2(new google.maps.LatLng(45.50000,-2.25000),\"O'Hare \\\"Intl\\\" </script>-ABCDEFR\",3,"
               "\"<font color=blue><b>Waypoint ABCD</b><font color=black><br/>O'Hare &quot;Intl&quot; &lt;/script&gt; "
               "(High/Low)<br/>45 30' 00.00 N - 002 15' 00.00 W\",\"ABCDEFR\",[\"X-ABCDEFR\",\"A\\\"-ABCDEFR\"])";
}

void TestEditors::texts()
{
    QFETCH(QString, text);
    QTEST(text, "expected");
}

void TestEditors::deletion()
{
    // On the exact key only; a key no row has is an error.
    addNav(QStringLiteral("FR1PGS1"));
    addNav(QStringLiteral("FR1PGS2"));
    QString error;
    QVERIFY(!CEditorStore::deleteNavaid(m_sqlMgr.get(), m_gen, QStringLiteral("FR1PGS"), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(CEditorStore::deleteNavaid(m_sqlMgr.get(), m_gen, QStringLiteral("FR1PGS1"), &error));
    QCOMPARE(CEditorStore::keyExists(m_gen, "NAV", "FR1PGS1") * 10 + CEditorStore::keyExists(m_gen, "NAV", "FR1PGS2"), 1);
    // No key proposed from a table that fails.
    QSqlQuery q(m_gen);
    QVERIFY(q.exec(QStringLiteral("DROP TABLE NAV")));
    QVERIFY(!CEditorStore::proposeNavaidKey(m_gen, QStringLiteral("FR1PGS")).ok);
}

void TestEditors::updateFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QByteArray>("written");   // empty: refused

    QTest::newRow("Latin-1, no line end") << "ÉVREUX" << "ÉVREUX" << "GEN;NAV;-;ukey;ÉV1" << QByteArray("GEN;NAV;-;ukey;\xc9V1");
    QTest::newRow("climbing out, reserved and control characters") << "../a:b*c?d|e\\f<g\"h\ti" << ".._a_b_c_d_e_f_g_h_i" << "A"
                                                                    << QByteArray("A");
    QTest::newRow("empty") << "" << "_" << "A" << QByteArray("A");
    QTest::newRow("outside Latin-1") << "X" << "X" << QString::fromUtf8("GEN;NAV;-;ukey;Ω") << QByteArray();
    QTest::newRow("two lines") << "X" << "X" << "GEN;NAV;-;ukey;A\nGEN;NAV;-;ukey;B" << QByteArray();
    QTest::newRow("Data is a file") << "../Data/.." << "" << "A" << QByteArray();
}

void TestEditors::updateFile()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QFETCH(QString, record);
    QFETCH(QByteArray, written);
    const QString path = UpdateFile::path(file.isEmpty() ? QStringLiteral("X") : name);
    if (file.isEmpty()) {
        QFile blocker(m_program.path() + QStringLiteral("/Data"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else {
        QCOMPARE(path, m_program.path() + QStringLiteral("/Data/") + file + QStringLiteral(".CSV"));
        // A longer record before: the file holds the last one only.
        QVERIFY(UpdateFile::write(path, QStringLiteral("GEN;NAV;+;a;long;first;record")));
    }
    QString error;
    QCOMPARE(UpdateFile::write(path, record, &error), !written.isEmpty());
    QCOMPARE(error.isEmpty(), !written.isEmpty());
    QFile f(path);
    if (!written.isEmpty())
        QCOMPARE(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(), written);
    QFile::remove(m_program.path() + QStringLiteral("/Data"));
    // What the values of a record may not hold.
    QCOMPARE(UpdateFile::recordable({QStringLiteral("X"), QString(record).remove(u';')}), !written.isEmpty() || file.isEmpty());
    QVERIFY(!UpdateFile::recordable({QStringLiteral("A;B")}) && !UpdateFile::recordable({QStringLiteral("A\rB")}));
}

void TestEditors::latLon_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("shown");   // hemispheres, degrees minutes seconds, texts
    QTest::addColumn<QString>("edit");    // a magnitude entered and its hemisphere
    QTest::addColumn<QString>("stored");  // then the texts of that coordinate

    QTest::newRow("stored west of Greenwich") << -3600.0 << 1287900.0 << "S 1 0 0 W 2 15 0 -3600.00 -1.00000 1287900.00 -2.25000"
                                              << "lon 1287900 E" << "8100.00 2.25000";
    QTest::newRow("180 east") << 0.5 << 648000.0 << "N 0 0 0.5 E 180 0 0 0.50 0.00014 648000.00 180.00000"
                              << "lon 648000 W" << "648000.00 180.00000";
    // Zero shows S and W; 0 W is stored as a full turn.
    QTest::newRow("a full turn") << 318600.0 << 1296000.0 << "N 88 30 0 W 0 0 0 318600.00 88.50000 1296000.00 0.00000"
                                 << "lon 0 W" << "1296000.00 0.00000";
    QTest::newRow("seconds carry") << 2399.999 << 8100.0 << "N 0 40 0 E 2 15 0 2400.00 0.66667 8100.00 2.25000"
                                   << "lat 0 S" << "0.00 0.00000";
    QTest::newRow("no latitude beyond the pole") << 0.0 << 8100.0 << "S 0 0 0 E 2 15 0 0.00 0.00000 8100.00 2.25000"
                                                 << "lat 400000 S" << "-324000.00 -90.00000";
}

void TestEditors::latLon()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QString, edit);
    CLatLonEntry e;
    e.setLatLon(lat, lon);
    QCOMPARE(e.lat * 1e7 + e.lon, lat * 1e7 + lon);
    const auto dms = [](const CLatLonEntry::Dms &d) { return QStringLiteral("%1 %2 %3").arg(d.degrees).arg(d.minutes).arg(d.seconds); };
    QTEST(QStringList({e.south ? "S" : "N", dms(e.latDms), e.west ? "W" : "E", dms(e.lonDms), e.latText(),
                       e.latDegreesText(), e.lonText(), e.lonDegreesText()}).join(u' '), "shown");
    const QStringList entered = edit.split(u' ');
    const bool southOrWest = entered[2] == QLatin1String("S") || entered[2] == QLatin1String("W");
    if (entered[0] == QLatin1String("lat"))
        e.updateLat(entered[1].toDouble(), southOrWest);
    else
        e.updateLon(entered[1].toDouble(), southOrWest);
    QTEST(entered[0] == QLatin1String("lat") ? e.latText() + u' ' + e.latDegreesText() : e.lonText() + u' ' + e.lonDegreesText(),
          "stored");
    QCOMPARE(CLatLonEntry::magnitude(-2, 59, 60.5), 10800.5);
}

QTEST_GUILESS_MAIN(TestEditors)
#include "tst_editors.moc"
