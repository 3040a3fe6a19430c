// The program's main window on a simulator tree, offscreen, with the real
// map page in the real web engine: how long the markers take to be ready
// once the page has loaded, the memory of the program and its web-engine
// processes, the search, and the frames of the page while it pans and
// zooms over Europe.
#include "tools/bench/bench.h"
#include "tools/bench/procmem.h"
#include "tools/bench/stats.h"

#include "app/mainwindow.h"
#include "app/navglobalvar.h"
#include "map/markerscript.h"
#include "map/webpage.h"
#include "tests/support/scriptedprompt.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QLineEdit>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <atomic>
#include <functional>
#include <memory>
#include <chrono>
#include <thread>

#include <time.h>
#include <unistd.h>

namespace Bench {

namespace {

// Samples the resident memory of this process and of every process it
// started, on a thread of its own so that the window's thread is not
// slowed. The tree is looked up again every second.
class RssSampler
{
public:
    RssSampler()
        : m_thread([this] { run(); })
    {
    }
    ~RssSampler() { stop(); }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    double peakMb() const { return double(m_peakKb.load()) / 1024; }
    int processes() const { return m_processes.load(); }

private:
    void run()
    {
        const qint64 self = ::getpid();
        QList<qint64> tree;
        for (int tick = 0; !m_stop; ++tick) {
            if (tick % 20 == 0) {
                tree = ProcMem::processTree(self);
                m_processes = int(tree.size());
            }
            qint64 kb = 0;
            for (qint64 pid : std::as_const(tree)) {
                QFile status(QStringLiteral("/proc/%1/status").arg(pid));
                if (status.open(QIODevice::ReadOnly))
                    kb += qMax<qint64>(0, ProcMem::statusField(status.readAll(), "VmRSS"));
            }
            if (kb > m_peakKb)
                m_peakKb = kb;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_peakKb{0};
    std::atomic<int> m_processes{0};
    std::thread m_thread;
};

// Runs a script in the page and waits for its value.
QVariant evaluate(QWebEnginePage *page, const QString &script, int timeoutMs = 60000)
{
    QVariant result;
    bool done = false;
    QEventLoop loop;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec();
    return result;
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Keeps the Leaflet map of the page within reach of the benchmark: the
// page's own scripts keep it private. Leaflet calls its init hooks for
// every map it creates; the hook is added as soon as Leaflet defines L.
const char *const CaptureMap = R"JS(
(function () {
    // When each marker section ends (its publishing call), on the page's clock.
    var marks = window.__benchMarks = {};
    ['pushAPT', 'addNavMgr', 'addWptMgr', 'showATS'].forEach(function (name) {
        var fn;
        try {
            Object.defineProperty(window, name, {
                configurable: true, enumerable: true,
                get: function () { return fn; },
                set: function (value) {
                    fn = function () {
                        marks[name] = performance.now();
                        return value.apply(this, arguments);
                    };
                }
            });
        } catch (e) {}
    });
    var current;
    var hooked = false;
    try {
        Object.defineProperty(window, 'L', {
            configurable: true, enumerable: true,
            get: function () { return current; },
            set: function (value) {
                current = value;
                if (!hooked && value && value.Map && value.Map.addInitHook) {
                    hooked = true;
                    value.Map.addInitHook(function () { window.__benchMap = this; });
                }
            }
        });
    } catch (e) {}
})();
)JS";

// Every marker of the four sections filed, indexed, the route lines built,
// and one frame drawn. The value says whether the page got there. The
// window may send its sections while the probe polls: each section's
// publishing call (window.__benchExpected, those of the tables with rows)
// must have come.
const char *const ReadyProbe = R"JS(
(function () {
    var d = window.__navDebug;
    if (!d)
        return { ready: false, why: 'no __navDebug' };
    var marks = window.__benchMarks || {};
    var sent = (window.__benchExpected || []).every(function (name) { return marks[name] !== undefined; });
    if (!sent)
        return { ready: false, why: 'sections still coming', marks: marks };
    var markers = 0, ready = true;
    d.lists.forEach(function (name) {
        var n = d.listSize(name);
        markers += n;
        if (d.indexedCount(name) !== n)
            ready = false;
    });
    // One frame drawn with everything: the routes are built for it.
    if (ready)
        d.redraw();
    var atsPoints = 0;
    ['L', 'H', 'B'].forEach(function (letter) {
        var a = d.ats(letter);
        atsPoints += a.points;
        if (a.shown && a.routes > 0 && !a.onMap)
            ready = false;
    });
    return { ready: ready, markers: markers, atsPoints: atsPoints, marks: window.__benchMarks || {},
             now: performance.now() };
})()
)JS";

// Pans and zooms over Europe, one move a frame, and keeps the time between
// frames. At each zoom from 5 to 9 the map is set on central Europe, then
// walks a circle of 24 steps of 120 pixels.
const char *const PanScript = R"JS(
(function () {
    var m = window.__benchMap;
    var B = window.__panBench = { deltas: [], work: [], done: false, mode: m ? 'leaflet' : 'page' };
    var centre = [48.5, 8.0];
    var steps = [];
    [5, 6, 7, 8, 9].forEach(function (zoom) {
        steps.push(function () {
            if (m)
                m.setView(centre, zoom, { animate: false });
            else {
                window.map.setCenter(new google.maps.LatLng(centre[0], centre[1]));
                window.map.setZoom(zoom);
            }
        });
        for (var i = 0; i < 24; ++i) {
            var a = (i + 0.5) / 24 * 2 * Math.PI;
            var dx = Math.round(120 * Math.cos(a)), dy = Math.round(120 * Math.sin(a));
            steps.push((function (dx, dy) {
                return function () {
                    if (m)
                        m.panBy([dx, dy], { animate: false });
                    else {
                        var c = window.map.getCenter();
                        var k = 360 / (256 * Math.pow(2, window.map.getZoom()));
                        window.map.setCenter(new google.maps.LatLng(c.lat() - dy * k * 0.7, c.lng() + dx * k));
                    }
                };
            })(dx, dy));
        }
    });
    var last = 0, next = 0;
    function tick(ts) {
        if (last)
            B.deltas.push(ts - last);
        last = ts;
        if (next < steps.length) {
            var t0 = performance.now();
            steps[next++]();
            B.work.push(performance.now() - t0);
            requestAnimationFrame(tick);
        } else {
            B.done = true;
        }
    }
    requestAnimationFrame(tick);
    return steps.length;
})()
)JS";

// Texts searched for: taken from the tree at fixed places, so that any
// tree gives its own.
struct SearchKeys {
    QStringList exact;
    QStringList near;
};

QStringList column(const QString &connection, const QString &sql)
{
    QStringList values;
    QSqlQuery query(QSqlDatabase::database(connection));
    if (query.exec(sql)) {
        while (query.next())
            values << query.value(0).toString();
    }
    return values;
}

// The value at `fraction` of a table's rows.
QString pick(const QString &connection, const QString &table, const QString &columnName, double fraction,
             const QString &where = QString())
{
    const QString filter = where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where;
    const QStringList count = column(connection, QStringLiteral("SELECT COUNT(*) FROM %1%2").arg(table, filter));
    const qint64 n = count.value(0).toLongLong();
    if (n <= 0)
        return QString();
    return column(connection, QStringLiteral("SELECT %1 FROM %2%3 LIMIT 1 OFFSET %4")
                                  .arg(columnName, table, filter)
                                  .arg(qint64(double(n - 1) * fraction)))
            .value(0);
}

// Five letters or so from the middle of a name: what a user remembers.
QString fragment(const QString &name)
{
    const QString trimmed = name.simplified();
    if (trimmed.size() <= 5)
        return trimmed;
    return trimmed.mid((trimmed.size() - 5) / 2, 5);
}

SearchKeys searchKeys(const QString &gen, const QString &wpt)
{
    SearchKeys keys;
    const double places[] = {0.1, 0.35, 0.6, 0.85};
    for (double f : places) {
        const QString airport = pick(gen, QStringLiteral("APT"), QStringLiteral("ukey"), f);
        keys.exact << airport;
        keys.near << airport.left(3);
    }
    for (double f : places) {
        const QString navaid = pick(gen, QStringLiteral("NAV"), QStringLiteral("iden"), f + 0.05);
        keys.exact << navaid;
        keys.near << navaid;
    }
    for (double f : places) {
        const QString waypoint = pick(wpt, QStringLiteral("WPT"), QStringLiteral("iden"), f, QStringLiteral("wloc = 78"));
        keys.exact << waypoint;
        keys.near << waypoint.left(4);
    }
    for (double f : {0.2, 0.7}) {
        const QString key = pick(wpt, QStringLiteral("WPT"), QStringLiteral("ukey"), f, QStringLiteral("wloc = 78"));
        keys.exact << key;
        keys.near << key;
    }
    for (double f : {0.15, 0.5, 0.9}) {
        const QString name = pick(gen, QStringLiteral("APT"), QStringLiteral("name"), f);
        keys.exact << name;
        keys.near << fragment(name);
    }
    const QString navName = pick(gen, QStringLiteral("NAV"), QStringLiteral("name"), 0.45);
    keys.exact << navName;
    keys.near << fragment(navName);
    // Texts found nowhere: every step of every table runs.
    keys.exact << QStringLiteral("QQ9Z7") << QStringLiteral("NULLE PART");
    keys.near << QStringLiteral("QQ9Z7") << QStringLiteral("NULLE PART");
    return keys;
}

// Median time of the window's search slot over the keys, in ms.
double timeSearch(MainWindow &window, QLineEdit *field, QTreeWidget *tree, const QStringList &keys, bool exact,
                  bool verbose)
{
    QList<double> times;
    for (const QString &key : keys) {
        field->setText(key);
        QElapsedTimer timer;
        timer.start();
        window.searchInTable(exact);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        times << ms;
        if (verbose)
            err() << (exact ? "search exact " : "search near ") << key << ": " << tree->topLevelItemCount()
                  << " items, " << number(ms) << " ms" << Qt::endl;
        // Let the tree show its items between two searches.
        QCoreApplication::processEvents();
    }
    return BenchStats::median(times);
}

bool g_verbose = false;

// Debug output of the program and of the page is left out; warnings only
// when asked.
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg || (g_verbose && type == QtWarningMsg))
        err() << message << Qt::endl;
}


