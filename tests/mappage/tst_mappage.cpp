// The map page in a real web view: the texts the program sends, what the
// page then shows, and the calls it makes back through window.mainWindow.
// One page serves every test; each starts from a page without markers,
// plan, procedure, runways or aircraft.

#include "map/webpage.h"
#include "tests/support/pagecalls.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>
#include <memory>

namespace {

QString pos(double lat, double lng)
{
    return QStringLiteral("new google.maps.LatLng(%1,%2)").arg(lat, 0, 'f', 5).arg(lng, 0, 'f', 5);
}

// A marker call as the program sends it (fn: the function, kind: the
// info's word, code: type or usage).
QString marker(const QString &fn, const QString &kind, double lat, double lng, const QString &title, int code)
{
    const QString info = QStringLiteral("<font color=blue><b>%1 %2</b><font color=black><br/>NAME<br/>48 51' 12.24 N - "
                                        "2 21' 7.92 E").arg(kind, title);
    return QStringLiteral("%1(%2,\"%3\",%4,\"%5\")").arg(fn, pos(lat, lng), title).arg(code).arg(info);
}
QString apt(double lat, double lng, const QString &id) { return marker("addAPTMarker", "Airport", lat, lng, id, 1); }
QString vor(double lat, double lng, const QString &t, int c) { return marker("addVORMarker", "VOR", lat, lng, t, c); }
QString ndb(double lat, double lng, const QString &t, int c) { return marker("addNDBMarker", "NDB", lat, lng, t, c); }
QString wpt(double lat, double lng, const QString &t, int c) { return marker("addWPTMarker", "Waypoint", lat, lng, t, c); }

// One of each kind around Paris, far enough apart to be told apart at
// zoom 10 around 48.95, 2.45, published as the program publishes them.
QString parisMarkers()
{
    return QStringList{apt(49.00970, 2.54778, "LFPG"), "pushAPT()", vor(48.8, 2.3, "PGS-FR4PGS1", 17),
                       ndb(48.9, 2.1, "CL-FR5CL1", 2), ndb(49.1, 2.2, "OL-FR5OL1", 4), "addNavMgr()",
                       wpt(48.75, 2.7, "ABCDEF-ABCDEFR", 1), wpt(49.15, 2.8, "TERMO-TERMOFR", 4),
                       wpt(48.7, 2.5, "NA-NAFR", 6), "addWptMgr()"}.join(';') + ';';
}

const QStringList kLists = {"listApt", "listVOR", "listNDBRte", "listNDBTerm", "listWptRte", "listWptTerm", "listWptVfr"};

} // namespace

class TestMapPage : public QObject
{
    Q_OBJECT

private:
    QVariant js(const QString &script, QWebEnginePage *page = nullptr);
    bool loadPage(const QString &file = QStringLiteral("gm_navigator_fr.html"));
    bool centerOn(double lat, double lng, int zoom);
    int visible(const QString &list) { return js(QStringLiteral("__navDebug.visibleCount('%1')").arg(list)).toInt(); }
    int size(const QString &list) { return js(QStringLiteral("__navDebug.listSize('%1')").arg(list)).toInt(); }
    QVariantList calledWith(const QString &slot);

    std::unique_ptr<QWebEngineView> m_view;
    myWebPage *m_page = nullptr;
    PageCalls m_calls;

private slots:
    void initTestCase();
    void init();

    void bridge();
    void otherDocumentsRefused_data();
    void otherDocumentsRefused();
    void thinningByZoom_data();
    void thinningByZoom();
    void worldScaleStaysBounded();
    void atsRoutes();
    void planProcedureAndRunways();
    void startAndAircraftMarkers();
    void contextMenuCalls_data();
    void contextMenuCalls();
    void menuTexts();
    void editorMarkers_data();
    void editorMarkers();
    void infoWindowAndHover();
    void baseMap();
};

QVariant TestMapPage::js(const QString &script, QWebEnginePage *page)
{
    auto answer = std::make_shared<QPair<bool, QVariant>>(false, QVariant());
    (page ? page : m_page)->runJavaScript(script, [answer](const QVariant &v) { *answer = {true, v}; });
    if (!QTest::qWaitFor([answer] { return answer->first; }, 30000))
        qWarning() << "the page did not answer" << script.left(120);
    return answer->second;
}

