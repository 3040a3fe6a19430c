// The flight-plan dock of the window: points added from the map page, the
// grid, its context actions, the altitude column, "Nouveau", undo and redo
// of every change, and closing with an unsaved plan.

#include "app/navglobalvar.h"
#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "flightplan/flightplangrid.h"
#include "flightplan/fplfile.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

namespace {

// Demo rows the tests add points from.
const QString LfpgTitle = QStringLiteral("LFPG");
const QString LfpgScript = QStringLiteral(
        "addPointToFp(new google.maps.LatLng(49.00974,2.56262),\"Paris Charles De Gaulle\")");

} // namespace

class TestFlightPlanWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithEmptyPlanAndAircraftFields();
    void airportOnEmptyPlan();
    void navaidOnEmptyPlan();
    void markerTitles_data();
    void markerTitles();
    void waypointFromItsDatabase();
    void insertionPosition_data();
    void insertionPosition();
    void userWaypoints();
    void userWaypointWestOfGreenwich();
    void altitudePropagation_data();
    void altitudePropagation();
    void moveAtTheEnds();
    void moveInTheMiddle();
    void deleteOnlyLine();
    void deleteLine();
    void centerOnLine();
    void gridShowsPlan();
    void newPlan_data();
    void newPlan();
    void newOnEmptyPlanAsksNothing();
    void undoRedo_data();
    void undoRedo();
    void sixPointsUndoneToEmptyAndRedone();
    void closeWithUnsavedPlan_data();
    void closeWithUnsavedPlan();

private:
    CFlightPlan *plan() const { return CNavGlobalVar::instance()->flightPlan; }
    CFlightPlanGrid *grid() const { return m_fx->ui()->fltplnGrid; }
    // Scripts that redraw the route.
    QStringList routeScripts() const;
    // n user waypoints one degree apart along the equator.
    void addUserWaypoints(int n);
    QString names() const;
    // The i-th of six points, as the user adds them: LFPG from the search
    // results, the BBE navaid, a user waypoint, LFPO, the AALTE waypoint
    // and a second user waypoint from the map.
    void addPoint(int i);
    // The first three.
    void buildPlan();
    // One of the changes of undoRedo_data.
    void change(const QString &kind);
    // What undo and redo must give back: the points (ident, altitude,
    // shared with the search results), the start position, the counter,
    // the saving controls and the first result's altitude.
    QStringList planState() const;
    QList<QStringList> gridTexts() const;

    WindowFixture *m_fx = nullptr;
    MainWindow *m_w = nullptr;
};

QStringList TestFlightPlanWindow::routeScripts() const
{
    QStringList out;
    for (const QString &s : m_fx->scripts)
        if (s.startsWith(QStringLiteral("clearFP")))
            out << s;
    return out;
}

void TestFlightPlanWindow::addUserWaypoints(int n)
{
    for (int i = 0; i < n; ++i)
        m_w->sAddNewWptToFp(QStringLiteral("WP"), 0, plan()->count());
}

void TestFlightPlanWindow::addPoint(int i)
{
    switch (i) {
    case 0:
        m_fx->ui()->searchData->setText(QStringLiteral("LFPG"));
        m_w->searchInTable(true);
        emit m_fx->ui()->treeWFound->itemDoubleClicked(m_fx->ui()->treeWFound->topLevelItem(0), 1);
        break;
    case 1:
        m_w->sAddNavToFp(QStringLiteral("BBE-BE2BBE1"));
        break;
    case 2:
        m_w->sAddNewWptToFp(QStringLiteral("WP"), 50, 5);
        break;
    case 3:
        m_w->sAddAptToFp(QStringLiteral("LFPO"));
        break;
    case 4:
        m_w->sAddWptToFp(QStringLiteral("AALTE-AALTEBE"));
        break;
    default:
        m_w->sAddNewWptToFp(QStringLiteral("WP"), 48, 3);
    }
}

void TestFlightPlanWindow::buildPlan()
{
    for (int i = 0; i < 3; ++i)
        addPoint(i);
}

