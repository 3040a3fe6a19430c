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
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMetaMethod>
#include <QPointer>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <QToolBar>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// Every message of the program during a test, as (type, text).
struct LogLine {
    QtMsgType type;
    QString text;
};
QList<LogLine> g_log;

void captureLog(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    g_log.append({type, message});
}

QStringList logTexts(QtMsgType type)
{
    QStringList out;
    for (const LogLine &line : std::as_const(g_log))
        if (line.type == type)
            out << line.text;
    return out;
}

QStringList logContaining(const QString &part)
{
    QStringList out;
    for (const LogLine &line : std::as_const(g_log))
        if (line.text.contains(part))
            out << line.text;
    return out;
}

// The CREATE TABLE statement of a simulator table, as the demo data has it.
QString createStatement(const QString &table)
{
    for (const char *dump : {"GEN.sql", "WPT.sql", "ROUTE.sql"}) {
        QFile file(SimTree::demoDir() + QStringLiteral("/sql/") + QLatin1String(dump));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString prefix = QStringLiteral("CREATE TABLE %1 (").arg(table);
        for (const QString &statement : SimTree::splitStatements(QString::fromUtf8(file.readAll())))
            if (statement.trimmed().startsWith(prefix))
                return statement.trimmed();
    }
    return QString();
}

QString ll(const char *lat, const char *lon)
{
    return QStringLiteral("new google.maps.LatLng(%1,%2)").arg(QLatin1String(lat), QLatin1String(lon));
}

const QString kInfoPos = QStringLiteral("48 30' 00.00 N - 002 00' 00.00 E");
const QString kNavTail = QStringLiteral(
        "addNavMgr();;VORMgr.addMarkers(listVOR);NDBRteMgr.addMarkers(listNDBRte);NDBTermMgr.addMarkers(listNDBTerm)");
const QString kWptTail = QStringLiteral("addWptMgr();;WPTRteMgr.addMarkers(listWptRte);"
                                        "WPTTermMgr.addMarkers(listWptTerm);WPTVfrMgr.addMarkers(listWptVfr)");
const QString kShowAts = QStringLiteral("showATS('L',1);showATS('H',1);showATS('B',1)");

QString atsTo(const char *lat, const char *lon)
{
    return QStringLiteral("addToATS(") + ll(lat, lon) + QStringLiteral("),'ATS'");
}

QStringList lines(const QTextEdit *edit)
{
    return edit->toPlainText().split(u'\n');
}

// Makes `html` the page's file (the page shows no other) and loads it.
void loadPageFile(myWebPage *page, const QTemporaryDir &dir, const QByteArray &html)
{
    const QString path = dir.filePath(QStringLiteral("page.html"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(html) != html.size())
        qWarning() << "cannot write" << path;
    file.close();
    page->setPageFile(path);
    page->load(QUrl::fromLocalFile(path));
}

} // namespace

class MapTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    // Text helpers.
    void jsNumbers_data();
    void jsNumbers();

    // Scripts built from fixture tables.
    void airports_data();
    void airports();
    void airportsEmptyOrMissing();
    void hostileNames_data();
    void hostileNames();
    void navaids_data();
    void navaids();
    void waypoints();
    void sectionsInOrder();
    void routes_data();
    void routes();
    void runways();

    // The window, on the demo tree, without the page file.
    void readDataFromDemo();
    void readDataWithoutAirports();
    void readDataVorUnchecked();
    void layerSlots_data();
    void layerSlots();
    void dockSlot();
    void initGoogleMap();
    void centerLabel_data();
    void centerLabel();
    void centerIgnoresNoNumber();
    void zoomAndDataLabels();
    void viewRunways();
    void viewRunwaysUnknownAirport();
    void receiveDataAndDoSomething();
    void centerOnPlanPoint();

    // The bridge.
    void bridgeSlots();
    void bridgeForwardsAndSurvivesDeleteLater();

    // A real page in the engine.
    void pageProfile();
    void alertGoesToLog();
    void pageReachesWindowThroughChannel();
    void hostileNamesRunNothing();
    void pageFileByLocale();
    void realPageRoundTrip();

private:
    QSqlDatabase database(const QStringList &tables, const QStringList &inserts);
    QAction *layerAction(const QString &text) const;
    QLabel *statusLabel(const QString &prefix) const;
    static QLabel *statusLabel(MainWindow *window, const QString &prefix);
    // Waits until the page has run `script` and returns its value.
    QVariant evaluate(QWebEnginePage *page, const QString &script);

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_dbCount = 0;
    std::unique_ptr<WindowFixture> m_fx;
    QtMessageHandler m_previousHandler = nullptr;
};

void MapTest::initTestCase()
{
    m_previousHandler = qInstallMessageHandler(captureLog);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(!createStatement(QStringLiteral("ATSROUTE")).isEmpty());

    m_fx = std::make_unique<WindowFixture>();
    QVERIFY2(m_fx->prepareDemo(), qPrintable(m_fx->sim.lastError()));
    QVERIFY(m_fx->start(false));
}

void MapTest::init()
{
    g_log.clear();
    if (m_fx)
        m_fx->scripts.clear();
}

void MapTest::cleanupTestCase()
{
    m_fx.reset();
    for (int i = 1; i <= m_dbCount; ++i)
        QSqlDatabase::removeDatabase(QStringLiteral("maptest%1").arg(i));
    qInstallMessageHandler(m_previousHandler);
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

QLabel *MapTest::statusLabel(const QString &prefix) const
{
    return statusLabel(m_fx->window(), prefix);
}

QLabel *MapTest::statusLabel(MainWindow *window, const QString &prefix)
{
    for (QLabel *label : window->form()->statusBar->findChildren<QLabel *>())
        if (label->text().startsWith(prefix))
            return label;
    return nullptr;
}

QVariant MapTest::evaluate(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 30000))
        qWarning() << "no answer from the page for" << script;
    return result;
}

// --- text helpers --------------------------------------------------------------

void MapTest::jsNumbers_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    QTest::newRow("minus one turn is 0, not -0") << JsText::fixed(JsText::degreesInRange(-360), 5) << "0.00000";
    QTest::newRow("a million turns") << JsText::fixed(JsText::degreesInRange(360.0 * 1e6 + 2), 5) << "2.00000";
    QTest::newRow("huge value ends") << QString::number(std::abs(JsText::degreesInRange(1e300)) <= 180) << "1";
    QTest::newRow("negative zero seconds") << JsText::fixed(JsText::arcSecondsInTurn(-0.0), 2) << "0.00";
    QTest::newRow("minus 3600 seconds") << JsText::fixed(JsText::arcSecondsInTurn(-3600), 2) << "1292400.00";
    QTest::newRow("field width pads") << JsText::fixed(1.5, 1, 6) << "   1.5";
    QTest::newRow("width never cuts") << JsText::fixed(-179.444444, 5, 3) << "-179.44444";
    QTest::newRow("general drops zeros") << JsText::general(356.0) << "356";
    QTest::newRow("general six digits") << JsText::general(117.05) << "117.05";
}

