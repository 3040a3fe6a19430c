// Copies of the simulator's databases and ini file, taken before the first
// change of a run: what they hold, how older copies move on, what a failed
// copy does, and every window operation that changes a simulator file. Then
// a copy put back: how it differs from the file, a restore and its taking
// back, and a restore that stops part-way or finds the database held by the
// simulator, which leaves the file as it was.

#include "app/navglobalvar.h"
#include "data/backup.h"
#include "data/globalvar.h"
#include "data/restore.h"
#include "data/sqlmgr.h"
#include "editors/dialognav.h"
#include "editors/dialogwpt.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <functional>

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

// Runs one statement on a file through a connection of its own; the first
// column of the first row, or "<error ...>".
QString scalar(const QString &dbFile, const QString &sql)
{
    static int serial = 0;
    const QString name = QStringLiteral("backup-probe-%1").arg(++serial);
    QString out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dbFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!QFileInfo::exists(dbFile)) {
            out = QStringLiteral("<no file>");
        } else if (!db.open()) {
            out = QStringLiteral("<error %1>").arg(db.lastError().text());
        } else {
            QSqlQuery q(db);
            if (q.exec(sql) && q.next())
                out = q.value(0).toString();
            else
                out = QStringLiteral("<error %1>").arg(q.lastError().text());
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

// Runs ";"-separated statements on a file through a connection of its own.
bool execAll(const QString &path, const QString &sql)
{
    bool ok = true;
    const QString name = QStringLiteral("backup-make");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
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
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// A small database with a version and a few rows.
QString makeDatabase(const QString &path, int rows)
{
    QString sql = QStringLiteral("PRAGMA user_version = 4; CREATE TABLE T (k TEXT, v REAL);");
    for (int i = 0; i < rows; ++i)
        sql += QStringLiteral("INSERT INTO T VALUES ('k%1', %1.5);").arg(i);
    execAll(path, sql);
    return path;
}

// A folder that no file operation removes: the oldest copy cannot go.
void blockOldestCopy(const QString &file)
{
    const QString oldest = CBackup::copyPath(file, CBackup::Kept);
    QVERIFY(QDir().mkpath(oldest));
    QVERIFY(writeAll(oldest + QStringLiteral("/keep"), "x"));
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

// GEN.db with the navaids, opened as the program opens it.
void openGen(CGlobalVar &config, const QString &dir)
{
    QVERIFY(execAll(dir + QStringLiteral("/GEN.db"), Navaids));
    config.dirGen.setPath(dir);
    config.genName = QStringLiteral("GEN.db");
    config.sqlMgr->addDB(QStringLiteral("GEN.db"), dir);
    QCOMPARE(names(QStringLiteral("GEN.db")), QStringLiteral("ALPHA,BRAVO,CHARLIE"));
}

QString refusal(const QString &file)
{
    return QStringLiteral("Impossible de sauvegarder %1 avant sa modification :\n"
                          "l'ancienne copie %2 ne peut pas être supprimée\nLa modification est annulée.")
        .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(CBackup::copyPath(file, CBackup::Kept)));
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // The copies themselves.
    void plainFileCopiedByteForByte();
    void databaseCopiedThroughSqlite();
    void databaseCopyWhileProgramReads();
    void databaseCopyLeavesUncommittedOut();
    void oncePerFilePerRun_data();
    void oncePerFilePerRun();
    void olderCopiesMoveOn_data();
    void olderCopiesMoveOn();
    void missingFileNeedsNoCopy();
    void failedCopyChangesNothing_data();
    void failedCopyChangesNothing();
    void confirmTellsTheUser();
    void connections_data();
    void connections();
    void copiesAreNoDatabases();

    // Every window operation that changes a simulator file.
    void windowOperations_data();
    void windowOperations();
    void importStopsBeforeAnyRecord();

    // A copy put back.
    void copiesCompared_data();
    void copiesCompared();
    void restoreAndTakeBack_data();
    void restoreAndTakeBack();
    void stopChangesNothing_data();
    void stopChangesNothing();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompt> m_prompt;
};

void TestBackup::init()
{
    CBackup::reset();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompt = std::make_unique<ScriptedPrompt>();
}

void TestBackup::cleanup()
{
    m_prompt.reset();
    m_dir.reset();
    CBackup::reset();
}

void TestBackup::plainFileCopiedByteForByte()
{
    const QByteArray ini("[Main]\r\nstartupSituation=Saved Simulations/OLD.SIT\r\n\xe9t\xe9\r\nlast");
    const QString file = path(QStringLiteral("Corvane.ini"));
    QVERIFY(writeAll(file, ini));
    QString error;
    QVERIFY(CBackup::beforeChange(file, &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(readAll(file + QStringLiteral(".bak1")), ini);
    QCOMPARE(readAll(file), ini);
    QVERIFY(CBackup::isSaved(file));
    // Nothing else is left beside the file.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("Corvane.ini"), QStringLiteral("Corvane.ini.bak1")}));
    QVERIFY(m_prompt->records.isEmpty());
}

void TestBackup::databaseCopiedThroughSqlite()
{
    const QString file = makeDatabase(path(QStringLiteral("OBJ.db")), 50);
    QVERIFY(CBackup::beforeChange(file));
    const QString copy = CBackup::copyPath(file, 1);
    QCOMPARE(scalar(copy, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    // The schema version travels with the copy: a restored file is accepted.
    QCOMPARE(scalar(copy, QStringLiteral("PRAGMA user_version")), QStringLiteral("4"));
    QCOMPARE(scalar(copy, QStringLiteral("SELECT COUNT(*) FROM T")), QStringLiteral("50"));
    QCOMPARE(scalar(copy, QStringLiteral("SELECT group_concat(k || '=' || v, ',') FROM T")),
             scalar(file, QStringLiteral("SELECT group_concat(k || '=' || v, ',') FROM T")));
}

void TestBackup::databaseCopyWhileProgramReads()
{
    const QString file = makeDatabase(path(QStringLiteral("GEN.db")), 300);
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("GEN.db")).setDatabaseName(file);
    {
        QSqlDatabase db = QSqlDatabase::database(QStringLiteral("GEN.db"));
        QVERIFY(db.isOpen());
        // A statement of the program stands on a row, as while an editor is open.
        QSqlQuery reading(db);
        QVERIFY(reading.exec(QStringLiteral("SELECT * FROM T")));
        QVERIFY(reading.next());
        QVERIFY(CBackup::beforeChangeOf(QStringLiteral("GEN.db")));
        QVERIFY(reading.next());
        QSqlQuery write(db);
        QVERIFY(write.exec(QStringLiteral("DELETE FROM T")));
    }
    QCOMPARE(scalar(CBackup::copyPath(file, 1), QStringLiteral("SELECT COUNT(*) FROM T")), QStringLiteral("300"));
    QCOMPARE(scalar(file, QStringLiteral("SELECT COUNT(*) FROM T")), QStringLiteral("0"));
    QSqlDatabase::removeDatabase(QStringLiteral("GEN.db"));
}

void TestBackup::databaseCopyLeavesUncommittedOut()
{
    const QString file = makeDatabase(path(QStringLiteral("WPT.db")), 10);
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("WPT.db")).setDatabaseName(file);
    {
        QSqlDatabase db = QSqlDatabase::database(QStringLiteral("WPT.db"));
        QVERIFY(db.transaction());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("INSERT INTO T VALUES ('half', 0)")));
        // What is not committed is not part of the file yet.
        QVERIFY(CBackup::beforeChange(file));
        QVERIFY(db.rollback());
    }
    QCOMPARE(scalar(CBackup::copyPath(file, 1), QStringLiteral("SELECT COUNT(*) FROM T")), QStringLiteral("10"));
    QCOMPARE(scalar(CBackup::copyPath(file, 1), QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    QSqlDatabase::removeDatabase(QStringLiteral("WPT.db"));
}

void TestBackup::oncePerFilePerRun_data()
{
    QTest::addColumn<bool>("database");
    QTest::addColumn<int>("spelling");   // the same file named another way: 0 as is, 1 with "./", 2 with ".."
    QTest::newRow("ini file, same path") << false << 0;
    QTest::newRow("ini file, path with ./") << false << 1;
    QTest::newRow("database, same path") << true << 0;
    QTest::newRow("database, path with ..") << true << 2;
}

void TestBackup::oncePerFilePerRun()
{
    QFETCH(bool, database);
    QFETCH(int, spelling);
    const QString name = database ? QStringLiteral("ROUTE.db") : QStringLiteral("Corvane.ini");
    const QString file = path(name);
    if (database)
        makeDatabase(file, 3);
    else
        QVERIFY(writeAll(file, "first"));
    const QByteArray first = readAll(file);
    QVERIFY(CBackup::beforeChange(file));

    // The program changes the file; a later change of the run is no new copy.
    if (database)
        makeDatabase(file, 5);
    else
        QVERIFY(writeAll(file, "second"));
    const QString dir = m_dir->path();
    const QString again = spelling == 0   ? file
                          : spelling == 1 ? dir + QStringLiteral("/./") + name
                                          : dir + QStringLiteral("/../") + QFileInfo(dir).fileName() + u'/' + name;
    QVERIFY(QFileInfo::exists(again));
    QVERIFY(CBackup::isSaved(again));
    QVERIFY(CBackup::beforeChange(again));
    if (database)
        QCOMPARE(scalar(CBackup::copyPath(file, 1), QStringLiteral("SELECT COUNT(*) FROM T")), QStringLiteral("3"));
    else
        QCOMPARE(readAll(CBackup::copyPath(file, 1)), first);
    QVERIFY(!QFileInfo::exists(CBackup::copyPath(file, 2)));
}

void TestBackup::olderCopiesMoveOn_data()
{
    QTest::addColumn<int>("runs");
    QTest::addColumn<QStringList>("copies");   // .bak1, .bak2, .bak3, .bak4
    const QString none = QStringLiteral("<missing>");
    QTest::newRow("first run") << 1 << QStringList{"run 1", none, none, none};
    QTest::newRow("second run") << 2 << QStringList{"run 2", "run 1", none, none};
    QTest::newRow("third run") << 3 << QStringList{"run 3", "run 2", "run 1", none};
    QTest::newRow("fourth run: the oldest goes") << 4 << QStringList{"run 4", "run 3", "run 2", none};
    QTest::newRow("sixth run") << 6 << QStringList{"run 6", "run 5", "run 4", none};
}

void TestBackup::olderCopiesMoveOn()
{
    QFETCH(int, runs);
    QFETCH(QStringList, copies);
    const QString file = path(QStringLiteral("Corvane.ini"));
    for (int run = 1; run <= runs; ++run) {
        // A new run of the program: nothing saved yet.
        CBackup::reset();
        QVERIFY(writeAll(file, QStringLiteral("run %1").arg(run).toLatin1()));
        QVERIFY(CBackup::beforeChange(file));
        QVERIFY(writeAll(file, "changed"));
    }
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(QString::fromLatin1(readAll(CBackup::copyPath(file, n))), copies.at(n - 1));
}

void TestBackup::missingFileNeedsNoCopy()
{
    const QString file = path(QStringLiteral("absent.ini"));
    QString error;
    QVERIFY(CBackup::beforeChange(file, &error));
    QVERIFY(error.isEmpty());
    QVERIFY(!QFileInfo::exists(CBackup::copyPath(file, 1)));
    QVERIFY(QDir(m_dir->path()).isEmpty());
    QVERIFY(CBackup::beforeChange(QString()));
}

void TestBackup::failedCopyChangesNothing_data()
{
    QTest::addColumn<bool>("database");
    QTest::newRow("ini file") << false;
    QTest::newRow("database") << true;
}

void TestBackup::failedCopyChangesNothing()
{
    QFETCH(bool, database);
    const QString file = path(database ? QStringLiteral("TXY.db") : QStringLiteral("Corvane.ini"));
    if (database)
        makeDatabase(file, 2);
    else
        QVERIFY(writeAll(file, "now"));
    QVERIFY(writeAll(CBackup::copyPath(file, 1), "older"));
    QVERIFY(writeAll(CBackup::copyPath(file, 2), "oldest kept"));
    blockOldestCopy(file);
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QString error;
    QVERIFY(!CBackup::beforeChange(file, &error));
    QCOMPARE(error, QStringLiteral("l'ancienne copie %1 ne peut pas être supprimée")
                            .arg(QDir::toNativeSeparators(CBackup::copyPath(file, 3))));
    // The copies of earlier runs stay where they were; no half-made copy is left.
    QCOMPARE(readAll(CBackup::copyPath(file, 1)), QByteArray("older"));
    QCOMPARE(readAll(CBackup::copyPath(file, 2)), QByteArray("oldest kept"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    // A failure is not remembered: the next change tries again.
    QVERIFY(!CBackup::isSaved(file));
    QVERIFY(QDir(CBackup::copyPath(file, 3)).removeRecursively());
    QVERIFY(CBackup::beforeChange(file, &error));
    QCOMPARE(readAll(CBackup::copyPath(file, 2)), QByteArray("older"));
    QCOMPARE(readAll(CBackup::copyPath(file, 3)), QByteArray("oldest kept"));
    if (database)
        QCOMPARE(scalar(CBackup::copyPath(file, 1), QStringLiteral("SELECT COUNT(*) FROM T")), QStringLiteral("2"));
    else
        QCOMPARE(readAll(CBackup::copyPath(file, 1)), QByteArray("now"));
}

void TestBackup::confirmTellsTheUser()
{
    const QString file = path(QStringLiteral("Corvane.ini"));
    QVERIFY(writeAll(file, "x"));
    QVERIFY(writeAll(CBackup::copyPath(file, 1), "1"));
    QVERIFY(writeAll(CBackup::copyPath(file, 2), "2"));
    blockOldestCopy(file);
    QVERIFY(!CBackup::confirm(file));
    QCOMPARE(m_prompt->records.size(), 1);
    const ScriptedPrompt::Record &box = m_prompt->records.first();
    QCOMPARE(box.kind, QStringLiteral("message"));
    QCOMPARE(box.icon, CPrompt::Warning);
    QCOMPARE(box.title, QStringLiteral("Sauvegarde"));
    QCOMPARE(box.text, refusal(file));
    QCOMPARE(box.buttons, QStringList{CPrompt::Ok});

    // Once the way is free, nothing is asked.
    QVERIFY(QDir(CBackup::copyPath(file, 3)).removeRecursively());
    QVERIFY(CBackup::confirm(file));
    QCOMPARE(m_prompt->records.size(), 1);
}

void TestBackup::connections_data()
{
    QTest::addColumn<QString>("connection");
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("copied");
    QTest::newRow("open connection") << QStringLiteral("M3D.db") << true << true;
    QTest::newRow("connection not open") << QStringLiteral("M3D.db") << false << false;
    QTest::newRow("no such connection") << QStringLiteral("NONE.db") << false << false;
    QTest::newRow("empty name") << QString() << false << false;
}

void TestBackup::connections()
{
    QFETCH(QString, connection);
    QFETCH(bool, open);
    QFETCH(bool, copied);
    const QString file = makeDatabase(path(QStringLiteral("M3D.db")), 1);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("M3D.db"));
        db.setDatabaseName(file);
        if (open)
            QVERIFY(db.open());
    }
    QCOMPARE(CBackup::connectionFile(connection), connection == QLatin1String("M3D.db") ? file : QString());
    QString error;
    QVERIFY(CBackup::beforeChangeOf(connection, &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(QFileInfo::exists(CBackup::copyPath(file, 1)), copied);
    QSqlDatabase::removeDatabase(QStringLiteral("M3D.db"));
}

void TestBackup::copiesAreNoDatabases()
{
    // The start-up looks for "*.db" files: a copy must never be taken for one.
    const QString file = makeDatabase(path(QStringLiteral("GEN.db")), 1);
    for (int run = 0; run < 3; ++run) {
        CBackup::reset();
        QVERIFY(CBackup::beforeChange(file));
    }
    QDir dir(m_dir->path());
    dir.setNameFilters({QStringLiteral("*.db")});
    QCOMPARE(dir.entryList(QDir::Files), QStringList{QStringLiteral("GEN.db")});
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 4);
}

// --- the window ------------------------------------------------------------

namespace {

struct Operation {
    QString file;                                 // relative to the simulator root
    QString refusalTitle;                         // empty: the backup's own box
    std::function<QString(const QString &)> probe; // the state a change alters
    std::function<void(WindowFixture &, int)> run; // the n-th change
};

QString nameOf(const QString &db, const QString &table, const QString &key)
{
    return scalar(db, QStringLiteral("SELECT COALESCE(group_concat(name), '<none>') FROM %1 WHERE ukey = '%2'")
                              .arg(table, key));
}

void clickOk(WindowFixture &fx, const QString &name)
{
    fx.prompt.dialogHandler = [name](QObject *o) -> int {
        auto *d = qobject_cast<QDialog *>(o);
        if (!d)
            return QDialog::Rejected;
        auto *leName = d->findChild<QLineEdit *>(QStringLiteral("leName"));
        if (leName)
            leName->setText(name);
        d->findChild<QPushButton *>(QStringLiteral("pbOK"))->click();
        // Refused: the dialog stays open until cancelled.
        if (d->result() != QDialog::Accepted)
            d->findChild<QPushButton *>(QStringLiteral("pbCancel"))->click();
        return d->result();
    };
}

void planFromLfpg(WindowFixture &fx)
{
    fx.window()->sAddAptToFp(QStringLiteral("LFPG"));
    fx.window()->sAddWptToFp(QStringLiteral("AALTE-AALTEBE"));
}

QHash<QString, Operation> operations()
{
    QHash<QString, Operation> ops;
    ops.insert(QStringLiteral("navaid editor"),
               {QStringLiteral("SQL/GEN.db"), QString(),
                [](const QString &f) { return nameOf(f, QStringLiteral("NAV"), QStringLiteral("FR4PGS1")); },
                [](WindowFixture &fx, int n) {
                    clickOk(fx, QStringLiteral("CHANGED %1").arg(n));
                    fx.window()->sAddNavToDB(QStringLiteral("PGS-FR4PGS1"), 49, 2.5);
                }});
    ops.insert(QStringLiteral("waypoint editor"),
               {QStringLiteral("SQL/WPT.db"), QString(),
                [](const QString &f) { return nameOf(f, QStringLiteral("WPT"), QStringLiteral("AALTEBE")); },
                [](WindowFixture &fx, int n) {
                    clickOk(fx, QStringLiteral("CHANGED %1").arg(n));
                    fx.window()->sAddWptToDB(QStringLiteral("AALTE-AALTEBE"), 51, 3.4);
                }});
    ops.insert(QStringLiteral("navaid deletion"),
               {QStringLiteral("SQL/GEN.db"), QString(),
                [](const QString &f) { return scalar(f, QStringLiteral("SELECT COUNT(*) FROM NAV")); },
                [](WindowFixture &fx, int n) {
                    fx.prompt.answers = {QStringLiteral("Effacer")};
                    fx.window()->sDelNavFromDB(n == 1 ? QStringLiteral("PGS-FR4PGS1") : QStringLiteral("BBE-BE2BBE1"));
                }});
    ops.insert(QStringLiteral("waypoint deletion"),
               {QStringLiteral("SQL/WPT.db"), QString(),
                [](const QString &f) { return scalar(f, QStringLiteral("SELECT COUNT(*) FROM WPT")); },
                [](WindowFixture &fx, int n) {
                    fx.prompt.answers = {QStringLiteral("Effacer")};
                    fx.window()->sDelWptFromDB(n == 1 ? QStringLiteral("AALTE-AALTEBE")
                                                      : QStringLiteral("06TRA-06TRACH"));
                }});
    ops.insert(QStringLiteral("SID creation"),
               {QStringLiteral("SQL/ROUTE.db"), QString(),
                [](const QString &f) { return scalar(f, QStringLiteral("SELECT COUNT(*) FROM SIDSTAR")); },
                [](WindowFixture &fx, int n) {
                    if (n == 1)
                        planFromLfpg(fx);
                    fx.prompt.answers = {QStringLiteral("TEST%1").arg(n)};
                    QMetaObject::invokeMethod(fx.window(), "on_btnCreateSID_clicked");
                }});
    ops.insert(QStringLiteral("SID deletion"),
               {QStringLiteral("SQL/ROUTE.db"), QString(),
                [](const QString &f) { return scalar(f, QStringLiteral("SELECT COUNT(*) FROM SIDSTAR")); },
                [](WindowFixture &fx, int n) {
                    if (n == 1)
                        planFromLfpg(fx);
                    QMetaObject::invokeMethod(fx.window(), "on_fltplnGrid_cellClicked", Q_ARG(int, 0), Q_ARG(int, 1));
                    QTreeWidget *tree = fx.ui()->treeWSid;
                    QVERIFY(tree->topLevelItemCount() > 0);
                    tree->clearSelection();
                    tree->topLevelItem(0)->setSelected(true);
                    fx.prompt.answers = {CPrompt::Ok};
                    QMetaObject::invokeMethod(fx.window(), "on_pbDelSID_clicked");
                }});
    ops.insert(QStringLiteral("import"),
               {QStringLiteral("SQL/WPT.db"), QString(),
                [](const QString &f) { return scalar(f, QStringLiteral("SELECT COUNT(*) FROM WPT")); },
                [](WindowFixture &fx, int n) {
                    const QString update = fx.sim.path(QStringLiteral("Data/IMPORT%1.CSV").arg(n));
                    QVERIFY(writeAll(update, QStringLiteral("WPT;WPT;+;0;IMP%1;IMP%1;IMP%1;FR;;78;6;4;1;2;0;0;0;0;;\n")
                                                     .arg(n)
                                                     .toLatin1()));
                    fx.prompt.answers = {update};
                    QMetaObject::invokeMethod(fx.window(), "on_actImport_triggered");
                }});
    // The start position reports every failure to change the ini file in
    // its own box.
    ops.insert(QStringLiteral("start situation"),
               {QStringLiteral("system/Corvane.ini"), QStringLiteral("Enregistrement point de départ"),
                [](const QString &f) {
                    const QByteArray ini = readAll(f);
                    const qsizetype at = ini.indexOf("startupSituation");
                    return QString::fromLatin1(ini.mid(at, ini.indexOf('\r', at) - at));
                },
                [](WindowFixture &fx, int n) {
                    if (n == 1) {
                        planFromLfpg(fx);
                    } else {
                        // Another departure: an airport before the first line.
                        fx.ui()->fltplnGrid->setCurrentCell(-1, -1);
                        fx.window()->sAddAptToFp(QStringLiteral("LFPO"));
                    }
                    fx.prompt.answers = {CPrompt::Ok};
                    QMetaObject::invokeMethod(fx.window(), "on_btnStartPos_clicked");
                }});
    return ops;
}

} // namespace

void TestBackup::windowOperations_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("blocked");
    const QStringList names{"navaid editor", "waypoint editor", "navaid deletion", "waypoint deletion",
                            "SID creation", "SID deletion", "import", "start situation"};
    for (const QString &name : names) {
        QTest::newRow(qPrintable(name + QStringLiteral(", copy made"))) << name << false;
        QTest::newRow(qPrintable(name + QStringLiteral(", copy impossible"))) << name << true;
    }
}

void TestBackup::windowOperations()
{
    QFETCH(QString, operation);
    QFETCH(bool, blocked);
    const Operation op = operations().value(operation);
    QVERIFY(op.run);

    m_prompt.reset();   // the fixture brings its own
    WindowFixture fx;
    QVERIFY(fx.prepareDemo());
    QVERIFY(fx.start(false));
    fx.prompt.records.clear();
    const QString file = fx.sim.path(op.file);
    const QString before = op.probe(file);
    if (blocked) {
        QVERIFY(writeAll(CBackup::copyPath(file, 1), "older"));
        QVERIFY(writeAll(CBackup::copyPath(file, 2), "oldest kept"));
        blockOldestCopy(file);
    }
    const QByteArray bytesBefore = readAll(file);

    op.run(fx, 1);

    QStringList titles;
    for (const ScriptedPrompt::Record &r : std::as_const(fx.prompt.records))
        if (r.kind == QLatin1String("message"))
            titles << r.title;
    if (blocked) {
        // One box says why, and nothing at all was changed.
        const ScriptedPrompt::Record &box = fx.prompt.last();
        QCOMPARE(box.icon, CPrompt::Warning);
        if (op.refusalTitle.isEmpty()) {
            QCOMPARE(titles.count(QStringLiteral("Sauvegarde")), 1);
            QCOMPARE(box.title, QStringLiteral("Sauvegarde"));
            QCOMPARE(box.text, refusal(file));
        } else {
            QVERIFY(!titles.contains(QStringLiteral("Sauvegarde")));
            QCOMPARE(box.title, op.refusalTitle);
            QCOMPARE(box.text, QStringLiteral("Le fichier %1 n'a pas pu être modifié :\n").arg(QDir::toNativeSeparators(file))
                                       + refusal(file));
        }
        QCOMPARE(op.probe(file), before);
        if (!file.endsWith(QLatin1String(".db")))
            QCOMPARE(readAll(file), bytesBefore);
        QCOMPARE(readAll(CBackup::copyPath(file, 1)), QByteArray("older"));
        QVERIFY(!CBackup::isSaved(file));
        return;
    }

    QVERIFY2(!titles.contains(QStringLiteral("Sauvegarde")), qPrintable(titles.join(u',')));
    const QString changed = op.probe(file);
    QVERIFY2(changed != before, qPrintable(before));
    // The copy holds the file as it was before the change.
    const QString copy = CBackup::copyPath(file, 1);
    QCOMPARE(op.probe(copy), before);
    if (file.endsWith(QLatin1String(".db")))
        QCOMPARE(scalar(copy, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    else
        QCOMPARE(readAll(copy), bytesBefore);

    // A second change in the same run: the first copy stays, no second one.
    fx.prompt.records.clear();
    op.run(fx, 2);
    QVERIFY(op.probe(file) != changed);
    QCOMPARE(op.probe(copy), before);
    QVERIFY(!QFileInfo::exists(CBackup::copyPath(file, 2)));
}

void TestBackup::importStopsBeforeAnyRecord()
{
    // A file of records for two databases: the first one cannot be saved,
    // so none of its records, nor any later one, is applied.
    m_prompt.reset();
    WindowFixture fx;
    QVERIFY(fx.prepareDemo());
    QVERIFY(fx.start(false));
    const QString wpt = fx.sim.path(QStringLiteral("SQL/WPT.db"));
    const QString gen = fx.sim.path(QStringLiteral("SQL/GEN.db"));
    QVERIFY(writeAll(CBackup::copyPath(wpt, 1), "1"));
    QVERIFY(writeAll(CBackup::copyPath(wpt, 2), "2"));
    blockOldestCopy(wpt);
    const QString update = fx.sim.path(QStringLiteral("Data/TWO.CSV"));
    QVERIFY(writeAll(update, "WPT;WPT;+;0;IMPA;IMPA;IMPA;FR;;78;6;4;1;2;0;0;0;0;;\n"
                             "GEN;NAV;-;ukey;FR4PGS1;\n"));
    fx.prompt.records.clear();
    fx.prompt.answers = {update};
    QMetaObject::invokeMethod(fx.window(), "on_actImport_triggered");
    QCOMPARE(scalar(wpt, QStringLiteral("SELECT COUNT(*) FROM WPT WHERE ukey = 'IMPA'")), QStringLiteral("0"));
    QCOMPARE(scalar(gen, QStringLiteral("SELECT COUNT(*) FROM NAV WHERE ukey = 'FR4PGS1'")), QStringLiteral("1"));
    QStringList texts;
    for (const ScriptedPrompt::Record &r : std::as_const(fx.prompt.records))
        if (r.kind == QLatin1String("message"))
            texts << r.text;
    QCOMPARE(texts, QStringList{refusal(wpt)});
    QVERIFY(!QFileInfo::exists(CBackup::copyPath(gen, 1)));
}

// --- a copy put back ---------------------------------------------------------

void TestBackup::copiesCompared_data()
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

void TestBackup::copiesCompared()
{
    QFETCH(QString, file);
    QFETCH(QString, before);
    QFETCH(QString, change);
    QFETCH(QStringList, differences);
    const QString current = path(file);
    const bool database = file.endsWith(QLatin1String(".db"));
    QVERIFY(database ? execAll(current, before) : writeAll(current, before.toLatin1()));
    QVERIFY(CBackup::beforeChange(current));
    QVERIFY(database ? execAll(current, change) : writeAll(current, change.toLatin1()));

    const CRestorableFile listed = CRestore::inspect(current);
    QCOMPARE(listed.database, database);
    QCOMPARE(listed.copies.size(), 1);
    const CStoredCopy &copy = listed.copies.first();
    QCOMPARE(copy.number, 1);
    QCOMPARE(copy.path, CBackup::copyPath(current, 1));
    QCOMPARE(copy.taken, QFileInfo(copy.path).lastModified());
    QCOMPARE(describe(copy), differences);
}

void TestBackup::restoreAndTakeBack_data()
{
    QTest::addColumn<bool>("database");
    QTest::newRow("database") << true;
    QTest::newRow("ini file") << false;
}

void TestBackup::restoreAndTakeBack()
{
    QFETCH(bool, database);
    CGlobalVar config;
    QString file;
    if (database) {
        openGen(config, m_dir->path());
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

    CRestore::Result r = CRestore::restore(config, file, CBackup::copyPath(file, 1));
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
    r = CRestore::restore(config, file, CBackup::beforeRestorePath(file));
    QCOMPARE(r.outcome, CRestore::Outcome::Restored);
    QCOMPARE(readAll(file), changed);
    QCOMPARE(readAll(CBackup::beforeRestorePath(file)), copyBytes);
    if (database)
        QCOMPARE(names(QStringLiteral("GEN.db")), QStringLiteral("ALPHA,CHANGED,CHARLIE"));
}

void TestBackup::stopChangesNothing_data()
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

void TestBackup::stopChangesNothing()
{
    QFETCH(QString, cause);
    QFETCH(QString, step);
    QFETCH(QString, error);
    CGlobalVar config;
    openGen(config, m_dir->path());
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
        QVERIFY(execAll(copy, sql));
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

    const CRestore::Result r = CRestore::restore(config, file, copy);
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

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
