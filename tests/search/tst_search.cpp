// The search cascade: which records are found for a text, in which order,
// with which runway ends under which airport, and with which icons.

#include "data/schema.h"
#include "data/sqlmgr.h"
#include "search/pointsearch.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"

#include <QTest>

namespace {

QString sqlText(const QVariant &v)
{
    if (v.typeId() == QMetaType::QString)
        return QStringLiteral("'") + v.toString().replace(u'\'', QStringLiteral("''")) + QStringLiteral("'");
    return v.toString();
}

// "INSERT INTO table (a, b) VALUES (1, 'x')": the columns not named stay NULL.
QString insert(const QString &table, const QList<QPair<QString, QVariant>> &values)
{
    QStringList columns, texts;
    for (const auto &v : values) {
        columns << v.first;
        texts << sqlText(v.second);
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3);").arg(table, columns.join(u','), texts.join(u','));
}

QString airport(const QString &ukey, const QString &iden, const QString &name, double lat = 0, double lon = 0,
                int elevation = 0)
{
    return insert("APT", {{"ukey", ukey}, {"iden", iden}, {"name", name}, {"alat", lat}, {"alon", lon}, {"aele", elevation}});
}

QString runway(const QString &apt, const QString &high, const QString &low, double lat = 0)
{
    return insert("RWY", {{"rapt", apt}, {"rhid", high}, {"rhla", lat}, {"rhlo", 100.0}, {"rhht", 11}, {"rhmh", 90.0},
                          {"rlid", low}, {"rlla", lat + 10}, {"rllo", 200.0}, {"rlht", 22}, {"rlmh", 270.0}});
}

QString navaid(const QString &ukey, const QString &iden, const QString &name, int type)
{
    return insert("NAV", {{"ukey", ukey}, {"iden", iden}, {"name", name}, {"ntyp", type}, {"nfrq", 113.0},
                          {"nlat", 1000.0}, {"nlon", 2000.0}});
}

QString waypoint(const QString &ukey, const QString &iden, const QString &name)
{
    return insert("WPT", {{"ukey", ukey}, {"iden", iden}, {"name", name}, {"wlat", 3000.0}, {"wlon", 4000.0}});
}

char letter(CPointSearch::Kind kind)
{
    switch (kind) {
    case CPointSearch::Airport: return 'A';
    case CPointSearch::RunwayEnd: return 'R';
    case CPointSearch::Navaid: return 'N';
    case CPointSearch::Waypoint: return 'W';
    }
    return '?';
}

// "A:LFPG R0:09L R0:27R N:PGS W:ABNUR": kind, the parent of runway ends, ident.
QString shape(const QList<CPointSearch::Result> &results)
{
    QStringList parts;
    for (const CPointSearch::Result &r : results) {
        QString part = QChar::fromLatin1(letter(r.kind));
        if (r.kind == CPointSearch::RunwayEnd)
            part += QString::number(r.parent);
        parts << part + u':' + r.point->ident;
    }
    return parts.join(u' ');
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void cascade_data();
    void cascade();
    void cruiseValues();
    void runwayEnds();
    void icons_data();
    void icons();
    void missingWaypointDatabase();

private:
    SimFixture m_sim;
    ScriptedPrompt m_prompt;
    SqlMgr *m_sql = nullptr;
};

void TestSearch::initTestCase()
{
    QVERIFY(m_sim.buildSkeleton());
    QStringList gen, wpt;
    for (const char *t : {"APT", "RWY", "NAV"})
        gen << CSchema::table("GEN", t)->createStatement() + u';';
    wpt << CSchema::table("WPT", "WPT")->createStatement() + u';';

    gen << airport("LFPG", "LFPG", "Paris Charles de Gaulle", 176435, 9225, 392)
        << airport("LFPO", "LFPO", "Paris Orly")
        << airport("LFPB", "LFPB", "Le Bourget")
        << airport("LFPBX", "XXPB", "Bourget annexe")
        << airport("K0AB", "LFPZ", "Idents only")
        << runway("LFPG", "09L", "27R", 1) << runway("LFPG", "08R", "26L", 2)
        << runway("LFPB", "07", "25") << runway("LFPBX", "03", "21")
        << navaid("PGSKEY", "PGS", "Pontoise", 1)
        << navaid("BTKEY", "BT", "Bourget", 8)
        << navaid("CGNKEY", "CGN", "Paris Nord", 2)
        << navaid("XPAKEY", "XPA", "Tacan", 32)
        << navaid("LFPGNAV", "PGN", "Gaulle navaid", 4);
    wpt << waypoint("ABNURKEY", "ABNUR", "Abnur")
        << waypoint("PARIS1", "PARIS", "Paris fix")
        << waypoint("ZZ1", "LFPG", "Fix named like an airport");
    QVERIFY2(m_sim.exec("GEN.db", gen.join(u'\n')), qPrintable(m_sim.lastError()));
    QVERIFY2(m_sim.exec("WPT.db", wpt.join(u'\n')), qPrintable(m_sim.lastError()));

    m_sql = new SqlMgr;
    m_sql->addDB("GEN.db", m_sim.sqlDir());
    m_sql->addDB("WPT.db", m_sim.sqlDir());
    QVERIFY(m_prompt.records.isEmpty());
}

void TestSearch::cleanupTestCase()
{
    m_sql->closeAll();
    delete m_sql;
}

void TestSearch::cascade_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QString>("shape");

