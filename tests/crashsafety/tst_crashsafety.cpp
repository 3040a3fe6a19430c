// A process killed in the middle of an import leaves the simulator's
// database whole: SQLite's integrity check passes and the update file's
// records are there either all or not at all.

#include "data/backup.h"
#include "tests/support/simfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr int Records = 200000;
constexpr int DemoWaypoints = 5184;

// One WPT record of the update file; keys that the demo data does not use.
QByteArray record(int n)
{
    const QByteArray ident = "KX" + QByteArray::number(n).rightJustified(6, '0');
    const double lat = 150000 + (n % 1000) * 30.5;
    const double lon = -18000 + (n / 1000) * 110.25;
    return "WPT;WPT;+;131242;" + ident + ';' + ident + ";NAME " + ident + ";FR;;78;6;4;"
        + QByteArray::number(lat, 'f', 3) + ';' + QByteArray::number(lon, 'f', 3) + ";0;0;0;0;;\n";
}

struct DbState {
    QString integrity;
    qint64 imported = -1;
    qint64 others = -1;
};

DbState inspect(const QString &file)
{
    DbState out;
    const QString name = QStringLiteral("crash-inspect");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (db.open()) {
            // Opening a database after a crash rolls a left-over journal back.
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next())
                out.integrity = q.value(0).toString();
            if (q.exec(QStringLiteral("SELECT COUNT(*) FROM WPT WHERE ukey LIKE 'KX%'")) && q.next())
                out.imported = q.value(0).toLongLong();
            if (q.exec(QStringLiteral("SELECT COUNT(*) FROM WPT WHERE ukey NOT LIKE 'KX%'")) && q.next())
                out.others = q.value(0).toLongLong();
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedImport_data();
    void killedImport();

private:
    SimFixture m_demo;
    QTemporaryDir m_files;
    QString m_update;
};

void TestCrashSafety::initTestCase()
{
    QVERIFY(QFile::exists(QStringLiteral(CRASHIMPORT_PATH)));
    QVERIFY2(m_demo.buildDemo(), qPrintable(m_demo.lastError()));
    QVERIFY(m_files.isValid());
    m_update = m_files.filePath(QStringLiteral("BIG.CSV"));
    QFile file(m_update);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray chunk;
    for (int n = 1; n <= Records; ++n) {
        chunk += record(n);
        if (chunk.size() > (1 << 20)) {
            QCOMPARE(file.write(chunk), qint64(chunk.size()));
            chunk.clear();
        }
    }
    QCOMPARE(file.write(chunk), qint64(chunk.size()));
    file.close();
    QCOMPARE(inspect(QDir(m_demo.sqlDir()).filePath(QStringLiteral("WPT.db"))).others, qint64(DemoWaypoints));
}

void TestCrashSafety::killedImport_data()
{
    // Where the child is killed: after this many records were handled; -1
    // lets it finish.
    QTest::addColumn<qint64>("killAfter");
    QTest::addColumn<bool>("mayBeComplete");
    QTest::newRow("early in the records") << qint64(Records / 10) << false;
    QTest::newRow("halfway") << qint64(Records / 2) << false;
    QTest::newRow("near the end") << qint64(Records * 9 / 10) << false;
    // The last record is handled: the commit races the kill.
    QTest::newRow("at the commit") << qint64(Records) << true;
    QTest::newRow("not killed") << qint64(-1) << true;
}

void TestCrashSafety::killedImport()
{
    QFETCH(qint64, killAfter);
    QFETCH(bool, mayBeComplete);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString db = dir.filePath(QStringLiteral("WPT.db"));
    QVERIFY(QFile::copy(QDir(m_demo.sqlDir()).filePath(QStringLiteral("WPT.db")), db));

    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QStringLiteral(CRASHIMPORT_PATH), {dir.path(), m_update});
    QVERIFY2(child.waitForStarted(60000), qPrintable(child.errorString()));

    QByteArray output;
    bool killed = false;
    qint64 reached = 0;
    while (child.state() != QProcess::NotRunning && !killed) {
        if (!child.canReadLine() && !child.waitForReadyRead(120000))
            break;
        while (child.canReadLine()) {
            const QByteArray line = child.readLine().trimmed();
            output += line + '\n';
            if (!line.startsWith("progress "))
                continue;
            reached = line.split(' ').value(1).toLongLong();
            if (killAfter >= 0 && reached >= killAfter) {
                child.kill();   // SIGKILL: no clean-up of any kind
                killed = true;
                break;
            }
        }
    }
    if (child.state() != QProcess::NotRunning)
        QVERIFY(child.waitForFinished(300000));
    output += child.readAllStandardOutput();
    // What the kill left behind, for the log: a journal that the next
    // opening of the database rolls back.
    qInfo() << "records handled" << reached << "journal left"
            << QFileInfo::exists(db + QStringLiteral("-journal"));

    if (killAfter >= 0) {
        QVERIFY2(killed, output.right(2000).constData());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    } else {
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(output.contains("finished ok"), output.right(2000).constData());
    }

    const DbState state = inspect(db);
    qInfo() << "records in the database" << state.imported;
    QCOMPARE(state.integrity, QStringLiteral("ok"));
    QCOMPARE(state.others, qint64(DemoWaypoints));
    if (killAfter < 0)
        QCOMPARE(state.imported, qint64(Records));
    else if (mayBeComplete)
        QVERIFY2(state.imported == 0 || state.imported == Records, qPrintable(QString::number(state.imported)));
    else
        QCOMPARE(state.imported, qint64(0));

    // The copy taken before the import holds the database as it was.
    const DbState saved = inspect(CBackup::copyPath(db, 1));
    QCOMPARE(saved.integrity, QStringLiteral("ok"));
    QCOMPARE(saved.others, qint64(DemoWaypoints));
    QCOMPARE(saved.imported, qint64(0));
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
