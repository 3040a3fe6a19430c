// Update files: import of records into the simulator databases, exports of
// whole tables, scenery projects and 3D objects, and the Export menu.

#include "data/globalvar.h"
#include "data/sqlmgr.h"
#include "editors/updatefile.h"
#include "io/exportmenu.h"
#include "io/iodatabase.h"
#include "io/ioprogress.h"
#include "io/updaterecord.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"
#include "tests/support/windowfixture.h"

#include "ui_mainwindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Rows = QList<QVariantList>;

namespace {

const QString Gen = QStringLiteral("GEN.db");
const QString Wpt = QStringLiteral("WPT.db");
const QString M3d = QStringLiteral("M3D.db");
const QString Obj = QStringLiteral("OBJ.db");
const QString Txy = QStringLiteral("TXY.db");
const QString Osm = QStringLiteral("OSM.db");

// A NAV record with 17 values whose key and name the test chooses.
QString navRecord(const QString &key, const QString &name = QStringLiteral("TEST VOR"))
{
    return QStringLiteral("GEN;NAV;+;1;%1;TST;%2;117.05;0.5;0;FR;;17;0;3;176400.5;8000;300;0;130").arg(key, name);
}

// Records the progress reports; asks to stop when `done` reaches cancelAt.
struct FakeProgress : CIOProgress {
    QString label;
    qint64 total = -1;
    QList<qint64> values;
    qint64 cancelAt = -1;
    int begun = 0;
    int ended = 0;

    void begin(const QString &l, qint64 t) override
    {
        ++begun;
        label = l;
        total = t;
    }
    bool advance(qint64 done) override
    {
        values << done;
        return done != cancelAt;
    }
    void end() override { ++ended; }
};

} // namespace

class TestIo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void updateRecordHelpers_data();
    void updateRecordHelpers();

    void deleteByKey();
    void wholeTableQuestion_data();
    void wholeTableQuestion();
    void extraTrailingFieldsIgnored();
    void rejectedRecords_data();
    void rejectedRecords();
    void stopKeepsEarlierRecordsCommitted();
    void blankLinesAndOtherOperationsSkipped();
    void shortRecords_data();
    void shortRecords();
    void hostileDeletion_data();
    void hostileDeletion();
    void failingStatementReported();
    void failingCommitReported_data();
    void failingCommitReported();
    void twoLightTables();
    void hexBlobs_data();
    void hexBlobs();
    void osmList();
    void osmListRejectsNames_data();
    void osmListRejectsNames();
    void twoFilesTwoSummaries();
    void importChooser();
    void importProgressCancel();
    void importProgressOnlyForLargeFiles();

    void navExactLines();
    void exportEmptyTable();
    void exportOverwriteQuestion_data();
    void exportOverwriteQuestion();
    void exportOpenFailure_data();
    void exportOpenFailure();
    void exportSkipsUnrepresentableRows();
    void roundTripNavAndWpt_data();
    void roundTripNavAndWpt();
    void exportObjLines_data();
    void exportObjLines();
    void exportObjUnknownProject();
    void exportObjProjectOutsideFolder_data();
    void exportObjProjectOutsideFolder();
    void roundTripObj();
    void export3DLines();
    void export3DWithoutNight();
    void export3DUnknownModel();
    void roundTrip3D();
    void exportProgressCancel();
    void writeFailsPartWay_data();
    void writeFailsPartWay();

    void exportMenu();
    void exportMenuActions();
    void windowImportAction();

private:
    QString sqlDir() const { return m_dir->filePath(QStringLiteral("SQL")); }
    QString filePath(const QString &name) const { return m_dir->filePath(name); }
    QString writeFile(const QString &name, const QByteArray &content) const;
    QByteArray readFile(const QString &path) const;
    QStringList fileLines(const QString &path) const;
    bool importText(const QByteArray &content, const QString &name = QStringLiteral("update.CSV"));
    Rows rows(const QString &connection, const QString &sql) const;
    int count(const QString &connection, const QString &table, const QString &where = QString()) const;
    bool exec(const QString &connection, const QString &sql) const;
    // Rows of a table read through a connection of its own, so that only
    // committed changes are seen.
    int committedCount(const QString &file, const QString &table) const;

    SimFixture m_master;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    std::unique_ptr<CGlobalVar> m_config;
    CIODataBase *m_io = nullptr;
};

void TestIo::initTestCase()
{
    QVERIFY2(m_master.buildDemo(), qPrintable(m_master.lastError()));
}

void TestIo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QDir(m_dir->path()).mkpath(QStringLiteral("SQL"));
    for (const QString &db : {Gen, Wpt, M3d, Obj, Txy, Osm})
        QVERIFY(QFile::copy(QDir(m_master.sqlDir()).filePath(db), QDir(sqlDir()).filePath(db)));

    m_prompt = std::make_unique<ScriptedPrompt>();
    m_config = std::make_unique<CGlobalVar>();
    m_config->genName = Gen;
    m_config->wptName = Wpt;
    m_config->m3dName = M3d;
    m_config->objName = Obj;
    m_config->txyName = Txy;
    for (QDir *dir : {&m_config->dirGen, &m_config->dirWpt, &m_config->dirM3d, &m_config->dirObj, &m_config->dirTxy,
                      &m_config->dirOsm})
        *dir = QDir(sqlDir());
    for (const QString &db : {Gen, Wpt, M3d, Obj, Txy})
        m_config->sqlMgr->addDB(db, sqlDir());
    QVERIFY(m_prompt->records.isEmpty());
    m_io = new CIODataBase(this);
}

void TestIo::cleanup()
{
    delete m_io;
    m_io = nullptr;
    m_config.reset();   // closes every connection it opened
    for (const QString &name : QSqlDatabase::connectionNames())
        QSqlDatabase::removeDatabase(name);
    m_prompt.reset();
    m_dir.reset();
}

QString TestIo::writeFile(const QString &name, const QByteArray &content) const
{
    const QString path = filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return path;
}

QByteArray TestIo::readFile(const QString &path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList TestIo::fileLines(const QString &path) const
{
    QStringList lines = QString::fromLatin1(readFile(path)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool TestIo::importText(const QByteArray &content, const QString &name)
{
    QFile file(writeFile(name, content));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return m_io->importDB(&file, m_config.get());
}

Rows TestIo::rows(const QString &connection, const QString &sql) const
{
    Rows out;
    QSqlQuery query(QSqlDatabase::database(connection));
    if (!query.exec(sql))
        qWarning() << sql << query.lastError().text();
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i);
        out << row;
    }
    return out;
}

int TestIo::count(const QString &connection, const QString &table, const QString &where) const
{
    const Rows r = rows(connection, QStringLiteral("SELECT COUNT(*) FROM %1 %2").arg(table, where));
    return r.isEmpty() ? -1 : r.first().first().toInt();
}

bool TestIo::exec(const QString &connection, const QString &sql) const
{
    QSqlQuery query(QSqlDatabase::database(connection));
    return query.exec(sql);
}

int TestIo::committedCount(const QString &file, const QString &table) const
{
    int result = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("committed-check"));
        db.setDatabaseName(QDir(sqlDir()).filePath(file));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) && query.next())
                result = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("committed-check"));
    return result;
}

// --- record helpers ---

void TestIo::updateRecordHelpers_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("representable");

    QTest::newRow("plain") << "PARIS ORLY VOR-DME" << true;
    QTest::newRow("accents and apostrophe") << "Château d'eau" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("separator") << "A;B" << false;
    QTest::newRow("line feed") << "A\nB" << false;
    QTest::newRow("carriage return") << "A\rB" << false;
    QTest::newRow("outside Latin-1") << QStringLiteral("Zone \u20ac") << false;
}

