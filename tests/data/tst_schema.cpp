#include "data/schema.h"
#include "tests/support/simfixture.h"
#include "tools/simtree/simtree.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

class TestSchema : public QObject
{
    Q_OBJECT

private slots:
    void catalogueTableNames();
    void keyColumns_data();
    void keyColumns();
    void waypointIdentBeforeKey();
    void columnCounts_data();
    void columnCounts();
    void descriptorsWellFormed();
    void descriptors_data();
    void descriptors();
    void tableLookup_data();
    void tableLookup();
    void databases();
    void matchesDemoDumps_data();
    void matchesDemoDumps();
    void fixtureCreatesTables_data();
    void fixtureCreatesTables();
    void fixtureUniqueKeysReplace();
};

void TestSchema::catalogueTableNames()
{
    const QStringList expected = {"APT", "COM", "RWY", "ILS", "NAV", "WPT", "Light", "Pave", "MOD", "TEX"};
    QCOMPARE(CSchema::catalogueTableNames(), expected);
    for (const QString &name : expected)
        QVERIFY2(!CSchema::catalogue(name).isEmpty(), qPrintable(name));
}

void TestSchema::keyColumns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::newRow("NAV") << "NAV" << "ukey";
    QTest::newRow("WPT") << "WPT" << "ukey";
    QTest::newRow("APT") << "APT" << "ukey";
    QTest::newRow("COM") << "COM" << "ckey";
    QTest::newRow("ILS") << "ILS" << "ikey";
    QTest::newRow("TEX") << "TEX" << "xname";
    QTest::newRow("unknown") << "NOPE" << "";
    QTest::newRow("stored name is no catalogue name") << "TEXTURE" << "";
}

void TestSchema::keyColumns()
{
    QFETCH(QString, table);
    QFETCH(QString, key);
    QCOMPARE(CSchema::keyColumn(table), key);
}

void TestSchema::waypointIdentBeforeKey()
{
    // Rows written by position put the ident second and the key third in
    // WPT, the other way round in NAV and APT.
    const QList<CField> &wpt = CSchema::catalogue(QStringLiteral("WPT"));
    QCOMPARE(wpt.at(1).name, QStringLiteral("iden"));
    QCOMPARE(wpt.at(2).name, QStringLiteral("ukey"));
    const QList<CField> &nav = CSchema::catalogue(QStringLiteral("NAV"));
    QCOMPARE(nav.at(1).name, QStringLiteral("ukey"));
    QCOMPARE(nav.at(2).name, QStringLiteral("iden"));
    QCOMPARE(CSchema::table("WPT", "WPT")->indexOf("ukey"), 2);
    QCOMPARE(CSchema::table("GEN", "APT")->indexOf("UKEY"), 1);
}

void TestSchema::columnCounts_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("catalogued");
    QTest::newRow("APT") << "GEN" << "APT" << 50 << true;
    QTest::newRow("RWY") << "GEN" << "RWY" << 71 << true;
    QTest::newRow("COM") << "GEN" << "COM" << 12 << true;
    QTest::newRow("ILS") << "GEN" << "ILS" << 14 << true;
    QTest::newRow("NAV") << "GEN" << "NAV" << 17 << true;
    QTest::newRow("CTY") << "GEN" << "CTY" << 2 << true;
    QTest::newRow("WPT") << "WPT" << "WPT" << 16 << true;
    QTest::newRow("SIDSTAR") << "ROUTE" << "SIDSTAR" << 11 << true;
    QTest::newRow("BDRY") << "ROUTE" << "BDRY" << 21 << true;
    QTest::newRow("ATSROUTE") << "ROUTE" << "ATSROUTE" << 26 << true;
    QTest::newRow("airport lights") << "TXY" << "Light" << 8 << true;
    QTest::newRow("Pave") << "TXY" << "Pave" << 5 << true;
    QTest::newRow("MOD") << "M3D" << "MOD" << 13 << true;
    QTest::newRow("TEXTURE") << "M3D" << "TEXTURE" << 4 << true;
    QTest::newRow("SCN") << "M3D" << "SCN" << 3 << false;
    QTest::newRow("FNM") << "OBJ" << "FNM" << 4 << false;
    QTest::newRow("OBJ") << "OBJ" << "OBJ" << 21 << false;
    QTest::newRow("object lights") << "OBJ" << "Light" << 12 << false;
    QTest::newRow("Arcs") << "TXY" << "Arcs" << 9 << false;
    QTest::newRow("Node") << "TXY" << "Node" << 9 << false;
    QTest::newRow("OSM_OBJ") << "OSM" << "OSM_OBJ" << 2 << false;
}