void TestFlightPlanWindow::change(const QString &kind)
{
    Ui::MainWindow *ui = m_fx->ui();
    if (kind == "map airport") {
        m_w->sAddAptToFp(QStringLiteral("LFPO"));
    } else if (kind == "map waypoint") {
        m_w->sAddNewWptToFp(QStringLiteral("WP"), 51, 6);
    } else if (kind == "search result") {
        // A runway end of the LFPG found: a record of the results list.
        grid()->setCurrentCell(0, 1);
        emit ui->treeWFound->itemDoubleClicked(ui->treeWFound->topLevelItem(0)->child(0), 1);
    } else if (kind == "procedure") {
        QTreeWidgetItem *sid = ui->treeWSid->topLevelItem(0);
        QCOMPARE(sid->text(0), QStringLiteral("AMOGA7A"));
        ui->treeWSid->setCurrentItem(sid);
        grid()->setCurrentCell(0, 1);
        ui->btnAddSid->click();
    } else if (kind == "file") {
        PointPtr lfpo = plan()->newPoint(), egll = plan()->newPoint();
        lfpo->ident = lfpo->name = QStringLiteral("LFPO");
        egll->ident = egll->name = QStringLiteral("EGLL");
        lfpo->usage = egll->usage = QStringLiteral("airp");
        lfpo->latitude = 175415;
        egll->latitude = 185000;
        const QString path = m_fx->sim.path(QStringLiteral("Flightplan/TEST.FPL"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(FplFile::buildEntries({lfpo, egll}, 7, 0).join(QString()).toLatin1());
        file.close();
        m_fx->prompt.answers << CPrompt::Ok << path;
        ui->btnLoadFlightPlan->click();
    } else if (kind == "delete") {
        grid()->setCurrentCell(1, 1);
        m_w->sFpLineDel();
    } else if (kind == "move up") {
        grid()->setCurrentCell(2, 1);
        m_w->sFpLineUp();
    } else if (kind == "move down") {
        grid()->setCurrentCell(0, 1);
        m_w->sFpLineDown();
    } else if (kind == "altitude") {
        grid()->setCurrentCell(0, 9);
        grid()->item(0, 9)->setText(QStringLiteral("5000"));
        grid()->setCurrentCell(1, 3);
    } else if (kind == "Nouveau") {
        m_fx->prompt.answers << CPrompt::Ok;
        ui->btnNewFlightPlan->click();
    }
}

QStringList TestFlightPlanWindow::planState() const
{
    QStringList out;
    for (const PointPtr &p : plan()->points)
        out << QStringLiteral("%1 %2%3").arg(p->ident).arg(p->altitude).arg(plan()->results.contains(p) ? " shared" : "");
    const CFlightPlan::StartState start = plan()->startState();
    out << QStringLiteral("start %1 %2 %3").arg(start.latitude).arg(start.longitude).arg(int(start.placement));
    out << QStringLiteral("counter %1").arg(plan()->userWaypointCounter);
    out << QStringLiteral("save %1").arg(m_fx->ui()->btnSaveFlightPlan->isEnabled());
    out << QStringLiteral("result %1").arg(plan()->results.value(0) ? plan()->results.value(0)->altitude : -1);
    return out;
}

QList<QStringList> TestFlightPlanWindow::gridTexts() const
{
    QList<QStringList> rows;
    for (int r = 0; r < grid()->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid()->columnCount(); ++c)
            cells << (grid()->item(r, c) ? grid()->item(r, c)->text() : QString());
        rows << cells;
    }
    return rows;
}

QString TestFlightPlanWindow::names() const
{
    QStringList out;
    for (const PointPtr &p : plan()->points)
        out << p->name;
    return out.join(u' ');
}

void TestFlightPlanWindow::init()
{
    m_fx = new WindowFixture;
    QVERIFY(m_fx->prepareDemo());
    m_w = m_fx->start(false);
    QVERIFY(m_w);
    QVERIFY(plan());
    m_fx->scripts.clear();
}

void TestFlightPlanWindow::cleanup()
{
    delete m_fx;
    m_fx = nullptr;
    m_w = nullptr;
}

void TestFlightPlanWindow::startsWithEmptyPlanAndAircraftFields()
{
    QVERIFY(plan()->isEmpty());
    QVERIFY(plan()->startPoint);
    QCOMPARE(grid()->rowCount(), 0);
    QCOMPARE(grid()->columnCount(), 10);
    QCOMPARE(plan()->startPoint->heading, 0.0);
    QCOMPARE(plan()->startPoint->takeoffRunway, QStringLiteral("NONE"));
    QVERIFY(!m_fx->ui()->btnSaveFlightPlan->isEnabled());
}

void TestFlightPlanWindow::airportOnEmptyPlan()
{
    m_w->sAddAptToFp(LfpgTitle);
    QCOMPARE(plan()->count(), 1);
    const CFlightPlanPoint &p = *plan()->points.at(0);
    QCOMPARE(p.kind, QStringLiteral("airp"));
    QCOMPARE(p.ident, QStringLiteral("LFPG"));
    QCOMPARE(p.altitude, 392);   // an airport's altitude is its elevation
    QCOMPARE(p.speed, plan()->aircraft->cruiseSpeed);
    QCOMPARE(routeScripts(), QStringList{QStringLiteral("clearFP();") + LfpgScript + QStringLiteral(";pushFP();")});
    // The start position moves to the first airport.
    QCOMPARE(plan()->startPoint->latitude, p.latitude);
    QVERIFY(m_fx->scripts.first().startsWith(QStringLiteral("addSitMarker(new google.maps.LatLng(49.00974222,")));
    // Saving is possible now.
    QVERIFY(m_fx->ui()->btnSaveFlightPlan->isEnabled());
    QVERIFY(m_fx->ui()->menuSaveFlightPlan->isEnabled());
    QVERIFY(m_fx->ui()->btnStartPos->isEnabled());
    QVERIFY(m_fx->ui()->btnCreateSID->isEnabled());
    QVERIFY(m_fx->ui()->btnCreateSTAR->isEnabled());
    QCOMPARE(grid()->currentRow(), 0);
    QCOMPARE(grid()->currentColumn(), 1);

    // An airport not on an empty plan leaves the start position alone.
    const double startLat = plan()->startPoint->latitude;
    m_w->sAddAptToFp(QStringLiteral("LFPO"));
    QCOMPARE(plan()->count(), 2);
    QCOMPARE(plan()->startPoint->latitude, startLat);
    QCOMPARE(grid()->currentRow(), 1);
}

void TestFlightPlanWindow::navaidOnEmptyPlan()
{
    const double startLat = plan()->startPoint->latitude;
    m_w->sAddNavToFp(QStringLiteral("BBE-BE2BBE1"));
    QCOMPARE(plan()->count(), 1);
    const CFlightPlanPoint &p = *plan()->points.at(0);
    QCOMPARE(p.kind, QStringLiteral("snav"));
    QCOMPARE(p.ident, QStringLiteral("BBE"));
    QCOMPARE(p.navaidType, 4);
    QCOMPARE(p.frequency, 116.0);
    // Neither the start position nor the saving controls.
    QCOMPARE(plan()->startPoint->latitude, startLat);
    QVERIFY(!m_fx->ui()->btnSaveFlightPlan->isEnabled());
    QCOMPARE(m_fx->scripts, QStringList{QStringLiteral(
            "clearFP();addPointToFp(new google.maps.LatLng(50.75639,4.76806),\"BEAUVECHAIN TACAN\");pushFP();")});
}

void TestFlightPlanWindow::markerTitles_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("added");

    QTest::newRow("ident-key") << "BBE-BE2BBE1" << true;
    QTest::newRow("name with dashes, key after the last one") << "SAINT-JEAN-BE2BBE1" << true;
    QTest::newRow("no dash adds nothing") << "BE2BBE1" << false;
    QTest::newRow("unknown key") << "BBE-NOSUCHKEY" << false;
    QTest::newRow("empty key") << "BBE-" << false;
    QTest::newRow("quote in the key") << "BBE-BE2\"BBE1" << false;
}

