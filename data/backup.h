#pragma once

#include <QString>

// Copies of the simulator's own files (its databases and its ini file),
// taken before the program first changes each of them in a run. The copy of
// a file sits beside it as "<file>.bak1"; the copies of earlier runs move on
// to ".bak2" and ".bak3", and the oldest one is dropped. The names end in
// ".bakN", never in ".db", so a copy is never taken for a database of the
// simulator.
//
// A database is copied through SQLite (VACUUM INTO on a read-only
// connection of its own), which gives a consistent copy even while the
// program's connection is open and reading. Any other file is copied as it
// stands.
class CBackup
{
public:
    // Copies kept beside a file.
    static constexpr int Kept = 3;

    // Saves the file unless it was saved earlier in this run. True when the
    // file is saved (now or earlier) or does not exist (there is nothing to
    // lose); false, with the reason in `error`, when no copy could be made.
    // A failed attempt is not remembered: the next change tries again.
    static bool beforeChange(const QString &filePath, QString *error = nullptr);

    // The same for the database file of a named connection. A connection
    // that does not exist or is not open changes nothing: true.
    static bool beforeChangeOf(const QString &connectionName, QString *error = nullptr);

    // The file of a named connection; empty when there is no such
    // connection.
    static QString connectionFile(const QString &connectionName);

    // beforeChange, telling the user when the copy failed: the change must
    // then not be made. True when it may go on.
    static bool confirm(const QString &filePath);
    static bool confirmConnection(const QString &connectionName);

    // The name of the n-th copy (1 the newest).
    static QString copyPath(const QString &filePath, int n);

    // The copy of the file as it was before the program last restored one
    // of its copies over it: restoring it takes that restore back. Like the
    // numbered copies its name never ends in ".db".
    static QString beforeRestorePath(const QString &filePath);

    // Whether the file is an SQLite database (by its header).
    static bool isDatabaseFile(const QString &filePath);

    // One name per file, however a path spells it (canonical where the file
    // exists).
    static QString fileKey(const QString &path);

    // Whether the file was saved in this run.
    static bool isSaved(const QString &filePath);
    // Forgets which files were saved in this run.
    static void reset();

    // The message box of a failed copy.
    static QString failureTitle();
    static QString failureText(const QString &filePath, const QString &error);
};
