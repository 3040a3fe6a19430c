// Update files: import of records into the simulator databases, exports of
// whole tables, scenery projects and 3D objects, and the Export menu.

#include "data/globalvar.h"
#include "data/sqlmgr.h"
#include "editors/updatefile.h"
#include "io/exportmenu.h"
#include "io/iodatabase.h"
#include "io/ioprogress.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

const QString Gen = QStringLiteral("GEN.db");
const QString Wpt = QStringLiteral("WPT.db");
const QString M3d = QStringLiteral("M3D.db");
const QString Obj = QStringLiteral("OBJ.db");
const QString Txy = QStringLiteral("TXY.db");
const QString Osm = QStringLiteral("OSM.db");
const QString Done = QStringLiteral("Importation terminée\n %1");
const QString Errors = QStringLiteral("Il y a eu des erreurs à l'importation\n");
const QString Cancelled = QStringLiteral("L'import a été annulé.");

// A NAV record with 17 values whose key the test chooses.
QByteArray nav(const char *key)
{
    return QByteArray("GEN;NAV;+;1;") + key + ";TST;TEST VOR;117.05;0.5;0;FR;;17;0;3;176400.5;8000;300;0;130";
}

// Records the progress reports; asks to stop when `done` reaches cancelAt.
struct FakeProgress : CIOProgress {
    QString label;
    QList<qint64> values;
    qint64 cancelAt = -1;
    int ended = 0;
    void begin(const QString &l, qint64) override { label = l; }
    bool advance(qint64 done) override { values << done; return done != cancelAt; }
    void end() override { ++ended; }
};

} // namespace

class TestIo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(m_master.buildDemo(), qPrintable(m_master.lastError())); }
    void init();
    void cleanup();

    void importRecords_data();
    void importRecords();
    void importCancel();

    void exportExact_data();
    void exportExact();
    void roundTrip();
    void writers_data();
    void writers();
    void exportMenu();

private:
    QString sqlDir() const { return m_dir->filePath(QStringLiteral("SQL")); }
    QString filePath(const QString &name) const { return m_dir->filePath(name); }
    QString writeFile(const QString &name, const QByteArray &content) const;
    QByteArray readFile(const QString &path) const { QFile f(path); return f.open(QFile::ReadOnly) ? f.readAll() : ""; }
    bool importFile(const QString &path) { QFile f(path); return f.open(QFile::ReadOnly) && m_io->importDB(&f, m_config.get()); }
    // The table, project (DEMO when empty) or 3D object (house.smf when empty)
    // exported; a project goes to the folder projects/chosen.
    bool exportAs(const QString &which, const QString &path, const QString &name = {});
    bool exec(const QString &db, const QString &sql) const { return QSqlQuery(QSqlDatabase::database(db)).exec(sql); }
    // Rows as "a|b" lines, read through a connection of its own: only
    // committed changes.
    QString committed(const QString &file, const QString &sql) const;

    SimFixture m_master;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    std::unique_ptr<CGlobalVar> m_config;
    CIODataBase *m_io = nullptr;
};

void TestIo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("SQL")) && QDir(m_dir->path()).mkpath("projects/chosen"));
    for (const QString &db : {Gen, Wpt, M3d, Obj, Txy, Osm})
        QVERIFY(QFile::copy(QDir(m_master.sqlDir()).filePath(db), QDir(sqlDir()).filePath(db)));
    m_prompt = std::make_unique<ScriptedPrompt>();
    m_config = std::make_unique<CGlobalVar>();
    for (const auto &[name, file] : {std::pair(&CGlobalVar::genName, Gen), {&CGlobalVar::wptName, Wpt},
                                     {&CGlobalVar::m3dName, M3d}, {&CGlobalVar::objName, Obj}, {&CGlobalVar::txyName, Txy}}) {
        m_config.get()->*name = file;
        m_config->sqlMgr->addDB(file, sqlDir());
    }
    m_config->dirOsm = QDir(sqlDir());
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
}