void TestFlightPlanWindow::markerTitles()
{
    QFETCH(QString, title);
    QFETCH(bool, added);
    m_w->sAddNavToFp(title);
    QCOMPARE(plan()->count(), added ? 1 : 0);
    QCOMPARE(m_fx->scripts.size(), added ? 1 : 0);
    QVERIFY(m_fx->prompt.records.isEmpty());
}

void TestFlightPlanWindow::waypointFromItsDatabase()
{
    m_w->sAddWptToFp(QStringLiteral("AALTE-AALTEBE"));
    QCOMPARE(plan()->count(), 1);
    const CFlightPlanPoint &p = *plan()->points.at(0);
    QCOMPARE(p.kind, QStringLiteral("wayp"));
    QCOMPARE(p.usage, QStringLiteral("uswp"));
    QCOMPARE(p.ident, QStringLiteral("AALTE"));
    QCOMPARE(p.dbKey, QStringLiteral("AALTEBE"));
    QVERIFY(!m_fx->ui()->btnSaveFlightPlan->isEnabled());
    m_w->sAddWptToFp(QStringLiteral("AALTE"));
    QCOMPARE(plan()->count(), 1);
}

void TestFlightPlanWindow::insertionPosition_data()
{
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<QString>("order");
    QTest::addColumn<int>("selected");

    QTest::newRow("no current row: first") << -1 << "WP004 WP001 WP002 WP003" << 0;
    QTest::newRow("first row current: second") << 0 << "WP001 WP004 WP002 WP003" << 1;
    QTest::newRow("second of three current: third") << 1 << "WP001 WP002 WP004 WP003" << 2;
    QTest::newRow("last row current: appended") << 2 << "WP001 WP002 WP003 WP004" << 3;
}

