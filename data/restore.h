#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class CGlobalVar;

// Rows of one table of a database found in one of the two files only.
struct CRowDifference
{
    QString table;
    qint64 onlyInCopy = 0;      // rows a restore puts back
    qint64 onlyInCurrent = 0;   // rows a restore takes away
    qint64 total() const { return onlyInCopy + onlyInCurrent; }
};

// A line of a text file found in one of the two files only.
struct CLineDifference
{
    QString line;
    bool inCopy = false;        // true: only in the copy; false: only in the current file
};

// One copy kept beside a file, compared with the file as it is now.
struct CStoredCopy
{
    QString path;
    int number = 0;             // 1 (newest) to CBackup::Kept; 0: the copy taken before the last restore
    QDateTime taken;            // when the copy was written
    QString error;              // why the copy could not be compared; empty when it was
    QList<CRowDifference> tables;   // a database: the tables that differ, by name
    QList<CLineDifference> lines;   // a text file: the lines that differ
    // Rows (a database) or lines (a text file) found on one side only.
    qint64 differences() const;
};

// A file the program changed: a database of the simulator or its ini file,
// with the copies held beside it.
struct CRestorableFile
{
    QString path;
    bool database = false;
    QList<CStoredCopy> copies;  // numbered copies, newest first, then the one taken before the last restore
};

// Puts one of the copies kept beside a simulator file (CBackup) back in
// the file's place. Before the file is replaced, the file as it is is kept
// in CBackup::beforeRestorePath, so that the restore can be taken back by
// restoring that copy; the numbered copies are left as they are.
//
// A database is restored only while no one else holds it: the simulator's
// lock on it (SQLite reports the database busy or locked) stops the restore
// before anything changes. The program's own connections to the file are
// closed for the time of the replacement and opened again on the restored
// file, which must pass the checks of start-up. A failure at any step puts
// the file back as it was.
class CRestore
{
public:
    // The files of the simulator that have copies beside them: the
    // databases of the database folders, then the simulator's ini file,
    // each copy compared with its file.
    static QList<CRestorableFile> files(const CGlobalVar &config);
    // One file and its copies, compared; no copies when it has none.
    static CRestorableFile inspect(const QString &filePath);

    enum class Outcome { Restored, Locked, Failed };
    enum class Step { None, Read, Lock, Keep, Replace, Reopen, Check };
    struct Result
    {
        Outcome outcome = Outcome::Failed;
        Step step = Step::None;   // the step that failed
        QString error;            // why it failed
        QString keptCopy;         // the file as it was before: after a restore, or after a failure that could not put it back
        bool putBack = true;      // after a failure: the file is as it was
    };
    // Restores `copyPath` over `filePath`. `config` gives the connections
    // that hold the file and the versions start-up requires.
    static Result restore(const CGlobalVar &config, const QString &filePath, const QString &copyPath);

    // Texts for the user.
    static QString stepName(Step step);
    static QString title();
    static QString message(const QString &filePath, const QString &copyPath, const Result &result);
};
