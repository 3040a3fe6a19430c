// Hostile database texts through the whole program, without the map page:
// the marker load, runways, search, the flight plan and its file, the
// procedures, the editors, deletion from the map, and the table exports
// read back by the importer. Every script the program sends must be a
// well-formed list of calls whose texts read back as stored; every widget
// shows the stored text; every file written reads back.

#include "app/navglobalvar.h"
#include "editors/dialoglatlon.h"
#include "editors/updatefile.h"
#include "io/exportmenu.h"
#include "map/sectionbuilder.h"
#include "tests/hostile/hostiledata.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointF>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSpinBox>
#include <QSqlRecord>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <cmath>

using namespace HostileData;

namespace {

// Demo rows (demo/README.md).
constexpr int DemoAirports = 859;
constexpr int DemoNavaids = 757;
constexpr int DemoWaypoints = 5184;

QList<Call> callsOf(const QList<Call> &calls, const QString &function)
{
    QList<Call> out;
    for (const Call &c : calls)
        if (c.function == function)
            out << c;
    return out;
}

// The longitude the map is given for stored arc-seconds: into (-180, 180].
double mapLongitude(const QVariant &stored)
{
    const double seconds = stored.toDouble();
    if (stored.isNull() || !std::isfinite(seconds))
        return 0;
    double d = std::fmod(seconds / 3600, 360.0);
    if (d < 0)
        d += 360;
    if (d > 180)
        d -= 360;
    return d;
}

double mapLatitude(const QVariant &stored)
{
    const double seconds = stored.toDouble();
    return stored.isNull() || !std::isfinite(seconds) ? 0 : seconds / 3600;
}

// A marker info text holds no markup but the template's own.
bool onlyTemplateMarkup(QString info)
{
    for (const char *tag : {"<font color=blue>", "<font color=black>", "<b>", "</b>", "<br/>"})
        info.remove(QLatin1String(tag));
    return !info.contains(u'<') && !info.contains(u'>');
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every column of a row as text, in stored order.
QStringList rowTexts(const QString &connection, const QString &table, const QString &key)
{
    QSqlQuery q(QSqlDatabase::database(connection));
    q.prepare(QStringLiteral("SELECT * FROM %1 WHERE ukey = ?").arg(table));
    q.addBindValue(key);
    QStringList out;
    if (!q.exec() || !q.next())
        return out;
    for (int i = 0; i < q.record().count(); ++i)
        out << q.value(i).toString();
    return out;
}

int rowCount(const QString &connection, const QString &table)
{
    QSqlQuery q(QSqlDatabase::database(connection));
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) || !q.next())
        return -1;
    return q.value(0).toInt();
}

// What a line of the simulator's 8-bit text files can carry of a text.
QString asFileLine(QString text)
{
    for (QChar &c : text) {
        if (c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029))
            c = u' ';
        else if (c.unicode() > 0xff)
            c = u'?';
    }
    return text.trimmed();
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void markerLoad();
    void runways_data();
    void runways();
    void search_data();
    void search();
    void planRoundTrip_data();
    void planRoundTrip();
    void storedProcedure();
    void procedureFromPlan_data();
    void procedureFromPlan();
    void navaidEditor_data();
    void navaidEditor();
    void waypointEditor_data();
    void waypointEditor();
    void deletion_data();
    void deletion();
    void exportAndImportBack_data();
    void exportAndImportBack();

    // The simulator's own files
    void accentedDatabaseFolder();

    // Positions typed by the user
    void positionDialog_data();
    void positionDialog();

private:
    // Every script sent since the last clear, parsed; fails the test on a
    // script that is no list of calls.
    QList<Call> sentCalls();
    QList<ScriptedPrompt::Record> boxes() const;
    QString gen() const { return CNavGlobalVar::instance()->genName; }
    QString wpt() const { return CNavGlobalVar::instance()->wptName; }
    QString route() const { return CNavGlobalVar::instance()->routeName; }
    void addToPlan(const Row &r);

    std::unique_ptr<WindowFixture> m_fx;
    MainWindow *m_w = nullptr;
};

void TestHostile::init()
{
    m_fx = std::make_unique<WindowFixture>();
    QVERIFY(m_fx->prepareDemo());
    QString error;
    QVERIFY2(addTo(m_fx->sim, &error), qPrintable(error));
    m_w = m_fx->start(false);
    QVERIFY(m_w);
    UpdateFile::setProgramDir(m_fx->programDir());
    m_fx->scripts.clear();
    m_fx->prompt.records.clear();
}

void TestHostile::cleanup()
{
    UpdateFile::setProgramDir(QString());
    m_fx.reset();
    m_w = nullptr;
}

QList<Call> TestHostile::sentCalls()
{
    QList<Call> calls;
    for (const QString &script : std::as_const(m_fx->scripts)) {
        QString error;
        if (!parseCalls(script, &calls, &error)) {
            QTest::qFail(qPrintable(QStringLiteral("a script is broken: ") + error), __FILE__, __LINE__);
            return {};
        }
    }
    return calls;
}

QList<ScriptedPrompt::Record> TestHostile::boxes() const
{
    QList<ScriptedPrompt::Record> out;
    for (const ScriptedPrompt::Record &r : m_fx->prompt.records)
        if (r.kind == QLatin1String("message"))
            out << r;
    return out;
}

