// The flight-plan dock of the window: points added from the map page, undo
// and redo of every kind of change, saving with the start position, and closing
// with an unsaved plan.

#include "app/navglobalvar.h"
#include "data/textfile.h"
#include "flightplan/flightplan.h"
#include "flightplan/flightplangrid.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <functional>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// icon|title|text|buttons of a message box.
QString facts(int icon, const QString &title, const QString &text, const QStringList &buttons = {CPrompt::Ok})
{
    return QStringList({QString::number(icon), title, text, buttons.join(u'/')}).join(u'|');
}

const QString SaveTitle = QStringLiteral("Enregistrement plan de vol");
const QString StartTitle = QStringLiteral("Enregistrement point de départ");

} // namespace

class TestFlightPlanWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fx = new WindowFixture;
        QVERIFY(m_fx->prepareDemo());
        m_w = m_fx->start(false);
        QVERIFY(m_w && plan());
        m_fx->scripts.clear();
    }

    void cleanup()
    {
        delete m_fx;
    }

    void addFromMap_data()
    {
        // The page's marker titles are "ident-key", the key after the last
        // dash; a user waypoint comes as a position.
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("point");   // kind|ident|key|usage|navaid type|frequency|lat|lon|altitude|speed
        QTest::addColumn<QStringList>("scripts");
        QTest::newRow("airport: places the start, saving possible") << "apt" << "LFPG"
                << "airp|LFPG|LFPG|airp|0|0|176435.072|9225.43|392|190"
                << QStringList{"addSitMarker(new google.maps.LatLng(49.00974222,2.56261944),\"Beechcraft Baron 58\", 0);",
                               "clearFP();addPointToFp(new google.maps.LatLng(49.00974,2.56262),\"Paris Charles De Gaulle\");pushFP();"};
        QTest::newRow("navaid, name with dashes") << "nav" << "SAINT-JEAN-BE2BBE1" << "snav|BBE|BE2BBE1|snav|4|116|182723|17165.002|0|190"
                << QStringList{"clearFP();addPointToFp(new google.maps.LatLng(50.75639,4.76806),\"BEAUVECHAIN TACAN\");pushFP();"};
        QTest::newRow("navaid, empty key") << "nav" << "BBE-" << "" << QStringList();
        QTest::newRow("waypoint of its database") << "wpt" << "AALTE-AALTEBE" << "wayp|AALTE|AALTEBE|uswp|0|0|183912.001|12413.999|0|190"
                << QStringList{"clearFP();addPointToFp(new google.maps.LatLng(51.08667,3.44833),\"AALTE\");pushFP();"};
        QTest::newRow("user waypoint west of Greenwich") << "user" << "45.5,-10" << "uswp|WP001|NONE|uswp|0|0|163800|1260000|0|190"
                << QStringList{"clearFP();addPointToFp(new google.maps.LatLng(45.50000,-10.00000),\"WP001\");pushFP();"};
        QTest::newRow("user waypoint the page could not place") << "user" << "nan,0" << "" << QStringList();
    }

    void addFromMap()
    {
        QFETCH(QString, slot);
        QFETCH(QString, title);
        QFETCH(QString, point);
        if (slot == "apt")
            m_w->sAddAptToFp(title);
        else if (slot == "nav")
            m_w->sAddNavToFp(title);
        else if (slot == "wpt")
            m_w->sAddWptToFp(title);
        else
            m_w->sAddNewWptToFp(QStringLiteral("WP"), title.startsWith(u'n') ? qQNaN() : title.section(u',', 0, 0).toDouble(),
                                title.section(u',', 1).toDouble());
        QTEST(m_fx->scripts, "scripts");
        QVERIFY(m_fx->prompt.records.isEmpty());
        QCOMPARE(m_fx->ui()->btnSaveFlightPlan->isEnabled() + m_fx->ui()->btnStartPos->isEnabled(), slot == "apt" ? 2 : 0);
        const auto n = [](double v) { return QString::number(v, 'g', 10); };
        for (const PointPtr &p : plan()->points) {   // none, or the one added, also in the grid
            QCOMPARE(QStringList({p->kind, p->ident, p->dbKey, p->usage, n(p->navaidType), n(p->frequency), n(p->latitude),
                                  n(p->longitude), n(p->altitude), n(p->speed)}).join(u'|'), point);
            QCOMPARE(grid()->item(0, 1)->text() + grid()->item(0, 2)->text(), p->ident + p->name);
        }
        QCOMPARE(plan()->count(), point.isEmpty() ? 0 : 1);
    }

    // On a plan of LFPG from the search results, the BBE navaid and a user
    // waypoint, a change of every kind; then all undone, each step giving back
    // the plan, the grid and the route as they were and the start marker where
    // it was; then all redone.
    void undoRedo()
    {
        Ui::MainWindow *ui = m_fx->ui();
        ui->searchData->setText(QStringLiteral("LFPG"));
        m_w->searchInTable(true);
        emit ui->treeWFound->itemDoubleClicked(ui->treeWFound->topLevelItem(0), 1);
        m_w->sAddNavToFp(QStringLiteral("BBE-BE2BBE1"));
        m_w->sAddNewWptToFp(QStringLiteral("WP"), 50, 5);
        const QString path = m_fx->sim.path(QStringLiteral("Flightplan/TEST.FPL"));
        QVERIFY(TextFile::write(path, "<vers>\n7\n<wpnt>\nairp\n<iden>\nLFPO\n<llps>\n175415,0,0\n<wpnt>\nairp\n"));
        const QList<std::pair<const char *, std::function<void()>>> changes = {
            {"la modification de l'altitude à LFPG", [&] {   // typed in the grid, taken when the cell is left: not the last point's
                 grid()->setCurrentCell(0, 9);
                 grid()->item(0, 9)->setText(QStringLiteral("5000"));
                 grid()->setCurrentCell(1, 3);
                 QCOMPARE(planState().mid(0, 3), QStringList({"LFPG 5000 shared", "BBE 5000", "WP001 0"}));
             }},
            {"la suppression de BBE", [&] { grid()->setCurrentCell(1, 1); m_w->sFpLineDel(); }},
            {"la montée de WP001", [&] { grid()->setCurrentCell(1, 1); m_w->sFpLineUp(); }},
            {"la descente de WP001", [&] { grid()->setCurrentCell(0, 1); m_w->sFpLineDown(); }},
            {"l'ajout de LFPO", [&] { m_w->sAddAptToFp(QStringLiteral("LFPO")); }},
            {"l'ajout de WP002", [&] { m_w->sAddNewWptToFp(QStringLiteral("WP"), 51, 6); }},
            {"l'ajout de 26R", [&] {   // a runway end of the LFPG found
                 grid()->setCurrentCell(0, 1);
                 emit ui->treeWFound->itemDoubleClicked(ui->treeWFound->topLevelItem(0)->child(0), 1);
                 QCOMPARE(plan()->points.at(1)->ident, QStringLiteral("26R"));   // after the current line
             }},
            {"l'ajout de la procédure AMOGA7A", [&] {
                 ui->treeWSid->setCurrentItem(ui->treeWSid->topLevelItem(0));
                 ui->btnAddSid->click();
             }},
            {"le chargement de TEST.FPL", [&] {
                 m_fx->prompt.answers = QStringList{CPrompt::Ok, path};
                 ui->btnLoadFlightPlan->click();
                 QVERIFY(m_w->close());   // a plan read from a file is that file: nothing to save
                 const ScriptedPrompt::Record &chooser = m_fx->prompt.last();
                 QCOMPARE(QStringList({chooser.kind, chooser.title, chooser.dir, chooser.filter}),
                          QStringList({"openFile", "Ouvrir un plan de vol existant", m_fx->sim.root() + "/Flightplan", "Fichier plan de vol (*.fpl)"}));
             }},
            {"l'effacement du plan de vol", [&] {
                 m_fx->prompt.records.clear();
                 m_fx->prompt.answers = QStringList{CPrompt::Ok};
                 ui->menuNewFlightPlan->trigger();
                 QCOMPARE(box(0), facts(CPrompt::Warning, "Nouveau plan de vol", "Voulez vous effacer le plan de vol en cours ?",
                                        {CPrompt::Ok, CPrompt::Cancel}));
             }},
        };
        QList<QStringList> states{planState()};
        QStringList routes{plan()->mapScript()}, markers{plan()->startMarkerScript(ui->cbAircraftType->currentText())};
        for (const auto &[text, made] : changes) {
            made();
            QCOMPARE(ui->menuUndoFlightPlan->text(), QStringLiteral("Annuler ") + QString::fromUtf8(text));
            QVERIFY(states.last() != planState() && !ui->menuRedoFlightPlan->isEnabled());
            states << planState();
            routes << plan()->mapScript();
            markers << plan()->startMarkerScript(ui->cbAircraftType->currentText());
        }
        for (qsizetype i = changes.size(); i > 0; --i) {
            m_fx->scripts.clear();
            ui->menuUndoFlightPlan->trigger();
            QCOMPARE(ui->menuRedoFlightPlan->text(), QStringLiteral("Rétablir ") + QString::fromUtf8(changes.at(i - 1).first));
            QCOMPARE(planState(), states.at(i - 1));
            QCOMPARE(m_fx->scripts.filter(QRegularExpression("^clearFP")), QStringList{routes.at(i - 1)});
            // The marker goes back only where the change had moved the start.
            QCOMPARE(m_fx->scripts.contains(markers.at(i - 1)), markers.at(i - 1) != markers.at(i));
        }
        QCOMPARE(ui->menuUndoFlightPlan->text(), QStringLiteral("Annuler l'ajout de WP001"));
        for (qsizetype i = 1; i <= changes.size(); ++i) {
            m_fx->scripts.clear();
            ui->menuRedoFlightPlan->trigger();
            QCOMPARE(planState(), states.at(i));
            QCOMPARE(m_fx->scripts.filter(QRegularExpression("^clearFP")), QStringList{routes.at(i)});
        }
    }

    void closeWithUnsavedPlan_data()
    {
        // Steps before closing: "add" a user waypoint, "new" (Nouveau, Ok), "save", "undo".
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("answer");   // empty: not asked
        QTest::addColumn<bool>("closed");
        QTest::newRow("changed plan, Ok") << QStringList{"add", "add"} << CPrompt::Ok << true;
        QTest::newRow("changed plan, Cancel") << QStringList{"add", "add"} << CPrompt::Cancel << false;
        QTest::newRow("plan emptied by Nouveau") << QStringList{"add", "add", "new"} << "" << true;
        QTest::newRow("saved") << QStringList{"add", "add", "save"} << "" << true;
        QTest::newRow("undo past the save") << QStringList{"add", "add", "save", "undo"} << CPrompt::Cancel << false;
        QTest::newRow("undo back to the save") << QStringList{"add", "add", "save", "add", "undo"} << "" << true;
    }

    void closeWithUnsavedPlan()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, answer);
        for (const QString &step : steps) {
            if (step == "add") {
                m_w->sAddNewWptToFp(QStringLiteral("WP"), 0, plan()->count());
            } else if (step == "new") {
                m_fx->prompt.answers << CPrompt::Ok;
                m_fx->ui()->btnNewFlightPlan->click();
            } else if (step == "save") {   // user waypoints alone leave the button off; the slot saves
                QVERIFY(QMetaObject::invokeMethod(m_w, "on_btnSaveFlightPlan_clicked"));
            } else {
                m_fx->ui()->menuUndoFlightPlan->trigger();
            }
        }
        m_fx->prompt.records.clear();
        m_fx->prompt.answers = QStringList{answer};
        m_w->show();
        QTEST(m_w->close(), "closed");
        QCOMPARE(m_fx->prompt.records.size(), answer.isEmpty() ? 0 : 1);
        if (!answer.isEmpty())
            QCOMPARE(box(0), facts(CPrompt::Warning, "Quitter", "Le plan de vol en cours n'est pas enregistré. Voulez vous quitter quand même ?",
                                   {CPrompt::Ok, CPrompt::Cancel}));
    }

    void saveAndStartPosition()
    {
        Ui::MainWindow *ui = m_fx->ui();
        const QString ini = m_fx->sim.path(QStringLiteral("system/Corvane.ini"));
        const QByteArray iniBefore = readFile(ini);
        const QString question = QStringLiteral("Voulez vous définir %1 comme départ dans Corvane ?");
        // A navaid first: no start position, and one point is no plan.
        m_w->sAddNavToFp(QStringLiteral("BBE-BE2BBE1"));
        QMetaObject::invokeMethod(m_w, "on_btnStartPos_clicked");
        QMetaObject::invokeMethod(m_w, "on_btnSaveFlightPlan_clicked");
        QCOMPARE(box(0), facts(CPrompt::Warning, StartTitle, "Vous devez choisir un aéroport en première ligne."));
        QCOMPARE(box(1), facts(CPrompt::Warning, SaveTitle, "Un plan de vol doit comporté au moins deux points"));

        // An airport first that no refresh has seen: the start position is
        // placed there, never written as it stands (0, 0).
        PointPtr orly = plan()->newPoint();
        orly->usage = QStringLiteral("airp");
        orly->ident = QStringLiteral("LFPO");
        orly->name = QStringLiteral("Paris Orly");
        orly->latitude = 175414.897;
        plan()->points.prepend(orly);
        m_fx->prompt.records.clear();
        m_fx->prompt.answers = QStringList{CPrompt::Cancel};
        QMetaObject::invokeMethod(m_w, "on_btnStartPos_clicked");
        QCOMPARE(box(0), facts(CPrompt::Question, SaveTitle, question.arg("LFPO"), {CPrompt::Ok, CPrompt::Cancel}));
        QList<QByteArray> sit = readFile(m_fx->sim.path(QStringLiteral("Saved Simulations/PARIS ORLY.SIT"))).split('\n');
        QCOMPARE(sit.mid(5, 2), (QList<QByteArray>{"\t\t48 43' 34.90\" N", "\t\t000 00' 00.00\" E"}));
        QCOMPARE(readFile(ini), iniBefore);

        // Saved with the Citation, then made the simulator's start.
        m_fx->prompt.answers = QStringList{CPrompt::Ok};
        ui->btnNewFlightPlan->click();
        m_w->sAddAptToFp(QStringLiteral("LFPG"));
        m_w->sAddAptToFp(QStringLiteral("LFPO"));
        ui->spInertial->setValue(270);
        ui->cbAircraftType->setCurrentIndex(2);
        QMetaObject::invokeMethod(m_w, "on_cbAircraftType_activated", Q_ARG(int, 2));
        m_fx->prompt.records.clear();
        m_fx->prompt.answers = QStringList{CPrompt::Ok, CPrompt::Ok};
        ui->btnSaveFlightPlan->click();
        QCOMPARE(m_fx->prompt.records.size(), 2);
        QCOMPARE(box(0), facts(CPrompt::Information, SaveTitle, "Le plan de vol LFPG_LFPO.FPL a été enregistré"));
        QCOMPARE(box(1), facts(CPrompt::Question, SaveTitle, question.arg("LFPG"), {CPrompt::Ok, CPrompt::Cancel}));
        sit = readFile(m_fx->sim.path(QStringLiteral("Saved Simulations/PARIS CHARLES DE GAULLE.SIT"))).split('\n');
        QCOMPARE(sit.mid(5, 2) << sit.at(12), (QList<QByteArray>{"\t\t49 00' 35.07\" N", "\t\t002 33' 45.43\" E", "\t\t0.0,4.71,0.0"}));
        // The entry names the new file (the rewrite itself is checked byte for byte with the writer).
        QVERIFY(readFile(ini).contains("startupSituation=Saved Simulations/PARIS CHARLES DE GAULLE.SIT\r\n"));
        const QString fpl = m_fx->sim.path(QStringLiteral("Flightplan/LFPG_LFPO.FPL"));
        QCOMPARE(readFile(fpl).split('\n').mid(6, 3), (QList<QByteArray>{"\t1", "\t<ceil> -----------Average ceil ----------", "\t45000"}));

        // The disk full: the plan does not fit, the situation after it does;
        // never reported as saved, the old file stays.
        const QByteArray old = readFile(fpl);
        m_fx->prompt.records.clear();
        m_fx->prompt.answers = QStringList{CPrompt::Cancel};
        {
            FileSizeLimit limit(1024);
            ui->btnSaveFlightPlan->click();
        }
        QCOMPARE(readFile(fpl), old);
        QCOMPARE(m_fx->prompt.records.size(), 2);
        const QString head = facts(CPrompt::Warning, SaveTitle, QStringLiteral("Le plan de vol %1 n'a pas pu être enregistré :\n").arg(QDir::toNativeSeparators(fpl)));
        QVERIFY2(box(0).startsWith(head.chopped(3)) && !box(0).endsWith(QStringLiteral(":\n|") + CPrompt::Ok), qPrintable(box(0)));
        QCOMPARE(box(1), facts(CPrompt::Question, SaveTitle, question.arg("LFPG"), {CPrompt::Ok, CPrompt::Cancel}));
    }

