// The map following the aircraft: the program's window on a simulator tree,
// with its map page, while navsim flies a plan across the tree and "Trace"
// and "Centre avion" are on. Measured over the flight: the time between the
// page's frames, the share of frames in which a tile of the view is not
// drawn, and the CPU of the program and its web-engine processes.
#include "tools/bench/bench.h"
#include "tools/bench/procmem.h"
#include "tools/bench/stats.h"

#include "app/mainwindow.h"
#include "app/navglobalvar.h"
#include "map/webpage.h"
#include "simlink/navplug.h"
#include "tests/support/scriptedprompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPointF>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>
#include <functional>
#include <memory>

#include <unistd.h>

namespace Bench {

namespace {

// The plan flown: Paris, Frankfurt, Berlin, Warsaw (degrees).
const QPointF Route[] = {{49.0097, 2.5478}, {50.0333, 8.5706}, {52.3667, 13.5033}, {52.1657, 20.9671}};

// A flight-plan file as navsim reads it: one position line per point.
bool writePlan(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QPointF &p : Route)
        file.write(QStringLiteral("\t<wpnt> --------- Waypoint ---------------\n\tuswp\n"
                                  "\t\t<llps> ---------- Lat/lon,alt position --\n\t\t%1,%2,0\n")
                           .arg(p.x() * 3600, 0, 'f', 3)
                           .arg(p.y() * 3600, 0, 'f', 3)
                           .toLatin1());
    return file.error() == QFile::NoError;
}

// Waits on the event loop until `done` holds, at most `ms`; whether it held.
bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// The value of a script run in the page (invalid after a minute).
QVariant pageValue(QWebEnginePage *page, const QString &script)
{
    auto value = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    page->runJavaScript(script, [value](const QVariant &v) { *value = {true, v}; });
    waitFor([value] { return value->first; }, 60000);
    return value->second;
}

// Every marker list of the page filled and indexed.
const char *const MarkersReady = R"JS(
(function () {
    var d = window.__navDebug;
    if (!d)
        return false;
    var markers = 0, ready = true;
    d.lists.forEach(function (name) {
        markers += d.listSize(name);
        if (d.indexedCount(name) !== d.listSize(name))
            ready = false;
    });
    return ready && markers > 0;
})()
)JS";

// Records every frame of the page for `SECONDS` seconds: the time since the
// previous one, and whether a tile of the view was not drawn yet in one of
// the page's own tiled layers (the online tiles aside). The Leaflet map is
// found through the page's map object, which asks it for its zoom.
const char *const FrameRecorder = R"JS(
(function () {
    var proto = L.Map.prototype, getZoom = proto.getZoom, m = null;
    proto.getZoom = function () { m = this; return getZoom.apply(this, arguments); };
    try { window.map.getZoom(); } finally { proto.getZoom = getZoom; }
    if (!m)
        return false;
    function undrawn() {
        var missing = false;
        m.eachLayer(function (layer) {
            if (missing || !(layer instanceof L.GridLayer) || layer instanceof L.TileLayer)
                return;
            if (layer._tileZoom === undefined) {
                missing = true;
                return;
            }
            // The view's own tiles, whatever margin the layer draws.
            var view = L.GridLayer.prototype._getTiledPixelBounds.call(layer, m.getCenter());
            var range = layer._pxBoundsToTileRange(view);
            for (var y = range.min.y; y <= range.max.y && !missing; ++y) {
                for (var x = range.min.x; x <= range.max.x && !missing; ++x) {
                    var c = L.point(x, y);
                    c.z = layer._tileZoom;
                    if (!layer._isValidTile(c))
                        continue;
                    var tile = layer._tiles[layer._tileCoordsToKey(c)];
                    missing = !tile || !tile.loaded;
                }
            }
        });
        return missing;
    }
    var F = window.__follow = { deltas: [], undrawn: 0, frames: 0, done: false };
    var last = 0, end = performance.now() + SECONDS * 1000;
    function frame(ts) {
        if (last)
            F.deltas.push(ts - last);
        last = ts;
        F.frames += 1;
        if (undrawn())
            F.undrawn += 1;
        if (ts < end)
            requestAnimationFrame(frame);
        else
            F.done = true;
    }
    requestAnimationFrame(frame);
    return true;
})()
)JS";

