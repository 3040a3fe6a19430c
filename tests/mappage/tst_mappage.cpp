// The map page in a real web view: the texts the program sends, what the
// page then shows, and the calls it makes back through window.mainWindow.

#include "map/markerscript.h"
#include "map/webpage.h"
#include "tests/mappage/pagecalls.h"
#include "tests/support/simfixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>
#include <memory>

namespace {

QString binDir()
{
    return qEnvironmentVariable("CORVANE_BIN_DIR");
}

// A marker info text as the program builds it.
QString info(const QString &kind, const QString &ident)
{
    return QStringLiteral("<font color=blue><b>%1 %2</b><font color=black><br/>NAME<br/>48 51' 12.24 N - 2 21' 7.92 E")
        .arg(kind, ident);
}

QString pos(double lat, double lng)
{
    return QStringLiteral("new google.maps.LatLng(%1,%2)").arg(lat, 0, 'f', 5).arg(lng, 0, 'f', 5);
}

QString apt(double lat, double lng, const QString &ident)
{
    return QStringLiteral("addAPTMarker(%1,\"%2\",1,\"%3\")").arg(pos(lat, lng), ident, info("Airport", ident));
}

QString vor(double lat, double lng, const QString &title, int type, const QString &fn = "addVORMarker")
{
    return QStringLiteral("%1(%2,\"%3\",%4,\"%5\")").arg(fn, pos(lat, lng), title).arg(type).arg(info("VOR", title));
}

QString ndb(double lat, double lng, const QString &title, int usage, const QString &fn = "addNDBMarker")
{
    return QStringLiteral("%1(%2,\"%3\",%4,\"%5\")").arg(fn, pos(lat, lng), title).arg(usage).arg(info("NDB", title));
}

QString wpt(double lat, double lng, const QString &title, int usage, const QString &fn = "addWPTMarker")
{
    return QStringLiteral("%1(%2,\"%3\",%4,\"%5\")").arg(fn, pos(lat, lng), title).arg(usage).arg(info("Waypoint", title));
}

// One of each kind around Paris, far enough apart to be told apart at zoom 9.
QString parisMarkers()
{
    return QStringList{
        apt(49.00970, 2.54778, "LFPG"),
        "pushAPT()",
        vor(48.80000, 2.30000, "PGS-FR4PGS1", 17),
        ndb(48.90000, 2.10000, "CL-FR5CL1", 2),
        ndb(49.10000, 2.20000, "OL-FR5OL1", 4),
        "addNavMgr()",
        "VORMgr.addMarkers(listVOR)",
        "NDBRteMgr.addMarkers(listNDBRte)",
        "NDBTermMgr.addMarkers(listNDBTerm)",
        wpt(48.75000, 2.70000, "ABCDEF-ABCDEFR", 1),
        wpt(49.15000, 2.80000, "TERMO-TERMOFR", 4),
        wpt(48.70000, 2.50000, "NA-NAFR", 6),
        "addWptMgr()",
        "WPTRteMgr.addMarkers(listWptRte)",
        "WPTTermMgr.addMarkers(listWptTerm)",
        "WPTVfrMgr.addMarkers(listWptVfr)",
    }.join(';') + ';';
}

// One of each kind, at least 0.45 degrees apart: apart at every zoom, and
// within the drawn area at zoom 10 around 48.95, 2.45.
QString spreadMarkers()
{
    return QStringList{
        apt(49.25, 1.55, "LFPG"),
        "pushAPT()",
        vor(49.25, 2.00, "PGS-FR4PGS1", 17),
        ndb(49.25, 2.45, "CL-FR5CL1", 2),
        ndb(49.25, 2.90, "OL-FR5OL1", 4),
        "addNavMgr()",
        wpt(49.25, 3.35, "ABCDEF-ABCDEFR", 1),
        wpt(48.65, 1.55, "TERMO-TERMOFR", 4),
        wpt(48.65, 2.00, "NA-NAFR", 6),
        "addWptMgr()",
    }.join(';') + ';';
}

const QStringList kLists = {"listApt", "listVOR", "listNDBRte", "listNDBTerm", "listWptRte", "listWptTerm", "listWptVfr"};

} // namespace

class TestMapPage : public QObject
{
    Q_OBJECT

private:
    QVariant js(const QString &script);
    bool loadPage(const QString &file = QStringLiteral("gm_navigator_fr.html"));
    bool centerOn(double lat, double lng, int zoom);
    int visible(const QString &list) { return js(QStringLiteral("__navDebug.visibleCount('%1')").arg(list)).toInt(); }
    int size(const QString &list) { return js(QStringLiteral("__navDebug.listSize('%1')").arg(list)).toInt(); }

    std::unique_ptr<QWebEngineView> m_view;
    myWebPage *m_page = nullptr;
    PageCalls m_calls;

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void startupReportsViewOverChannel();
    void pageWithoutChannelDropsCalls();
    void otherDocumentsRefused_data();
    void otherDocumentsRefused();
    void markerFiling_data();
    void markerFiling();
    void vorSymbols_data();
    void vorSymbols();
    void thinningByZoom_data();
    void thinningByZoom();
    void managersShowAndHide_data();
    void managersShowAndHide();
    void publishingMakesMarkersVisible();
    void worldScaleStaysBounded();
    void atsRoutes_data();
    void atsRoutes();
    void flightPlanRoute();
    void flightPlanNamesStayText();
    void procedureLine();
    void runways();
    void startPosition();
    void aircraftMarker();
    void traceTickWithCentre();
    void mapObjectAndViewReports();
    void contextMenuCalls_data();
    void contextMenuCalls();
    void menuTexts_data();
    void menuTexts();
    void deleteTheLast_data();
    void deleteTheLast();
    void editorMarkers_data();
    void editorMarkers();
    void infoWindowAndHover();
    void cursorPositionReported();
    void baseMapAndControls();
    void screenshots();
};

QVariant TestMapPage::js(const QString &script)
{
    struct Answer {
        bool done = false;
        QVariant value;
    };
    auto answer = std::make_shared<Answer>();
    m_page->runJavaScript(script, [answer](const QVariant &value) {
        answer->value = value;
        answer->done = true;
    });
    if (!QTest::qWaitFor([answer] { return answer->done; }, 30000))
        qWarning() << "the page did not answer" << script.left(120);
    return answer->value;
}

bool TestMapPage::loadPage(const QString &file)
{
    const QString path = QDir(binDir()).filePath(file);
    if (!QFileInfo::exists(path)) {
        qWarning() << "no page at" << path;
        return false;
    }
    QSignalSpy loaded(m_view.get(), &QWebEngineView::loadFinished);
    m_page->setPageFile(path);
    m_view->load(QUrl::fromLocalFile(path));
    if (!loaded.wait(30000) || !loaded.first().first().toBool())
        return false;
    // The channel comes up a little after the load.
    return QTest::qWaitFor([this] { return js("mainWindow.__state").toString() == "ready"; }, 15000);
}

