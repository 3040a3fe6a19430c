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
#include "tests/support/filesizelimit.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QDialog>
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

// Runs ";"-separated statements on a file through a connection of its own;
// the first column of the last statement's first row, or "<error ...>".
QString sql(const QString &dbFile, const QString &statements)
{
    static int serial = 0;
    const QString name = QStringLiteral("backup-probe-%1").arg(++serial);
    QString out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dbFile);
        QSqlQuery q(db);
        if (!db.open())
            out = QStringLiteral("<error %1>").arg(db.lastError().text());
        for (const QString &s : statements.split(u';', Qt::SkipEmptyParts)) {
            if (!out.startsWith(u'<'))
                out = q.exec(s) ? (q.next() ? q.value(0).toString() : QString()) : QStringLiteral("<error %1>").arg(q.lastError().text());
        }
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

// The names of NAV, in key order, read through a connection.
QString names(const QString &connection)
{
    QSqlQuery q(QSqlDatabase::database(connection, false));
    const bool read = q.exec(QStringLiteral("SELECT group_concat(name, ',') FROM (SELECT name FROM NAV ORDER BY ukey)")) && q.next();
    return read ? q.value(0).toString() : QStringLiteral("<error %1>").arg(q.lastError().text());
}

const QString Navaids = QStringLiteral("CREATE TABLE NAV (ukey TEXT, name TEXT, UNIQUE (ukey));"
                                       "INSERT INTO NAV VALUES ('A', 'ALPHA'), ('B', 'BRAVO'), ('C', 'CHARLIE');");

// GEN.db with the navaids, opened as the program opens it.
void openGen(CGlobalVar &config, const QString &dir)
{
    sql(dir + QStringLiteral("/GEN.db"), Navaids);
    config.dirGen.setPath(dir);
    config.genName = QStringLiteral("GEN.db");
    config.sqlMgr->addDB(QStringLiteral("GEN.db"), dir);
    QCOMPARE(names(QStringLiteral("GEN.db")), QStringLiteral("ALPHA,BRAVO,CHARLIE"));
}

// The window operations that change a simulator file.

// The rows of a table of a database (key and name, or procedure), in key
// order whatever their layout on disk; the bytes of any other file.
QString content(const QString &file, const QString &table)
{
    const QString row = table == QLatin1String("SIDSTAR") ? QStringLiteral("skey || strm") : QStringLiteral("ukey || name");
    if (table.isEmpty())
        return QString::fromLatin1(readAll(file));
    return sql(file, QStringLiteral("SELECT COUNT(*) || group_concat(r) FROM (SELECT %1 AS r FROM %2 ORDER BY 1)").arg(row, table));
}

