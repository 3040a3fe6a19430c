// Putting a copy of a simulator file back: how a copy differs from the file,
// a restore and its taking back, and a restore that stops part-way or finds
// the database held by the simulator, which must leave the file as it was.

#include "data/backup.h"
#include "data/globalvar.h"
#include "data/restore.h"
#include "data/sqlmgr.h"
#include "tests/support/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Runs ";"-separated statements on a file through a connection of its own.
bool exec(const QString &file, const QString &sql)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("restore-setup"));
        db.setDatabaseName(file);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString &s : sql.split(u';', Qt::SkipEmptyParts)) {
            if (ok && !q.exec(s)) {
                qWarning() << s << q.lastError().text();
                ok = false;
            }
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("restore-setup"));
    return ok;
}

// The names of NAV, in key order, read through a connection.
QString names(const QString &connection)
{
    QSqlQuery q(QSqlDatabase::database(connection, false));
    if (!q.exec(QStringLiteral("SELECT group_concat(name, ',') FROM (SELECT name FROM NAV ORDER BY ukey)")) || !q.next())
        return QStringLiteral("<error %1>").arg(q.lastError().text());
    return q.value(0).toString();
}

const QString Navaids = QStringLiteral("CREATE TABLE NAV (ukey TEXT, name TEXT, UNIQUE (ukey));"
                                       "INSERT INTO NAV VALUES ('A', 'ALPHA'), ('B', 'BRAVO'), ('C', 'CHARLIE');");

QStringList describe(const CStoredCopy &copy)
{
    QStringList out;
    if (!copy.error.isEmpty())
        out << QStringLiteral("error ") + copy.error;
    for (const CRowDifference &t : copy.tables)
        out << QStringLiteral("%1 %2/%3").arg(t.table).arg(t.onlyInCopy).arg(t.onlyInCurrent);
    for (const CLineDifference &l : copy.lines)
        out << (l.inCopy ? QStringLiteral("copy: ") : QStringLiteral("current: ")) + l.line;
    return out;
}

} // namespace

class TestRestore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void copiesCompared_data();
    void copiesCompared();
    void restoreAndTakeBack_data();
    void restoreAndTakeBack();
    void stopChangesNothing_data();
    void stopChangesNothing();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    // GEN.db with the navaids, opened as the program opens it.
    void openGen();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CGlobalVar> m_config;
};

void TestRestore::init()
{
    CBackup::reset();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_config = std::make_unique<CGlobalVar>();
}

void TestRestore::cleanup()
{
    m_config.reset();
    m_dir.reset();
    CBackup::reset();
}

void TestRestore::openGen()
{
    QVERIFY(exec(path(QStringLiteral("GEN.db")), Navaids));
    m_config->dirGen.setPath(m_dir->path());
    m_config->genName = QStringLiteral("GEN.db");
    m_config->sqlMgr->addDB(QStringLiteral("GEN.db"), m_dir->path());
    QCOMPARE(names(QStringLiteral("GEN.db")), QStringLiteral("ALPHA,BRAVO,CHARLIE"));
}

void TestRestore::copiesCompared_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("before");   // SQL, or the text of the ini file
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("differences");
    QTest::newRow("a navaid changed") << "GEN.db" << Navaids
                                      << "UPDATE NAV SET name = 'BRAVO 2' WHERE ukey = 'B'" << QStringList{"NAV 1/1"};
    QTest::newRow("rows added, a table dropped, one created")
            << "GEN.db" << Navaids + "CREATE TABLE OLD (k TEXT); INSERT INTO OLD VALUES ('x'), ('x');"
            << "INSERT INTO NAV VALUES ('D', 'DELTA'), ('E', 'ECHO'); DROP TABLE OLD; CREATE TABLE NEW (k TEXT);"
               "INSERT INTO NEW VALUES ('y')"
            << QStringList{"NAV 0/2", "NEW 0/1", "OLD 2/0"};
    QTest::newRow("a row held once more") << "GEN.db" << Navaids << "DROP TABLE NAV; CREATE TABLE NAV (ukey TEXT, name TEXT);"
                                         "INSERT INTO NAV VALUES ('A', 'ALPHA'), ('B', 'BRAVO'), ('C', 'CHARLIE'), ('C', 'CHARLIE')"
                                      << QStringList{"NAV 0/1"};
    QTest::newRow("ini: the start situation changed")
            << "Corvane.ini" << "[Main]\r\nstartupSituation=Saved Simulations/OLD.SIT\r\nother=1\r\n"
            << "[Main]\r\nstartupSituation=Saved Simulations/LFPG.SIT\r\nother=1\r\n"
            << QStringList{"copy: startupSituation=Saved Simulations/OLD.SIT",
                           "current: startupSituation=Saved Simulations/LFPG.SIT"};
}

