#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlQuery;

// The title of a navaid or waypoint marker: a name, a dash and the key, as
// the markers are created ("PARIS-FR1PGS1"). Both parts may hold dashes
// ("ST-JEAN-ST-JEFR", "X-RAY-X-RAYBE"), so a title is read against the keys
// that exist: its key is what follows the first dash, from the left, whose
// remainder is an existing key, compared exactly.
struct CMarkerTitle
{
    QString name;   // what comes before that dash
    QString key;    // an existing key
    // False when no dash of the title is followed by an existing key: the
    // title names no row.
    bool found = false;

    // The row of table "NAV" or "WPT" a title names. On success `row`, if
    // given, stands on that row (SELECT *, so columns in table order).
    static CMarkerTitle find(const QSqlDatabase &db, const QString &table, const QString &title,
                             QSqlQuery *row = nullptr);

    // The other keys of table "NAV" or "WPT" that end with a dash and `key`
    // ("X-RAYBE" for "RAYBE"): a title ending with one of them names that
    // row, not the row of `key`.
    static QStringList longerKeys(const QSqlDatabase &db, const QString &table, const QString &key);

    // What follows the info text in the editors' marker calls, so that the
    // page reads titles as the program does: the key, then, if there are
    // any, the longer keys as a list ("\"RAYBE\"", "\"RAYBE\",[\"X-RAYBE\"]").
    static QString keyArguments(const QString &key, const QStringList &longerKeys);
};