void MapTest::jsNumbers()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

// --- scripts from fixture tables ------------------------------------------------

void MapTest::airports_data()
{
    QTest::addColumn<QString>("alon");
    QTest::addColumn<QString>("expectedLon");
    QTest::addColumn<QString>("expectedText");
    QTest::newRow("2 east") << "7200" << "2.00000" << "002 00' 00.00 E";
    QTest::newRow("180 stays 180") << "648000" << "180.00000" << "180 00' 00.00 E";
    QTest::newRow("past 180 goes west") << "650000" << "-179.44444" << "179 26' 40.00 W";
    QTest::newRow("whole minute, seconds carried") << "9600" << "2.66667" << "002 40' 00.00 E";
    QTest::newRow("minus 360 is 0") << "-1296000" << "0.00000" << "000 00' 00.00 E";
    QTest::newRow("350 east") << "1260000" << "-10.00000" << "010 00' 00.00 W";
    QTest::newRow("NULL counts as 0") << "NULL" << "0.00000" << "000 00' 00.00 E";
    QTest::newRow("text counts as 0") << "'abc'" << "0.00000" << "000 00' 00.00 E";
}

void MapTest::airports()
{
    QFETCH(QString, alon);
    QFETCH(QString, expectedLon);
    QFETCH(QString, expectedText);
    const QSqlDatabase db = database(
            {QStringLiteral("APT")},
            {QStringLiteral("INSERT INTO APT (ukey, iden, name, alat, alon) VALUES "
                            "('LFPG', 'LFPG', 'PARIS CHARLES DE GAULLE', 174600, %1)").arg(alon),
             QStringLiteral("INSERT INTO APT (ukey, iden, name, alat, alon) VALUES "
                            "('LFPO', 'LFPO', 'PARIS ORLY', -174600, 7200)")});
    const CMarkerSection section = CMarkerScript::airports(db);
    QVERIFY(section.hasRows);
    QCOMPARE(section.count, 2);
    const QString expected =
            QStringLiteral("addAPTMarker(new google.maps.LatLng(48.50000,") + expectedLon
            + QStringLiteral("),\"LFPG\",1,\"<font color=blue><b>Airport LFPG</b><font color=black><br/>"
                             "PARIS CHARLES DE GAULLE<br/>48 30' 00.00 N - ")
            + expectedText
            + QStringLiteral("\");addAPTMarker(new google.maps.LatLng(-48.50000,2.00000),\"LFPO\",1,"
                             "\"<font color=blue><b>Airport LFPO</b><font color=black><br/>PARIS ORLY<br/>"
                             "48 30' 00.00 S - 002 00' 00.00 E\");pushAPT();");
    QCOMPARE(section.script, expected);

    // With the airport layer off at start, the batch hides them again.
    QCOMPARE(CMarkerScript::airports(db, false).script, expected + QStringLiteral(";ArptMgr.clearMarkers()"));
}

void MapTest::airportsEmptyOrMissing()
{
    const CMarkerSection empty = CMarkerScript::airports(database({QStringLiteral("APT")}, {}));
    QVERIFY(!empty.hasRows);
    QCOMPARE(empty.count, 0);
    QVERIFY(empty.script.isEmpty());

    // No such table, or no connection at all: nothing, and no failure.
    const CMarkerSection missing = CMarkerScript::airports(database({QStringLiteral("NAV")}, {}));
    QVERIFY(!missing.hasRows);
    QVERIFY(missing.script.isEmpty());
    QVERIFY(CMarkerScript::airports(QSqlDatabase()).script.isEmpty());
    QVERIFY(CMarkerScript::routes(QSqlDatabase(), CMarkerLayers()).script.isEmpty());
}

void MapTest::hostileNames_data()
{
    QTest::addColumn<QString>("iden");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");  // as it stands between the quotes of the call
    QTest::addColumn<QString>("shown");  // the name as it stands in the info text of the call
    QTest::newRow("quotes and script end") << "KORD" << "O'Hare \"Intl\" </script>" << "KORD"
                                           << "O'Hare &quot;Intl&quot; &lt;/script&gt;";
    QTest::newRow("placeholders stay") << "%1%2" << "100%2 %1 %3" << "%1%2" << "100%2 %1 %3";
    QTest::newRow("backslash") << "A\\B" << "C:\\new" << "A\\\\B" << "C:\\\\new";
    QTest::newRow("line breaks") << "LF" << "a\nb\rc" << "LF" << "a\\nb\\rc";
    QTest::newRow("line separators") << "LS" << QString::fromUtf8("x\u2028y\u2029z") << "LS" << "x\\u2028y\\u2029z";
    QTest::newRow("quote in ident") << "A\"B" << "ampersand & <b>" << "A\\\"B" << "ampersand &amp; &lt;b&gt;";
    QTest::newRow("french name unchanged") << "LFLJ" << QString::fromUtf8("Courchevel l'Altiport é") << "LFLJ"
                                           << QString::fromUtf8("Courchevel l'Altiport é");
}

void MapTest::hostileNames()
{
    QFETCH(QString, iden);
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, shown);
    QSqlDatabase db = database({QStringLiteral("APT")}, {});
    QSqlQuery insert(db);
    QVERIFY(insert.prepare(QStringLiteral("INSERT INTO APT (ukey, iden, name, alat, alon) VALUES (?, ?, ?, 174600, 7200)")));
    insert.addBindValue(iden);
    insert.addBindValue(iden);
    insert.addBindValue(name);
    QVERIFY(insert.exec());

    const QString htmlIden = iden.toHtmlEscaped().replace(u'\\', QLatin1String("\\\\"));
    const QString expected = QStringLiteral("addAPTMarker(new google.maps.LatLng(48.50000,2.00000),\"") + title
            + QStringLiteral("\",1,\"<font color=blue><b>Airport ") + htmlIden
            + QStringLiteral("</b><font color=black><br/>") + shown + QStringLiteral("<br/>") + kInfoPos
            + QStringLiteral("\");pushAPT();");
    QCOMPARE(CMarkerScript::airports(db).script, expected);
}