void TestIo::updateRecordHelpers()
{
    QFETCH(QString, value);
    QFETCH(bool, representable);
    QCOMPARE(UpdateRecord::representable(value), representable);

    // The split keeps empty fields, also at the end.
    QCOMPARE(UpdateRecord::split("GEN;NAV;-;ukey;;"),
             QStringList({"GEN", "NAV", "-", "ukey", "", ""}));
    QCOMPARE(UpdateRecord::split("\xe9;x"), QStringList({QStringLiteral("\u00e9"), "x"}));

    bool ok = false;
    QCOMPARE(UpdateRecord::hex(QByteArray("\x00\xab", 2)), QStringLiteral("00ab"));
    QCOMPARE(UpdateRecord::fromHex(QStringLiteral("00ab"), &ok), QByteArray("\x00\xab", 2));
    QVERIFY(ok);
    QCOMPARE(UpdateRecord::fromHex(QStringLiteral("00AB"), &ok), QByteArray("\x00\xab", 2));
    QVERIFY(ok);
    UpdateRecord::fromHex(QStringLiteral("0ab"), &ok);
    QVERIFY(!ok);
    UpdateRecord::fromHex(QStringLiteral("0g"), &ok);
    QVERIFY(!ok);
}

// --- import ---

void TestIo::deleteByKey()
{
    QVERIFY(importText(navRecord("LFPG1").toLatin1() + "\n"));
    QCOMPARE(count(Gen, "NAV", "WHERE ukey = 'LFPG1'"), 1);
    const int before = count(Gen, "NAV");
    m_prompt->records.clear();

    const QString path = filePath("update.CSV");
    QVERIFY(importText("GEN;NAV;-;ukey;LFPG1"));
    QCOMPARE(count(Gen, "NAV", "WHERE ukey = 'LFPG1'"), 0);
    QCOMPARE(count(Gen, "NAV"), before - 1);
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().icon, CPrompt::Information);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Importation"));
    QCOMPARE(m_prompt->last().text, QStringLiteral("Importation terminée\n %1").arg(path));
    QCOMPARE(committedCount(Gen, "NAV"), before - 1);
}

void TestIo::wholeTableQuestion_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("ok empties the table") << CPrompt::Ok;
    QTest::newRow("cancel stops the import") << CPrompt::Cancel;
    QTest::newRow("box closed stops the import") << QString();
}

void TestIo::wholeTableQuestion()
{
    QFETCH(QString, answer);
    const int before = count(Gen, "NAV");
    QVERIFY(before > 700);
    m_prompt->answers << answer;
    const QByteArray file = navRecord("FIRST").toLatin1() + "\nGEN;NAV;-;ukey;;\n" + navRecord("NEW").toLatin1() + "\n";
    const bool result = importText(file);

    QCOMPARE(m_prompt->records.size(), 2);
    const ScriptedPrompt::Record &question = m_prompt->records.at(0);
    QCOMPARE(question.icon, CPrompt::Warning);
    QCOMPARE(question.title, QStringLiteral("Attention"));
    QCOMPARE(question.text,
             QStringLiteral("Vous allez effacer la totalité des données de la table NAV.\nVoulez vous continuer ?"));
    QCOMPARE(question.buttons, QStringList({CPrompt::Ok, CPrompt::Cancel}));

    if (answer == CPrompt::Ok) {
        QVERIFY(result);
        QCOMPARE(count(Gen, "NAV"), 1);
        QCOMPARE(count(Gen, "NAV", "WHERE ukey = 'NEW'"), 1);
        QCOMPARE(m_prompt->last().title, QStringLiteral("Importation"));
    } else {
        QVERIFY(!result);
        // The record before the question stays; nothing after it is applied.
        QCOMPARE(count(Gen, "NAV"), before + 1);
        QCOMPARE(count(Gen, "NAV", "WHERE ukey = 'FIRST'"), 1);
        QCOMPARE(count(Gen, "NAV", "WHERE ukey = 'NEW'"), 0);
        QCOMPARE(committedCount(Gen, "NAV"), before + 1);
        QCOMPARE(m_prompt->last().icon, CPrompt::Information);
        QCOMPARE(m_prompt->last().title, QStringLiteral("Import"));
        QCOMPARE(m_prompt->last().text, QStringLiteral("L'import a été annulé."));
    }
}

void TestIo::extraTrailingFieldsIgnored()
{
    // An exported row ends in ";", and more fields may follow.
    QVERIFY(importText(navRecord("EXTRA").toLatin1() + ";;more;fields\n"));
    const Rows r = rows(Gen, "SELECT * FROM NAV WHERE ukey = 'EXTRA'");
    QCOMPARE(r.size(), 1);
    QCOMPARE(r.first().size(), 17);
    QCOMPARE(r.first().at(3).toString(), QStringLiteral("TEST VOR"));
    QCOMPARE(r.first().at(4).toDouble(), 117.05);
    QCOMPARE(r.first().at(16).toDouble(), 130.0);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Importation"));
}

void TestIo::rejectedRecords_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("text");

    QTest::newRow("WPT table is not in GEN")
        << "GEN;WPT;+;1;A;B;C;FR;;78;1;4;0;0;0;0;0;0;"
        << "La table WPT est inconnue dans la base de données GEN.";
    QTest::newRow("database names are case-sensitive")
        << navRecord("X").replace(0, 3, "gen") << "La base de données gen est inconnue.";
    QTest::newRow("table names are case-sensitive") << "GEN;nav;-;ukey;X"
                                                    << "La table nav est inconnue dans la base de données GEN.";
    QTest::newRow("country list is not written") << "GEN;CTY;+;ZZ;Nowhere"
                                                 << "La table CTY est inconnue dans la base de données GEN.";
    QTest::newRow("route database is not written") << "ROUTE;SIDSTAR;-;strm;X"
                                                   << "La base de données ROUTE est inconnue.";
    QTest::newRow("database alone") << "TXY" << "La table  est inconnue dans la base de données TXY.";
    QTest::newRow("name holding a placeholder") << "GEN;%2;+;x"
                                                << "La table %2 est inconnue dans la base de données GEN.";
}

void TestIo::rejectedRecords()
{
    QFETCH(QString, record);
    QFETCH(QString, text);
    const int before = count(Gen, "NAV");
    QVERIFY(!importText(record.toLatin1() + "\n" + navRecord("AFTER").toLatin1() + "\n"));
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().icon, CPrompt::Warning);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Erreur SQL"));
    QCOMPARE(m_prompt->last().text, text);
    // The import ended there.
    QCOMPARE(count(Gen, "NAV"), before);
}

void TestIo::stopKeepsEarlierRecordsCommitted()
{
    const int before = count(Gen, "NAV");
    const QByteArray file = navRecord("ONE").toLatin1() + "\n" + navRecord("TWO").toLatin1()
        + "\nXYZ;NAV;+;1\n" + navRecord("THREE").toLatin1() + "\n";
    QVERIFY(!importText(file));
    QCOMPARE(m_prompt->texts(), QStringList({"La base de données XYZ est inconnue."}));
    QCOMPARE(count(Gen, "NAV", "WHERE ukey IN ('ONE', 'TWO')"), 2);
    QCOMPARE(count(Gen, "NAV", "WHERE ukey = 'THREE'"), 0);
    // Committed: another connection sees them.
    QCOMPARE(committedCount(Gen, "NAV"), before + 2);
}