void TestHostile::addToPlan(const Row &r)
{
    if (r.table == QLatin1String("APT"))
        m_w->sAddAptToFp(r.key);
    else if (r.table == QLatin1String("NAV"))
        m_w->sAddNavToFp(r.ident + u'-' + r.key);
    else
        m_w->sAddWptToFp(r.name + u'-' + r.key);
}

// --- the map -----------------------------------------------------------------

void TestHostile::markerLoad()
{
    QVERIFY(QMetaObject::invokeMethod(m_w, "readDataFromDB"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->findChild<CSectionBuilder *>(), 30000);
    const QList<Call> calls = sentCalls();
    QVERIFY(!calls.isEmpty());

    const QList<Call> airports = callsOf(calls, QStringLiteral("addAPTMarker"));
    QCOMPARE(airports.size(), DemoAirports + rows(QStringLiteral("APT")).size());
    for (const Row &r : rows(QStringLiteral("APT"))) {
        QList<Call> found;
        for (const Call &c : airports)
            if (c.args.value(1).toString() == r.ident)
                found << c;
        QVERIFY2(found.size() == 1, qPrintable(r.key));
        const Call &c = found.first();
        QCOMPARE(c.args.size(), 4);
        const QPointF pos = c.args[0].toPointF();
        QCOMPARE(pos.y(), std::round(mapLatitude(r.lat) * 1e5) / 1e5);
        QVERIFY2(std::abs(pos.x() - mapLongitude(r.lon)) < 1e-5, qPrintable(r.key));
        QCOMPARE(c.args[2].toDouble(), 1.0);
        const QString info = c.args[3].toString();
        QVERIFY2(info.startsWith(QStringLiteral("<font color=blue><b>Airport ") + r.ident.toHtmlEscaped() + "</b>"),
                 qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("<br/>") + r.name.toHtmlEscaped() + "<br/>"), qPrintable(info));
        QVERIFY2(onlyTemplateMarkup(info), qPrintable(info));
    }

    const QList<Call> vors = callsOf(calls, QStringLiteral("addVORMarker"));
    const QList<Call> ndbs = callsOf(calls, QStringLiteral("addNDBMarker"));
    QCOMPARE(vors.size() + ndbs.size(), DemoNavaids + rows(QStringLiteral("NAV")).size());
    for (const Row &r : rows(QStringLiteral("NAV"))) {
        const bool ndb = r.code.toInt() == 8 || r.code.toInt() == 24;
        QList<Call> found;
        for (const Call &c : ndb ? ndbs : vors)
            if (c.args.value(1).toString() == r.ident + u'-' + r.key)
                found << c;
        QVERIFY2(found.size() == 1, qPrintable(r.key));
        const Call &c = found.first();
        QCOMPARE(c.args[0].toPointF().y(), std::round(mapLatitude(r.lat) * 1e5) / 1e5);
        QVERIFY2(std::abs(c.args[0].toPointF().x() - mapLongitude(r.lon)) < 1e-5, qPrintable(r.key));
        // NULL codes count as 0.
        QCOMPARE(c.args[2].toDouble(), double(ndb ? r.usage.toInt() : r.code.toInt()));
        const QString info = c.args[3].toString();
        QVERIFY2(info.startsWith(QStringLiteral("<font color=blue><b>%1 ").arg(ndb ? "NDB" : "VOR")
                                 + r.ident.toHtmlEscaped() + "</b>"),
                 qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("<br/>") + r.name.toHtmlEscaped() + "<br/>"), qPrintable(info));
        QVERIFY2(onlyTemplateMarkup(info), qPrintable(info));
    }

    const QList<Call> waypoints = callsOf(calls, QStringLiteral("addWPTMarker"));
    int shown = 0;
    for (const Row &r : rows(QStringLiteral("WPT"))) {
        QList<Call> found;
        for (const Call &c : waypoints)
            if (c.args.value(1).toString().endsWith(u'-' + r.key))
                found << c;
        if (!r.onMap) {
            QVERIFY2(found.isEmpty(), qPrintable(r.key));
            continue;
        }
        ++shown;
        QVERIFY2(found.size() == 1, qPrintable(r.key));
        const Call &c = found.first();
        QCOMPARE(c.args[1].toString(), r.name + u'-' + r.key);
        QCOMPARE(c.args[0].toPointF().y(), std::round(mapLatitude(r.lat) * 1e5) / 1e5);
        QVERIFY2(std::abs(c.args[0].toPointF().x() - mapLongitude(r.lon)) < 1e-5, qPrintable(r.key));
        QCOMPARE(c.args[2].toDouble(), double(r.code.toInt()));
        const QString info = c.args[3].toString();
        QVERIFY2(info.contains(QStringLiteral("<br/>") + r.name.toHtmlEscaped() + " ("), qPrintable(info));
        QVERIFY2(onlyTemplateMarkup(info), qPrintable(info));
    }
    QCOMPARE(waypoints.size(), DemoWaypoints + shown);

    // Route points: finite, on the map's longitudes.
    const QList<Call> routePoints = callsOf(calls, QStringLiteral("addToATS"));
    QVERIFY(!routePoints.isEmpty());
    for (const Call &c : routePoints) {
        const QPointF p = c.args.value(0).toPointF();
        QVERIFY(std::isfinite(p.x()) && std::isfinite(p.y()));
        QVERIFY2(p.x() > -180 && p.x() <= 180, qPrintable(QString::number(p.x())));
    }
    for (const Call &c : callsOf(calls, QStringLiteral("addATS")))
        QVERIFY2(QStringList({"L", "H", "B"}).contains(c.args.value(0).toString()), qPrintable(c.args.value(0).toString()));

    const QString pane = m_fx->ui()->debugText->toPlainText();
    QVERIFY2(pane.contains(QStringLiteral("Airport: %1 éléments chargés").arg(DemoAirports + 7)), qPrintable(pane));
}