void MapTest::navaids_data()
{
    QTest::addColumn<QString>("row");  // ukey, iden, name, nfrq, ntyp, nuse
    QTest::addColumn<QString>("expected");
    QTest::newRow("ntyp 24 is an NDB with its usage")
            << "'FR7PGS1', 'PGS', 'PONTOISE NDB-DME', 356, 24, 4"
            << "addNDBMarker(" + ll("48.50000", "2.00000")
                       + ",\"PGS-FR7PGS1\",4,\"<font color=blue><b>NDB PGS</b><font color=black><br/>"
                         "PONTOISE NDB-DME<br/>356 Khz<br/>" + kInfoPos + "\")";
    QTest::newRow("ntyp 8 is an NDB")
            << "'FR5CT1', 'CT', 'CHATEAUDUN NDB', 368.5, 8, 2"
            << "addNDBMarker(" + ll("48.50000", "2.00000")
                       + ",\"CT-FR5CT1\",2,\"<font color=blue><b>NDB CT</b><font color=black><br/>"
                         "CHATEAUDUN NDB<br/>368.5 Khz<br/>" + kInfoPos + "\")";
    QTest::newRow("ntyp 7 is a VOR with 7")
            << "'FR4PGS1', 'PGS', 'PONTOISE VOR-DME', 117.05, 7, 3"
            << "addVORMarker(" + ll("48.50000", "2.00000")
                       + ",\"PGS-FR4PGS1\",7,\"<font color=blue><b>VOR PGS</b><font color=black><br/>"
                         "PONTOISE VOR-DME<br/>117.05 Mhz<br/>" + kInfoPos + "\")";
    QTest::newRow("NULL type is a VOR with 0")
            << "'K1', 'X', 'NOTHING', NULL, NULL, NULL"
            << "addVORMarker(" + ll("48.50000", "2.00000")
                       + ",\"X-K1\",0,\"<font color=blue><b>VOR X</b><font color=black><br/>"
                         "NOTHING<br/>0 Mhz<br/>" + kInfoPos + "\")";
    QTest::newRow("text in numbers counts as 0")
            << "'K2', 'Y', 'TEXT', 'abc', 'eight', 'x'"
            << "addVORMarker(" + ll("48.50000", "2.00000")
                       + ",\"Y-K2\",0,\"<font color=blue><b>VOR Y</b><font color=black><br/>"
                         "TEXT<br/>0 Mhz<br/>" + kInfoPos + "\")";
    QTest::newRow("frequency in six digits")
            << "'K3', 'Z', 'BIG', 1234567, 1, 1"
            << "addVORMarker(" + ll("48.50000", "2.00000")
                       + ",\"Z-K3\",1,\"<font color=blue><b>VOR Z</b><font color=black><br/>"
                         "BIG<br/>1.23457e+06 Mhz<br/>" + kInfoPos + "\")";
}

void MapTest::navaids()
{
    QFETCH(QString, row);
    QFETCH(QString, expected);
    const QSqlDatabase db = database(
            {QStringLiteral("NAV")},
            {QStringLiteral("INSERT INTO NAV (ukey, iden, name, nfrq, ntyp, nuse, nlat, nlon) VALUES (%1, 174600, 7200)")
                     .arg(row)});
    const CMarkerSection section = CMarkerScript::navaids(db, CMarkerLayers());
    QCOMPARE(section.count, 1);
    QCOMPARE(section.script, expected + u';' + kNavTail);
}

void MapTest::waypoints()
{
    const QSqlDatabase db = database(
            {QStringLiteral("WPT")},
            {QStringLiteral("INSERT INTO WPT (iden, ukey, name, wloc, wuse, wlat, wlon) "
                            "VALUES ('NE', 'NEFR1', 'NE', 78, 6, 174600, 7200)"),
             QStringLiteral("INSERT INTO WPT (iden, ukey, name, wloc, wuse, wlat, wlon) "
                            "VALUES ('OTHER', 'OTHERFR', 'OTHER', 77, 1, 0, 0)"),
             QStringLiteral("INSERT INTO WPT (iden, ukey, name, wloc, wuse, wlat, wlon) "
                            "VALUES ('ABC', 'ABCFR', 'L''ABC', '78', 4, 174600, 1303200)")});
    CMarkerLayers layers;
    const CMarkerSection section = CMarkerScript::waypoints(db, layers);
    QCOMPARE(section.count, 2);
    const QString expected =
            "addWPTMarker(" + ll("48.50000", "2.00000")
            + ",\"NE-NEFR1\",6,\"<font color=blue><b>Waypoint NE</b><font color=black><br/>NE (6)<br/>"
            + kInfoPos + "\");addWPTMarker(" + ll("48.50000", "2.00000")
            + ",\"L'ABC-ABCFR\",4,\"<font color=blue><b>Waypoint ABC</b><font color=black><br/>L'ABC (4)<br/>"
            + kInfoPos + "\");" + kWptTail;
    QCOMPARE(section.script, expected);

    layers.wptTerm = false;
    QVERIFY(CMarkerScript::waypoints(db, layers)
                    .script.endsWith(QStringLiteral("addWptMgr();;WPTRteMgr.addMarkers(listWptRte);"
                                                    "WPTTermMgr.clearMarkers();WPTVfrMgr.addMarkers(listWptVfr)")));
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
        QVERIFY(!builder.isRunning());
    }
    QCOMPARE(events.join(u' '), QStringLiteral("p0 p0 e0:3 p1 p1 e1:3 e2:0 e3:0"));
    QCOMPARE(texts[0].join(u';'), whole);
    QCOMPARE(texts[1].join(u';'), whole);
    QCOMPARE(texts[1].size(), 3);
    QCOMPARE(readOn, QList<QStringList>({{"caller"}, {"thread"}, {"thread", "caller"}, {"caller"}}));
    // Its own connections are gone with it.
    QCOMPARE(QSqlDatabase::connectionNames(), before);
    QSqlDatabase::removeDatabase(QStringLiteral("maptest-memory"));
}