void TestIo::blankLinesAndOtherOperationsSkipped()
{
    const int before = count(Gen, "NAV");
    const QByteArray file = "\r\n   \n" + navRecord("BLANKS").toLatin1() + "\r\n\n\t\nGEN;NAV;*;ukey;BLANKS\n"
        + "GEN;NAV;;ukey;BLANKS\nGEN;NAV\n";
    QVERIFY(importText(file));
    QCOMPARE(count(Gen, "NAV"), before + 1);
    QCOMPARE(count(Gen, "NAV", "WHERE ukey = 'BLANKS'"), 1);
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Importation"));
}

void TestIo::shortRecords_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("error");

    QString sixteen = navRecord("SHORT");
    sixteen.truncate(sixteen.lastIndexOf(QLatin1Char(';')));
    QTest::newRow("insert with 16 of 17 values")
        << sixteen << "Ligne 2 : 16 valeurs pour la table NAV qui a 17 colonnes ; l'enregistrement n'est pas appliqué.";
    QTest::newRow("insert without values")
        << "WPT;WPT;+" << "Ligne 2 : 0 valeurs pour la table WPT qui a 16 colonnes ; l'enregistrement n'est pas appliqué.";
    QTest::newRow("deletion without value")
        << "GEN;NAV;-;ukey"
        << "Ligne 2 : l'enregistrement de suppression a 4 champs au lieu d'au moins 5 ; il n'est pas appliqué.";
    QTest::newRow("deletion without column")
        << "GEN;NAV;-"
        << "Ligne 2 : l'enregistrement de suppression a 3 champs au lieu d'au moins 5 ; il n'est pas appliqué.";
}

void TestIo::shortRecords()
{
    QFETCH(QString, record);
    QFETCH(QString, error);
    const int before = count(Gen, "NAV");
    const int waypoints = count(Wpt, "WPT");
    const QByteArray file = navRecord("BEFORE").toLatin1() + "\n" + record.toLatin1() + "\n"
        + navRecord("AFTER").toLatin1() + "\n";
    QVERIFY(!importText(file));
    // Not applied, and the import went on.
    QCOMPARE(count(Gen, "NAV"), before + 2);
    QCOMPARE(count(Wpt, "WPT"), waypoints);
    QCOMPARE(count(Gen, "NAV", "WHERE ukey = 'SHORT'"), 0);
    QCOMPARE(m_io->errors(), QStringList({error}));
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().icon, CPrompt::Warning);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Erreur SQL"));
    QCOMPARE(m_prompt->last().text, QStringLiteral("Il y a eu des erreurs à l'importation\n") + error);
}

void TestIo::hostileDeletion_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("error");

    QTest::newRow("statement in the column")
        << "GEN;NAV;-;ukey\"; DROP TABLE NAV;--;x"
        << "Ligne 1 : la colonne ukey\" est inconnue dans la table NAV ; l'enregistrement n'est pas appliqué.";
    QTest::newRow("condition in the column")
        << "GEN;NAV;-;ukey=ukey OR 1=1 --;x"
        << "Ligne 1 : la colonne ukey=ukey OR 1=1 -- est inconnue dans la table NAV ; l'enregistrement n'est pas appliqué.";
    QTest::newRow("unknown column with empty value asks nothing")
        << "GEN;NAV;-;nothing;;"
        << "Ligne 1 : la colonne nothing est inconnue dans la table NAV ; l'enregistrement n'est pas appliqué.";
    // Values are data: no row has these keys.
    QTest::newRow("quotes in the value") << "GEN;NAV;-;ukey;x\" OR \"1\"=\"1" << QString();
    QTest::newRow("value equal to a column name") << "GEN;NAV;-;ukey;ukey" << QString();
    QTest::newRow("value with apostrophe") << "GEN;NAV;-;name;x' OR '1'='1" << QString();
}

void TestIo::hostileDeletion()
{
    QFETCH(QString, record);
    QFETCH(QString, error);
    const int before = count(Gen, "NAV");
    const bool result = importText(record.toLatin1());
    QCOMPARE(count(Gen, "NAV"), before);
    QCOMPARE(result, error.isEmpty());
    QCOMPARE(m_prompt->records.size(), 1);
    if (error.isEmpty()) {
        QCOMPARE(m_prompt->last().title, QStringLiteral("Importation"));
    } else {
        QCOMPARE(m_io->errors(), QStringList({error}));
        QCOMPARE(m_prompt->last().text, QStringLiteral("Il y a eu des erreurs à l'importation\n") + error);
    }
}

void TestIo::failingStatementReported()
{
    QVERIFY(exec(Txy, "DROP TABLE Node"));
    QVERIFY(!importText("TXY;Node;+;LFPN;1;0;0;0;0;0;0;0\n" + navRecord("STILL").toLatin1()));
    QCOMPARE(m_io->errors().size(), 1);
    QVERIFY2(m_io->errors().first().startsWith("One of the query failed to execute. Error detail: "),
             qPrintable(m_io->errors().first()));
    QVERIFY(m_prompt->last().text.startsWith(
        "Il y a eu des erreurs à l'importation\nOne of the query failed to execute. Error detail: "));
    QCOMPARE(count(Gen, "NAV", "WHERE ukey = 'STILL'"), 1);
}

void TestIo::failingCommitReported_data()
{
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QStringList>("boxes");

    const QString failure = QStringLiteral("Il y a eu des erreurs à l'importation\n"
                                           "Les modifications de la base TXY.db n'ont pas pu être validées : ");
    QTest::newRow("end of file") << QByteArray() << QStringList({failure});
    QTest::newRow("stop") << QByteArray("\nXYZ;A;+") << QStringList({"La base de données XYZ est inconnue.", failure});
}

void TestIo::failingCommitReported()
{
    QFETCH(QByteArray, after);
    QFETCH(QStringList, boxes);
    // A deferred constraint fails only when the changes are committed.
    QVERIFY(exec(Txy, "DROP TABLE Node"));
    QVERIFY(exec(Txy, "CREATE TABLE Parent (id INTEGER PRIMARY KEY)"));
    QVERIFY(exec(Txy, "CREATE TABLE Node (aKey TEXT, Ident INTEGER REFERENCES Parent(id) DEFERRABLE INITIALLY DEFERRED, "
                      "Lat REAL, Lon REAL, Alt REAL, rwid INTEGER, type INTEGER, Sector INTEGER, rfu INTEGER)"));
    QVERIFY(exec(Txy, "PRAGMA foreign_keys = ON"));
    QVERIFY(!importText("TXY;Node;+;LFPN;99;0;0;0;0;0;0;0" + after));
    QCOMPARE(m_prompt->records.size(), boxes.size());
    for (int i = 0; i < boxes.size(); ++i) {
        QCOMPARE(m_prompt->records.at(i).icon, CPrompt::Warning);
        QVERIFY2(m_prompt->records.at(i).text.startsWith(boxes.at(i)), qPrintable(m_prompt->records.at(i).text));
    }
    QCOMPARE(count(Txy, "Node"), 0);
}

void TestIo::twoLightTables()
{
    const int objLights = count(Obj, "Light");
    const int txyLights = count(Txy, "Light");
    QVERIFY(importText("OBJ;Light;+;1;2;x.smf;1;255;0;3;0;0;2;0;3.5\n"
                       "TXY;Light;+;ZZZZ;1;0;255;0;0;1;0102\n"));
    QCOMPARE(count(Obj, "Light"), objLights + 1);
    QCOMPARE(count(Txy, "Light"), txyLights + 1);
    QCOMPARE(rows(Obj, "SELECT mod, dz FROM Light WHERE xk = 1 AND yk = 2"),
             Rows({{QStringLiteral("x.smf"), 3.5}}));
    QCOMPARE(rows(Txy, "SELECT vTab FROM Light WHERE aKey = 'ZZZZ'"), Rows({{QByteArray("\x01\x02", 2)}}));
}

