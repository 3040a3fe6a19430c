// Hostile database texts through the window with the real map page:
// quotes of both kinds, backslashes, separators, dashes in keys, markup and
// closing script tags, line breaks (also the two that end a JavaScript
// line), letters beyond Latin-1, template markers, NULL and infinite
// positions. The search finds them by their exact texts, the scripts of
// the plan, the procedures and the runways carry them escaped, and the
// page shows them as stored, running none of them and failing on none.

#include "app/navglobalvar.h"
#include "map/sectionbuilder.h"
#include "map/webpage.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QWebEngineView>

#include <cmath>
#include <limits>

namespace {

QMutex g_logMutex;
QStringList g_log;

void capture(QtMsgType, const QMessageLogContext &, const QString &message)
{
    const QMutexLocker lock(&g_logMutex);
    g_log << message;
}

QStringList logWith(const QString &part)
{
    const QMutexLocker lock(&g_logMutex);
    return g_log.filter(part);
}

const double Inf = std::numeric_limits<double>::infinity();

// One hostile row of APT, NAV or WPT. code: APT atyp, NAV ntyp, WPT wuse.
struct Row {
    const char *table, *key, *ident, *name;
    QVariant lat, lon;
    int code = 0, usage = 0;
};
const QVariant Null;
const QList<Row> &rows()
{
    static const QList<Row> all{
        {"APT", "Q'1", "O'H\"1", "O'Hare \"Intl\" </script>", 173160.0, 7560.0, 1},
        {"APT", "Q\"2", "A\\;B", "Back\\slash;<b>&amp;", Null, Null, 1},
        {"APT", "Q\\3", "<I>&", "Un\nDeux\r\nTrois\u2028x\u2029y", 173000.0, 1e7, 1},
        {"APT", "Q\u00dc6", "L1\nL2", "\u03a9\u03bc\u03ad\u03b3\u03b1 \u5317\u4eac \u2603", 172000.0, 8000.0, 1},
        {"APT", "Q<5>&", "%1%2", "100 % %1 %2 $1 \\u0041", 172500.0, 1e300, 3},
        {"APT", "Q7", "S7", "</script><script>hacked=1</script>'\"", Inf, -Inf, 1},
        {"NAV", "V'0", "O'H\"", "O'Hare \"Intl\" </script>", 173300.0, 7700.0, 0, 1},
        {"NAV", "V<8>&", "%1%2", "100 % %1 %2 $1", 173600.0, 1e300, 8, 4},
        {"NAV", "V-N-1", "A-B", "Un\nDeux\u2028", Null, Null, 24, 2},
        {"WPT", "W'1", "O'H\"", "O'Hare \"Intl\" </script>", 173800.0, 7800.0, 1},
        {"WPT", "W\\3", "<I>&", "Un\nDeux\r\nTrois", 173900.0, 1e7, 6},
        {"WPT", "W<5>&", "%1%2", "100 % %1 %2", 174100.0, 1e300, 2},
    };
    return all;
}

const Row &row(const QString &key)
{
    for (const Row &r : rows())
        if (key == QString::fromUtf8(r.key))
            return r;
    qFatal("no hostile row %s", qPrintable(key));
}

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

// The title of a row's marker, and so the text the map gives back.
QString title(const Row &r)
{
    const QString table = u(r.table);
    return table == "APT" ? u(r.ident) : (table == "NAV" ? u(r.ident) : u(r.name)) + u'-' + u(r.key);
}

// Runs each statement with its values bound, on a database of the tree.
bool fill(const QString &file, const QList<std::pair<QString, QVariantList>> &statements)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("hostile-fill"));
        db.setDatabaseName(file);
        ok = db.open();
        for (const auto &[sql, values] : statements) {
            QSqlQuery q(db);
            ok = ok && q.prepare(sql);
            for (const QVariant &v : values)
                q.addBindValue(v);
            if (ok && !q.exec()) {
                qWarning() << q.lastError().text();
                ok = false;
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("hostile-fill"));
    return ok;
}

// A procedure of the airport Q'1: a fix, a navaid, one without a position.
const QString Procedure = QStringLiteral("S'1\"</script>\\");