bool TestMapPage::centerOn(double lat, double lng, int zoom)
{
    js(QStringLiteral("map.setZoom(%1);map.setCenter(%2);").arg(zoom).arg(pos(lat, lng)));
    return js("map.getZoom()").toInt() == zoom;
}

void TestMapPage::initTestCase()
{
    QVERIFY2(!binDir().isEmpty(), "CORVANE_BIN_DIR is not set");
    m_view = std::make_unique<QWebEngineView>();
    m_page = new myWebPage(m_view.get());
    m_page->installBridge(&m_calls);
    m_view->setPage(m_page);
    m_view->resize(1000, 700);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestMapPage::init()
{
    m_calls.clear();
    QVERIFY(loadPage());
}

void TestMapPage::cleanupTestCase()
{
    m_view.reset();
}

void TestMapPage::startupReportsViewOverChannel()
{
    // Reported once at start-up (queued until the channel was up).
    QTRY_VERIFY(m_calls.hasCall("doCenter"));
    QTRY_VERIFY(m_calls.hasCall("doZoom"));
    const auto center = m_calls.callsOf("doCenter").first().args;
    QCOMPARE(center.size(), 2);
    QCOMPARE(center.at(0).toDouble(), 49.0);
    QCOMPARE(center.at(1).toDouble(), 2.0);
    QCOMPARE(m_calls.callsOf("doZoom").first().args.at(0).toInt(), 6);
    // The proxy offers every slot the page may call, and nothing else of the object.
    QCOMPARE(js("typeof mainWindow.sDelWptFromDB").toString(), QStringLiteral("function"));
    QCOMPARE(js("typeof mainWindow.deleteLater").toString(), QStringLiteral("undefined"));
    js("mainWindow.doSomething('hello')");
    QTRY_VERIFY(m_calls.hasCall("doSomething"));
    QCOMPARE(m_calls.callsOf("doSomething").first().args.at(0).toString(), QStringLiteral("hello"));
}

void TestMapPage::pageWithoutChannelDropsCalls()
{
    // As in a plain browser: no channel, no injected scripts.
    QWebEngineView plain;
    plain.resize(600, 400);
    QSignalSpy loaded(&plain, &QWebEngineView::loadFinished);
    plain.load(QUrl::fromLocalFile(QDir(binDir()).filePath("gm_navigator_fr.html")));
    QVERIFY(loaded.wait(30000));
    QVERIFY(loaded.first().first().toBool());
    auto eval = [&plain](const QString &script) {
        auto answer = std::make_shared<QPair<bool, QVariant>>(false, QVariant());
        plain.page()->runJavaScript(script, [answer](const QVariant &v) { *answer = {true, v}; });
        if (!QTest::qWaitFor([answer] { return answer->first; }, 15000))
            qWarning() << "the plain page did not answer" << script.left(120);
        return answer->second;
    };
    QTRY_COMPARE_WITH_TIMEOUT(eval("mainWindow.__state").toString(), QStringLiteral("absent"), 15000);
    QCOMPARE(eval("mainWindow.doCenter(1, 2); mainWindow.__queued").toInt(), 0);
    QCOMPARE(eval(apt(49.0097, 2.54778, "LFPG") + ";pushAPT();__navDebug.visibleCount('listApt')").toInt(), 1);
}

void TestMapPage::otherDocumentsRefused_data()
{
    QTest::addColumn<QString>("script");   // run in the map page; empty: the view is asked to load the file

    QTest::newRow("the view loads a dropped file") << QString();
    QTest::newRow("a script sets location") << "location.href = URL";
    QTest::newRow("a link") << "var a = document.createElement('a'); a.href = URL; document.body.appendChild(a); a.click()";
}

void TestMapPage::otherDocumentsRefused()
{
    QFETCH(QString, script);
    // A page of someone else's that calls the program at once.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString other = dir.filePath(QStringLiteral("other.html"));
    {
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><body><script>mainWindow.doData('other page');</script></body></html>");
    }
    const QUrl otherUrl = QUrl::fromLocalFile(other);
    const QUrl own = m_page->url();
    QTRY_VERIFY(m_calls.hasCall("doZoom"));

    QSignalSpy refused(m_page, &myWebPage::navigationRefused);
    QSignalSpy loaded(m_page, &QWebEnginePage::loadFinished);
    if (script.isEmpty())
        m_view->load(otherUrl);
    else
        js(QString(script).replace(QLatin1String("URL"), QStringLiteral("'%1'").arg(otherUrl.toString())));
    QTRY_COMPARE_WITH_TIMEOUT(refused.size(), 1, 30000);
    QCOMPARE(refused.first().first().toUrl(), otherUrl);
    // The load of the other page ends, without it.
    QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 30000);
    QCOMPARE(loaded.first().first().toBool(), false);

    // Still the map, and the other page reached nothing.
    QCOMPARE(m_page->url(), own);
    QCOMPARE(js("typeof __navDebug").toString(), QStringLiteral("object"));
    js("mainWindow.doSomething('still here')");
    QTRY_VERIFY(m_calls.hasCall("doSomething"));
    QVERIFY(!m_calls.hasCall("doData"));
}

void TestMapPage::markerFiling_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("list");

    QTest::newRow("airport") << apt(49.0, 2.5, "LFPG") << "listApt";
    QTest::newRow("VOR type 1") << vor(48.8, 2.3, "RBT-FR1RBT1", 1) << "listVOR";
    QTest::newRow("DME type 16 is filed with the VORs") << vor(48.8, 2.3, "XX-FR3XX1", 16) << "listVOR";
    QTest::newRow("NDB usage 4 is terminal") << ndb(48.9, 2.1, "OL-FR5OL1", 4) << "listNDBTerm";
    QTest::newRow("NDB usage 2 is en-route") << ndb(48.9, 2.1, "CL-FR5CL1", 2) << "listNDBRte";
    QTest::newRow("NDB usage 1 is en-route") << ndb(48.9, 2.1, "CL-FR5CL1", 1) << "listNDBRte";
    QTest::newRow("waypoint usage 4 is terminal") << wpt(48.7, 2.5, "TERMO-TERMOFR", 4) << "listWptTerm";
    QTest::newRow("waypoint usage 6 is VFR") << wpt(48.7, 2.5, "NA-NAFR", 6) << "listWptVfr";
    QTest::newRow("waypoint usage 1 is en-route") << wpt(48.7, 2.5, "ABCDE-ABCDEFR", 1) << "listWptRte";
    QTest::newRow("waypoint usage 3 is en-route") << wpt(48.7, 2.5, "ABCDE-ABCDEFR", 3) << "listWptRte";
}

void TestMapPage::markerFiling()
{
    QFETCH(QString, script);
    QFETCH(QString, list);
    js(script);
    for (const QString &name : kLists)
        QCOMPARE(size(name), name == list ? 1 : 0);
}