void TestIo::hexBlobs_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");

    QTest::newRow("00 ab") << "00ab" << QByteArray("\x00\xab", 2) << true;
    QTest::newRow("upper case") << "00AB" << QByteArray("\x00\xab", 2) << true;
    QTest::newRow("empty") << "" << QByteArray() << true;
    QTest::newRow("odd length") << "0ab" << QByteArray() << false;
    QTest::newRow("not hexadecimal") << "zz" << QByteArray() << false;
}

void TestIo::hexBlobs()
{
    QFETCH(QString, hex);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    const bool result = importText("M3D;TEXTURE;+;blob.tga;1;1;" + hex.toLatin1() + "\n");
    QCOMPARE(result, valid);
    if (valid) {
        const Rows r = rows(M3d, "SELECT tex, typeof(tex), length(tex) FROM TEXTURE WHERE xname = 'blob.tga'");
        QCOMPARE(r.size(), 1);
        QCOMPARE(r.first().at(0).toByteArray(), bytes);
        QCOMPARE(r.first().at(1).toString(), QStringLiteral("blob"));
        QCOMPARE(r.first().at(2).toInt(), bytes.size());
    } else {
        QCOMPARE(count(M3d, "TEXTURE", "WHERE xname = 'blob.tga'"), 0);
        QCOMPARE(m_io->errors(),
                 QStringList({"Ligne 1 : la valeur de la colonne tex de la table TEXTURE n'est pas un texte "
                              "hexadécimal ; l'enregistrement n'est pas appliqué."}));
    }
}

void TestIo::osmList()
{
    QCOMPARE(QSqlDatabase::contains(Osm), false);
    const QString path = writeFile("osm.CSV", "OSM\nOSM.db\n24564411\n\nw153306871\r\nn2208815560\n");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(m_io->importDB(&file, m_config.get()));
    QCOMPARE(m_config->osmName, Osm);
    QCOMPARE(count(Osm, "OSM_OBJ"), 7);
    QCOMPARE(count(Osm, "OSM_OBJ", "WHERE Ident IN ('24564411', 'w153306871', 'n2208815560')"), 0);
    QCOMPARE(committedCount(Osm, "OSM_OBJ"), 7);
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Importation"));
    QCOMPARE(m_prompt->last().text, QStringLiteral("Importation terminée\n %1").arg(path));
}

void TestIo::osmListRejectsNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("text");

    const QString invalid = QStringLiteral("Le nom %1 n'est pas celui d'une base de données du dossier OSM.");
    QTest::newRow("parent folder") << QByteArray("../OSM.db") << invalid.arg("../OSM.db");
    QTest::newRow("dot dot alone") << QByteArray("..") << invalid.arg("..");
    QTest::newRow("sub-folder") << QByteArray("sub/OSM.db") << invalid.arg("sub/OSM.db");
    QTest::newRow("backslash") << QByteArray("..\\OSM.db") << invalid.arg("..\\OSM.db");
    QTest::newRow("drive") << QByteArray("C:OSM.db") << invalid.arg("C:OSM.db");
    QTest::newRow("missing line") << QByteArray() << invalid.arg(QString());
    QTest::newRow("absent file") << QByteArray("NONE.db")
                                 << QStringLiteral("La base de données NONE.db est introuvable dans %1.");
}

void TestIo::osmListRejectsNames()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, text);
    if (text.contains("%1"))
        text = text.arg(sqlDir());
    const QByteArray content = name.isNull() ? QByteArray("OSM") : "OSM\n" + name + "\n24564411\n";
    QVERIFY(!importText(content));
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().icon, CPrompt::Warning);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Erreur SQL"));
    QCOMPARE(m_prompt->last().text, text);
    // Nothing opened, nothing created.
    QVERIFY(m_config->osmName.isEmpty());
    QVERIFY(!QSqlDatabase::contains(QString::fromLatin1(name)));
    QVERIFY(!QFileInfo::exists(QDir(sqlDir()).filePath("NONE.db")));
}

void TestIo::twoFilesTwoSummaries()
{
    const QString first = writeFile("first.CSV", navRecord("F1").toLatin1());
    const QString second = writeFile("second.CSV", "WPT;WPT;+;1;ZZ;ZZFR;ZZ;FR;;78;1;4;0;0;0;0;0;0;");
    m_io->importFiles({first, filePath("missing.CSV"), second}, m_config.get());
    QCOMPARE(m_prompt->texts(), QStringList({QStringLiteral("Importation terminée\n %1").arg(first),
                                             QStringLiteral("Importation terminée\n %1").arg(second)}));
    QCOMPARE(count(Gen, "NAV", "WHERE ukey = 'F1'"), 1);
    QCOMPARE(count(Wpt, "WPT", "WHERE ukey = 'ZZFR' AND iden = 'ZZ'"), 1);
}

void TestIo::importChooser()
{
    const QString first = writeFile("a.CSV", navRecord("A1").toLatin1());
    const QString second = writeFile("b.CSV", navRecord("B1").toLatin1());
    m_prompt->answers << first + "\n" + second;
    m_io->on_actImport_triggered(m_config.get());
    QCOMPARE(m_prompt->records.size(), 3);
    const ScriptedPrompt::Record &chooser = m_prompt->records.first();
    QCOMPARE(chooser.kind, QStringLiteral("openFiles"));
    QCOMPARE(chooser.title, QStringLiteral("Ouvrir un fichier d'import"));
    QCOMPARE(chooser.dir, QString());
    QCOMPARE(chooser.filter, QStringLiteral("Fichier Corvane Export (*.CSV);;Tous (*.*)"));
    QCOMPARE(m_prompt->records.at(1).text, QStringLiteral("Importation terminée\n %1").arg(first));
    QCOMPARE(m_prompt->records.at(2).text, QStringLiteral("Importation terminée\n %1").arg(second));

    // Cancelled chooser: nothing more.
    m_prompt->records.clear();
    m_io->on_actImport_triggered(m_config.get());
    QCOMPARE(m_prompt->records.size(), 1);
}

void TestIo::importProgressCancel()
{
    FakeProgress progress;
    progress.cancelAt = 3;
    m_io->setProgress(&progress);
    m_io->setProgressThreshold(2);
    QByteArray file;
    for (int i = 1; i <= 6; ++i)
        file += navRecord(QStringLiteral("P%1").arg(i)).toLatin1() + "\n";
    const QString path = filePath("update.CSV");
    QVERIFY(!importText(file));
    QCOMPARE(progress.begun, 1);
    QCOMPARE(progress.total, 6);
    QCOMPARE(progress.label, QStringLiteral("Importation de %1").arg(path));
    QCOMPARE(progress.values, QList<qint64>({0, 1, 2, 3}));
    QCOMPARE(progress.ended, 1);
    QCOMPARE(count(Gen, "NAV", "WHERE ukey LIKE 'P_'"), 3);
    QCOMPARE(count(Gen, "NAV", "WHERE ukey IN ('P1', 'P2', 'P3')"), 3);
    QCOMPARE(m_prompt->texts(), QStringList({"L'import a été annulé."}));
}

