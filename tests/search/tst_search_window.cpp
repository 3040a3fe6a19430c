// The "Recherche" dock: the search field, the results tree, centring on a
// result and handing a result to the flight plan.

#include "app/navglobalvar.h"
#include "flightplan/flightplan.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QTest>
#include <QTreeWidgetItemIterator>

class TestSearchWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void returnSearchesExactInUpperCase();
    void buttons_data();
    void buttons();
    void treeOfAnAirport();
    void navaidIcons();
    void cruiseValuesFromTheAircraftDock();
    void centreOnResult();
    void centreOnRunwayEnd();
    void centreWithoutItem();
    void doubleClickOnEmptyPlan();
    void doubleClickPosition_data();
    void doubleClickPosition();
    void doubleClickOutsideResults();
    void sameResultTwice();

private:
    CFlightPlan *plan() const { return CNavGlobalVar::instance()->flightPlan; }
    QTreeWidget *tree() const { return m_fx->ui()->treeWFound; }
    QTreeWidgetItem *findTop(const QString &ident) const;
    void search(const QString &text, bool exact = true);
    void doubleClick(QTreeWidgetItem *item);

    WindowFixture *m_fx = nullptr;
    MainWindow *m_w = nullptr;
};

QTreeWidgetItem *TestSearchWindow::findTop(const QString &ident) const
{
    for (int i = 0; i < tree()->topLevelItemCount(); ++i)
        if (tree()->topLevelItem(i)->text(1) == ident)
            return tree()->topLevelItem(i);
    return nullptr;
}

void TestSearchWindow::search(const QString &text, bool exact)
{
    m_fx->ui()->searchData->setText(text);
    if (exact)
        m_fx->ui()->btnSearchExact->click();
    else
        m_fx->ui()->btnSearchNear->click();
}

void TestSearchWindow::doubleClick(QTreeWidgetItem *item)
{
    QVERIFY(item);
    emit tree()->itemDoubleClicked(item, 1);
}

void TestSearchWindow::init()
{
    m_fx = new WindowFixture;
    QVERIFY(m_fx->prepareDemo());
    // A point west of Greenwich stored east-positive, and a runway there.
    QVERIFY(m_fx->sim.exec(QStringLiteral("GEN.db"),
                           QStringLiteral("INSERT INTO APT (ukey, iden, name, alat, alon, aele) VALUES "
                                          "('ZZWEST', 'ZZWE', 'West of Greenwich', 0, 1295000, 12);"
                                          "INSERT INTO RWY (rapt, rhid, rhla, rhlo, rlid, rlla, rllo) VALUES "
                                          "('ZZWEST', '09', 36000, 1294000, '27', 36000, 1000);")));
    m_w = m_fx->start(false);
    QVERIFY(m_w);
    QVERIFY(plan());
    m_fx->scripts.clear();
}

void TestSearchWindow::cleanup()
{
    delete m_fx;
    m_fx = nullptr;
    m_w = nullptr;
}

void TestSearchWindow::returnSearchesExactInUpperCase()
{
    m_fx->ui()->searchData->setText(QStringLiteral("lfpg"));
    QTest::keyClick(m_fx->ui()->searchData, Qt::Key_Return);
    QCOMPARE(m_fx->ui()->searchData->text(), QStringLiteral("LFPG"));
    QTreeWidgetItem *apt = tree()->topLevelItem(0);
    QVERIFY(apt);
    QCOMPARE(apt->text(1), QStringLiteral("LFPG"));
    QCOMPARE(apt->text(3), QStringLiteral("Paris Charles De Gaulle"));
    QVERIFY(m_fx->scripts.isEmpty());
    QVERIFY(m_fx->prompt.records.isEmpty());
}

void TestSearchWindow::buttons_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<int>("airports");

    // The exact key only; near: every key beginning with it.
    QTest::newRow("exact") << "LFP" << true << 0;
    QTest::newRow("near") << "lfpg" << false << 1;
    QTest::newRow("near, key prefix") << "LFPB" << false << 1;
}

void TestSearchWindow::buttons()
{
    QFETCH(QString, text);
    QFETCH(bool, exact);
    QFETCH(int, airports);
    search(text, exact);
    QCOMPARE(m_fx->ui()->searchData->text(), text.toUpper());
    int found = 0;
    for (int i = 0; i < tree()->topLevelItemCount(); ++i)
        if (tree()->topLevelItem(i)->childCount() > 0)
            ++found;
    QCOMPARE(found, airports);
    // A new search replaces the tree and the results.
    search(QStringLiteral("NOTHINGLIKETHIS"));
    QCOMPARE(tree()->topLevelItemCount(), 0);
    QVERIFY(plan()->results.isEmpty());
}

