#include "data/schema.h"
#include "data/sqlmgr.h"
#include "tests/data/logcapture.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QUuid>

#include <memory>

namespace {

using Selector = bool (SqlMgr::*)(const QString &, bool, QSqlQuery *);
using Deleter = bool (SqlMgr::*)(const QString &, QSqlQuery *);

Selector selectorNamed(const QString &name)
{
    static const QHash<QString, Selector> selectors = {
        {"selectATSROUTE", &SqlMgr::selectATSROUTE}, {"selectRWY", &SqlMgr::selectRWY},
        {"selectArcs", &SqlMgr::selectArcs},         {"selectPAVE", &SqlMgr::selectPAVE},
        {"selectNode", &SqlMgr::selectNode},         {"selectFNM", &SqlMgr::selectFNM},
        {"selectLIGHT", &SqlMgr::selectLIGHT},       {"selectOBJByDay", &SqlMgr::selectOBJByDay},
        {"selectMOD", &SqlMgr::selectMOD},           {"selectTEXTURE", &SqlMgr::selectTEXTURE},
        {"selectSIDSTAR", &SqlMgr::selectSIDSTAR},   {"selectCOM", &SqlMgr::selectCOM},
        {"selectNAV", &SqlMgr::selectNAV},           {"selectAPT", &SqlMgr::selectAPT},
        {"selectWPT", &SqlMgr::selectWPT},           {"selectILS", &SqlMgr::selectILS},
    };
    return selectors.value(name);
}

Deleter deleterNamed(const QString &name)
{
    static const QHash<QString, Deleter> deleters = {
        {"deleteBDRY", &SqlMgr::deleteBDRY},       {"deleteSIDSTAR", &SqlMgr::deleteSIDSTAR},
        {"deleteATSROUTE", &SqlMgr::deleteATSROUTE}, {"deleteFNM", &SqlMgr::deleteFNM},
        {"deleteOBJByScene", &SqlMgr::deleteOBJByScene}, {"deleteOBJByDay", &SqlMgr::deleteOBJByDay},
        {"deleteTEXTURE", &SqlMgr::deleteTEXTURE}, {"deleteMOD", &SqlMgr::deleteMOD},
        {"deleteLIGHT", &SqlMgr::deleteLIGHT},     {"deletePAVE", &SqlMgr::deletePAVE},
        {"deleteRWY", &SqlMgr::deleteRWY},         {"deleteCOM", &SqlMgr::deleteCOM},
        {"deleteILS", &SqlMgr::deleteILS},         {"deleteWPT", &SqlMgr::deleteWPT},
        {"deleteNAV", &SqlMgr::deleteNAV},         {"deleteAPT", &SqlMgr::deleteAPT},
    };
    return deleters.value(name);
}

// A table row given as column -> value.
using Row = QList<QPair<QString, QVariant>>;

} // namespace

class TestSqlMgr : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addDBOpensAndLogs();
    void addDBTwiceReturnsAtOnce();
    void addDBFailureIsReported();
    void addDBKeepsSafeDefaults();
    void removeAndCloseConnections();
    void likePatterns_data();
    void likePatterns();

    void namedCascade_data();
    void namedCascade();
    void comCascade_data();
    void comCascade();
    void ilsCascade_data();
    void ilsCascade();
    void sidstarCascade_data();
    void sidstarCascade();
    void singleStepSelectors_data();
    void singleStepSelectors();
    void objectsByScene_data();
    void objectsByScene();
    void selectorMissingTable();

    void deleteBuilders_data();
    void deleteBuilders();

private:
    // Opens the database file of the given kind (all catalogue tables) and
    // returns its connection name.
    QString open(const QString &database, int version = 0);
    void insert(const QString &connection, const QString &table, const QList<Row> &rows);
    static QStringList column(QSqlQuery &query, const QString &name);

    std::unique_ptr<SimFixture> m_sim;
    std::unique_ptr<SqlMgr> m_mgr;
    std::unique_ptr<ScriptedPrompt> m_prompt;
    std::unique_ptr<LogCapture> m_log;   // keeps the open lines out of the test output
};