// The n-th change of an operation.
void change(WindowFixture &fx, const QString &operation, int n)
{
    MainWindow *window = fx.window();
    const QString name = QStringLiteral("CHANGED %1").arg(n);
    // The editor of a navaid or waypoint: its name changed and accepted.
    fx.prompt.dialogHandler = [name](QObject *o) -> int {
        auto *d = qobject_cast<QDialog *>(o);
        if (!d)
            return QDialog::Rejected;
        d->findChild<QLineEdit *>(QStringLiteral("leName"))->setText(name);
        d->findChild<QPushButton *>(QStringLiteral("pbOK"))->click();
        if (d->result() != QDialog::Accepted)   // refused: the dialog stays open until cancelled
            d->findChild<QPushButton *>(QStringLiteral("pbCancel"))->click();
        return d->result();
    };
    if (n == 1 && (operation.startsWith(QLatin1String("SID")) || operation == QLatin1String("start situation"))) {
        window->sAddAptToFp(QStringLiteral("LFPG"));
        window->sAddWptToFp(QStringLiteral("AALTE-AALTEBE"));
    }
    if (operation == QLatin1String("navaid editor")) {
        window->sAddNavToDB(QStringLiteral("PGS-FR4PGS1"), 49, 2.5);
    } else if (operation == QLatin1String("waypoint editor")) {
        window->sAddWptToDB(QStringLiteral("AALTE-AALTEBE"), 51, 3.4);
    } else if (operation == QLatin1String("navaid deletion")) {
        fx.prompt.answers = {QStringLiteral("Effacer")};
        window->sDelNavFromDB(n == 1 ? QStringLiteral("PGS-FR4PGS1") : QStringLiteral("BBE-BE2BBE1"));
    } else if (operation == QLatin1String("waypoint deletion")) {
        fx.prompt.answers = {QStringLiteral("Effacer")};
        window->sDelWptFromDB(n == 1 ? QStringLiteral("AALTE-AALTEBE") : QStringLiteral("06TRA-06TRACH"));
    } else if (operation == QLatin1String("SID creation")) {
        fx.prompt.answers = {QStringLiteral("TEST%1").arg(n)};
        QMetaObject::invokeMethod(window, "on_btnCreateSID_clicked");
    } else if (operation == QLatin1String("SID deletion")) {
        QMetaObject::invokeMethod(window, "on_fltplnGrid_cellClicked", Q_ARG(int, 0), Q_ARG(int, 1));
        QTreeWidget *tree = fx.ui()->treeWSid;
        QVERIFY(tree->topLevelItemCount() > 0);
        tree->clearSelection();
        tree->topLevelItem(0)->setSelected(true);
        fx.prompt.answers = {CPrompt::Ok};
        QMetaObject::invokeMethod(window, "on_pbDelSID_clicked");
    } else if (operation == QLatin1String("import")) {
        // Records for two databases: when the first cannot be saved, none of
        // its records, nor any later one, is applied.
        const QString update = fx.sim.path(QStringLiteral("Data/IMPORT%1.CSV").arg(n));
        QVERIFY(writeAll(update, QStringLiteral("WPT;WPT;+;0;IMP%1;IMP%1;IMP%1;FR;;78;6;4;1;2;0;0;0;0;;\nGEN;NAV;-;ukey;%2;\n")
                                         .arg(n).arg(n == 1 ? "FR4PGS1" : "BE2BBE1").toLatin1()));
        fx.prompt.answers = {update};
        QMetaObject::invokeMethod(window, "on_actImport_triggered");
    } else {
        if (n > 1) {   // another departure: an airport before the first line
            fx.ui()->fltplnGrid->setCurrentCell(-1, -1);
            window->sAddAptToFp(QStringLiteral("LFPO"));
        }
        fx.prompt.answers = {CPrompt::Ok};
        QMetaObject::invokeMethod(window, "on_btnStartPos_clicked");
    }
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    QString path(const QString &name) const { return m_dir->filePath(name); }

private slots:
    void init()
    {
        CBackup::reset();
        m_dir = std::make_unique<QTemporaryDir>();
        m_prompt = std::make_unique<ScriptedPrompt>();
    }

    void cleanup()
    {
        m_prompt.reset();
        m_dir.reset();
        CBackup::reset();
    }

    void copyHoldsTheFile_data()
    {
        QTest::addColumn<bool>("database");
        QTest::addColumn<QString>("again");   // the same file named another way
        QTest::newRow("ini file, byte for byte") << false << "%D/./%N";
        QTest::newRow("database the program reads and writes") << true << "%D/../%B/%N";
    }

    void copyHoldsTheFile()
    {
        QFETCH(bool, database);
        QFETCH(QString, again);
        const QString name = database ? QStringLiteral("GEN.db") : QStringLiteral("Corvane.ini");
        const QString file = path(name);
        const QString copy = CBackup::copyPath(file, 1);
        const QByteArray ini("[Main]\r\nstartupSituation=Saved Simulations/OLD.SIT\r\n\xe9t\xe9\r\nlast");
        if (!database) {
            QVERIFY(writeAll(file, ini));
            QString error;
            QVERIFY(CBackup::beforeChange(file, &error) && error.isEmpty());
            QCOMPARE(readAll(file), ini);
            QVERIFY(writeAll(file, "changed"));
        } else {
            // A small database with a version and a few rows.
            sql(file, QStringLiteral("PRAGMA user_version = 4; CREATE TABLE T (k TEXT, v REAL);"
                                     "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 49)"
                                     "INSERT INTO T SELECT 'k' || i, i + 0.5 FROM n"));
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name).setDatabaseName(file);
            {
                QSqlDatabase db = QSqlDatabase::database(name);
                // A statement of the program stands on a row, as while an editor
                // is open, and a change is not committed yet.
                QSqlQuery reading(db);
                QVERIFY(reading.exec(QStringLiteral("SELECT * FROM T")) && reading.next());
                QVERIFY(db.transaction());
                QSqlQuery write(db);
                QVERIFY(write.exec(QStringLiteral("INSERT INTO T VALUES ('half', 0)")));
                QVERIFY(CBackup::beforeChangeOf(name));
                QVERIFY(reading.next());
                QVERIFY(db.rollback());
                QVERIFY(write.exec(QStringLiteral("DELETE FROM T")));
            }
            QSqlDatabase::removeDatabase(name);
            QCOMPARE(sql(copy, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        }
        // A later change of the run, the file named another way, is no new copy.
        again.replace(QStringLiteral("%D"), m_dir->path()).replace(QStringLiteral("%N"), name).replace(QStringLiteral("%B"), QFileInfo(m_dir->path()).fileName());
        QVERIFY(QFileInfo::exists(again) && CBackup::isSaved(again));
        QVERIFY(CBackup::beforeChange(again));
        // The schema version travels with the copy: a restored file is accepted.
        const QString rows = QStringLiteral("SELECT COUNT(*) || '/' || SUM(v) || ' v' || (SELECT user_version FROM pragma_user_version) FROM T");
        QCOMPARE(database ? sql(copy, rows).toLatin1() : readAll(copy), database ? QByteArray("50/1250.0 v4") : ini);
        // A file not there yet needs no copy.
        QVERIFY(CBackup::beforeChange(path(QStringLiteral("absent.ini"))));
        // Nothing else is left beside the file, and no copy is taken for a database.
        QCOMPARE(entries(m_dir->path()), QStringList({name, name + QStringLiteral(".bak1")}));
        QVERIFY(m_prompt->records.isEmpty());
    }

    void windowOperations_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("file");   // the file it changes
        QTest::addColumn<QString>("table");   // the table it changes
        QTest::addColumn<bool>("blocked");
        const char *operations[][3] = {{"navaid editor", "SQL/GEN.db", "NAV"}, {"waypoint editor", "SQL/WPT.db", "WPT"},
                                       {"navaid deletion", "SQL/GEN.db", "NAV"}, {"waypoint deletion", "SQL/WPT.db", "WPT"},
                                       {"SID creation", "SQL/ROUTE.db", "SIDSTAR"}, {"SID deletion", "SQL/ROUTE.db", "SIDSTAR"},
                                       {"import", "SQL/WPT.db", "WPT"}, {"start situation", "system/Corvane.ini", ""}};
        for (const auto &o : operations) {
            QTest::addRow("%s, copy made", o[0]) << o[0] << o[1] << o[2] << false;
            QTest::addRow("%s, copy impossible", o[0]) << o[0] << o[1] << o[2] << true;
        }
    }

    void windowOperations()
    {
        QFETCH(QString, operation);
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(bool, blocked);
        m_prompt.reset();   // the fixture brings its own
        WindowFixture fx;
        QVERIFY(fx.prepareDemo() && fx.start(false));
        fx.prompt.records.clear();
        file = fx.sim.path(file);
        // A refused change leaves every simulator file as it was, byte for byte.
        auto simulatorFiles = [&] {
            QList<QByteArray> all;
            for (const char *f : {"SQL/GEN.db", "SQL/WPT.db", "SQL/ROUTE.db", "system/Corvane.ini"})
                all << readAll(fx.sim.path(QLatin1String(f)));
            return all;
        };
        const QList<QByteArray> files = blocked ? simulatorFiles() : QList<QByteArray>();
        const QString before = content(file, table);
        if (blocked) {
            // Copies of earlier runs, the oldest in a folder that no file
            // operation removes: no copy can be made.
            QVERIFY(writeAll(CBackup::copyPath(file, 1), "older"));
            QVERIFY(writeAll(CBackup::copyPath(file, 2), "oldest kept"));
            QVERIFY(QDir().mkpath(CBackup::copyPath(file, CBackup::Kept)));
            QVERIFY(writeAll(CBackup::copyPath(file, CBackup::Kept) + QStringLiteral("/keep"), "x"));
        }
        const QStringList beside = entries(QFileInfo(file).path());

        auto titles = [&] {
            QStringList all;
            for (const ScriptedPrompt::Record &r : std::as_const(fx.prompt.records))
                all << r.title;
            return all;
        };
        change(fx, operation, 1);
        if (blocked) {
            // One box says why, and nothing at all was changed. The start
            // position reports every failure to change the ini file in its own box.
            const bool own = operation == QLatin1String("start situation");
            const ScriptedPrompt::Record &box = fx.prompt.last();
            QCOMPARE(box.icon, CPrompt::Warning);
            QCOMPARE(titles().count(QStringLiteral("Sauvegarde")), own ? 0 : 1);
            QCOMPARE(box.title, own ? QStringLiteral("Enregistrement point de départ") : QStringLiteral("Sauvegarde"));
            QCOMPARE(box.text, (own ? QStringLiteral("Le fichier %1 n'a pas pu être modifié :\n").arg(QDir::toNativeSeparators(file)) : QString())
                                       + QStringLiteral("Impossible de sauvegarder %1 avant sa modification :\nl'ancienne copie %2 ne peut "
                                                        "pas être supprimée\nLa modification est annulée.")
                                                 .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(CBackup::copyPath(file, CBackup::Kept))));
            QVERIFY(simulatorFiles() == files);
            // The copies of earlier runs stay where they were; no half-made copy is left.
            QCOMPARE(readAll(CBackup::copyPath(file, 1)), QByteArray("older"));
            QCOMPARE(entries(QFileInfo(file).path()), beside);
            // A failure is not remembered: the next change tries again, and
            // the older copies move on.
            QVERIFY(!CBackup::isSaved(file));
            QVERIFY(QDir(CBackup::copyPath(file, CBackup::Kept)).removeRecursively());
            fx.prompt.records.clear();
            change(fx, operation, 1);
            QCOMPARE(readAll(CBackup::copyPath(file, CBackup::Kept)), QByteArray("oldest kept"));
        }
        QVERIFY2(!titles().contains(QStringLiteral("Sauvegarde")), qPrintable(titles().join(u',')));
        const QString changed = content(file, table);
        QVERIFY(changed != before);
        // The copy holds the file as it was before the change, and stays
        // through a second change of the run; no second copy is made.
        const QString copy = CBackup::copyPath(file, 1);
        change(fx, operation, 2);
        QVERIFY(content(file, table) != changed);
        QVERIFY(content(copy, table) == before);
        QCOMPARE(readAll(CBackup::copyPath(file, 2)), QByteArray(blocked ? "older" : "<missing>"));
    }

    void copiesCompared_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("before");   // SQL, or the text of the ini file
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("differences");
        QTest::newRow("a navaid changed, rows added, a table dropped, one created")
                << "GEN.db" << Navaids + "CREATE TABLE OLD (k TEXT); INSERT INTO OLD VALUES ('x'), ('x');"
                << "UPDATE NAV SET name = 'BRAVO 2' WHERE ukey = 'B'; INSERT INTO NAV VALUES ('D', 'DELTA'), ('E', 'ECHO');"
                   "DROP TABLE OLD; CREATE TABLE NEW (k TEXT); INSERT INTO NEW VALUES ('y')"
                << QStringList{"NAV 1/3", "NEW 0/1", "OLD 2/0"};
        QTest::newRow("a row held once more")
                << "GEN.db" << Navaids
                << "DROP TABLE NAV; CREATE TABLE NAV (ukey TEXT, name TEXT);"
                   "INSERT INTO NAV VALUES ('A', 'ALPHA'), ('B', 'BRAVO'), ('C', 'CHARLIE'), ('C', 'CHARLIE')"
                << QStringList{"NAV 0/1"};
        QTest::newRow("ini: the start situation changed")
                << "Corvane.ini" << "[Main]\r\nstartupSituation=Saved Simulations/OLD.SIT\r\nother=1\r\n"
                << "[Main]\r\nstartupSituation=Saved Simulations/LFPG.SIT\r\nother=1\r\n"
                << QStringList{"copy: startupSituation=Saved Simulations/OLD.SIT", "current: startupSituation=Saved Simulations/LFPG.SIT"};
    }

    void copiesCompared()
    {
        QFETCH(QString, file);
        QFETCH(QString, before);
        QFETCH(QString, change);
        QFETCH(QStringList, differences);
        const QString current = path(file);
        const bool database = file.endsWith(QLatin1String(".db"));
        database ? void(sql(current, before)) : void(writeAll(current, before.toLatin1()));
        QVERIFY(CBackup::beforeChange(current));
        database ? void(sql(current, change)) : void(writeAll(current, change.toLatin1()));

        const CRestorableFile listed = CRestore::inspect(current);
        QCOMPARE(listed.copies.size(), 1);
        const CStoredCopy &copy = listed.copies.first();
        QCOMPARE(copy.number, 1);
        QCOMPARE(copy.path, CBackup::copyPath(current, 1));
        QStringList found;
        if (!copy.error.isEmpty())
            found << QStringLiteral("error ") + copy.error;
        for (const CRowDifference &t : copy.tables)
            found << QStringLiteral("%1 %2/%3").arg(t.table).arg(t.onlyInCopy).arg(t.onlyInCurrent);
        for (const CLineDifference &l : copy.lines)
            found << (l.inCopy ? QStringLiteral("copy: ") : QStringLiteral("current: ")) + l.line;
        QCOMPARE(found, differences);
    }

    void stopChangesNothing_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("step");    // empty: the simulator holds the database
        QTest::addColumn<QString>("error");   // the start of the reason given
        QTest::newRow("restored, then taken back") << "restored" << QString() << QString();
        QTest::newRow("the simulator writes the database") << "locked" << QString() << QString();
        QTest::newRow("the file as it is cannot be kept") << "keep" << "copie du fichier actuel" << "le fichier temporaire";
        QTest::newRow("no room for the copy") << "room" << "remplacement du fichier" << QString();
        QTest::newRow("the copy is no database") << "garbage" << "réouverture de la base de données" << "GEN.db ne s'ouvre pas : ";
        QTest::newRow("the copy is of another version") << "version" << "vérification"
                                                        << "GEN.db : la version attendue est 0, la version trouvée est 2";
    }

    void stopChangesNothing()
    {
        QFETCH(QString, cause);
        QFETCH(QString, step);
        QFETCH(QString, error);
        CGlobalVar config;
        openGen(config, m_dir->path());
        const QString file = path(QStringLiteral("GEN.db"));
        const QString copy = CBackup::copyPath(file, 1);
        std::unique_ptr<FileSizeLimit> limit;
        if (cause == QLatin1String("garbage")) {
            QVERIFY(writeAll(copy, QByteArray(8192, 'x')));
        } else {
            QString statements = Navaids;
            if (cause == QLatin1String("version"))
                statements += QStringLiteral("PRAGMA user_version = 2;");
            for (int i = 0; cause == QLatin1String("room") && i < 40; ++i)
                statements += QStringLiteral("CREATE TABLE IF NOT EXISTS BIG (v TEXT); INSERT INTO BIG VALUES ('%1');").arg(QString(4000, QChar(u'a' + i % 26)));
            sql(copy, statements);
        }
        if (cause == QLatin1String("keep"))   // a folder where the file as it is would be kept
            QVERIFY(QDir().mkpath(file + QStringLiteral(".restore-old/in")));
        const bool restored = cause == QLatin1String("restored");
        if (restored)   // the program changed the file since the copy
            QVERIFY(QSqlQuery(QSqlDatabase::database(QStringLiteral("GEN.db"))).exec(QStringLiteral("UPDATE NAV SET name = 'CHANGED' WHERE ukey = 'B'")));
        const QByteArray before = readAll(file);
        const QStringList beside = entries(m_dir->path());

        // Another program holding the file.
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("simulator")).setDatabaseName(file);
        if (cause == QLatin1String("locked")) {
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("simulator")));
            QVERIFY(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO NAV VALUES ('S', 'SIMULATOR')")));
        }
        if (cause == QLatin1String("room")) {
            limit = std::make_unique<FileSizeLimit>(QFileInfo(copy).size() - 4096);
            if (!limit->active())
                QSKIP("no file size limit on this system");
        }
        const CRestore::Result r = CRestore::restore(config, file, copy);
        limit.reset();
        if (restored) {
            QCOMPARE(r.outcome, CRestore::Outcome::Restored);
            QCOMPARE(CRestore::message(file, copy, r),
                     QStringLiteral("GEN.db a été restauré depuis GEN.db.bak1.\nLe fichier tel qu'il était avant est gardé dans %1 : "
                                    "restaurez-le pour revenir en arrière.").arg(QDir::toNativeSeparators(r.keptCopy)));
            // The program's connection reads the restored rows; the file as it was is kept.
            QCOMPARE(names(QStringLiteral("GEN.db")), QStringLiteral("ALPHA,BRAVO,CHARLIE"));
            QCOMPARE(readAll(file), readAll(copy));
            QCOMPARE(readAll(r.keptCopy), before);
            // Restoring the kept copy takes the restore back.
            QCOMPARE(CRestore::restore(config, file, r.keptCopy).outcome, CRestore::Outcome::Restored);
            QVERIFY(QFile::remove(CBackup::beforeRestorePath(file)));
        } else if (cause == QLatin1String("locked")) {
            QVERIFY(QSqlDatabase::database(QStringLiteral("simulator")).rollback());
            QCOMPARE(r.outcome, CRestore::Outcome::Locked);
            QCOMPARE(CRestore::message(file, copy, r), QStringLiteral("Le simulateur utilise GEN.db : la base de données est verrouillée.\n"
                                                                      "Rien n'a été changé. Fermez le simulateur puis recommencez."));
        } else {
            QCOMPARE(r.outcome, CRestore::Outcome::Failed);
            QCOMPARE(CRestore::stepName(r.step), step);
            QVERIFY2(r.error.startsWith(error), qPrintable(r.error));
            QVERIFY(r.putBack);
            QCOMPARE(CRestore::message(file, copy, r), QStringLiteral("La restauration de GEN.db a échoué à l'étape « %1 » :\n%2\n"
                                                                      "Le fichier est resté tel qu'il était.").arg(step, r.error));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("simulator"));
        // The file is as it was, byte for byte; nothing is left beside it; the
        // program reads it as before.
        QCOMPARE(readAll(file), before);
        QCOMPARE(entries(m_dir->path()), beside);
        QCOMPARE(names(QStringLiteral("GEN.db")), restored ? QStringLiteral("ALPHA,CHANGED,CHARLIE") : QStringLiteral("ALPHA,BRAVO,CHARLIE"));
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