bool TestMapPage::loadPage(const QString &file)
{
    const QString path = QDir(qEnvironmentVariable("CORVANE_BIN_DIR")).filePath(file);
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

// The arguments of the one call of a slot (waits for it).
QVariantList TestMapPage::calledWith(const QString &slot)
{
    if (!QTest::qWaitFor([&] { return m_calls.hasCall(slot); }, 15000) || m_calls.callsOf(slot).size() != 1)
        return {QStringLiteral("%1 calls of %2").arg(m_calls.callsOf(slot).size()).arg(slot)};
    return m_calls.callsOf(slot).first().args;
}

void TestMapPage::initTestCase()
{
    QVERIFY2(!qEnvironmentVariableIsEmpty("CORVANE_BIN_DIR"), "CORVANE_BIN_DIR is not set");
    m_view = std::make_unique<QWebEngineView>();
    m_page = new myWebPage(m_view.get());
    m_page->installBridge(&m_calls);
    m_view->setPage(m_page);
    m_view->resize(1600, 800);   // every marker of the tests drawn at zoom 10
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestMapPage::init()
{
    if (js("__navDebug.lang").toString() != QLatin1String("fr")) {
        QVERIFY(loadPage());
        QTRY_VERIFY(m_calls.hasCall("doZoom"));   // the start-up report is in
    }
    js("clearNavData();clearFP();clearSS();clearRunway();eraseAcftMrkr();"
       "document.dispatchEvent(new KeyboardEvent('keydown', {key: 'Escape'}));");
    m_calls.clear();
}

void TestMapPage::bridge()
{
    // Reported once the page loaded (queued until the channel was up): the
    // view the page starts with.
    QVERIFY(loadPage());
    QTRY_VERIFY(m_calls.hasCall("doCenter") && m_calls.hasCall("doZoom"));
    QCOMPARE(m_calls.callsOf("doCenter").first().args, (QVariantList{49.0, 2.0}));
    QCOMPARE(m_calls.callsOf("doZoom").first().args, QVariantList{6});
    // The proxy offers every slot the page may call, and nothing else of the object.
    QCOMPARE(js("typeof mainWindow.sDelWptFromDB + typeof mainWindow.deleteLater").toString(), QStringLiteral("functionundefined"));
    js("mainWindow.doSomething('hello')");
    QCOMPARE(calledWith("doSomething"), QVariantList{"hello"});

    // The view reported as it changes.
    QVERIFY(centerOn(45, 1, 5));
    m_calls.clear();
    js("map.setCenter(new google.maps.LatLng(48.85340,2.35220));map.setZoom(9)");
    QTRY_VERIFY(m_calls.hasCall("doZoom") && m_calls.callsOf("doZoom").last().args == QVariantList{9});
    QTRY_VERIFY(m_calls.hasCall("doCenter"));
    QTRY_COMPARE(m_calls.callsOf("doCenter").last().args.value(0).toDouble(), 48.8534);
    QCOMPARE(m_calls.callsOf("doCenter").last().args.value(1).toDouble(), 2.3522);
    // The longitude comes back within (-180, 180].
    js("map.setCenter(new google.maps.LatLng(10.00000,181.00000));");
    QCOMPARE(js("map.getCenter().lng()").toDouble(), -179.0);
    // The position under the mouse, with five decimals.
    js("__navDebug.moveMouseTo(48.8534, 2.3522)");
    QTRY_VERIFY(m_calls.hasCall("doData"));
    const QString data = m_calls.callsOf("doData").last().args.at(0).toString();
    QVERIFY2(QRegularExpression("^48\\.(84|85|86)\\d{3} 2\\.(34|35|36)\\d{3}$").match(data).hasMatch(), qPrintable(data));

    // In a plain browser: no channel, the calls dropped, the markers shown.
    QWebEngineView plain;
    QSignalSpy loaded(&plain, &QWebEngineView::loadFinished);
    plain.load(m_page->url());
    QVERIFY(loaded.wait(30000) && loaded.first().first().toBool());
    QTRY_COMPARE_WITH_TIMEOUT(js("mainWindow.__state", plain.page()).toString(), QStringLiteral("absent"), 15000);
    QCOMPARE(js("mainWindow.doCenter(1, 2); mainWindow.__queued", plain.page()).toInt(), 0);
    QCOMPARE(js(apt(49.0097, 2.54778, "LFPG") + ";pushAPT();__navDebug.visibleCount('listApt')", plain.page()).toInt(), 1);
}

void TestMapPage::otherDocumentsRefused_data()
{
    QTest::addColumn<QString>("script");   // run in the map page; empty: the view is asked to load the file
    QTest::addColumn<bool>("window");      // a new window asked for, not a navigation

    QTest::newRow("the view loads a dropped file") << QString() << false;
    QTest::newRow("a script sets location") << "location.href = URL" << false;
    QTest::newRow("window.open") << "window.open(URL)" << true;
}

void TestMapPage::otherDocumentsRefused()
{
    QFETCH(QString, script);
    QFETCH(bool, window);
    // A page of someone else's that calls the program at once.
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("other.html")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html><body><script>mainWindow.doData('other page');</script></body></html>");
    file.close();
    const QUrl other = QUrl::fromLocalFile(file.fileName());
    const QUrl own = m_page->url();

    QSignalSpy refused(m_page, &myWebPage::navigationRefused);
    QSignalSpy loaded(m_page, &QWebEnginePage::loadFinished);
    if (script.isEmpty())
        m_view->load(other);
    else
        js(QString(script).replace(QLatin1String("URL"), QStringLiteral("'%1'").arg(other.toString())));
    QTRY_COMPARE_WITH_TIMEOUT(refused.size(), 1, 30000);
    QCOMPARE(refused.first().first().toUrl(), window ? QUrl() : other);
    if (!window) {
        // The load of the other page ends, without it.
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 30000);
        QCOMPARE(loaded.first().first().toBool(), false);
    }
    // Still the map, and the other page reached nothing.
    QCOMPARE(m_page->url(), own);
    js("mainWindow.doSomething('still here')");
    QCOMPARE(calledWith("doSomething"), QVariantList{"still here"});
    QVERIFY(!m_calls.hasCall("doData"));
}

void TestMapPage::thinningByZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QList<int>>("shown");   // per list, in the order of kLists
    QTest::addColumn<int>("hidden");   // the layer the program hides, then shows again; -1: none

    QTest::newRow("zoom 3: nothing") << 3 << QList<int>{0, 0, 0, 0, 0, 0, 0} << -1;
    QTest::newRow("zoom 5: airports and VORs") << 5 << QList<int>{1, 1, 0, 0, 0, 0, 0} << -1;
    QTest::newRow("zoom 7: en-route NDBs and waypoints too") << 7 << QList<int>{1, 1, 1, 0, 1, 0, 0} << -1;
    QTest::newRow("zoom 8: terminal NDBs too") << 8 << QList<int>{1, 1, 1, 1, 1, 0, 0} << -1;
    QTest::newRow("zoom 9: VFR points too") << 9 << QList<int>{1, 1, 1, 1, 1, 0, 1} << -1;
    QTest::newRow("zoom 10: everything") << 10 << QList<int>{1, 1, 1, 1, 1, 1, 1} << -1;
    // Hidden, not forgotten; the other layers stay.
    QTest::newRow("VOR layer hidden") << 10 << QList<int>{1, 0, 1, 1, 1, 1, 1} << 1;
    QTest::newRow("VFR layer hidden") << 10 << QList<int>{1, 1, 1, 1, 1, 1, 0} << 6;
}

