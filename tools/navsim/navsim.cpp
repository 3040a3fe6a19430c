// navsim: plays the simulator's side of the navigation block.
//   navsim [--name NAME] --lat DEG --lon DEG [--heading DEG] [--seconds N] [--rate HZ] [--unlink]
//   navsim [--name NAME] --fpl FILE [--speed KTS] [--seconds N] [--rate HZ] [--unlink]
// Writes the aircraft latitude and longitude (arc-seconds) and the heading
// (the marker value) into the block ten times a second (or as often as
// --rate says) until stopped (Ctrl+C, SIGTERM) or until the given number
// of seconds has passed.
#include "simlink/navblock.h"
#include "simlink/sharedblock.h"
#include "tools/navsim/navroute.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTextStream>
#include <QThread>
#include <cmath>
#include <csignal>
#include <optional>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}


QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int usageError(const QString &message)
{
    err() << "navsim: " << message << "\n" << "Try 'navsim --help'.\n";
    err().flush();
    return 2;
}

// A finite number in the C locale, or nothing.
std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("navsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
            "Writes an aircraft position into the navigation block, as the simulator does: fixed, or flying "
            "along a flight-plan file."));
    parser.addHelpOption();
    const QCommandLineOption nameOpt(QStringLiteral("name"), QStringLiteral("Block name (default %1).")
                                             .arg(NavBlock::defaultName()), QStringLiteral("NAME"),
                                     NavBlock::defaultName());
    const QCommandLineOption latOpt(QStringLiteral("lat"), QStringLiteral("Latitude in degrees, north positive."),
                                    QStringLiteral("DEG"));
    const QCommandLineOption lonOpt(QStringLiteral("lon"), QStringLiteral("Longitude in degrees, east positive."),
                                    QStringLiteral("DEG"));
    const QCommandLineOption headingOpt(QStringLiteral("heading"), QStringLiteral("Heading in degrees (default 0)."),
                                        QStringLiteral("DEG"), QStringLiteral("0"));
    const QCommandLineOption fplOpt(QStringLiteral("fpl"), QStringLiteral("Fly along this flight-plan file."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption speedOpt(QStringLiteral("speed"), QStringLiteral("Ground speed in knots (default 120)."),
                                      QStringLiteral("KTS"), QStringLiteral("120"));
    const QCommandLineOption secondsOpt(QStringLiteral("seconds"), QStringLiteral("Stop after N seconds."),
                                        QStringLiteral("N"));
    const QCommandLineOption rateOpt(QStringLiteral("rate"),
                                     QStringLiteral("Writes per second, 1 to 1000 (default 10)."),
                                     QStringLiteral("HZ"), QStringLiteral("10"));
    const QCommandLineOption unlinkOpt(QStringLiteral("unlink"), QStringLiteral("Remove the block at exit."));
    parser.addOptions({nameOpt, latOpt, lonOpt, headingOpt, fplOpt, speedOpt, secondsOpt, rateOpt, unlinkOpt});
    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));

    const QString name = parser.value(nameOpt);
    if (name.isEmpty())
        return usageError(QStringLiteral("the block name is empty"));

    const std::optional<double> heading = number(parser.value(headingOpt));
    if (!heading)
        return usageError(QStringLiteral("--heading wants a number of degrees"));

    const std::optional<double> rate = number(parser.value(rateOpt));
    if (!rate || *rate < 1 || *rate > 1000)
        return usageError(QStringLiteral("--rate wants a number of writes per second from 1 to 1000"));
    const qint64 tickMs = std::max<qint64>(1, qint64(std::lround(1000 / *rate)));

    double limit = -1;
    if (parser.isSet(secondsOpt)) {
        const std::optional<double> seconds = number(parser.value(secondsOpt));
        if (!seconds || *seconds < 0)
            return usageError(QStringLiteral("--seconds wants a number of seconds, 0 or more"));
        limit = *seconds;
    }

    // Either a fixed position or a flight.
    std::optional<NavRoute::CFlight> flight;
    NavBlock::Position fixed;
    if (parser.isSet(fplOpt)) {
        if (parser.isSet(latOpt) || parser.isSet(lonOpt))
            return usageError(QStringLiteral("give either --fpl or --lat and --lon"));
        const std::optional<double> speed = number(parser.value(speedOpt));
        if (!speed || *speed < 0)
            return usageError(QStringLiteral("--speed wants a ground speed in knots, 0 or more"));
        QList<NavRoute::Point> points;
        QString error;
        if (!NavRoute::readFplFile(parser.value(fplOpt), &points, &error)) {
            err() << "navsim: " << error << "\n";
            return 1;
        }
        flight.emplace(points, *speed, *heading);
    } else {
        if (!parser.isSet(latOpt) || !parser.isSet(lonOpt))
            return usageError(QStringLiteral("give --lat and --lon, or --fpl"));
        const std::optional<double> lat = number(parser.value(latOpt));
        const std::optional<double> lon = number(parser.value(lonOpt));
        if (!lat || std::abs(*lat) > 90)
            return usageError(QStringLiteral("--lat wants degrees from -90 to 90"));
        if (!lon)
            return usageError(QStringLiteral("--lon wants a number of degrees"));
        fixed = {*lat * 3600, NavRoute::longitudeInRange(*lon * 3600), *heading};
    }

    CSharedBlock block;
    uchar *view = block.openWritable(name, NavBlock::blockSize, NavBlock::viewSize);
    if (!view) {
        err() << "navsim: cannot open the block " << CSharedBlock::systemName(name) << ": " << block.errorString()
              << "\n";
        return 1;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    QTextStream(stdout) << "navsim: writing to " << CSharedBlock::systemName(name) << "\n";

    QElapsedTimer clock;
    clock.start();
    for (;;) {
        double t = clock.elapsed() / 1000.0;
        const bool last = g_stop || (limit >= 0 && t >= limit);
        if (limit >= 0 && t > limit)
            t = limit;
        NavBlock::write(view, flight ? flight->at(t) : fixed);
        if (last)
            break;
        qint64 wait = tickMs;
        if (limit >= 0)
            wait = std::min<qint64>(wait, std::max<qint64>(1, qint64(std::ceil((limit - t) * 1000))));
        QThread::msleep(quint64(wait));
    }

    block.close();
    if (parser.isSet(unlinkOpt) && !CSharedBlock::remove(name)) {
        err() << "navsim: cannot remove the block " << CSharedBlock::systemName(name) << "\n";
        return 1;
    }
    return 0;
}
