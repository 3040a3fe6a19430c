// The search cascade: which records are found for a text, in which order,
// with which runway ends under which airport. (The icons: a table of the
// code; tst_search_window checks each result line shows one.)

#include "data/schema.h"
#include "data/sqlmgr.h"
#include "search/pointsearch.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"

#include <QTest>

namespace {

// "A:LFPG R0:09L R0:27R N:PGS W:ABNUR": kind, the parent of runway ends, ident.
QString shape(const QList<CPointSearch::Result> &results)
{
    QStringList parts;
    for (const CPointSearch::Result &r : results) {
        QString part = QChar::fromLatin1("ARNW"[r.kind]);
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
    void records();

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

    gen << "INSERT INTO APT (ukey, iden, name, alat, alon, aele) VALUES ('LFPG', 'LFPG', 'Paris Charles de Gaulle', "
           "176435, 9225, 392), ('LFPO', 'LFPO', 'Paris Orly', 0, 0, 0), ('LFPB', 'LFPB', 'Le Bourget', 0, 0, 0), "
           "('LFPBX', 'XXPB', 'Bourget annexe', 0, 0, 0), ('K0AB', 'LFPZ', 'Idents only', 0, 0, 0);"
        << "INSERT INTO RWY (rapt, rhid, rhla, rhlo, rhht, rhmh, rlid, rlla, rllo, rlht, rlmh) VALUES "
           "('LFPG', '09L', 1, 100, 11, 90, '27R', 11, 200, 22, 270), ('LFPG', '08R', 2, 100, 11, 90, '26L', 12, 200, 22, 270), "
           "('LFPB', '07', 0, 100, 11, 90, '25', 10, 200, 22, 270), ('LFPBX', '03', 0, 100, 11, 90, '21', 10, 200, 22, 270);"
        << "INSERT INTO NAV (ukey, iden, name, ntyp, nfrq, nlat, nlon) VALUES ('PGSKEY', 'PGS', 'Pontoise', 1, 113, 1000, 2000), "
           "('CGNKEY', 'CGN', 'Paris Nord', 2, 113, 1000, 2000), ('LFPGNAV', 'PGN', 'Gaulle navaid', 4, 113, 1000, 2000);";
    wpt << "INSERT INTO WPT (ukey, iden, name, wlat, wlon) VALUES ('ABNURKEY', 'ABNUR', 'Abnur', 3000, 4000), "
           "('PARIS1', 'PARIS', 'Paris fix', 3000, 4000), ('ZZ1', 'LFPG', 'Fix named like an airport', 3000, 4000);";
    QVERIFY2(m_sim.exec("GEN.db", gen.join(u'\n')), qPrintable(m_sim.lastError()));
    QVERIFY2(m_sim.exec("WPT.db", wpt.join(u'\n')), qPrintable(m_sim.lastError()));

    m_sql = new SqlMgr;
    m_sql->addDB("GEN.db", m_sim.sqlDir());
    m_sql->addDB("WPT.db", m_sim.sqlDir());
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
    QTest::addColumn<QString>("wptDb");
    QTest::addColumn<QString>("shape");

    QTest::newRow("exact key: airport with its runway ends, then a waypoint ident")
            << "LFPG" << true << "WPT.db" << "A:LFPG R0:09L R0:27R R0:08R R0:26L W:LFPG";
    QTest::newRow("exact ident when no key matches") << "LFPZ" << true << "WPT.db" << "A:LFPZ";
    QTest::newRow("exact is case-sensitive") << "lfpg" << true << "WPT.db" << "";
    QTest::newRow("exact navaid by key") << "PGSKEY" << true << "WPT.db" << "N:PGS";
    QTest::newRow("exact navaid by ident") << "PGS" << true << "WPT.db" << "N:PGS";
    QTest::newRow("exact waypoint by name") << "Abnur" << true << "WPT.db" << "W:ABNUR";
    QTest::newRow("near: airports by key prefix, navaid by key prefix")
            << "LFPG" << false << "WPT.db" << "A:LFPG R0:09L R0:27R R0:08R R0:26L N:PGN W:LFPG";
    QTest::newRow("near: names containing the text, when no key or ident begins with it")
            << "PAR" << false << "WPT.db" << "A:LFPG R0:09L R0:27R R0:08R R0:26L A:LFPO N:CGN W:PARIS";
    QTest::newRow("near: each airport with the runways of its own key")
            << "LFPB" << false << "WPT.db" << "A:LFPB R0:07 R0:25 A:XXPB R3:03 R3:21";
    QTest::newRow("exact: runways of the airport only") << "LFPB" << true << "WPT.db" << "A:LFPB R0:07 R0:25";
    QTest::newRow("near: ident prefix before names") << "XX" << false << "WPT.db" << "A:XXPB R0:03 R0:21";
    QTest::newRow("a double quote finds nothing and breaks nothing") << "LF\"PG" << false << "WPT.db" << "";
    QTest::newRow("a single quote finds nothing and breaks nothing") << "LF'PG" << false << "WPT.db" << "";
    QTest::newRow("no waypoint database: airports and navaids still")
            << "LFPG" << true << "NOWPT.db" << "A:LFPG R0:09L R0:27R R0:08R R0:26L";
}

void TestSearch::cascade()
{
    QFETCH(QString, text);
    QFETCH(bool, exact);
    QFETCH(QString, wptDb);
    const CPointSearch search(m_sql, "GEN.db", wptDb);
    QTEST(shape(search.run(text, exact, 0, 0)), "shape");
    QVERIFY(m_prompt.records.isEmpty());
}

// The cruise values go to every record but the runway ends; the runway
// ends carry the values of their own end. (An airport's record, as the
// saved plan file holds it: tst_journeys; the ends' names and keys:
// tst_search_window.)
void TestSearch::records()
{
    const CPointSearch search(m_sql, "GEN.db", "WPT.db");
    const QList<CPointSearch::Result> found = search.run("LFPG", false, 130, 5500);
    QCOMPARE(found.size(), 7);
    for (const CPointSearch::Result &r : found)
        QCOMPARE(QPair(r.point->speed, r.point->altitude), r.kind == CPointSearch::RunwayEnd ? QPair(0, 0) : QPair(130, 5500));
    const CFlightPlanPoint &high = *found.at(1).point, &low = *found.at(2).point;
    QCOMPARE((QList<double>{high.longitude, double(high.elevation), high.heading}), (QList<double>{100, 11, 90}));
    QCOMPARE((QList<double>{low.longitude, double(low.elevation), low.heading}), (QList<double>{200, 22, 270}));
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
