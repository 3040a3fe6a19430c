// SID and STAR procedures: the trees of the airport clicked in the grid,
// drawing, adding a procedure to the plan, storing the plan as a procedure
// and deleting one, with every box and script they produce.

#include "app/navglobalvar.h"
#include "data/sqlmgr.h"
#include "flightplan/aircraft.h"
#include "flightplan/flightplan.h"
#include "flightplan/procedures.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString ClearSS = QStringLiteral("clearSS()");

// The drawing of the demo STAR REM4E of LFPG.
const QString Rem4eScript = QStringLiteral(
        "addPointToSS(new google.maps.LatLng(49.31164,4.04536),\"REM\");"
        "addPointToSS(new google.maps.LatLng(49.13700,2.93781),\"PB096\");"
        "addPointToSS(new google.maps.LatLng(49.09093,2.83499),\"CRL16\");"
        "addPointToSS(new google.maps.LatLng(49.00974,2.56262),\"LFPG\")");

bool sameIcon(const QIcon &icon, const QString &path)
{
    if (path.isEmpty())
        return icon.isNull();
    return !icon.isNull() && icon.pixmap(16, 16).toImage() == QIcon(path).pixmap(16, 16).toImage();
}

} // namespace

class TestProcedures : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Core
    void iconOfWaypointType_data();
    void iconOfWaypointType();
    void waypointTypeOfPoint_data();
    void waypointTypeOfPoint();

    // Trees
    void demoProceduresListed_data();
    void demoProceduresListed();
    void fixLines_data();
    void fixLines();
    void rowsBeforeFirstSequenceNotListed();
    void otherLinesLeaveTrees_data();
    void otherLinesLeaveTrees();

    // Drawing
    void clickDraws_data();
    void clickDraws();
    void drawingWrapsLongitudeAndEscapes();

    // Adding
    void addToPlan_data();
    void addToPlan();

    // Creating
    void createSid();
    void createStar();
    void createReplacesOwnRows();
    void createKeyOfAnotherProcedure_data();
    void createKeyOfAnotherProcedure();
    void createRefused_data();
    void createRefused();
    void apostrophes();
    void createFailure_data();
    void createFailure();

    // Deleting
    void deleteProcedure_data();
    void deleteProcedure();
    void deleteFailure_data();
    void deleteFailure();

    void dockShown_data();
    void dockShown();

private:
    CFlightPlan *plan() const { return CNavGlobalVar::instance()->flightPlan; }
    QSqlDatabase routeDb() const { return QSqlDatabase::database(CNavGlobalVar::instance()->routeName); }
    QTreeWidget *tree(bool star) const { return star ? m_fx->ui()->treeWStar : m_fx->ui()->treeWSid; }
    void call(const char *slot);
    void clickRow(int row);
    bool sql(const QString &statement);
    void insertRow(const QString &values);
    // "tile|skey|sapt|strm|sqnm|styp|swid|swpt|salt|slat|slon" per stored row of a name.
    QStringList stored(const QString &name);
    int storedCount();
    QStringList procedureNames(bool star) const;
    QTreeWidgetItem *procedureItem(bool star, const QString &name) const;

    PointPtr airport(const QString &key) const;
    PointPtr navaid(const QString &ident, int type) const;
    PointPtr waypoint(const QString &ident) const;
    void setPlan(const QList<PointPtr> &points);
    // LFPG, ABC (VOR), WPT01, LFPO.
    void setDemoPlan();
    QString planIdents() const;

    WindowFixture *m_fx = nullptr;
    MainWindow *m_w = nullptr;
};

void TestProcedures::init()
{
    m_fx = new WindowFixture;
    QVERIFY(m_fx->prepareDemo());
    m_w = m_fx->start(false);
    QVERIFY(m_w);
    QVERIFY(plan());
    QVERIFY(routeDb().isOpen());
    m_fx->scripts.clear();
}

void TestProcedures::cleanup()
{
    delete m_fx;
    m_fx = nullptr;
    m_w = nullptr;
}

void TestProcedures::call(const char *slot)
{
    QVERIFY(QMetaObject::invokeMethod(m_w, slot));
}

void TestProcedures::clickRow(int row)
{
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_fltplnGrid_cellClicked", Q_ARG(int, row), Q_ARG(int, 1)));
}

bool TestProcedures::sql(const QString &statement)
{
    QSqlQuery q(routeDb());
    return q.exec(statement);
}

void TestProcedures::insertRow(const QString &values)
{
    QVERIFY(sql(QStringLiteral("INSERT INTO SIDSTAR VALUES(%1)").arg(values)));
}

QStringList TestProcedures::stored(const QString &name)
{
    QStringList out;
    QSqlQuery q(routeDb());
    q.prepare(QStringLiteral("SELECT * FROM SIDSTAR WHERE strm = ? ORDER BY rowid"));
    q.addBindValue(name);
    if (!q.exec())
        return {QStringLiteral("no table")};
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < 11; ++i)
            values << q.value(i).toString();
        out << values.join(u'|');
    }
    return out;
}

int TestProcedures::storedCount()
{
    QSqlQuery q(routeDb());
    return q.exec(QStringLiteral("SELECT count(*) FROM SIDSTAR")) && q.next() ? q.value(0).toInt() : -1;
}

QStringList TestProcedures::procedureNames(bool star) const
{
    QStringList out;
    for (int i = 0; i < tree(star)->topLevelItemCount(); ++i)
        out << tree(star)->topLevelItem(i)->text(0);
    return out;
}