void TestSchema::columnCounts()
{
    QFETCH(QString, database);
    QFETCH(QString, table);
    QFETCH(int, count);
    QFETCH(bool, catalogued);
    const CTable *t = CSchema::table(database, table);
    QVERIFY(t);
    QCOMPARE(t->columnCount(), count);
    QCOMPARE(CSchema::columnNames(database, table).size(), count);
    QCOMPARE(!t->catalogueName.isEmpty(), catalogued);
    if (catalogued)
        QCOMPARE(CSchema::catalogue(t->catalogueName).size(), count);
}

void TestSchema::descriptorsWellFormed()
{
    QCOMPARE(CSchema::catalogue(QStringLiteral("STATE")).size(), 4);
    for (const CTable &t : CSchema::allTables()) {
        QSet<QString> seen;
        for (int i = 0; i < t.fields.size(); ++i) {
            const CField &f = t.fields.at(i);
            const QString where = t.database + u'.' + t.name + u'.' + f.name;
            QVERIFY2(f.position == i, qPrintable(where));
            QVERIFY2(QStringList({"I", "C", "D", "F", "B"}).contains(f.type), qPrintable(where));
            QVERIFY2(f.type == QLatin1String("C") || f.length == 0, qPrintable(where));
            QVERIFY2(!f.sqlType().isEmpty(), qPrintable(where));
            QVERIFY2(!seen.contains(f.name.toLower()), qPrintable(where));
            seen.insert(f.name.toLower());
        }
        QVERIFY(t.key.isEmpty() || t.hasColumn(t.key));
        for (const QString &u : t.unique)
            QVERIFY(t.hasColumn(u));
    }
}

void TestSchema::descriptors_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("description");
    QTest::newRow("APT tile") << "APT" << 0 << "tile" << "I" << 0 << "Tile key";
    QTest::newRow("APT name") << "APT" << 4 << "name" << "C" << 40 << "Name";
    QTest::newRow("APT amag, text without length") << "APT" << 17 << "amag" << "C" << 0 << "Magnetic variation";
    QTest::newRow("APT last") << "APT" << 49 << "ails" << "I" << 0 << "ILS approaches available";
    QTest::newRow("RWY high end id") << "RWY" << 13 << "rhid" << "C" << 4 << "Hi End ID";
    QTest::newRow("RWY high end light 8") << "RWY" << 41 << "rhl8" << "C" << 1 << "Light system 8";
    QTest::newRow("RWY low end id") << "RWY" << 42 << "rlid" << "C" << 4 << "Low End ID";
    QTest::newRow("RWY low end latitude") << "RWY" << 43 << "rlla" << "D" << 0 << "Latitude";
    QTest::newRow("RWY low end RVV") << "RWY" << 59 << "rlvv" << "I" << 0 << "RVV";
    QTest::newRow("RWY low end light 8") << "RWY" << 70 << "rll8" << "C" << 1 << "Light system 8";
    QTest::newRow("NAV frequency is float") << "NAV" << 4 << "nfrq" << "F" << 0 << "NAV frequency";
    QTest::newRow("NAV latitude is float") << "NAV" << 12 << "nlat" << "F" << 0 << "Latitude";
    QTest::newRow("COM key") << "COM" << 1 << "ckey" << "C" << 10 << "COM key";
    QTest::newRow("ILS ident") << "ILS" << 4 << "iils" << "C" << 6 << "ILS identity";
    QTest::newRow("WPT name") << "WPT" << 3 << "name" << "C" << 26 << "WPT name";
    QTest::newRow("WPT NAV key") << "WPT" << 15 << "wnav" << "C" << 10 << "NAV key";
    QTest::newRow("SIDSTAR waypoint id") << "SIDSTAR" << 6 << "swid" << "C" << 0 << "Waypoint ID";
    QTest::newRow("SIDSTAR altitude") << "SIDSTAR" << 8 << "salt" << "F" << 0 << "Altitude";
    QTest::newRow("BDRY country") << "BDRY" << 20 << "bnvc" << "C" << 2 << "Navaid Country";
    QTest::newRow("ATSROUTE level") << "ATSROUTE" << 7 << "levl" << "I" << 0 << "Level";
    QTest::newRow("ATSROUTE last") << "ATSROUTE" << 25 << "lon2" << "D" << 0 << "longitude of navaid 2";
    QTest::newRow("Light spot table") << "Light" << 7 << "vTab" << "B" << 0 << "Spot table";
    QTest::newRow("Pave usage") << "Pave" << 2 << "aUse" << "I" << 0 << "Airport usage (taxiway,parking,etc)";
    QTest::newRow("MOD name") << "MOD" << 0 << "name" << "C" << 256 << "Key: SMF or BIN file name";
    QTest::newRow("MOD index table") << "MOD" << 12 << "xtab" << "B" << 0 << "Index table";
    QTest::newRow("TEX name") << "TEX" << 0 << "xname" << "C" << 32 << "texture name";
    QTest::newRow("CTY name") << "CTY" << 1 << "cnam" << "C" << 40 << "Country name";
    QTest::newRow("state name") << "STATE" << 3 << "name" << "C" << 40 << "State name";
}

