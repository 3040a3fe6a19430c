// The benchmark command runs: one quick measurement on the demo tree gives
// figures as "name=value" lines. Which figures there are is the benchmark's
// own business.

#include "tests/support/simfixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

class BenchTest : public QObject
{
    Q_OBJECT

private slots:
    void smokeRun();
};

// The import measurement with few records: the generated update file must
// go through the importer whole, or the command fails.
void BenchTest::smokeRun()
{
    SimFixture sim;
    QVERIFY2(sim.buildDemo(), qPrintable(sim.lastError()));
    QProcess bench;
    bench.start(qEnvironmentVariable("CORVANE_BIN_DIR") + QStringLiteral("/corvane-bench"),
                {"import", "--sim", sim.root(), "--records", "300"});
    QVERIFY(bench.waitForFinished(300000));
    QVERIFY2(bench.exitStatus() == QProcess::NormalExit && bench.exitCode() == 0, bench.readAllStandardError().constData());
    const QStringList lines = QString::fromLocal8Bit(bench.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    for (const QString &line : lines)
        QVERIFY2(QRegularExpression(QStringLiteral("^[a-z][a-z0-9_]*=\\d+(\\.\\d+)?$")).match(line).hasMatch(), qPrintable(line));
}

QTEST_MAIN(BenchTest)
#include "tst_bench.moc"