QTreeWidgetItem *TestProcedures::procedureItem(bool star, const QString &name) const
{
    for (int i = 0; i < tree(star)->topLevelItemCount(); ++i)
        if (tree(star)->topLevelItem(i)->text(0) == name)
            return tree(star)->topLevelItem(i);
    return nullptr;
}

PointPtr TestProcedures::airport(const QString &key) const
{
    CNavGlobalVar *config = CNavGlobalVar::instance();
    QSqlQuery q(QSqlDatabase::database(config->genName));
    if (!config->sqlMgr->selectAPT(key, true, &q))
        return {};
    PointPtr p = plan()->newPoint();
    p->fromAPT(q);
    return p;
}

PointPtr TestProcedures::navaid(const QString &ident, int type) const
{
    PointPtr p = plan()->newPoint();
    p->kind = p->usage = QStringLiteral("snav");
    p->name = ident + QStringLiteral(" VOR");
    p->ident = ident;
    p->latitude = 176000.1234;
    p->longitude = 9500.5678;
    p->elevation = 250;
    p->dbKey = QStringLiteral("FR1") + ident + QStringLiteral("1");
    p->navaidType = type;
    return p;
}

PointPtr TestProcedures::waypoint(const QString &ident) const
{
    PointPtr p = plan()->newPoint();
    p->kind = QStringLiteral("wayp");
    p->usage = QStringLiteral("uswp");
    p->name = p->ident = ident;
    p->latitude = 175800.9996;
    p->longitude = 8900.0004;
    p->dbKey = ident + QStringLiteral("FR");
    return p;
}

void TestProcedures::setPlan(const QList<PointPtr> &points)
{
    plan()->clear();
    for (const PointPtr &p : points) {
        QVERIFY(p);
        plan()->insertAt(p, plan()->count());
    }
    plan()->refresh();
    m_fx->scripts.clear();
    m_fx->prompt.records.clear();
}

void TestProcedures::setDemoPlan()
{
    setPlan({airport(QStringLiteral("LFPG")), navaid(QStringLiteral("ABC"), 1), waypoint(QStringLiteral("WPT01")),
             airport(QStringLiteral("LFPO"))});
}

QString TestProcedures::planIdents() const
{
    QStringList out;
    for (const PointPtr &p : plan()->points)
        out << p->ident;
    return out.join(u' ');
}

// --- core ---

void TestProcedures::iconOfWaypointType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("icon");

    QTest::newRow("airport") << 0 << ":/icon/images/Img08.bmp";
    QTest::newRow("VOR") << 1 << ":/icon/images/Img05.bmp";
    QTest::newRow("NDB") << 8 << ":/icon/images/Img03.bmp";
    QTest::newRow("VOR-DME") << 17 << ":/icon/images/Img05.bmp";
    QTest::newRow("fix") << 4096 << ":/icon/images/Img35.bmp";
    QTest::newRow("VORTAC: none") << 5 << "";
    QTest::newRow("DME: none") << 16 << "";
    QTest::newRow("NDB-DME: none") << 24 << "";
}

void TestProcedures::iconOfWaypointType()
{
    QFETCH(int, type);
    QTEST(CProcedures::icon(type), "icon");
}

void TestProcedures::waypointTypeOfPoint_data()
{
    QTest::addColumn<QString>("usage");
    QTest::addColumn<int>("navaidType");
    QTest::addColumn<int>("type");

    QTest::newRow("airport") << "airp" << 0 << 0;
    QTest::newRow("VOR") << "snav" << 1 << 1;
    QTest::newRow("NDB") << "snav" << 8 << 8;
    QTest::newRow("waypoint or user point") << "uswp" << 0 << 4096;
    QTest::newRow("airport keeps 0 whatever its navaid type") << "airp" << 8 << 0;
    QTest::newRow("any other usage") << "wayp" << 17 << 0;
    QTest::newRow("no usage") << "" << 0 << 0;
}

void TestProcedures::waypointTypeOfPoint()
{
    QFETCH(QString, usage);
    QFETCH(int, navaidType);
    CFlightPlanPoint p;
    p.usage = usage;
    p.navaidType = navaidType;
    QTEST(CProcedures::waypointType(p), "type");
}

// --- trees ---

void TestProcedures::demoProceduresListed_data()
{
    QTest::addColumn<QString>("airport");
    QTest::addColumn<QStringList>("sids");
    QTest::addColumn<QStringList>("stars");
    QTest::addColumn<QString>("firstSidFixes");

    QTest::newRow("LFPG") << "LFPG" << QStringList{"AMOGA7A", "MLN7B"} << QStringList{"REM4E", "EPR7W"}
                          << "LFPG BUNOR VAKSO AMOGA";
    QTest::newRow("LFPO") << "LFPO" << QStringList{"ROMLO6A"} << QStringList{"BRY3E"} << "LFPO DEROL VASOL ROMLO";
    QTest::newRow("LFMN") << "LFMN" << QStringList{"PERUS8A"} << QStringList{"LUC8W"} << "LFMN KOLON AGEVU PERUS";
    QTest::newRow("no procedures") << "LFPN" << QStringList{} << QStringList{} << "";
}