QString TestIo::writeFile(const QString &name, const QByteArray &content) const
{
    QFile file(filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return file.fileName();
}

bool TestIo::exportAs(const QString &which, const QString &path, const QString &name)
{
    return which == "NAV"   ? m_io->exportNAV(Gen, path)
           : which == "WPT" ? m_io->exportWPT(Wpt, path)
           : which == "OBJ" ? m_io->exportOBJ(Obj, QDir(filePath("projects/chosen")), name.isEmpty() ? "DEMO" : name, path)
                            : m_io->export3DObject(M3d, name.isEmpty() ? "house.smf" : name, path);
}

QString TestIo::committed(const QString &file, const QString &sql) const
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("committed-check"));
        db.setDatabaseName(QDir(sqlDir()).filePath(file));
        QSqlQuery query(db);
        if (!db.open() || !query.exec(sql))
            rows << QStringLiteral("failed: ") + sql;
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.value(i).toString();
            rows << row.join(u'|');
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("committed-check"));
    return rows.join(u'\n');
}

// --- import ---

void TestIo::importRecords_data()
{
    QTest::addColumn<QString>("setup");        // run on TXY first
    QTest::addColumn<QString>("answer");       // to the question of a whole table's deletion
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("boxes");    // %1: the file, {sql}: the SQL folder; ": " at the end: a beginning
    QTest::addColumn<QString>("navaids");      // committed NAV rows: "+n" added, "=n" in all
    QTest::addColumn<QStringList>("check");    // optional: database, query, its committed value
    const auto row = [](const QString &name, const QByteArray &file, const QStringList &boxes, const QString &navaids,
                        const QString &connection = Gen, const QString &sql = {}, const QString &value = {},
                        const QString &setup = {}, const QString &answer = {}) {
        QTest::newRow(qPrintable(name)) << setup << answer << file << boxes << navaids
                                        << (sql.isEmpty() ? QStringList() : QStringList{connection, sql, value});
    };

    row("extra trailing fields ignored", nav("EXTRA") + ";;more;fields\n", {Done}, "+1", Gen,
        "SELECT name || '/' || nfrq || '/' || nrgn || '/' || typeof(tile) FROM NAV WHERE ukey = 'EXTRA'",
        "TEST VOR/117.05/130.0/integer");
    row("deletion on the exact key only", nav("LFPG1") + "\n" + nav("LFPG10") + "\nGEN;NAV;-;ukey;LFPG1\n", {Done}, "+1",
        Gen, "SELECT group_concat(ukey) FROM NAV WHERE ukey LIKE 'LFPG1%'", "LFPG10");
    row("blank lines and other operations skipped",
        "\r\n   \n" + nav("BLANKS") + "\r\n\n\t\nGEN;NAV;*;ukey;BLANKS\nGEN;NAV;;ukey;BLANKS\nGEN;NAV\n", {Done}, "+1");
    row("both Light tables", "OBJ;Light;+;1;2;x.smf;1;255;0;3;0;0;2;0;3.5\nTXY;Light;+;ZZZZ;1;0;255;0;0;1;0102\n", {Done},
        "+0", Txy, "SELECT hex(vTab) FROM Light WHERE aKey = 'ZZZZ'", "0102");
    const QString blob = "SELECT hex(tex) || typeof(tex) FROM TEXTURE WHERE xname = 'blob.tga'";
    row("hex blob in upper case", "M3D;TEXTURE;+;blob.tga;1;1;00AB\n", {Done}, "+0", M3d, blob, "00ABblob");
    row("empty hex blob", "M3D;TEXTURE;+;blob.tga;1;1;\n", {Done}, "+0", M3d, blob, "blob");
    for (const char *hex : {"0ab", "zz"})
        row(QStringLiteral("hex blob %1 refused").arg(hex), "M3D;TEXTURE;+;blob.tga;1;1;" + QByteArray(hex),
            {Errors + "Ligne 1 : la valeur de la colonne tex de la table TEXTURE n'est pas un texte hexadécimal ; "
                      "l'enregistrement n'est pas appliqué."}, "+0", M3d, blob, "");

    // The whole table's deletion asks first; declined, the import stops.
    const QString question = "Vous allez effacer la totalité des données de la table NAV.\nVoulez vous continuer ?";
    const QByteArray whole = nav("FIRST") + "\nGEN;NAV;-;ukey;;\n" + nav("NEW") + "\n";
    const QString firstOrNew = "SELECT group_concat(ukey) FROM NAV WHERE ukey IN ('FIRST', 'NEW')";
    row("whole table: ok", whole, {question, Done}, "=1", Gen, firstOrNew, "NEW", {}, CPrompt::Ok);
    row("whole table: cancel", whole, {question, Cancelled}, "+1", Gen, firstOrNew, "FIRST", {}, CPrompt::Cancel);

    // Unknown targets stop the import; what came before stays committed.
    const QList<QPair<QByteArray, QString>> stops = {
        {"GEN;WPT;+;1;A;B;C;FR;;78;1;4;0;0;0;0;0;0;", "La table WPT est inconnue dans la base de données GEN."},
        {"gen;NAV;+;1;X;TST;N;1;0;0;FR;;17;0;3;1;1;1;0;1", "La base de données gen est inconnue."},
        {"GEN;nav;-;ukey;X", "La table nav est inconnue dans la base de données GEN."},
        {"TXY", "La table  est inconnue dans la base de données TXY."},
        {"GEN;%2;+;x", "La table %2 est inconnue dans la base de données GEN."}};
    for (const auto &[record, text] : stops)
        row("stop at " + record, nav("ONE") + "\n" + record + "\n" + nav("AFTER") + "\n", {text}, "+1");

    // Short records are reported and skipped; the import goes on.
    QByteArray sixteen = nav("SHORT");
    sixteen.truncate(sixteen.lastIndexOf(';'));
    const QList<QPair<QByteArray, QString>> shorts = {
        {sixteen, "16 valeurs pour la table NAV qui a 17 colonnes ; l'enregistrement n'est pas appliqué."},
        {"GEN;NAV;-;ukey", "l'enregistrement de suppression a 4 champs au lieu d'au moins 5 ; il n'est pas appliqué."}};
    for (const auto &[record, text] : shorts)
        row("short " + record.left(12), nav("ONE") + "\n" + record + "\n" + nav("AFTER") + "\n",
            {Errors + "Ligne 2 : " + text}, "+2");

    // Hostile deletions: columns must be known ones, values are data.
    for (const char *record : {"ukey\"; DROP TABLE NAV;--;x", "ukey=ukey OR 1=1 --;x", "nothing;"})
        row(QStringLiteral("deletion column %1").arg(record), "GEN;NAV;-;" + QByteArray(record),
            {Errors + "Ligne 1 : la colonne " + QString(record).section(';', 0, 0)
             + " est inconnue dans la table NAV ; l'enregistrement n'est pas appliqué."}, "+0");
    for (const char *record : {"GEN;NAV;-;ukey;x\" OR \"1\"=\"1", "GEN;NAV;-;ukey;ukey", "GEN;NAV;-;name;x' OR '1'='1"})
        row(QStringLiteral("deletion value %1").arg(record), record, {Done}, "+0");

    // Failures of the database: reported, the rest applied or rolled back.
    const QString deferred = "DROP TABLE Node; CREATE TABLE Parent (id INTEGER PRIMARY KEY);"
                             "CREATE TABLE Node (aKey TEXT, Ident INTEGER REFERENCES Parent(id) DEFERRABLE INITIALLY "
                             "DEFERRED, Lat REAL, Lon REAL, Alt REAL, rwid INTEGER, type INTEGER, Sector INTEGER, rfu INTEGER);"
                             "PRAGMA foreign_keys = ON";
    const QString commit = Errors + "Les modifications de la base TXY.db n'ont pas pu être validées : ";
    const QByteArray node = "TXY;Node;+;LFPN;99;0;0;0;0;0;0;0\n";
    row("failing statement reported, the rest applied", node + nav("STILL"),
        {Errors + "One of the query failed to execute. Error detail: "}, "+1", Txy, {}, {}, "DROP TABLE Node");
    // A deferred constraint fails only when the changes are committed.
    const QString nodes = "SELECT COUNT(*) FROM Node";
    row("commit fails at the end", node, {commit}, "+0", Txy, nodes, "0", deferred);
    row("commit fails at a stop", node + "XYZ;A;+", {"La base de données XYZ est inconnue.", commit}, "+0", Txy, nodes, "0",
        deferred);

    // Lists of OSM objects to delete: a database of the OSM folder only.
    const QString osmLeft = "SELECT COUNT(*) FROM OSM_OBJ";
    row("OSM deletions", "OSM\nOSM.db\n24564411\n\nw153306871\r\nn2208815560\n", {Done}, "+0", Osm, osmLeft, "7");
    const QString invalid = QStringLiteral("Le nom %1 n'est pas celui d'une base de données du dossier OSM.");
    for (const char *name : {"../OSM.db", "..", "..\\OSM.db", "C:OSM.db", ""})
        row(QStringLiteral("OSM name %1").arg(name), "OSM\n" + QByteArray(name) + "\n24564411\n", {invalid.arg(name)},
            "+0", Osm, osmLeft, "10");
    row("OSM database absent", "OSM\nNONE.db\n24564411\n", {"La base de données NONE.db est introuvable dans {sql}."},
        "+0", Osm, osmLeft, "10");
}