void TestHostile::runways_data()
{
    QTest::addColumn<QString>("value");     // what the page passes
    QTest::addColumn<QString>("key");       // shown in the status bar
    QTest::addColumn<int>("runways");       // drawRwy calls; 0: nothing sent
    QTest::newRow("hostile key, two runways") << runwayAirport() << runwayAirport() << 2;
    QTest::newRow("ident with a line break") << QStringLiteral("L1\nL2") << runwayAirport() << 2;
    QTest::newRow("quoted key, no runway") << QStringLiteral("Q'1") << QStringLiteral("Q'1") << 0;
    QTest::newRow("ident with quotes, no runway") << QStringLiteral("O'H\"1") << QStringLiteral("Q'1") << 0;
    QTest::newRow("percent signs are no pattern") << QStringLiteral("%") << QString() << 0;
}

void TestHostile::runways()
{
    QFETCH(QString, value);
    QFETCH(QString, key);
    QFETCH(int, runways);
    m_w->doViewRwy(value);
    QCOMPARE(m_w->statusBar()->currentMessage(), key);
    if (runways == 0) {
        QVERIFY(m_fx->scripts.isEmpty());
        return;
    }
    const QList<Call> calls = sentCalls();
    QCOMPARE(calls.size(), 1 + runways);
    QCOMPARE(calls[0].function, QStringLiteral("clearRunway"));
    for (int i = 1; i <= runways; ++i) {
        QCOMPARE(calls[i].function, QStringLiteral("drawRwy"));
        QCOMPARE(calls[i].args.size(), 2);
        for (const QVariant &p : calls[i].args)
            QVERIFY(std::isfinite(p.toPointF().x()) && std::isfinite(p.toPointF().y()));
    }
    // The runway with NULL ends is drawn at 0, 0 rather than breaking the script.
    QCOMPARE(calls[2].args[0].toPointF(), QPointF(0, 0));
}

// --- search ------------------------------------------------------------------

void TestHostile::search_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QStringList>("keys");   // top-level items, in order

    QTest::newRow("exact airport key with an apostrophe") << "Q'1" << true << QStringList{"Q'1"};
    QTest::newRow("exact navaid key with a double quote") << "V\"2" << true << QStringList{"V\"2"};
    QTest::newRow("exact waypoint key with markup") << "W<5>&" << true << QStringList{"W<5>&"};
    QTest::newRow("exact ident with percent signs") << "%1%2" << true << QStringList{"Q<5>&", "V<8>&", "W<5>&"};
    QTest::newRow("exact ident with backslash and semicolon")
        << "A\\;B" << true << QStringList{"Q\"2", "V\"2", "W\"2"};
    QTest::newRow("exact key typed in lower case") << QString::fromUtf8("q\u00fc6") << true
                                                   << QStringList{QString::fromUtf8("Q\u00dc6")};
    QTest::newRow("near key with a double quote") << "Q\"" << false << QStringList{"Q\"2"};
    QTest::newRow("near key with a backslash") << "Q\\" << false << QStringList{"Q\\3"};
    QTest::newRow("near percent is no wildcard") << "%" << false << QStringList{"Q<5>&", "V<8>&", "W<5>&"};
    QTest::newRow("near underscore is no wildcard") << "Q_" << false << QStringList{};
    QTest::newRow("near SQL comment and quote") << "'--" << false << QStringList{};
    QTest::newRow("exact key, infinite position") << "Q7" << true << QStringList{"Q7"};
    QTest::newRow("exact navaid key, type 0") << "V'0" << true << QStringList{"V'0"};
}