void TestSchema::descriptors()
{
    QFETCH(QString, table);
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(int, length);
    QFETCH(QString, description);
    const QList<CField> &fields = CSchema::catalogue(table);
    QVERIFY(position < fields.size());
    const CField &f = fields.at(position);
    QCOMPARE(f.name, name);
    QCOMPARE(f.type, type);
    QCOMPARE(f.length, length);
    QCOMPARE(f.description, description);
    QCOMPARE(f.position, position);
}

void TestSchema::tableLookup_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("firstColumn");
    QTest::newRow("LIGHT in TXY is the airport lights") << "TXY" << "LIGHT" << "Light" << "aKey";
    QTest::newRow("LIGHT in OBJ is the object lights") << "OBJ" << "LIGHT" << "Light" << "xk";
    QTest::newRow("PAVE") << "TXY" << "PAVE" << "Pave" << "aKey";
    QTest::newRow("texture") << "M3D" << "texture" << "TEXTURE" << "xname";
    QTest::newRow("APT is not in WPT") << "WPT" << "APT" << "" << "";
    QTest::newRow("unknown database") << "XYZ" << "APT" << "" << "";
    QTest::newRow("state list is in no database") << "" << "STATE" << "" << "";
}

void TestSchema::tableLookup()
{
    QFETCH(QString, database);
    QFETCH(QString, table);
    QFETCH(QString, stored);
    QFETCH(QString, firstColumn);
    const CTable *t = CSchema::table(database, table);
    if (stored.isEmpty()) {
        QVERIFY(!t);
        QVERIFY(CSchema::columnNames(database, table).isEmpty());
        return;
    }
    QVERIFY(t);
    QCOMPARE(t->name, stored);
    QCOMPARE(t->fields.first().name, firstColumn);
}

void TestSchema::databases()
{
    QCOMPARE(CSchema::databases(), QStringList({"GEN", "M3D", "OBJ", "TXY", "WPT", "ROUTE", "OSM"}));
    QCOMPARE(CSchema::tableNames("GEN"), QStringList({"APT", "RWY", "COM", "ILS", "NAV", "CTY"}));
    QCOMPARE(CSchema::tableNames("M3D"), QStringList({"MOD", "TEXTURE", "SCN"}));
    QCOMPARE(CSchema::tableNames("OBJ"), QStringList({"FNM", "OBJ", "Light"}));
    QCOMPARE(CSchema::tableNames("TXY"), QStringList({"Arcs", "Light", "Node", "Pave"}));
    QCOMPARE(CSchema::tableNames("WPT"), QStringList({"WPT"}));
    QCOMPARE(CSchema::tableNames("ROUTE"), QStringList({"ATSROUTE", "BDRY", "SIDSTAR"}));
    QCOMPARE(CSchema::tableNames("OSM"), QStringList({"OSM_OBJ"}));
    QVERIFY(CSchema::tableNames(QString()).isEmpty());
}