void MapTest::routes_data()
{
    QTest::addColumn<QStringList>("rows");  // aaid, levl, nvc1, nvc2, lat1, lon1, lat2, lon2 (degrees)
    QTest::addColumn<bool>("atsL");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("count");

    QTest::newRow("a route of three rows is one line")
            << QStringList{"'A1','L','FR','FR',45,1,46,1", "'A1','L','FR','FR',46,1,47,2",
                           "'A1','L','FR','FR',47,2,48,3"}
            << true
            << "addATS('L');" + atsTo("45.00000", "1.00000") + ";" + atsTo("46.00000", "1.00000") + ";"
                       + atsTo("47.00000", "2.00000") + ";" + atsTo("48.00000", "3.00000") + ";" + kShowAts
            << 3;
    QTest::newRow("routes of other countries are not sent")
            << QStringList{"'B2','H','DE','DE',50,7,51,8", "'B3','H','DE','FR',49,7,48,6",
                           "'B4','H','CH','DE',46,7,47,8"}
            << true << "addATS('H');" + atsTo("49.00000", "7.00000") + ";" + atsTo("48.00000", "6.00000") + ";" + kShowAts
            << 1;
    QTest::newRow("a gap inside a route starts a new line")
            << QStringList{"'A1','B','FR','FR',45,1,46,1", "'A1','B','FR','FR',40,1,41,1"}
            << true
            << "addATS('B');" + atsTo("45.00000", "1.00000") + ";" + atsTo("46.00000", "1.00000") + ";addATS('B');"
                       + atsTo("40.00000", "1.00000") + ";" + atsTo("41.00000", "1.00000") + ";" + kShowAts
            << 2;
    QTest::newRow("a new route starts a new line even when joined")
            << QStringList{"'A1','L','FR','FR',45,1,46,1", "'B1','H','FR','FR',46,1,47,1"}
            << true
            << "addATS('L');" + atsTo("45.00000", "1.00000") + ";" + atsTo("46.00000", "1.00000") + ";addATS('H');"
                       + atsTo("46.00000", "1.00000") + ";" + atsTo("47.00000", "1.00000") + ";" + kShowAts
            << 2;
    QTest::newRow("a skipped row breaks the line")
            << QStringList{"'A1','L','FR','FR',45,1,46,1", "'A1','L','DE','DE',46,1,47,1",
                           "'A1','L','FR','FR',47,1,48,1"}
            << true
            << "addATS('L');" + atsTo("45.00000", "1.00000") + ";" + atsTo("46.00000", "1.00000") + ";addATS('L');"
                       + atsTo("47.00000", "1.00000") + ";" + atsTo("48.00000", "1.00000") + ";" + kShowAts
            << 2;
    QTest::newRow("rows but none used") << QStringList{"'B2','H','DE','DE',50,7,51,8"} << true << kShowAts << 0;
    QTest::newRow("empty table") << QStringList() << true << QString() << 0;
    QTest::newRow("low routes hidden")
            << QStringList{"'A1','L','FR','FR',45,1,46,1"} << false
            << "addATS('L');" + atsTo("45.00000", "1.00000") + ";" + atsTo("46.00000", "1.00000")
                       + ";showATS('L',0);showATS('H',1);showATS('B',1)"
            << 1;
    QTest::newRow("level text cannot leave its quotes")
            << QStringList{"'A1','''x','FR','FR',45,1,46,1"} << true
            << "addATS('\\'');" + atsTo("45.00000", "1.00000") + ";" + atsTo("46.00000", "1.00000") + ";" + kShowAts
            << 1;
    QTest::newRow("NULL positions count as 0")
            << QStringList{"'A1','L','FR','FR',NULL,NULL,NULL,NULL"} << true
            << "addATS('L');" + atsTo("0.00000", "0.00000") + ";" + atsTo("0.00000", "0.00000") + ";" + kShowAts
            << 1;
    QTest::newRow("longitudes past 180")
            << QStringList{"'A1','L','FR','FR',45,180,46,181"} << true
            << "addATS('L');" + atsTo("45.00000", "180.00000") + ";" + atsTo("46.00000", "-179.00000") + ";" + kShowAts
            << 1;
}

void MapTest::routes()
{
    QFETCH(QStringList, rows);
    QFETCH(bool, atsL);
    QFETCH(QString, expected);
    QFETCH(int, count);
    QStringList inserts;
    int seq = 0;
    for (const QString &row : rows) {
        const QStringList v = row.split(u',');
        auto seconds = [](const QString &degrees) {
            return degrees == QLatin1String("NULL") ? degrees : QString::number(degrees.toDouble() * 3600, 'f', 3);
        };
        inserts << QStringLiteral("INSERT INTO ATSROUTE (akey, aaid, levl, nvc1, nvc2, lat1, lon1, lat2, lon2) "
                                  "VALUES ('K%1', %2, %3, %4, %5, %6, %7, %8, %9)")
                           .arg(QString::number(++seq), v[0], v[1], v[2], v[3], seconds(v[4]), seconds(v[5]),
                                seconds(v[6]), seconds(v[7]));
    }
    const QSqlDatabase db = database({QStringLiteral("ATSROUTE")}, inserts);
    CMarkerLayers layers;
    layers.atsL = atsL;
    const CMarkerSection section = CMarkerScript::routes(db, layers);
    QCOMPARE(section.script, expected);
    QCOMPARE(section.count, count);
    QCOMPARE(section.hasRows, !rows.isEmpty());
}

void MapTest::runways()
{
    const QSqlDatabase db = database(
            {QStringLiteral("RWY")},
            {QStringLiteral("INSERT INTO RWY (nseq, rapt, rhla, rhlo, rlla, rllo) VALUES (1, 'LFPO', 174600, 7200, 176400, 10800)"),
             QStringLiteral("INSERT INTO RWY (nseq, rapt, rhla, rhlo, rlla, rllo) VALUES (2, 'LFPO', 0, 648000, 3600, 650000)"),
             QStringLiteral("INSERT INTO RWY (nseq, rapt, rhla, rhlo, rlla, rllo) VALUES (3, 'LFPO', -3600, -3600, NULL, 'x')"),
             QStringLiteral("INSERT INTO RWY (nseq, rapt, rhla, rhlo, rlla, rllo) VALUES (1, 'LFPG', 1, 1, 1, 1)")});
    QSqlQuery query(db);
    QVERIFY(query.exec(QStringLiteral("SELECT * FROM RWY WHERE rapt = 'LFPO'")));
    QVERIFY(query.next());
    QCOMPARE(CMarkerScript::runways(query),
             "clearRunway();drawRwy(" + ll("48.50000", "2.00000") + "," + ll("49.00000", "3.00000") + ");drawRwy("
                     + ll("0.00000", "180.00000") + "," + ll("1.00000", "-179.44444") + ");drawRwy("
                     + ll("-1.00000", "-1.00000") + "," + ll("0.00000", "0.00000") + ");");
}

// --- the window ----------------------------------------------------------------------