// The window started as the user starts it, from a folder of its own with
// its settings there; the simulator folder is the answer to its question,
// so that nothing is written into the tree measured. The map view is drawn
// at 1280 x 900; the page is not loaded yet.
class WindowSession
{
public:
    explicit WindowSession(const QString &root)
        : m_previousDir(QDir::currentPath())
    {
        const QString programDir = m_temp.filePath(QStringLiteral("Tools/Navigator"));
        if (!m_temp.isValid() || !QDir().mkpath(programDir) || !QDir().mkpath(m_temp.filePath(QStringLiteral("Work"))))
            return;
        QFile ini(programDir + QStringLiteral("/navigator.ini"));
        if (!ini.open(QIODevice::WriteOnly)
            || ini.write(QStringLiteral("[directory]\ndirWork=%1\n").arg(m_temp.filePath(QStringLiteral("Work"))).toUtf8()) < 0)
            return;
        ini.close();
        QDir::setCurrent(programDir);
        CNavGlobalVar::setSettingsPath(programDir + QStringLiteral("/navigator.ini"));
        m_prompt.answers << QDir(root).absolutePath();

        MainWindow::Options options;
        options.loadPage = false;
        window = std::make_unique<MainWindow>(options);
        view = window->findChild<QWebEngineView *>(QStringLiteral("map"));
        field = window->findChild<QLineEdit *>(QStringLiteral("searchData"));
        tree = window->findChild<QTreeWidget *>(QStringLiteral("treeWFound"));
        page = window->page();
        config = CNavGlobalVar::instance();
        if (!view || !field || !tree || !page || config->genName.isEmpty())
            return;

        QWebEngineScript capture;
        capture.setName(QStringLiteral("corvane-bench"));
        capture.setSourceCode(QString::fromLatin1(CaptureMap));
        capture.setInjectionPoint(QWebEngineScript::DocumentCreation);
        capture.setWorldId(QWebEngineScript::MainWorld);
        page->scripts().insert(capture);
        // The window's own reactions to the load are made again by the
        // measurement, in the order it needs.
        QObject::disconnect(view, SIGNAL(loadFinished(bool)), window.get(), nullptr);

        window->resize(1700, 1100);
        window->show();
        QCoreApplication::processEvents();
        window->resize(window->size() + (QSize(1280, 900) - view->size()));
        QCoreApplication::processEvents();
        m_valid = true;
    }
    ~WindowSession()
    {
        if (window)
            window->hide();
        window.reset();
        QDir::setCurrent(m_previousDir);
    }
    bool isValid() const { return m_valid; }