void TestIo::importRecords()
{
    QFETCH(QString, setup);
    QFETCH(QString, answer);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, boxes);
    QFETCH(QString, navaids);
    QFETCH(QStringList, check);
    for (const QString &statement : setup.split(';', Qt::SkipEmptyParts))
        QVERIFY(exec(Txy, statement));
    const int before = committed(Gen, "SELECT COUNT(*) FROM NAV").toInt();
    m_prompt->answers << answer;
    QCOMPARE(importFile(writeFile("update.CSV", file)), boxes.last() == Done);
    QCOMPARE(m_prompt->records.size(), boxes.size());
    for (int i = 0; i < boxes.size(); ++i) {
        const QString expected = QString(boxes.at(i)).replace("%1", filePath("update.CSV")).replace("{sql}", sqlDir());
        const QString shown = m_prompt->records.at(i).text;
        QVERIFY2(expected.endsWith(": ") ? shown.startsWith(expected) : shown == expected, qPrintable(shown));
    }
    QCOMPARE(m_prompt->last().icon == CPrompt::Warning, boxes.last() != Done && boxes.last() != Cancelled);
    QCOMPARE(committed(Gen, "SELECT COUNT(*) FROM NAV").toInt(), navaids.mid(1).toInt() + (navaids.startsWith('+') ? before : 0));
    if (!check.isEmpty())
        QCOMPARE(committed(check.at(0), check.at(1)), check.at(2));
    QVERIFY(!QFileInfo::exists(QDir(sqlDir()).filePath("NONE.db")));
}