void TestHostile::search()
{
    QFETCH(QString, typed);
    QFETCH(bool, exact);
    QFETCH(QStringList, keys);
    Ui::MainWindow *ui = m_fx->ui();
    ui->searchData->setText(typed);
    m_w->searchInTable(exact);
    QCOMPARE(ui->searchData->text(), typed.toUpper());
    QTreeWidget *tree = ui->treeWFound;
    QCOMPARE(tree->topLevelItemCount(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        const Row &r = row(keys[i]);
        const QTreeWidgetItem *item = tree->topLevelItem(i);
        QCOMPARE(item->text(1), r.ident);
        QCOMPARE(item->text(3), r.name);
        QCOMPARE(item->text(4), r.key);
        if (r.key == runwayAirport()) {
            const QStringList ends{runwayHigh(), runwayLow(), QStringLiteral("N\"1"), QStringLiteral("N'2")};
            QCOMPARE(item->childCount(), ends.size());
            for (int c = 0; c < ends.size(); ++c) {
                QCOMPARE(item->child(c)->text(1), ends[c]);
                QCOMPARE(item->child(c)->text(3), QStringLiteral("RWY ") + ends[c]);
            }
        } else {
            QCOMPARE(item->childCount(), 0);
        }
        // Navaid types without a symbol of their own show none.
        if (r.table == QLatin1String("NAV") && !QList<int>{1, 4, 16, 17, 8, 32}.contains(r.code.toInt()))
            QVERIFY(item->icon(0).isNull());
        else
            QVERIFY(!item->icon(0).isNull());
    }
    // Centring on a found point sends a script that parses.
    if (!keys.isEmpty()) {
        m_fx->scripts.clear();
        tree->setCurrentItem(tree->topLevelItem(0));
        m_w->sFndCenterAt();
        QList<Call> calls;
        QString error;
        QVERIFY2(m_fx->scripts.size() == 1 && parseCalls(m_fx->scripts[0], &calls, &error),
                 qPrintable(m_fx->scripts.value(0) + u' ' + error));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].function, QStringLiteral("map.setCenter"));
        QVERIFY(std::isfinite(calls[0].args.value(0).toPointF().x()));
    }
}

// --- the flight plan -----------------------------------------------------------

void TestHostile::planRoundTrip_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("sitName");
    QTest::newRow("quotes, markup, percent signs, NULL positions")
        << QStringList{"Q'1", "V'0", "V<8>&", "W'1", "W<5>&", "W\"2", "Q<5>&"} << "O'H_1_%1%2.FPL"
        << "O'HARE _INTL_ __SCRIPT_.SIT";
    QTest::newRow("letters beyond Latin-1")
        << QStringList{"Q;4", "V;N", "W;4"} << QString::fromUtf8("\u00c9-\u00dc_\u00c9-\u00dc.FPL")
        << QStringLiteral("_____ __ _.SIT");
    QTest::newRow("line breaks in names and idents")
        << QStringList{"Q\\3", "W\\3", QString::fromUtf8("V\u00dc24"), QString::fromUtf8("W\u00dc6"),
                       QString::fromUtf8("Q\u00dc6")}
        << "_I_&_L1_L2.FPL" << "UN_DEUX__TROIS_X_Y.SIT";
    QTest::newRow("infinite position") << QStringList{"Q7", "W'1"} << "S7_O'H_.FPL"
                                        << "__SCRIPT__SCRIPT_HACKED=1__SCRIPT_'_.SIT";
}

void TestHostile::planRoundTrip()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, fileName);
    QFETCH(QString, sitName);
    for (const QString &key : keys)
        addToPlan(row(key));
    QTableWidget *grid = m_fx->ui()->fltplnGrid;
    QCOMPARE(grid->rowCount(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        QCOMPARE(grid->item(i, 1)->text(), row(keys[i]).ident);
        QCOMPARE(grid->item(i, 2)->text(), row(keys[i]).name);
    }
    // The last route script names every point as stored.
    QList<Call> calls;
    QString error;
    QVERIFY2(parseCalls(m_fx->scripts.last(), &calls, &error), qPrintable(error));
    const QList<Call> route = callsOf(calls, QStringLiteral("addPointToFp"));
    QCOMPARE(route.size(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        QCOMPARE(route[i].args.value(1).toString(), row(keys[i]).name);
        QVERIFY(std::isfinite(route[i].args.value(0).toPointF().x()));
    }

    // Saved: the file is named from the idents, made safe for a file name.
    m_fx->prompt.records.clear();
    m_fx->prompt.answers = {QString(), CPrompt::Cancel};
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_btnSaveFlightPlan_clicked"));
    const QString path = m_fx->sim.path(QStringLiteral("Flightplan/") + fileName);
    QVERIFY2(QFileInfo::exists(path), qPrintable(QDir(m_fx->sim.path("Flightplan")).entryList().join(u',')));
    QCOMPARE(boxes().value(0).text, QStringLiteral("Le plan de vol %1 a été enregistré").arg(fileName));
    // The situation of the first airport, named from it.
    QVERIFY2(QFileInfo::exists(m_fx->sim.path(QStringLiteral("Saved Simulations/") + sitName)),
             qPrintable(QDir(m_fx->sim.path("Saved Simulations")).entryList().join(u',')));

    // Every point has its 22 lines: nothing in a text broke the file apart.
    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.count('\n'), 9 + 22 * keys.size() + 1);
    QCOMPARE(bytes.count("<wpnt>"), keys.size());
    QVERIFY(!bytes.contains('\r'));

    // Loaded back: the same points, each text as far as the file can carry it.
    m_fx->prompt.answers = {CPrompt::Ok, path};
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_btnLoadFlightPlan_clicked"));
    QCOMPARE(grid->rowCount(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        const Row &r = row(keys[i]);
        QCOMPARE(grid->item(i, 1)->text(), asFileLine(r.ident));
        QCOMPARE(grid->item(i, 2)->text(), asFileLine(r.name));
    }
}

// --- procedures ----------------------------------------------------------------

void TestHostile::storedProcedure()
{
    m_w->sAddAptToFp(QStringLiteral("Q'1"));
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_fltplnGrid_cellClicked", Q_ARG(int, 0), Q_ARG(int, 1)));
    Ui::MainWindow *ui = m_fx->ui();
    QCOMPARE(ui->dockWSid->windowTitle(), QStringLiteral("SID : O'H\"1"));
    QCOMPARE(ui->treeWSid->topLevelItemCount(), 1);
    QTreeWidgetItem *top = ui->treeWSid->topLevelItem(0);
    QCOMPARE(top->text(0), procedureName());
    QCOMPARE(top->childCount(), procedureIdents().size());
    for (int i = 0; i < top->childCount(); ++i)
        QCOMPARE(top->child(i)->text(1), procedureIdents()[i]);

    // Drawn: the names come back as stored, the position without one at 0.
    m_fx->scripts.clear();
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_treeWSid_itemClicked", Q_ARG(QTreeWidgetItem *, top), Q_ARG(int, 0)));
    const QList<Call> calls = sentCalls();
    QCOMPARE(calls.value(0).function, QStringLiteral("clearSS"));
    const QList<Call> points = callsOf(calls, QStringLiteral("addPointToSS"));
    QCOMPARE(points.size(), procedureIdents().size());
    for (int i = 0; i < points.size(); ++i)
        QCOMPARE(points[i].args.value(1).toString(), procedureIdents()[i]);
    QCOMPARE(points[2].args.value(0).toPointF(), QPointF(0, 0));

    // Into the plan: the fixes, not the airport.
    top->setSelected(true);
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_btnAddSid_clicked"));
    QCOMPARE(ui->fltplnGrid->rowCount(), 3);
    QCOMPARE(ui->fltplnGrid->item(1, 1)->text(), procedureIdents()[1]);
    QCOMPARE(ui->fltplnGrid->item(2, 1)->text(), procedureIdents()[2]);
}

void TestHostile::procedureFromPlan_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("quotes, backslash, markup, percent") << QStringLiteral("S\"2'\\;<b>%1");
    QTest::newRow("a LIKE wildcard alone") << QStringLiteral("%");
    QTest::newRow("an underscore alone") << QStringLiteral("_");
    QTest::newRow("letters beyond Latin-1") << QString::fromUtf8("\u03a3\u0399\u0394 \u2603");
    QTest::newRow("a closing script tag") << QStringLiteral("</script>");
}