void TestSqlMgr::init()
{
    m_sim = std::make_unique<SimFixture>();
    QVERIFY(m_sim->buildSkeleton());
    m_mgr = std::make_unique<SqlMgr>();
    m_prompt = std::make_unique<ScriptedPrompt>();
    m_log = std::make_unique<LogCapture>();
}

void TestSqlMgr::cleanup()
{
    m_mgr->closeAll();
    m_mgr.reset();
    m_prompt.reset();
    m_log.reset();
    m_sim.reset();
}

QString TestSqlMgr::open(const QString &database, int version)
{
    const QString file = database + QStringLiteral(".db");
    if (!QFile::exists(QDir(m_sim->sqlDir()).filePath(file)) && !m_sim->createSchemaDatabase(file, database, version))
        qWarning() << "cannot create" << file << m_sim->lastError();
    m_mgr->addDB(file, m_sim->sqlDir());
    return file;
}

void TestSqlMgr::insert(const QString &connection, const QString &table, const QList<Row> &rows)
{
    QSqlDatabase db = QSqlDatabase::database(connection);
    QVERIFY(db.transaction());
    QSqlQuery q(db);
    for (const Row &row : rows) {
        QStringList names;
        QStringList marks;
        for (const auto &cell : row) {
            names << cell.first;
            marks << QStringLiteral("?");
        }
        QVERIFY(q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names.join(u','), marks.join(u','))));
        for (const auto &cell : row)
            q.addBindValue(cell.second);
        QVERIFY2(q.exec(), qPrintable(table));
    }
    QVERIFY(db.commit());
}

// The named column of the row the query is on and of every further row,
// sorted.
QStringList TestSqlMgr::column(QSqlQuery &query, const QString &name)
{
    QStringList values;
    const int index = query.record().indexOf(name);
    if (index < 0 || !query.isValid())
        return values;
    do {
        values << query.value(index).toString();
    } while (query.next());
    values.sort();
    return values;
}

void TestSqlMgr::addDBOpensAndLogs()
{
    QVERIFY(m_sim->createDatabase(QStringLiteral("GEN.db"), 0));
    LogCapture log;
    m_mgr->addDB(QStringLiteral("GEN.db"), m_sim->sqlDir());
    const QString path = m_sim->sqlDir() + QStringLiteral("/GEN.db");
    QCOMPARE(log.starting("Debug: SqlMgr::addDB"), QStringList{QStringLiteral("Debug: SqlMgr::addDB \"%1\" is open").arg(path)});
    QVERIFY(QSqlDatabase::contains(QStringLiteral("GEN.db")));
    QSqlDatabase db = QSqlDatabase::database(QStringLiteral("GEN.db"));
    QVERIFY(db.isOpen());
    QCOMPARE(db.driverName(), QStringLiteral("QSQLITE"));
    QCOMPARE(db.databaseName(), path);
    QCOMPARE(m_mgr->currentDatabase().connectionName(), QStringLiteral("GEN.db"));
    QVERIFY(m_prompt->records.isEmpty());
}

void TestSqlMgr::addDBTwiceReturnsAtOnce()
{
    QVERIFY(m_sim->createDatabase(QStringLiteral("GEN.db"), 0));
    QVERIFY(m_sim->createDatabase(QStringLiteral("WPT.db"), 0));
    m_mgr->addDB(QStringLiteral("GEN.db"), m_sim->sqlDir());
    m_mgr->addDB(QStringLiteral("WPT.db"), m_sim->sqlDir());
    LogCapture log;
    // Even with another folder the existing connection is kept as it is.
    m_mgr->addDB(QStringLiteral("GEN.db"), QStringLiteral("/elsewhere"));
    QVERIFY(log.lines.isEmpty());
    QCOMPARE(m_mgr->currentDatabase().connectionName(), QStringLiteral("GEN.db"));
    QCOMPARE(QSqlDatabase::database(QStringLiteral("GEN.db")).databaseName(), m_sim->sqlDir() + QStringLiteral("/GEN.db"));
}

