// corvane-bench: the measurements behind scripts/bench.
//   corvane-bench scan   --sim DIR
//   corvane-bench parse  --sim DIR
//   corvane-bench window --sim DIR [--no-search] [--no-pan] [--verbose]
//   corvane-bench import --sim DIR [--records N]
//   corvane-bench sections --sim DIR [--script FILE...]   (where the marker load spends its time)
//   corvane-bench follow --sim DIR [--seconds N] [--zoom Z] [--speed KTS] [--rate HZ] [--shots DIR]
//   corvane-bench undo   (the flight plan's undo stack, on the demo tree; --sim is ignored)
// Each prints "name=value" lines (see docs/performance.md).
#include "tools/bench/bench.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    QString sim;
    Bench::WindowOptions windowOptions;
    int records = 120000;
    bool valid = true;
    QStringList scripts;
    Bench::FollowOptions followOptions;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--sim") && i + 1 < args.size())
            sim = QDir(args.at(++i)).absolutePath();
        else if (a == QLatin1String("--records") && i + 1 < args.size())
            records = args.at(++i).toInt();
        else if (a == QLatin1String("--no-search"))
            windowOptions.search = false;
        else if (a == QLatin1String("--no-pan"))
            windowOptions.pan = false;
        else if (a == QLatin1String("--script") && i + 1 < args.size())
            scripts << args.at(++i);
        else if (a == QLatin1String("--verbose"))
            windowOptions.verbose = true;
        else if (a == QLatin1String("--seconds") && i + 1 < args.size())
            followOptions.seconds = args.at(++i).toInt();
        else if (a == QLatin1String("--zoom") && i + 1 < args.size())
            followOptions.zoom = args.at(++i).toInt();
        else if (a == QLatin1String("--speed") && i + 1 < args.size())
            followOptions.speed = args.at(++i).toDouble();
        else if (a == QLatin1String("--rate") && i + 1 < args.size())
            followOptions.rate = args.at(++i).toInt();
        else if (a == QLatin1String("--shots") && i + 1 < args.size())
            followOptions.shots = QDir(args.at(++i)).absolutePath();
        else
            valid = false;
    }
    if (valid && mode == QLatin1String("undo"))
        return Bench::undoStack(10000);
    if (!valid || sim.isEmpty() || records <= 0 || followOptions.seconds <= 0 || followOptions.speed < 0
        || followOptions.rate < 1 || followOptions.rate > 1000) {
        Bench::err() << "usage: corvane-bench scan|parse|window|import|follow --sim DIR [--records N] [--no-search] [--no-pan] "
                        "[--verbose] [--seconds N] [--zoom Z] [--speed KTS] [--rate HZ] [--shots DIR]"
                     << Qt::endl;
        return 2;
    }
    if (mode == QLatin1String("scan"))
        return Bench::scan(sim);
    if (mode == QLatin1String("parse"))
        return Bench::pageParse(sim);
    if (mode == QLatin1String("window"))
        return Bench::window(sim, windowOptions);
    if (mode == QLatin1String("sections"))
        return Bench::sections(sim, scripts);
    if (mode == QLatin1String("import"))
        return Bench::import(sim, records);
    if (mode == QLatin1String("follow"))
        return Bench::follow(sim, followOptions);
    Bench::err() << "corvane-bench: unknown measurement " << mode << Qt::endl;
    return 2;
}
