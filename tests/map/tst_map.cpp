// The marker scripts and the marker load of the map, the window's map
// slots, the bridge, and the real map page.

#include "app/mainwindow.h"
#include "app/navglobalvar.h"
#include "map/jstext.h"
#include "map/mapbridge.h"
#include "map/markerscript.h"
#include "map/sectionbuilder.h"
#include "map/webpage.h"
#include "tests/support/windowfixture.h"
#include "tools/simtree/simtree.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QToolBar>
#include <QWebEngineProfile>

#include <limits>
#include <memory>

namespace {

// The CREATE TABLE statement of a simulator table, as the demo data has it.
QString createStatement(const QString &table)
{
    for (const char *dump : {"GEN.sql", "WPT.sql", "ROUTE.sql"}) {
        QFile file(SimTree::demoDir() + QStringLiteral("/sql/") + QLatin1String(dump));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QString &statement : SimTree::splitStatements(QString::fromUtf8(file.readAll())))
            if (statement.trimmed().startsWith(QStringLiteral("CREATE TABLE %1 (").arg(table)))
                return statement.trimmed();
    }
    return QString();
}

QString ll(const char *lat, const char *lon)
{
    return QStringLiteral("new google.maps.LatLng(%1,%2)").arg(QLatin1String(lat), QLatin1String(lon));
}

QString atsTo(const char *lat, const char *lon)
{
    return QStringLiteral("addToATS(") + ll(lat, lon) + QStringLiteral("),'ATS'");
}

const QString kInfoPos = QStringLiteral("48 30' 00.00 N - 002 00' 00.00 E");
const QString kShowAts = QStringLiteral("showATS('L',1);showATS('H',1);showATS('B',1)");

QLabel *statusLabel(MainWindow *window, const QString &prefix)
{
    for (QLabel *label : window->form()->statusBar->findChildren<QLabel *>())
        if (label->text().startsWith(prefix))
            return label;
    return nullptr;
}

} // namespace

class MapTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void airports_data();
    void airports();
    void navaids_data();
    void navaids();
    void waypoints();
    void routes_data();
    void routes();
    void runways();
    void sectionsInOrder();

    void readData();
    void layers();
    void centerAndLabels();
    void pageAndBridge();

private:
    QSqlDatabase database(const QStringList &tables, const QStringList &inserts);
    QAction *layerAction(const QString &text) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_dbCount = 0;
    std::unique_ptr<WindowFixture> m_fx;
};

void MapTest::initTestCase()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(!createStatement(QStringLiteral("ATSROUTE")).isEmpty());
    m_fx = std::make_unique<WindowFixture>();
    QVERIFY2(m_fx->prepareDemo(), qPrintable(m_fx->sim.lastError()));
    QVERIFY(m_fx->start(false));
}

void MapTest::init()
{
    m_fx->scripts.clear();
}

void MapTest::cleanupTestCase()
{
    m_fx.reset();
    for (int i = 1; i <= m_dbCount; ++i)
        QSqlDatabase::removeDatabase(QStringLiteral("maptest%1").arg(i));
}

QSqlDatabase MapTest::database(const QStringList &tables, const QStringList &inserts)
{
    const QString name = QStringLiteral("maptest%1").arg(++m_dbCount);
    const QString file = m_dir->filePath(name + QStringLiteral(".db"));
    QString script;
    for (const QString &table : tables)
        script += createStatement(table) + QStringLiteral(";\n");
    for (const QString &insert : inserts)
        script += insert + QStringLiteral(";\n");
    QString error;
    if (!SimTree::runScript(file, script, &error))
        qWarning() << "fixture:" << error;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(file);
    db.open();
    return db;
}