// What a picture of the map shows, sampled every 4 pixels: the share of
// land, of sea and of everything drawn over them (markers, routes, texts).
QString colours(const QImage &image)
{
    const QRgb land = qRgb(0xf2, 0xed, 0xdc), sea = qRgb(0xb7, 0xd3, 0xe9);
    qint64 landCount = 0, seaCount = 0, total = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4, ++total) {
            const QRgb pixel = image.pixel(x, y) | 0xff000000;
            landCount += pixel == land;
            seaCount += pixel == sea;
        }
    }
    const auto percent = [total](qint64 n) { return number(total ? 100.0 * double(n) / double(total) : 0); };
    return QStringLiteral("land %1 %, sea %2 %, drawn over %3 %")
            .arg(percent(landCount), percent(seaCount), percent(total - landCount - seaCount));
}

// Waits until the program and its engine processes have used less than a
// tenth of a core for two seconds in a row (at most 30 s).
void quieten()
{
    const long perSecond = sysconf(_SC_CLK_TCK);
    qint64 before = ProcMem::treeCpuTicks(::getpid());
    int quiet = 0;
    for (int second = 0; quiet < 2 && second < 30; ++second) {
        waitFor([] { return false; }, 1000);
        const qint64 now = ProcMem::treeCpuTicks(::getpid());
        quiet = (now - before) * 10 < perSecond ? quiet + 1 : 0;
        before = now;
    }
}

// The simulator's side: navsim flies the plan from its first point in the
// block; true once it writes.
bool startNavsim(QProcess &navsim, const QString &block, const QString &planFile, const FollowOptions &options)
{
    navsim.setProcessChannelMode(QProcess::MergedChannels);
    navsim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/navsim"),
                 {QStringLiteral("--name"), block, QStringLiteral("--fpl"), planFile, QStringLiteral("--speed"),
                  QString::number(options.speed), QStringLiteral("--rate"), QString::number(options.rate),
                  QStringLiteral("--unlink")});
    QByteArray said;
    waitFor([&] { return (said += navsim.readAll()).contains("writing to") || navsim.state() == QProcess::NotRunning; },
            30000);
    if (navsim.state() == QProcess::Running)
        return true;
    err() << "corvane-bench follow: navsim did not start: " << said << Qt::endl;
    return false;
}

// CPU time in clock ticks: this process alone, and with its web-engine
// processes (navsim, a child too, left out).
qint64 ownTicks()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    return stat.open(QIODevice::ReadOnly) ? ProcMem::cpuTicks(stat.readAll()) : 0;
}
qint64 treeTicks(const QProcess &navsim)
{
    return ProcMem::treeCpuTicks(::getpid()) - ProcMem::treeCpuTicks(navsim.processId());
}

// The flight with "Trace" and "Centre avion" on: the page's frames are
// recorded for the seconds asked for, with a picture every second when
// asked; prints the figures. `sent` counts the trace's texts meanwhile.
// False when the page drew nothing.
bool measure(QWebEnginePage *page, QWebEngineView *view, const QProcess &navsim, const FollowOptions &options,
             const int &sent)
{
    const long perSecond = sysconf(_SC_CLK_TCK);
    const qint64 ownBefore = ownTicks();
    const qint64 treeBefore = treeTicks(navsim);
    QElapsedTimer clock;
    clock.start();
    const bool recording =
            pageValue(page, QString::fromLatin1(FrameRecorder).replace(QLatin1String("SECONDS"), QString::number(options.seconds)))
                    .toBool();
    int shots = 0;
    QTimer shooter;
    QObject::connect(&shooter, &QTimer::timeout, [&] {
        const QString name = QStringLiteral("follow-%1.png").arg(++shots, 2, 10, QChar(u'0'));
        const QString file = QDir(options.shots).filePath(name);
        const QImage image = view->grab().toImage();
        image.save(file);
        err() << "shot " << file << ": " << colours(image) << Qt::endl;
    });
    if (!options.shots.isEmpty() && QDir().mkpath(options.shots))
        shooter.start(1000);
    QVariantMap frames;
    waitFor([&] {
        if (clock.elapsed() < options.seconds * 1000)
            return false;
        frames = pageValue(page, QStringLiteral("window.__follow && window.__follow.done ? window.__follow : null")).toMap();
        return !frames.isEmpty();
    },
            options.seconds * 1000 + 60000);
    shooter.stop();
    const double seconds = double(clock.elapsed()) / 1000;
    const auto percent = [&](qint64 ticks) { return number(100.0 * double(ticks) / double(perSecond) / seconds); };
    const qint64 own = ownTicks() - ownBefore;
    const qint64 tree = treeTicks(navsim) - treeBefore;

    QList<double> deltas;
    for (const QVariant &d : frames.value(QStringLiteral("deltas")).toList())
        deltas << d.toDouble();
    if (!recording || deltas.isEmpty()) {
        err() << "corvane-bench follow: the page drew no frame" << Qt::endl;
        return false;
    }
    const int count = frames.value(QStringLiteral("frames")).toInt();
    const int undrawn = frames.value(QStringLiteral("undrawn")).toInt();
    err() << "follow: " << count << " frames in " << number(seconds) << " s, median " << number(BenchStats::median(deltas))
          << " ms, max " << number(*std::max_element(deltas.cbegin(), deltas.cend())) << " ms; " << undrawn
          << " with a tile missing; the trace sent " << sent << " marker texts; CPU: the program " << percent(own)
          << " %, its engine " << percent(tree - own) << " %" << Qt::endl;
    out() << "follow_frame_p95_ms=" << number(BenchStats::percentile(deltas, 95)) << Qt::endl;
    out() << "follow_undrawn_pct=" << number(100.0 * undrawn / count) << Qt::endl;
    out() << "follow_cpu_pct=" << percent(tree) << Qt::endl;
    return true;
}

} // namespace