void TestMapPage::thinningByZoom()
{
    QFETCH(int, zoom);
    QFETCH(QList<int>, shown);
    // One of each kind, 0.45 degrees apart: apart at every zoom. A DME
    // (type 16) is filed with the VORs, waypoint usage 3 is en-route.
    js(QStringList{apt(49.25, 1.55, "LFPG"), "pushAPT()", vor(49.25, 2.00, "PGS-FR4PGS1", 16),
                   ndb(49.25, 2.45, "CL-FR5CL1", 2), ndb(49.25, 2.90, "OL-FR5OL1", 4), "addNavMgr()",
                   wpt(49.25, 3.35, "ABCDEF-ABCDEFR", 3), wpt(48.65, 1.55, "TERMO-TERMOFR", 4),
                   wpt(48.65, 2.00, "NA-NAFR", 6), "addWptMgr()"}.join(';'));
    QVERIFY(centerOn(48.95, 2.45, zoom));
    QFETCH(int, hidden);
    const QStringList managers{"ArptMgr", "VORMgr", "NDBRteMgr", "NDBTermMgr", "WPTRteMgr", "WPTTermMgr", "WPTVfrMgr"};
    if (hidden >= 0)
        js(managers.at(hidden) + ".clearMarkers()");
    for (int i = 0; i < kLists.size(); ++i)
        QCOMPARE(QPair(kLists.at(i), visible(kLists.at(i))), QPair(kLists.at(i), shown.at(i)));
    QCOMPARE(js("__navDebug.lists.reduce((n, l) => n + __navDebug.listSize(l), 0)").toInt(), 7);
    if (hidden >= 0) {
        js(QStringLiteral("%1.addMarkers(%2)").arg(managers.at(hidden), kLists.at(hidden)));
        QCOMPARE(visible(kLists.at(hidden)), 1);
    }
}