void TestRestore::copiesCompared()
{
    QFETCH(QString, file);
    QFETCH(QString, before);
    QFETCH(QString, change);
    QFETCH(QStringList, differences);
    const QString current = path(file);
    const bool database = file.endsWith(QLatin1String(".db"));
    QVERIFY(database ? exec(current, before) : writeAll(current, before.toLatin1()));
    QVERIFY(CBackup::beforeChange(current));
    QVERIFY(database ? exec(current, change) : writeAll(current, change.toLatin1()));

    const CRestorableFile listed = CRestore::inspect(current);
    QCOMPARE(listed.database, database);
    QCOMPARE(listed.copies.size(), 1);
    const CStoredCopy &copy = listed.copies.first();
    QCOMPARE(copy.number, 1);
    QCOMPARE(copy.path, CBackup::copyPath(current, 1));
    QCOMPARE(copy.taken, QFileInfo(copy.path).lastModified());
    QCOMPARE(describe(copy), differences);
}

void TestRestore::restoreAndTakeBack_data()
{
    QTest::addColumn<bool>("database");
    QTest::newRow("database") << true;
    QTest::newRow("ini file") << false;
}

void TestRestore::restoreAndTakeBack()
{
    QFETCH(bool, database);
    QString file;
    if (database) {
        openGen();
        file = path(QStringLiteral("GEN.db"));
    } else {
        file = path(QStringLiteral("Corvane.ini"));
        QVERIFY(writeAll(file, "[Main]\r\nstartupSituation=Saved Simulations/OLD.SIT\r\n"));
    }
    const QByteArray original = readAll(file);
    QVERIFY(CBackup::beforeChange(file));
    const QByteArray copyBytes = readAll(CBackup::copyPath(file, 1));
    if (database) {
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("GEN.db")));
        QVERIFY(q.exec(QStringLiteral("UPDATE NAV SET name = 'CHANGED' WHERE ukey = 'B'")));
    } else {
        QVERIFY(writeAll(file, "[Main]\r\nstartupSituation=Saved Simulations/LFPG.SIT\r\n"));
    }
    const QByteArray changed = readAll(file);

    CRestore::Result r = CRestore::restore(*m_config, file, CBackup::copyPath(file, 1));
    QCOMPARE(r.outcome, CRestore::Outcome::Restored);
    QCOMPARE(r.keptCopy, CBackup::beforeRestorePath(file));
    QCOMPARE(CRestore::message(file, CBackup::copyPath(file, 1), r),
             QStringLiteral("%1 a été restauré depuis %1.bak1.\nLe fichier tel qu'il était avant est gardé dans %2 : "
                            "restaurez-le pour revenir en arrière.")
                     .arg(QFileInfo(file).fileName(), QDir::toNativeSeparators(r.keptCopy)));
    // The copy is the file now, the file as it was is kept beside it, the
    // numbered copy stays, and nothing else is left.
    QCOMPARE(readAll(file), copyBytes);
    QCOMPARE(readAll(r.keptCopy), changed);
    QCOMPARE(readAll(CBackup::copyPath(file, 1)), copyBytes);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 3);
    if (database) {
        // The program's connection reads the restored rows.
        QCOMPARE(names(QStringLiteral("GEN.db")), QStringLiteral("ALPHA,BRAVO,CHARLIE"));
    } else {
        QCOMPARE(readAll(file), original);
    }

    // Restoring the kept copy takes the restore back.
    r = CRestore::restore(*m_config, file, CBackup::beforeRestorePath(file));
    QCOMPARE(r.outcome, CRestore::Outcome::Restored);
    QCOMPARE(readAll(file), changed);
    QCOMPARE(readAll(CBackup::beforeRestorePath(file)), copyBytes);
    if (database)
        QCOMPARE(names(QStringLiteral("GEN.db")), QStringLiteral("ALPHA,CHANGED,CHARLIE"));
}