void TestMapPage::vorSymbols_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("symbol");
    QTest::newRow("VOR") << 1 << "vor";
    QTest::newRow("TACAN") << 4 << "vortac";
    QTest::newRow("VORTAC") << 5 << "vortac";
    QTest::newRow("DME") << 16 << "dme";
    QTest::newRow("VOR-DME") << 17 << "vordme";
    QTest::newRow("another type") << 7 << "vor";
}

void TestMapPage::vorSymbols()
{
    QFETCH(int, type);
    QFETCH(QString, symbol);
    js(vor(48.8, 2.3, "PGS-FR4PGS1", type));
    QCOMPARE(js("__navDebug.symbolOf('listVOR', 'PGS-FR4PGS1')").toString(), symbol);
}

void TestMapPage::thinningByZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QList<int>>("shown");   // per list, in the order of kLists

    QTest::newRow("zoom 3: nothing") << 3 << QList<int>{0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("zoom 5: airports and VORs") << 5 << QList<int>{1, 1, 0, 0, 0, 0, 0};
    QTest::newRow("zoom 7: en-route NDBs and waypoints too") << 7 << QList<int>{1, 1, 1, 0, 1, 0, 0};
    QTest::newRow("zoom 8: terminal NDBs too") << 8 << QList<int>{1, 1, 1, 1, 1, 0, 0};
    QTest::newRow("zoom 9: VFR points too") << 9 << QList<int>{1, 1, 1, 1, 1, 0, 1};
    QTest::newRow("zoom 10: everything") << 10 << QList<int>{1, 1, 1, 1, 1, 1, 1};
}

void TestMapPage::thinningByZoom()
{
    QFETCH(int, zoom);
    QFETCH(QList<int>, shown);
    // Wide enough for every marker at zoom 10, whatever size the view had.
    m_view->resize(1600, 800);
    QTRY_COMPARE(js("window.innerWidth").toInt(), 1600);
    js(spreadMarkers());
    QVERIFY(centerOn(48.95, 2.45, zoom));
    for (int i = 0; i < kLists.size(); ++i)
        QCOMPARE(visible(kLists.at(i)), shown.at(i));
    m_view->resize(1000, 700);
    QTRY_COMPARE(js("window.innerWidth").toInt(), 1000);
}

void TestMapPage::managersShowAndHide_data()
{
    QTest::addColumn<QString>("manager");
    QTest::addColumn<QString>("list");
    for (const auto &[mgr, list] : QList<QPair<QString, QString>>{{"ArptMgr", "listApt"},
                                                                  {"VORMgr", "listVOR"},
                                                                  {"NDBRteMgr", "listNDBRte"},
                                                                  {"NDBTermMgr", "listNDBTerm"},
                                                                  {"WPTRteMgr", "listWptRte"},
                                                                  {"WPTTermMgr", "listWptTerm"},
                                                                  {"WPTVfrMgr", "listWptVfr"}})
        QTest::newRow(qPrintable(mgr)) << mgr << list;
}

void TestMapPage::managersShowAndHide()
{
    QFETCH(QString, manager);
    QFETCH(QString, list);
    js(parisMarkers());
    QVERIFY(centerOn(48.95, 2.45, 10));
    QCOMPARE(visible(list), 1);
    js(manager + ".clearMarkers()");
    QCOMPARE(visible(list), 0);
    QCOMPARE(size(list), 1);   // hidden, not forgotten
    // the other layers stay
    for (const QString &other : kLists) {
        if (other != list)
            QCOMPARE(visible(other), 1);
    }
    js(QStringLiteral("%1.addMarkers(%2)").arg(manager, list));
    QCOMPARE(visible(list), 1);
}

void TestMapPage::publishingMakesMarkersVisible()
{
    QVERIFY(centerOn(48.95, 2.45, 9));
    js(vor(48.8, 2.3, "PGS-FR4PGS1", 17));
    QCOMPARE(size("listVOR"), 1);
    QCOMPARE(js("__navDebug.indexedCount('listVOR')").toInt(), 0);
    QCOMPARE(visible("listVOR"), 0);
    js("addNavMgr();");
    QCOMPARE(js("__navDebug.indexedCount('listVOR')").toInt(), 1);
    QCOMPARE(visible("listVOR"), 1);
    // Airports: pushAPT publishes and shows them.
    js(apt(49.0097, 2.54778, "LFPG"));
    QCOMPARE(visible("listApt"), 0);
    js("pushAPT();");
    QCOMPARE(visible("listApt"), 1);
}

void TestMapPage::worldScaleStaysBounded()
{
    // 300,000 waypoints over the whole world, as the program's calls make them.
    QElapsedTimer timer;
    timer.start();
    const QVariant made = js(
        "(function () {"
        "  var seed = 12345;"
        "  function rnd() {"
        "    seed = (seed + 0x6D2B79F5) | 0;"
        "    var t = Math.imul(seed ^ (seed >>> 15), 1 | seed);"
        "    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;"
        "    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;"
        "  }"
        "  for (var i = 0; i < 300000; ++i) {"
        "    var lat = -60 + 130 * rnd(), lng = -180 + 360 * rnd();"
        "    addWPTMarker(new google.maps.LatLng(lat, lng), 'W' + i + '-W' + i + 'K', [1, 2, 3, 4, 6][i % 5], 'info');"
        "  }"
        "  addWptMgr(); WPTRteMgr.addMarkers(listWptRte); WPTTermMgr.addMarkers(listWptTerm);"
        "  WPTVfrMgr.addMarkers(listWptVfr);"
        "  return listWptRte.length + listWptTerm.length + listWptVfr.length;"
        "})()");
    QCOMPARE(made.toInt(), 300000);
    qInfo() << "300,000 waypoints loaded and indexed in" << timer.elapsed() << "ms";
    QCOMPARE(size("listWptRte"), 180000);
    QCOMPARE(size("listWptTerm"), 60000);
    QCOMPARE(size("listWptVfr"), 60000);

    for (int zoom : {2, 7, 9, 12}) {
        QVERIFY(centerOn(20, 10, zoom));
        timer.restart();
        const int total = js("__navDebug.totalVisible()").toInt();
        qInfo() << "zoom" << zoom << ":" << total << "symbols drawn in" << timer.elapsed() << "ms";
        QVERIFY(total <= 6000);
        if (zoom >= 7)
            QVERIFY(total > 0);
    }
    // Still answering the mouse.
    QVERIFY(!js("__navDebug.moveMouseTo(20.1, 10.1); 'ok'").toString().isEmpty());
}

void TestMapPage::atsRoutes_data()
{
    QTest::addColumn<QString>("letter");
    QTest::newRow("low") << "L";
    QTest::newRow("high") << "H";
    QTest::newRow("both") << "B";
}