QAction *MapTest::layerAction(const QString &text) const
{
    for (QAction *action : m_fx->ui()->mainToolBar->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// The airport calls, byte for byte: longitudes stored in arc-seconds, and
// hostile texts, each row catching one escape of the title (a JavaScript
// string) or of the info text (HTML inside one).
void MapTest::airports_data()
{
    QTest::addColumn<QString>("iden");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("alon");
    QTest::addColumn<QString>("title");      // as it stands between the quotes of the call
    QTest::addColumn<QString>("infoIden");   // ident and name as the info text has them
    QTest::addColumn<QString>("infoName");
    QTest::addColumn<QString>("lonText");
    QTest::addColumn<QString>("lon");
    const QString e2 = "002 00' 00.00 E";
    QTest::newRow("180 stays 180") << "A" << "N" << QVariant(648000) << "A" << "A" << "N" << "180 00' 00.00 E"
                                   << "180.00000";
    QTest::newRow("past 180 goes west") << "A" << "N" << QVariant(650000) << "A" << "A" << "N" << "179 26' 40.00 W"
                                        << "-179.44444";
    QTest::newRow("whole minute, seconds carried") << "A" << "N" << QVariant(9600) << "A" << "A" << "N"
                                                   << "002 40' 00.00 E" << "2.66667";
    QTest::newRow("minus 360 is 0") << "A" << "N" << QVariant(-1296000) << "A" << "A" << "N" << "000 00' 00.00 E"
                                    << "0.00000";
    QTest::newRow("NULL counts as 0") << "A" << "N" << QVariant() << "A" << "A" << "N" << "000 00' 00.00 E" << "0.00000";
    QTest::newRow("double quote, script end") << "K" << "O'Hare \"Intl\" </script>" << QVariant(7200) << "K" << "K"
                                              << "O'Hare &quot;Intl&quot; &lt;/script&gt;" << e2 << "2.00000";
    QTest::newRow("quote in the title") << "A\"B" << "x" << QVariant(7200) << "A\\\"B" << "A&quot;B" << "x" << e2
                                        << "2.00000";
    QTest::newRow("backslash") << "A\\B" << "C:\\new" << QVariant(7200) << "A\\\\B" << "A\\\\B" << "C:\\\\new"
                               << e2 << "2.00000";
    QTest::newRow("line breaks") << "LF" << "a\nb\rc" << QVariant(7200) << "LF" << "LF" << "a\\nb\\rc" << e2 << "2.00000";
    QTest::newRow("line separators") << "LS" << QString::fromUtf8("x\u2028y\u2029z") << QVariant(7200) << "LS" << "LS"
                                     << "x\\u2028y\\u2029z" << e2 << "2.00000";
}

void MapTest::airports()
{
    QFETCH(QString, iden);
    QFETCH(QString, name);
    QFETCH(QVariant, alon);
    QFETCH(QString, title);
    QFETCH(QString, infoIden);
    QFETCH(QString, infoName);
    QFETCH(QString, lonText);
    QFETCH(QString, lon);
    QSqlDatabase db = database({QStringLiteral("APT")}, {});
    QSqlQuery insert(db);
    QVERIFY(insert.prepare(QStringLiteral("INSERT INTO APT (ukey, iden, name, alat, alon) VALUES "
                                          "(?, ?, ?, 174600, ?), ('LFPO', 'LFPO', 'PARIS ORLY', -174600, 7200)")));
    for (const QVariant &v : {QVariant(iden), QVariant(iden), QVariant(name), alon})
        insert.addBindValue(v);
    QVERIFY(insert.exec());
    const QString expected = "addAPTMarker(" + ll("48.50000", qPrintable(lon)) + ",\"" + title
            + "\",1,\"<font color=blue><b>Airport " + infoIden + "</b><font color=black><br/>" + infoName
            + "<br/>48 30' 00.00 N - " + lonText + "\");addAPTMarker(" + ll("-48.50000", "2.00000")
            + ",\"LFPO\",1,\"<font color=blue><b>Airport LFPO</b><font color=black><br/>PARIS ORLY<br/>"
              "48 30' 00.00 S - 002 00' 00.00 E\");pushAPT();";
    QCOMPARE(CMarkerScript::airports(db).script, expected);
    // With the airport layer off at start, the batch hides them again.
    QCOMPARE(CMarkerScript::airports(db, false).script, expected + QStringLiteral(";ArptMgr.clearMarkers()"));
    // An empty table, a missing table, no connection: nothing to send.
    QVERIFY(CMarkerScript::airports(database({QStringLiteral("APT")}, {})).script.isEmpty());
    QVERIFY(CMarkerScript::airports(database({QStringLiteral("NAV")}, {})).script.isEmpty());
    QVERIFY(CMarkerScript::airports(QSqlDatabase()).script.isEmpty());
}

void MapTest::navaids_data()
{
    QTest::addColumn<QString>("row");  // ukey, iden, name, nfrq, ntyp, nuse
    QTest::addColumn<QString>("expected");
    const QString head = QStringLiteral("(") + ll("48.50000", "2.00000") + QStringLiteral(",\"");
    QTest::newRow("ntyp 24 is an NDB with its usage") << "'FR7PGS1', 'PGS', 'PONTOISE NDB-DME', 356, 24, 4"
            << "addNDBMarker" + head + "PGS-FR7PGS1\",4,\"<font color=blue><b>NDB PGS</b><font color=black><br/>"
                                       "PONTOISE NDB-DME<br/>356 Khz<br/>" + kInfoPos + "\")";
    QTest::newRow("ntyp 8 is an NDB") << "'FR5CT1', 'CT', 'CHATEAUDUN', 368.5, 8, 2"
            << "addNDBMarker" + head + "CT-FR5CT1\",2,\"<font color=blue><b>NDB CT</b><font color=black><br/>"
                                       "CHATEAUDUN<br/>368.5 Khz<br/>" + kInfoPos + "\")";
    QTest::newRow("ntyp 7 is a VOR with 7, dashes in ident and key")
            << "'FR-4', 'P-G', 'PONTOISE \"VOR\"', 117.05, 7, 3"
            << "addVORMarker" + head + "P-G-FR-4\",7,\"<font color=blue><b>VOR P-G</b><font color=black><br/>"
                                       "PONTOISE &quot;VOR&quot;<br/>117.05 Mhz<br/>" + kInfoPos + "\")";
    QTest::newRow("NULL type is a VOR with 0") << "'K1', 'X', 'NOTHING', NULL, NULL, NULL"
            << "addVORMarker" + head + "X-K1\",0,\"<font color=blue><b>VOR X</b><font color=black><br/>"
                                       "NOTHING<br/>0 Mhz<br/>" + kInfoPos + "\")";
}

void MapTest::navaids()
{
    QFETCH(QString, row);
    QFETCH(QString, expected);
    const QSqlDatabase db = database(
            {QStringLiteral("NAV")},
            {QStringLiteral("INSERT INTO NAV (ukey, iden, name, nfrq, ntyp, nuse, nlat, nlon) VALUES (%1, 174600, 7200)")
                     .arg(row)});
    QCOMPARE(CMarkerScript::navaids(db, CMarkerLayers()).script,
             expected + ";addNavMgr();;VORMgr.addMarkers(listVOR);NDBRteMgr.addMarkers(listNDBRte);"
                        "NDBTermMgr.addMarkers(listNDBTerm)");
}

void MapTest::waypoints()
{
    const QSqlDatabase db = database(
            {QStringLiteral("WPT")},
            {QStringLiteral("INSERT INTO WPT (iden, ukey, name, wloc, wuse, wlat, wlon) VALUES "
                            "('NE', 'NE-FR1', 'N-E', 78, 6, 174600, 7200), ('OTHER', 'OTHERFR', 'OTHER', 77, 1, 0, 0), "
                            "('ABC', 'ABCFR', 'L''ABC', '78', 4, 174600, 1303200)")});
    CMarkerLayers layers;
    layers.wptTerm = false;
    const CMarkerSection section = CMarkerScript::waypoints(db, layers);
    QCOMPARE(section.count, 2);
    QCOMPARE(section.script, "addWPTMarker(" + ll("48.50000", "2.00000")
                     + ",\"N-E-NE-FR1\",6,\"<font color=blue><b>Waypoint NE</b><font color=black><br/>N-E (6)<br/>"
                     + kInfoPos + "\");addWPTMarker(" + ll("48.50000", "2.00000")
                     + ",\"L'ABC-ABCFR\",4,\"<font color=blue><b>Waypoint ABC</b><font color=black><br/>L'ABC (4)<br/>"
                     + kInfoPos + "\");addWptMgr();;WPTRteMgr.addMarkers(listWptRte);WPTTermMgr.clearMarkers();"
                                  "WPTVfrMgr.addMarkers(listWptVfr)");
}

void MapTest::routes_data()
{
    QTest::addColumn<QStringList>("rows");  // aaid, levl, nvc1, nvc2, lat1, lon1, lat2, lon2 (degrees)
    QTest::addColumn<bool>("atsL");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("count");
    const QString a45 = "addATS('L');" + atsTo("45.00000", "1.00000") + ";" + atsTo("46.00000", "1.00000") + ";";
    QTest::newRow("a chain is one line")
            << QStringList{"'A1','L','FR','FR',45,1,46,1", "'A1','L','FR','FR',46,1,47,2"} << true
            << a45 + atsTo("47.00000", "2.00000") + ";" + kShowAts << 2;
    QTest::newRow("other countries are not sent")
            << QStringList{"'B2','H','DE','DE',50,7,51,8", "'B3','H','DE','FR',49,7,48,6"} << true
            << "addATS('H');" + atsTo("49.00000", "7.00000") + ";" + atsTo("48.00000", "6.00000") + ";" + kShowAts << 1;
    QTest::newRow("a gap inside a route starts a new line")
            << QStringList{"'A1','L','FR','FR',45,1,46,1", "'A1','L','FR','FR',40,1,41,1"} << true
            << a45 + "addATS('L');" + atsTo("40.00000", "1.00000") + ";" + atsTo("41.00000", "1.00000") + ";" + kShowAts << 2;
    QTest::newRow("a new route starts a new line even when joined")
            << QStringList{"'A1','L','FR','FR',45,1,46,1", "'B1','H','FR','FR',46,1,47,1"} << true
            << a45 + "addATS('H');" + atsTo("46.00000", "1.00000") + ";" + atsTo("47.00000", "1.00000") + ";" + kShowAts << 2;
    QTest::newRow("a skipped row breaks the line")
            << QStringList{"'A1','L','FR','FR',45,1,46,1", "'A1','L','DE','DE',46,1,47,1", "'A1','L','FR','FR',47,1,48,1"}
            << true
            << a45 + "addATS('L');" + atsTo("47.00000", "1.00000") + ";" + atsTo("48.00000", "1.00000") + ";" + kShowAts << 2;
    QTest::newRow("rows but none used") << QStringList{"'B2','H','DE','DE',50,7,51,8"} << true << kShowAts << 0;
    QTest::newRow("empty table") << QStringList() << true << QString() << 0;
    QTest::newRow("low routes hidden") << QStringList{"'A1','L','FR','FR',45,1,46,1"} << false
                                       << a45 + "showATS('L',0);showATS('H',1);showATS('B',1)" << 1;
    QTest::newRow("level text cannot leave its quotes") << QStringList{"'A1','''x','FR','FR',45,1,46,1"} << true
            << "addATS('\\'');" + atsTo("45.00000", "1.00000") + ";" + atsTo("46.00000", "1.00000") + ";" + kShowAts << 1;
}

void MapTest::routes()
{
    QFETCH(QStringList, rows);
    QFETCH(bool, atsL);
    QFETCH(QString, expected);
    QFETCH(int, count);
    QStringList inserts;
    for (const QString &row : rows) {
        QStringList v = row.split(u',');
        for (int i = 4; i < 8; ++i)
            v[i] = QString::number(v[i].toInt() * 3600);
        inserts << QStringLiteral("INSERT INTO ATSROUTE (akey, aaid, levl, nvc1, nvc2, lat1, lon1, lat2, lon2) "
                                  "VALUES ('K%1', %2)").arg(inserts.size()).arg(v.join(u','));
    }
    CMarkerLayers layers;
    layers.atsL = atsL;
    const CMarkerSection section = CMarkerScript::routes(database({QStringLiteral("ATSROUTE")}, inserts), layers);
    QCOMPARE(section.script, expected);
    QCOMPARE(section.count, count);
}

void MapTest::runways()
{
    const QSqlDatabase db = database(
            {QStringLiteral("RWY")},
            {QStringLiteral("INSERT INTO RWY (nseq, rapt, rhla, rhlo, rlla, rllo) VALUES (1, 'LFPO', 174600, 7200, 176400, 10800), "
                            "(2, 'LFPO', 0, 648000, 3600, 650000), (3, 'LFPO', -3600, -3600, NULL, 'x')")});
    QSqlQuery query(db);
    QVERIFY(query.exec(QStringLiteral("SELECT * FROM RWY")));
    QVERIFY(query.next());
    QCOMPARE(CMarkerScript::runways(query),
             "clearRunway();drawRwy(" + ll("48.50000", "2.00000") + "," + ll("49.00000", "3.00000") + ");drawRwy("
                     + ll("0.00000", "180.00000") + "," + ll("1.00000", "-179.44444") + ");drawRwy("
                     + ll("-1.00000", "-1.00000") + "," + ll("0.00000", "0.00000") + ");");
    // A longitude of -0 (as a page may report it) prints as 0.
    QCOMPARE(JsText::fixed(JsText::arcSecondsInTurn(-0.0), 2), QStringLiteral("0.00"));
}

// The sections are read on a thread, each over a connection of its own,
// and come out in order, each as its pieces then its end; a database in
// memory, a missing connection, and a section that gives no rows on the
// thread are read on the caller's thread in their turn.
void MapTest::sectionsInOrder()
{
    const QString wptRows = QStringLiteral("INSERT INTO WPT (iden, ukey, name, wloc, wuse, wlat, wlon) VALUES "
                                           "('NE', 'NEFR1', 'N\u00e9', 78, 6, 174600, 7200), "
                                           "('ABC', 'ABCFR', 'L''ABC', 78, 4, -174600, 1303200), "
                                           "('XY', 'XYFR', 'XY', 78, 1, 0, 0)");
    const QSqlDatabase file = database({QStringLiteral("WPT")}, {wptRows});
    const QSqlDatabase empty = database({QStringLiteral("WPT")}, {});
    {
        QSqlDatabase memory = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maptest-memory"));
        memory.setDatabaseName(QStringLiteral(":memory:"));
        QVERIFY(memory.open());
        QSqlQuery query(memory);
        QVERIFY(query.exec(createStatement(QStringLiteral("WPT"))));
        QVERIFY(query.exec(wptRows));
    }
    CMarkerLayers layers;
    layers.wptVfr = false;
    const QString whole = CMarkerScript::waypoints(file, layers).script;

    // Which threads read each section; pieces of one call each.
    QList<QStringList> readOn(4);
    const auto section = [&](const QString &connection, int index) {
        return CSectionBuilder::Section{connection, [&readOn, index](const QSqlDatabase &db, const CMarkerSink &sink) {
                                            readOn[index] << (QThread::currentThread() == qApp->thread()
                                                                      ? QStringLiteral("caller") : QStringLiteral("thread"));
                                            return CMarkerScript::calls(CMarkerKind::Waypoints, db, QString(), sink, 1);
                                        }};
    };
    const QStringList before = QSqlDatabase::connectionNames();
    QStringList events;
    QList<QStringList> texts(4);
    {
        CSectionBuilder builder({section(QStringLiteral("maptest-memory"), 0), section(file.connectionName(), 1),
                                 section(empty.connectionName(), 2), section(QStringLiteral("no-such-connection"), 3)});
        connect(&builder, &CSectionBuilder::piece, this, [&](int i, const QString &calls) {
            events << QStringLiteral("p%1").arg(i);
            texts[i] << calls;
        });
        connect(&builder, &CSectionBuilder::sectionEnd, this, [&](int i, const CMarkerSection &rest) {
            events << QStringLiteral("e%1:%2").arg(i).arg(rest.count);
            if (rest.hasRows)
                texts[i] << CMarkerScript::closed(rest.script, CMarkerScript::closing(CMarkerKind::Waypoints, layers));
        });
        QSignalSpy finished(&builder, &CSectionBuilder::finished);
        builder.start();
        QVERIFY(finished.wait(30000));
    }
    QCOMPARE(events.join(u' '), QStringLiteral("p0 p0 e0:3 p1 p1 e1:3 e2:0 e3:0"));
    QCOMPARE(texts[0].join(u';'), whole);
    QCOMPARE(texts[1].join(u';'), whole);
    QCOMPARE(readOn, QList<QStringList>({{"caller"}, {"thread"}, {"thread", "caller"}, {"caller"}}));
    // Its own connections are gone with it.
    QCOMPARE(QSqlDatabase::connectionNames(), before);
    QSqlDatabase::removeDatabase(QStringLiteral("maptest-memory"));
}

// The window's load of the demo tree: the four sections in order, in
// pieces of whole calls that joined are the sections' scripts byte for byte.
void MapTest::readData()
{
    CNavGlobalVar *config = CNavGlobalVar::instance();
    QVERIFY(QMetaObject::invokeMethod(m_fx->window(), "readDataFromDB"));
    QVERIFY(m_fx->scripts.isEmpty());   // nothing before the event loop runs again
    QTRY_VERIFY(!m_fx->window()->findChild<CSectionBuilder *>());
    const CMarkerLayers layers;
    const QString sections = QStringList{
            CMarkerScript::airports(QSqlDatabase::database(config->genName)).script,
            CMarkerScript::navaids(QSqlDatabase::database(config->genName), layers).script,
            CMarkerScript::waypoints(QSqlDatabase::database(config->wptName), layers).script,
            CMarkerScript::routes(QSqlDatabase::database(config->routeName), layers).script}.join(u';');
    QCOMPARE(m_fx->scripts.join(u';'), sections);
    QVERIFY(m_fx->scripts.size() > 4);
    for (const QString &script : std::as_const(m_fx->scripts))
        QVERIFY(script.size() < 2 * CMarkerScript::PieceChars);
    QVERIFY(sections.startsWith(QStringLiteral("addAPTMarker(")));
    QCOMPARE(sections.count(QStringLiteral("addAPTMarker(")), 859);
}

// A layer switch sends its script at once; switched off once the load has
// begun, the navaids still end as the user left it.
void MapTest::layers()
{
    QAction *vor = layerAction(QStringLiteral("VOR"));
    QAction *high = layerAction(QStringLiteral("ATS High"));
    QAction *boundary = layerAction(QString::fromUtf8("Zone de contôle"));
    QVERIFY(vor && high && boundary && vor->isChecked());
    QVERIFY(QMetaObject::invokeMethod(m_fx->window(), "readDataFromDB"));
    vor->trigger();
    QTRY_VERIFY(!m_fx->window()->findChild<CSectionBuilder *>());
    QCOMPARE(m_fx->scripts.first(), QStringLiteral("VORMgr.clearMarkers()"));
    QVERIFY(m_fx->scripts.join(u';').contains(";addNavMgr();;VORMgr.clearMarkers();NDBRteMgr.addMarkers(listNDBRte);"));
    m_fx->scripts.clear();
    vor->trigger();
    high->trigger();
    boundary->trigger();
    high->trigger();
    boundary->trigger();
    QCOMPARE(m_fx->scripts, QStringList({"VORMgr.addMarkers(listVOR)", "showATS('H',0)", "showATS('H',1)"}));
}

// What the page reports lands in the status bar as plain text, and the
// start-up view goes to the page.
void MapTest::centerAndLabels()
{
    MainWindow *w = m_fx->window();
    w->doCenter(-45.5, -721.0);
    QLabel *center = statusLabel(w, QStringLiteral("Centre: "));
    QVERIFY(center);
    QCOMPARE(center->text(), QStringLiteral("Centre: -45.50000  -721.00000\n -163800.00 1292400.00\n"
                                            "45 30' 00.00\" S 001 00' 00.00\" W"));
    w->doCenter(std::numeric_limits<double>::quiet_NaN(), 1.0);
    w->doCenter(1.0, std::numeric_limits<double>::infinity());
    QVERIFY(center->text().startsWith(QStringLiteral("Centre: -45.50000  -721.00000\n")));

    w->doZoom(12);
    QVERIFY(statusLabel(w, QStringLiteral("Zoom: 12")));
    const QString data = QStringLiteral("<b>Data</b> & <img src=x>");
    w->doData(data);
    QLabel *label = statusLabel(w, QStringLiteral("<b>Data"));
    QVERIFY(label);
    QCOMPARE(label->text(), data);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(m_fx->scripts.isEmpty());
}

// The page's own profile keeps nothing and names itself as the tile
// servers expect; the bridge the page's channel publishes outlives a
// deleteLater() called from the page.
void MapTest::pageAndBridge()
{
    QWebEngineProfile *profile = m_fx->window()->page()->profile();
    QVERIFY(profile->isOffTheRecord());
    QCOMPARE(profile->httpCacheType(), QWebEngineProfile::NoCache);
    QCOMPARE(profile->httpUserAgent(),
             QStringLiteral("Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/535.2 (KHTML, like Gecko) "
                            "Chrome/15.0.874.121 Safari/535.2"));
    QPointer<CMapBridge> bridge = m_fx->window()->findChild<CMapBridge *>();
    QVERIFY(bridge);
    QVERIFY(QMetaObject::invokeMethod(bridge, "deleteLater"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(bridge);
    bridge->doZoom(8);
    QVERIFY(statusLabel(m_fx->window(), QStringLiteral("Zoom: 8")));
}

QTEST_MAIN(MapTest)
#include "tst_map.moc"