void TestRestore::stopChangesNothing_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("step");     // empty: the simulator holds the database
    QTest::addColumn<QString>("error");    // the start of the reason given
    QTest::newRow("the simulator writes the database") << "locked" << QString() << QString();
    QTest::newRow("the file as it is cannot be kept") << "keep" << "copie du fichier actuel"
                                                      << "le fichier temporaire";
    QTest::newRow("no room for the copy") << "room" << "remplacement du fichier" << QString();
    QTest::newRow("the copy is no database") << "garbage" << "réouverture de la base de données"
                                             << "GEN.db ne s'ouvre pas : ";
    QTest::newRow("the copy is of another version") << "version" << "vérification"
                                                    << "GEN.db : la version attendue est 0, la version trouvée est 2";
}

void TestRestore::stopChangesNothing()
{
    QFETCH(QString, cause);
    QFETCH(QString, step);
    QFETCH(QString, error);
    openGen();
    const QString file = path(QStringLiteral("GEN.db"));
    const QString copy = CBackup::copyPath(file, 1);
    QStringList simulator;   // statements of another program holding the file
    std::unique_ptr<FileSizeLimit> limit;

    if (cause == QLatin1String("garbage")) {
        QVERIFY(writeAll(copy, QByteArray(8192, 'x')));
    } else {
        QString sql = Navaids;
        if (cause == QLatin1String("version"))
            sql += QStringLiteral("PRAGMA user_version = 2;");
        if (cause == QLatin1String("room")) {
            sql += QStringLiteral("CREATE TABLE BIG (v TEXT);");
            for (int i = 0; i < 40; ++i)
                sql += QStringLiteral("INSERT INTO BIG VALUES ('%1');").arg(QString(4000, QChar(u'a' + i % 26)));
        }
        QVERIFY(exec(copy, sql));
    }
    if (cause == QLatin1String("keep")) {
        // A folder where the file as it is would be kept.
        QVERIFY(QDir().mkpath(file + QStringLiteral(".restore-old/in")));
    }
    const QByteArray before = readAll(file);
    const QStringList entries = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const QString other = QStringLiteral("simulator");
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), other).setDatabaseName(file);
    if (cause == QLatin1String("locked")) {
        QSqlDatabase db = QSqlDatabase::database(other);
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO NAV VALUES ('S', 'SIMULATOR')")));
    }
    if (cause == QLatin1String("room")) {
        limit = std::make_unique<FileSizeLimit>(QFileInfo(copy).size() - 4096);
        if (!limit->active())
            QSKIP("no file size limit on this system");
        QVERIFY(QFileInfo(file).size() < QFileInfo(copy).size() - 4096);
    }

    const CRestore::Result r = CRestore::restore(*m_config, file, copy);
    limit.reset();
    if (cause == QLatin1String("locked")) {
        QVERIFY(QSqlDatabase::database(other).rollback());
        QCOMPARE(r.outcome, CRestore::Outcome::Locked);
        QCOMPARE(CRestore::message(file, copy, r),
                 QStringLiteral("Le simulateur utilise GEN.db : la base de données est verrouillée.\n"
                                "Rien n'a été changé. Fermez le simulateur puis recommencez."));
    } else {
        QCOMPARE(r.outcome, CRestore::Outcome::Failed);
        QCOMPARE(CRestore::stepName(r.step), step);
        QVERIFY2(r.error.startsWith(error), qPrintable(r.error));
        QVERIFY(r.putBack);
        QCOMPARE(CRestore::message(file, copy, r),
                 QStringLiteral("La restauration de GEN.db a échoué à l'étape « %1 » :\n%2\n"
                                "Le fichier est resté tel qu'il était.")
                         .arg(step, r.error));
    }
    QSqlDatabase::removeDatabase(other);

    // The file is as it was, byte for byte; nothing is left beside it; the
    // program reads it as before.
    QCOMPARE(readAll(file), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), entries);
    QCOMPARE(names(QStringLiteral("GEN.db")), QStringLiteral("ALPHA,BRAVO,CHARLIE"));
}

QTEST_MAIN(TestRestore)
#include "tst_restore.moc"
