// A process killed in the middle of an import leaves the simulator's
// database whole: SQLite's integrity check passes and the update file's
// records are there either all or not at all. The import runs in a child of
// this test ("--import FOLDER FILE"), killed in the middle of the work.

#include "data/backup.h"
#include "data/globalvar.h"
#include "data/sqlmgr.h"
#include "io/iodatabase.h"
#include "io/ioprogress.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

constexpr int Records = 200000;
constexpr int DemoWaypoints = 5184;

// SQLite's integrity check, then the imported records (keys KX...) and the others.
QStringList inspect(const QString &file)
{
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("crash-inspect"));
        db.setDatabaseName(file);
        const bool open = db.open();   // rolls a journal left by a crash back
        QSqlQuery q(db);
        for (const char *sql : {"PRAGMA integrity_check", "SELECT COUNT(*) FROM WPT WHERE ukey LIKE 'KX%'",
                                "SELECT COUNT(*) FROM WPT WHERE ukey NOT LIKE 'KX%'"})
            out << (open && q.exec(QLatin1String(sql)) && q.next() ? q.value(0).toString() : QStringLiteral("<error>"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("crash-inspect"));
    return out;
}

// The child's "progress <done>" every thousand records.
class OutputProgress : public CIOProgress
{
public:
    void begin(const QString &, qint64) override {}
    bool advance(qint64 done) override
    {
        if (done % 1000 == 0) {
            std::printf("progress %lld\n", done);
            std::fflush(stdout);
        }
        return true;
    }
    void end() override {}
};

// The child: imports the update file into the folder's WPT.db, every box answered "Ok".
int importChild(const char *folder, const char *update)
{
    ScriptedPrompt prompt;
    prompt.answers = QStringList(100, CPrompt::Ok);
    CGlobalVar config;
    config.wptName = QStringLiteral("WPT.db");
    config.dirWpt = QDir(QString::fromLocal8Bit(folder));
    config.sqlMgr->addDB(config.wptName, config.dirWpt.path());
    QFile file(QString::fromLocal8Bit(update));
    CIODataBase io;
    OutputProgress progress;
    io.setProgress(&progress);
    io.setProgressThreshold(0);
    const bool ok = file.open(QIODevice::ReadOnly) && io.importDB(&file, &config);
    std::printf("finished %s\n", ok ? "ok" : "with errors");
    return ok ? 0 : 1;
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

    SimFixture m_demo;
    QTemporaryDir m_files;
    QString m_update;

private slots:
    void initTestCase()
    {
        QVERIFY2(m_demo.buildDemo(), qPrintable(m_demo.lastError()));
        m_update = m_files.filePath(QStringLiteral("BIG.CSV"));
        QFile file(m_update);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // WPT records with keys that the demo data does not use.
        for (int n = 1; n <= Records; ++n) {
            const QByteArray ident = "KX" + QByteArray::number(n).rightJustified(6, '0');
            file.write("WPT;WPT;+;131242;" + ident + ';' + ident + ";NAME " + ident + ";FR;;78;6;4;"
                       + QByteArray::number(150000 + (n % 1000) * 30.5, 'f', 3) + ';'
                       + QByteArray::number(-18000 + (n / 1000) * 110.25, 'f', 3) + ";0;0;0;0;;\n");
        }
        QVERIFY(file.flush());
    }

    void killedImport_data()
    {
        // After how many records the child is killed; -1 lets it finish.
        QTest::addColumn<qint64>("killAfter");
        QTest::addColumn<QStringList>("imported");   // what the database may hold
        QTest::newRow("early in the records") << qint64(Records / 10) << QStringList{"0"};
        // The last record is handled: the commit races the kill.
        QTest::newRow("at the commit") << qint64(Records) << QStringList{"0", QString::number(Records)};
        QTest::newRow("not killed") << qint64(-1) << QStringList{QString::number(Records)};
    }

    void killedImport()
    {
        QFETCH(qint64, killAfter);
        QFETCH(QStringList, imported);
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("WPT.db"));
        QVERIFY(QFile::copy(QDir(m_demo.sqlDir()).filePath(QStringLiteral("WPT.db")), db));

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--import"), dir.path(), m_update});
        QVERIFY2(child.waitForStarted(60000), qPrintable(child.errorString()));
        QByteArray output;
        bool killed = false;
        while (child.state() != QProcess::NotRunning && !killed && (child.canReadLine() || child.waitForReadyRead(120000))) {
            while (child.canReadLine()) {
                const QByteArray line = child.readLine().trimmed();
                output += line + '\n';
                if (killAfter >= 0 && line.startsWith("progress ") && line.split(' ').value(1).toLongLong() >= killAfter) {
                    child.kill();   // SIGKILL: no clean-up of any kind
                    killed = true;
                    break;
                }
            }
        }
        QVERIFY(child.state() == QProcess::NotRunning || child.waitForFinished(300000));
        output += child.readAllStandardOutput();
        QCOMPARE(killed, killAfter >= 0);
        QCOMPARE(child.exitStatus(), killed ? QProcess::CrashExit : QProcess::NormalExit);
        QVERIFY2(killed || output.contains("finished ok"), output.right(2000).constData());

        const QStringList state = inspect(db);
        QCOMPARE(state.at(0), QStringLiteral("ok"));
        QVERIFY2(imported.contains(state.at(1)), qPrintable(state.at(1)));
        QCOMPARE(state.at(2), QString::number(DemoWaypoints));
        // The copy taken before the import holds the database as it was.
        QCOMPARE(inspect(CBackup::copyPath(db, 1)), QStringList({"ok", "0", QString::number(DemoWaypoints)}));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--import") == 0)
        return importChild(argv[2], argv[3]);
    TestCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_crashsafety.moc"