bool addRows(const SimFixture &sim)
{
    QList<std::pair<QString, QVariantList>> gen, wpt, route;
    for (const Row &r : rows()) {
        const QString table = u(r.table);
        if (table == "APT")
            gen.append({"INSERT INTO APT (tile, ukey, iden, name, ctry, atyp, alat, alon, anrw) VALUES (0,?,?,?,'FR',?,?,?,?)",
                        {u(r.key), u(r.ident), u(r.name), r.code, r.lat, r.lon, u(r.key) == u("Q\u00dc6") ? 2 : 0}});
        else if (table == "NAV")
            gen.append({"INSERT INTO NAV (tile, ukey, iden, name, nfrq, ctry, ntyp, nuse, nlat, nlon) "
                        "VALUES (0,?,?,?,356,'FR',?,?,?,?)",
                        {u(r.key), u(r.ident), u(r.name), r.code, r.usage, r.lat, r.lon}});
        else
            wpt.append({"INSERT INTO WPT (tile, ukey, iden, name, ctry, wloc, wtyp, wuse, wlat, wlon) "
                        "VALUES (0,?,?,?,'FR','78',6,?,?,?)",
                        {u(r.key), u(r.ident), u(r.name), r.code, r.lat, r.lon}});
    }
    const QString rwy = "INSERT INTO RWY (nseq, rapt, rhid, rhla, rhlo, rlid, rlla, rllo) VALUES (?,?,?,?,?,?,?,?)";
    gen.append({rwy, {1, u("Q\u00dc6"), "0'9\"", 172010.0, 8010.0, "<27>&", 171990.0, 7990.0}});
    gen.append({rwy, {2, u("Q\u00dc6"), "N\"1", Null, Null, "N'2", Null, Null}});
    const QString fix = "INSERT INTO SIDSTAR (tile, skey, sapt, strm, sqnm, styp, swid, swpt, slat, slon) "
                        "VALUES (0,?,'Q''1',?,?,2,?,?,?,?)";
    route.append({fix, {Procedure + "10", Procedure, 10, "O'H\"1", 0, 173160.0, 7560.0}});
    route.append({fix, {Procedure + "20", Procedure, 20, "A\\;B", 4096, 173500.0, 7600.0}});
    route.append({fix, {Procedure + "30", Procedure, 30, "L1\nL2", 99, Null, Null}});
    return fill(sim.sqlDir() + "/GEN.db", gen) && fill(sim.sqlDir() + "/WPT.db", wpt)
           && fill(sim.sqlDir() + "/ROUTE.db", route);
}

// A text as a JavaScript literal, written by JSON (not by the program's
// own escaper, which is under test).
QString literal(const QString &text)
{
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void search_data();
    void search();
    void scripts_data();
    void scripts();
    void onPage_data();
    void onPage();
    void noScriptFailed();

private:
    QVariant js(const QString &script);

    std::unique_ptr<WindowFixture> m_fx;
    MainWindow *m_w = nullptr;
};

QVariant TestHostile::js(const QString &script)
{
    auto answer = std::make_shared<std::pair<bool, QVariant>>();
    m_w->page()->runJavaScript(script, [answer](const QVariant &value) { *answer = {true, value}; });
    if (!QTest::qWaitFor([answer] { return answer->first; }, 60000))
        qWarning() << "the page did not answer" << script.left(120);
    return answer->second;
}

// The real page loads and the markers follow.
void TestHostile::initTestCase()
{
    qInstallMessageHandler(capture);
    const QString pageFile = qEnvironmentVariable("CORVANE_BIN_DIR") + QStringLiteral("/gm_navigator_fr.html");
    QVERIFY2(QFile::exists(pageFile), qPrintable(pageFile));
    m_fx = std::make_unique<WindowFixture>();
    QVERIFY(m_fx->prepareDemo());
    QVERIFY(addRows(m_fx->sim));
    m_w = m_fx->start(false);
    QVERIFY(m_w);
    QSignalSpy loaded(m_w->form()->map, &QWebEngineView::loadFinished);
    m_w->page()->setPageFile(pageFile);
    m_w->page()->load(QUrl::fromLocalFile(pageFile));
    QVERIFY(loaded.wait(120000));
    QVERIFY(loaded.first().first().toBool());
    {
        // What the page reports from here on concerns the loaded page (the
        // layer scripts sent during construction met an empty one).
        const QMutexLocker lock(&g_logMutex);
        g_log.clear();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->findChild<CSectionBuilder *>(), 60000);
}

