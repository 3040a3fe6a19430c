// Hostile database texts in the real map page: the window loads the page,
// pushes every marker into it and runs the flows that draw on it. No script
// may fail in the page, every recorded script must compile there, and the
// page must hold every text as stored, running none of it.

#include "app/navglobalvar.h"
#include "map/sectionbuilder.h"
#include "map/webpage.h"
#include "tests/hostile/hostiledata.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QMutex>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QWebEngineView>

#include <cmath>
#include <memory>

using namespace HostileData;

namespace {

QMutex g_logMutex;
QStringList g_log;
QtMessageHandler g_previous = nullptr;

void capture(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker lock(&g_logMutex);
        g_log << message;
    }
    if (g_previous)
        g_previous(type, context, message);
}

qsizetype logSize()
{
    QMutexLocker lock(&g_logMutex);
    return g_log.size();
}

QStringList logSince(qsizetype start, const QString &containing)
{
    QMutexLocker lock(&g_logMutex);
    QStringList out;
    for (qsizetype i = start; i < g_log.size(); ++i)
        if (g_log[i].contains(containing))
            out << g_log[i];
    return out;
}

// A text as a JavaScript literal, written by JSON (not by the program's
// own escaper, which is under test).
QString literal(const QString &text)
{
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

// What the HTML parser makes of line ends: CR LF and CR become LF.
QString htmlText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

} // namespace

class TestHostilePage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void markersHoldTextsAsStored_data();
    void markersHoldTextsAsStored();
    void hiddenWaypointsStayOff();
    void nothingRan();
    void planOnThePage();
    void procedureOnThePage();
    void runwaysOnThePage();
    void editorMarkerOnThePage();
    void everyRecordedScriptCompiles();
    void noScriptFailed();
    void infinitePositionInThePlan();
    void aFailingScriptIsSeen();

private:
    QVariant js(const QString &script);
    QJsonValue json(const QString &expression);

    std::unique_ptr<WindowFixture> m_fx;
    MainWindow *m_w = nullptr;
    qsizetype m_logStart = 0;
};

QVariant TestHostilePage::js(const QString &script)
{
    struct Answer {
        bool done = false;
        QVariant value;
    };
    auto answer = std::make_shared<Answer>();
    m_w->page()->runJavaScript(script, [answer](const QVariant &value) {
        answer->value = value;
        answer->done = true;
    });
    if (!QTest::qWaitFor([answer] { return answer->done; }, 60000))
        qWarning() << "the page did not answer" << script.left(120);
    return answer->value;
}

QJsonValue TestHostilePage::json(const QString &expression)
{
    const QString text = js(QStringLiteral("JSON.stringify(") + expression + u')').toString();
    return QJsonDocument::fromJson(QStringLiteral("[%1]").arg(text).toUtf8()).array().at(0);
}

void TestHostilePage::initTestCase()
{
    g_previous = qInstallMessageHandler(capture);
    const QString pageFile = qEnvironmentVariable("CORVANE_BIN_DIR") + QStringLiteral("/gm_navigator_fr.html");
    QVERIFY2(QFileInfo::exists(pageFile), qPrintable(pageFile));

    m_fx = std::make_unique<WindowFixture>();
    QVERIFY(m_fx->prepareDemo());
    QString error;
    QVERIFY2(addTo(m_fx->sim, &error), qPrintable(error));
    m_w = m_fx->start(false);
    QVERIFY(m_w);
    m_w->resize(1200, 800);
    m_w->show();

    // The load runs the marker load and the start-up centring, as at start.
    QSignalSpy loaded(m_w->form()->map, &QWebEngineView::loadFinished);
    m_fx->scripts.clear();
    m_w->page()->setPageFile(pageFile);
    m_w->page()->load(QUrl::fromLocalFile(pageFile));
    QVERIFY(loaded.wait(120000));
    QVERIFY(loaded.first().first().toBool());
    m_logStart = logSize();
    // Every marker sent (the load goes on after the page's load ends), then run.
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->findChild<CSectionBuilder *>(), 60000);
    QTRY_VERIFY_WITH_TIMEOUT(js(QStringLiteral("typeof listApt !== 'undefined' && listApt.length > 0")).toBool(), 60000);
}

void TestHostilePage::cleanupTestCase()
{
    m_fx.reset();
    qInstallMessageHandler(g_previous);
}