void TestProcedures::demoProceduresListed()
{
    QFETCH(QString, airport);
    QFETCH(QStringList, sids);
    setPlan({this->airport(QStringLiteral("LFLL")), this->airport(airport)});
    clickRow(0);
    QCOMPARE(procedureNames(false), QStringList{"RONLA4A"});
    clickRow(1);
    QCOMPARE(procedureNames(false), sids);
    QTEST(procedureNames(true), "stars");
    QCOMPARE(m_fx->ui()->dockWSid->windowTitle(), QStringLiteral("SID : ") + airport);
    QCOMPARE(m_fx->ui()->dockWStar->windowTitle(), QStringLiteral("STAR : ") + airport);
    if (!sids.isEmpty()) {
        QStringList fixes;
        const QTreeWidgetItem *sid = tree(false)->topLevelItem(0);
        for (int i = 0; i < sid->childCount(); ++i)
            fixes << sid->child(i)->text(1);
        QTEST(fixes.join(u' '), "firstSidFixes");
    }
    // Listing asks nothing and draws nothing.
    QVERIFY(m_fx->prompt.records.isEmpty());
    QVERIFY(m_fx->scripts.isEmpty());
}

void TestProcedures::fixLines_data()
{
    QTest::addColumn<bool>("star");
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("ident");
    QTest::addColumn<QString>("icon");

    QTest::newRow("airport") << false << "AMOGA7A" << 0 << "LFPG" << ":/icon/images/Img08.bmp";
    QTest::newRow("fix") << false << "AMOGA7A" << 1 << "BUNOR" << ":/icon/images/Img35.bmp";
    QTest::newRow("VOR-DME") << false << "MLN7B" << 3 << "MLN" << ":/icon/images/Img05.bmp";
    QTest::newRow("VORTAC has no icon") << true << "REM4E" << 0 << "REM" << "";
    QTest::newRow("STAR ends at the airport") << true << "EPR7W" << 3 << "LFPG" << ":/icon/images/Img08.bmp";
}

void TestProcedures::fixLines()
{
    QFETCH(bool, star);
    QFETCH(QString, procedure);
    QFETCH(int, line);
    QFETCH(QString, icon);
    setPlan({airport(QStringLiteral("LFPG"))});
    clickRow(0);
    const QTreeWidgetItem *top = procedureItem(star, procedure);
    QVERIFY(top);
    QCOMPARE(top->childCount(), 4);
    QVERIFY(top->icon(0).isNull());
    const QTreeWidgetItem *fix = top->child(line);
    QTEST(fix->text(1), "ident");
    QCOMPARE(fix->text(0), QString());
    QCOMPARE(fix->foreground(1).color(), QColor(Qt::blue));
    QVERIFY(sameIcon(fix->icon(0), icon));
}

void TestProcedures::rowsBeforeFirstSequenceNotListed()
{
    // A procedure whose rows start at 20 (and one row of 30 before a proper
    // start): only what follows the first row of sequence 10 is listed.
    insertRow(QStringLiteral("0,'ODD20','LFPN','ODD',20,2,'X1',4096,0,0,0"));
    insertRow(QStringLiteral("0,'ODD30','LFPN','ODD',30,2,'X2',4096,0,0,0"));
    insertRow(QStringLiteral("0,'GOOD10','LFPN','GOOD',10,1,'LFPN',0,0,0,0"));
    insertRow(QStringLiteral("0,'GOOD20','LFPN','GOOD',20,1,'X3',8,0,0,0"));
    setPlan({airport(QStringLiteral("LFPN"))});
    clickRow(0);
    QCOMPARE(procedureNames(false), QStringList());
    QCOMPARE(procedureNames(true), QStringList{"GOOD"});
    QCOMPARE(procedureItem(true, QStringLiteral("GOOD"))->childCount(), 2);
    QVERIFY(sameIcon(procedureItem(true, QStringLiteral("GOOD"))->child(1)->icon(0),
                     QStringLiteral(":/icon/images/Img03.bmp")));
}

void TestProcedures::otherLinesLeaveTrees_data()
{
    QTest::addColumn<int>("row");

    QTest::newRow("navaid line") << 1;
    QTest::newRow("waypoint line") << 2;
    QTest::newRow("no line") << -1;
    QTest::newRow("past the end") << 4;
}

void TestProcedures::otherLinesLeaveTrees()
{
    QFETCH(int, row);
    setDemoPlan();
    clickRow(0);
    QCOMPARE(procedureNames(false), (QStringList{"AMOGA7A", "MLN7B"}));
    clickRow(row);
    QCOMPARE(procedureNames(false), (QStringList{"AMOGA7A", "MLN7B"}));
    QCOMPARE(procedureNames(true), (QStringList{"REM4E", "EPR7W"}));
    QCOMPARE(m_fx->ui()->dockWSid->windowTitle(), QStringLiteral("SID : LFPG"));
    QCOMPARE(m_fx->ui()->dockWStar->windowTitle(), QStringLiteral("STAR : LFPG"));
}

// --- drawing ---

void TestProcedures::clickDraws_data()
{
    QTest::addColumn<int>("line");

    QTest::newRow("procedure line") << -1;
    QTest::newRow("first fix line") << 0;
    QTest::newRow("last fix line") << 3;
}