    void load()
    {
        const QString language = QLocale::system().name().section(u'_', 0, 0);
        const QString pageFile = QCoreApplication::applicationDirPath()
                + (language == QLatin1String("fr") ? QStringLiteral("/gm_navigator_fr.html")
                                                   : QStringLiteral("/gm_navigator_en.html"));
        view->load(QUrl::fromLocalFile(pageFile));
    }

    std::unique_ptr<MainWindow> window;
    QWebEngineView *view = nullptr;
    QLineEdit *field = nullptr;
    QTreeWidget *tree = nullptr;
    myWebPage *page = nullptr;
    CNavGlobalVar *config = nullptr;

private:
    QTemporaryDir m_temp;
    ScriptedPrompt m_prompt;
    QString m_previousDir;
    bool m_valid = false;
};

// Polls the page until every marker is ready; the time it was, on `clock`
// (-1: not within five minutes).
qint64 waitUntilReady(QWebEnginePage *page, const QElapsedTimer &clock, QVariantMap *probe,
                      const QStringList &expectedMarks = {})
{
    qint64 ready = -1;
    QEventLoop loop;
    QStringList quoted;
    for (const QString &mark : expectedMarks)
        quoted << u'\'' + mark + u'\'';
    const QString script = QStringLiteral("window.__benchExpected = [%1];").arg(quoted.join(u','))
            + QString::fromLatin1(ReadyProbe);
    std::function<void()> send = [&] {
        page->runJavaScript(script, [&](const QVariant &value) {
            *probe = value.toMap();
            if (probe->value(QStringLiteral("ready")).toBool()) {
                ready = clock.nsecsElapsed();
                loop.quit();
            } else if (loop.isRunning()) {
                QTimer::singleShot(5, send);
            }
        });
    };
    send();
    QTimer::singleShot(300000, &loop, &QEventLoop::quit);
    loop.exec();
    return ready;
}

