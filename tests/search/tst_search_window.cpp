// The "Recherche" dock: the search field, the results tree, centring on a
// result and handing a result to the flight plan.

#include "app/navglobalvar.h"
#include "flightplan/flightplan.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QSet>
#include <QTest>
#include <QTreeWidgetItemIterator>
#include <memory>

class TestSearchWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void searches_data();
    void searches();
    void centre_data();
    void centre();
    void doubleClick_data();
    void doubleClick();

private:
    CFlightPlan *plan() const { return CNavGlobalVar::instance()->flightPlan; }
    QTreeWidget *tree() const { return m_fx->ui()->treeWFound; }

    std::unique_ptr<WindowFixture> m_fx;
    MainWindow *m_w = nullptr;
};

void TestSearchWindow::init()
{
    m_fx = std::make_unique<WindowFixture>();
    QVERIFY(m_fx->prepareDemo());
    // A point west of Greenwich stored east-positive, and a runway there.
    QVERIFY(m_fx->sim.exec(QStringLiteral("GEN.db"),
                           QStringLiteral("INSERT INTO APT (ukey, iden, name, alat, alon, aele) VALUES "
                                          "('ZZWEST', 'ZZWE', 'West of Greenwich', 0, 1295000, 12);"
                                          "INSERT INTO RWY (rapt, rhid, rhla, rhlo, rlid, rlla, rllo) VALUES "
                                          "('ZZWEST', '09', 36000, 1294000, '27', 36000, 1000);")));
    m_w = m_fx->start(false);
    QVERIFY(m_w && plan());
    m_fx->ui()->leSpeedCruise->setText(QStringLiteral("140"));
    m_fx->ui()->leAltCruise->setText(QStringLiteral("not a number"));
    m_fx->scripts.clear();
}

void TestSearchWindow::cleanup()
{
    m_fx.reset();
    m_w = nullptr;
}

void TestSearchWindow::searches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("how");   // 0 Return, 1 "Exacte", 2 "Proche"
    QTest::addColumn<QStringList>("tree");   // per line: ident|name|key|result index, runway ends indented

    QTest::newRow("Return: exact, in upper case")
            << "zzwest" << 0 << QStringList{"ZZWE|West of Greenwich|ZZWEST|0", " 09|RWY 09|NONE|1", " 27|RWY 27|NONE|2"};
    QTest::newRow("exact key only") << "ZZWES" << 1 << QStringList{};
    QTest::newRow("near: keys beginning with it")
            << "zzwes" << 2 << QStringList{"ZZWE|West of Greenwich|ZZWEST|0", " 09|RWY 09|NONE|1", " 27|RWY 27|NONE|2"};
    QTest::newRow("a TACAN (type 4) of the demo") << "BE2BBE1" << 1 << QStringList{"BBE|BEAUVECHAIN TACAN|BE2BBE1|0"};
}

void TestSearchWindow::searches()
{
    QFETCH(QString, text);
    QFETCH(int, how);
    QFETCH(QStringList, tree);
    m_fx->ui()->searchData->setText(text);
    if (how == 0)
        QTest::keyClick(m_fx->ui()->searchData, Qt::Key_Return);
    else
        (how == 1 ? m_fx->ui()->btnSearchExact : m_fx->ui()->btnSearchNear)->click();
    QCOMPARE(m_fx->ui()->searchData->text(), text.toUpper());
    QStringList lines;
    for (QTreeWidgetItemIterator it(this->tree()); *it; ++it) {
        QVERIFY(!(*it)->icon(0).isNull());
        lines << QString((*it)->parent() ? " " : "") + (*it)->text(1) + u'|' + (*it)->text(3) + u'|' + (*it)->text(4)
                        + u'|' + (*it)->text(5);
    }
    QCOMPARE(lines, tree);
    QCOMPARE(plan()->results.size(), tree.size());
    // The aircraft dock's cruise values go to the points (not a number: 0),
    // not to the runway ends.
    for (const PointPtr &p : plan()->results)
        QCOMPARE(QPair(p->speed, p->altitude), QPair(p->name.startsWith("RWY ") ? 0 : 140, 0));
    QVERIFY(m_fx->scripts.isEmpty());
    QVERIFY(m_fx->prompt.records.isEmpty());
}

void TestSearchWindow::centre_data()
{
    QTest::addColumn<QString>("index");   // the hidden column of the current item; empty: no current item
    QTest::addColumn<bool>("runwayEnd");
    QTest::addColumn<QStringList>("scripts");

    QTest::newRow("airport west of Greenwich") << "0" << false
                                               << QStringList{"map.setCenter(new google.maps.LatLng(0.00000,-0.27778));"};
    QTest::newRow("runway end") << "2" << true << QStringList{"map.setCenter(new google.maps.LatLng(10.00000,0.27778));"};
    QTest::newRow("index past the results") << "42" << false << QStringList{};
    QTest::newRow("no current item") << "" << false << QStringList{};
}

