// The engine's floor of the marker load: the four marker scripts the
// window sends, each whole, evaluated by the web engine in a page whose
// marker functions (and position type, and managers) are empty. What
// remains is the cost of the call texts alone: handing them to the engine,
// parsing them and making the calls.
#include "tools/bench/bench.h"
#include "tools/bench/procmem.h"

#include "data/globalvar.h"
#include "map/markerscript.h"
#include "map/webpage.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <functional>

#include <unistd.h>

namespace Bench {

namespace {

// Every function and object the marker texts name, empty.
const char *const EmptyPage = R"HTML(<!DOCTYPE html>
<html><head><meta charset="utf-8"><script>
(function () {
    function empty() {}
    window.google = { maps: { LatLng: empty } };
    ['addAPTMarker', 'addVORMarker', 'addNDBMarker', 'addWPTMarker', 'pushAPT', 'addNavMgr', 'addWptMgr',
     'addATS', 'addToATS', 'showATS'].forEach(function (name) { window[name] = empty; });
    ['ArptMgr', 'VORMgr', 'NDBRteMgr', 'NDBTermMgr', 'WPTRteMgr', 'WPTTermMgr', 'WPTVfrMgr'].forEach(function (name) {
        window[name] = { addMarkers: empty, clearMarkers: empty };
    });
    ['listApt', 'listVOR', 'listNDBRte', 'listNDBTerm', 'listWptRte', 'listWptTerm', 'listWptVfr'].forEach(
        function (name) { window[name] = []; });
})();
</script></head><body></body></html>
)HTML";

QSqlDatabase opened(const QString &name)
{
    return name.isEmpty() || !QSqlDatabase::contains(name) ? QSqlDatabase() : QSqlDatabase::database(name);
}

// Runs the event loop until `done` holds or `timeoutMs` have passed.
bool runUntil(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

} // namespace

int pageParse(const QString &root)
{
    CGlobalVar config;
    config.dirCorvane.setPath(root);
    if (!config.init() || config.genName.isEmpty()) {
        err() << "corvane-bench parse: the databases of " << root << " cannot be opened" << Qt::endl;
        return 1;
    }
    // The sections as the window sends them with the default layers.
    const CMarkerLayers layers;
    const QStringList scripts{
        CMarkerScript::airports(opened(config.genName)).script,
        CMarkerScript::navaids(opened(config.genName), layers).script,
        CMarkerScript::waypoints(opened(config.wptName), layers).script,
        CMarkerScript::routes(opened(config.routeName), layers).script,
    };

    // A view of the window's map size, shown, as the map is.
    QWebEngineView view;
    auto *page = new myWebPage(&view);
    view.setPage(page);
    view.resize(1280, 900);
    view.show();
    bool loaded = false;
    bool ready = false;
    QObject::connect(page, &QWebEnginePage::loadFinished, [&](bool ok) {
        loaded = true;
        if (ok)
            page->runJavaScript(QStringLiteral("typeof addWPTMarker"), [&](const QVariant &v) {
                ready = v.toString() == QLatin1String("function");
            });
    });
    // The page takes only the file it is given, as the map's does.
    QTemporaryDir pageDir;
    const QString pageFile = pageDir.filePath(QStringLiteral("empty.html"));
    QFile file(pageFile);
    if (!pageDir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(EmptyPage) < 0 || !file.flush()) {
        err() << "corvane-bench parse: the empty page cannot be written in " << pageDir.path() << Qt::endl;
        return 1;
    }
    file.close();
    page->setPageFile(pageFile);
    page->load(QUrl::fromLocalFile(pageFile));
    if (!runUntil([&] { return ready; }, 60000)) {
        err() << "corvane-bench parse: the empty page did not load" << Qt::endl;
        return 1;
    }
    // The engine finishes setting the page up.
    bool settled = false;
    QTimer::singleShot(1000, [&] { settled = true; });
    runUntil([&] { return settled; }, 5000);

    const qint64 treeBefore = ProcMem::treeCpuTicks(::getpid());
    const qint64 ownBefore = ProcMem::ownCpuTicks();
    qint64 chars = 0;
    bool finished = false;
    QElapsedTimer timer;
    timer.start();
    for (const QString &script : scripts) {
        chars += script.size();
        if (!script.isEmpty())
            page->runJavaScript(script);
    }
    const double handedMs = double(timer.nsecsElapsed()) / 1e6;
    page->runJavaScript(QStringLiteral("0"), [&](const QVariant &) { finished = true; });
    if (!runUntil([&] { return finished; }, 300000)) {
        err() << "corvane-bench parse: the page did not run the scripts" << Qt::endl;
        return 1;
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const double tickMs = 1000.0 / double(sysconf(_SC_CLK_TCK));
    const double ownMs = double(ProcMem::ownCpuTicks() - ownBefore) * tickMs;
    const double engineMs = double(ProcMem::treeCpuTicks(::getpid()) - treeBefore) * tickMs - ownMs;
    err() << "parse: " << chars << " characters in four scripts, handed over in " << number(handedMs)
          << " ms; CPU: the program " << number(ownMs) << " ms, its engine processes " << number(engineMs) << " ms"
          << Qt::endl;
    out() << "floor_page_parse_ms=" << number(ms) << Qt::endl;
    return 0;
}

} // namespace Bench