void TestSearchWindow::treeOfAnAirport()
{
    search(QStringLiteral("ZZWEST"));
    QCOMPARE(tree()->columnCount(), 5);
    QVERIFY(tree()->isHeaderHidden());
    QCOMPARE(tree()->topLevelItemCount(), 1);
    QTreeWidgetItem *apt = tree()->topLevelItem(0);
    QCOMPARE(apt->text(1), QStringLiteral("ZZWE"));
    QCOMPARE(apt->text(2), QString());
    QCOMPARE(apt->text(3), QStringLiteral("West of Greenwich"));
    QCOMPARE(apt->text(4), QStringLiteral("ZZWEST"));
    QCOMPARE(apt->text(5), QStringLiteral("0"));
    QVERIFY(!apt->icon(0).isNull());

    // Runway ends under their airport, high end first.
    QCOMPARE(apt->childCount(), 2);
    const QStringList expected[] = {{"09", "RWY 09", "NONE", "1"}, {"27", "RWY 27", "NONE", "2"}};
    for (int i = 0; i < 2; ++i) {
        QTreeWidgetItem *end = apt->child(i);
        QCOMPARE((QStringList{end->text(1), end->text(3), end->text(4), end->text(5)}), expected[i]);
        QVERIFY(!end->icon(0).isNull());
    }
    QCOMPARE(plan()->results.size(), 3);
    QCOMPARE(plan()->results.at(1)->name, QStringLiteral("RWY 09"));
}

void TestSearchWindow::navaidIcons()
{
    // The demo holds TACANs (type 4): they have the VOR icon.
    search(QStringLiteral("BE2BBE1"));
    QCOMPARE(tree()->topLevelItemCount(), 1);
    QVERIFY(!tree()->topLevelItem(0)->icon(0).isNull());
    // The hidden column indexes the results in tree order.
    search(QStringLiteral("LFPG"));
    int index = 0;
    for (QTreeWidgetItemIterator it(tree()); *it; ++it, ++index)
        QCOMPARE((*it)->text(5), QString::number(index));
    QCOMPARE(index, plan()->results.size());
}

void TestSearchWindow::cruiseValuesFromTheAircraftDock()
{
    m_fx->ui()->leSpeedCruise->setText(QStringLiteral("140"));
    m_fx->ui()->leAltCruise->setText(QStringLiteral("not a number"));
    search(QStringLiteral("ZZWEST"));
    QCOMPARE(plan()->results.at(0)->speed, 140);
    QCOMPARE(plan()->results.at(0)->altitude, 0);
    QCOMPARE(plan()->results.at(1)->speed, 0);   // runway ends take none
}

void TestSearchWindow::centreOnResult()
{
    search(QStringLiteral("ZZWEST"));
    tree()->setCurrentItem(tree()->topLevelItem(0));
    m_w->sFndCenterAt();
    QCOMPARE(m_fx->scripts, QStringList{QStringLiteral("map.setCenter(new google.maps.LatLng(0.00000,-0.27778));")});
    QCOMPARE(CNavGlobalVar::instance()->centerLat, 0.0);
    QVERIFY(qAbs(CNavGlobalVar::instance()->centerLon - (-1000.0 / 3600)) < 1e-12);
}

void TestSearchWindow::centreOnRunwayEnd()
{
    search(QStringLiteral("ZZWEST"));
    tree()->setCurrentItem(tree()->topLevelItem(0)->child(1));
    m_w->sFndCenterAt();
    QCOMPARE(m_fx->scripts, QStringList{QStringLiteral("map.setCenter(new google.maps.LatLng(10.00000,0.27778));")});
}

void TestSearchWindow::centreWithoutItem()
{
    m_w->sFndCenterAt();
    search(QStringLiteral("ZZWEST"));
    tree()->topLevelItem(0)->setText(5, QStringLiteral("42"));
    tree()->setCurrentItem(tree()->topLevelItem(0));
    m_w->sFndCenterAt();
    QVERIFY(m_fx->scripts.isEmpty());
}