private:
    CFlightPlan *plan() const { return CNavGlobalVar::instance()->flightPlan; }
    CFlightPlanGrid *grid() const { return m_fx->ui()->fltplnGrid; }
    QString box(int i) const
    {
        const ScriptedPrompt::Record &r = m_fx->prompt.records.at(i);
        return facts(r.icon, r.title, r.text, r.buttons);
    }

    // What undo and redo must give back: the points (ident, altitude, shared
    // with the search results), the start, the counter, the saving controls,
    // the first result's altitude and the grid.
    QStringList planState() const
    {
        QStringList out;
        for (const PointPtr &p : plan()->points)
            out << QStringLiteral("%1 %2%3").arg(p->ident).arg(p->altitude).arg(plan()->results.contains(p) ? " shared" : "");
        const CFlightPlan::StartState start = plan()->startState();
        out << QStringLiteral("start %1 %2 %3 counter %4 save %5 result %6").arg(start.latitude).arg(start.longitude).arg(int(start.placement))
                       .arg(plan()->userWaypointCounter).arg(m_fx->ui()->btnSaveFlightPlan->isEnabled()).arg(plan()->results.value(0)->altitude);
        for (int r = 0; r < grid()->rowCount(); ++r)
            for (int c = 0; c < grid()->columnCount(); ++c)
                out << (grid()->item(r, c) ? grid()->item(r, c)->text() : QString());
        return out;
    }

    WindowFixture *m_fx = nullptr;
    MainWindow *m_w = nullptr;
};

QTEST_MAIN(TestFlightPlanWindow)
#include "tst_flightplan_window.moc"