void TestFlightPlanWindow::insertionPosition()
{
    QFETCH(int, currentRow);
    addUserWaypoints(3);
    grid()->setCurrentCell(currentRow, currentRow < 0 ? -1 : 1);
    QCOMPARE(grid()->currentRow(), currentRow);
    m_w->sAddNewWptToFp(QStringLiteral("WP"), 10, 10);
    QTEST(names(), "order");
    QTEST(grid()->currentRow(), "selected");
    QCOMPARE(grid()->currentColumn(), 1);
    QCOMPARE(grid()->rowCount(), 4);
}

void TestFlightPlanWindow::userWaypoints()
{
    addUserWaypoints(2);
    QCOMPARE(names(), QStringLiteral("WP001 WP002"));
    const CFlightPlanPoint &p = *plan()->points.at(0);
    QCOMPARE(p.ident, QStringLiteral("WP001"));
    QCOMPARE(p.kind, QStringLiteral("uswp"));
    QCOMPARE(p.usage, QStringLiteral("uswp"));
    QCOMPARE(p.dbKey, QStringLiteral("NONE"));
    QCOMPARE(p.takeoffRunway, QStringLiteral("NONE"));
    QCOMPARE(p.landingRunway, QStringLiteral("NONE"));

    // The numbering goes on after "Nouveau".
    m_fx->prompt.answers << CPrompt::Ok;
    m_fx->ui()->btnNewFlightPlan->click();
    QVERIFY(plan()->isEmpty());
    addUserWaypoints(1);
    QCOMPARE(names(), QStringLiteral("WP003"));

    // A position the page could not compute adds nothing.
    m_w->sAddNewWptToFp(QStringLiteral("WP"), qQNaN(), 0);
    QCOMPARE(plan()->count(), 1);
}

void TestFlightPlanWindow::userWaypointWestOfGreenwich()
{
    m_w->sAddNewWptToFp(QStringLiteral("WP"), 45.5, -10);
    const CFlightPlanPoint &p = *plan()->points.at(0);
    QCOMPARE(p.longitude, 1260000.0);
    QCOMPARE(p.latitude, 163800.0);
    QCOMPARE(m_fx->scripts, QStringList{QStringLiteral(
            "clearFP();addPointToFp(new google.maps.LatLng(45.50000,-10.00000),\"WP001\");pushFP();")});
}