// The import command: the files chosen, one summary each, a missing one
// passed over (the journeys check the chooser). Stopped at the third record,
// the first three stay.
void TestIo::importCancel()
{
    FakeProgress progress;
    progress.cancelAt = 3;
    m_io->setProgress(&progress);
    m_io->setProgressThreshold(2);
    QByteArray file;
    for (const char *key : {"P1", "P2", "P3", "P4", "P5", "P6"})
        file += nav(key) + "\n";
    const QString path = writeFile("update.CSV", file);
    m_prompt->answers << filePath("missing.CSV") + "\n" + path;
    m_io->on_actImport_triggered(m_config.get());
    QCOMPARE(progress.label, QStringLiteral("Importation de %1").arg(path));
    QCOMPARE(progress.values, QList<qint64>({0, 1, 2, 3}));
    QCOMPARE(progress.ended, 1);
    QCOMPARE(committed(Gen, "SELECT group_concat(ukey) FROM NAV WHERE ukey LIKE 'P_'"), QStringLiteral("P1,P2,P3"));
    QCOMPARE(m_prompt->texts(), QStringList({QString(), Cancelled}));
}

// --- exports ---

void TestIo::exportExact_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("name");       // project or 3D object
    QTest::addColumn<QString>("answer");     // to the question of the project's deletion
    QTest::addColumn<QByteArray>("expected");   // empty: the export is refused, no file
    QTest::addColumn<QString>("box");        // %1: the file

    QTest::newRow("NAV") << "NAV" << QString() << QString()
                         << QByteArray("GEN;NAV;-;ukey;;\n"
                                       "GEN;NAV;+;1;K1;ID1;NAME ONE;117.05;0.5;0;FR;;17;0;3;176400.5;8000;300;0;130;\n"
                                       "GEN;NAV;+;2;K2;ID2;Ch\xe2teau d'eau;356;0;0;FR;;8;0;4;-1.25;1296000;0;0;25;\n"
                                       "GEN;NAV;+;3;K3;ID3;;0;0;0;;;0;0;0;0;0;0;0;0;\n")
                         << "3 NAVAID ont été exportés dans %1\n3 ligne(s) non exportée(s) : une valeur contient « ; », "
                            "un saut de ligne ou un caractère hors Latin-1 (K4, K5, K6).";
    const QByteArray objects =
        "OBJ;OBJ;+;1359;1;758775;17550428;1;0;15979;0;7587.754;175504.282;0;0;15;house.smf;0;0;0;0;Maison 1;"
        "Objet de d\xe9monstration pr\xe8s de LFPN;101;\n"
        "OBJ;OBJ;+;1359;1;759218;17550380;1;0;15979;0;7592.176;175503.796;0;0;105;houseN.smf;0;0;0;0;Maison 4 (nuit);"
        "Objet de d\xe9monstration pr\xe8s de LFPN;101;\n";
    const QByteArray projects = "OBJ;FNM;+;1;DEMO\\scene101.obj;DEMO;101;\nOBJ;FNM;+;2;DEMO\\scene102.obj;DEMO;102;\n";
    QTest::newRow("OBJ, deletion records asked for")
        << "OBJ" << QString() << CPrompt::Yes << "OBJ;FNM;-;scene;DEMO;\n" + projects + "OBJ;OBJ;-;scn;101;\n" + objects
        << "Le projet 3D DEMO a été enregistré dans %1";
    QTest::newRow("OBJ, insertions only") << "OBJ" << QString() << CPrompt::No << projects + objects
                                          << "Le projet 3D DEMO a été enregistré dans %1";
    QTest::newRow("3D object and its night model")
        << "3D" << QString() << QString()
        << QByteArray("M3D;MOD;+;house.smf;1;0;house.tga;29.5;0;0;10;42;00ab;;ff;0102\n"
                      "M3D;MOD;+;house.smf;1;0;house.tga;19.7;0;1;8;30;00ab;;ff;0102\n"
                      "M3D;TEXTURE;+;house.tga;4;4;00ab\n"
                      "M3D;MOD;+;houseN.smf;1;0;houseN.tga;29.5;0;0;10;42;00ab;;ff;0102\n"
                      "M3D;TEXTURE;+;houseN.tga;4;4;00ab\n")
        << "L'objet 3D house.smf a été enregistré dans %1";

    QTest::newRow("unknown project") << "OBJ" << "NOPE" << QString() << QByteArray()
                                     << "Impossible de trouver le projet NOPE dans la base de donnée OBJ.db";
    // An empty table gives no file: its deletion record alone would empty
    // the table of whoever imports it.
    QTest::newRow("empty table") << "WPT" << QString() << QString() << QByteArray() << QString();
    QTest::newRow("unknown 3D object") << "3D" << "nope.smf" << QString() << QByteArray()
                                       << "Impossible de trouver l'objet nope.smf dans la base de donnée M3D.db";
    // A project of that name exists; its folder would not be in the chosen one.
    for (const char *project : {"../x", "..", ".", "a/b", "a\\b", "C:x"})
        QTest::addRow("project %s", project)
            << "OBJ" << project << QString() << QByteArray()
            << QStringLiteral("exportOBJ: le nom de projet %1 ne peut pas servir de nom de dossier : il ne doit contenir "
                              "ni séparateur de chemin (« / », « \\ ») ni caractère interdit dans un nom de fichier "
                              "(: * ? \" < > |), et ne peut pas être « . » ou « .. ».").arg(project);
}