void TestSearchWindow::doubleClickOnEmptyPlan()
{
    // The start position of an earlier plan, then "Nouveau".
    m_w->sAddNewWptToFp(QStringLiteral("WP"), 45, 5);
    m_w->sAddSitToFp(45, 5);
    m_fx->prompt.answers << CPrompt::Ok;
    m_fx->ui()->btnNewFlightPlan->click();
    m_fx->scripts.clear();

    search(QStringLiteral("ZZWEST"));
    QVERIFY(!m_fx->ui()->btnSaveFlightPlan->isEnabled());
    doubleClick(tree()->topLevelItem(0));
    QCOMPARE(plan()->count(), 1);
    // The record itself, shared with the results.
    QVERIFY(plan()->points.at(0) == plan()->results.at(0));
    QVERIFY(m_fx->ui()->btnSaveFlightPlan->isEnabled());
    // The airport on the first line is where the flight starts.
    QCOMPARE(plan()->startPoint->latitude, 0.0);
    QCOMPARE(plan()->startPoint->longitude, 1295000.0);
    QCOMPARE(m_fx->scripts,
             QStringList({QStringLiteral("addSitMarker(new google.maps.LatLng(0.00000000,-0.27777778),\"%1\", 0);")
                              .arg(m_fx->ui()->cbAircraftType->currentText()),
                          QStringLiteral("clearFP();addPointToFp(new google.maps.LatLng(0.00000,-0.27778),"
                                         "\"West of Greenwich\");pushFP();")}));
    QCOMPARE(m_fx->ui()->fltplnGrid->currentRow(), 0);
}

void TestSearchWindow::doubleClickPosition_data()
{
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<QString>("order");

    QTest::newRow("no current line: second line") << -1 << "WP001 RWY 27 WP002 WP003";
    QTest::newRow("first line current: second line") << 0 << "WP001 RWY 27 WP002 WP003";
    QTest::newRow("middle line current: after it") << 1 << "WP001 WP002 RWY 27 WP003";
    QTest::newRow("last line current: appended") << 2 << "WP001 WP002 WP003 RWY 27";
}

void TestSearchWindow::doubleClickPosition()
{
    QFETCH(int, currentRow);
    QFETCH(QString, order);
    for (int i = 0; i < 3; ++i)
        m_w->sAddNewWptToFp(QStringLiteral("WP"), i, i);
    search(QStringLiteral("ZZWEST"));
    m_fx->ui()->fltplnGrid->setCurrentCell(currentRow, currentRow < 0 ? -1 : 1);
    m_fx->scripts.clear();
    doubleClick(tree()->topLevelItem(0)->child(1));
    QStringList names;
    for (const PointPtr &p : plan()->points)
        names << p->name;
    QCOMPARE(names.join(u' '), order);
    QCOMPARE(m_fx->scripts, QStringList{plan()->mapScript()});
    // The refresh selects the last line.
    QCOMPARE(m_fx->ui()->fltplnGrid->currentRow(), 3);
}

void TestSearchWindow::doubleClickOutsideResults()
{
    search(QStringLiteral("ZZWEST"));
    QTreeWidgetItem *item = tree()->topLevelItem(0);
    for (const QString &index : {QStringLiteral("3"), QStringLiteral("-1"), QStringLiteral("x"), QString()}) {
        item->setText(5, index);
        doubleClick(item);
    }
    QVERIFY(plan()->isEmpty());
    QVERIFY(m_fx->scripts.isEmpty());
}

void TestSearchWindow::sameResultTwice()
{
    search(QStringLiteral("ZZWEST"));
    doubleClick(tree()->topLevelItem(0));
    doubleClick(tree()->topLevelItem(0)->child(1));
    doubleClick(tree()->topLevelItem(0));
    QCOMPARE(plan()->count(), 3);
    // Each line keeps its own leg: the way out is not the way back.
    double course = 0, distance = 0;
    CFlightPlan::leg(*plan()->points.at(0), *plan()->points.at(1), &course, &distance);
    QVERIFY(distance > 0);
    QCOMPARE(plan()->points.at(0)->distance, distance);
    QCOMPARE(plan()->points.at(0)->course, course);
    QVERIFY(plan()->points.at(0) != plan()->points.at(2));
    QCOMPARE(plan()->points.at(2)->distance, 0.0);
    QCOMPARE(plan()->points.at(2)->name, QStringLiteral("West of Greenwich"));
}

QTEST_MAIN(TestSearchWindow)
#include "tst_search_window.moc"