    QTest::newRow("exact key: airport with its runway ends, then a waypoint ident")
            << "LFPG" << true << "A:LFPG R0:09L R0:27R R0:08R R0:26L W:LFPG";
    QTest::newRow("exact ident when no key matches") << "LFPZ" << true << "A:LFPZ";
    QTest::newRow("exact is case-sensitive") << "lfpg" << true << "";
    QTest::newRow("exact navaid by key") << "PGSKEY" << true << "N:PGS";
    QTest::newRow("exact navaid by ident") << "PGS" << true << "N:PGS";
    QTest::newRow("exact waypoint by name") << "Abnur" << true << "W:ABNUR";
    QTest::newRow("near: airports by key prefix, navaid by key prefix")
            << "LFPG" << false << "A:LFPG R0:09L R0:27R R0:08R R0:26L N:PGN W:LFPG";
    QTest::newRow("near: names containing the text, when no key or ident begins with it")
            << "PAR" << false << "A:LFPG R0:09L R0:27R R0:08R R0:26L A:LFPO N:CGN W:PARIS";
    QTest::newRow("near: each airport with the runways of its own key")
            << "LFPB" << false << "A:LFPB R0:07 R0:25 A:XXPB R3:03 R3:21";
    QTest::newRow("near: one airport found, the runways of its own key")
            << "Le Bourg" << false << "A:LFPB R0:07 R0:25";
    QTest::newRow("exact: runways of the airport only") << "LFPB" << true << "A:LFPB R0:07 R0:25";
    QTest::newRow("near: ident prefix before names") << "XX" << false << "A:XXPB R0:03 R0:21";
    QTest::newRow("nothing found") << "QQQQ" << false << "";
    QTest::newRow("a double quote finds nothing and breaks nothing") << "LF\"PG" << false << "";
}

void TestSearch::cascade()
{
    QFETCH(QString, text);
    QFETCH(bool, exact);
    const CPointSearch search(m_sql, "GEN.db", "WPT.db");
    QTEST(shape(search.run(text, exact, 0, 0)), "shape");
    QVERIFY(m_prompt.records.isEmpty());
}

void TestSearch::cruiseValues()
{
    const CPointSearch search(m_sql, "GEN.db", "WPT.db");
    const QList<CPointSearch::Result> found = search.run("LFPG", false, 130, 5500);
    QCOMPARE(shape(found), QStringLiteral("A:LFPG R0:09L R0:27R R0:08R R0:26L N:PGN W:LFPG"));
    for (const CPointSearch::Result &r : found) {
        const bool cruise = r.kind != CPointSearch::RunwayEnd;
        QCOMPARE(r.point->speed, cruise ? 130 : 0);
        QCOMPARE(r.point->altitude, cruise ? 5500 : 0);
    }
    // The airport record otherwise as the builder makes it.
    const CFlightPlanPoint &apt = *found.at(0).point;
    QCOMPARE(apt.name, QStringLiteral("Paris Charles de Gaulle"));
    QCOMPARE(apt.dbKey, QStringLiteral("LFPG"));
    QCOMPARE(apt.latitude, 176435.0);
    QCOMPARE(apt.elevation, 392);
    QCOMPARE(apt.kind, QStringLiteral("airp"));
}

void TestSearch::runwayEnds()
{
    const CPointSearch search(m_sql, "GEN.db", "WPT.db");
    const QList<CPointSearch::Result> found = search.run("LFPB", true, 130, 5500);
    QCOMPARE(found.size(), 3);
    const CFlightPlanPoint &high = *found.at(1).point;
    const CFlightPlanPoint &low = *found.at(2).point;
    QCOMPARE(high.name, QStringLiteral("RWY 07"));
    QCOMPARE(high.dbKey, QStringLiteral("NONE"));
    QCOMPARE(high.longitude, 100.0);
    QCOMPARE(high.elevation, 11);
    QCOMPARE(high.heading, 90.0);
    QCOMPARE(low.name, QStringLiteral("RWY 25"));
    QCOMPARE(low.longitude, 200.0);
    QCOMPARE(low.elevation, 22);
    QCOMPARE(low.heading, 270.0);
}

void TestSearch::icons_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("icons");

    QTest::newRow("airport and runway ends") << "LFPB" << QStringList{":/icon/images/Img08.bmp", ":/icon/images/Img10.bmp",
                                                                      ":/icon/images/Img10.bmp"};
    QTest::newRow("navaid of type 1") << "PGS" << QStringList{":/icon/images/Img05.bmp"};
    QTest::newRow("navaid of type 4") << "PGN" << QStringList{":/icon/images/Img05.bmp"};
    QTest::newRow("navaid of type 8") << "BT" << QStringList{":/icon/images/Img03.bmp"};
    QTest::newRow("navaid of type 32") << "XPA" << QStringList{":/icon/images/Img03.bmp"};
    QTest::newRow("navaid of type 2 has none") << "CGN" << QStringList{""};
    QTest::newRow("waypoint") << "ABNUR" << QStringList{":/icon/images/Img12.bmp"};
}

void TestSearch::icons()
{
    QFETCH(QString, text);
    QFETCH(QStringList, icons);
    const CPointSearch search(m_sql, "GEN.db", "WPT.db");
    QStringList got;
    for (const CPointSearch::Result &r : search.run(text, true, 0, 0))
        got << CPointSearch::icon(r);
    QCOMPARE(got, icons);
}

void TestSearch::missingWaypointDatabase()
{
    const CPointSearch search(m_sql, "GEN.db", "NOWPT.db");
    QCOMPARE(shape(search.run("LFPG", true, 0, 0)), QStringLiteral("A:LFPG R0:09L R0:27R R0:08R R0:26L"));
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
