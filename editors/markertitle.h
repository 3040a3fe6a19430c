#pragma once

#include <QString>

// The title of a navaid or waypoint marker: a name, a dash and the key, as
// the markers are created ("PARIS-FR1PGS1"). Names may hold dashes of their
// own ("SAINT-JEAN"), keys never do, so the key is what follows the last
// dash.
struct CMarkerTitle
{
    QString name;
    QString key;
    // False for a title without a dash or with nothing after the last one:
    // such a title names no row.
    bool hasKey = false;

    // The title is trimmed first.
    static CMarkerTitle parse(const QString &title);
};