void TestSearchWindow::centre()
{
    QFETCH(QString, index);
    QFETCH(bool, runwayEnd);
    m_fx->ui()->searchData->setText(QStringLiteral("ZZWEST"));
    m_fx->ui()->btnSearchExact->click();
    QTreeWidgetItem *item = runwayEnd ? tree()->topLevelItem(0)->child(1) : tree()->topLevelItem(0);
    if (!index.isEmpty()) {
        item->setText(5, index);
        tree()->setCurrentItem(item);
    }
    m_w->sFndCenterAt();
    QTEST(m_fx->scripts, "scripts");
    if (index == QLatin1String("0"))
        QVERIFY(qAbs(CNavGlobalVar::instance()->centerLon - (-1000.0 / 3600)) < 1e-12);
}

void TestSearchWindow::doubleClick_data()
{
    QTest::addColumn<int>("points");        // user waypoints in the plan first; -1: an earlier plan cleared by "Nouveau"
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<QStringList>("clicked");   // "A" the airport, "R" its second runway end, or a bad index
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("scripts");   // "plan": the plan's own script; %1: the aircraft

    const QStringList plan{"plan"};
    QTest::newRow("empty plan after Nouveau: the airport is the start")
            << -1 << -1 << QStringList{"A"} << "West of Greenwich"
            << QStringList{"addSitMarker(new google.maps.LatLng(0.00000000,-0.27777778),\"%1\", 0);",
                           "clearFP();addPointToFp(new google.maps.LatLng(0.00000,-0.27778),\"West of Greenwich\");pushFP();"};
    QTest::newRow("no current line: second line") << 3 << -1 << QStringList{"R"} << "WP001 RWY 27 WP002 WP003" << plan;
    QTest::newRow("last line current: appended") << 3 << 2 << QStringList{"R"} << "WP001 WP002 WP003 RWY 27" << plan;
    QTest::newRow("same result twice: two lines") << 0 << -1 << QStringList{"A", "R", "A"}
                                                  << "West of Greenwich RWY 27 West of Greenwich" << plan;
    QTest::newRow("outside the results") << 0 << -1 << QStringList{"3", "-1", "x", ""} << "" << QStringList{};
}

void TestSearchWindow::doubleClick()
{
    QFETCH(int, points);
    QFETCH(int, currentRow);
    QFETCH(QStringList, clicked);
    QFETCH(QString, order);
    QFETCH(QStringList, scripts);
    if (points < 0) {
        m_w->sAddNewWptToFp(QStringLiteral("WP"), 45, 5);
        m_w->sAddSitToFp(45, 5);
        m_fx->prompt.answers << CPrompt::Ok;
        m_fx->ui()->btnNewFlightPlan->click();
        QVERIFY(!m_fx->ui()->btnSaveFlightPlan->isEnabled());
    }
    for (int i = 0; i < points; ++i)
        m_w->sAddNewWptToFp(QStringLiteral("WP"), i, i);
    m_fx->ui()->searchData->setText(QStringLiteral("ZZWEST"));
    m_fx->ui()->btnSearchExact->click();
    m_fx->ui()->fltplnGrid->setCurrentCell(currentRow, currentRow < 0 ? -1 : 1);
    m_fx->scripts.clear();
    for (const QString &c : clicked) {
        QTreeWidgetItem *item = c == QLatin1String("R") ? tree()->topLevelItem(0)->child(1) : tree()->topLevelItem(0);
        if (c != QLatin1String("A") && c != QLatin1String("R"))
            item->setText(5, c);
        emit tree()->itemDoubleClicked(item, 1);
    }
    QStringList names;
    for (const PointPtr &p : plan()->points)
        names << p->name;
    QCOMPARE(names.join(u' '), order);
    for (QString &s : scripts)
        s = s == QLatin1String("plan") ? plan()->mapScript() : s.arg(m_fx->ui()->cbAircraftType->currentText());
    // The last scripts sent; none for a click outside the results.
    QCOMPARE(m_fx->scripts.mid(m_fx->scripts.size() - scripts.size()), scripts);
    QCOMPARE(m_fx->scripts.isEmpty(), scripts.isEmpty());
    if (order.isEmpty())
        return;
    // The record itself, shared with the results, once: each line keeps its
    // own leg. The last line selected.
    QVERIFY(plan()->points.contains(plan()->results.at(clicked.first() == QLatin1String("A") ? 0 : 2)));
    QCOMPARE(QSet<PointPtr>(plan()->points.begin(), plan()->points.end()).size(), plan()->count());
    QVERIFY(currentRow >= 0 || m_fx->ui()->btnSaveFlightPlan->isEnabled());
    QCOMPARE(m_fx->ui()->fltplnGrid->currentRow(), plan()->count() - 1);
}

QTEST_MAIN(TestSearchWindow)
#include "tst_search_window.moc"