void TestMapPage::atsRoutes()
{
    QFETCH(QString, letter);
    // As the program sends them, call by call.
    const QStringList calls = {
        "addATS('L')",
        "addToATS(new google.maps.LatLng(49.03094,1.22086)),'ATS'",
        "addToATS(new google.maps.LatLng(49.09636,1.48611)),'ATS'",
        "addToATS(new google.maps.LatLng(49.12000,1.70000)),'ATS'",
        "addATS('H')",
        "addToATS(new google.maps.LatLng(47.00000,3.00000)),'ATS'",
        "addToATS(new google.maps.LatLng(47.50000,3.50000)),'ATS'",
        "addATS('B')",
        "addToATS(new google.maps.LatLng(45.00000,5.00000)),'ATS'",
        "addToATS(new google.maps.LatLng(45.20000,5.20000)),'ATS'",
        "addATS('B')",
        "addToATS(new google.maps.LatLng(45.50000,5.50000)),'ATS'",
        "addToATS(new google.maps.LatLng(45.70000,5.70000)),'ATS'",
        "showATS('L',0)",
        "showATS('H',0)",
        "showATS('B',0)",
    };
    for (const QString &call : calls)
        js(call);
    const QMap<QString, QPair<int, int>> expected = {{"L", {1, 3}}, {"H", {1, 2}}, {"B", {2, 4}}};
    QVariantMap ats = js(QStringLiteral("__navDebug.ats('%1')").arg(letter)).toMap();
    QCOMPARE(ats.value("routes").toInt(), expected.value(letter).first);
    QCOMPARE(ats.value("points").toInt(), expected.value(letter).second);
    QCOMPARE(ats.value("onMap").toBool(), false);

    js(QStringLiteral("showATS('%1',1)").arg(letter));
    for (const QString other : {"L", "H", "B"}) {
        ats = js(QStringLiteral("__navDebug.ats('%1')").arg(other)).toMap();
        QCOMPARE(ats.value("onMap").toBool(), other == letter);
    }
    js(QStringLiteral("showATS('%1',0)").arg(letter));
    QCOMPARE(js(QStringLiteral("__navDebug.ats('%1')").arg(letter)).toMap().value("onMap").toBool(), false);
}

void TestMapPage::flightPlanRoute()
{
    js("clearFP();addPointToFp(new google.maps.LatLng(49.00970,2.54778),\"LFPG\");"
       "addPointToFp(new google.maps.LatLng(48.72530,2.35940),\"PGS\");"
       "addPointToFp(new google.maps.LatLng(45.72560,5.08110),\"LFLL\");pushFP();");
    const QVariantList plan = js("__navDebug.flightPlan()").toList();
    QCOMPARE(plan.size(), 3);
    QCOMPARE(plan.at(0).toMap().value("name").toString(), QStringLiteral("LFPG"));
    QCOMPARE(plan.at(1).toMap().value("lat").toDouble(), 48.7253);
    QCOMPARE(plan.at(2).toMap().value("lng").toDouble(), 5.0811);
    QCOMPARE(js("__navDebug.flightPlanLine()").toInt(), 3);
    QCOMPARE(js("__navDebug.flightPlanLabels()").toStringList(), (QStringList{"LFPG", "PGS", "LFLL"}));

    // Deleting the last line sends clearFP() alone.
    js("clearFP()");
    QCOMPARE(js("__navDebug.flightPlan().length").toInt(), 0);
    QCOMPARE(js("__navDebug.flightPlanLabels().length").toInt(), 0);
    QCOMPARE(js("__navDebug.flightPlanLine()").toInt(), 0);
    QTRY_COMPARE(js("document.querySelectorAll('.nav-fp-label').length").toInt(), 0);
    // An empty plan.
    js("clearFP();pushFP();");
    QCOMPARE(js("__navDebug.flightPlan().length").toInt(), 0);
}

void TestMapPage::flightPlanNamesStayText()
{
    js("clearFP();addPointToFp(new google.maps.LatLng(49.00000,2.00000),\"<img src=x onerror=mainWindow.doSomething('x')>\");"
       "addPointToFp(new google.maps.LatLng(48.00000,2.00000),\"O'Hare \\\"Intl\\\"\");pushFP();");
    QCOMPARE(js("__navDebug.flightPlanLabels()").toStringList(),
             (QStringList{"<img src=x onerror=mainWindow.doSomething('x')>", "O'Hare \"Intl\""}));
    QCOMPARE(js("document.querySelectorAll('.nav-fp-label img').length").toInt(), 0);
    QTest::qWait(200);
    QVERIFY(!m_calls.hasCall("doSomething"));
}

void TestMapPage::procedureLine()
{
    js("clearSS()");
    js("addPointToSS(new google.maps.LatLng(49.00970,2.54778),\"LFPG\")");
    QCOMPARE(js("__navDebug.procedureLine()").toInt(), 1);   // drawn as the points come
    js("addPointToSS(new google.maps.LatLng(49.10000,2.30000),\"OPALE\");"
       "addPointToSS(new google.maps.LatLng(49.30000,2.00000),\"PON\")");
    const QVariantList points = js("__navDebug.procedure()").toList();
    QCOMPARE(points.size(), 3);
    QCOMPARE(points.at(1).toMap().value("name").toString(), QStringLiteral("OPALE"));
    QCOMPARE(js("__navDebug.procedureLine()").toInt(), 3);
    QCOMPARE(js("__navDebug.procedureLabels()").toStringList(), (QStringList{"LFPG", "OPALE", "PON"}));
    QCOMPARE(js("document.querySelectorAll('.nav-ss-label').length").toInt(), 3);
    js("clearSS()");
    QCOMPARE(js("__navDebug.procedure().length").toInt(), 0);
    QCOMPARE(js("__navDebug.procedureLabels().length").toInt(), 0);
    // The labels fade out.
    QTRY_COMPARE(js("document.querySelectorAll('.nav-ss-label').length").toInt(), 0);
}

void TestMapPage::runways()
{
    js("clearRunway();"
       "drawRwy(new google.maps.LatLng(49.02500,2.52000),new google.maps.LatLng(49.02200,2.56100));"
       "drawRwy(new google.maps.LatLng(49.01400,2.51000),new google.maps.LatLng(49.01100,2.55000));"
       "drawRwy(new google.maps.LatLng(48.99600,2.55200),new google.maps.LatLng(48.99300,2.60100));");
    const QVariantList rwys = js("__navDebug.runways()").toList();
    QCOMPARE(rwys.size(), 3);
    QCOMPARE(rwys.at(0).toList().at(0).toDouble(), 49.025);
    QCOMPARE(rwys.at(0).toList().at(3).toDouble(), 2.561);
    // A new airport's runways replace the old ones.
    js("clearRunway();drawRwy(new google.maps.LatLng(48.72000,2.36000),new google.maps.LatLng(48.73000,2.40000));");
    QCOMPARE(js("__navDebug.runways().length").toInt(), 1);
}

