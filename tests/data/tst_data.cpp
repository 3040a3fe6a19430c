// The data access: position texts and tile keys, the schema catalogue
// against the simulator's own dumps, the SQL manager's connections,
// selectors and deletions, and the start-up checks of the databases (the
// checks that end the program run in a child of this test, "--init DIR").

#include "app/log.h"
#include "data/coordinates.h"
#include "data/globalvar.h"
#include "data/schema.h"
#include "data/sqlmgr.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"
#include "tools/simtree/simtree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double T = Coord::Turn;

using Selector = bool (SqlMgr::*)(const QString &, bool, QSqlQuery *);
using Deleter = bool (SqlMgr::*)(const QString &, QSqlQuery *);
#define NAMED(name) {QStringLiteral(#name), &SqlMgr::name}
const QHash<QString, Selector> selectorByName = {
    NAMED(selectATSROUTE), NAMED(selectRWY), NAMED(selectArcs), NAMED(selectPAVE), NAMED(selectNode), NAMED(selectFNM),
    NAMED(selectLIGHT), NAMED(selectOBJByDay), NAMED(selectMOD), NAMED(selectTEXTURE), NAMED(selectSIDSTAR),
    NAMED(selectCOM), NAMED(selectNAV), NAMED(selectAPT), NAMED(selectWPT), NAMED(selectILS)};
const QHash<QString, Deleter> deleterByName = {
    NAMED(deleteBDRY), NAMED(deleteSIDSTAR), NAMED(deleteATSROUTE), NAMED(deleteFNM), NAMED(deleteOBJByScene),
    NAMED(deleteOBJByDay), NAMED(deleteTEXTURE), NAMED(deleteMOD), NAMED(deleteLIGHT), NAMED(deletePAVE), NAMED(deleteRWY),
    NAMED(deleteCOM), NAMED(deleteILS), NAMED(deleteWPT), NAMED(deleteNAV), NAMED(deleteAPT)};

// A search: the selector, its database, the table's columns (the first
// one is reported) and rows ("|" between values), the key, exact or near,
// and the rows found (first column, sorted).
struct Search {
    QString selector, database;
    QStringList columns, rows;
    QString key;
    bool exact;
    QStringList expected;
};

// A start-up: the files "NAME:version" (version "x": no database), the GEN
// M3D OBJ TXY WPT ROUTE connection names (refused: files never opened), the
// files whose connection was removed or never made, and for a refused tree
// the box text, "|", the last log line.
struct Startup {
    QStringList files, expected, unregistered;
    QString fatal;
};

} // namespace

Q_DECLARE_METATYPE(Search)
Q_DECLARE_METATYPE(Startup)

namespace {

const QStringList baseFiles = {"GEN.db:0", "M3D.db:3", "OBJ.db:4", "TXY.db:1", "WPT.db:0", "ROUTE.db:0"};

// The base set of "NAME:version" entries with some left out and others added.
QStringList files(const QStringList &drop, const QStringList &add)
{
    QStringList out;
    for (const QString &f : baseFiles) {
        if (!drop.contains(f.section(u':', 0, 0)))
            out << f;
    }
    return out + add;
}

// Every box of the child: printed as one JSON array a line, answered "Ok".
class PrintingPrompt : public ScriptedPrompt
{
public:
    QString message(const Message &box) override
    {
        const QJsonArray a{int(box.icon), box.title, box.text, box.buttons.join(u',')};
        std::printf("%s\n", QJsonDocument(a).toJson(QJsonDocument::Compact).constData());
        std::fflush(stdout);
        return CPrompt::Ok;
    }
};

// The child: the start-up checks on a tree, as the program runs them, the
// log going to navigator_debug.log in the current folder.
int initChild(const char *dir)
{
    NavLog::install();
    PrintingPrompt prompt;
    CGlobalVar config;
    config.dirCorvane.setPath(QString::fromLocal8Bit(dir));
    return config.init() ? 0 : 1;
}

} // namespace

class TestData : public QObject
{
    Q_OBJECT

    std::unique_ptr<SimFixture> m_sim;   // a skeleton tree
    std::unique_ptr<SqlMgr> m_mgr;
    std::unique_ptr<ScriptedPrompt> m_prompt;