void MapTest::readDataFromDemo()
{
    CNavGlobalVar *config = CNavGlobalVar::instance();
    QSqlQuery counts(QSqlDatabase::database(config->routeName));
    QVERIFY(counts.exec(QStringLiteral("SELECT count(*) FROM ATSROUTE WHERE nvc1 = 'FR' OR nvc2 = 'FR'")));
    QVERIFY(counts.next());
    const int segments = counts.value(0).toInt();
    QVERIFY(segments > 100);

    const int paneLines = lines(m_fx->ui()->debugText).size();
    QVERIFY(QMetaObject::invokeMethod(m_fx->window(), "readDataFromDB"));
    // Nothing is sent before the window's event loop runs again.
    QVERIFY(m_fx->scripts.isEmpty());
    QVERIFY(!m_fx->window()->statusBar()->currentMessage().isEmpty());
    QTRY_VERIFY(!m_fx->window()->findChild<CSectionBuilder *>());

    // The four sections, in order, in pieces of whole calls: joined, they
    // are the sections' scripts byte for byte.
    const QStringList &scripts = m_fx->scripts;
    const CMarkerLayers layers;
    const QString sections = QStringList{
            CMarkerScript::airports(QSqlDatabase::database(config->genName)).script,
            CMarkerScript::navaids(QSqlDatabase::database(config->genName), layers).script,
            CMarkerScript::waypoints(QSqlDatabase::database(config->wptName), layers).script,
            CMarkerScript::routes(QSqlDatabase::database(config->routeName), layers).script}.join(u';');
    QCOMPARE(scripts.join(u';'), sections);
    QVERIFY(scripts.size() > 4);
    for (const QString &script : scripts)
        QVERIFY(script.size() < 2 * CMarkerScript::PieceChars);
    QVERIFY(scripts[0].startsWith(QStringLiteral("addAPTMarker(new google.maps.LatLng(")));
    QCOMPARE(sections.count(QStringLiteral("addAPTMarker(")), 859);
    QCOMPARE(sections.count(QStringLiteral("addVORMarker(")) + sections.count(QStringLiteral("addNDBMarker(")), 757);
    QCOMPARE(sections.count(QStringLiteral("addNDBMarker(")), 318 + 17);
    QCOMPARE(sections.count(QStringLiteral("addWPTMarker(")), 5184);
    QVERIFY(scripts.last().endsWith(u';' + kShowAts));
    // Every segment adds its far end; every line also starts at a near end.
    const int lineCount = sections.count(QStringLiteral("addATS("));
    QCOMPARE(sections.count(QStringLiteral("addToATS(")), segments + lineCount);
    // The demo's airways are stored as chains, so lines are far fewer than segments.
    QVERIFY(lineCount < segments / 2);

    QCOMPARE(logTexts(QtDebugMsg).filter(QStringLiteral("MainWindow::")),
             QStringList({QStringLiteral("\"MainWindow::readDataFromDB Airport 859\""),
                          QStringLiteral("\"MainWindow::readDataFromDB Navaid 757\""),
                          QString::fromUtf8("\"MainWindow::readDataFromDB Waypoint: 5184 éléments chargés\""),
                          QStringLiteral("MainWindow::readDataFromDB: route \"FR\""),
                          QString::fromUtf8("\"MainWindow::readDataFromDB ATS: %1 élément chargés\"").arg(segments)}));

    const QStringList pane = lines(m_fx->ui()->debugText).mid(paneLines);
    QCOMPARE(pane, QStringList({QString::fromUtf8("Airport: 859 éléments chargés"),
                                QString::fromUtf8("Navaid: 757 éléments chargés"),
                                QString::fromUtf8("Waypoint: 5184 élément chargés"),
                                QString::fromUtf8("ATS: %1 élément chargés").arg(segments)}));
    QVERIFY(m_fx->window()->statusBar()->currentMessage().isEmpty());
}

void MapTest::readDataWithoutAirports()
{
    // Emptied for good: the load reads over connections of its own.
    QSqlQuery sql(QSqlDatabase::database(CNavGlobalVar::instance()->genName));
    QVERIFY(sql.exec(QStringLiteral("CREATE TABLE APT_kept AS SELECT * FROM APT")));
    QVERIFY(sql.exec(QStringLiteral("DELETE FROM APT")));
    const int paneLines = lines(m_fx->ui()->debugText).size();
    QVERIFY(QMetaObject::invokeMethod(m_fx->window(), "readDataFromDB"));
    QTRY_VERIFY(!m_fx->window()->findChild<CSectionBuilder *>());
    QVERIFY(sql.exec(QStringLiteral("INSERT INTO APT SELECT * FROM APT_kept")));
    QVERIFY(sql.exec(QStringLiteral("DROP TABLE APT_kept")));

    QVERIFY(m_fx->scripts[0].startsWith(QStringLiteral("addVORMarker(")));
    QVERIFY(!m_fx->scripts.join(u';').contains(QStringLiteral("pushAPT")));
    QVERIFY(logContaining(QStringLiteral("Airport")).isEmpty());
    const QStringList pane = lines(m_fx->ui()->debugText).mid(paneLines);
    QCOMPARE(pane.size(), 3);
    QVERIFY(pane[0].startsWith(QStringLiteral("Navaid: 757")));
}

void MapTest::readDataVorUnchecked()
{
    // The layer is switched off once the load has begun: the navaids still
    // end as the user left it.
    QAction *vor = layerAction(QStringLiteral("VOR"));
    QVERIFY(vor);
    QVERIFY(QMetaObject::invokeMethod(m_fx->window(), "readDataFromDB"));
    vor->setChecked(false);
    QTRY_VERIFY(!m_fx->window()->findChild<CSectionBuilder *>());
    vor->setChecked(true);
    QVERIFY(m_fx->scripts.join(u';').contains(QStringLiteral(";addNavMgr();;VORMgr.clearMarkers();"
                                                             "NDBRteMgr.addMarkers(listNDBRte);NDBTermMgr.addMarkers(listNDBTerm);")));
}

using FlagMember = bool CNavGlobalVar::*;
Q_DECLARE_METATYPE(FlagMember)

void MapTest::layerSlots_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<FlagMember>("flag");
    QTest::addColumn<QString>("whenOn");
    QTest::addColumn<QString>("whenOff");
    QTest::newRow("airports") << QString::fromUtf8("Aéroport") << &CNavGlobalVar::showAirport
                              << "ArptMgr.addMarkers(listApt)" << "ArptMgr.clearMarkers()";
    QTest::newRow("VOR") << "VOR" << &CNavGlobalVar::showVor << "VORMgr.addMarkers(listVOR)"
                         << "VORMgr.clearMarkers()";
    QTest::newRow("NDB en route") << "NDB Rte" << &CNavGlobalVar::showNdbRte << "NDBRteMgr.addMarkers(listNDBRte)"
                                  << "NDBRteMgr.clearMarkers()";
    QTest::newRow("NDB terminal") << "NDB Ter" << &CNavGlobalVar::showNdbTerm
                                  << "NDBTermMgr.addMarkers(listNDBTerm)" << "NDBTermMgr.clearMarkers()";
    QTest::newRow("waypoints en route") << "Waypoint en route" << &CNavGlobalVar::showWaypointRte
                                        << "WPTRteMgr.addMarkers(listWptRte)" << "WPTRteMgr.clearMarkers()";
    QTest::newRow("waypoints terminal") << "Waypoint terminaux" << &CNavGlobalVar::showWaypointTerm
                                        << "WPTTermMgr.addMarkers(listWptTerm)" << "WPTTermMgr.clearMarkers()";
    QTest::newRow("waypoints VFR") << "Waypoint VFR" << &CNavGlobalVar::showWaypointVfr
                                   << "WPTVfrMgr.addMarkers(listWptVfr)" << "WPTVfrMgr.clearMarkers()";
    QTest::newRow("ATS low") << "ATS Low" << &CNavGlobalVar::showATSL << "showATS('L',1)" << "showATS('L',0)";
    QTest::newRow("ATS high") << "ATS High" << &CNavGlobalVar::showATSH << "showATS('H',1)" << "showATS('H',0)";
    QTest::newRow("ATS both") << "ATS High/Low" << &CNavGlobalVar::showATSB << "showATS('B',1)" << "showATS('B',0)";
    QTest::newRow("boundaries only remembered") << QString::fromUtf8("Zone de contôle") << &CNavGlobalVar::showBoundary
                                                << QString() << QString();
}