void TestMapPage::worldScaleStaysBounded()
{
    // 300,000 waypoints over the whole world, as the program's calls make them.
    QCOMPARE(js("var seed = 12345; function rnd() { seed = (seed * 16807) % 2147483647; return seed / 2147483647; }"
                "for (var i = 0; i < 300000; ++i)"
                "  addWPTMarker(new google.maps.LatLng(-60 + 130 * rnd(), -180 + 360 * rnd()), 'W' + i + '-W' + i + 'K',"
                "               [1, 2, 3, 4, 6][i % 5], 'info');"
                "addWptMgr(); [listWptRte.length, listWptTerm.length, listWptVfr.length]").toList(),
             (QVariantList{180000, 60000, 60000}));
    for (int zoom : {2, 7, 9, 12}) {
        QVERIFY(centerOn(20, 10, zoom));
        const int total = js("__navDebug.totalVisible()").toInt();
        QVERIFY2(total <= 6000 && (zoom < 7 || total > 0), qPrintable(QString::number(total)));
    }
    // Still answering the mouse.
    QCOMPARE(js("__navDebug.moveMouseTo(20.1, 10.1); 'ok'").toString(), QStringLiteral("ok"));
}

void TestMapPage::atsRoutes()
{
    QVERIFY(loadPage());   // no routes yet
    // As the program sends them, call by call.
    for (const auto &[letter, route] : QList<QPair<QString, QList<double>>>{
                 {"L", {49.03094, 1.22086, 49.09636, 1.48611, 49.12, 1.7}}, {"H", {47, 3, 47.5, 3.5}},
                 {"B", {45, 5, 45.2, 5.2}}, {"B", {45.5, 5.5, 45.7, 5.7}}}) {
        js(QStringLiteral("addATS('%1')").arg(letter));
        for (int i = 0; i < route.size(); i += 2)
            js(QStringLiteral("addToATS(%1),'ATS'").arg(pos(route.at(i), route.at(i + 1))));
    }
    const QMap<QString, QVariantList> expected = {{"L", {1, 3}}, {"H", {1, 2}}, {"B", {2, 4}}};
    for (const char *letter : {"L", "H", "B"}) {
        js(QStringLiteral("showATS('L',0);showATS('H',0);showATS('B',0);showATS('%1',1)").arg(letter));
        for (const QString other : {"L", "H", "B"}) {
            const QVariantMap ats = js(QStringLiteral("__navDebug.ats('%1')").arg(other)).toMap();
            QCOMPARE((QVariantList{ats.value("routes"), ats.value("points")}), expected.value(other));
            QCOMPARE(ats.value("onMap").toBool(), other == letter);
        }
    }
}