void TestHostile::procedureFromPlan()
{
    QFETCH(QString, name);
    const QStringList keys{"Q'1", "W'1", "V<8>&", QString::fromUtf8("V\u00dc24")};
    for (const QString &key : keys)
        addToPlan(row(key));
    const int before = rowCount(route(), QStringLiteral("SIDSTAR"));

    m_fx->prompt.records.clear();
    m_fx->prompt.answers = {name};
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_btnCreateSID_clicked"));
    QCOMPARE(boxes().size(), 1);
    QCOMPARE(boxes()[0].title, QStringLiteral("Enregistrement SID"));
    QCOMPARE(boxes()[0].text, QStringLiteral("Le SID %1 a été enregistré").arg(name));

    // Stored as typed, the idents of the plan as stored.
    QSqlQuery q(QSqlDatabase::database(route()));
    q.prepare(QStringLiteral("SELECT sapt, swid FROM SIDSTAR WHERE strm = ? ORDER BY sqnm"));
    q.addBindValue(name);
    QVERIFY(q.exec());
    QStringList idents;
    while (q.next()) {
        QCOMPARE(q.value(0).toString(), QStringLiteral("Q'1"));
        idents << q.value(1).toString();
    }
    QStringList expected;
    for (const QString &key : keys)
        expected << row(key).ident;
    QCOMPARE(idents, expected);

    // Listed with the stored one, then deleted alone.
    QTreeWidget *tree = m_fx->ui()->treeWSid;
    QCOMPARE(tree->topLevelItemCount(), 2);
    QTreeWidgetItem *mine = tree->topLevelItem(1);
    QCOMPARE(mine->text(0), name);
    tree->clearSelection();
    mine->setSelected(true);
    m_fx->prompt.records.clear();
    m_fx->prompt.answers = {CPrompt::Ok};
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_pbDelSID_clicked"));
    QCOMPARE(boxes().size(), 2);
    QCOMPARE(boxes()[0].text, QStringLiteral("Voulez vous effacer le SID %1 ?").arg(name));
    QCOMPARE(boxes()[1].text, QStringLiteral("Le SID %1 a été effacé").arg(name));
    QCOMPARE(rowCount(route(), QStringLiteral("SIDSTAR")), before);
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), procedureName());
}

// --- editors -------------------------------------------------------------------

void TestHostile::navaidEditor_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("refusal");   // the box of a refused form; empty: accepted
    QTest::newRow("type 0, quotes and a closing script tag") << QStringLiteral("V'0") << QString();
    QTest::newRow("NDB, percent signs") << QStringLiteral("V<8>&") << QString();
    QTest::newRow("NDB-DME, ident with a line break") << QString::fromUtf8("V\u00dc24") << QString();
    QTest::newRow("type NULL, no position, letters beyond Latin-1") << QStringLiteral("V;N") << QString();
    const QString vor = QStringLiteral("La fréquence doit être comprise entre 108.000 et 117.95 Mhz.");
    // The frequency field holds 108 to 1750: NULL shows as 108, 1e300 as 1750.
    QTest::newRow("type 2, NULL frequency") << QStringLiteral("V\"2") << QString();
    QTest::newRow("type 99, frequency 1e300: refused") << QStringLiteral("V\\99") << vor;
}