// Waits until the program and its web-engine processes have used less
// than a tenth of a core for two whole seconds in a row (at most 30 s); the
// time waited, in ms. One quiet second is not enough: the engine's
// clearing up starts a couple of seconds after the load.
qint64 settle()
{
    QElapsedTimer timer;
    timer.start();
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    qint64 before = ProcMem::treeCpuTicks(::getpid());
    int quietSeconds = 0;
    while (quietSeconds < 2 && timer.elapsed() < 30000) {
        wait(1000);
        const qint64 now = ProcMem::treeCpuTicks(::getpid());
        quietSeconds = (now - before) * 10 < ticksPerSecond ? quietSeconds + 1 : 0;
        before = now;
    }
    return timer.elapsed();
}

// The longest time the window's event loop went without a turn, from
// start() to stop(): a timer asks for a turn every few milliseconds. Also
// how much of that time the window's thread ran: little means it waited
// for a processor, not for its own work.
class StallWatch
{
public:
    void start()
    {
        m_clock.start();
        m_last = 0;
        m_lastCpu = threadCpuNs();
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.start(4);
    }
    void stop()
    {
        tick();
        m_timer.stop();
    }
    double longestMs() const { return double(m_longest) / 1e6; }
    double longestCpuMs() const { return double(m_longestCpu) / 1e6; }

private:
    static qint64 threadCpuNs()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
    }
    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const qint64 cpu = threadCpuNs();
        if (now - m_last > m_longest) {
            m_longest = now - m_last;
            m_longestCpu = cpu - m_lastCpu;
        }
        m_last = now;
        m_lastCpu = cpu;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_lastCpu = 0;
    qint64 m_longest = 0;
    qint64 m_longestCpu = 0;
};

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The publishing calls of the sections the tree gives, as the page's
// functions are named.
QStringList expectedMarks(const CNavGlobalVar &config)
{
    QStringList marks;
    const auto any = [](const QString &connection, const QString &table, const QString &where = QString()) {
        return !column(connection, QStringLiteral("SELECT 1 FROM %1 %2 LIMIT 1").arg(table, where)).isEmpty();
    };
    if (any(config.genName, QStringLiteral("APT")))
        marks << QStringLiteral("pushAPT");
    if (any(config.genName, QStringLiteral("NAV")))
        marks << QStringLiteral("addNavMgr");
    if (any(config.wptName, QStringLiteral("WPT"), QStringLiteral("WHERE wloc = 78")))
        marks << QStringLiteral("addWptMgr");
    if (any(config.routeName, QStringLiteral("ATSROUTE")))
        marks << QStringLiteral("showATS");
    return marks;
}

} // namespace