void TestHostilePage::markersHoldTextsAsStored_data()
{
    QTest::addColumn<QString>("key");
    for (const Row &r : rows())
        if (r.onMap)
            QTest::newRow(qPrintable(r.table + u' ' + r.key)) << r.key;
}

void TestHostilePage::markersHoldTextsAsStored()
{
    QFETCH(QString, key);
    const Row &r = row(key);
    QString lists;
    QString title;
    if (r.table == QLatin1String("APT")) {
        lists = QStringLiteral("listApt");
        title = r.ident;
    } else if (r.table == QLatin1String("NAV")) {
        lists = QStringLiteral("listVOR.concat(listNDBRte, listNDBTerm)");
        title = r.ident + u'-' + r.key;
    } else {
        lists = QStringLiteral("listWptRte.concat(listWptTerm, listWptVfr)");
        title = r.name + u'-' + r.key;
    }
    // The markers of that title, with what their info window shows.
    const QJsonArray found = json(QStringLiteral("(%1).filter(function (m) { return m.title === %2; })"
                                                 ".map(function (m) { var d = document.createElement('div');"
                                                 " d.innerHTML = m.info;"
                                                 " return [m.title, d.textContent, d.querySelectorAll('script').length,"
                                                 " m.lat, m.lng]; })")
                                      .arg(lists, literal(title)))
                                 .toArray();
    QCOMPARE(found.size(), 1);
    const QJsonArray m = found.at(0).toArray();
    QCOMPARE(m.at(0).toString(), title);
    const QString shown = m.at(1).toString();
    QVERIFY2(shown.contains(htmlText(r.name)), qPrintable(shown));
    QVERIFY2(shown.contains(htmlText(r.ident)), qPrintable(shown));
    QCOMPARE(m.at(2).toInt(), 0);
    QVERIFY(std::isfinite(m.at(3).toDouble()) && std::isfinite(m.at(4).toDouble()));
    QVERIFY(m.at(4).toDouble() > -180 && m.at(4).toDouble() <= 180);
}

void TestHostilePage::hiddenWaypointsStayOff()
{
    const int hidden = json(QStringLiteral("listWptRte.concat(listWptTerm, listWptVfr)"
                                           ".filter(function (m) { return m.title.indexOf('HIDDEN') === 0; }).length"))
                           .toInt(-1);
    QCOMPARE(hidden, 0);
    QCOMPARE(json(QStringLiteral("listApt.length")).toInt(), 859 + int(rows(QStringLiteral("APT")).size()));
}

void TestHostilePage::nothingRan()
{
    // Names hold "</script><script>hacked=1</script>": text, never code.
    QCOMPARE(js(QStringLiteral("typeof hacked")).toString(), QStringLiteral("undefined"));
    QCOMPARE(js(QStringLiteral("typeof window.hacked")).toString(), QStringLiteral("undefined"));
}