void TestIo::exportExact()
{
    QFETCH(QString, which);
    QFETCH(QString, name);
    QFETCH(QString, answer);
    QFETCH(QByteArray, expected);
    QFETCH(QString, box);
    QVERIFY(which != "OBJ" || name.isEmpty() || name == "NOPE"
            || exec(Obj, "INSERT INTO FNM VALUES (90, 'x.obj', '" + name + "', 101)"));
    QVERIFY(which != "WPT" || exec(Wpt, "DELETE FROM WPT"));
    QVERIFY(exec(Gen, "DELETE FROM NAV"));
    QVERIFY(exec(Gen, "INSERT INTO NAV VALUES(1, 'K1', 'ID1', 'NAME ONE', 117.05, 0.5, 0.0, 'FR', '', 17, 0, 3, "
                      "176400.5, 8000.0, 300, 0.0, 130.0)"));
    QVERIFY(exec(Gen, "INSERT INTO NAV VALUES(2, 'K2', 'ID2', 'Château d''eau', 356.0, 0, 0, 'FR', '', 8, 0, 4, "
                      "-1.25, 1296000.0, 0, 0, 25)"));
    QVERIFY(exec(Gen, "INSERT INTO NAV VALUES(3, 'K3', 'ID3', '', 0, 0, 0, '', '', 0, 0, 0, 0, 0, 0, 0, 0)"));
    // Rows a record cannot carry are left out and named.
    QVERIFY(exec(Gen, "INSERT INTO NAV (ukey, name) VALUES ('K4', 'A;B'), ('K5', 'A' || char(10) || 'B'), "
                      "('K6', 'Zone ' || char(8364))"));
    QVERIFY(exec(M3d, "UPDATE MOD SET vtab = X'00AB', ntab = X'', ttab = X'FF', xtab = X'0102'"));
    QVERIFY(exec(M3d, "UPDATE TEXTURE SET tex = X'00AB'"));
    QVERIFY(exec(Obj, "DELETE FROM OBJ WHERE name IN ('Maison 2', 'Maison 3')"));
    const QString path = filePath("out.CSV");
    m_prompt->answers << answer;
    QCOMPARE(exportAs(which, path, name), !expected.isEmpty());
    QCOMPARE(QFileInfo::exists(path), !expected.isEmpty());
    QCOMPARE(readFile(path), expected);
    if (expected.isEmpty()) {
        QCOMPARE(m_prompt->texts(), box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(QDir(filePath("projects")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"chosen"});
        QVERIFY(QDir(filePath("projects/chosen")).isEmpty());
        return;
    }
    QCOMPARE(m_prompt->last().icon, CPrompt::Information);
    QCOMPARE(m_prompt->last().text, box.arg(path));
    if (which == "OBJ") {
        QCOMPARE(m_prompt->records.first().text,
                 QStringLiteral("Voulez vous supprimer toutes les données existantes (conseillé) ?\n"));
        QCOMPARE(m_prompt->records.first().defaultButton, CPrompt::No);
        QVERIFY(QFileInfo(filePath("projects/chosen/DEMO")).isDir());
    }
}

// Exported, the table spoilt, the export imported: the rows are back, typed
// (the other tables' records are checked byte for byte above).
void TestIo::roundTrip()
{
    const QString select = "SELECT *, typeof(tile), typeof(wlat) FROM WPT ORDER BY ukey";
    const QString original = committed(Wpt, select);
    QVERIFY(original.count('\n') > 6 && !original.contains("failed"));
    const QString path = filePath("table.CSV");
    QVERIFY(m_io->exportWPT(Wpt, path));
    for (const char *sql : {"DELETE FROM WPT WHERE rowid % 3 = 0", "UPDATE WPT SET name = 'X', tile = 0",
                            "INSERT INTO WPT (ukey) VALUES ('STRAY')"})
        QVERIFY2(exec(Wpt, sql), sql);
    m_prompt->answers << CPrompt::Ok;   // the whole table is replaced
    QVERIFY(importFile(path));
    QCOMPARE(committed(Wpt, select), original);
}

void TestIo::writers_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("operation");   // named in the box; empty: the caller reports
    QTest::newRow("navaid table") << "NAV" << "exportNAV";
    QTest::newRow("waypoint table") << "WPT" << "exportWPT";
    QTest::newRow("scenery project") << "OBJ" << "exportOBJ";
    QTest::newRow("3D object") << "3D" << "export3DObject";
    QTest::newRow("editor's update file") << "editor" << "";
}