void TestMapPage::planProcedureAndRunways()
{
    // Names stay text: no markup, no script.
    js("addPointToFp(new google.maps.LatLng(49.00970,2.54778),\"<img src=x onerror=mainWindow.doSomething('x')>\");"
       "addPointToFp(new google.maps.LatLng(48.72530,2.35940),\"O'Hare \\\"Intl\\\"\");"
       "addPointToFp(new google.maps.LatLng(45.72560,5.08110),\"LFLL\");pushFP();");
    QCOMPARE(js("__navDebug.flightPlan()[2].lng + ' ' + __navDebug.flightPlanLine()").toString(), QStringLiteral("5.0811 3"));
    QCOMPARE(js("__navDebug.flightPlanLabels()").toStringList(),
             (QStringList{"<img src=x onerror=mainWindow.doSomething('x')>", "O'Hare \"Intl\"", "LFLL"}));
    QCOMPARE(js("document.querySelectorAll('.nav-fp-label img').length").toInt(), 0);
    // Deleting the last line sends clearFP() alone.
    js("clearFP()");
    QCOMPARE(js("__navDebug.flightPlan().length + __navDebug.flightPlanLabels().length + __navDebug.flightPlanLine()")
                     .toInt(), 0);
    QTRY_COMPARE(js("document.querySelectorAll('.nav-fp-label').length").toInt(), 0);
    QVERIFY(!m_calls.hasCall("doSomething"));

    // A procedure is drawn as its points come.
    js("addPointToSS(new google.maps.LatLng(49.00970,2.54778),\"LFPG\");"
       "addPointToSS(new google.maps.LatLng(49.10000,2.30000),\"OPALE\");"
       "addPointToSS(new google.maps.LatLng(49.30000,2.00000),\"PON\")");
    QCOMPARE(js("__navDebug.procedureLine()").toInt(), 3);
    QCOMPARE(js("__navDebug.procedureLabels()").toStringList(), (QStringList{"LFPG", "OPALE", "PON"}));
    js("clearSS()");
    QCOMPARE(js("__navDebug.procedure().length + __navDebug.procedureLabels().length").toInt(), 0);
    QTRY_COMPARE(js("document.querySelectorAll('.nav-ss-label').length").toInt(), 0);

    // A new airport's runways replace the old ones.
    js("drawRwy(new google.maps.LatLng(49.02500,2.52000),new google.maps.LatLng(49.02200,2.56100));"
       "drawRwy(new google.maps.LatLng(49.01400,2.51000),new google.maps.LatLng(49.01100,2.55000));");
    QCOMPARE(js("__navDebug.runways()").toList(), (QVariantList{QVariantList{49.025, 2.52, 49.022, 2.561},
                                                                  QVariantList{49.014, 2.51, 49.011, 2.55}}));
    js("clearRunway();drawRwy(new google.maps.LatLng(48.72000,2.36000),new google.maps.LatLng(48.73000,2.40000));");
    QCOMPARE(js("__navDebug.runways().length").toInt(), 1);
}

void TestMapPage::startAndAircraftMarkers()
{
    js("addSitMarker(new google.maps.LatLng(49.00970000,2.54778000),\"Cessna 172\", 90);");
    QVariantMap sit = js("__navDebug.sitMarker()").toMap();
    QCOMPARE((QVariantList{sit.value("lat"), sit.value("lng"), sit.value("name"), sit.value("rotation")}),
             (QVariantList{49.0097, 2.54778, "Cessna 172", "rotate(90deg)"}));
    QVERIFY(sit.value("draggable").toBool());
    // Moving the marker tells the program.
    QVERIFY(js("__navDebug.dragSitTo(45.5, -2.25)").toBool());
    QCOMPARE(calledWith("doMoveSIT"), (QVariantList{45.5, -2.25}));
    // A new start position moves the one marker and turns it.
    js("addSitMarker(new google.maps.LatLng(43.62890000,1.36380000),\"Cessna 172\", 12.5);");
    sit = js("__navDebug.sitMarker()").toMap();
    QCOMPARE((QVariantList{sit.value("lat"), sit.value("rotation")}), (QVariantList{43.6289, "rotate(12.5deg)"}));
    QCOMPARE(js("document.querySelectorAll('.nav-sit').length").toInt(), 1);

    // The aircraft, added turned (erased: tst_journeys); a zero-filled
    // block, without a marker: a tick makes one at 0,0.
    js("addAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),\"\",270);");
    QCOMPARE(js("__navDebug.aircraft().rotation").toString(), QStringLiteral("rotate(270deg)"));
    js("eraseAcftMrkr();setAcftMrkr(new google.maps.LatLng(0.00000,0.00000),0);");
    QCOMPARE(js("__navDebug.aircraft().rotation").toString(), QStringLiteral("rotate(0deg)"));

    // A trace tick with the centre.
    QVERIFY(centerOn(46.0, -1.5, 8));
    QTRY_COMPARE(js("__navDebug.tilesMissing()").toInt(), 0);
    const int resets = js("__navDebug.viewResets()").toInt();
    // Standing still, then moving a little: the map follows without
    // starting its view afresh (which would draw every tile again).
    for (const char *at : {"46.00000,-1.50000", "46.00000,-1.50000", "46.00100,-1.49900", "46.00300,-1.49700"})
        js(QStringLiteral("setAcftMrkr(new google.maps.LatLng(%1),90);;map.setCenter(new google.maps.LatLng(%1));")
                   .arg(QLatin1String(at)));
    js("__navDebug.redraw()");
    QCOMPARE(js("[map.getCenter().lat(), map.getCenter().lng(), __navDebug.aircraft().heading].map(v => +v.toFixed(6))").toList(),
             (QVariantList{46.003, -1.497, 90}));
    QCOMPARE(js("__navDebug.viewResets()").toInt(), resets);
}