void TestSqlMgr::addDBFailureIsReported()
{
    const QString dir = QStringLiteral("/nonexistent-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    LogCapture log;
    m_mgr->addDB(QStringLiteral("X.db"), dir);
    QCOMPARE(m_prompt->records.size(), 1);
    const ScriptedPrompt::Record &r = m_prompt->last();
    QCOMPARE(r.kind, QStringLiteral("message"));
    QCOMPARE(r.icon, CPrompt::Critical);
    QCOMPARE(r.title, QStringLiteral("Ouverture de la base de données impossible."));
    QCOMPARE(r.text, QStringLiteral("Impossible d\"établir la connexion avec X.db."));
    QCOMPARE(r.buttons, QStringList{CPrompt::Ok});
    QCOMPARE(log.starting("Debug: SqlMgr::addDB"),
             QStringList{QStringLiteral("Debug: SqlMgr::addDB db not found \"X.db\" \"%1\"").arg(dir)});
    // The failed connection stays registered under its name.
    QVERIFY(QSqlDatabase::contains(QStringLiteral("X.db")));
    QVERIFY(!QFile::exists(dir));
}

void TestSqlMgr::addDBKeepsSafeDefaults()
{
    const QString name = open(QStringLiteral("GEN"));
    QSqlQuery q(QSqlDatabase::database(name));
    QVERIFY(q.exec(QStringLiteral("PRAGMA synchronous")) && q.next());
    QCOMPARE(q.value(0).toInt(), 2);   // FULL, SQLite's default
    QVERIFY(q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("delete"));
}

void TestSqlMgr::removeAndCloseConnections()
{
    const QString gen = open(QStringLiteral("GEN"));
    const QString wpt = open(QStringLiteral("WPT"));
    LogCapture log;
    m_mgr->removeDB(wpt);   // the current connection
    QVERIFY(!QSqlDatabase::contains(wpt));
    QVERIFY(QSqlDatabase::contains(gen));
    m_mgr->closeAll();
    QVERIFY(!QSqlDatabase::contains(gen));
    // No "still in use" complaint: the manager let go of its handle first.
    QVERIFY2(log.lines.isEmpty(), qPrintable(log.lines.join(u'\n')));
}

void TestSqlMgr::likePatterns_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("contains");
    QTest::newRow("plain") << "LF" << "LF%" << "%LF%";
    QTest::newRow("empty") << "" << "%" << "%%";
    QTest::newRow("wildcards are literal") << "a%b_c" << "a\\%b\\_c%" << "%a\\%b\\_c%";
    QTest::newRow("backslash") << "a\\b" << "a\\\\b%" << "%a\\\\b%";
    QTest::newRow("quotes stay") << "O'H\"" << "O'H\"%" << "%O'H\"%";
}

void TestSqlMgr::likePatterns()
{
    QFETCH(QString, key);
    QFETCH(QString, prefix);
    QFETCH(QString, contains);
    QCOMPARE(SqlMgr::likePrefix(key), prefix);
    QCOMPARE(SqlMgr::likeContains(key), contains);
}

void TestSqlMgr::namedCascade_data()
{
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QStringList>("expected");   // ukeys, sorted

    const QStringList all = {"ABC", "LFPG", "LFPO", "P%1", "Q\"1", "XLF1", "name", "ÉCO"};
    for (const char *sel : {"selectAPT", "selectNAV", "selectWPT"}) {
        auto row = [&](const char *what) -> QTestData & { return QTest::addRow("%s: %s", sel, what) << QString::fromLatin1(sel); };
        row("key prefix first") << "LF" << false << QStringList{"LFPG", "LFPO"};
        row("key prefix ignores ASCII case") << "lf" << false << QStringList{"LFPG", "LFPO"};
        row("ident prefix when no key matches") << "LFX" << false << QStringList{"XLF1"};
        row("name contains when no key or ident matches") << "ORLY" << false << QStringList{"LFPO"};
        row("name contains ignores ASCII case") << "orly" << false << QStringList{"LFPO"};
        row("name is contained, not prefix") << "GAULLE" << false << QStringList{"LFPG"};
        row("ident is prefix, not contained") << "FXX" << false << QStringList{};
        row("exact key") << "LFPG" << true << QStringList{"LFPG"};
        row("exact is case-sensitive") << "lfpg" << true << QStringList{};
        row("exact ident") << "LFXX" << true << QStringList{"XLF1"};
        row("exact name") << "PARIS ORLY" << true << QStringList{"LFPO"};
        row("exact name must be whole") << "PARIS" << true << QStringList{};
        row("empty near key matches every row") << "" << false << all;
        row("empty exact key matches none") << "" << true << QStringList{};
        row("key equal to a column name is a text") << "name" << true << QStringList{"name"};
        row("column name with no such value") << "iden" << true << QStringList{};
        row("double quote in exact key") << "Q\"1" << true << QStringList{"Q\"1"};
        row("apostrophe in exact ident") << "Q'1" << true << QStringList{"Q\"1"};
        row("quoted words in a name") << "\"Intl\"" << false << QStringList{"Q\"1"};
        row("percent is no wildcard") << "%" << false << QStringList{"P%1"};
        row("underscore is no wildcard") << "_" << false << QStringList{};
        row("underscore literal in ident") << "P_" << false << QStringList{"P%1"};
        row("statement text in a key") << "x\" OR 1=1 --" << false << QStringList{};
        row("non-ASCII key prefix") << "ÉC" << false << QStringList{"ÉCO"};
        row("non-ASCII case is kept") << "éco" << false << QStringList{};
        row("non-ASCII in a name") << "Évreux" << false << QStringList{"ÉCO"};
        row("non-ASCII name case is kept") << "évreux" << false << QStringList{};
    }
}