void TestFlightPlanWindow::altitudePropagation_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("altitude");

    QTest::newRow("a number") << "5000" << 5000;
    QTest::newRow("not a number") << "abc" << 0;
}

void TestFlightPlanWindow::altitudePropagation()
{
    QFETCH(QString, typed);
    QFETCH(int, altitude);
    addUserWaypoints(4);
    for (const PointPtr &p : plan()->points)
        p->altitude = 1234;
    plan()->refresh();
    m_fx->scripts.clear();

    grid()->setCurrentCell(1, 9);
    grid()->item(1, 9)->setText(typed);
    grid()->setCurrentCell(2, 3);   // leaving the cell

    QCOMPARE(plan()->points.at(0)->altitude, 1234);
    QCOMPARE(plan()->points.at(1)->altitude, altitude);
    QCOMPARE(plan()->points.at(2)->altitude, altitude);
    QCOMPARE(plan()->points.at(3)->altitude, 1234);   // the last point keeps its own
    QCOMPARE(grid()->item(2, 9)->text(), QString::number(altitude));
    QVERIFY(m_fx->scripts.isEmpty());   // altitudes are not drawn
    QCOMPARE(grid()->currentRow(), 3);

    // Leaving any other column reads nothing back.
    grid()->setCurrentCell(0, 2);
    grid()->item(0, 2)->setText(QStringLiteral("edited"));
    grid()->item(0, 9)->setText(QStringLiteral("7777"));
    grid()->setCurrentCell(1, 2);
    QCOMPARE(plan()->points.at(0)->altitude, 1234);
    QCOMPARE(plan()->points.at(0)->name, QStringLiteral("WP001"));
}

void TestFlightPlanWindow::moveAtTheEnds()
{
    addUserWaypoints(3);
    m_fx->scripts.clear();
    const QString script = plan()->mapScript();

    grid()->setCurrentCell(0, 1);
    m_w->sFpLineUp();
    QCOMPARE(names(), QStringLiteral("WP001 WP002 WP003"));
    QCOMPARE(m_fx->scripts, QStringList{script});

    grid()->setCurrentCell(2, 1);
    m_w->sFpLineDown();
    QCOMPARE(names(), QStringLiteral("WP001 WP002 WP003"));
    QCOMPARE(m_fx->scripts, (QStringList{script, script}));
    QCOMPARE(grid()->rowCount(), 3);
}

void TestFlightPlanWindow::moveInTheMiddle()
{
    addUserWaypoints(3);
    grid()->setCurrentCell(1, 1);
    m_w->sFpLineUp();
    QCOMPARE(names(), QStringLiteral("WP002 WP001 WP003"));
    QCOMPARE(grid()->item(0, 1)->text(), QStringLiteral("WP002"));
    grid()->setCurrentCell(1, 1);
    m_w->sFpLineDown();
    QCOMPARE(names(), QStringLiteral("WP002 WP003 WP001"));
    QCOMPARE(routeScripts().last(), plan()->mapScript());
    // The new last line has no leg.
    QCOMPARE(plan()->points.at(2)->distance, 0.0);
}

void TestFlightPlanWindow::deleteOnlyLine()
{
    addUserWaypoints(1);
    m_fx->scripts.clear();
    grid()->setCurrentCell(0, 1);
    m_w->sFpLineDel();
    QVERIFY(plan()->isEmpty());
    QCOMPARE(grid()->rowCount(), 0);
    QCOMPARE(m_fx->scripts, QStringList{QStringLiteral("clearFP()")});
}

void TestFlightPlanWindow::deleteLine()
{
    addUserWaypoints(3);
    m_fx->scripts.clear();
    grid()->setCurrentCell(1, 1);
    m_w->sFpLineDel();
    QCOMPARE(names(), QStringLiteral("WP001 WP003"));
    QCOMPARE(grid()->rowCount(), 2);
    QCOMPARE(m_fx->scripts, QStringList{plan()->mapScript()});
}