void TestHostile::cleanupTestCase()
{
    m_fx.reset();
    qInstallMessageHandler(nullptr);
    // The page went before its profile.
    QVERIFY(logWith(QStringLiteral("Release of profile")).isEmpty());
}

// The search cascade with hostile keys: exact texts, never patterns.
void TestHostile::search_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QStringList>("keys");   // top-level items, in order
    QTest::newRow("exact key with an apostrophe") << "Q'1" << true << QStringList{"Q'1"};
    QTest::newRow("exact key with dashes") << "V-N-1" << true << QStringList{"V-N-1"};
    QTest::newRow("exact ident in every table") << "%1%2" << true << QStringList{"Q<5>&", "V<8>&", "W<5>&"};
    QTest::newRow("exact ident with backslash and semicolon") << "A\\;B" << true << QStringList{"Q\"2"};
    QTest::newRow("exact key typed in lower case") << u("q\u00fc6") << true << QStringList{u("Q\u00dc6")};
    QTest::newRow("near key with a backslash") << "Q\\" << false << QStringList{"Q\\3"};
    QTest::newRow("near percent is no wildcard") << "%" << false << QStringList{"Q<5>&", "V<8>&", "W<5>&"};
    QTest::newRow("near underscore is no wildcard") << "Q_" << false << QStringList{};
    QTest::newRow("near SQL comment and quote") << "'--" << false << QStringList{};
}

void TestHostile::search()
{
    QFETCH(QString, typed);
    QFETCH(bool, exact);
    QFETCH(QStringList, keys);
    Ui::MainWindow *ui = m_fx->ui();
    ui->searchData->setText(typed);
    m_w->searchInTable(exact);
    // Each found point as ident|name|key, its runways as end|text.
    QStringList found, expected;
    for (int i = 0; i < ui->treeWFound->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = ui->treeWFound->topLevelItem(i);
        found << item->text(1) + u'|' + item->text(3) + u'|' + item->text(4);
        for (int c = 0; c < item->childCount(); ++c)
            found << item->child(c)->text(1) + u'|' + item->child(c)->text(3);
    }
    for (const QString &key : keys) {
        expected << u(row(key).ident) + u'|' + u(row(key).name) + u'|' + key;
        if (key == u("Q\u00dc6"))
            expected << "0'9\"|RWY 0'9\"" << "<27>&|RWY <27>&" << "N\"1|RWY N\"1" << "N'2|RWY N'2";
    }
    QCOMPARE(found, expected);
}

// The scripts the page is sent, byte for byte: the plan's points, a
// stored procedure, the runways of an airport named by a hostile ident.
void TestHostile::scripts_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");   // the scripts sent, joined by "|"
    QTest::addColumn<QString>("status");
    const auto ll = [](const char *lat, const char *lon) {
        return QStringLiteral("new google.maps.LatLng(%1,%2)").arg(QLatin1String(lat), QLatin1String(lon));
    };
    QTest::newRow("plan") << "plan" << u("Q'1|Un\nDeux\r\nTrois-W\\3|A-B-V-N-1|Q7")
                          << "clearFP();addPointToFp(" + ll("48.10000", "2.10000") + ",\"O'Hare \\\"Intl\\\" </script>\");"
                             "addPointToFp(" + ll("48.30556", "-102.22222") + ",\"Un\\nDeux\\r\\nTrois\");"
                             "addPointToFp(" + ll("0.00000", "0.00000") + ",\"Un\\nDeux\\u2028\");"
                             "addPointToFp(" + ll("0.00000", "0.00000")
                                 + ",\"</script><script>hacked=1</script>'\\\"\");pushFP();" << QString();
    QTest::newRow("procedure") << "procedure" << "Q'1"
                               << "clearSS()|addPointToSS(" + ll("48.10000", "2.10000") + ",\"O'H\\\"1\");addPointToSS("
                                          + ll("48.19444", "2.11111") + ",\"A\\\\;B\");addPointToSS("
                                          + ll("0.00000", "0.00000") + ",\"L1\\nL2\")" << QString();
    QTest::newRow("runways of an ident with a line break") << "runways" << "L1\nL2"
            << "clearRunway();drawRwy(" + ll("47.78056", "2.22500") + "," + ll("47.77500", "2.21944") + ");drawRwy("
                       + ll("0.00000", "0.00000") + "," + ll("0.00000", "0.00000") + ");" << u("Q\u00dc6");
    QTest::newRow("runways: percent is no pattern") << "runways" << "%" << QString() << QString();
}