void TestSchema::matchesDemoDumps_data()
{
    QTest::addColumn<QString>("database");
    for (const QString &db : CSchema::databases())
        QTest::newRow(qPrintable(db)) << db;
}

// The demo dumps were written from the simulator's own table layout: the
// catalogue must declare the same tables, columns, types and constraints.
void TestSchema::matchesDemoDumps()
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
}

void TestSchema::fixtureCreatesTables_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<int>("version");
    QTest::newRow("GEN") << "GEN" << 0;
    QTest::newRow("M3D") << "M3D" << 3;
    QTest::newRow("OBJ") << "OBJ" << 4;
    QTest::newRow("TXY") << "TXY" << 1;
    QTest::newRow("WPT") << "WPT" << 0;
    QTest::newRow("ROUTE") << "ROUTE" << 0;
    QTest::newRow("OSM") << "OSM" << 7;
}

void TestSchema::fixtureCreatesTables()
{
    QFETCH(QString, database);
    QFETCH(int, version);
    SimFixture sim;
    QVERIFY(sim.buildSkeleton());
    const QString file = database + QStringLiteral(".db");
    QVERIFY2(sim.createSchemaDatabase(file, database, version), qPrintable(sim.lastError()));
    QVERIFY(!sim.createSchemaDatabase(QStringLiteral("x.db"), QStringLiteral("NOPE"), 0));

    const QString name = QStringLiteral("schema-") + database;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(sim.sqlDir()).filePath(file));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
        QCOMPARE(q.value(0).toInt(), version);
        for (const CTable *t : CSchema::tables(database)) {
            QVERIFY(q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(t->name)));
            QStringList columns;
            QStringList types;
            while (q.next()) {
                columns << q.value(1).toString();
                types << q.value(2).toString();
            }
            QCOMPARE(columns, t->columnNames());
            QStringList expectedTypes;
            for (const CField &f : t->fields)
                expectedTypes << f.sqlType();
            QCOMPARE(types, expectedTypes);
            // Read back by position, as the program reads rows.
            QVERIFY(q.exec(QStringLiteral("SELECT * FROM %1").arg(t->name)));
            QCOMPARE(q.record().count(), t->columnCount());
        }
    }
    QSqlDatabase::removeDatabase(name);
}

void TestSchema::fixtureUniqueKeysReplace()
{
    SimFixture sim;
    QVERIFY(sim.buildSkeleton());
    QVERIFY(sim.createSchemaDatabase(QStringLiteral("WPT.db"), QStringLiteral("WPT"), 0));
    QVERIFY(sim.exec(QStringLiteral("WPT.db"),
                     QStringLiteral("REPLACE INTO WPT (iden, ukey, name) VALUES ('A', 'AFR', 'one');"
                                    "REPLACE INTO WPT (iden, ukey, name) VALUES ('A', 'AFR', 'two');"
                                    "REPLACE INTO WPT (iden, ukey, name) VALUES ('A', 'AFR1', 'three');")));
    QVERIFY(sim.createSchemaDatabase(QStringLiteral("ROUTE.db"), QStringLiteral("ROUTE"), 0));
    QVERIFY(sim.exec(QStringLiteral("ROUTE.db"),
                     QStringLiteral("REPLACE INTO BDRY (bkey, bseg) VALUES ('B', 1);"
                                    "REPLACE INTO BDRY (bkey, bseg) VALUES ('B', 1);"
                                    "REPLACE INTO BDRY (bkey, bseg) VALUES ('B', 2);")));
    const QString name = QStringLiteral("schema-unique");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(sim.sqlDir()).filePath(QStringLiteral("WPT.db")));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT ukey, name FROM WPT ORDER BY ukey")));
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toString(), QStringLiteral("two"));
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toString(), QStringLiteral("three"));
        QVERIFY(!q.next());
        QVERIFY(q.exec(QStringLiteral("ATTACH DATABASE '%1' AS r").arg(QDir(sim.sqlDir()).filePath(QStringLiteral("ROUTE.db")))));
        QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM r.BDRY")) && q.next());
        QCOMPARE(q.value(0).toInt(), 2);
    }
    QSqlDatabase::removeDatabase(name);
}

int runSchemaTests(int argc, char **argv)
{
    TestSchema t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_schema.moc"