void TestIo::importProgressOnlyForLargeFiles()
{
    FakeProgress progress;
    m_io->setProgress(&progress);
    m_io->setProgressThreshold(3);
    QVERIFY(importText(navRecord("S1").toLatin1() + "\n" + navRecord("S2").toLatin1() + "\n" + navRecord("S3").toLatin1()));
    QCOMPARE(progress.begun, 0);
    QVERIFY(importText(navRecord("S1").toLatin1() + "\n" + navRecord("S2").toLatin1() + "\n" + navRecord("S3").toLatin1()
                       + "\n" + navRecord("S4").toLatin1() + "\n"));
    QCOMPARE(progress.begun, 1);
    QCOMPARE(progress.total, 4);
    QCOMPARE(progress.values.last(), 4);
    QCOMPARE(progress.ended, 1);
}

// --- exports ---

void TestIo::navExactLines()
{
    QVERIFY(exec(Gen, "DELETE FROM NAV"));
    QVERIFY(exec(Gen, "INSERT INTO NAV VALUES(1, 'K1', 'ID1', 'NAME ONE', 117.05, 0.5, 0.0, 'FR', '', 17, 0, 3, "
                      "176400.5, 8000.0, 300, 0.0, 130.0)"));
    QVERIFY(exec(Gen, "INSERT INTO NAV VALUES(2, 'K2', 'ID2', 'Château d''eau', 356.0, 0, 0, 'FR', '', 8, 0, 4, "
                      "-1.25, 1296000.0, 0, 0, 25)"));
    QVERIFY(exec(Gen, "INSERT INTO NAV VALUES(3, 'K3', 'ID3', '', 0, 0, 0, '', '', 0, 0, 0, 0, 0, 0, 0, 0)"));
    const QString path = filePath("nav.CSV");
    QVERIFY(m_io->exportNAV(Gen, path));
    QCOMPARE(fileLines(path),
             QStringList({"GEN;NAV;-;ukey;;",
                          "GEN;NAV;+;1;K1;ID1;NAME ONE;117.05;0.5;0;FR;;17;0;3;176400.5;8000;300;0;130;",
                          QStringLiteral("GEN;NAV;+;2;K2;ID2;Château d'eau;356;0;0;FR;;8;0;4;-1.25;1296000;0;0;25;"),
                          "GEN;NAV;+;3;K3;ID3;;0;0;0;;;0;0;0;0;0;0;0;0;"}));
    // Latin-1 on disk, each line ended.
    QVERIFY(readFile(path).contains("Ch\xe2teau"));
    QVERIFY(readFile(path).endsWith("0;\n"));
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().icon, CPrompt::Information);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Exportation"));
    QCOMPARE(m_prompt->last().text, QStringLiteral("3 NAVAID ont été exportés dans %1").arg(path));
}

void TestIo::exportEmptyTable()
{
    QVERIFY(exec(Wpt, "DELETE FROM WPT"));
    const QString path = filePath("wpt.CSV");
    QVERIFY(!m_io->exportWPT(Wpt, path));
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(m_prompt->records.isEmpty());

    writeFile("wpt.CSV", "keep");
    QVERIFY(!m_io->exportWPT(Wpt, path));
    QCOMPARE(readFile(path), QByteArray("keep"));
    QVERIFY(m_prompt->records.isEmpty());
}

void TestIo::exportOverwriteQuestion_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("answer");

    for (const char *which : {"NAV", "WPT", "OBJ", "3D"}) {
        QTest::addRow("%s no keeps the file", which) << which << CPrompt::No;
        QTest::addRow("%s closed keeps the file", which) << which << QString();
        QTest::addRow("%s yes replaces it", which) << which << CPrompt::Yes;
    }
}

void TestIo::exportOverwriteQuestion()
{
    QFETCH(QString, which);
    QFETCH(QString, answer);
    const QString path = writeFile("existing.CSV", "old content\n");
    m_prompt->answers << answer << CPrompt::Yes;
    bool result = false;
    if (which == "NAV")
        result = m_io->exportNAV(Gen, path);
    else if (which == "WPT")
        result = m_io->exportWPT(Wpt, path);
    else if (which == "OBJ")
        result = m_io->exportOBJ(Obj, QDir(m_dir->path()), "DEMO", path);
    else
        result = m_io->export3DObject(M3d, "house.smf", path);

    const ScriptedPrompt::Record &question = m_prompt->records.first();
    QCOMPARE(question.icon, CPrompt::Question);
    QCOMPARE(question.title, QStringLiteral("Attention"));
    QCOMPARE(question.text, QStringLiteral("Le fichier %1 existe déja.\nVoulez vous l'écraser ?").arg(path));
    QCOMPARE(question.buttons, QStringList({CPrompt::Yes, CPrompt::No}));
    QCOMPARE(question.defaultButton, CPrompt::No);
    QCOMPARE(result, answer == CPrompt::Yes);
    if (answer == CPrompt::Yes) {
        QVERIFY(readFile(path).startsWith(which == "NAV"   ? "GEN;NAV;-;ukey;;\n"
                                          : which == "WPT" ? "WPT;WPT;-;ukey;;\n"
                                          : which == "OBJ" ? "OBJ;FNM;-;scene;DEMO;\n"
                                                           : "M3D;MOD;+;house.smf;"));
    } else {
        QCOMPARE(m_prompt->records.size(), 1);
        QCOMPARE(readFile(path), QByteArray("old content\n"));
    }
}

void TestIo::exportOpenFailure_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("text");

    QTest::newRow("NAV") << "NAV" << "exportNAV: Impossible d'ouvrir le fichier %1";
    QTest::newRow("WPT") << "WPT" << "exportWPT: Impossible d'ouvrir le fichier %1";
    QTest::newRow("OBJ") << "OBJ" << "exportOBJ: Impossible d'ouvrir le fichier %1";
    QTest::newRow("3D") << "3D" << "export3DObject: Impossible d'ouvrir le fichier %1";
}

void TestIo::exportOpenFailure()
{
    QFETCH(QString, which);
    QFETCH(QString, text);
    const QString path = filePath("no such folder/out.CSV");
    m_prompt->answers << CPrompt::Yes;
    bool result = true;
    if (which == "NAV")
        result = m_io->exportNAV(Gen, path);
    else if (which == "WPT")
        result = m_io->exportWPT(Wpt, path);
    else if (which == "OBJ")
        result = m_io->exportOBJ(Obj, QDir(m_dir->path()), "DEMO", path);
    else
        result = m_io->export3DObject(M3d, "house.smf", path);
    QVERIFY(!result);
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().icon, CPrompt::Warning);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Erreur CSV"));
    QCOMPARE(m_prompt->last().text, text.arg(path));
    QVERIFY(!QFileInfo::exists(path));
}

void TestIo::exportSkipsUnrepresentableRows()
{
    QVERIFY(exec(Gen, "UPDATE NAV SET name = 'A;B' WHERE ukey = 'BE2BBE1'"));
    QVERIFY(exec(Gen, "UPDATE NAV SET name = 'line' || char(10) || 'break' WHERE ukey = 'BE2BBL1'"));
    const int total = count(Gen, "NAV");
    const QString path = filePath("nav.CSV");
    QVERIFY(m_io->exportNAV(Gen, path));
    const QStringList lines = fileLines(path);
    QCOMPARE(lines.size(), total - 2 + 1);
    for (const QString &line : lines) {
        QVERIFY(!line.contains("BE2BBE1"));
        QVERIFY(!line.contains("BE2BBL1"));
        QVERIFY(line == "GEN;NAV;-;ukey;;" || line.split(';').size() == 21);
    }
    QCOMPARE(m_prompt->last().text,
             QStringLiteral("%1 NAVAID ont été exportés dans %2\n2 ligne(s) non exportée(s) : une valeur contient "
                            "« ; », un saut de ligne ou un caractère hors Latin-1 (BE2BBE1, BE2BBL1).")
                 .arg(total - 2)
                 .arg(path));

    // The file still imports cleanly.
    m_prompt->records.clear();
    m_prompt->answers << CPrompt::Ok;
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(m_io->importDB(&file, m_config.get()));
    QCOMPARE(count(Gen, "NAV"), total - 2);
}