void TestProcedures::clickDraws()
{
    QFETCH(int, line);
    setPlan({airport(QStringLiteral("LFPG"))});
    clickRow(0);
    QTreeWidgetItem *top = procedureItem(true, QStringLiteral("REM4E"));
    QVERIFY(top);
    QTreeWidgetItem *item = line < 0 ? top : top->child(line);
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_treeWStar_itemClicked", Q_ARG(QTreeWidgetItem *, item), Q_ARG(int, 1)));
    QCOMPARE(m_fx->scripts, (QStringList{ClearSS, Rem4eScript}));

    // The SID tree draws the same way.
    m_fx->scripts.clear();
    top = procedureItem(false, QStringLiteral("MLN7B"));
    item = line < 0 ? top : top->child(line);
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_treeWSid_itemClicked", Q_ARG(QTreeWidgetItem *, item), Q_ARG(int, 0)));
    QCOMPARE(m_fx->scripts.size(), 2);
    QCOMPARE(m_fx->scripts.at(0), ClearSS);
    QVERIFY(m_fx->scripts.at(1).startsWith(QStringLiteral("addPointToSS(new google.maps.LatLng(49.00974,2.56262),\"LFPG\");")));
    QVERIFY(m_fx->scripts.at(1).endsWith(QStringLiteral(",\"MLN\")")));
    QCOMPARE(m_fx->scripts.at(1).count(QStringLiteral("addPointToSS")), 4);
}

void TestProcedures::drawingWrapsLongitudeAndEscapes()
{
    // A fix stored east-positive over the whole turn is drawn west of
    // Greenwich; quotes and backslashes in an ident are escaped; a
    // procedure named like an airport key is only itself.
    insertRow(QStringLiteral("0,'LFPG10','LFPN','LFPG',10,2,'LFPN',0,0,175000,7000"));
    insertRow(QStringLiteral("0,'LFPG20','LFPN','LFPG',20,2,'O''HARE \"2\" \\',4096,0,172800,1292400"));
    setPlan({airport(QStringLiteral("LFPN"))});
    clickRow(0);
    QCOMPARE(procedureNames(false), QStringList{"LFPG"});
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_treeWSid_itemClicked",
                                      Q_ARG(QTreeWidgetItem *, procedureItem(false, QStringLiteral("LFPG"))->child(1)),
                                      Q_ARG(int, 1)));
    QCOMPARE(m_fx->scripts,
             (QStringList{ClearSS, QStringLiteral("addPointToSS(new google.maps.LatLng(48.61111,1.94444),\"LFPN\");"
                                                  "addPointToSS(new google.maps.LatLng(48.00000,-1.00000),"
                                                  "\"O'HARE \\\"2\\\" \\\\\")")}));

    // A name with no rows clears the drawing and sends nothing else.
    m_fx->scripts.clear();
    auto *ghost = new QTreeWidgetItem(tree(false));
    ghost->setText(0, QStringLiteral("GHOST"));
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_treeWSid_itemClicked", Q_ARG(QTreeWidgetItem *, ghost), Q_ARG(int, 0)));
    QCOMPARE(m_fx->scripts, QStringList{ClearSS});
}

// --- adding ---

void TestProcedures::addToPlan_data()
{
    QTest::addColumn<bool>("star");
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<int>("selectedLine");  // -1 procedure line, -2 nothing selected
    QTest::addColumn<QString>("idents");

    QTest::newRow("SID line, after the first row") << false << 0 << -1 << "LFPG FIXA NDBB LFPO";
    QTest::newRow("SID fix line stands for its procedure") << false << 0 << 2 << "LFPG FIXA NDBB LFPO";
    QTest::newRow("after the last row") << false << 1 << -1 << "LFPG LFPO FIXA NDBB";
    QTest::newRow("no current row: first") << false << -1 << 1 << "FIXA NDBB LFPG LFPO";
    QTest::newRow("nothing selected adds nothing") << false << 0 << -2 << "LFPG LFPO";
    QTest::newRow("STAR") << true << 0 << 0 << "LFPG REM PB096 CRL16 LFPO";
}

void TestProcedures::addToPlan()
{
    QFETCH(bool, star);
    QFETCH(int, currentRow);
    QFETCH(int, selectedLine);
    // Airport, fix, NDB, airport.
    insertRow(QStringLiteral("0,'TST110','LFPG','TST1',10,2,'LFPG',0,392,176435.072,9225.43"));
    insertRow(QStringLiteral("0,'TST120','LFPG','TST1',20,2,'FIXA',4096,0,176000,9000"));
    insertRow(QStringLiteral("0,'TST130','LFPG','TST1',30,2,'NDBB',8,300,175700,8800"));
    insertRow(QStringLiteral("0,'TST140','LFPG','TST1',40,2,'LFPO',0,291,175414.897,8521.304"));
    setPlan({airport(QStringLiteral("LFPG")), airport(QStringLiteral("LFPO"))});
    clickRow(0);
    QTreeWidgetItem *top = procedureItem(star, star ? QStringLiteral("REM4E") : QStringLiteral("TST1"));
    QVERIFY(top);
    if (selectedLine == -2)
        tree(star)->clearSelection();
    else
        tree(star)->setCurrentItem(selectedLine < 0 ? top : top->child(selectedLine));
    m_fx->ui()->fltplnGrid->setCurrentCell(currentRow, currentRow < 0 ? -1 : 1);
    m_fx->scripts.clear();

    call(star ? "on_btnAddStar_clicked" : "on_btnAddSid_clicked");
    QTEST(planIdents(), "idents");
    if (selectedLine == -2) {
        QVERIFY(m_fx->scripts.isEmpty());
        return;
    }
    QCOMPARE(m_fx->scripts.size(), 2);
    QCOMPARE(m_fx->scripts.at(0), ClearSS);
    QCOMPARE(m_fx->scripts.at(1), plan()->mapScript());
    QCOMPARE(m_fx->ui()->fltplnGrid->rowCount(), plan()->count());
    // The fixes are fresh points of the plan.
    for (const PointPtr &p : plan()->points) {
        if (p->usage == QLatin1String("airp"))
            continue;
        QCOMPARE(p->kind, QStringLiteral("wayp"));
        QCOMPARE(p->usage, QStringLiteral("uswp"));
        QCOMPARE(p->dbKey, QStringLiteral("NONE"));
        QCOMPARE(p->speed, plan()->aircraft->cruiseSpeed);
        if (p->ident == QLatin1String("FIXA")) {
            QCOMPARE(p->latitude, 176000.0);
            QCOMPARE(p->longitude, 9000.0);
        }
    }
    QVERIFY(m_fx->prompt.records.isEmpty());
}