int window(const QString &root, const WindowOptions &options)
{
    g_verbose = options.verbose;
    qInstallMessageHandler(quietHandler);
    RssSampler rss;
    WindowSession session(root);
    if (!session.isValid()) {
        err() << "corvane-bench window: the window did not start on " << root << Qt::endl;
        return 1;
    }
    MainWindow &window = *session.window;
    QWebEngineView *view = session.view;
    myWebPage *page = session.page;

    // The clock starts when the load finishes, before the window reads its
    // markers; the probe follows what the window sends.
    QElapsedTimer clock;
    clock.start();
    qint64 loaded = -1, sent = -1;
    double sentCpu = 0;
    bool started = false;
    StallWatch stalls;
    qint64 treeTicks = 0, ownTicks = 0;
    QObject::connect(view, &QWebEngineView::loadFinished, [&] {
        if (loaded < 0) {
            loaded = clock.nsecsElapsed();
            sentCpu = threadCpuMs();
            stalls.start();
            treeTicks = ProcMem::treeCpuTicks(::getpid());
            ownTicks = ProcMem::ownCpuTicks();
        }
    });
    QObject::connect(view, SIGNAL(loadFinished(bool)), &window, SLOT(readDataFromDB()));
    // The window says in its status bar which section it is reading, and
    // clears it once every section is sent (at once, or later while its
    // event loop runs).
    QObject::connect(window.statusBar(), &QStatusBar::messageChanged, [&](const QString &message) {
        if (loaded >= 0 && sent < 0 && message.isEmpty()) {
            sent = clock.nsecsElapsed();
            sentCpu = threadCpuMs() - sentCpu;
        }
    });
    QObject::connect(view, &QWebEngineView::loadFinished, &window, &MainWindow::sInitGoogleMap);
    QEventLoop loadLoop;
    QObject::connect(view, &QWebEngineView::loadFinished, &loadLoop, [&] {
        started = true;
        loadLoop.quit();
    });
    const qint64 asked = clock.nsecsElapsed();
    session.load();
    QTimer::singleShot(120000, &loadLoop, &QEventLoop::quit);
    if (!started)
        loadLoop.exec();
    QVariantMap probe;
    const qint64 ready = started ? waitUntilReady(page, clock, &probe, expectedMarks(*session.config)) : -1;
    stalls.stop();
    if (ready < 0) {
        err() << "corvane-bench window: the markers were not ready in time ("
              << probe.value(QStringLiteral("why")).toString() << ")" << Qt::endl;
        return 1;
    }
    const double tickMs = 1000.0 / double(sysconf(_SC_CLK_TCK));
    const double ownMs = double(ProcMem::ownCpuTicks() - ownTicks) * tickMs;
    const double engineMs = double(ProcMem::treeCpuTicks(::getpid()) - treeTicks) * tickMs - ownMs;
    err() << "view " << view->width() << "x" << view->height() << "; the page loaded in " << number(double(loaded - asked) / 1e6)
          << " ms; the window sent its markers in "
          << number(double(sent - loaded) / 1e6) << " ms (" << number(sentCpu) << " ms of its thread's CPU); "
          << probe.value(QStringLiteral("markers")).toLongLong() << " markers, "
          << probe.value(QStringLiteral("atsPoints")).toLongLong() << " route points; CPU until ready: the program "
          << number(ownMs) << " ms, its engine processes " << number(engineMs) << " ms; the longest stall of the "
          << "window's event loop " << number(stalls.longestMs()) << " ms, of which its thread ran "
          << number(stalls.longestCpuMs()) << " ms" << Qt::endl;
    if (options.verbose) {
        // The page's clock: when each section ended, before the probe answered.
        const QVariantMap marks = probe.value(QStringLiteral("marks")).toMap();
        const double now = probe.value(QStringLiteral("now")).toDouble();
        QStringList ends;
        for (auto it = marks.cbegin(); it != marks.cend(); ++it)
            ends << QStringLiteral("%1 %2 ms before").arg(it.key(), number(now - it.value().toDouble()));
        err() << "in the page: " << ends.join(QStringLiteral(", ")) << Qt::endl;
    }
    out() << "markers_ready_ms=" << number(double(ready - loaded) / 1e6) << Qt::endl;
    out() << "load_ui_stall_ms=" << number(stalls.longestMs()) << Qt::endl;

    // What follows the load settles before the next figures: the page's
    // reports and first frames, and the engine's own clearing up after
    // tens of megabytes of script (a second or two of the page's process,
    // a few seconds after the load). Frames drawn meanwhile are slower.
    err() << "settled " << settle() << " ms after the markers were ready" << Qt::endl;

    int result = 0;
    if (options.search) {
        const SearchKeys keys = searchKeys(session.config->genName, session.config->wptName);
        const double exactMs = timeSearch(window, session.field, session.tree, keys.exact, true, options.verbose);
        const double nearMs = timeSearch(window, session.field, session.tree, keys.near, false, options.verbose);
        out() << "search_exact_ms=" << number(exactMs) << Qt::endl;
        out() << "search_near_ms=" << number(nearMs) << Qt::endl;
    }

    if (options.pan) {
        const int steps = evaluate(page, QString::fromLatin1(PanScript)).toInt();
        QVariantList deltas, work;
        QString mode;
        for (int waited = 0; waited < 300000; waited += 200) {
            wait(200);
            const QVariantMap state = evaluate(page, QStringLiteral(
                "window.__panBench ? { done: window.__panBench.done, mode: window.__panBench.mode,"
                " deltas: window.__panBench.done ? window.__panBench.deltas : [],"
                " work: window.__panBench.done ? window.__panBench.work : [] } : null")).toMap();
            if (state.value(QStringLiteral("done")).toBool()) {
                deltas = state.value(QStringLiteral("deltas")).toList();
                work = state.value(QStringLiteral("work")).toList();
                mode = state.value(QStringLiteral("mode")).toString();
                break;
            }
        }
        if (deltas.isEmpty()) {
            err() << "corvane-bench window: the page drew no frame while panning" << Qt::endl;
            result = 1;
        } else {
            QList<double> frames, scripts;
            for (const QVariant &d : std::as_const(deltas))
                frames << d.toDouble();
            for (const QVariant &w : std::as_const(work))
                scripts << w.toDouble();
            err() << "pan: " << steps << " moves (" << mode << "), " << frames.size() << " frames, median "
                  << number(BenchStats::median(frames)) << " ms, max "
                  << number(*std::max_element(frames.cbegin(), frames.cend())) << " ms; the page's own work per move: median "
                  << number(BenchStats::median(scripts)) << " ms, p95 " << number(BenchStats::percentile(scripts, 95))
                  << " ms" << Qt::endl;
            if (options.verbose) {
                QStringList list;
                for (qsizetype i = 0; i < frames.size(); ++i)
                    list << QStringLiteral("%1/%2").arg(number(frames.at(i)), number(scripts.value(i)));
                err() << "frames/work: " << list.join(u' ') << Qt::endl;
            }
            out() << "pan_frame_p95_ms=" << number(BenchStats::percentile(frames, 95)) << Qt::endl;
        }
    }
    rss.stop();
    err() << "memory sampled over " << rss.processes() << " processes" << Qt::endl;
    out() << "peak_rss_mb=" << number(rss.peakMb()) << Qt::endl;
    return result;
}