void TestMapPage::startPosition()
{
    js("addSitMarker(new google.maps.LatLng(49.00970000,2.54778000),\"Cessna 172\", 90);");
    QVariantMap sit = js("__navDebug.sitMarker()").toMap();
    QCOMPARE(sit.value("lat").toDouble(), 49.0097);
    QCOMPARE(sit.value("lng").toDouble(), 2.54778);
    QCOMPARE(sit.value("name").toString(), QStringLiteral("Cessna 172"));
    QCOMPARE(sit.value("heading").toDouble(), 90.0);
    QCOMPARE(sit.value("rotation").toString(), QStringLiteral("rotate(90deg)"));
    QVERIFY(sit.value("draggable").toBool());

    // Moving the marker tells the program.
    m_calls.clear();
    QVERIFY(js("__navDebug.dragSitTo(45.5, -2.25)").toBool());
    QTRY_VERIFY(m_calls.hasCall("doMoveSIT"));
    const auto args = m_calls.callsOf("doMoveSIT").first().args;
    QCOMPARE(args.at(0).toDouble(), 45.5);
    QCOMPARE(args.at(1).toDouble(), -2.25);

    // A new start position moves the one marker and turns it.
    js("addSitMarker(new google.maps.LatLng(43.62890000,1.36380000),\"Cessna 172\", 12.5);");
    sit = js("__navDebug.sitMarker()").toMap();
    QCOMPARE(sit.value("lat").toDouble(), 43.6289);
    QCOMPARE(sit.value("rotation").toString(), QStringLiteral("rotate(12.5deg)"));
    QCOMPARE(js("document.querySelectorAll('.nav-sit').length").toInt(), 1);
}

void TestMapPage::aircraftMarker()
{
    QVERIFY(js("__navDebug.aircraft()").isNull());
    js("addAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),\"\",270);");
    QVariantMap acft = js("__navDebug.aircraft()").toMap();
    QCOMPARE(acft.value("lat").toDouble(), 45.5);
    QCOMPARE(acft.value("lng").toDouble(), -2.25);
    QCOMPARE(acft.value("rotation").toString(), QStringLiteral("rotate(270deg)"));

    js("setAcftMrkr(new google.maps.LatLng(45.60000,-2.20000),123.457);");
    acft = js("__navDebug.aircraft()").toMap();
    QCOMPARE(acft.value("lat").toDouble(), 45.6);
    QCOMPARE(acft.value("heading").toDouble(), 123.457);
    QCOMPARE(js("document.querySelectorAll('.nav-acft').length").toInt(), 1);

    js("eraseAcftMrkr();");
    QVERIFY(js("__navDebug.aircraft()").isNull());
    QCOMPARE(js("document.querySelectorAll('.nav-acft').length").toInt(), 0);

    // A zero-filled block: at 0,0 with value 0; a tick without a marker makes one.
    js("setAcftMrkr(new google.maps.LatLng(0.00000,0.00000),0);");
    acft = js("__navDebug.aircraft()").toMap();
    QCOMPARE(acft.value("lat").toDouble(), 0.0);
    QCOMPARE(acft.value("rotation").toString(), QStringLiteral("rotate(0deg)"));
    js("eraseAcftMrkr();eraseAcftMrkr();");
    QVERIFY(js("__navDebug.aircraft()").isNull());
}

void TestMapPage::traceTickWithCentre()
{
    js("addAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),\"\",0);");
    QVERIFY(centerOn(46.0, -1.5, 8));
    QTRY_COMPARE(js("__navDebug.tilesMissing()").toInt(), 0);
    const int resets = js("__navDebug.viewResets()").toInt();
    // Standing still, then moving a little: the map follows without
    // starting its view afresh (which would draw every tile again).
    for (const char *at : {"46.00000,-1.50000", "46.00000,-1.50000", "46.00100,-1.49900", "46.00300,-1.49700"})
        js(QStringLiteral("setAcftMrkr(new google.maps.LatLng(%1),90);;map.setCenter(new google.maps.LatLng(%1));")
                   .arg(QLatin1String(at)));
    js("__navDebug.redraw()");
    QCOMPARE(js("map.getCenter().lat()").toDouble(), 46.003);
    QCOMPARE(js("map.getCenter().lng()").toDouble(), -1.497);
    QCOMPARE(js("__navDebug.aircraft().heading").toDouble(), 90.0);
    QCOMPARE(js("__navDebug.viewResets()").toInt(), resets);
}

void TestMapPage::mapObjectAndViewReports()
{
    QTRY_VERIFY(m_calls.hasCall("doZoom"));
    js("map.setCenter(new google.maps.LatLng(48.85340,2.35220));");
    js("map.setZoom(9)");
    QCOMPARE(js("map.getZoom()").toInt(), 9);
    QCOMPARE(js("map.getCenter().lat()").toDouble(), 48.8534);
    QCOMPARE(js("map.getCenter().lng()").toDouble(), 2.3522);
    QTRY_COMPARE(m_calls.callsOf("doZoom").last().args.at(0).toInt(), 9);
    QTRY_COMPARE(m_calls.callsOf("doCenter").last().args.at(0).toDouble(), 48.8534);
    QCOMPARE(m_calls.callsOf("doCenter").last().args.at(1).toDouble(), 2.3522);

    // The longitude comes back within (-180, 180].
    js("map.setCenter(new google.maps.LatLng(10.00000,-1.00000));");
    QCOMPARE(js("map.getCenter().lng()").toDouble(), -1.0);
    js("map.setCenter(new google.maps.LatLng(10.00000,181.00000));");
    QCOMPARE(js("map.getCenter().lng()").toDouble(), -179.0);
    // The shim's position type.
    QCOMPARE(js("new google.maps.LatLng(1.5, -2.25).lng()").toDouble(), -2.25);
    QCOMPARE(js("google.maps.LatLng(1.5, -2.25).lat()").toDouble(), 1.5);
}