// APT, NAV and WPT search ukey, then iden (both as prefixes), then name
// (as contained text); the first column that matches supplies every row.
void TestSqlMgr::namedCascade()
{
    QFETCH(QString, selector);
    QFETCH(QString, key);
    QFETCH(bool, exact);
    QFETCH(QStringList, expected);

    const QString table = selector.mid(6);
    const QString name = open(table == QLatin1String("WPT") ? QStringLiteral("WPT") : QStringLiteral("GEN"));
    const QList<std::array<const char *, 3>> rows = {
        {"LFPG", "LFPG", "PARIS CHARLES DE GAULLE"},
        {"LFPO", "LFPO", "PARIS ORLY"},
        {"XLF1", "LFXX", "AIRFIELD LF TEST"},
        {"ABC", "ZZZ", "name"},
        {"name", "NM", "Other"},
        {"Q\"1", "Q'1", "O'Hare \"Intl\""},
        {"P%1", "P_1", "100% CLUB"},
        {"ÉCO", "ÉCO", "Aérodrome Évreux"},
    };
    QList<Row> data;
    for (const auto &r : rows)
        data << Row{{"ukey", QString::fromUtf8(r[0])}, {"iden", QString::fromUtf8(r[1])}, {"name", QString::fromUtf8(r[2])}};
    insert(name, table, data);

    QSqlQuery q(QSqlDatabase::database(name));
    const bool found = (m_mgr.get()->*selectorNamed(selector))(key, exact, &q);
    QCOMPARE(found, !expected.isEmpty());
    QCOMPARE(q.isValid(), found);
    if (found)
        QCOMPARE(q.record().count(), CSchema::table(name.section(u'.', 0, 0), table)->columnCount());
    QCOMPARE(column(q, QStringLiteral("ukey")), expected);
}

void TestSqlMgr::comCascade_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QStringList>("expected");   // ckeys
    QTest::newRow("airport key first") << "LFPG" << false << QStringList{"LFPG1", "LFPG2"};
    QTest::newRow("airport key, exact") << "LFPG" << true << QStringList{"LFPG1", "LFPG2"};
    QTest::newRow("name prefix next") << "TOW" << false << QStringList{"LFPG2"};
    QTest::newRow("name is a prefix, not contained") << "GAULLE" << false << QStringList{};
    QTest::newRow("name prefix beats key contains") << "LFPG RADAR" << false << QStringList{"XXPG9"};
    QTest::newRow("key contained last") << "PG9" << false << QStringList{"XXPG9"};
    QTest::newRow("key contained, several") << "PG" << false << QStringList{"LFPG1", "LFPG2", "XXPG9"};
    QTest::newRow("key exact last") << "LFPO1" << true << QStringList{"LFPO1"};
}

