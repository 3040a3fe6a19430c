#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A simulator installation as the program finds it: Corvane.exe, the ini
// file, the databases, the aircraft archives and the folders the program
// writes into.
namespace SimTree {

using PodEntry = QPair<QString, QByteArray>;   // entry name, data

// Splits an SQL script into statements (quotes and "--" comments respected).
QStringList splitStatements(const QString &script);

// Runs a script on the SQLite file (created when missing).
bool runScript(const QString &dbPath, const QString &script, QString *error = nullptr);

// A POD archive holding the entries, in the layout the program reads.
QByteArray packPod(const QList<PodEntry> &entries);
bool writePod(const QString &path, const QList<PodEntry> &entries, QString *error = nullptr);

// The folders and marker of an empty tree (no databases, no aircraft).
bool makeSkeleton(const QString &root, QString *error = nullptr);

// The complete demo tree: every database from demo/sql, system/Corvane.ini,
// the saved situation, one POD archive per aircraft folder.
bool buildFromDemo(const QString &demoDir, const QString &root, QString *error = nullptr);

// The demo folder of the project: $CORVANE_DEMO_DIR, else the source tree's.
QString demoDir();

} // namespace SimTree