void TestFlightPlanWindow::centerOnLine()
{
    m_w->sAddNewWptToFp(QStringLiteral("WP"), 45.5, -10);
    m_w->sAddNewWptToFp(QStringLiteral("WP"), 1, 2);
    m_fx->scripts.clear();
    grid()->setCurrentCell(0, 1);
    m_w->sFpCenterAt();
    QCOMPARE(m_fx->scripts, QStringList{QStringLiteral("map.setCenter(new google.maps.LatLng(45.50000,-10.00000));")});
    QCOMPARE(CNavGlobalVar::instance()->centerLon, -10.0);
    QCOMPARE(CNavGlobalVar::instance()->centerLat, 45.5);

    // No current line: nothing.
    m_fx->scripts.clear();
    grid()->setCurrentCell(-1, -1);
    m_w->sFpCenterAt();
    QVERIFY(m_fx->scripts.isEmpty());
}

void TestFlightPlanWindow::gridShowsPlan()
{
    m_w->sAddAptToFp(LfpgTitle);
    m_w->sAddNavToFp(QStringLiteral("BBE-BE2BBE1"));
    m_w->sAddNewWptToFp(QStringLiteral("WP"), 50, 5);
    QCOMPARE(grid()->rowCount(), 3);
    for (int r = 0; r < 3; ++r) {
        const CFlightPlan::GridRow expected = CFlightPlan::gridRow(*plan()->points.at(r));
        for (int c = 0; c < 10; ++c) {
            QVERIFY(grid()->item(r, c));
            QCOMPARE(grid()->item(r, c)->text(), expected.cells.at(c));
            if (c >= 3)
                QVERIFY(grid()->item(r, c)->textAlignment() & Qt::AlignRight);
        }
        QVERIFY(!grid()->item(r, 0)->icon().isNull());
        QCOMPARE(grid()->rowHeight(r), 20);
    }
    QCOMPARE(grid()->item(0, 0)->text(), QStringLiteral("Airport"));
    QCOMPARE(grid()->item(1, 0)->text(), QStringLiteral("Navaid"));
    QCOMPARE(grid()->item(2, 0)->text(), QStringLiteral("Waypoint"));
    QCOMPARE(grid()->item(1, 3)->text(), QStringLiteral("116.000"));
    QCOMPARE(grid()->item(2, 5)->text(), QStringLiteral("  0°"));   // the last line has no leg
    QCOMPARE(grid()->item(0, 8)->text(), QStringLiteral("00:00"));
    QCOMPARE(grid()->currentRow(), 2);
    QCOMPARE(grid()->currentColumn(), 1);
}

void TestFlightPlanWindow::newPlan_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("cleared");

    QTest::newRow("Ok clears") << CPrompt::Ok << true;
    QTest::newRow("Cancel keeps") << CPrompt::Cancel << false;
    QTest::newRow("box closed keeps") << QString() << false;
}

void TestFlightPlanWindow::newPlan()
{
    QFETCH(QString, answer);
    QFETCH(bool, cleared);
    m_w->sAddAptToFp(LfpgTitle);
    m_w->sAddNewWptToFp(QStringLiteral("WP"), 50, 5);
    m_fx->scripts.clear();
    m_fx->ui()->dockWSid->setWindowTitle(QStringLiteral("SID : LFPG"));
    m_fx->prompt.answers << answer;

    m_fx->ui()->menuNewFlightPlan->trigger();

    QCOMPARE(m_fx->prompt.records.size(), 1);
    const ScriptedPrompt::Record &box = m_fx->prompt.last();
    QCOMPARE(box.kind, QStringLiteral("message"));
    QCOMPARE(box.icon, CPrompt::Warning);
    QCOMPARE(box.title, QStringLiteral("Nouveau plan de vol"));
    QCOMPARE(box.text, QStringLiteral("Voulez vous effacer le plan de vol en cours ?"));
    QCOMPARE(box.buttons, (QStringList{CPrompt::Ok, CPrompt::Cancel}));
    if (cleared) {
        QVERIFY(plan()->isEmpty());
        QCOMPARE(grid()->rowCount(), 0);
        QCOMPARE(m_fx->scripts, (QStringList{QStringLiteral("clearFP();"), QStringLiteral("clearSS()")}));
        QCOMPARE(m_fx->ui()->dockWSid->windowTitle(), QStringLiteral("SID : "));
        QCOMPARE(m_fx->ui()->dockWStar->windowTitle(), QStringLiteral("STAR : "));
        QVERIFY(!m_fx->ui()->btnSaveFlightPlan->isEnabled());
        QVERIFY(!m_fx->ui()->menuSaveFlightPlan->isEnabled());
        QVERIFY(!m_fx->ui()->btnCreateSTAR->isEnabled());
    } else {
        QCOMPARE(plan()->count(), 2);
        QCOMPARE(grid()->rowCount(), 2);
        QVERIFY(m_fx->scripts.isEmpty());
        QCOMPARE(m_fx->ui()->dockWSid->windowTitle(), QStringLiteral("SID : LFPG"));
        QVERIFY(m_fx->ui()->btnSaveFlightPlan->isEnabled());
    }
}