void TestHostile::scripts()
{
    QFETCH(QString, kind);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QFETCH(QString, status);
    m_fx->scripts.clear();
    m_w->statusBar()->clearMessage();
    if (kind == "plan") {
        for (const QString &title : value.split(u'|')) {
            if (title.endsWith(u"W\\3"))
                m_w->sAddWptToFp(title);
            else if (title.contains(u'-'))
                m_w->sAddNavToFp(title);
            else
                m_w->sAddAptToFp(title);
        }
        m_fx->scripts = m_fx->scripts.mid(m_fx->scripts.size() - 1);
    } else if (kind == "procedure") {
        m_w->sAddAptToFp(value);
        const int last = m_fx->ui()->fltplnGrid->rowCount() - 1;
        QVERIFY(QMetaObject::invokeMethod(m_w, "on_fltplnGrid_cellClicked", Q_ARG(int, last), Q_ARG(int, 1)));
        QTreeWidgetItem *top = m_fx->ui()->treeWSid->topLevelItem(0);
        QVERIFY(top);
        QCOMPARE(top->text(0), Procedure);
        m_fx->scripts.clear();
        QVERIFY(QMetaObject::invokeMethod(m_w, "on_treeWSid_itemClicked", Q_ARG(QTreeWidgetItem *, top), Q_ARG(int, 0)));
    } else {
        m_w->doViewRwy(value);
    }
    QCOMPARE(m_fx->scripts.join(u'|'), expected);
    if (kind == "runways")
        QCOMPARE(m_w->statusBar()->currentMessage(), status);
}

void TestHostile::onPage_data()
{
    QTest::addColumn<QString>("key");
    for (const Row &r : rows())
        QTest::newRow(r.key) << u(r.key);
}

// Each hostile marker is in the page once, under its title, its info
// window showing name and ident as stored, without a script element.
void TestHostile::onPage()
{
    QFETCH(QString, key);
    const Row &r = row(key);
    const QString lists = u(r.table) == "APT" ? "listApt"
                          : u(r.table) == "NAV" ? "listVOR.concat(listNDBRte, listNDBTerm)"
                                                : "listWptRte.concat(listWptTerm, listWptVfr)";
    const QString found = js(QStringLiteral("JSON.stringify((%1).filter(function (m) { return m.title === %2; })"
                                            ".map(function (m) { var d = document.createElement('div'); d.innerHTML = m.info;"
                                            " return [d.textContent, d.querySelectorAll('script').length, m.lat, m.lng]; }))")
                                     .arg(lists, literal(title(r)))).toString();
    const QJsonArray markers = QJsonDocument::fromJson(found.toUtf8()).array();
    QCOMPARE(markers.size(), 1);
    const QJsonArray m = markers.at(0).toArray();
    // The HTML parser makes CR LF and CR into LF.
    const auto shown = [](QString text) { return text.replace("\r\n", "\n").replace(u'\r', u'\n'); };
    QVERIFY2(m.at(0).toString().contains(shown(u(r.name))), qPrintable(m.at(0).toString()));
    QVERIFY2(m.at(0).toString().contains(shown(u(r.ident))), qPrintable(m.at(0).toString()));
    QCOMPARE(m.at(1).toInt(), 0);
    QVERIFY(std::isfinite(m.at(2).toDouble()) && m.at(3).toDouble() > -180 && m.at(3).toDouble() <= 180);
}

// Nothing the program sent failed in the page, and no stored text ran.
void TestHostile::noScriptFailed()
{
    QCOMPARE(js(QStringLiteral("typeof hacked")).toString(), QStringLiteral("undefined"));
    const QStringList errors = logWith(QStringLiteral("Uncaught"));
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