// --- creating ---

void TestProcedures::createSid()
{
    setDemoPlan();
    m_fx->prompt.answers << QStringLiteral("DEP1");
    call("on_btnCreateSID_clicked");
    QCOMPARE(stored(QStringLiteral("DEP1")),
             (QStringList{"0|DEP110|LFPG|DEP1|10|2|LFPG|0|392|176435.072|9225.43",
                          "0|DEP120|LFPG|DEP1|20|2|ABC|1|250|176000.123|9500.568",
                          "0|DEP130|LFPG|DEP1|30|2|WPT01|4096|0|175801|8900",
                          "0|DEP140|LFPG|DEP1|40|2|LFPO|0|291|175414.897|8521.304"}));
    QCOMPARE(storedCount(), 44);

    QCOMPARE(m_fx->prompt.records.size(), 2);
    const ScriptedPrompt::Record &ask = m_fx->prompt.records.at(0);
    QCOMPARE(ask.kind, QStringLiteral("text"));
    QCOMPARE(ask.title, QStringLiteral("Nouveau SID"));
    QCOMPARE(ask.text, QStringLiteral("Nom du SID"));
    QCOMPARE(ask.dir, QString());
    const ScriptedPrompt::Record &done = m_fx->prompt.records.at(1);
    QCOMPARE(done.kind, QStringLiteral("message"));
    QCOMPARE(done.icon, CPrompt::Information);
    QCOMPARE(done.title, QStringLiteral("Enregistrement SID"));
    QCOMPARE(done.text, QStringLiteral("Le SID DEP1 a été enregistré"));
    QCOMPARE(done.buttons, QStringList{CPrompt::Ok});

    // The departure airport's procedures are listed again, DEP1 among them.
    QCOMPARE(procedureNames(false), (QStringList{"AMOGA7A", "MLN7B", "DEP1"}));
    QCOMPARE(procedureItem(false, QStringLiteral("DEP1"))->childCount(), 4);
    QCOMPARE(m_fx->ui()->dockWSid->windowTitle(), QStringLiteral("SID : LFPG"));
    // The plan is as it was.
    QCOMPARE(planIdents(), QStringLiteral("LFPG ABC WPT01 LFPO"));
}

void TestProcedures::createStar()
{
    setDemoPlan();
    m_fx->prompt.answers << QStringLiteral("ARR1");
    call("on_btnCreateSTAR_clicked");
    QCOMPARE(stored(QStringLiteral("ARR1")),
             (QStringList{"0|ARR110|LFPO|ARR1|10|1|LFPG|0|392|176435.072|9225.43",
                          "0|ARR120|LFPO|ARR1|20|1|ABC|1|250|176000.123|9500.568",
                          "0|ARR130|LFPO|ARR1|30|1|WPT01|4096|0|175801|8900",
                          "0|ARR140|LFPO|ARR1|40|1|LFPO|0|291|175414.897|8521.304"}));
    QCOMPARE(m_fx->prompt.records.at(0).title, QStringLiteral("Nouveau STAR"));
    QCOMPARE(m_fx->prompt.records.at(0).text, QStringLiteral("Nom du STAR"));
    QCOMPARE(m_fx->prompt.last().title, QStringLiteral("Enregistrement STAR"));
    QCOMPARE(m_fx->prompt.last().text, QStringLiteral("Le STAR ARR1 a été enregistré"));
    QCOMPARE(m_fx->prompt.last().icon, CPrompt::Information);

    // Listed under the arrival airport, not under the departure.
    QCOMPARE(m_fx->ui()->dockWStar->windowTitle(), QStringLiteral("STAR : LFPO"));
    QCOMPARE(procedureNames(true), (QStringList{"BRY3E", "ARR1"}));
    clickRow(0);
    QCOMPARE(procedureNames(true), (QStringList{"REM4E", "EPR7W"}));
}

void TestProcedures::createReplacesOwnRows()
{
    // LFPG's AMOGA7A saved again from LFPG: its old rows all go.
    setPlan({airport(QStringLiteral("LFPG")), navaid(QStringLiteral("ABC"), 8), airport(QStringLiteral("LFPO"))});
    m_fx->prompt.answers << QStringLiteral("AMOGA7A");
    call("on_btnCreateSID_clicked");
    QCOMPARE(stored(QStringLiteral("AMOGA7A")),
             (QStringList{"0|AMOGA7A10|LFPG|AMOGA7A|10|2|LFPG|0|392|176435.072|9225.43",
                          "0|AMOGA7A20|LFPG|AMOGA7A|20|2|ABC|8|250|176000.123|9500.568",
                          "0|AMOGA7A30|LFPG|AMOGA7A|30|2|LFPO|0|291|175414.897|8521.304"}));
    QCOMPARE(storedCount(), 39);
    QCOMPARE(m_fx->prompt.last().text, QStringLiteral("Le SID AMOGA7A a été enregistré"));
}