void TestIo::roundTripNavAndWpt_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("NAV") << "NAV";
    QTest::newRow("WPT") << "WPT";
}

void TestIo::roundTripNavAndWpt()
{
    QFETCH(QString, which);
    const QString connection = which == "NAV" ? Gen : Wpt;
    const QString select = QStringLiteral("SELECT *, typeof(tile), typeof(%1lat) FROM %2 ORDER BY ukey")
                               .arg(which == "NAV" ? "n" : "w", which);
    const Rows original = rows(connection, select);
    QVERIFY(original.size() > 700);

    const QString path = filePath("table.CSV");
    QVERIFY(which == "NAV" ? m_io->exportNAV(Gen, path) : m_io->exportWPT(Wpt, path));
    QCOMPARE(fileLines(path).size(), original.size() + 1);
    QCOMPARE(m_prompt->last().text, QStringLiteral("%1 %2 ont été exportés dans %3")
                                        .arg(original.size())
                                        .arg(which == "NAV" ? "NAVAID" : "WAYPOINT", path));

    // Spoil the table, then import the export.
    QVERIFY(exec(connection, QStringLiteral("DELETE FROM %1 WHERE rowid % 3 = 0").arg(which)));
    QVERIFY(exec(connection, QStringLiteral("UPDATE %1 SET name = 'SPOILT', tile = 0").arg(which)));
    QVERIFY(exec(connection, QStringLiteral("INSERT INTO %1 (ukey) VALUES ('STRAY')").arg(which)));
    m_prompt->records.clear();
    m_prompt->answers << CPrompt::Ok;
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(m_io->importDB(&file, m_config.get()));
    QCOMPARE(m_prompt->records.first().text,
             QStringLiteral("Vous allez effacer la totalité des données de la table %1.\nVoulez vous continuer ?")
                 .arg(which));
    QCOMPARE(rows(connection, select), original);
}

void TestIo::exportObjLines_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("lines");

    const QStringList objects = {
        QStringLiteral("OBJ;OBJ;+;1359;1;758775;17550428;1;0;15979;0;7587.754;175504.282;0;0;15;house.smf;0;0;0;0;"
                       "Maison 1;Objet de démonstration près de LFPN;101;"),
        QStringLiteral("OBJ;OBJ;+;1359;1;758923;17550428;1;0;15979;0;7589.228;175504.282;0;0;15;house.smf;0;0;0;0;"
                       "Maison 2;Objet de démonstration près de LFPN;101;"),
        QStringLiteral("OBJ;OBJ;+;1359;1;759070;17550380;1;0;15979;0;7590.702;175503.796;0;0;105;house.smf;0;0;0;0;"
                       "Maison 3;Objet de démonstration près de LFPN;101;"),
        QStringLiteral("OBJ;OBJ;+;1359;1;759218;17550380;1;0;15979;0;7592.176;175503.796;0;0;105;houseN.smf;0;0;0;0;"
                       "Maison 4 (nuit);Objet de démonstration près de LFPN;101;"),
    };
    const QStringList projects = {"OBJ;FNM;+;1;DEMO\\scene101.obj;DEMO;101;", "OBJ;FNM;+;2;DEMO\\scene102.obj;DEMO;102;"};
    QTest::newRow("yes writes deletion records")
        << CPrompt::Yes << QStringList({"OBJ;FNM;-;scene;DEMO;"}) + projects + QStringList({"OBJ;OBJ;-;scn;101;"}) + objects;
    QTest::newRow("no writes only insertions") << CPrompt::No << projects + objects;
}

void TestIo::exportObjLines()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, lines);
    const QString path = filePath("demo.CSV");
    QDir projects(filePath("projects"));
    QVERIFY(QDir().mkpath(projects.path()));
    m_prompt->answers << answer;
    QVERIFY(m_io->exportOBJ(Obj, projects, "DEMO", path));
    QCOMPARE(fileLines(path), lines);
    QVERIFY(QFileInfo(projects.filePath("DEMO")).isDir());

    QCOMPARE(m_prompt->records.size(), 2);
    const ScriptedPrompt::Record &question = m_prompt->records.first();
    QCOMPARE(question.icon, CPrompt::Question);
    QCOMPARE(question.title, QStringLiteral("Suppression des données"));
    QCOMPARE(question.text, QStringLiteral("Voulez vous supprimer toutes les données existantes (conseillé) ?\n"));
    QCOMPARE(question.buttons, QStringList({CPrompt::Yes, CPrompt::No}));
    QCOMPARE(question.defaultButton, CPrompt::No);
    QCOMPARE(m_prompt->last().icon, CPrompt::Information);
    QCOMPARE(m_prompt->last().title, QString());
    QCOMPARE(m_prompt->last().text, QStringLiteral("Le projet 3D DEMO a été enregistré dans %1").arg(path));
}

void TestIo::exportObjUnknownProject()
{
    const QString path = filePath("none.CSV");
    QVERIFY(!m_io->exportOBJ(Obj, QDir(m_dir->path()), "NOPE", path));
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().icon, CPrompt::Warning);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Erreur SQL"));
    QCOMPARE(m_prompt->last().text, QStringLiteral("Impossible de trouver le projet NOPE dans la base de donnée OBJ.db"));
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!QFileInfo::exists(filePath("NOPE")));
}

void TestIo::exportObjProjectOutsideFolder_data()
{
    QTest::addColumn<QString>("project");
    QTest::newRow("parent folder") << "../x";
    QTest::newRow("parent itself") << "..";
    QTest::newRow("sub-folder") << "a/b";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("drive") << "C:x";
}

// A project of that name exists; its folder would not be in the chosen one.
void TestIo::exportObjProjectOutsideFolder()
{
    QFETCH(QString, project);
    QSqlQuery insert(QSqlDatabase::database(Obj));
    QVERIFY(insert.prepare("INSERT INTO FNM VALUES (90, 'x.obj', ?, 101)"));
    insert.addBindValue(project);
    QVERIFY(insert.exec());
    const QString chosen = filePath("projects/chosen");
    QVERIFY(QDir().mkpath(chosen));
    const QString path = filePath("project.CSV");
    m_prompt->answers << CPrompt::Yes;
    QVERIFY(!m_io->exportOBJ(Obj, QDir(chosen), project, path));
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().icon, CPrompt::Warning);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Erreur CSV"));
    QCOMPARE(m_prompt->last().text,
             QStringLiteral("exportOBJ: le nom de projet %1 ne peut pas servir de nom de dossier : il ne doit contenir "
                            "ni séparateur de chemin (« / », « \\ ») ni caractère interdit dans un nom de fichier "
                            "(: * ? \" < > |), et ne peut pas être « . » ou « .. ».")
                 .arg(project));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(QDir(filePath("projects")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"chosen"});
    QVERIFY(QDir(chosen).isEmpty());
    QVERIFY(!QFileInfo::exists(filePath("x")));
}