void TestSqlMgr::comCascade()
{
    QFETCH(QString, key);
    QFETCH(bool, exact);
    QFETCH(QStringList, expected);
    const QString name = open(QStringLiteral("GEN"));
    insert(name, QStringLiteral("COM"),
           {Row{{"ckey", "LFPG1"}, {"capt", "LFPG"}, {"cnam", "ATIS"}},
            Row{{"ckey", "LFPG2"}, {"capt", "LFPG"}, {"cnam", "TOWER"}},
            Row{{"ckey", "LFPO1"}, {"capt", "LFPO"}, {"cnam", "DE GAULLE TWR"}},
            Row{{"ckey", "XXPG9"}, {"capt", "EGLL"}, {"cnam", "LFPG RADAR"}}});
    QSqlQuery q(QSqlDatabase::database(name));
    QCOMPARE(m_mgr->selectCOM(key, exact, &q), !expected.isEmpty());
    QCOMPARE(column(q, QStringLiteral("ckey")), expected);
}

void TestSqlMgr::ilsCascade_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QStringList>("expected");   // ikeys
    QTest::newRow("airport prefix first") << "LFP" << false << QStringList{"LFPG08L", "LFPO06"};
    QTest::newRow("ident prefix next") << "ILL" << false << QStringList{"EGLL27R"};
    QTest::newRow("name contained next") << "cat" << false << QStringList{"LFPG08L"};
    QTest::newRow("name before key") << "27R" << false << QStringList{"EGLL27R"};
    QTest::newRow("key contained last") << "O06" << false << QStringList{"LFPO06"};
    QTest::newRow("key exact last") << "LFPO06" << true << QStringList{"LFPO06"};
    QTest::newRow("nothing") << "ZZZ" << false << QStringList{};
}

void TestSqlMgr::ilsCascade()
{
    QFETCH(QString, key);
    QFETCH(bool, exact);
    QFETCH(QStringList, expected);
    const QString name = open(QStringLiteral("GEN"));
    insert(name, QStringLiteral("ILS"),
           {Row{{"ikey", "LFPG08L"}, {"iapt", "LFPG"}, {"iils", "GLE"}, {"name", "LFPG 08L ILS-cat-III"}},
            Row{{"ikey", "LFPO06"}, {"iapt", "LFPO"}, {"iils", "OLN"}, {"name", "LFPO 06 ILS"}},
            Row{{"ikey", "EGLL27R"}, {"iapt", "EGLL"}, {"iils", "ILL"}, {"name", "HEATHROW 27R"}}});
    QSqlQuery q(QSqlDatabase::database(name));
    QCOMPARE(m_mgr->selectILS(key, exact, &q), !expected.isEmpty());
    QCOMPARE(column(q, QStringLiteral("ikey")), expected);
}

void TestSqlMgr::sidstarCascade_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QStringList>("expected");   // skeys
    QTest::newRow("airport, exact") << "LFPG" << true << QStringList{"AMOGA7A10", "AMOGA7A20"};
    QTest::newRow("airport prefix, any case") << "lfp" << false << QStringList{"AMOGA7A10", "AMOGA7A20", "ROMLO6A10"};
    QTest::newRow("procedure name next") << "ROM" << false << QStringList{"ROMLO6A10"};
    QTest::newRow("procedure name, exact") << "AMOGA7A" << true << QStringList{"AMOGA7A10", "AMOGA7A20"};
    QTest::newRow("procedure name is a prefix") << "MOGA" << false << QStringList{};
}

void TestSqlMgr::sidstarCascade()
{
    QFETCH(QString, key);
    QFETCH(bool, exact);
    QFETCH(QStringList, expected);
    const QString name = open(QStringLiteral("ROUTE"));
    insert(name, QStringLiteral("SIDSTAR"),
           {Row{{"skey", "AMOGA7A10"}, {"sapt", "LFPG"}, {"strm", "AMOGA7A"}},
            Row{{"skey", "AMOGA7A20"}, {"sapt", "LFPG"}, {"strm", "AMOGA7A"}},
            Row{{"skey", "ROMLO6A10"}, {"sapt", "LFPO"}, {"strm", "ROMLO6A"}}});
    QSqlQuery q(QSqlDatabase::database(name));
    QCOMPARE(m_mgr->selectSIDSTAR(key, exact, &q), !expected.isEmpty());
    QCOMPARE(column(q, QStringLiteral("skey")), expected);
}