void MapTest::layerSlots()
{
    QFETCH(QString, text);
    QFETCH(FlagMember, flag);
    QFETCH(QString, whenOn);
    QFETCH(QString, whenOff);
    QAction *action = layerAction(text);
    QVERIFY(action);
    CNavGlobalVar *config = CNavGlobalVar::instance();
    QVERIFY(action->isChecked());

    action->trigger();  // unchecks, then the slot runs
    QCOMPARE(config->*flag, false);
    QCOMPARE(m_fx->scripts, whenOff.isEmpty() ? QStringList() : QStringList{whenOff});

    m_fx->scripts.clear();
    action->trigger();
    QCOMPARE(config->*flag, true);
    QCOMPARE(m_fx->scripts, whenOn.isEmpty() ? QStringList() : QStringList{whenOn});
}

void MapTest::dockSlot()
{
    QAction *dock = layerAction(QString::fromUtf8("Plein écran"));
    QVERIFY(dock);
    Ui::MainWindow *ui = m_fx->ui();
    const QList<QDockWidget *> docks{ui->dockWSearch, ui->dockWFlightPlan, ui->dockWSid,
                                     ui->dockWStar, ui->dockWAircraft, ui->dockWDebug};
    dock->trigger();
    QCOMPARE(CNavGlobalVar::instance()->showDock, false);
    for (QDockWidget *d : docks)
        QVERIFY2(d->isHidden(), qPrintable(d->objectName()));
    dock->trigger();
    QCOMPARE(CNavGlobalVar::instance()->showDock, true);
    for (QDockWidget *d : docks)
        QVERIFY2(!d->isHidden(), qPrintable(d->objectName()));
    QVERIFY(m_fx->scripts.isEmpty());
}

void MapTest::initGoogleMap()
{
    // navigator.ini of the fixture holds only the work directory: defaults.
    m_fx->window()->sInitGoogleMap();
    QCOMPARE(m_fx->scripts, QStringList({QStringLiteral("map.setCenter(new google.maps.LatLng(49.00000,2.00000));"),
                                         QStringLiteral("map.setZoom(6)")}));
    QCOMPARE(lines(m_fx->ui()->debugText).last(), QString::fromUtf8("Chargement terminé"));
}

void MapTest::centerLabel_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QString>("text");
    QTest::newRow("Paris") << 48.8534 << 2.3522
                           << "Centre: 48.85340  2.35220\n 175872.24 8467.92\n48 51' 12.24\" N 002 21' 07.92\" E";
    QTest::newRow("west of Greenwich") << 10.0 << -1.0
                                       << "Centre: 10.00000  -1.00000\n 36000.00 1292400.00\n"
                                          "10 00' 00.00\" N 001 00' 00.00\" W";
    QTest::newRow("far south, two turns east") << -45.5 << 722.0
                                               << "Centre: -45.50000  722.00000\n -163800.00 7200.00\n"
                                                  "45 30' 00.00\" S 002 00' 00.00\" E";
}

void MapTest::centerLabel()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QString, text);
    m_fx->window()->doCenter(lat, lon);
    QLabel *label = statusLabel(QStringLiteral("Centre: "));
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QVERIFY(m_fx->scripts.isEmpty());
}

void MapTest::centerIgnoresNoNumber()
{
    m_fx->window()->doCenter(12.5, 3.25);
    QLabel *label = statusLabel(QStringLiteral("Centre: "));
    QVERIFY(label);
    const QString before = label->text();
    m_fx->window()->doCenter(std::numeric_limits<double>::quiet_NaN(), 1.0);
    m_fx->window()->doCenter(1.0, std::numeric_limits<double>::infinity());
    QCOMPARE(label->text(), before);
}

void MapTest::zoomAndDataLabels()
{
    m_fx->window()->doZoom(12);
    QLabel *zoom = statusLabel(QStringLiteral("Zoom: "));
    QVERIFY(zoom);
    QCOMPARE(zoom->text(), QStringLiteral("Zoom: 12"));

    const QString data = QStringLiteral("<b>Data</b> & <img src=x>");
    m_fx->window()->doData(data);
    QLabel *label = statusLabel(QStringLiteral("<b>Data"));
    QVERIFY(label);
    QCOMPARE(label->text(), data);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(m_fx->scripts.isEmpty());
}

void MapTest::viewRunways()
{
    QSqlQuery rows(QSqlDatabase::database(CNavGlobalVar::instance()->genName));
    QVERIFY(rows.exec(QStringLiteral("SELECT rhla, rhlo, rlla, rllo FROM RWY WHERE rapt = 'LFPO' ORDER BY rowid")));
    auto deg = [](double seconds) { return QString::asprintf("%.5f", seconds / 3600); };
    QString expected = QStringLiteral("clearRunway();");
    int count = 0;
    while (rows.next()) {
        expected += QStringLiteral("drawRwy(new google.maps.LatLng(%1,%2),new google.maps.LatLng(%3,%4));")
                            .arg(deg(rows.value(0).toDouble()), deg(rows.value(1).toDouble()),
                                 deg(rows.value(2).toDouble()), deg(rows.value(3).toDouble()));
        ++count;
    }
    QCOMPARE(count, 3);

    m_fx->window()->doViewRwy(QStringLiteral("LFPO"));
    QCOMPARE(m_fx->scripts, QStringList{expected});
    QCOMPARE(m_fx->window()->statusBar()->currentMessage(), QStringLiteral("LFPO"));
}

void MapTest::viewRunwaysUnknownAirport()
{
    m_fx->window()->statusBar()->showMessage(QStringLiteral("before"));
    m_fx->window()->doViewRwy(QStringLiteral("ZZZZ\" OR 1=1 --"));
    QVERIFY(m_fx->scripts.isEmpty());
    QCOMPARE(m_fx->window()->statusBar()->currentMessage(), QString());
}

void MapTest::receiveDataAndDoSomething()
{
    QVERIFY(QMetaObject::invokeMethod(m_fx->window(), "receiveData", Q_ARG(QString, QStringLiteral("x"))));
    m_fx->window()->doSomething(QStringLiteral("hello"));
    QCOMPARE(logTexts(QtWarningMsg), QStringList{QStringLiteral("MainWindow::receiveData \"x\"")});
    QCOMPARE(logTexts(QtDebugMsg).filter(QStringLiteral("MainWindow::")),
             QStringList{QStringLiteral("MainWindow::doSomething Message de la page HTML:  \"hello\"")});
}