// Each writer: an existing file is replaced only when the user agrees; when
// the system refuses the last byte of the file (as a full disk would) the
// earlier file stays whole, no partial or temporary file is left and the
// failure is reported, never a success; a file that cannot be opened is
// reported too.
void TestIo::writers()
{
#ifndef Q_OS_UNIX
    QSKIP("needs a file size limit");
#endif
    QFETCH(QString, which);
    QFETCH(QString, operation);
    const QString folder = filePath("out");
    QVERIFY(QDir().mkpath(folder));
    QString error;
    const auto run = [&](const QString &path) {
        m_prompt->answers = {CPrompt::Yes, CPrompt::Yes};   // overwrite, then clear the project's rows
        if (operation.isEmpty())
            return UpdateFile::write(path, QString::fromLatin1(nav("FR1PGS1")), &error);
        return exportAs(which, path);
    };
    QVERIFY(run(folder + "/whole.CSV"));
    const qint64 size = QFileInfo(folder + "/whole.CSV").size();
    QVERIFY(size > 16 && QFile::remove(folder + "/whole.CSV"));

    const QString path = writeFile("out/target.CSV", "old\n");
    m_prompt->records.clear();
    if (!operation.isEmpty()) {
        m_prompt->answers = {CPrompt::No};
        QVERIFY(!exportAs(which, path));
        QCOMPARE(m_prompt->records.size(), 1);
        QCOMPARE(m_prompt->last().text, QStringLiteral("Le fichier %1 existe déja.\nVoulez vous l'écraser ?").arg(path));
        QCOMPARE(m_prompt->last().defaultButton, CPrompt::No);
        m_prompt->records.clear();
    }
    {
        FileSizeLimit limit(size - 1);
        QVERIFY(limit.active());
        QVERIFY(!run(path));
    }
    QCOMPARE(readFile(path), QByteArray("old\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"target.CSV"});
    if (operation.isEmpty()) {
        QVERIFY(!error.isEmpty());
        return;
    }
    for (const ScriptedPrompt::Record &r : std::as_const(m_prompt->records))
        QVERIFY2(r.icon != CPrompt::Information, qPrintable(r.text));
    const QString head = QStringLiteral("%1: Impossible d'écrire le fichier %2\n").arg(operation, path);
    QVERIFY2(m_prompt->last().text.startsWith(head) && m_prompt->last().text.size() > head.size(),
             qPrintable(m_prompt->last().text));

    m_prompt->records.clear();
    const QString missing = filePath("no such folder/out.CSV");
    QVERIFY(!run(missing));
    QCOMPARE(m_prompt->texts(), QStringList{QStringLiteral("%1: Impossible d'ouvrir le fichier %2").arg(operation, missing)});
}

// --- the menu ---

// The menu sits before "A propos"; the scene project entry asks what it
// needs, in order, and reports the file written in the folder chosen.
void TestIo::exportMenu()
{
    QMainWindow window;
    window.menuBar()->addMenu("Fichier");
    window.menuBar()->addMenu("A propos");
    QMenu *menu = ExportMenu::install(&window, m_config.get());
    QCOMPARE(window.menuBar()->actions().at(1), menu->menuAction());
    const QString file = filePath("demo.CSV");
    m_prompt->answers = {"DEMO", m_dir->path(), file, CPrompt::No};
    menu->findChild<QAction *>("actExportOBJ")->trigger();
    QStringList shown;
    for (const ScriptedPrompt::Record &r : std::as_const(m_prompt->records))
        shown << (r.kind + ' ' + r.filter).trimmed();
    QCOMPARE(shown, QStringList({"text", "directory", "saveFile Fichier Corvane Export (*.CSV)", "message", "message"}));
    QVERIFY(m_prompt->last().text.endsWith(" dans " + file));
    QVERIFY(QFileInfo(filePath("DEMO")).isDir());
}

QTEST_MAIN(TestIo)
#include "tst_io.moc"