void TestHostilePage::planOnThePage()
{
    const QStringList keys{"Q'1", "V'0", "V<8>&", QString::fromUtf8("V\u00dc24"), "W\\3", "W;4", "W<5>&"};
    for (const QString &key : keys) {
        const Row &r = row(key);
        if (r.table == QLatin1String("APT"))
            m_w->sAddAptToFp(r.key);
        else if (r.table == QLatin1String("NAV"))
            m_w->sAddNavToFp(r.ident + u'-' + r.key);
        else
            m_w->sAddWptToFp(r.name + u'-' + r.key);
    }
    const QJsonArray drawn = json(QStringLiteral("__navDebug.flightPlan()")).toArray();
    QCOMPARE(drawn.size(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        const QJsonObject p = drawn.at(i).toObject();
        QCOMPARE(p.value("name").toString(), row(keys[i]).name);
        QVERIFY(std::isfinite(p.value("lat").toDouble()) && std::isfinite(p.value("lng").toDouble()));
    }
    // The labels on the map read as the names.
    const QJsonArray labels = json(QStringLiteral("__navDebug.flightPlanLabels()")).toArray();
    for (const QJsonValue &label : labels)
        QVERIFY2(!label.toString().contains(QLatin1String("&lt;")), qPrintable(label.toString()));
}

void TestHostilePage::procedureOnThePage()
{
    m_w->sAddAptToFp(QStringLiteral("Q'1"));
    Ui::MainWindow *ui = m_fx->ui();
    const int row = ui->fltplnGrid->rowCount() - 1;
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_fltplnGrid_cellClicked", Q_ARG(int, row), Q_ARG(int, 1)));
    QTreeWidgetItem *top = ui->treeWSid->topLevelItem(0);
    QVERIFY(top);
    QCOMPARE(top->text(0), procedureName());
    QVERIFY(QMetaObject::invokeMethod(m_w, "on_treeWSid_itemClicked", Q_ARG(QTreeWidgetItem *, top), Q_ARG(int, 0)));
    const QJsonArray drawn = json(QStringLiteral("__navDebug.procedure()")).toArray();
    QCOMPARE(drawn.size(), procedureIdents().size());
    for (int i = 0; i < drawn.size(); ++i)
        QCOMPARE(drawn.at(i).toObject().value("name").toString(), procedureIdents()[i]);
}

void TestHostilePage::runwaysOnThePage()
{
    m_w->doViewRwy(runwayAirport());
    const QJsonArray drawn = json(QStringLiteral("__navDebug.runways()")).toArray();
    QCOMPARE(drawn.size(), 2);
    for (const QJsonValue &rwy : drawn)
        for (const QJsonValue &v : rwy.toArray())
            QVERIFY(std::isfinite(v.toDouble()));
}

void TestHostilePage::editorMarkerOnThePage()
{
    const Row &r = row(QStringLiteral("W'1"));
    m_fx->prompt.dialogHandler = [](QObject *o) -> int {
        auto *d = qobject_cast<QDialog *>(o);
        if (!d)
            return QDialog::Rejected;
        d->findChild<QPushButton *>(QStringLiteral("pbOK"))->click();
        return d->result();
    };
    m_w->sAddWptToDB(r.name + u'-' + r.key, 0, 0);
    // The editor's marker takes the place of the one of the load.
    const QJsonArray markers = json(QStringLiteral("listWptRte.concat(listWptTerm, listWptVfr)"
                                                   ".filter(function (m) { return m.title === %1; })"
                                                   ".map(function (m) { return m.pinned; })")
                                        .arg(literal(r.name + u'-' + r.key)))
                                   .toArray();
    QCOMPARE(markers, QJsonArray{true});
}

void TestHostilePage::everyRecordedScriptCompiles()
{
    // Compiled by the page's engine without running: new Function parses the
    // whole text and throws on a syntax error.
    QVERIFY(m_fx->scripts.size() > 5);
    QStringList failures;
    for (const QString &script : std::as_const(m_fx->scripts)) {
        const QString result = js(QStringLiteral("(function () { try { new Function(%1); return 'ok'; }"
                                                 " catch (e) { return String(e); } })()")
                                      .arg(literal(script)))
                                   .toString();
        if (result != QLatin1String("ok"))
            failures << result + QStringLiteral(": ") + script.left(200);
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
}

void TestHostilePage::noScriptFailed()
{
    // Let the page report what it has to.
    js(QStringLiteral("1"));
    const QStringList errors = logSince(m_logStart, QStringLiteral("Uncaught"));
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
}

void TestHostilePage::infinitePositionInThePlan()
{
    // An airport stored at an infinite position: the marker load draws it
    // at 0, 0; the plan must not send "inf" to the page either.
    const qsizetype start = logSize();
    const int before = int(json(QStringLiteral("__navDebug.flightPlan()")).toArray().size());
    m_w->sAddAptToFp(QStringLiteral("Q7"));
    js(QStringLiteral("1"));
    const QStringList errors = logSince(start, QStringLiteral("Uncaught"));
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
    QCOMPARE(json(QStringLiteral("__navDebug.flightPlan()")).toArray().size(), before + 1);
}

void TestHostilePage::aFailingScriptIsSeen()
{
    // The check above would see a broken script: one sent on purpose.
    const qsizetype start = logSize();
    m_w->runJavaScript(QStringLiteral("addAPTMarker(\"x);"));
    js(QStringLiteral("1"));
    QTRY_VERIFY_WITH_TIMEOUT(!logSince(start, QStringLiteral("Uncaught")).isEmpty(), 30000);
}

QTEST_MAIN(TestHostilePage)
#include "tst_hostile_page.moc"