void TestHostile::navaidEditor()
{
    QFETCH(QString, key);
    QFETCH(QString, refusal);
    const Row &r = row(key);
    const QStringList before = rowTexts(gen(), QStringLiteral("NAV"), key);
    int dialogs = 0;
    m_fx->prompt.dialogHandler = [&](QObject *o) -> int {
        auto *d = qobject_cast<QDialog *>(o);
        if (!d)
            return QDialog::Rejected;
        ++dialogs;
        // The form shows the stored texts.
        [&] {
            QCOMPARE(d->findChild<QLineEdit *>("leUkey")->text(), r.key);
            QCOMPARE(d->findChild<QLineEdit *>("leIden")->text(), r.ident);
            QCOMPARE(d->findChild<QLineEdit *>("leName")->text(), r.name);
        }();
        d->findChild<QPushButton *>("pbOK")->click();
        if (d->result() != QDialog::Accepted)
            d->findChild<QPushButton *>("pbCancel")->click();
        return d->result();
    };
    m_w->sAddNavToDB(r.ident + u'-' + r.key, 0, 0);
    QCOMPARE(dialogs, 1);
    QCOMPARE(boxes().size(), 1);
    if (!refusal.isEmpty()) {
        // Refused and cancelled: the row stays exactly as it was.
        QCOMPARE(boxes()[0].title, QStringLiteral("Création VOR"));
        QCOMPARE(boxes()[0].text, refusal);
        QCOMPARE(rowTexts(gen(), QStringLiteral("NAV"), key), before);
        QVERIFY(m_fx->scripts.isEmpty());
        return;
    }
    QCOMPARE(boxes()[0].title, QStringLiteral("Nouveau NAVAID"));
    QCOMPARE(boxes()[0].text, QStringLiteral("%1 a été modifié/ajouté à la base GEN.db").arg(r.name));

    // The texts are stored again as they were.
    const QStringList after = rowTexts(gen(), QStringLiteral("NAV"), key);
    QCOMPARE(after.value(1), r.key);
    QCOMPARE(after.value(2), r.ident);
    QCOMPARE(after.value(3), r.name);
    QCOMPARE(rowCount(gen(), QStringLiteral("NAV")), DemoNavaids + rows(QStringLiteral("NAV")).size());
    // The marker of the map names it as stored.
    for (const Call &c : sentCalls()) {
        QVERIFY(c.function == QLatin1String("addVORMarker2") || c.function == QLatin1String("addNDBMarker2"));
        QCOMPARE(c.args.value(1).toString(), r.name + u'-' + r.key);
        QVERIFY(onlyTemplateMarkup(c.args.value(3).toString()));
    }
}

void TestHostile::waypointEditor_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("quotes and a closing script tag") << QStringLiteral("W'1");
    QTest::newRow("NULL usage and position") << QStringLiteral("W\"2");
    QTest::newRow("line breaks in the name") << QStringLiteral("W\\3");
    QTest::newRow("letters beyond Latin-1, key with a semicolon") << QStringLiteral("W;4");
    QTest::newRow("ident with a line break") << QString::fromUtf8("W\u00dc6");
}

void TestHostile::waypointEditor()
{
    QFETCH(QString, key);
    const Row &r = row(key);
    int dialogs = 0;
    m_fx->prompt.dialogHandler = [&](QObject *o) -> int {
        auto *d = qobject_cast<QDialog *>(o);
        if (!d)
            return QDialog::Rejected;
        ++dialogs;
        [&] {
            QCOMPARE(d->findChild<QLineEdit *>("leUkey")->text(), r.key);
            QCOMPARE(d->findChild<QLineEdit *>("leIden")->text(), r.ident);
            QCOMPARE(d->findChild<QLineEdit *>("leName")->text(), r.name);
        }();
        d->findChild<QPushButton *>("pbOK")->click();
        if (d->result() != QDialog::Accepted)
            d->findChild<QPushButton *>("pbCancel")->click();
        return d->result();
    };
    m_w->sAddWptToDB(r.name + u'-' + r.key, 0, 0);
    QCOMPARE(dialogs, 1);
    QCOMPARE(boxes().size(), 1);
    QCOMPARE(boxes()[0].title, QStringLiteral("Nouveau WAYPOINT"));
    QCOMPARE(boxes()[0].text, QStringLiteral("%1 a été modifié/ajouté à la base WPT.db").arg(r.name));
    const QStringList after = rowTexts(wpt(), QStringLiteral("WPT"), key);
    QCOMPARE(after.value(1), r.ident);
    QCOMPARE(after.value(2), r.key);
    QCOMPARE(after.value(3), r.name);
    for (const Call &c : sentCalls()) {
        QCOMPARE(c.function, QStringLiteral("addWPTMarker2"));
        QCOMPARE(c.args.value(1).toString(), r.name + u'-' + r.key);
        QVERIFY(onlyTemplateMarkup(c.args.value(3).toString()));
    }
}