int sections(const QString &root, const QStringList &scripts)
{
    qInstallMessageHandler(quietHandler);
    WindowSession session(root);
    if (!session.isValid()) {
        err() << "corvane-bench sections: the window did not start on " << root << Qt::endl;
        return 1;
    }
    QEventLoop loadLoop;
    bool started = false;
    QObject::connect(session.view, &QWebEngineView::loadFinished, &loadLoop, [&] {
        started = true;
        loadLoop.quit();
    });
    session.load();
    QTimer::singleShot(120000, &loadLoop, &QEventLoop::quit);
    if (!started)
        loadLoop.exec();
    if (!started)
        return 1;

    // The window's sections one by one, each built, sent and run alone.
    CNavGlobalVar *config = session.config;
    CMarkerLayers layers;
    layers.route = config->route;
    const auto db = [](const QString &name) {
        return name.isEmpty() || !QSqlDatabase::contains(name) ? QSqlDatabase() : QSqlDatabase::database(name);
    };
    const std::pair<const char *, std::function<CMarkerSection()>> builders[] = {
        {"airports", [&] { return CMarkerScript::airports(db(config->genName)); }},
        {"navaids", [&] { return CMarkerScript::navaids(db(config->genName), layers); }},
        {"waypoints", [&] { return CMarkerScript::waypoints(db(config->wptName), layers); }},
        {"routes", [&] { return CMarkerScript::routes(db(config->routeName), layers); }},
    };
    for (const auto &[name, build] : builders) {
        QElapsedTimer timer;
        timer.start();
        const double cpu = threadCpuMs();
        const CMarkerSection section = build();
        const double buildMs = double(timer.nsecsElapsed()) / 1e6;
        const double buildCpu = threadCpuMs() - cpu;
        timer.restart();
        evaluate(session.page, section.script + QStringLiteral(";0"));
        const double pageMs = double(timer.nsecsElapsed()) / 1e6;
        out() << name << ": rows=" << section.count << " chars=" << section.script.size() << " build_ms=" << number(buildMs)
              << " build_cpu_ms=" << number(buildCpu) << " page_ms=" << number(pageMs) << Qt::endl;
    }
    QElapsedTimer timer;
    timer.start();
    QVariantMap probe;
    const qint64 ready = waitUntilReady(session.page, timer, &probe);
    out() << "ready_probe_ms=" << number(double(ready) / 1e6) << " markers=" << probe.value(QStringLiteral("markers")).toLongLong()
          << Qt::endl;
    // Scripts of the caller, run on the loaded page (profiling experiments).
    for (const QString &file : scripts) {
        QFile source(file);
        if (!source.open(QIODevice::ReadOnly)) {
            err() << "corvane-bench sections: cannot read " << file << Qt::endl;
            return 1;
        }
        const QString script = QString::fromUtf8(source.readAll());
        QElapsedTimer scriptTimer;
        scriptTimer.start();
        QVariant value = evaluate(session.page, script);
        const double firstMs = double(scriptTimer.nsecsElapsed()) / 1e6;
        // A script whose work goes on over several frames answers
        // {pending: true} until it is done.
        for (int waited = 0; value.toMap().value(QStringLiteral("pending")).toBool() && waited < 300000; waited += 100) {
            wait(100);
            value = evaluate(session.page, script);
        }
        out() << file << ": first_answer_ms=" << number(firstMs) << " value="
              << QJsonDocument::fromVariant(QVariantMap{{QStringLiteral("value"), value}}).toJson(QJsonDocument::Compact)
              << Qt::endl;
    }
    return 0;
}

} // namespace Bench