void TestIo::roundTripObj()
{
    const QString fnmSelect = QStringLiteral("SELECT * FROM FNM ORDER BY key");
    const QString objSelect = QStringLiteral("SELECT *, typeof(lon) FROM OBJ ORDER BY scn, xk, yk");
    const Rows fnm = rows(Obj, fnmSelect);
    const Rows objects = rows(Obj, objSelect);
    QCOMPARE(objects.size(), 6);

    const QString path = filePath("demo.CSV");
    m_prompt->answers << CPrompt::Yes;
    QVERIFY(m_io->exportOBJ(Obj, QDir(m_dir->path()), "DEMO", path));

    QVERIFY(exec(Obj, "DELETE FROM OBJ WHERE name = 'Maison 2'"));
    QVERIFY(exec(Obj, "UPDATE OBJ SET desc = 'changed' WHERE scn = 101"));
    QVERIFY(exec(Obj, "INSERT INTO OBJ (name, scn) VALUES ('stray', 101)"));
    QVERIFY(exec(Obj, "UPDATE FNM SET file = 'x' WHERE scene = 'DEMO'"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_prompt->records.clear();
    QVERIFY(m_io->importDB(&file, m_config.get()));
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(rows(Obj, fnmSelect), fnm);
    QCOMPARE(rows(Obj, objSelect), objects);
}

void TestIo::export3DLines()
{
    const QString path = filePath("house.CSV");
    QVERIFY(m_io->export3DObject(M3d, "house.smf", path));
    const QStringList lines = fileLines(path);
    QCOMPARE(lines.size(), 5);
    const QStringList prefixes = {"M3D;MOD;+;house.smf;1;0;house.tga;29.5;0;0;10;42;",
                                  "M3D;MOD;+;house.smf;1;0;house.tga;19.7;0;1;8;30;",
                                  "M3D;TEXTURE;+;house.tga;4;4;",
                                  "M3D;MOD;+;houseN.smf;1;0;houseN.tga;29.5;0;0;10;42;",
                                  "M3D;TEXTURE;+;houseN.tga;4;4;"};
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(lines.at(i).startsWith(prefixes.at(i)), qPrintable(lines.at(i)));
    // Blobs in lower-case hexadecimal, no trailing separator.
    const Rows blobs = rows(M3d, "SELECT vtab, ntab, ttab, xtab FROM MOD WHERE name = 'house.smf' AND lod = 0");
    QStringList hex;
    for (const QVariant &blob : blobs.first())
        hex << QString::fromLatin1(blob.toByteArray().toHex());
    QVERIFY(lines.first().endsWith(";" + hex.join(';')));
    QCOMPARE(lines.first().split(';').size(), 3 + 13);
    QCOMPARE(lines.at(2).split(';').size(), 3 + 4);
    QCOMPARE(lines.at(2).split(';').last(),
             QString::fromLatin1(rows(M3d, "SELECT tex FROM TEXTURE WHERE xname = 'house.tga'")
                                     .first().first().toByteArray().toHex()));

    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().icon, CPrompt::Information);
    QCOMPARE(m_prompt->last().title, QString());
    QCOMPARE(m_prompt->last().text, QStringLiteral("L'objet 3D house.smf a été enregistré dans %1").arg(path));

    // A blob of 0x00 0xAB is written as 00ab.
    QVERIFY(exec(M3d, "UPDATE TEXTURE SET tex = X'00AB' WHERE xname = 'house.tga'"));
    m_prompt->answers << CPrompt::Yes;   // replace the first export
    QVERIFY(m_io->export3DObject(M3d, "house.smf", path));
    QCOMPARE(fileLines(path).at(2), QStringLiteral("M3D;TEXTURE;+;house.tga;4;4;00ab"));
}

void TestIo::export3DWithoutNight()
{
    const QString path = filePath("night.CSV");
    QVERIFY(m_io->export3DObject(M3d, "houseN.smf", path));
    const QStringList lines = fileLines(path);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith("M3D;MOD;+;houseN.smf;1;0;houseN.tga;29.5;0;0;10;42;"));
    QVERIFY(lines.at(1).startsWith("M3D;TEXTURE;+;houseN.tga;4;4;"));
}

void TestIo::export3DUnknownModel()
{
    const QString path = filePath("none.CSV");
    QVERIFY(!m_io->export3DObject(M3d, "nope.smf", path));
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->last().icon, CPrompt::Warning);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Erreur SQL"));
    QCOMPARE(m_prompt->last().text, QStringLiteral("Impossible de trouver l'objet nope.smf dans la base de donnée M3D.db"));
    QVERIFY(!QFileInfo::exists(path));
}