void TestMapPage::contextMenuCalls_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lng");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QString>("theLast");   // empty: null

    const double aLat = 49.0097, aLng = 2.54778;
    QTest::newRow("airport: add to the plan") << aLat << aLng << "Ajouter au plan de vol" << "sAddAptToFp"
                                              << QVariantList{"LFPG"} << "LFPG";
    QTest::newRow("airport: runways") << aLat << aLng << "Afficher les pistes" << "doViewRwy" << QVariantList{"LFPG"}
                                      << "LFPG";
    QTest::newRow("airport: start here") << aLat << aLng << "Départ ici" << "sAddSitToFp" << QVariantList{aLat, aLng}
                                         << "LFPG";
    QTest::newRow("VOR: add to the plan") << 48.8 << 2.3 << "Ajouter au plan de vol" << "sAddNavToFp"
                                          << QVariantList{"PGS-FR4PGS1"} << "PGS-FR4PGS1";
    QTest::newRow("VOR: modify") << 48.8 << 2.3 << "Modifier" << "sAddNavToDB" << QVariantList{"PGS-FR4PGS1", 48.8, 2.3}
                                 << "PGS-FR4PGS1";
    QTest::newRow("VOR: delete") << 48.8 << 2.3 << "Supprimer" << "sDelNavFromDB" << QVariantList{"PGS-FR4PGS1"}
                                 << "PGS-FR4PGS1";
    QTest::newRow("NDB en-route: add") << 48.9 << 2.1 << "Ajouter au plan de vol" << "sAddNavToFp"
                                       << QVariantList{"CL-FR5CL1"} << "CL-FR5CL1";
    QTest::newRow("NDB terminal: delete") << 49.1 << 2.2 << "Supprimer" << "sDelNavFromDB"
                                          << QVariantList{"OL-FR5OL1"} << "OL-FR5OL1";
    QTest::newRow("waypoint: add to the plan") << 48.75 << 2.7 << "Ajouter au plan de vol" << "sAddWptToFp"
                                               << QVariantList{"ABCDEF-ABCDEFR"} << "ABCDEF-ABCDEFR";
    QTest::newRow("waypoint: modify") << 48.75 << 2.7 << "Modifier" << "sAddWptToDB"
                                      << QVariantList{"ABCDEF-ABCDEFR", 48.75, 2.7} << "ABCDEF-ABCDEFR";
    QTest::newRow("terminal waypoint: delete") << 49.15 << 2.8 << "Supprimer" << "sDelWptFromDB"
                                               << QVariantList{"TERMO-TERMOFR"} << "TERMO-TERMOFR";
    QTest::newRow("VFR point: modify") << 48.7 << 2.5 << "Modifier" << "sAddWptToDB"
                                       << QVariantList{"NA-NAFR", 48.7, 2.5} << "NA-NAFR";
    const double bLat = 49.2, bLng = 2.0;
    QTest::newRow("map: new user waypoint") << bLat << bLng << "Nouveau point de report" << "sAddNewWptToFp"
                                            << QVariantList{"WP", bLat, bLng} << "";
    QTest::newRow("map: create a navaid") << bLat << bLng << "Créer un navaid ici" << "sAddNavToDB"
                                          << QVariantList{"", bLat, bLng} << "";
    QTest::newRow("map: create a waypoint") << bLat << bLng << "Créer un waypoint ici" << "sAddWptToDB"
                                            << QVariantList{"", bLat, bLng} << "";
    QTest::newRow("map: start position") << bLat << bLng << "Position de départ ici" << "sAddSitToFp"
                                         << QVariantList{bLat, bLng} << "";
}

void TestMapPage::contextMenuCalls()
{
    QFETCH(double, lat);
    QFETCH(double, lng);
    QFETCH(QString, item);
    QFETCH(QString, slot);
    QFETCH(QVariantList, args);
    QFETCH(QString, theLast);

    js(parisMarkers());
    QVERIFY(centerOn(48.95, 2.45, 10));
    // An earlier choice is forgotten when the map itself is chosen.
    js("theLast = listApt[0]; 0");
    QTRY_VERIFY(m_calls.hasCall("doZoom"));
    m_calls.clear();

    // A right click where the user clicks, then the item.
    QVERIFY(!js(QStringLiteral("__navDebug.rightClickAt(%1, %2)").arg(lat).arg(lng)).toStringList().isEmpty());
    QVERIFY(js(QStringLiteral("__navDebug.clickMenuItem('%1')").arg(item)).toBool());
    QTRY_VERIFY(m_calls.hasCall(slot));
    const auto calls = m_calls.callsOf(slot);
    QCOMPARE(calls.size(), 1);
    const QVariantList got = calls.first().args;
    QCOMPARE(got.size(), args.size());
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i).typeId() == QMetaType::QString) {
            QCOMPARE(got.at(i).toString(), args.at(i).toString());
        } else {
            // a marker's own position exactly; a map position to the pixel
            const double tolerance = theLast.isEmpty() ? 0.005 : 1e-9;
            QVERIFY2(qAbs(got.at(i).toDouble() - args.at(i).toDouble()) <= tolerance,
                     qPrintable(QStringLiteral("argument %1: %2").arg(i).arg(got.at(i).toDouble(), 0, 'f', 6)));
        }
    }
    const QVariant last = js("__navDebug.theLastTitle()");
    if (theLast.isEmpty())
        QVERIFY(last.isNull());
    else
        QCOMPARE(last.toString(), theLast);
    // The menu is gone.
    QCOMPARE(js("__navDebug.menuItems().length").toInt(), 0);
}

void TestMapPage::menuTexts_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lng");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("fr airport") << "gm_navigator_fr.html" << 49.0097 << 2.54778
                                << QStringList{"Ajouter au plan de vol", "Afficher les pistes", "Départ ici"};
    QTest::newRow("fr navaid") << "gm_navigator_fr.html" << 48.8 << 2.3
                               << QStringList{"Ajouter au plan de vol", "Modifier", "Supprimer"};
    QTest::newRow("fr waypoint") << "gm_navigator_fr.html" << 48.75 << 2.7
                                 << QStringList{"Ajouter au plan de vol", "Modifier", "Supprimer"};
    QTest::newRow("fr map") << "gm_navigator_fr.html" << 49.2 << 2.0
                            << QStringList{"Nouveau point de report", "Créer un navaid ici", "Créer un waypoint ici",
                                           "Position de départ ici"};
    QTest::newRow("en airport") << "gm_navigator_en.html" << 49.0097 << 2.54778
                                << QStringList{"Add to the flight plan", "Show runways", "Start here"};
    QTest::newRow("en navaid") << "gm_navigator_en.html" << 48.8 << 2.3
                               << QStringList{"Add to the flight plan", "Edit", "Delete"};
    QTest::newRow("en map") << "gm_navigator_en.html" << 49.2 << 2.0
                            << QStringList{"New user waypoint", "Create a navaid here", "Create a waypoint here",
                                           "Start position here"};
}

void TestMapPage::menuTexts()
{
    QFETCH(QString, page);
    QFETCH(double, lat);
    QFETCH(double, lng);
    QFETCH(QStringList, items);
    QVERIFY(loadPage(page));
    QCOMPARE(js("__navDebug.lang").toString(), page.mid(13, 2));
    js(parisMarkers());
    QVERIFY(centerOn(48.95, 2.45, 10));
    QCOMPARE(js(QStringLiteral("__navDebug.rightClickAt(%1, %2)").arg(lat).arg(lng)).toStringList(), items);
    // Escape closes it without a call.
    m_calls.clear();
    js("document.dispatchEvent(new KeyboardEvent('keydown', {key: 'Escape'}))");
    QCOMPARE(js("__navDebug.menuItems().length").toInt(), 0);
}