void TestMapPage::contextMenuCalls_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lng");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QVariantList>("args");   // a marker's own position exactly, a map position to the pixel
    QTest::addColumn<QString>("then");        // the program's text after a deletion, and the markers left
    QTest::addColumn<int>("left");

    const double aLat = 49.0097, aLng = 2.54778, bLat = 49.2, bLng = 2.0;
    QTest::newRow("airport: runways") << aLat << aLng << "Afficher les pistes" << "doViewRwy" << QVariantList{"LFPG"} << "" << 7;
    QTest::newRow("airport: start here") << aLat << aLng << "Départ ici" << "sAddSitToFp" << QVariantList{aLat, aLng} << "" << 7;
    // A VOR added, modified or deleted, and a navaid created on the map:
    // tst_journeys, on the real page.
    const QString delNav = "delNavaid();theLast == null;", delWpt = "delWaypoint();theLast == null;";
    QTest::newRow("VOR: delWaypoint leaves it") << 48.8 << 2.3 << "Supprimer" << "sDelNavFromDB" << QVariantList{"PGS-FR4PGS1"}
                                                << delWpt << 7;
    QTest::newRow("terminal NDB: delete") << 49.1 << 2.2 << "Supprimer" << "sDelNavFromDB" << QVariantList{"OL-FR5OL1"}
                                          << delNav << 6;
    QTest::newRow("waypoint: add") << 48.75 << 2.7 << "Ajouter au plan de vol" << "sAddWptToFp" << QVariantList{"ABCDEF-ABCDEFR"} << "" << 7;
    QTest::newRow("terminal waypoint: delete") << 49.15 << 2.8 << "Supprimer" << "sDelWptFromDB" << QVariantList{"TERMO-TERMOFR"}
                                               << delWpt << 6;
    QTest::newRow("waypoint: delNavaid leaves it") << 48.75 << 2.7 << "Supprimer" << "sDelWptFromDB"
                                                   << QVariantList{"ABCDEF-ABCDEFR"} << delNav << 7;
    QTest::newRow("VFR point: modify") << 48.7 << 2.5 << "Modifier" << "sAddWptToDB" << QVariantList{"NA-NAFR", 48.7, 2.5} << "" << 7;
    QTest::newRow("map: new user waypoint") << bLat << bLng << "Nouveau point de report" << "sAddNewWptToFp"
                                            << QVariantList{"WP", bLat, bLng} << "" << 7;
    QTest::newRow("map: create a waypoint") << bLat << bLng << "Créer un waypoint ici" << "sAddWptToDB" << QVariantList{"", bLat, bLng} << "" << 7;
    QTest::newRow("map: start position") << bLat << bLng << "Position de départ ici" << "sAddSitToFp" << QVariantList{bLat, bLng} << "" << 7;
}