void TestProcedures::createKeyOfAnotherProcedure_data()
{
    QTest::addColumn<QString>("from");     // the plan's first airport
    QTest::addColumn<QString>("first");    // saved first; empty: a demo procedure
    QTest::addColumn<QString>("second");   // then this one
    QTest::addColumn<QString>("key");      // the key they share
    QTest::addColumn<QString>("holder");   // whose it is

    // Point 11 of ABC and point 1 of ABC1 are both ABC110.
    QTest::newRow("ABC, then ABC1") << "LFPG" << "ABC" << "ABC1" << "ABC110" << "ABC";
    QTest::newRow("ABC1, then ABC") << "LFPG" << "ABC1" << "ABC" << "ABC110" << "ABC1";
    // The same name at another airport is another procedure.
    QTest::newRow("LFPG's AMOGA7A from LFPO") << "LFPO" << "" << "AMOGA7A" << "AMOGA7A10" << "AMOGA7A";
}

void TestProcedures::createKeyOfAnotherProcedure()
{
    QFETCH(QString, from);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, key);
    QFETCH(QString, holder);
    // Plans of 11 points.
    QList<PointPtr> points{airport(from)};
    for (int i = 1; i <= 9; ++i)
        points << waypoint(QStringLiteral("W%1").arg(i));
    points << airport(from == QLatin1String("LFPG") ? QStringLiteral("LFPO") : QStringLiteral("LFPG"));
    setPlan(points);
    if (!first.isEmpty()) {
        m_fx->prompt.answers << first;
        call("on_btnCreateSID_clicked");
        QCOMPARE(stored(first).size(), 11);
    }
    const QStringList kept = stored(holder);
    const int rows = storedCount();
    m_fx->prompt.records.clear();
    m_fx->prompt.answers << second;
    call("on_btnCreateSID_clicked");

    const ScriptedPrompt::Record &box = m_fx->prompt.last();
    QCOMPARE(box.icon, CPrompt::Warning);
    QCOMPARE(box.title, QStringLiteral("Création d'un SID"));
    QCOMPARE(box.text, QStringLiteral("Le SID %1 n'a pas été enregistré : sa clé %2 est déjà celle d'un point de la "
                                      "procédure %3 de LFPG.\nChoisissez un autre nom.")
                               .arg(second, key, holder));
    // The other procedure is whole, and still listed; nothing of the new one.
    QCOMPARE(stored(holder), kept);
    QCOMPARE(storedCount(), rows);
    if (holder != second)
        QVERIFY(stored(second).isEmpty());
    clickRow(from == QLatin1String("LFPG") ? 0 : int(points.size()) - 1);   // LFPG's procedures
    QVERIFY(procedureNames(false).contains(holder));
    QCOMPARE(procedureItem(false, holder)->childCount(), kept.size());
}

void TestProcedures::createRefused_data()
{
    QTest::addColumn<bool>("star");
    QTest::addColumn<bool>("wrongEnd");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("SID not from an airport") << false << true << QStringList{"X"} << QStringList{"Création d'un SID"}
                                             << QStringList{"Le nouveau SID doit commencé par un aéroport"};
    QTest::newRow("STAR not to an airport") << true << true << QStringList{"X"} << QStringList{"Création d'un STAR"}
                                            << QStringList{"Le nouveau STAR doit finir par un aéroport"};
    QTest::newRow("name input cancelled") << false << false << QStringList{} << QStringList{"Nouveau SID"}
                                          << QStringList{"Nom du SID"};
    QTest::newRow("empty name") << true << false << QStringList{""} << QStringList{"Nouveau STAR"}
                                << QStringList{"Nom du STAR"};
}

void TestProcedures::createRefused()
{
    QFETCH(bool, star);
    QFETCH(bool, wrongEnd);
    QFETCH(QStringList, answers);
    if (wrongEnd) {
        // The navaid stands where the airport should be.
        if (star)
            setPlan({airport(QStringLiteral("LFPG")), navaid(QStringLiteral("ABC"), 1)});
        else
            setPlan({navaid(QStringLiteral("ABC"), 1), airport(QStringLiteral("LFPO"))});
    } else {
        setDemoPlan();
    }
    m_fx->prompt.answers = answers;
    call(star ? "on_btnCreateSTAR_clicked" : "on_btnCreateSID_clicked");
    QStringList titles, texts;
    for (const ScriptedPrompt::Record &r : m_fx->prompt.records) {
        titles << r.title;
        texts << r.text;
    }
    QTEST(titles, "titles");
    QTEST(texts, "texts");
    if (wrongEnd) {
        QCOMPARE(m_fx->prompt.last().icon, CPrompt::Warning);
        QCOMPARE(m_fx->prompt.last().buttons, QStringList{CPrompt::Ok});
    }
    QCOMPARE(storedCount(), 40);
    QVERIFY(stored(QString()).isEmpty());
}

