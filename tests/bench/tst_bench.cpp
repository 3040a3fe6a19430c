// The benchmark command runs: one quick measurement on the demo tree gives
// figures as "name=value" lines. Which figures there are is the benchmark's
// own business. The search it made fast is checked where it may go wrong.

#include "data/sqlmgr.h"
#include "search/pointsearch.h"
#include "tests/support/simfixture.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

class BenchTest : public QObject
{
    Q_OBJECT

private slots:
    void smokeRun();
    void searchRunways();
};

// The import measurement with few records: the generated update file must
// go through the importer whole, or the command fails.
void BenchTest::smokeRun()
{
    SimFixture sim;
    QVERIFY2(sim.buildDemo(), qPrintable(sim.lastError()));
    const QString program = qEnvironmentVariable("CORVANE_BIN_DIR") + QStringLiteral("/corvane-bench");
    if (!QFileInfo::exists(program))
        QSKIP("corvane-bench is built only with the SQLite headers");
    QProcess bench;
    bench.start(program, {"import", "--sim", sim.root(), "--records", "300"});
    QVERIFY(bench.waitForFinished(300000));
    QVERIFY2(bench.exitStatus() == QProcess::NormalExit && bench.exitCode() == 0, bench.readAllStandardError().constData());
    QVERIFY(bench.readAllStandardOutput().contains('='));
}

// Each airport found is followed by the runways of its own key, compared
// exactly: a near search for "AB" finds "abc" too, whose runways are not
// those of "ABC", and "ABCD" is no airport of the result.
void BenchTest::searchRunways()
{
    SimFixture sim;
    QVERIFY(sim.buildSkeleton() && sim.createSchemaDatabase("GEN.db", "GEN", 0));
    QVERIFY(sim.exec("GEN.db", "INSERT INTO APT (ukey, iden) VALUES ('ABC', 'X'), ('abc', 'Y'), ('AB', 'Z');"
                               "INSERT INTO RWY (rapt, rhid, rlid) VALUES ('ABCD', '14', '32'), ('abc', '12', '30'), "
                               "('ABC', '10', '28')"));
    SqlMgr sql;
    sql.addDB("GEN.db", sim.sqlDir());
    QStringList found;
    for (const CPointSearch::Result &r : CPointSearch(&sql, "GEN.db", QString()).run("AB", false, 0, 0))
        found << r.point->ident;
    QCOMPARE(found.join(' '), QStringLiteral("X 10 28 Y 12 30 Z"));
}

QTEST_MAIN(BenchTest)
#include "tst_bench.moc"