void TestIo::roundTrip3D()
{
    const QString modSelect = QStringLiteral("SELECT *, typeof(tsp), typeof(ftop), typeof(vtab) FROM MOD ORDER BY name, lod");
    const QString texSelect = QStringLiteral("SELECT *, typeof(tex) FROM TEXTURE ORDER BY xname");
    const Rows models = rows(M3d, modSelect);
    const Rows textures = rows(M3d, texSelect);
    QCOMPARE(models.size(), 3);
    QCOMPARE(textures.size(), 2);

    const QString path = filePath("house.CSV");
    QVERIFY(m_io->export3DObject(M3d, "house.smf", path));
    QVERIFY(exec(M3d, "DELETE FROM MOD"));
    QVERIFY(exec(M3d, "DELETE FROM TEXTURE"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(m_io->importDB(&file, m_config.get()));
    QCOMPARE(rows(M3d, modSelect), models);
    QCOMPARE(rows(M3d, texSelect), textures);
}

void TestIo::exportProgressCancel()
{
    FakeProgress progress;
    progress.cancelAt = 100;
    m_io->setProgress(&progress);
    m_io->setProgressThreshold(10);
    const QString path = filePath("wpt.CSV");
    QVERIFY(!m_io->exportWPT(Wpt, path));
    QCOMPARE(progress.begun, 1);
    QCOMPARE(progress.total, count(Wpt, "WPT"));
    QCOMPARE(progress.label, QStringLiteral("Exportation dans %1").arg(path));
    QCOMPARE(progress.values.last(), 100);
    QCOMPARE(progress.ended, 1);
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(m_prompt->texts(), QStringList({"L'export a été annulé."}));

    // Below the threshold nothing is reported.
    FakeProgress quiet;
    m_io->setProgress(&quiet);
    m_io->setProgressThreshold(CIODataBase::DefaultProgressThreshold);
    QVERIFY(m_io->exportNAV(Gen, path));
    QCOMPARE(quiet.begun, 0);
}

void TestIo::writeFailsPartWay_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("operation");   // named in the box; empty: the caller reports

    QTest::newRow("navaid table") << "NAV" << "exportNAV";
    QTest::newRow("waypoint table") << "WPT" << "exportWPT";
    QTest::newRow("scenery project") << "OBJ" << "exportOBJ";
    QTest::newRow("3D object") << "3D" << "export3DObject";
    QTest::newRow("editor's update file") << "editor" << "";
    QTest::newRow("deletion's update file") << "deletion" << "";
}

// The system refuses the last byte of the file (as a full disk would): the
// earlier file stays whole, no partial or temporary file is left, and the
// failure is reported, never a success.
void TestIo::writeFailsPartWay()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file size limit");
#endif
    QFETCH(QString, which);
    QFETCH(QString, operation);
    const QString folder = filePath("out");
    QVERIFY(QDir().mkpath(folder));
    const auto run = [&](const QString &path, QString *error) {
        m_prompt->answers = {CPrompt::Yes, CPrompt::Yes};   // overwrite, then clear the project's rows
        if (which == "NAV")
            return m_io->exportNAV(Gen, path);
        if (which == "WPT")
            return m_io->exportWPT(Wpt, path);
        if (which == "OBJ")
            return m_io->exportOBJ(Obj, QDir(m_dir->path()), "DEMO", path);
        if (which == "3D")
            return m_io->export3DObject(M3d, "house.smf", path);
        return UpdateFile::write(path, which == "editor" ? navRecord("FR1PGS1") : QStringLiteral("GEN;NAV;-;ukey;FR1PGS1"),
                                 error);
    };

    QString error;
    const QString whole = folder + "/whole.CSV";
    QVERIFY(run(whole, &error));
    const qint64 size = QFileInfo(whole).size();
    QVERIFY(size > 16);
    QVERIFY(QFile::remove(whole));

    const QString path = writeFile("out/target.CSV", "old\n");
    m_prompt->records.clear();
    bool written = true;
    {
        FileSizeLimit limit(size - 1);
        QVERIFY(limit.active());
        written = run(path, &error);
    }
    QVERIFY(!written);
    QCOMPARE(readFile(path), QByteArray("old\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"target.CSV"});
    if (operation.isEmpty()) {
        QVERIFY(!error.isEmpty());
        return;
    }
    for (const ScriptedPrompt::Record &r : std::as_const(m_prompt->records))
        QVERIFY2(r.icon != CPrompt::Information, qPrintable(r.text));
    QCOMPARE(m_prompt->last().icon, CPrompt::Warning);
    QCOMPARE(m_prompt->last().title, QStringLiteral("Erreur CSV"));
    const QString head = QStringLiteral("%1: Impossible d'écrire le fichier %2\n").arg(operation, path);
    QVERIFY2(m_prompt->last().text.startsWith(head), qPrintable(m_prompt->last().text));
    QVERIFY(m_prompt->last().text.size() > head.size());
}

// --- the menu ---

void TestIo::exportMenu()
{
    QMainWindow window;
    window.menuBar()->addMenu("Fichier");
    window.menuBar()->addMenu("A propos");
    QMenu *menu = ExportMenu::install(&window, m_config.get());
    QCOMPARE(menu->objectName(), QStringLiteral("menuExport"));
    QCOMPARE(menu->title(), QStringLiteral("Export"));
    const QList<QAction *> bar = window.menuBar()->actions();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar.at(1), menu->menuAction());
    QStringList texts;
    QStringList names;
    for (QAction *action : menu->actions()) {
        texts << action->text();
        names << action->objectName();
    }
    QCOMPARE(texts, QStringList({"Exporter tous les navaids", "Exporter tous les waypoints",
                                 QStringLiteral("Exporter un projet de scène"), "Exporter un objet 3D"}));
    QCOMPARE(names, QStringList({"actExportNAV", "actExportWPT", "actExportOBJ", "actExport3D"}));
}

void TestIo::exportMenuActions()
{
    QMainWindow window;
    QMenu *menu = ExportMenu::install(&window, m_config.get());
    const auto action = [menu](const char *name) { return menu->findChild<QAction *>(name); };
    const QString filter = QStringLiteral("Fichier Corvane Export (*.CSV)");

    // Navaids: the target file, then the report.
    const QString nav = filePath("nav.CSV");
    m_prompt->answers << nav;
    action("actExportNAV")->trigger();
    QCOMPARE(m_prompt->records.at(0).kind, QStringLiteral("saveFile"));
    QCOMPARE(m_prompt->records.at(0).title, QStringLiteral("Exporter tous les navaids"));
    QCOMPARE(m_prompt->records.at(0).filter, filter);
    QCOMPARE(m_prompt->records.at(1).text,
             QStringLiteral("%1 NAVAID ont été exportés dans %2").arg(count(Gen, "NAV")).arg(nav));

    // Waypoints; a cancelled chooser writes nothing.
    m_prompt->records.clear();
    action("actExportWPT")->trigger();
    QCOMPARE(m_prompt->records.size(), 1);
    QCOMPARE(m_prompt->records.at(0).title, QStringLiteral("Exporter tous les waypoints"));
    const QString wpt = filePath("wpt.CSV");
    m_prompt->answers << wpt;
    action("actExportWPT")->trigger();
    QCOMPARE(fileLines(wpt).size(), count(Wpt, "WPT") + 1);

    // Scenery project: name, folder, file, deletion question, report.
    m_prompt->records.clear();
    const QString obj = filePath("demo.CSV");
    m_prompt->answers << "DEMO" << m_dir->path() << obj << CPrompt::No;
    action("actExportOBJ")->trigger();
    QStringList kinds;
    for (const ScriptedPrompt::Record &r : std::as_const(m_prompt->records))
        kinds << r.kind;
    QCOMPARE(kinds, QStringList({"text", "directory", "saveFile", "message", "message"}));
    QCOMPARE(m_prompt->records.at(0).title, QStringLiteral("Exporter un projet de scène"));
    QCOMPARE(m_prompt->records.at(0).text, QStringLiteral("Nom du projet :"));
    QCOMPARE(m_prompt->records.at(2).filter, filter);
    QCOMPARE(m_prompt->last().text, QStringLiteral("Le projet 3D DEMO a été enregistré dans %1").arg(obj));
    QCOMPARE(fileLines(obj).size(), 6);
    QVERIFY(QFileInfo(filePath("DEMO")).isDir());

    // 3D object: name, file, report.
    m_prompt->records.clear();
    const QString model = filePath("house.CSV");
    m_prompt->answers << "house.smf" << model;
    action("actExport3D")->trigger();
    QCOMPARE(m_prompt->records.size(), 3);
    QCOMPARE(m_prompt->records.at(0).kind, QStringLiteral("text"));
    QCOMPARE(m_prompt->records.at(0).title, QStringLiteral("Exporter un objet 3D"));
    QCOMPARE(m_prompt->records.at(0).text, QStringLiteral("Nom de l'objet 3D :"));
    QCOMPARE(m_prompt->records.at(1).kind, QStringLiteral("saveFile"));
    QCOMPARE(m_prompt->last().text, QStringLiteral("L'objet 3D house.smf a été enregistré dans %1").arg(model));
    QCOMPARE(fileLines(model).size(), 5);
}

void TestIo::windowImportAction()
{
    // The main window's import action, on a demo tree of its own.
    cleanup();
    WindowFixture fixture;
    QVERIFY(fixture.prepareDemo());
    MainWindow *window = fixture.start(false);
    QVERIFY(window);
    fixture.prompt.records.clear();
    const QString path = fixture.sim.path("Data/window.CSV");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(navRecord("WINDOW1").toLatin1());
    }
    fixture.prompt.answers << path;
    fixture.ui()->actImport->trigger();
    QCOMPARE(fixture.prompt.records.size(), 2);
    QCOMPARE(fixture.prompt.records.at(0).title, QStringLiteral("Ouvrir un fichier d'import"));
    QCOMPARE(fixture.prompt.records.at(1).text, QStringLiteral("Importation terminée\n %1").arg(path));
    QSqlQuery query(QSqlDatabase::database(Gen));
    QVERIFY(query.exec("SELECT COUNT(*) FROM NAV WHERE ukey = 'WINDOW1'") && query.next());
    QCOMPARE(query.value(0).toInt(), 1);
    query.finish();
    fixture.stop();
}

QTEST_MAIN(TestIo)
#include "tst_io.moc"