void TestProcedures::apostrophes()
{
    PointPtr hare = waypoint(QStringLiteral("O'HARE"));
    setPlan({airport(QStringLiteral("LFPG")), hare, airport(QStringLiteral("LFPO"))});
    const QString name = QStringLiteral("D'ARTAGNAN %2");
    m_fx->prompt.answers << name;
    call("on_btnCreateSID_clicked");
    QCOMPARE(stored(name),
             (QStringList{"0|D'ARTAGNAN %210|LFPG|D'ARTAGNAN %2|10|2|LFPG|0|392|176435.072|9225.43",
                          "0|D'ARTAGNAN %220|LFPG|D'ARTAGNAN %2|20|2|O'HARE|4096|0|175801|8900",
                          "0|D'ARTAGNAN %230|LFPG|D'ARTAGNAN %2|30|2|LFPO|0|291|175414.897|8521.304"}));
    QCOMPARE(m_fx->prompt.last().text, QStringLiteral("Le SID D'ARTAGNAN %2 a été enregistré"));

    // Listed, drawn and deleted by that name.
    QTreeWidgetItem *top = procedureItem(false, name);
    QVERIFY(top);
    QCOMPARE(top->child(1)->text(1), QStringLiteral("O'HARE"));
    m_fx->scripts.clear();
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_treeWSid_itemClicked", Q_ARG(QTreeWidgetItem *, top), Q_ARG(int, 0)));
    QCOMPARE(m_fx->scripts.size(), 2);
    QVERIFY(m_fx->scripts.at(1).contains(QStringLiteral("\"O'HARE\"")));

    tree(false)->setCurrentItem(top->child(1));
    m_fx->prompt.answers << CPrompt::Ok;
    call("on_pbDelSID_clicked");
    QCOMPARE(m_fx->prompt.records.at(m_fx->prompt.records.size() - 2).text,
             QStringLiteral("Voulez vous effacer le SID D'ARTAGNAN %2 ?"));
    QCOMPARE(m_fx->prompt.last().text, QStringLiteral("Le SID D'ARTAGNAN %2 a été effacé"));
    QVERIFY(stored(name).isEmpty());
    QCOMPARE(storedCount(), 40);
}

void TestProcedures::createFailure_data()
{
    QTest::addColumn<bool>("star");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("name");

    QTest::newRow("SID, read-only database") << false << "readonly" << "DEP1";
    QTest::newRow("SID, no table") << false << "drop" << "DEP1";
    QTest::newRow("SID replacing, third insert fails") << false << "trigger" << "AMOGA7A";
    QTest::newRow("STAR, read-only database") << true << "readonly" << "BRY3E";
    QTest::newRow("STAR replacing, third insert fails") << true << "trigger" << "BRY3E";
}

