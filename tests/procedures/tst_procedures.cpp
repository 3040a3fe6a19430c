// SID and STAR procedures: the trees of the airport clicked in the grid,
// drawing, adding a procedure to the plan, storing the plan as a procedure
// and deleting one, with every box and script they produce.

#include "app/navglobalvar.h"
#include "data/sqlmgr.h"
#include "flightplan/flightplan.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString ClearSS = QStringLiteral("clearSS()");

} // namespace

class TestProcedures : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listAndDraw();
    void create_data();
    void create();

private:
    CFlightPlan *plan() const { return CNavGlobalVar::instance()->flightPlan; }
    QTreeWidget *tree(bool star) const { return star ? m_fx->ui()->treeWStar : m_fx->ui()->treeWSid; }
    void call(const char *slot) { QVERIFY(QMetaObject::invokeMethod(m_w, slot)); }
    void clickRow(int row);
    bool sql(const QString &statement);
    void damage(const QString &how);
    // "skey|sapt|strm|sqnm|styp|swid|swpt|salt|slat|slon" per stored row of a
    // name (an empty one: of every procedure).
    QStringList stored(const QString &name);
    QStringList procedureNames(bool star) const;
    QTreeWidgetItem *procedureItem(bool star, const QString &name) const;
    // "icon|title|text" of every box and input; an expected one ending with
    // '*' stands for any text that starts with it.
    void compareBoxes(const QStringList &expected) const;

    PointPtr airport(const QString &key) const;
    PointPtr point(const QString &ident, int navaidType = -1) const;   // a navaid, or a user waypoint
    void setPlan(const QList<PointPtr> &points);

    WindowFixture *m_fx = nullptr;
    MainWindow *m_w = nullptr;
};

void TestProcedures::init()
{
    m_fx = new WindowFixture;
    QVERIFY(m_fx->prepareDemo());
    m_w = m_fx->start(false);
    QVERIFY(m_w && plan());
    m_fx->scripts.clear();
}

void TestProcedures::cleanup()
{
    delete m_fx;
    m_fx = nullptr;
}

void TestProcedures::clickRow(int row)
{
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_fltplnGrid_cellClicked", Q_ARG(int, row), Q_ARG(int, 1)));
}

bool TestProcedures::sql(const QString &statement)
{
    QSqlQuery q(QSqlDatabase::database(CNavGlobalVar::instance()->routeName));
    return q.exec(statement);
}

void TestProcedures::damage(const QString &how)
{
    if (how == QLatin1String("readonly")) {
        QSqlDatabase db = QSqlDatabase::database(CNavGlobalVar::instance()->routeName);
        db.close();
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QVERIFY(db.open());
    } else if (how.contains(u' ')) {
        QVERIFY(sql(how));
    } else if (!how.isEmpty()) {
        QVERIFY(sql(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON SIDSTAR %2 BEGIN SELECT RAISE(ABORT, 'refused'); END")
                            .arg(how, how == QLatin1String("INSERT") ? "WHEN NEW.sqnm = 30" : "")));
    }
}

QStringList TestProcedures::stored(const QString &name)
{
    QStringList out;
    QSqlQuery q(QSqlDatabase::database(CNavGlobalVar::instance()->routeName));
    q.prepare(QStringLiteral("SELECT * FROM SIDSTAR WHERE strm = ? OR ? ORDER BY rowid"));
    q.addBindValue(name);
    q.addBindValue(name.isEmpty());
    q.exec();
    while (q.next()) {
        QStringList values;
        for (int i = 1; i < 11; ++i)
            values << q.value(i).toString();
        out << values.join(u'|');
    }
    return out;
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
    const int i = int(procedureNames(star).indexOf(name));
    return i < 0 ? nullptr : tree(star)->topLevelItem(i);
}