void TestMapPage::contextMenuCalls()
{
    QFETCH(double, lat);
    QFETCH(double, lng);
    QFETCH(QString, item);
    QFETCH(QVariantList, args);
    const bool onMap = QByteArray(QTest::currentDataTag()).startsWith("map:");

    js(parisMarkers());
    QVERIFY(centerOn(48.95, 2.45, 10));
    // An earlier choice is forgotten when the map itself is chosen.
    js("theLast = listApt[0]; 0");
    // A right click where the user clicks, then the item.
    QVERIFY(!js(QStringLiteral("__navDebug.rightClickAt(%1, %2)").arg(lat).arg(lng)).toStringList().isEmpty());
    m_calls.clear();
    QVERIFY(js(QStringLiteral("__navDebug.clickMenuItem('%1')").arg(item)).toBool());
    QFETCH(QString, slot);
    const QVariantList got = calledWith(slot);
    QCOMPARE(got.size(), args.size());
    for (int i = 0; i < args.size(); ++i) {
        const bool text = args.at(i).typeId() == QMetaType::QString;
        QVERIFY2(text ? got.at(i).toString() == args.at(i).toString()
                      : qAbs(got.at(i).toDouble() - args.at(i).toDouble()) <= (onMap ? 0.005 : 1e-9),
                 qPrintable(QStringLiteral("argument %1: %2").arg(i).arg(got.at(i).toString())));
    }
    QCOMPARE(js("String(__navDebug.theLastTitle())").toString(),
             onMap ? QStringLiteral("null") : lat == 49.0097 ? QStringLiteral("LFPG") : args.first().toString());
    // The menu is gone.
    QCOMPARE(js("__navDebug.menuItems().length").toInt(), 0);
    // After a deletion the program's text removes the marker of its kind
    // only; then, with theLast null, nothing more goes.
    QFETCH(QString, then);
    js(then.isEmpty() ? then : then + "delNavaid();delWaypoint();");
    QFETCH(int, left);
    QCOMPARE(js("__navDebug.lists.reduce((n, l) => n + __navDebug.listSize(l), 0)").toInt(), left);
    QCOMPARE(js("__navDebug.lists.reduce((n, l) => n + __navDebug.visibleCount(l), 0)").toInt(), left);
    if (!then.isEmpty())
        QCOMPARE(js(QStringLiteral("__navDebug.lists.some(l => __navDebug.symbolOf(l, '%1'))").arg(args.first().toString()))
                         .toBool(), left == 7);
}

// The French entries: each chosen by its text in contextMenuCalls or tst_journeys.
void TestMapPage::menuTexts()
{
    QVERIFY(loadPage(QStringLiteral("gm_navigator_en.html")));
    js(parisMarkers());
    QVERIFY(centerOn(48.95, 2.45, 10));
    QStringList menus;
    for (const char *at : {"49.0097, 2.54778", "48.8, 2.3", "49.2, 2.0"}) {
        menus << js(QStringLiteral("__navDebug.rightClickAt(%1)").arg(QLatin1String(at))).toStringList().join(u'|');
        // Escape closes it.
        js("document.dispatchEvent(new KeyboardEvent('keydown', {key: 'Escape'}))");
        QCOMPARE(js("__navDebug.menuItems().length").toInt(), 0);
    }
    QCOMPARE(menus, (QStringList{"Add to the flight plan|Show runways|Start here", "Add to the flight plan|Edit|Delete",
                                 "New user waypoint|Create a navaid here|Create a waypoint here|Start position here"}));
}