void TestMapPage::deleteTheLast_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lng");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("left");

    // The program's texts after a deletion.
    const QString delNav = "delNavaid();theLast == null;";
    const QString delWpt = "delWaypoint();theLast == null;";
    QTest::newRow("VOR removed by delNavaid") << 48.8 << 2.3 << delNav << "listVOR" << 0;
    QTest::newRow("terminal NDB removed by delNavaid") << 49.1 << 2.2 << delNav << "listNDBTerm" << 0;
    QTest::newRow("waypoint removed by delWaypoint") << 48.75 << 2.7 << delWpt << "listWptRte" << 0;
    QTest::newRow("VFR point removed by delWaypoint") << 48.7 << 2.5 << delWpt << "listWptVfr" << 0;
    QTest::newRow("delWaypoint leaves a navaid") << 48.8 << 2.3 << delWpt << "listVOR" << 1;
    QTest::newRow("delNavaid leaves a waypoint") << 48.75 << 2.7 << delNav << "listWptRte" << 1;
}

void TestMapPage::deleteTheLast()
{
    QFETCH(double, lat);
    QFETCH(double, lng);
    QFETCH(QString, script);
    QFETCH(QString, list);
    QFETCH(int, left);

    js(parisMarkers());
    QVERIFY(centerOn(48.95, 2.45, 10));
    QCOMPARE(visible(list), 1);
    js(QStringLiteral("__navDebug.rightClickAt(%1, %2)").arg(lat).arg(lng));
    const bool isNav = list.startsWith("listVOR") || list.startsWith("listNDB");
    QVERIFY(js(QStringLiteral("__navDebug.clickMenuItem('Supprimer')")).toBool());
    QTRY_VERIFY(m_calls.hasCall(isNav ? "sDelNavFromDB" : "sDelWptFromDB"));
    QVERIFY(!js("__navDebug.theLastTitle()").isNull());

    js(script);
    QCOMPARE(size(list), left);
    QCOMPARE(visible(list), left);
    QVERIFY(js("__navDebug.theLastTitle()").isNull());
    // Nothing else went.
    for (const QString &other : kLists) {
        if (other != list)
            QCOMPARE(size(other), 1);
    }
    // With theLast null, nothing more happens.
    js("delNavaid();delWaypoint();");
    QCOMPARE(size(list), left);
}

void TestMapPage::editorMarkers_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("count");

    // The editors' calls end with the row's key (and the longer keys that
    // end with it).
    auto keyed = [](const QString &call, const QString &keyArguments) {
        return call.chopped(1) + u',' + keyArguments + u')';
    };
    // At zoom 5 these kinds are not drawn, but an editor's new marker shows.
    QTest::newRow("new VOR") << keyed(vor(47.0, 3.0, "NEW-FR4NEW1", 17, "addVORMarker2"), "\"FR4NEW1\"") << "listVOR" << 2;
    QTest::newRow("new terminal NDB") << keyed(ndb(47.0, 3.0, "NB-FR5NB1", 4, "addNDBMarker2"), "\"FR5NB1\"")
                                      << "listNDBTerm" << 2;
    QTest::newRow("new VFR point") << keyed(wpt(47.0, 3.0, "VV-VVFR", 6, "addWPTMarker2"), "\"VVFR\"") << "listWptVfr" << 2;
    // A modified row replaces its marker (same key), wherever it moved.
    QTest::newRow("modified VOR") << keyed(vor(47.0, 3.0, "PGS-FR4PGS1", 17, "addVORMarker2"), "\"FR4PGS1\"")
                                  << "listVOR" << 1;
    QTest::newRow("modified NDB now terminal") << keyed(ndb(47.0, 3.0, "CL-FR5CL1", 4, "addNDBMarker2"), "\"FR5CL1\"")
                                               << "listNDBTerm" << 2;
    QTest::newRow("modified waypoint") << keyed(wpt(47.0, 3.0, "ABCDEF-ABCDEFR", 1, "addWPTMarker2"), "\"ABCDEFR\"")
                                       << "listWptRte" << 1;
    // Keys with dashes: X-RAY (key X-RAYBE) and RAY (key RAYBE) each
    // replace their own marker only.
    const QString rays = wpt(47.2, 3.2, "RAY-RAYBE", 1) + u';' + wpt(47.4, 3.4, "X-RAY-X-RAYBE", 1) + ";addWptMgr();";
    QTest::newRow("modified X-RAY") << rays + keyed(wpt(47.0, 3.0, "X-RAY-X-RAYBE", 1, "addWPTMarker2"), "\"X-RAYBE\"")
                                    << "listWptRte" << 3;
    QTest::newRow("modified RAY")
            << rays + keyed(wpt(47.0, 3.0, "RAY-RAYBE", 1, "addWPTMarker2"), "\"RAYBE\",[\"X-RAYBE\"]")
            << "listWptRte" << 3;
}

void TestMapPage::editorMarkers()
{
    QFETCH(QString, script);
    QFETCH(QString, list);
    QFETCH(int, count);

    js(parisMarkers());
    QVERIFY(centerOn(47.5, 2.5, 5));
    js(script);
    QCOMPARE(size(list), count);
    QVERIFY(visible(list) >= 1);
    QCOMPARE(js(QStringLiteral("__navDebug.indexedCount('%1')").arg(list)).toInt(), count);
    // A modified NDB that became terminal leaves the en-route list.
    if (QString(QTest::currentDataTag()) == QLatin1String("modified NDB now terminal"))
        QCOMPARE(size("listNDBRte"), 0);
    // The new marker answers the mouse and the menu at its place.
    QVERIFY(!js("__navDebug.rightClickAt(47.0, 3.0)").toStringList().contains("Créer un navaid ici"));
}

void TestMapPage::infoWindowAndHover()
{
    // An airport whose stored name holds quotes and markup, as the program
    // sends it: HTML-escaped in the info, JavaScript-escaped in the call.
    js("addAPTMarker(new google.maps.LatLng(49.00970,2.54778),\"O'H\",1,"
       "\"<font color=blue><b>Airport O'H</b><font color=black><br/>O'Hare &quot;Intl&quot; &lt;/script&gt;<br/>x\");"
       "pushAPT();");
    QVERIFY(centerOn(49.0, 2.5, 9));
    const QString popup = js("__navDebug.clickAt(49.0097, 2.54778)").toString();
    QCOMPARE(popup, QStringLiteral("<font color=blue><b>Airport O'H</b><font color=black><br/>"
                                   "O'Hare &quot;Intl&quot; &lt;/script&gt;<br/>x"));
    QCOMPARE(js("document.querySelector('.nav-info .leaflet-popup-content').textContent").toString(),
             QStringLiteral("Airport O'HO'Hare \"Intl\" </script>x"));
    QCOMPARE(js("__navDebug.moveMouseTo(49.0097, 2.54778)").toString(), QStringLiteral("O'H"));
    // Away from every marker: nothing.
    QCOMPARE(js("__navDebug.moveMouseTo(49.3, 2.0)").toString(), QString());
    QCOMPARE(js("__navDebug.clickAt(49.3, 2.0)").toString(), QString());

    // The title goes back to the program unchanged.
    js("__navDebug.rightClickAt(49.0097, 2.54778)");
    js("__navDebug.clickMenuItem('Ajouter au plan de vol')");
    QTRY_VERIFY(m_calls.hasCall("sAddAptToFp"));
    QCOMPARE(m_calls.callsOf("sAddAptToFp").first().args.at(0).toString(), QStringLiteral("O'H"));
}