void TestHostile::deletion_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("exportToo");
    QTest::addColumn<bool>("exported");   // the key fits in an update record
    QTest::newRow("waypoint, letters beyond Latin-1") << QStringLiteral("W;4") << false << false;
    QTest::newRow("waypoint with export, key with a semicolon") << QStringLiteral("W;4") << true << false;
    QTest::newRow("waypoint with export, percent signs") << QStringLiteral("W<5>&") << true << true;
    QTest::newRow("navaid with export, quotes") << QStringLiteral("V'0") << true << true;
    QTest::newRow("navaid, line breaks") << QStringLiteral("V\\99") << false << false;
}

void TestHostile::deletion()
{
    QFETCH(QString, key);
    QFETCH(bool, exportToo);
    QFETCH(bool, exported);
    const Row &r = row(key);
    const bool navaid = r.table == QLatin1String("NAV");
    const QString title = (navaid ? r.ident : r.name) + u'-' + r.key;
    const QString what = navaid ? QStringLiteral("navaid") : QStringLiteral("waypoint");
    m_fx->prompt.answers = {exportToo ? QStringLiteral("Effacer\n& Exporter") : QStringLiteral("Effacer")};
    if (navaid)
        m_w->sDelNavFromDB(title);
    else
        m_w->sDelWptFromDB(title);

    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].informativeText, QStringLiteral("Voulez vous effacer définitivement %1 ?").arg(title));
    QVERIFY(rowTexts(navaid ? gen() : wpt(), r.table, key).isEmpty());
    QCOMPARE(m_fx->scripts, QStringList{navaid ? QStringLiteral("delNavaid();theLast == null;")
                                               : QStringLiteral("delWaypoint();theLast == null;")});
    const QString name = navaid ? r.ident : r.name;
    if (!exportToo) {
        QCOMPARE(shown[1].text, QStringLiteral("Le %1 %2 a été effacé").arg(what, title));
        return;
    }
    const QString file = UpdateFile::path(name);
    if (!exported) {
        QCOMPARE(shown[1].text, QStringLiteral("Le %1 %2 a été effacé mais l'export à échoué").arg(what, name));
        QVERIFY(!QFileInfo::exists(file));
        return;
    }
    QCOMPARE(shown[1].text,
             QStringLiteral("Le %1 %2 a été effacé et enregistrer pour export \ndans %3").arg(what, name, file));
    // One record that names the key, which the importer reads back.
    // A single record, without a line end.
    const QByteArray record = readAll(file);
    QVERIFY(!record.contains('\n'));
    const QList<QByteArray> fields = record.split(';');
    QCOMPARE(fields.size(), 5);
    QCOMPARE(QString::fromLatin1(fields[4]), r.key);
}

// --- exports -------------------------------------------------------------------

void TestHostile::exportAndImportBack_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("skipped");   // rows no update record can carry
    QTest::newRow("navaids") << QStringLiteral("NAV")
                             << QStringList{"V\"2", "V\\99", "V;N", QString::fromUtf8("V\u00dc24")};
    QTest::newRow("waypoints") << QStringLiteral("WPT")
                               << QStringList{"W\"2", "W\\3", "W;4", QString::fromUtf8("W\u00dc6")};
}

void TestHostile::exportAndImportBack()
{
    QFETCH(QString, table);
    QFETCH(QStringList, skipped);
    const bool nav = table == QLatin1String("NAV");
    const QString connection = nav ? gen() : wpt();
    const int total = rowCount(connection, table);
    QStringList carried;
    QHash<QString, QStringList> before;
    for (const Row &r : rows(table)) {
        before.insert(r.key, rowTexts(connection, table, r.key));
        if (!skipped.contains(r.key))
            carried << r.key;
    }

    const QString file = m_fx->sim.path(QStringLiteral("Work/") + table + QStringLiteral(".CSV"));
    m_fx->prompt.answers = {file};
    if (nav)
        ExportMenu::exportNavaids(m_w, CNavGlobalVar::instance());
    else
        ExportMenu::exportWaypoints(m_w, CNavGlobalVar::instance());
    QCOMPARE(boxes().size(), 1);
    const QString report = boxes()[0].text;
    const QString written = QString::number(total - skipped.size()) + (nav ? " NAVAID" : " WAYPOINT")
                            + QStringLiteral(" ont été exportés dans ") + file;
    QVERIFY2(report.startsWith(written), qPrintable(report));
    for (const QString &key : skipped)
        QVERIFY2(report.contains(key), qPrintable(report));

    // Every line of the file is a whole record.
    const int columns = nav ? 17 : 16;
    const QList<QByteArray> lines = readAll(file).split('\n');
    QCOMPARE(lines.size(), total - skipped.size() + 2);   // the deletion record, the rows, the end
    QCOMPARE(lines.last(), QByteArray());
    for (qsizetype i = 1; i + 1 < lines.size(); ++i)
        QCOMPARE(lines[i].split(';').size(), 3 + columns + 1);

    // Read back by the importer: the table is replaced by what the file holds.
    m_fx->prompt.records.clear();
    m_fx->prompt.answers = {file, CPrompt::Ok};
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_actImport_triggered"));
    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, QStringLiteral("Vous allez effacer la totalité des données de la table %1.\n"
                                           "Voulez vous continuer ?")
                                .arg(table));
    QCOMPARE(shown[1].title, QStringLiteral("Importation"));
    QCOMPARE(shown[1].text, QStringLiteral("Importation terminée\n %1").arg(file));
    QCOMPARE(rowCount(connection, table), total - skipped.size());
    for (const QString &key : std::as_const(carried))
        QCOMPARE(rowTexts(connection, table, key), before.value(key));
}