void TestProcedures::createFailure()
{
    QFETCH(bool, star);
    QFETCH(QString, damage);
    QFETCH(QString, name);
    setDemoPlan();
    const QStringList before = stored(name);
    if (damage == QLatin1String("readonly")) {
        QSqlDatabase db = routeDb();
        db.close();
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QVERIFY(db.open());
    } else if (damage == QLatin1String("drop")) {
        QVERIFY(sql(QStringLiteral("DROP TABLE SIDSTAR")));
    } else {
        QVERIFY(sql(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON SIDSTAR WHEN NEW.sqnm = 30 "
                                   "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    }
    m_fx->prompt.answers << name;
    call(star ? "on_btnCreateSTAR_clicked" : "on_btnCreateSID_clicked");

    QCOMPARE(m_fx->prompt.records.size(), 2);
    const ScriptedPrompt::Record &box = m_fx->prompt.last();
    QCOMPARE(box.icon, CPrompt::Warning);
    QCOMPARE(box.title, star ? QStringLiteral("Création d'un STAR") : QStringLiteral("Création d'un SID"));
    const QString head = (star ? QStringLiteral("Le STAR %1 n'a pas pu être enregistré :\n")
                               : QStringLiteral("Le SID %1 n'a pas pu être enregistré :\n"))
                                 .arg(name);
    QVERIFY2(box.text.startsWith(head), qPrintable(box.text));
    QVERIFY(box.text.size() > head.size());
    if (damage == QLatin1String("trigger"))
        QVERIFY(box.text.contains(QStringLiteral("refused")));
    QCOMPARE(box.buttons, QStringList{CPrompt::Ok});
    // Nothing changed: the old rows of the name are all there.
    QCOMPARE(stored(name), damage == QLatin1String("drop") ? QStringList{"no table"} : before);
    if (damage != QLatin1String("drop"))
        QCOMPARE(storedCount(), 40);
    // The trees were not listed again.
    QCOMPARE(tree(false)->topLevelItemCount(), 0);
}

// --- deleting ---

void TestProcedures::deleteProcedure_data()
{
    QTest::addColumn<bool>("star");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("selectedLine");  // -1 procedure line
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("doneTitle");
    QTest::addColumn<QString>("done");

    QTest::newRow("SID by its fix line") << false << "AMOGA7A" << 2 << "Ok" << "Voulez vous effacer le SID AMOGA7A ?"
                                         << "Effacement SID" << "Le SID AMOGA7A a été effacé";
    QTest::newRow("SID by its line") << false << "MLN7B" << -1 << "Ok" << "Voulez vous effacer le SID MLN7B ?"
                                     << "Effacement SID" << "Le SID MLN7B a été effacé";
    QTest::newRow("STAR by its fix line") << true << "EPR7W" << 0 << "Ok" << "Voulez vous effacer la STAR EPR7W ?"
                                          << "Effacement STAR" << "La STAR EPR7W a été effacé";
    QTest::newRow("SID kept on Cancel") << false << "AMOGA7A" << 1 << "Cancel"
                                        << "Voulez vous effacer le SID AMOGA7A ?" << "" << "";
    QTest::newRow("STAR kept when the box is closed") << true << "REM4E" << -1 << ""
                                                      << "Voulez vous effacer la STAR REM4E ?" << "" << "";
}

void TestProcedures::deleteProcedure()
{
    QFETCH(bool, star);
    QFETCH(QString, name);
    QFETCH(int, selectedLine);
    QFETCH(QString, answer);
    QFETCH(QString, doneTitle);
    setPlan({airport(QStringLiteral("LFPG"))});
    clickRow(0);
    QTreeWidgetItem *top = procedureItem(star, name);
    QVERIFY(top);

    // Nothing selected: nothing asked.
    call(star ? "on_pbDelSTAR_clicked" : "on_pbDelSID_clicked");
    QVERIFY(m_fx->prompt.records.isEmpty());

    tree(star)->setCurrentItem(selectedLine < 0 ? top : top->child(selectedLine));
    m_fx->prompt.answers << answer;
    call(star ? "on_pbDelSTAR_clicked" : "on_pbDelSID_clicked");

    const ScriptedPrompt::Record &ask = m_fx->prompt.records.at(0);
    QCOMPARE(ask.icon, CPrompt::Warning);
    QCOMPARE(ask.title, star ? QStringLiteral("Effacer une STAR") : QStringLiteral("Effacer un SID"));
    QTEST(ask.text, "question");
    QCOMPARE(ask.buttons, (QStringList{CPrompt::Ok, CPrompt::Cancel}));

    if (doneTitle.isEmpty()) {
        QCOMPARE(m_fx->prompt.records.size(), 1);
        QCOMPARE(stored(name).size(), 4);
        QVERIFY(procedureItem(star, name));
        QVERIFY(m_fx->scripts.isEmpty());
        return;
    }
    QCOMPARE(m_fx->prompt.records.size(), 2);
    QCOMPARE(m_fx->prompt.last().icon, CPrompt::Information);
    QCOMPARE(m_fx->prompt.last().title, doneTitle);
    QTEST(m_fx->prompt.last().text, "done");
    QCOMPARE(m_fx->prompt.last().buttons, QStringList{CPrompt::Ok});
    QVERIFY(stored(name).isEmpty());
    QCOMPARE(storedCount(), 36);
    QVERIFY(!procedureItem(star, name));
    QCOMPARE(tree(star)->topLevelItemCount(), 1);
    QCOMPARE(m_fx->scripts, QStringList{ClearSS});
}

void TestProcedures::deleteFailure_data()
{
    QTest::addColumn<bool>("star");
    QTest::addColumn<QString>("damage");

    QTest::newRow("SID, read-only database") << false << "readonly";
    QTest::newRow("SID, no table") << false << "drop";
    QTest::newRow("STAR, delete refused") << true << "trigger";
}

void TestProcedures::deleteFailure()
{
    QFETCH(bool, star);
    QFETCH(QString, damage);
    setPlan({airport(QStringLiteral("LFPG"))});
    clickRow(0);
    const QString name = star ? QStringLiteral("REM4E") : QStringLiteral("AMOGA7A");
    if (damage == QLatin1String("readonly")) {
        QSqlDatabase db = routeDb();
        db.close();
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QVERIFY(db.open());
    } else if (damage == QLatin1String("drop")) {
        QVERIFY(sql(QStringLiteral("DROP TABLE SIDSTAR")));
    } else {
        QVERIFY(sql(QStringLiteral(
                "CREATE TRIGGER refuse BEFORE DELETE ON SIDSTAR BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    }
    tree(star)->setCurrentItem(procedureItem(star, name)->child(1));
    m_fx->prompt.answers << CPrompt::Ok;
    call(star ? "on_pbDelSTAR_clicked" : "on_pbDelSID_clicked");

    QCOMPARE(m_fx->prompt.records.size(), 2);
    const ScriptedPrompt::Record &box = m_fx->prompt.last();
    QCOMPARE(box.icon, CPrompt::Warning);
    QCOMPARE(box.title, star ? QStringLiteral("Effacement STAR") : QStringLiteral("Effacement SID"));
    const QString head = star ? QStringLiteral("La STAR REM4E n'a pas pu être effacée :\n")
                              : QStringLiteral("Le SID AMOGA7A n'a pas pu être effacé :\n");
    QVERIFY2(box.text.startsWith(head), qPrintable(box.text));
    QVERIFY(box.text.size() > head.size());
    // The procedure stays, in the tree and (unless the table is gone) in the database.
    QVERIFY(procedureItem(star, name));
    QVERIFY(m_fx->scripts.isEmpty());
    if (damage != QLatin1String("drop"))
        QCOMPARE(stored(name).size(), 4);
}

void TestProcedures::dockShown_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QStringList>("scripts");

    for (const char *slot : {"on_dockWFlightPlan_visibilityChanged", "on_dockWSid_visibilityChanged",
                             "on_dockWStar_visibilityChanged"}) {
        QTest::addRow("%s shown", slot) << slot << true << QStringList{ClearSS};
        QTest::addRow("%s hidden", slot) << slot << false << QStringList{};
    }
}

void TestProcedures::dockShown()
{
    QFETCH(QString, slot);
    QFETCH(bool, visible);
    QVERIFY(QMetaObject::invokeMethod(m_w, slot.toLatin1().constData(), Q_ARG(bool, visible)));
    QTEST(m_fx->scripts, "scripts");
}

QTEST_MAIN(TestProcedures)
#include "tst_procedures.moc"
