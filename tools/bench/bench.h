#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// The measurements of corvane-bench. Each prints its figures as
// "name=value" lines on standard output (details go to standard error) and
// returns the process's exit code.
namespace Bench {

// The database files of a simulator tree, found as the program finds them
// (the simulator's ini file, then the accepted files of each folder).
struct TreeFiles {
    QString gen;
    QString wpt;
    QString route;
};
bool treeFiles(const QString &root, TreeFiles *files, QString *error);

// The four marker statements read with SQLite alone: counts and the time.
int scan(const QString &root);
// The program's window on the tree: marker loading, memory, search, pan.
struct WindowOptions {
    bool search = true;
    bool pan = true;
    bool verbose = false;
};
int window(const QString &root, const WindowOptions &options);
// The engine's floor of the marker load: the four marker scripts run in a
// page whose marker functions are empty.
int pageParse(const QString &root);
// The window's four marker sections built, sent and run one at a time;
// then the given script files run on the page and their values printed.
int sections(const QString &root, const QStringList &scripts);
// The importer on a copy of the tree's waypoint database.
int import(const QString &root, int records);
// The map following the aircraft that navsim flies, "Trace" and "Centre
// avion" on: frames, undrawn tiles, CPU.
struct FollowOptions {
    int seconds = 20;
    int zoom = 9;
    double speed = 20000;   // knots
    int rate = 10;          // positions written per second
    QString shots;          // a folder: a picture of the map every second
};
int follow(const QString &root, const FollowOptions &options);

// The memory of the flight plan's undo stack after `changes` changes.
int undoStack(int changes);

QTextStream &out();   // standard output
QTextStream &err();   // standard error

// "12.3": milliseconds and rates written with one decimal.
QString number(double value);

} // namespace Bench