// --- the simulator's own files ----------------------------------------------

// The simulator's ini, written by a Windows program in its 8-bit encoding,
// names the databases in a folder with an accent: the program finds them
// and starts.
void TestHostile::accentedDatabaseFolder()
{
    cleanup();
    m_fx = std::make_unique<WindowFixture>();
    QVERIFY(m_fx->prepareDemo());
    const QString folder = m_fx->sim.path(QStringLiteral("Données"));
    QVERIFY(QDir().rename(m_fx->sim.sqlDir(), folder));
    QVERIFY(QFileInfo(folder).isDir());
    // One key absolute, the others relative to the simulator folder.
    QByteArray ini = "[Main]\r\nlanguage=FR\r\n\r\n[SQL]\r\nGENDB=" + folder.toLatin1() + "\r\n";
    for (const char *key : {"M3DDB", "OBJDB", "TXYDB", "WPTDB", "RTEDB", "OSMDB"})
        ini += QByteArray(key) + "=Donn\xe9" "es\r\n";
    QVERIFY(QString::fromUtf8(ini).contains(QChar::ReplacementCharacter));   // no UTF-8
    QVERIFY(m_fx->sim.writeIni(ini));

    m_w = m_fx->start(false);
    QVERIFY(m_w);
    const CNavGlobalVar *config = CNavGlobalVar::instance();
    QCOMPARE(config->dirGen.path(), folder);
    QCOMPARE(config->dirWpt.path(), m_fx->sim.root() + QStringLiteral("/Données"));
    QCOMPARE((QStringList{config->genName, config->m3dName, config->objName, config->txyName, config->wptName,
                          config->routeName}),
             (QStringList{"GEN.db", "M3D.db", "OBJ.db", "TXY.db", "WPT.db", "ROUTE.db"}));
    QVERIFY(rowCount(gen(), QStringLiteral("NAV")) > 0);
}

// --- positions typed by the user ------------------------------------------------

void TestHostile::positionDialog_data()
{
    // Steps on the latitude fields, each with the focus: "deg=90", "min=59",
    // "sec=60", "S" (hemisphere), "type=999999" (typed into edLat).
    QTest::addColumn<double>("start");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<double>("lat");
    QTest::addColumn<QString>("fields");   // degrees, minutes, seconds shown

    QTest::newRow("90 59' 60\" typed minutes first") << 1.0 << QStringList{"deg=89", "min=59", "sec=60", "deg=90"}
                                                     << 324000.0 << "90 0 0.00";
    QTest::newRow("90, then 59' 60\"") << 1.0 << QStringList{"deg=90", "min=59", "sec=60"} << 324000.0 << "90 0 0.00";
    QTest::newRow("below the pole again") << 1.0 << QStringList{"deg=90", "deg=89", "min=30"} << 89 * 3600.0 + 1800
                                          << "89 30 0.00";
    QTest::newRow("typed beyond the pole, then the hemisphere") << 1.0 << QStringList{"type=999999", "S"}
                                                                << -324000.0 << "0 0 1.00";
    QTest::newRow("a whole minute shows as such") << 175200.0 << QStringList{} << 175200.0 << "48 40 0.00";
    QTest::newRow("seconds carried into the degrees") << 3599.999 << QStringList{} << 3599.999 << "1 0 0.00";
}

void TestHostile::positionDialog()
{
    QFETCH(double, start);
    QFETCH(QStringList, steps);
    QFETCH(double, lat);
    QFETCH(QString, fields);
    CDialogLatLon d;
    d.setLatLon(start, 8100);
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto *deg = d.findChild<QSpinBox *>("sbLatDeg");
    auto *min = d.findChild<QSpinBox *>("sbLatMin");
    auto *sec = d.findChild<QDoubleSpinBox *>("sbLatSec");
    auto *ns = d.findChild<QComboBox *>("cbNS");
    auto *edLat = d.findChild<QLineEdit *>("edLat");
    QVERIFY(deg && min && sec && ns && edLat);
    for (const QString &step : steps) {
        const QString value = step.section(u'=', 1);
        if (step.startsWith("deg=")) {
            deg->setFocus();
            deg->setValue(value.toInt());
        } else if (step.startsWith("min=")) {
            min->setFocus();
            min->setValue(value.toInt());
        } else if (step.startsWith("sec=")) {
            sec->setFocus();
            sec->setValue(value.toDouble());
        } else if (step.startsWith("type=")) {
            edLat->setText(value);
        } else {
            ns->setFocus();
            ns->setCurrentIndex(ns->currentIndex() == 0 ? 1 : 0);
        }
    }
    QCOMPARE(d.lat, lat);
    QCOMPARE(QStringLiteral("%1 %2 %3").arg(deg->value()).arg(min->value()).arg(sec->value(), 0, 'f', 2), fields);
    if (!steps.isEmpty())
        QCOMPARE(edLat->text(), QString::number(lat, 'f', 2));
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