int follow(const QString &root, const FollowOptions &options)
{
    // The window starts as the user starts it, from a folder of its own,
    // on the first point of the plan at the zoom asked for; the simulator
    // folder is the answer to its question.
    QTemporaryDir temp;
    const QString programDir = temp.filePath(QStringLiteral("Tools/Navigator"));
    const QString planFile = temp.filePath(QStringLiteral("follow.fpl"));
    if (!temp.isValid() || !QDir().mkpath(programDir) || !QDir().mkpath(temp.filePath(QStringLiteral("Work")))
        || !writePlan(planFile)) {
        err() << "corvane-bench follow: cannot write in " << temp.path() << Qt::endl;
        return 1;
    }
    {
        QSettings ini(programDir + QStringLiteral("/navigator.ini"), QSettings::IniFormat);
        ini.setValue(QStringLiteral("directory/dirWork"), temp.filePath(QStringLiteral("Work")));
        ini.setValue(QStringLiteral("view/mapCenter"), QPointF(Route[0].y(), Route[0].x()));
        ini.setValue(QStringLiteral("view/zoom"), options.zoom);
    }
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(programDir);
    CNavGlobalVar::setSettingsPath(programDir + QStringLiteral("/navigator.ini"));
    ScriptedPrompt prompt;
    prompt.answers << QDir(root).absolutePath();
    const QString block = QStringLiteral("corvane-bench-follow-%1").arg(QCoreApplication::applicationPid());
    CNavPlug::setDefaultBlockName(block);
    int sent = 0;
    MainWindow::setScriptRecorder([&sent](const QString &script) {
        if (script.startsWith(QLatin1String("setAcftMrkr(")))
            ++sent;
    });

    auto window = std::make_unique<MainWindow>();
    auto *view = window->findChild<QWebEngineView *>(QStringLiteral("map"));
    auto *trace = window->findChild<QPushButton *>(QStringLiteral("pbTraceAcft"));
    auto *centre = window->findChild<QPushButton *>(QStringLiteral("pbCenterAcft"));
    myWebPage *page = window->page();
    bool measured = false;
    QProcess navsim;
    if (!view || !trace || !centre || !page) {
        err() << "corvane-bench follow: the window did not start on " << root << Qt::endl;
    } else {
        window->resize(1700, 1100);
        window->show();
        QCoreApplication::processEvents();
        window->resize(window->size() + (QSize(1280, 900) - view->size()));
        if (!waitFor([page] { return pageValue(page, QString::fromLatin1(MarkersReady)).toBool(); }, 300000)) {
            err() << "corvane-bench follow: the markers were not ready in time" << Qt::endl;
        } else {
            quieten();
            if (startNavsim(navsim, block, planFile, options)) {
                trace->click();
                centre->click();
                measured = measure(page, view, navsim, options, sent);
                trace->click();
            }
        }
    }
    if (navsim.state() != QProcess::NotRunning) {
        navsim.terminate();
        navsim.waitForFinished(10000);
    }
    MainWindow::setScriptRecorder(nullptr);
    window->hide();
    window.reset();
    QDir::setCurrent(previousDir);
    return measured ? 0 : 1;
}

} // namespace Bench