void MapTest::centerOnPlanPoint()
{
    // An airport stored at 350 degrees east, put in the plan and centred on
    // from the grid's context menu.
    CNavGlobalVar *config = CNavGlobalVar::instance();
    QSqlDatabase gen = QSqlDatabase::database(config->genName);
    QVERIFY(gen.transaction());
    QSqlQuery update(gen);
    QVERIFY(update.exec(QStringLiteral("UPDATE APT SET alat = 175380, alon = 1260000 WHERE ukey = 'LFPO'")));
    m_fx->window()->sAddAptToFp(QStringLiteral("LFPO"));
    QVERIFY(gen.rollback());
    QCOMPARE(m_fx->prompt.records.size(), 0);

    m_fx->scripts.clear();
    m_fx->window()->sFpCenterAt();
    QCOMPARE(m_fx->scripts, QStringList{QStringLiteral("map.setCenter(new google.maps.LatLng(48.71667,-10.00000));")});
    QCOMPARE(config->centerLon, -10.0);
    QCOMPARE(JsText::fixed(config->centerLat, 5), QStringLiteral("48.71667"));
    config->centerLat = 49;
    config->centerLon = 2;
}

// --- the bridge --------------------------------------------------------------------------

void MapTest::bridgeSlots()
{
    const QStringList expected{
            "searchInTable(bool)", "sFndCenterAt()", "sFpCenterAt()", "sFpLineDel()", "sFpLineUp()",
            "sFpLineDown()", "sViewApt()", "sViewVor()", "sViewNdbRte()", "sViewNdbTerm()", "sViewWptRte()",
            "sViewWptTerm()", "sViewWptVfr()", "sViewAtsLo()", "sViewAtsHi()", "sViewAtsB()", "sViewBdry()",
            "sViewDock()", "sInitGoogleMap()", "doSomething(QString)", "doCenter(double,double)", "doZoom(int)",
            "doMoveSIT(double,double)", "doData(QString)", "doViewRwy(QString)", "sAddAptToFp(QString)",
            "sAddNavToFp(QString)", "sAddWptToFp(QString)", "sAddNewWptToFp(QString,double,double)",
            "sAddSitToFp(double,double)", "sAddWptToDB(QString,double,double)", "sAddNavToDB(QString,double,double)",
            "sDelNavFromDB(QString)", "sDelWptFromDB(QString)"};

    const QMetaObject &bridge = CMapBridge::staticMetaObject;
    QCOMPARE(bridge.superClass(), &QObject::staticMetaObject);
    QStringList own;
    for (int i = bridge.methodOffset(); i < bridge.methodCount(); ++i) {
        const QMetaMethod method = bridge.method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Public);
        own << QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(own, expected);
    QCOMPARE(bridge.propertyCount(), bridge.propertyOffset());
    QCOMPARE(bridge.indexOfMethod("close()"), -1);

    // The same slots, in the same order, as the window's first 34.
    const QMetaObject &window = MainWindow::staticMetaObject;
    QStringList first;
    for (int i = window.methodOffset(); i < window.methodOffset() + 34; ++i)
        first << QString::fromLatin1(window.method(i).methodSignature());
    QCOMPARE(first, expected);

    // The page's channel publishes the bridge, not the window.
    CMapBridge *published = m_fx->window()->findChild<CMapBridge *>();
    QVERIFY(published);
    QWebChannel *channel = m_fx->window()->page()->webChannel();
    QVERIFY(channel);
    QCOMPARE(channel->registeredObjects().size(), 1);
    QCOMPARE(channel->registeredObjects().value(QStringLiteral("mainWindow")), published);
}

void MapTest::bridgeForwardsAndSurvivesDeleteLater()
{
    QPointer<CMapBridge> bridge = m_fx->window()->findChild<CMapBridge *>();
    QVERIFY(bridge);
    bridge->doZoom(7);
    QLabel *zoom = statusLabel(QStringLiteral("Zoom: "));
    QVERIFY(zoom);
    QCOMPARE(zoom->text(), QStringLiteral("Zoom: 7"));
    bridge->sViewBdry();
    bridge->sInitGoogleMap();
    QCOMPARE(m_fx->scripts.size(), 2);

    // deleteLater() is callable through the channel like any public slot.
    QVERIFY(QMetaObject::invokeMethod(bridge, "deleteLater"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(bridge);
    bridge->doZoom(8);
    QCOMPARE(zoom->text(), QStringLiteral("Zoom: 8"));
}

// --- a real page -----------------------------------------------------------------------

void MapTest::pageProfile()
{
    myWebPage *page = m_fx->window()->page();
    QVERIFY(page);
    QCOMPARE(page->parent(), m_fx->ui()->map);
    QCOMPARE(m_fx->ui()->map->page(), page);
    QWebEngineProfile *profile = page->profile();
    QVERIFY(profile->isOffTheRecord());
    QCOMPARE(profile->parent(), page);
    QCOMPARE(profile->httpCacheType(), QWebEngineProfile::NoCache);
    QCOMPARE(profile->httpUserAgent(),
             QStringLiteral("Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/535.2 (KHTML, like Gecko) "
                            "Chrome/15.0.874.121 Safari/535.2"));
    // The bootstrap is compiled in.
    QVERIFY(myWebPage::bridgeScript().contains(QStringLiteral("mainWindow")));
    const QString injected = page->scripts().find(QStringLiteral("bridge")).value(0).sourceCode();
    QCOMPARE(injected, myWebPage::bridgeScript());
    QVERIFY(page->scripts().find(QStringLiteral("qwebchannel")).value(0).sourceCode().contains(
            QStringLiteral("QWebChannel")));
}

void MapTest::alertGoesToLog()
{
    myWebPage *page = m_fx->window()->page();
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    const int prompts = m_fx->prompt.records.size();
    QTemporaryDir dir;
    loadPageFile(page, dir, "<html><body><script>alert('x y'); console.log('console line');</script></body></html>");
    QVERIFY(loaded.wait(60000));
    QTRY_VERIFY_WITH_TIMEOUT(!logContaining(QStringLiteral("console line")).isEmpty(), 30000);
    QCOMPARE(logTexts(QtWarningMsg).filter(QStringLiteral("MainWindow::receiveData")),
             QStringList{QStringLiteral("MainWindow::receiveData \"x y\"")});
    QCOMPARE(m_fx->prompt.records.size(), prompts);
    QVERIFY(logContaining(QStringLiteral("console line")).first().startsWith(
            QStringLiteral("myWebPage::javaScriptConsoleMessage")));
}

void MapTest::pageReachesWindowThroughChannel()
{
    myWebPage *page = m_fx->window()->page();
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    // Called at once: the bootstrap holds the call until the channel is up.
    QTemporaryDir dir;
    loadPageFile(page, dir, "<html><body><script>mainWindow.doZoom(9);"
                            "mainWindow.doSomething('from the page');</script></body></html>");
    QVERIFY(loaded.wait(60000));
    QTRY_VERIFY_WITH_TIMEOUT(!logContaining(QStringLiteral("from the page")).isEmpty(), 30000);
    QLabel *zoom = statusLabel(QStringLiteral("Zoom: "));
    QVERIFY(zoom);
    QCOMPARE(zoom->text(), QStringLiteral("Zoom: 9"));

    // The loaded page got its view and its markers.
    QVERIFY(m_fx->scripts.contains(QStringLiteral("map.setZoom(6)")));
    QTRY_VERIFY_WITH_TIMEOUT(m_fx->scripts.last().endsWith(kShowAts), 30000);

    // Only the bridge's slots are reachable.
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(page, QStringLiteral("typeof mainWindow.doZoom")).toString(),
                              QStringLiteral("function"), 30000);
    QCOMPARE(evaluate(page, QStringLiteral("typeof mainWindow.close")).toString(), QStringLiteral("undefined"));
    QCOMPARE(evaluate(page, QStringLiteral("typeof mainWindow.setWindowTitle")).toString(),
             QStringLiteral("undefined"));
}

void MapTest::hostileNamesRunNothing()
{
    const QStringList names{QStringLiteral("O'Hare \"Intl\" </script>"), QStringLiteral("%2 %1"),
                            QStringLiteral("C:\\new\\"), QStringLiteral("a\nb\r\u2028c"),
                            QStringLiteral("x\");window.hacked=1;(\"")};
    QSqlDatabase db = database({QStringLiteral("APT")}, {});
    for (const QString &name : names) {
        QSqlQuery insert(db);
        QVERIFY(insert.prepare(QStringLiteral("INSERT INTO APT (ukey, iden, name, alat, alon) VALUES (?, ?, ?, 0, 0)")));
        insert.addBindValue(name);
        insert.addBindValue(name);
        insert.addBindValue(name);
        QVERIFY(insert.exec());
    }
    const QString script = CMarkerScript::airports(db).script;

    // A page of its own: the window's page would also get the demo markers.
    QWebEnginePage own;
    QWebEnginePage *page = &own;
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    page->setHtml(QStringLiteral(
            "<html><body><script>"
            "var google = {maps: {LatLng: function (a, b) { this.a = a; this.b = b; }}};"
            "var got = [];"
            "function addAPTMarker(p, title, n, info) {"
            "  var d = document.createElement('div'); d.innerHTML = info;"
            "  got.push([title, d.innerHTML.indexOf('<script') < 0 ? info : 'SCRIPT']); }"
            "function pushAPT() { got.push('done'); }"
            "</script></body></html>"));
    QVERIFY(loaded.wait(60000));
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(page, QStringLiteral("typeof addAPTMarker")).toString(),
                              QStringLiteral("function"), 30000);
    page->runJavaScript(script);
    const QVariantList got = evaluate(page, QStringLiteral("got")).toList();
    QCOMPARE(got.size(), names.size() + 1);
    for (int i = 0; i < names.size(); ++i) {
        const QStringList row = got[i].toStringList();
        QCOMPARE(row.value(0), names[i]);
        QVERIFY2(row.value(1).contains(names[i].toHtmlEscaped()), qPrintable(row.value(1)));
    }
    QCOMPARE(got.last().toString(), QStringLiteral("done"));
    QCOMPARE(evaluate(page, QStringLiteral("typeof window.hacked")).toString(), QStringLiteral("undefined"));
}