void TestSqlMgr::singleStepSelectors_data()
{
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QStringList>("expected");

    const QStringList texts = {"ABC", "XABC", "abd", "A_C"};
    struct Target {
        const char *selector, *database, *table, *column;
    };
    const Target targets[] = {
        {"selectATSROUTE", "ROUTE", "ATSROUTE", "aaid"}, {"selectRWY", "GEN", "RWY", "rapt"},
        {"selectArcs", "TXY", "Arcs", "aKey"},           {"selectPAVE", "TXY", "Pave", "aKey"},
        {"selectNode", "TXY", "Node", "aKey"},           {"selectFNM", "OBJ", "FNM", "scene"},
        {"selectLIGHT", "TXY", "Light", "aKey"},         {"selectMOD", "M3D", "MOD", "name"},
        {"selectTEXTURE", "M3D", "TEXTURE", "xname"},
    };
    for (const Target &t : targets) {
        auto row = [&](const char *what) -> QTestData & {
            return QTest::addRow("%s: %s", t.selector, what) << t.selector << t.database << t.table << t.column << texts;
        };
        row("prefix, any ASCII case") << "ab" << false << QStringList{"ABC", "abd"};
        row("exact") << "ABC" << true << QStringList{"ABC"};
        row("exact is case-sensitive") << "abc" << true << QStringList{};
        row("empty near key") << "" << false << QStringList{"ABC", "A_C", "XABC", "abd"};
        row("underscore literal") << "A_" << false << QStringList{"A_C"};
        row("no match") << "Z" << false << QStringList{};
    }
    const QStringList days = {"15979", "159790", "25979"};
    QTest::newRow("selectOBJByDay: prefix") << "selectOBJByDay" << "OBJ" << "OBJ" << "mday" << days << "1597" << false
                                            << QStringList{"15979", "159790"};
    QTest::newRow("selectOBJByDay: exact") << "selectOBJByDay" << "OBJ" << "OBJ" << "mday" << days << "15979" << true
                                           << QStringList{"15979"};
}

void TestSqlMgr::singleStepSelectors()
{
    QFETCH(QString, selector);
    QFETCH(QString, database);
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QStringList, values);
    QFETCH(QString, key);
    QFETCH(bool, exact);
    QFETCH(QStringList, expected);

    const QString name = open(database);
    QList<Row> rows;
    for (const QString &v : values)
        rows << Row{{column, v}};
    insert(name, table, rows);
    QSqlQuery q(QSqlDatabase::database(name));
    QCOMPARE((m_mgr.get()->*selectorNamed(selector))(key, exact, &q), !expected.isEmpty());
    if (!expected.isEmpty())
        QCOMPARE(q.record().count(), CSchema::table(database, table)->columnCount());
    QCOMPARE(TestSqlMgr::column(q, column), expected);
}

void TestSqlMgr::objectsByScene_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("exact") << 101 << true << QStringList{"101"};
    QTest::newRow("prefix") << 101 << false << QStringList{"101", "1015"};
    QTest::newRow("prefix of another") << 20 << false << QStringList{"201"};
    QTest::newRow("none") << 7 << true << QStringList{};
}

void TestSqlMgr::objectsByScene()
{
    QFETCH(int, key);
    QFETCH(bool, exact);
    QFETCH(QStringList, expected);
    const QString name = open(QStringLiteral("OBJ"), 4);
    insert(name, QStringLiteral("OBJ"), {Row{{"scn", 101}}, Row{{"scn", 1015}}, Row{{"scn", 201}}});
    QSqlQuery q(QSqlDatabase::database(name));
    QCOMPARE(m_mgr->selectOBJByScene(key, exact, &q), !expected.isEmpty());
    QCOMPARE(column(q, QStringLiteral("scn")), expected);
}

void TestSqlMgr::selectorMissingTable()
{
    // The OSM file has no APT table: every step fails, nothing is logged.
    const QString name = open(QStringLiteral("OSM"));
    LogCapture log;
    QSqlQuery q(QSqlDatabase::database(name));
    QVERIFY(!m_mgr->selectAPT(QStringLiteral("LF"), false, &q));
    QVERIFY(!q.isValid());
    QVERIFY(!m_mgr->deleteAPT(QStringLiteral("LF"), &q));
    QVERIFY(log.lines.isEmpty());
    QVERIFY(m_prompt->records.isEmpty());
}