void TestMapPage::editorMarkers_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("count");

    // The editors' calls end with the row's key (and the longer keys that
    // end with it).
    auto keyed = [](const QString &call, const QString &keyArguments) {
        return QString(call).replace(QRegularExpression("^add(\\w+)Marker"), "add\\1Marker2").chopped(1) + u','
                + keyArguments + u')';
    };
    // At zoom 5 these kinds are not drawn, but an editor's new marker shows.
    QTest::newRow("new VOR") << keyed(vor(47.0, 3.0, "NEW-FR4NEW1", 17), "\"FR4NEW1\"") << "listVOR" << 2;
    QTest::newRow("new VFR point") << keyed(wpt(47.0, 3.0, "VV-VVFR", 6), "\"VVFR\"") << "listWptVfr" << 2;
    // A modified row replaces its marker (same key), wherever it moved.
    QTest::newRow("modified VOR") << keyed(vor(47.0, 3.0, "PGS-FR4PGS1", 17), "\"FR4PGS1\"") << "listVOR" << 1;
    QTest::newRow("modified NDB now terminal") << keyed(ndb(47.0, 3.0, "CL-FR5CL1", 4), "\"FR5CL1\"") << "listNDBTerm" << 2;
    // Keys with dashes: X-RAY (key X-RAYBE) and RAY (key RAYBE) each
    // replace their own marker only.
    const QString rays = wpt(47.2, 3.2, "RAY-RAYBE", 1) + u';' + wpt(47.4, 3.4, "X-RAY-X-RAYBE", 1) + ";addWptMgr();";
    QTest::newRow("modified X-RAY") << rays + keyed(wpt(47.0, 3.0, "X-RAY-X-RAYBE", 1), "\"X-RAYBE\"") << "listWptRte" << 3;
    QTest::newRow("modified RAY") << rays + keyed(wpt(47.0, 3.0, "RAY-RAYBE", 1), "\"RAYBE\",[\"X-RAYBE\"]")
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
    QCOMPARE(size("listNDBRte"), list == QLatin1String("listNDBTerm") ? 0 : 1);
    // The new marker answers the mouse and the menu at its place.
    QCOMPARE(js("__navDebug.rightClickAt(47.0, 3.0)").toStringList(),
             (QStringList{"Ajouter au plan de vol", "Modifier", "Supprimer"}));
}

void TestMapPage::infoWindowAndHover()
{
    // An airport whose stored name holds quotes and markup, as the program
    // sends it: HTML-escaped in the info, JavaScript-escaped in the call.
    const QString info = "<font color=blue><b>Airport O'H</b><font color=black><br/>O'Hare &quot;Intl&quot; &lt;/script&gt;<br/>x";
    js("addAPTMarker(new google.maps.LatLng(49.00970,2.54778),\"O'H\",1,\"" + info + "\");pushAPT();");
    QVERIFY(centerOn(49.0, 2.5, 9));
    QCOMPARE(js("__navDebug.clickAt(49.0097, 2.54778)").toString(), info);
    QCOMPARE(js("document.querySelector('.nav-info .leaflet-popup-content').textContent").toString(),
             QStringLiteral("Airport O'HO'Hare \"Intl\" </script>x"));
    QCOMPARE(js("__navDebug.moveMouseTo(49.0097, 2.54778)").toString(), QStringLiteral("O'H"));
    // Away from every marker: nothing.
    QCOMPARE(js("__navDebug.moveMouseTo(49.3, 2.0) + __navDebug.clickAt(49.3, 2.0)").toString(), QString());
    // The title goes back to the program unchanged.
    js("__navDebug.rightClickAt(49.0097, 2.54778)");
    js("__navDebug.clickMenuItem('Ajouter au plan de vol')");
    QCOMPARE(calledWith("sAddAptToFp"), QVariantList{"O'H"});
}

void TestMapPage::baseMap()
{
    const QVariantMap base = js("__navDebug.baseMap()").toMap();
    QVERIFY(base.value("land").toInt() > 0 && base.value("borders").toInt() > 0);
    // Online tiles: offered, off until chosen.
    QCOMPARE(js("__navDebug.onlineTiles()").toBool(), false);
    QCOMPARE(js("document.querySelectorAll('.leaflet-control-layers-overlays input').length + ' ' + "
                "document.querySelector('.leaflet-control-layers-overlays span').textContent.trim()").toString(),
             QStringLiteral("1 Carte en ligne (OpenStreetMap)"));
    // A scale in kilometres and nautical miles.
    const QStringList scale = js("__navDebug.scaleTexts()").toStringList();
    QVERIFY2(scale.size() == 2 && (scale.at(0).endsWith("km") || scale.at(0).endsWith(" m")) && scale.at(1).endsWith("NM"),
             qPrintable(scale.join(u' ')));
    // No link in the map takes the view away from the page; the legend is
    // closed until asked for.
    QCOMPARE(js("document.querySelectorAll('.leaflet-control-attribution a').length").toInt(), 0);
    QCOMPARE(js("document.querySelector('.nav-legend-button').textContent").toString(), QStringLiteral("Légende"));
    QCOMPARE(js("document.querySelectorAll('.nav-legend-row').length").toInt(), 16);
}

QTEST_MAIN(TestMapPage)
#include "tst_mappage.moc"