void TestProcedures::compareBoxes(const QStringList &expected) const
{
    QStringList shown;
    for (const ScriptedPrompt::Record &r : m_fx->prompt.records) {
        shown << (r.kind == QLatin1String("text") ? QStringLiteral("text") : QStringLiteral(" IWCQ").mid(int(r.icon), 1))
                        + u'|' + r.title + u'|' + r.text;
        const qsizetype i = shown.size() - 1;
        if (i < expected.size() && expected[i].endsWith(u'*') && shown[i].startsWith(expected[i].chopped(1)))
            shown[i] = expected[i];
    }
    QCOMPARE(shown, expected);
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

PointPtr TestProcedures::point(const QString &ident, int navaidType) const
{
    PointPtr p = plan()->newPoint();
    const bool navaid = navaidType >= 0;
    p->kind = navaid ? QStringLiteral("snav") : QStringLiteral("wayp");
    p->usage = navaid ? QStringLiteral("snav") : QStringLiteral("uswp");
    p->name = p->ident = ident;
    p->latitude = navaid ? 176000.1234 : 175800.9996;
    p->longitude = navaid ? 9500.5678 : 8900.0004;
    p->elevation = navaid ? 250 : 0;
    p->dbKey = navaid ? QStringLiteral("FR1") + ident + QStringLiteral("1") : ident + QStringLiteral("FR");
    p->navaidType = navaidType;
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

void TestProcedures::listAndDraw()
{
    // At LFPN: a procedure whose rows start at 20 (and one row of 30 before
    // a proper start), of which only what follows the first row of sequence
    // 10 is listed; one named like an airport key, with a fix stored
    // east-positive over the whole turn and quotes in its ident.
    for (const char *values : {"'ODD20','LFPN','ODD',20,2,'X1',4096,0,0,0", "'ODD30','LFPN','ODD',30,2,'X2',4096,0,0,0",
                               "'GOOD10','LFPN','GOOD',10,1,'LFPN',0,0,0,0", "'GOOD20','LFPN','GOOD',20,1,'X3',8,0,0,0",
                               "'LFPG10','LFPN','LFPG',10,2,'LFPN',0,0,175000,7000",
                               "'LFPG20','LFPN','LFPG',20,2,'O''HARE \"2\" \\',4096,0,172800,1292400"})
        QVERIFY(sql(QStringLiteral("INSERT INTO SIDSTAR VALUES(0,%1)").arg(QLatin1String(values))));
    setPlan({airport(QStringLiteral("LFPG")), point(QStringLiteral("ABC"), 1), airport(QStringLiteral("LFPN"))});
    clickRow(2);
    QCOMPARE(procedureNames(false), QStringList{"LFPG"});
    QCOMPARE(procedureNames(true), QStringList{"GOOD"});
    QCOMPARE(procedureItem(true, QStringLiteral("GOOD"))->childCount(), 2);
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_treeWSid_itemClicked",
                                      Q_ARG(QTreeWidgetItem *, procedureItem(false, QStringLiteral("LFPG"))), Q_ARG(int, 1)));
    QCOMPARE(m_fx->scripts, (QStringList{ClearSS, QStringLiteral("addPointToSS(new google.maps.LatLng(48.61111,1.94444),\"LFPN\");"
                                                                 "addPointToSS(new google.maps.LatLng(48.00000,-1.00000),"
                                                                 "\"O'HARE \\\"2\\\" \\\\\")")}));

    // LFPG's; a line other than an airport's leaves the trees as they are.
    clickRow(0);
    clickRow(1);
    QCOMPARE(procedureNames(false), (QStringList{"AMOGA7A", "MLN7B"}));
    QCOMPARE(procedureNames(true), (QStringList{"REM4E", "EPR7W"}));
    QCOMPARE(m_fx->ui()->dockWSid->windowTitle() + m_fx->ui()->dockWStar->windowTitle(), QStringLiteral("SID : LFPGSTAR : LFPG"));
    // The fix lines: the ident in blue.
    const QTreeWidgetItem *amoga = procedureItem(false, QStringLiteral("AMOGA7A"));
    QStringList fixes;
    for (int i = 0; i < amoga->childCount(); ++i)
        fixes << amoga->child(i)->text(1);
    QCOMPARE(fixes.join(u' '), QStringLiteral("LFPG BUNOR VAKSO AMOGA"));
    // A fix line draws its procedure.
    m_fx->scripts.clear();
    QTreeWidgetItem *fix = procedureItem(true, QStringLiteral("REM4E"))->child(3);
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_treeWStar_itemClicked", Q_ARG(QTreeWidgetItem *, fix), Q_ARG(int, 1)));
    QCOMPARE(m_fx->scripts, (QStringList{ClearSS, QStringLiteral("addPointToSS(new google.maps.LatLng(49.31164,4.04536),\"REM\");"
                                                                 "addPointToSS(new google.maps.LatLng(49.13700,2.93781),\"PB096\");"
                                                                 "addPointToSS(new google.maps.LatLng(49.09093,2.83499),\"CRL16\");"
                                                                 "addPointToSS(new google.maps.LatLng(49.00974,2.56262),\"LFPG\")")}));
    QVERIFY(m_fx->prompt.records.isEmpty());
    // Added after the current line, without the airport at its end.
    tree(true)->setCurrentItem(procedureItem(true, QStringLiteral("REM4E"))->child(1));
    m_fx->ui()->fltplnGrid->setCurrentCell(0, 1);
    m_fx->scripts.clear();
    call("on_btnAddStar_clicked");
    QStringList idents;
    for (const PointPtr &p : plan()->points)
        idents << p->ident;
    QCOMPARE(idents.join(u' '), QStringLiteral("LFPG REM PB096 CRL16 ABC LFPN"));
    QCOMPARE(m_fx->scripts, (QStringList{ClearSS, plan()->mapScript()}));
    // A dock coming to the front hides the drawing; hidden, it sends nothing.
    m_fx->scripts.clear();
    for (const char *slot : {"on_dockWFlightPlan_visibilityChanged", "on_dockWSid_visibilityChanged", "on_dockWStar_visibilityChanged"})
        QVERIFY(QMetaObject::invokeMethod(m_w, slot, Q_ARG(bool, false)) && QMetaObject::invokeMethod(m_w, slot, Q_ARG(bool, true)));
    QCOMPARE(m_fx->scripts, (QStringList{ClearSS, ClearSS, ClearSS}));
}