void TestSqlMgr::deleteBuilders_data()
{
    QTest::addColumn<QString>("builder");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("left");

    struct Target {
        const char *builder, *database, *table, *column;
    };
    const Target targets[] = {
        {"deleteBDRY", "ROUTE", "BDRY", "bkey"},      {"deleteSIDSTAR", "ROUTE", "SIDSTAR", "strm"},
        {"deleteATSROUTE", "ROUTE", "ATSROUTE", "aaid"}, {"deleteFNM", "OBJ", "FNM", "scene"},
        {"deleteTEXTURE", "M3D", "TEXTURE", "xname"}, {"deleteMOD", "M3D", "MOD", "name"},
        {"deleteLIGHT", "TXY", "Light", "aKey"},      {"deletePAVE", "TXY", "Pave", "aKey"},
        {"deleteRWY", "GEN", "RWY", "rapt"},          {"deleteCOM", "GEN", "COM", "capt"},
        {"deleteILS", "GEN", "ILS", "iapt"},          {"deleteWPT", "WPT", "WPT", "ukey"},
        {"deleteNAV", "GEN", "NAV", "ukey"},          {"deleteAPT", "GEN", "APT", "ukey"},
    };
    for (const Target &t : targets) {
        // Two rows carry K1 where the table allows it (distinct second keys
        // keep the UNIQUE constraints happy).
        const bool unique = !CSchema::table(t.database, t.table)->unique.isEmpty();
        const QStringList values = unique ? QStringList{"K1", "K2", "Q\"1", "k1"} : QStringList{"K1", "K1", "K2", "Q\"1", "k1"};
        auto row = [&](const char *what) -> QTestData & {
            return QTest::addRow("%s: %s", t.builder, what) << t.builder << t.database << t.table << t.column << values;
        };
        row("removes every row of the key") << "K1" << QStringList{"K2", "Q\"1", "k1"};
        row("no match removes nothing") << "NOPE" << QStringList(values.begin(), values.end());
        row("double quote in the key") << "Q\"1" << (unique ? QStringList{"K1", "K2", "k1"} : QStringList{"K1", "K1", "K2", "k1"});
        row("no pattern matching") << "K%" << QStringList(values.begin(), values.end());
        row("statement text in the key") << "x\" OR \"\"=\"" << QStringList(values.begin(), values.end());
    }
    const QStringList scenes = {"101", "101", "102"};
    QTest::newRow("deleteOBJByScene") << "deleteOBJByScene" << "OBJ" << "OBJ" << "scn" << scenes << "101" << QStringList{"102"};
    QTest::newRow("deleteOBJByScene: no match") << "deleteOBJByScene" << "OBJ" << "OBJ" << "scn" << scenes << "10" << scenes;
    const QStringList days = {"15979", "15980"};
    QTest::newRow("deleteOBJByDay") << "deleteOBJByDay" << "OBJ" << "OBJ" << "mday" << days << "15979" << QStringList{"15980"};
}

void TestSqlMgr::deleteBuilders()
{
    QFETCH(QString, builder);
    QFETCH(QString, database);
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QStringList, values);
    QFETCH(QString, key);
    QFETCH(QStringList, left);

    const QString name = open(database);
    const CTable *t = CSchema::table(database, table);
    QList<Row> rows;
    int n = 0;
    for (const QString &v : values) {
        Row row{{column, v}};
        // Fill the other columns of a UNIQUE constraint with distinct values.
        for (const QString &u : t->unique) {
            if (u.compare(column, Qt::CaseInsensitive) != 0)
                row << qMakePair(u, QVariant(QStringLiteral("u%1").arg(n)));
        }
        rows << row;
        ++n;
    }
    insert(name, table, rows);

    QSqlQuery q(QSqlDatabase::database(name));
    QVERIFY((m_mgr.get()->*deleterNamed(builder))(key, &q));
    QVERIFY(q.exec(QStringLiteral("SELECT %1 FROM %2").arg(column, table)));
    QStringList remaining;
    while (q.next())
        remaining << q.value(0).toString();
    remaining.sort();
    left.sort();
    QCOMPARE(remaining, left);
}

int runSqlMgrTests(int argc, char **argv)
{
    TestSqlMgr t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_sqlmgr.moc"