    // Opens the database file of the given kind (all its tables) and fills
    // a table: rows of values separated by "|" for the columns named.
    QString open(const QString &database, const QString &table, const QStringList &columns, const QStringList &rows)
    {
        const QString file = database + QStringLiteral(".db");
        if (!m_sim->createSchemaDatabase(file, database, 0))
            qWarning() << "cannot create" << file << m_sim->lastError();
        m_mgr->addDB(file, m_sim->sqlDir());
        QSqlQuery q(QSqlDatabase::database(file));
        for (const QString &row : rows) {
            const QStringList values = row.split(u'|');
            q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                              .arg(table, columns.mid(0, values.size()).join(u','), QStringLiteral(",?").repeated(values.size() - 1)));
            for (const QString &v : values)
                q.addBindValue(v);
            if (!q.exec())
                qWarning() << table << row << q.lastError().text();
        }
        return file;
    }

private slots:
    void init()
    {
        m_sim = std::make_unique<SimFixture>();
        QVERIFY(m_sim->buildSkeleton());
        m_mgr = std::make_unique<SqlMgr>();
        m_prompt = std::make_unique<ScriptedPrompt>();
    }

    void cleanup()
    {
        m_mgr->closeAll();
        m_mgr.reset();
        m_prompt.reset();
        m_sim.reset();
        for (const QString &name : QSqlDatabase::connectionNames())
            QSqlDatabase::removeDatabase(name);
    }

    // ---------------------------------------------------------- coordinates

    void texts_data()
    {
        QTest::addColumn<bool>("latitude");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("mark");
        QTest::addColumn<QString>("expected");
        auto row = [](bool latitude, const char *name, double v, bool mark, const char *text) {
            QTest::newRow(name) << latitude << v << mark << QString::fromUtf8(text);
        };
        row(true, "negative zero is north", -0.0, false, "00 00' 00.00 N");
        row(true, "south pole", -324000, false, "90 00' 00.00 S");
        row(true, "seconds that round to 60 carry into the minutes", 59.999, false, "00 01' 00.00 N");
        row(true, "carried into the degrees, south", -3599.996, true, "01 00' 00.00\" S");
        row(true, "just below the carry", 3599.994, false, "00 59' 59.99 N");
        row(false, "2.354 east, seconds mark", 8474.4, true, "002 21' 14.40\" E");
        row(false, "negative zero is east", -0.0, false, "000 00' 00.00 E");
        row(false, "180 is east", 648000, false, "180 00' 00.00 E");
        row(false, "-180 is east", -648000, false, "180 00' 00.00 E");
        row(false, "just past 180 is west", 648001, false, "179 59' 59.00 W");
        row(false, "carried up to 180", 647999.999, false, "180 00' 00.00 E");
        row(false, "350 east shows as 10 west", 1260000, false, "010 00' 00.00 W");
        row(false, "a thousand turns west", -1000 * T - 1000, false, "000 16' 40.00 W");
        row(false, "a million turns west, whole", -1e6 * T, false, "000 00' 00.00 E");
    }

    void texts()
    {
        QFETCH(bool, latitude);
        QFETCH(double, value);
        QFETCH(bool, mark);
        QFETCH(QString, expected);
        QCOMPARE(latitude ? CGlobalVar::latitudeText(value, mark) : CGlobalVar::longitudeText(value, mark), expected);
    }

    // Values no loop could finish on give some result, never a hang.
    void hostileValues()
    {
        for (double v : {NaN, Inf, -Inf, 1e300, -1e300, std::numeric_limits<double>::max(), -std::numeric_limits<double>::denorm_min()}) {
            const QString lat = Coord::latitudeText(v, false);
            const QString lon = Coord::longitudeText(v, true);
            QVERIFY2(lat.endsWith(u'N') || lat.endsWith(u'S'), qPrintable(lat));
            QVERIFY2((lon.endsWith(u'E') || lon.endsWith(u'W')) && (!std::isfinite(v) || lon.size() == 16), qPrintable(lon));
            const double inTurn = Coord::inTurn(v);
            QVERIFY(std::isfinite(v) ? inTurn >= 0 && inTurn <= T : std::isnan(inTurn));
            QVERIFY(Coord::tileColumn(v) >= 0 && Coord::tileColumn(v) <= 255);
        }
        // As the loops "while above a turn subtract one, while negative add one".
        for (const auto &[value, expected] : QList<QPair<double, double>>{{T, T}, {2 * T + 7.25, 7.25}, {-0.001, T - 0.001}, {-T, 0}, {-2.5 * T, T / 2}})
            QCOMPARE(Coord::inTurn(value), expected);
    }

    void tiles_data()
    {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<int>("key");       // column x 65536 + row
        QTest::addColumn<int>("quarter");   // the vertical quarter-tile number
        const double q1 = 0.703125 * 3600;
        QTest::newRow("origin") << 0.0 << 0.0 << 127 << 256;
        QTest::newRow("one column east, one second north") << 1.0 << 5062.5 << 65536 + 128 << 256;
        QTest::newRow("west of zero, one second south") << -1.0 << -6000.0 << 255 * 65536 + 127 << 255;
        QTest::newRow("just west of zero is column 0") << 5062.4 << -1000.0 << 128 << 257;
        QTest::newRow("on the first band edge") << 5062.5 << 5062.4 << 129 << 257;
        QTest::newRow("on the first band edge, south") << -5062.5 << 0.0 << 126 << 254;
        QTest::newRow("on the first quarter edge") << q1 << 0.0 << 128 << 256;
        QTest::newRow("just above it, south") << -(q1 + 0.01) << 0.0 << 127 << 254;
        QTest::newRow("just above the first band edge") << 5062.51 << 0.0 << 129 << 258;
        QTest::newRow("north pole, 180 east") << 324000.0 << 648000.0 << 128 * 65536 + 255 << 511;
        QTest::newRow("south pole, 180 west") << -324000.0 << -648000.0 << 128 * 65536 << 0;
        QTest::newRow("largest 32-bit column") << 1e300 << 2147483647.0 * 5062.5 << 255 * 65536 + 255 << 511;
        QTest::newRow("256 columns and 3 wrap round") << 0.0 << 259.0 * 5062.5 << 3 * 65536 + 127 << 256;
        QTest::newRow("infinite") << -Inf << Inf << 0 << 0;
        QTest::newRow("NaN") << NaN << NaN << 0 << 255;
    }

    void tiles()
    {
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(int, key);
        QFETCH(int, quarter);
        const CGlobalVar config;
        QCOMPARE(Coord::tileKey(latitude, longitude), key);
        QCOMPARE(config.tileKey(latitude, longitude), key);
        QCOMPARE(config.tileRow(latitude), key % 65536);
        QCOMPARE(config.GetVerticalQgtNumber(latitude), quarter);
    }

    // --------------------------------------------------------------- schema

    void schemaMatchesDemoDumps_data()
    {
        QTest::addColumn<QString>("database");
        for (const char *db : {"GEN", "M3D", "OBJ", "TXY", "WPT", "ROUTE", "OSM"})
            QTest::newRow(db) << QString::fromLatin1(db);
    }

    // The demo dumps were written from the simulator's own table layout: the
    // catalogue declares the same tables, columns, order, types and constraints.
    void schemaMatchesDemoDumps()
    {
        QFETCH(QString, database);
        QFile dump(SimTree::demoDir() + QStringLiteral("/sql/") + database + QStringLiteral(".sql"));
        QVERIFY2(dump.open(QIODevice::ReadOnly), qPrintable(dump.fileName()));
        QStringList creates;
        for (const QString &statement : SimTree::splitStatements(QString::fromUtf8(dump.readAll()))) {
            if (statement.startsWith(QLatin1String("CREATE TABLE")))
                creates << statement;
        }
        QStringList ours;
        for (const CTable *t : CSchema::tables(database))
            ours << t->createStatement();
        QCOMPARE(ours, creates);
        // Table names ignore case as SQLite does, within their own database.
        QCOMPARE(CSchema::table("OBJ", "light")->fields.first().name, QStringLiteral("xk"));
        QVERIFY(!CSchema::table("WPT", "APT"));
    }

    // ---------------------------------------------------------- SQL manager

    void connections()
    {
        QVERIFY(m_sim->createDatabase(QStringLiteral("GEN.db"), 0) && m_sim->createDatabase(QStringLiteral("WPT.db"), 0));
        m_mgr->addDB(QStringLiteral("GEN.db"), m_sim->sqlDir());
        {
            // The files belong to the simulator: SQLite's safe defaults stay.
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("GEN.db")));
            QVERIFY(q.exec(QStringLiteral("PRAGMA synchronous")) && q.next() && q.value(0).toInt() == 2);
            QVERIFY(q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next() && q.value(0).toString() == QLatin1String("delete"));
        }
        m_mgr->addDB(QStringLiteral("WPT.db"), m_sim->sqlDir());
        // A name already open is kept as it is, even for another folder, and is current again.
        m_mgr->addDB(QStringLiteral("GEN.db"), QStringLiteral("/elsewhere"));
        QCOMPARE(m_mgr->currentDatabase().connectionName(), QStringLiteral("GEN.db"));
        QCOMPARE(QSqlDatabase::database(QStringLiteral("GEN.db")).databaseName(), m_sim->sqlDir() + QStringLiteral("/GEN.db"));
        m_mgr->removeDB(QStringLiteral("GEN.db"));   // the current connection
        QVERIFY(!QSqlDatabase::contains(QStringLiteral("GEN.db")) && QSqlDatabase::contains(QStringLiteral("WPT.db")));
        m_mgr->closeAll();
        QVERIFY(!QSqlDatabase::contains(QStringLiteral("WPT.db")));

        const QString dir = m_sim->path(QStringLiteral("missing"));
        m_mgr->addDB(QStringLiteral("X.db"), dir);
        QCOMPARE(m_prompt->records.size(), 1);
        const ScriptedPrompt::Record &r = m_prompt->last();
        QCOMPARE(QStringList({QString::number(r.icon), r.title, r.text, r.buttons.join(u',')}),
                 QStringList({QString::number(CPrompt::Critical), "Ouverture de la base de données impossible.",
                              "Impossible d\"établir la connexion avec X.db.", CPrompt::Ok}));
        QVERIFY(QSqlDatabase::contains(QStringLiteral("X.db")) && !QFile::exists(dir));   // stays registered under its name
    }

    void selectors_data()
    {
        QTest::addColumn<Search>("search");
        auto add = [](const QString &what, const char *sel, const char *db, const QStringList &columns, const QStringList &rows,
                      const char *key, bool exact, const QStringList &expected) {
            QTest::newRow(qPrintable(what)) << Search{sel, db, columns, rows, QString::fromUtf8(key), exact, expected};
        };
        // APT, NAV and WPT search ukey, then iden (both as prefixes), then name
        // (contained); the first column that matches supplies every row.
        const QStringList named = {"LFPG|LFPG|PARIS CHARLES DE GAULLE", "LFPO|LFPO|PARIS ORLY", "XLF1|LFXX|AIRFIELD LF TEST",
                                   "ABC|ZZZ|name", "Q\"1|Q'1|O'Hare \"Intl\"", "P%1|P_1|100% CLUB"};
        for (const char *sel : {"selectAPT", "selectNAV", "selectWPT"}) {
            auto row = [&](const char *what, const char *key, bool exact, const QStringList &expected) {
                add(QString::fromLatin1(sel) + QStringLiteral(": ") + QLatin1String(what), sel, QByteArray(sel).endsWith("WPT") ? "WPT" : "GEN",
                    {"ukey", "iden", "name"}, named, key, exact, expected);
            };
            row("key prefix first, any ASCII case", "lf", false, {"LFPG", "LFPO"});
            row("ident prefix when no key matches", "LFX", false, {"XLF1"});
            row("name contained when no key or ident matches", "GAULLE", false, {"LFPG"});
            row("name contained, any ASCII case", "orly", false, {"LFPO"});
            row("ident is a prefix, not contained", "FXX", false, {});
            row("exact key", "LFPG", true, {"LFPG"});
            row("exact is case-sensitive", "lfpg", true, {});
            row("exact ident", "LFXX", true, {"XLF1"});
            row("empty near key matches every row", "", false, {"ABC", "LFPG", "LFPO", "P%1", "Q\"1", "XLF1"});
            row("double quote in an exact key", "Q\"1", true, {"Q\"1"});
            row("percent is no wildcard", "%", false, {"P%1"});
            row("underscore is no wildcard", "_", false, {});
            row("backslash is no escape", "\\", false, {});
            row("statement text in a key", "x\" OR 1=1 --", false, {});
        }
        // COM: airport key, name (prefixes), key (contained).
        const QStringList com = {"LFPG1|LFPG|ATIS", "LFPG2|LFPG|TOWER", "LFPO1|LFPO|DE GAULLE TWR", "XXPG9|EGLL|LFPG RADAR"};
        const QStringList comColumns = {"ckey", "capt", "cnam"};
        add("COM: airport first", "selectCOM", "GEN", comColumns, com, "LFPG", false, {"LFPG1", "LFPG2"});
        add("COM: name prefix next", "selectCOM", "GEN", comColumns, com, "TOW", false, {"LFPG2"});
        add("COM: name is a prefix, not contained", "selectCOM", "GEN", comColumns, com, "GAULLE", false, {});
        add("COM: key contained last", "selectCOM", "GEN", comColumns, com, "PG", false, {"LFPG1", "LFPG2", "XXPG9"});
        // ILS: airport, ident (prefixes), name, key (contained).
        const QStringList ils = {"LFPG08L|LFPG|GLE|LFPG 08L ILS-cat-III", "LFPO06|LFPO|OLN|LFPO 06 ILS", "EGLL27R|EGLL|ILL|HEATHROW 27R"};
        const QStringList ilsColumns = {"ikey", "iapt", "iils", "name"};
        add("ILS: airport first", "selectILS", "GEN", ilsColumns, ils, "LFP", false, {"LFPG08L", "LFPO06"});
        add("ILS: ident next", "selectILS", "GEN", ilsColumns, ils, "ILL", false, {"EGLL27R"});
        add("ILS: name contained next", "selectILS", "GEN", ilsColumns, ils, "cat", false, {"LFPG08L"});
        add("ILS: key contained last", "selectILS", "GEN", ilsColumns, ils, "O06", false, {"LFPO06"});
        // SIDSTAR: airport, then procedure, both prefixes.
        const QStringList sid = {"AMOGA7A10|LFPG|AMOGA7A", "AMOGA7A20|LFPG|AMOGA7A", "ROMLO6A10|LFPO|ROMLO6A"};
        const QStringList sidColumns = {"skey", "sapt", "strm"};
        add("SIDSTAR: airport prefix, any case", "selectSIDSTAR", "ROUTE", sidColumns, sid, "lfp", false, {"AMOGA7A10", "AMOGA7A20", "ROMLO6A10"});
        add("SIDSTAR: procedure next", "selectSIDSTAR", "ROUTE", sidColumns, sid, "ROM", false, {"ROMLO6A10"});
        add("SIDSTAR: procedure, exact", "selectSIDSTAR", "ROUTE", sidColumns, sid, "AMOGA7A", true, {"AMOGA7A10", "AMOGA7A20"});
        add("SIDSTAR: procedure is a prefix", "selectSIDSTAR", "ROUTE", sidColumns, sid, "MOGA", false, {});
        // One column searched as a prefix.
        const char *single[][3] = {{"selectATSROUTE", "ROUTE", "aaid"}, {"selectRWY", "GEN", "rapt"}, {"selectArcs", "TXY", "aKey"},
                                   {"selectPAVE", "TXY", "aKey"}, {"selectNode", "TXY", "aKey"}, {"selectFNM", "OBJ", "scene"},
                                   {"selectLIGHT", "TXY", "aKey"}, {"selectMOD", "M3D", "name"}, {"selectTEXTURE", "M3D", "xname"}};
        for (const auto &t : single)
            add(QString::fromLatin1(t[0]), t[0], t[1], {t[2]}, {"ABC", "XABC", "abd", "A_C"}, "ab", false, {"ABC", "abd"});
        add("OBJByDay", "selectOBJByDay", "OBJ", {"mday"}, {"15979", "159790", "25979"}, "1597", false, {"15979", "159790"});
        add("OBJByScene: prefix", "selectOBJByScene", "OBJ", {"scn"}, {"101", "1015", "201"}, "101", false, {"101", "1015"});
        add("OBJByScene: exact", "selectOBJByScene", "OBJ", {"scn"}, {"101", "1015"}, "101", true, {"101"});
        // The OSM file has no APT table: every step fails quietly.
        add("no such table", "selectAPT", "OSM", {"ukey"}, {}, "LF", false, {});
    }

    void selectors()
    {
        QFETCH(Search, search);
        QString table = search.selector.mid(6);
        if (table.startsWith(QLatin1String("OBJBy")))
            table = QStringLiteral("OBJ");
        const QString name = open(search.database, table, search.columns, search.rows);
        QSqlQuery q(QSqlDatabase::database(name));
        const bool found = search.selector == QLatin1String("selectOBJByScene")
                ? m_mgr->selectOBJByScene(search.key.toInt(), search.exact, &q)
                : (m_mgr.get()->*selectorByName.value(search.selector))(search.key, search.exact, &q);
        QCOMPARE(found, !search.expected.isEmpty());
        QCOMPARE(q.isValid(), found);
        QStringList got;
        if (found) {
            QCOMPARE(q.record().count(), CSchema::table(search.database, table)->columnCount());   // whole rows, read by position
            do
                got << q.value(q.record().indexOf(search.columns.first())).toString();
            while (q.next());
        }
        got.sort();
        QCOMPARE(got, search.expected);
        QVERIFY(m_prompt->records.isEmpty());
    }

    // Every row of the key goes, and only those: no pattern, case kept.
    void deleters_data()
    {
        QTest::addColumn<Search>("search");
        const char *targets[][4] = {
            {"deleteBDRY", "ROUTE", "BDRY", "bkey"}, {"deleteSIDSTAR", "ROUTE", "SIDSTAR", "strm"}, {"deleteATSROUTE", "ROUTE", "ATSROUTE", "aaid"},
            {"deleteFNM", "OBJ", "FNM", "scene"}, {"deleteTEXTURE", "M3D", "TEXTURE", "xname"}, {"deleteMOD", "M3D", "MOD", "name"},
            {"deleteLIGHT", "TXY", "Light", "aKey"}, {"deletePAVE", "TXY", "Pave", "aKey"}, {"deleteRWY", "GEN", "RWY", "rapt"},
            {"deleteCOM", "GEN", "COM", "capt"}, {"deleteILS", "GEN", "ILS", "iapt"}, {"deleteWPT", "WPT", "WPT", "ukey"},
            {"deleteNAV", "GEN", "NAV", "ukey"}, {"deleteAPT", "GEN", "APT", "ukey"}, {"deleteOBJByScene", "OBJ", "OBJ", "scn"},
            {"deleteOBJByDay", "OBJ", "OBJ", "mday"}};
        for (const auto &t : targets) {
            // Two rows carry the key where the table's UNIQUE constraint allows it.
            const bool unique = !CSchema::table(t[1], t[2])->unique.isEmpty();
            QTest::newRow(t[0]) << Search{t[0], t[1], {t[2], t[3]}, QStringList({"K1", "K10", "k1"}) + QStringList(unique ? 0 : 1, "K1"), "K1", true, {"K10", "k1"}};
        }
        const QStringList apt = {"K1", "Q\"1", "K%"};
        QTest::newRow("double quote in the key") << Search{"deleteAPT", "GEN", {"APT", "ukey"}, apt, "Q\"1", true, {"K%", "K1"}};
        QTest::newRow("no pattern matching") << Search{"deleteAPT", "GEN", {"APT", "ukey"}, apt, "K_", true, {"K%", "K1", "Q\"1"}};
    }

    void deleters()
    {
        QFETCH(Search, search);
        const QString table = search.columns.at(0);
        const QString column = search.columns.at(1);
        // The other columns of a UNIQUE constraint get distinct values.
        QStringList columns{column};
        for (const QString &u : CSchema::table(search.database, table)->unique) {
            if (u.compare(column, Qt::CaseInsensitive) != 0)
                columns << u;
        }
        QStringList rows;
        for (qsizetype n = 0; n < search.rows.size(); ++n)
            rows << search.rows.at(n) + QStringLiteral("|u%1").arg(n).repeated(columns.size() - 1);
        QSqlQuery q(QSqlDatabase::database(open(search.database, table, columns, rows)));
        QVERIFY((m_mgr.get()->*deleterByName.value(search.selector))(search.key, &q));
        QVERIFY(q.exec(QStringLiteral("SELECT %1 FROM %2").arg(column, table)));
        QStringList remaining;
        while (q.next())
            remaining << q.value(0).toString();
        remaining.sort();
        QCOMPARE(remaining, search.expected);
    }

    // ------------------------------------------------------------- start-up

    void initDBPath_data()
    {
        QTest::addColumn<QByteArray>("ini");         // empty: no ini file
        QTest::addColumn<QStringList>("expected");   // GEN M3D OBJ TXY WPT RTE OSM; %R = simulator folder
        const QString d = QStringLiteral("%R/../../SQL");
        QTest::newRow("no ini file: defaults") << QByteArray() << QStringList(7, d);
        QTest::newRow("relative values cleaned, missing keys default")
                << QByteArray("[Main]\r\nGENDB=X\r\n[SQL]\r\nGENDB=./data/../SQL/\r\nM3DDB=../../Base\r\nOBJDB=a//b\r\nRTEDB=F\r\n")
                << QStringList{"%R/SQL", "%R/../../Base", "%R/a/b", d, d, "%R/F", d};
        QTest::newRow("absolute values unchanged")
                << QByteArray("[SQL]\nGENDB=/srv/sim/../SQL\nM3DDB=D:/Data/SQL\nOBJDB=\"D:\\\\Data\\\\SQL\"\nOSMDB=c:\\\\SQL\n")
                << QStringList{"/srv/sim/../SQL", "D:/Data/SQL", "D:\\Data\\SQL", d, d, d, "c:\\SQL"};
        QTest::newRow("Windows path written without quotes") << QByteArray("[SQL]\nTXYDB=D:\\Data\\SQL\n") << QStringList{d, d, d, "D:\\Data\\SQL", d, d, d};
        QTest::newRow("accented folders in the 8-bit encoding are Latin-1")
                << QByteArray("[SQL]\r\nGENDB=D:\\Donn\xe9" "es\\SQL\r\nOBJDB=Donn\xe9" "es/SQL\r\n")
                << QStringList{"D:\\Données\\SQL", d, "%R/Données/SQL", d, d, d, d};
        QTest::newRow("accented folders in UTF-8 stay UTF-8") << QByteArray("[SQL]\nWPTDB=Donn\xc3\xa9" "es/SQL\n") << QStringList{d, d, d, d, "%R/Données/SQL", d, d};
        QTest::newRow("a value with a comma is one path") << QByteArray("[SQL]\nRTEDB=SQL,old\n") << QStringList{d, d, d, d, d, "%R/SQL,old", d};
    }

    void initDBPath()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, expected);
        SimFixture sim;
        if (!ini.isEmpty())
            QVERIFY(sim.writeIni(ini));
        CGlobalVar c;
        c.dirCorvane.setPath(sim.root());
        c.initDBPath();
        const QStringList got = {c.dirGen.path(), c.dirM3d.path(), c.dirObj.path(), c.dirTxy.path(), c.dirWpt.path(), c.dirRte.path(), c.dirOsm.path()};
        QCOMPARE(got, expected.replaceInStrings(QStringLiteral("%R"), sim.root()));
    }

    void acceptance_data()
    {
        QTest::addColumn<Startup>("startup");
        const QStringList all = {"GEN.db", "M3D.db", "OBJ.db", "TXY.db", "WPT.db", "ROUTE.db"};
        auto with = [&](int index, const QString &name) { return QStringList(all).replaceInStrings(all.at(index), name); };
        auto refused = [](const char *db, int expected, int found, const char *fatal) {
            return QStringLiteral("%1 : La version attendue est %2.\nLa version trouvée est %3.\nLe programme va s'arréter.|Fatal: CGlobalVar::initDB %4")
                    .arg(QLatin1String(db)).arg(expected).arg(found).arg(QLatin1String(fatal));
        };
        auto row = [](const char *name, const Startup &startup) { QTest::newRow(name) << startup; };
        row("every database at its version", {baseFiles, all, {}, {}});
        row("of two acceptable files the last wins; a wrong version goes", {files({}, {"GEN2.db:0", "GEN_old.db:2"}), with(0, "GEN2.db"), {"GEN_old.db"}, {}});
        row("a wrong version after the accepted file keeps it", {files({}, {"OBJ2.db:3"}), all, {"OBJ2.db"}, {}});
        row("the marker ignores case; upper-case .DB is listed", {files({"GEN.db"}, {"gen.db:0", "GEN9.DB:0"}), with(0, "gen.db"), {}, {}});
        row("m3d.db is an M3D file, M3D.DB is not", {files({"M3D.db"}, {"M3D.DB:3", "m3d.db:3"}), with(1, "m3d.db"), {"M3D.DB"}, {}});
        row("files that do not begin with the marker are no candidates",
            {files({}, {"OLD_M3D.db:3", "MyGEN.db:0", "GEN9.sqlite:0"}), all, {"OLD_M3D.db", "MyGEN.db", "GEN9.sqlite"}, {}});
        row("a file that is no database is passed over", {files({}, {"GEN_x.db:x"}), all, {}, {}});
        row("no route database: warning only", {files({"ROUTE.db"}, {}), with(5, ""), {}, {}});
        row("route database of another version: warning", {files({"ROUTE.db"}, {"ROUTE.db:1"}), with(5, ""), {"ROUTE.db"}, {}});
        row("several route databases", {files({}, {"ROUTE_EU.db:0"}), with(5, "ROUTE_EU.db"), {}, {}});
        row("GEN: the last wrong version is reported", {files({"GEN.db"}, {"GEN.db:1", "GEN2.db:3"}), {"M3D.db"}, {}, refused("GEN", 0, 3, ": GEN : erreur de version")});
        row("GEN: the file is no database", {files({"GEN.db"}, {"GEN.db:x", "MyGEN.db:0"}), {"MyGEN.db", "M3D.db"}, {}, refused("GEN", 0, -1, ": GEN : erreur de version")});
        row("no M3D file (M3D.DB is none): found -1 after GEN read 0",
            {files({"M3D.db"}, {"M3D.DB:3"}), {"M3D.DB", "OBJ.db"}, {}, refused("M3D", 3, -1, "M3D : erreur de version")});
        row("OBJ at version 3", {files({"OBJ.db"}, {"OBJ.db:3"}), {"TXY.db"}, {}, refused("OBJ", 4, 3, "OBJ : erreur de version")});
        row("TXY at version 0", {files({"TXY.db"}, {"TXY.db:0"}), {"WPT.db"}, {}, refused("TXY", 1, 0, "TXY : erreur de version")});
        row("WPT at version 1", {files({"WPT.db"}, {"WPT.db:1"}), {"ROUTE.db"}, {}, refused("WPT", 0, 1, "WPT : erreur de version")});
    }

    // An accepted tree leaves the chosen files open under their names until
    // the configuration goes; a refused one ends the process after one box.
    void acceptance()
    {
        QFETCH(Startup, startup);
        const auto &[files, expected, unregistered, fatal] = startup;
        SimFixture sim;
        QVERIFY(sim.buildSkeleton());
        for (const QString &entry : files) {
            const QString name = entry.section(u':', 0, 0);
            if (entry.endsWith(QLatin1String(":x"))) {
                QFile f(sim.sqlDir() + u'/' + name);
                QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(4096, 'z')) == 4096);
            } else {
                QVERIFY(sim.createDatabase(name, entry.section(u':', 1).toInt()));
            }
        }
        if (fatal.isEmpty()) {
            {
                CGlobalVar c;
                c.dirCorvane.setPath(sim.root());
                QVERIFY(c.init());
                QCOMPARE(QStringList({c.genName, c.m3dName, c.objName, c.txyName, c.wptName, c.routeName}), expected);
                for (const QString &entry : files)
                    QVERIFY2(QSqlDatabase::contains(entry.section(u':', 0, 0)) != unregistered.contains(entry.section(u':', 0, 0)), qPrintable(entry));
                QVERIFY(m_prompt->records.isEmpty());
            }
            for (const QString &entry : files)
                QVERIFY2(!QSqlDatabase::contains(entry.section(u':', 0, 0)), qPrintable(entry));
            return;
        }
        QTemporaryDir run;
        QProcess helper;
        helper.setWorkingDirectory(run.path());
        helper.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--init"), sim.root()});
        QVERIFY(helper.waitForFinished(300000));
        QCOMPARE(helper.exitStatus(), QProcess::CrashExit);
        const QList<QByteArray> out = helper.readAllStandardOutput().split('\n');
        QCOMPARE(out.size(), 2);   // one box, then the empty rest: init never returned
        QCOMPARE(QJsonDocument::fromJson(out.at(0)).array(),
                 QJsonArray({int(CPrompt::Critical), "Erreur de version de base de données", fatal.section(u'|', 0, 0), CPrompt::Ok}));
        QFile logFile(run.filePath(QStringLiteral("navigator_debug.log")));
        QVERIFY(logFile.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(logFile.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.last(), fatal.section(u'|', 1));
        QCOMPARE(lines.filter(QStringLiteral("Fatal:")).size(), 1);
        for (const QString &file : expected)
            QVERIFY2(lines.filter(QStringLiteral("/%1\"").arg(file)).isEmpty(), qPrintable(file));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--init") == 0)
        return initChild(argv[2]);
    TestData test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_data.moc"