void TestFlightPlanWindow::newOnEmptyPlanAsksNothing()
{
    m_fx->ui()->btnNewFlightPlan->click();
    QVERIFY(m_fx->prompt.records.isEmpty());
    QVERIFY(m_fx->scripts.isEmpty());
    QCOMPARE(m_fx->ui()->dockWSid->windowTitle(), QStringLiteral("SID : "));
}

void TestFlightPlanWindow::undoRedo_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("undoText");

    QTest::newRow("airport from the map") << "map airport" << "Annuler l'ajout de LFPO";
    QTest::newRow("user waypoint from the map") << "map waypoint" << "Annuler l'ajout de WP002";
    QTest::newRow("search result") << "search result" << "Annuler l'ajout de 26R";
    QTest::newRow("procedure") << "procedure" << "Annuler l'ajout de la procédure AMOGA7A";
    QTest::newRow("file") << "file" << "Annuler le chargement de TEST.FPL";
    QTest::newRow("delete") << "delete" << "Annuler la suppression de BBE";
    QTest::newRow("move up") << "move up" << "Annuler la montée de WP001";
    QTest::newRow("move down") << "move down" << "Annuler la descente de LFPG";
    QTest::newRow("altitude of a search result") << "altitude" << "Annuler la modification de l'altitude à LFPG";
    QTest::newRow("Nouveau") << "Nouveau" << "Annuler l'effacement du plan de vol";
}

// Each change undone gives back the plan, the grid and the route as they
// were, the start marker where it was; redone, as the change left them.
void TestFlightPlanWindow::undoRedo()
{
    QFETCH(QString, kind);
    QFETCH(QString, undoText);
    Ui::MainWindow *ui = m_fx->ui();
    buildPlan();
    const QStringList before = planState();
    const QList<QStringList> gridBefore = gridTexts();
    const QString routeBefore = plan()->mapScript();
    const QString markerBefore = plan()->startMarkerScript(ui->cbAircraftType->currentText());

    change(kind);
    const QStringList after = planState();
    const QList<QStringList> gridAfter = gridTexts();
    const QString routeAfter = plan()->mapScript();
    QVERIFY(after != before);
    QCOMPARE(ui->menuUndoFlightPlan->text(), undoText);
    QVERIFY(ui->menuUndoFlightPlan->isEnabled());
    QVERIFY(!ui->menuRedoFlightPlan->isEnabled());

    m_fx->scripts.clear();
    ui->menuUndoFlightPlan->trigger();
    QCOMPARE(planState(), before);
    QCOMPARE(gridTexts(), gridBefore);
    QCOMPARE(routeScripts(), QStringList{routeBefore});
    // The marker goes back only where the change had moved the start.
    const bool startMoved = before.filter(QStringLiteral("start ")) != after.filter(QStringLiteral("start "));
    QCOMPARE(m_fx->scripts.contains(markerBefore), startMoved);
    QCOMPARE(ui->menuRedoFlightPlan->text(), QStringLiteral("Rétablir") + undoText.mid(7));

    m_fx->scripts.clear();
    ui->menuRedoFlightPlan->trigger();
    QCOMPARE(planState(), after);
    QCOMPARE(gridTexts(), gridAfter);
    QCOMPARE(routeScripts(), QStringList{routeAfter});
    QCOMPARE(ui->menuUndoFlightPlan->text(), undoText);
}