void TestProcedures::create_data()
{
    QTest::addColumn<bool>("star");
    QTest::addColumn<bool>("wrongEnd");      // the navaid stands where the airport should be
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("name");       // answered to the input
    QTest::addColumn<QStringList>("rows");   // stored under the name; "=": as before
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("listed"); // the airport's procedures listed again; empty: not listed
    QTest::addColumn<QString>("remove");     // "line|answer": LFPG's procedure deleted instead, from a
                                             // fix line (-1: its own line)

    // The four rows of the plan saved under a name from an airport.
    const auto rows = [](const QString &name, const QString &apt, const QString &styp) {
        QStringList out;
        for (const QString fix : {"10|LFPG|0|392|176435.072|9225.43", "20|ABC|1|250|176000.123|9500.568",
                                  "30|WPT01|4096|0|175801|8900", "40|LFPO|0|291|175414.897|8521.304"})
            out << name + fix.left(2) + u'|' + apt + u'|' + name + u'|' + fix.left(3) + styp + fix.mid(2);
        return out;
    };
    QTest::newRow("SID, apostrophes and a placeholder") << false << false << "" << "D'AR %2" << rows("D'AR %2", "LFPG", "2")
            << 44 << QStringList{"text|Nouveau SID|Nom du SID", "I|Enregistrement SID|Le SID D'AR %2 a été enregistré"}
            << QStringList{"AMOGA7A", "MLN7B", "D'AR %2"} << "";
    // Listed under the arrival airport.
    QTest::newRow("STAR") << true << false << "" << "ARR1" << rows("ARR1", "LFPO", "1")
            << 44 << QStringList{"text|Nouveau STAR|Nom du STAR", "I|Enregistrement STAR|Le STAR ARR1 a été enregistré"}
            << QStringList{"BRY3E", "ARR1"} << "";
    // Saved again: its own four old rows all go, another airport's stay.
    QTest::newRow("SID replacing its own rows") << false << false << "" << "AMOGA7A" << rows("AMOGA7A", "LFPG", "2")
            << 40 << QStringList{"text|Nouveau SID|Nom du SID", "I|Enregistrement SID|Le SID AMOGA7A a été enregistré"}
            << QStringList{"MLN7B", "AMOGA7A"} << "";
    QTest::newRow("SID not from an airport") << false << true << "" << "X" << QStringList{"="} << 40
            << QStringList{"W|Création d'un SID|Le nouveau SID doit commencé par un aéroport"} << QStringList{} << "";
    QTest::newRow("empty name") << true << false << "" << "" << QStringList{"="} << 40
            << QStringList{"text|Nouveau STAR|Nom du STAR"} << QStringList{} << "";
    // Nothing changed when the database fails, part-way included.
    QTest::newRow("SID, read-only database") << false << false << "readonly" << "AMOGA7A" << QStringList{"="} << 40
            << QStringList{"text|Nouveau SID|Nom du SID", "W|Création d'un SID|Le SID AMOGA7A n'a pas pu être enregistré :\n*"}
            << QStringList{} << "";
    QTest::newRow("STAR replacing, third insert fails") << true << false << "INSERT" << "BRY3E" << QStringList{"="} << 40
            << QStringList{"text|Nouveau STAR|Nom du STAR", "W|Création d'un STAR|Le STAR BRY3E n'a pas pu être enregistré :\nrefused*"}
            << QStringList{} << "";
    // ZZ of LFPO holds a key of LFPG's ZZ: that one is another procedure,
    // kept whole; nothing of the new one stays (two rows are in before).
    const QString clash = QStringLiteral("W|Création d'un SID|Le SID ZZ n'a pas été enregistré : sa clé ZZ30 est déjà celle "
                                         "d'un point de la procédure ZZ de LFPO.\nChoisissez un autre nom.");
    QTest::newRow("key of another airport's procedure") << false << false
            << "INSERT INTO SIDSTAR VALUES(0,'ZZ30','LFPO','ZZ',10,2,'X',0,0,0,0)" << "ZZ" << QStringList{"="} << 41
            << QStringList{"text|Nouveau SID|Nom du SID", clash} << QStringList{} << "";
    QTest::newRow("SID deleted by its fix line") << false << false << "" << "AMOGA7A" << QStringList{} << 36
            << QStringList{"W|Effacer un SID|Voulez vous effacer le SID AMOGA7A ?", "I|Effacement SID|Le SID AMOGA7A a été effacé"}
            << QStringList{"MLN7B"} << "2|Ok";
    QTest::newRow("kept when the box is closed") << true << false << "" << "REM4E" << QStringList{"="} << 40
            << QStringList{"W|Effacer une STAR|Voulez vous effacer la STAR REM4E ?"} << QStringList{"REM4E", "EPR7W"} << "-1|";
    QTest::newRow("STAR, delete refused") << true << false << "DELETE" << "EPR7W" << QStringList{"="} << 40
            << QStringList{"W|Effacer une STAR|Voulez vous effacer la STAR EPR7W ?",
                           "W|Effacement STAR|La STAR EPR7W n'a pas pu être effacée :\nrefused*"}
            << QStringList{"REM4E", "EPR7W"} << "-1|Ok";
}