void TestMapPage::cursorPositionReported()
{
    QVERIFY(centerOn(48.8534, 2.3522, 9));
    m_calls.clear();
    js("__navDebug.moveMouseTo(48.8534, 2.3522)");
    QTRY_VERIFY(m_calls.hasCall("doData"));
    const QString data = m_calls.callsOf("doData").last().args.at(0).toString();
    const QRegularExpression form(QStringLiteral("^(-?\\d+\\.\\d{5}) (-?\\d+\\.\\d{5})$"));
    const auto match = form.match(data);
    QVERIFY2(match.hasMatch(), qPrintable(data));
    QVERIFY(qAbs(match.captured(1).toDouble() - 48.8534) < 0.005);
    QVERIFY(qAbs(match.captured(2).toDouble() - 2.3522) < 0.005);
}

void TestMapPage::baseMapAndControls()
{
    const QVariantMap base = js("__navDebug.baseMap()").toMap();
    QVERIFY(base.value("land").toInt() > 0);
    QVERIFY(base.value("borders").toInt() > 0);
    // Online tiles: offered, off until chosen.
    QCOMPARE(js("__navDebug.onlineTiles()").toBool(), false);
    QCOMPARE(js("document.querySelectorAll('.leaflet-control-layers-overlays input').length").toInt(), 1);
    QCOMPARE(js("document.querySelector('.leaflet-control-layers-overlays span').textContent.trim()").toString(),
             QStringLiteral("Carte en ligne (OpenStreetMap)"));
    // A scale in kilometres and nautical miles.
    const QStringList scale = js("__navDebug.scaleTexts()").toStringList();
    QCOMPARE(scale.size(), 2);
    QVERIFY(scale.at(0).endsWith("km") || scale.at(0).endsWith(" m"));
    QVERIFY(scale.at(1).endsWith("NM"));
    // No link in the map takes the view away from the page.
    QCOMPARE(js("document.querySelectorAll('.leaflet-control-attribution a').length").toInt(), 0);
    // The legend, closed until asked for.
    QCOMPARE(js("document.querySelector('.nav-legend-button').textContent").toString(), QStringLiteral("Légende"));
    QCOMPARE(js("document.querySelectorAll('.nav-legend-row').length").toInt(), 16);
}

void TestMapPage::screenshots()
{
    // The demo data of France, sent as the program sends it.
    SimFixture sim;
    QVERIFY2(sim.buildDemo(), qPrintable(sim.lastError()));
    const auto open = [&sim](const QString &file) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "mappage-" + file);
        db.setDatabaseName(QDir(sim.sqlDir()).filePath(file));
        return db;
    };
    QSqlDatabase gen = open("GEN.db"), wptDb = open("WPT.db"), route = open("ROUTE.db");
    QVERIFY(gen.open() && wptDb.open() && route.open());
    CMarkerLayers layers;
    layers.atsB = false;
    const QString airports = CMarkerScript::airports(gen).script;
    const QString navaids = CMarkerScript::navaids(gen, layers).script;
    const QString waypoints = CMarkerScript::waypoints(wptDb, layers).script;
    const QString routes = CMarkerScript::routes(route, layers).script;
    QString runways;
    {
        QSqlQuery query(gen);
        QVERIFY(query.exec("SELECT * FROM RWY WHERE rapt = 'LFPG'") && query.next());
        runways = CMarkerScript::runways(query);
    }
    QVERIFY(!airports.isEmpty() && !navaids.isEmpty() && !waypoints.isEmpty() && !routes.isEmpty());
    js(airports);
    js(navaids);
    js(waypoints);
    js(routes);
    QVERIFY(size("listApt") > 800);
    QVERIFY(size("listWptRte") > 100);

    const QString dir = QStringLiteral(MAPPAGE_SHOT_DIR);
    const auto shoot = [this, &dir](const QString &name) {
        QTest::qWait(500);   // let the page paint
        const QImage image = m_view->grab().toImage();
        const QString file = QDir(dir).filePath(name);
        image.save(file);
        qInfo() << "screenshot" << file;
        return image;
    };

    // France at the start-up scale, with the legend open.
    QVERIFY(centerOn(46.8, 2.5, 6));
    js("__navDebug.showLegend(true)");
    const QImage france = shoot("mappage-france.png");
    QVERIFY(!france.isNull());
    // Both the sea and the land are there.
    QSet<QRgb> colours;
    for (int y = 0; y < france.height(); y += 7) {
        for (int x = 0; x < france.width(); x += 7)
            colours.insert(france.pixel(x, y) & 0xffffff);
    }
    QVERIFY(colours.contains(qRgb(0xb7, 0xd3, 0xe9) & 0xffffff));
    QVERIFY(colours.contains(qRgb(0xf2, 0xed, 0xdc) & 0xffffff));

    // Paris close in: every kind of point, a plan, runways, start position.
    js("__navDebug.showLegend(false)");
    js(runways);
    js("clearFP();addPointToFp(new google.maps.LatLng(49.00970,2.54778),\"LFPG\");"
       "addPointToFp(new google.maps.LatLng(49.13500,2.00500),\"PON\");"
       "addPointToFp(new google.maps.LatLng(48.72530,1.36700),\"EPL\");pushFP();");
    js("clearSS();addPointToSS(new google.maps.LatLng(49.00970,2.54778),\"LFPG\");"
       "addPointToSS(new google.maps.LatLng(48.90000,2.75000),\"MLN\");"
       "addPointToSS(new google.maps.LatLng(48.80000,2.90000),\"VEPOR\");");
    js("addSitMarker(new google.maps.LatLng(49.00970000,2.54778000),\"Cessna 172\", 265);");
    js("addAcftMrkr(new google.maps.LatLng(48.95000,2.20000),\"\",130);");
    QVERIFY(centerOn(48.93, 2.3, 9));
    QVERIFY(!shoot("mappage-paris.png").isNull());
    QVERIFY(centerOn(49.0097, 2.54778, 12));
    QVERIFY(!shoot("mappage-lfpg.png").isNull());
}

QTEST_MAIN(TestMapPage)
#include "tst_mappage.moc"