// As the user does it: six points, Ctrl+Z back to the empty plan, Ctrl+Y
// to the six again; the grid and the route follow every step.
void TestFlightPlanWindow::sixPointsUndoneToEmptyAndRedone()
{
    m_w->show();
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w));
    QList<QList<QStringList>> grids{gridTexts()};
    QStringList routes{plan()->mapScript()};
    for (int i = 0; i < 6; ++i) {
        addPoint(i);
        grids << gridTexts();
        routes << plan()->mapScript();
    }
    QCOMPARE(names(), QStringLiteral("Paris Charles De Gaulle BEAUVECHAIN TACAN WP001 Paris Orly AALTE WP002"));

    for (int i = 5; i >= 0; --i) {
        m_fx->scripts.clear();
        QTest::keyClick(m_w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(gridTexts(), grids.at(i));
        QCOMPARE(routeScripts(), QStringList{routes.at(i)});
    }
    QVERIFY(plan()->isEmpty());
    QVERIFY(!m_fx->ui()->menuUndoFlightPlan->isEnabled());
    for (int i = 1; i <= 6; ++i) {
        m_fx->scripts.clear();
        QTest::keyClick(m_w, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(gridTexts(), grids.at(i));
        QCOMPARE(routeScripts(), QStringList{routes.at(i)});
    }
    QVERIFY(!m_fx->ui()->menuRedoFlightPlan->isEnabled());
}

void TestFlightPlanWindow::closeWithUnsavedPlan_data()
{
    // Steps before closing: "add" a user waypoint, "new" (Nouveau, Ok),
    // "save", "undo".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");

    QTest::newRow("empty plan: closes without asking") << QStringList{} << "" << false << true;
    QTest::newRow("changed plan, Ok: closes") << QStringList{"add", "add"} << CPrompt::Ok << true << true;
    QTest::newRow("changed plan, Cancel: stays") << QStringList{"add", "add"} << CPrompt::Cancel << true << false;
    QTest::newRow("plan emptied by Nouveau: closes without asking") << QStringList{"add", "add", "new"} << "" << false << true;
    QTest::newRow("saved: closes without asking") << QStringList{"add", "add", "save"} << "" << false << true;
    QTest::newRow("undo past the save: asks") << QStringList{"add", "add", "save", "undo"} << CPrompt::Cancel << true << false;
    QTest::newRow("undo back to the save: closes without asking")
            << QStringList{"add", "add", "save", "add", "undo"} << "" << false << true;
}

void TestFlightPlanWindow::closeWithUnsavedPlan()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    for (const QString &step : steps) {
        if (step == "add") {
            addUserWaypoints(1);
        } else if (step == "new") {
            m_fx->prompt.answers << CPrompt::Ok;
            m_fx->ui()->btnNewFlightPlan->click();
        } else if (step == "save") {
            // User waypoints alone leave the button off; the slot saves.
            QVERIFY(QMetaObject::invokeMethod(m_w, "on_btnSaveFlightPlan_clicked"));
        } else if (step == "undo") {
            m_fx->ui()->menuUndoFlightPlan->trigger();
        }
    }
    m_fx->prompt.records.clear();
    m_fx->prompt.answers << answer;
    m_w->show();
    QCOMPARE(m_w->close(), closed);
    QCOMPARE(m_fx->prompt.records.size(), asked ? 1 : 0);
    if (asked) {
        const ScriptedPrompt::Record &box = m_fx->prompt.last();
        QCOMPARE(box.icon, CPrompt::Warning);
        QCOMPARE(box.title, QStringLiteral("Quitter"));
        QCOMPARE(box.text,
                 QStringLiteral("Le plan de vol en cours n'est pas enregistré. Voulez vous quitter quand même ?"));
        QCOMPARE(box.buttons, (QStringList{CPrompt::Ok, CPrompt::Cancel}));
    }
}

QTEST_MAIN(TestFlightPlanWindow)
#include "tst_flightplan_window.moc"