void TestProcedures::create()
{
    QFETCH(bool, star);
    QFETCH(bool, wrongEnd);
    QFETCH(QString, damage);
    QFETCH(QString, name);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, listed);
    QFETCH(QString, remove);
    QList<PointPtr> points{airport(QStringLiteral("LFPG")), point(QStringLiteral("ABC"), 1), point(QStringLiteral("WPT01")),
                           airport(QStringLiteral("LFPO"))};
    if (wrongEnd)
        points.removeAt(star ? 3 : 0);
    setPlan(points);
    this->damage(damage);
    const QStringList before = stored(name);
    m_fx->prompt.answers = {remove.isEmpty() ? name : remove.section(u'|', 1)};
    if (remove.isEmpty()) {
        call(star ? "on_btnCreateSTAR_clicked" : "on_btnCreateSID_clicked");
    } else {
        clickRow(0);
        QTreeWidgetItem *top = procedureItem(star, name);
        QVERIFY(top);
        const int line = remove.section(u'|', 0, 0).toInt();
        tree(star)->setCurrentItem(line < 0 ? top : top->child(line));
        call(star ? "on_pbDelSTAR_clicked" : "on_pbDelSID_clicked");
        QFETCH(int, count);
        QCOMPARE(m_fx->scripts, count < 40 ? QStringList{ClearSS} : QStringList());
    }
    QCOMPARE(stored(name), rows == QStringList{"="} ? before : rows);
    QTEST(int(stored(QString()).size()), "count");
    QFETCH(QStringList, boxes);
    compareBoxes(boxes);
    QCOMPARE(procedureNames(star), listed);
    QCOMPARE(procedureNames(!star).isEmpty(), listed.isEmpty());
    if (!listed.isEmpty())
        QCOMPARE(m_fx->ui()->dockWSid->windowTitle(),
                 star && remove.isEmpty() ? QStringLiteral("SID : LFPO") : QStringLiteral("SID : LFPG"));
    QCOMPARE(plan()->count(), points.size());
}

QTEST_MAIN(TestProcedures)
#include "tst_procedures.moc"