void MapTest::pageFileByLocale()
{
    // The first window goes first: one settings file, one set of connections,
    // one script recorder.
    g_log.clear();
    m_fx.reset();
    WindowFixture fx;
    QVERIFY(fx.prepareDemo());
    MainWindow *window = fx.start(true);
    QVERIFY(window);
    QSignalSpy loaded(window->form()->map, &QWebEngineView::loadFinished);
    QVERIFY(loaded.wait(60000));
    const QString language = QLocale::system().name().section(u'_', 0, 0);
    const QString file = QCoreApplication::applicationDirPath()
            + (language == QLatin1String("fr") ? QStringLiteral("/gm_navigator_fr.html")
                                               : QStringLiteral("/gm_navigator_en.html"));
    QCOMPARE(window->page()->requestedUrl(), QUrl::fromLocalFile(file));
    // Both slots ran on the finished load: the map is centred at once, the
    // markers follow, and the load is done once they are all sent.
    QTRY_VERIFY_WITH_TIMEOUT(!window->findChild<CSectionBuilder *>(), 60000);
    const qsizetype zoom = fx.scripts.indexOf(QStringLiteral("map.setZoom(6)"));
    QVERIFY(zoom >= 1);
    QVERIFY(fx.scripts[zoom - 1].startsWith(QStringLiteral("map.setCenter(")));
    QVERIFY(fx.scripts.value(zoom + 1).startsWith(QStringLiteral("addAPTMarker(")));
    QVERIFY(fx.scripts.last().endsWith(kShowAts));
    QCOMPARE(lines(window->form()->debugText).last(), QString::fromUtf8("Chargement terminé"));

    fx.stop();
    // The page goes before its profile.
    QVERIFY(logContaining(QStringLiteral("Release of profile")).isEmpty());
}

void MapTest::realPageRoundTrip()
{
    const QString pageFile = qEnvironmentVariable("CORVANE_BIN_DIR") + QStringLiteral("/gm_navigator_en.html");
    QVERIFY2(QFile::exists(pageFile), qPrintable(pageFile));
    m_fx.reset();   // one window at a time: they share the settings instance
    WindowFixture fx;
    QVERIFY(fx.prepareDemo());
    {
        QSettings settings(fx.settingsFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("view/zoom"), 7);
        settings.setValue(QStringLiteral("view/mapCenter"), QPointF(2.5, 48.5));
    }
    g_log.clear();
    MainWindow *window = fx.start(false);
    QSignalSpy loaded(window->form()->map, &QWebEngineView::loadFinished);
    window->page()->setPageFile(pageFile);
    window->page()->load(QUrl::fromLocalFile(pageFile));
    QVERIFY(loaded.wait(120000));
    QVERIFY(loaded.first().first().toBool());
    // What the page reports from here on concerns the loaded map page (the
    // layer texts sent during construction met an empty page).
    const qsizetype logStart = g_log.size();

    // The program's view texts reached the page, and the page reported its
    // view back through the channel.
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(window->page(), QStringLiteral("map.getZoom()")).toInt(), 7, 60000);
    QCOMPARE(JsText::fixed(evaluate(window->page(), QStringLiteral("map.getCenter().lat()")).toDouble(), 5),
             QStringLiteral("48.50000"));
    QTRY_VERIFY_WITH_TIMEOUT(statusLabel(window, QStringLiteral("Zoom: 7")), 60000);
    QTRY_VERIFY_WITH_TIMEOUT(statusLabel(window, QStringLiteral("Centre: 48.50000  2.50000")), 60000);
    QTRY_COMPARE_WITH_TIMEOUT(lines(window->form()->debugText).last(), QString::fromUtf8("Chargement terminé"), 60000);
    // No script the program sent failed in the page.
    QStringList errors;
    for (const LogLine &line : g_log.mid(logStart))
        if (line.text.contains(QStringLiteral("Uncaught")))
            errors << line.text;
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
    fx.stop();
}

QTEST_MAIN(MapTest)
#include "tst_map.moc"
