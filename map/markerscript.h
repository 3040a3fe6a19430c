#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QSqlDatabase;
class QSqlQuery;
class QVariant;

// Which marker managers and route levels are shown, and which country's
// ATS routes are drawn.
struct CMarkerLayers {
    bool airports = true;
    bool vor = true;
    bool ndbRte = true;
    bool ndbTerm = true;
    bool wptRte = true;
    bool wptTerm = true;
    bool wptVfr = true;
    bool atsL = true;
    bool atsH = true;
    bool atsB = true;
    QString route = QStringLiteral("FR");
};

// One section of the marker load: the script to send (empty: send
// nothing) and the number the log and the debug pane report.
struct CMarkerSection {
    bool hasRows = false;   // the statement gave at least one row
    int count = 0;          // rows read; for routes, the segments drawn
    QString script;
};

// The four sections of the marker load, in the order they reach the page.
enum class CMarkerKind { Airports, Navaids, Waypoints, Routes };

// Takes the calls of a section piece by piece while they are built; false
// stops the reading.
using CMarkerSink = std::function<bool(QString &&calls)>;

// Builds the scripts that hand the simulator's airports, navaids,
// waypoints, ATS routes and runways to the map page. Needs only the open
// database connections; every database text is made safe for the page.
class CMarkerScript
{
public:
    // Every APT row on GEN, in stored order: addAPTMarker calls then
    // "pushAPT();".
    // The page shows new airports at once: with the layer off, the batch
    // ends by hiding them again.
    static CMarkerSection airports(const QSqlDatabase &gen, bool showAirports = true);
    // Every NAV row on GEN: addVORMarker / addNDBMarker calls, then
    // "addNavMgr();" and the three navaid managers as the layers say.
    static CMarkerSection navaids(const QSqlDatabase &gen, const CMarkerLayers &layers);
    // The WPT rows "WHERE wloc = 78" on WPT: addWPTMarker calls, then
    // "addWptMgr();" and the three waypoint managers.
    static CMarkerSection waypoints(const QSqlDatabase &wpt, const CMarkerLayers &layers);
    // The ATSROUTE rows on ROUTE: the lines of the routes that touch
    // the route filter's country, then the three showATS calls; one script.
    static CMarkerSection routes(const QSqlDatabase &route, const CMarkerLayers &layers);

    // The size of a piece of a section sent on its own: the page parses a
    // script of a few hundred thousand characters faster than one of
    // millions, and the window hands it over in a millisecond or two.
    static constexpr qsizetype PieceChars = 192 * 1024;

    // The calls of a section (one of the four above, without its closing
    // calls) built piece by piece: each time the calls reach `pieceChars`
    // characters they go to `sink`, cut after a whole call. The calls left
    // at the end are the script of the section returned. The pieces and
    // that script, joined with ";", are the section's calls. `routeFilter`
    // is the country of the routes drawn.
    static CMarkerSection calls(CMarkerKind kind, const QSqlDatabase &db, const QString &routeFilter,
                                const CMarkerSink &sink, qsizetype pieceChars = PieceChars);
    // The calls that end a section, as the layers stand when it is sent:
    // the markers published and their managers set; for routes, the three
    // showATS calls.
    static QStringList closing(CMarkerKind kind, const CMarkerLayers &layers);
    // A section's last calls (possibly none) followed by its closing calls.
    static QString closed(const QString &calls, const QStringList &closing);

    // "clearRunway();" and one drawRwy call per runway row, starting with
    // the row the query stands on (a SELECT * on RWY); no separator.
    static QString runways(QSqlQuery &query);

    // Info window texts; the database texts are HTML-escaped here, the
    // positions are in arc-seconds.
    static QString airportInfo(const QString &iden, const QString &name, double lat, double lon);
    static QString navaidInfo(bool ndb, const QString &iden, const QString &name, double frequency, double lat,
                              double lon);
    static QString waypointInfo(const QString &iden, const QString &name, int usage, double lat, double lon);

    // A stored number: NULL, text that is no number, and infinities count as 0.
    static double number(const QVariant &value);
    static int integer(const QVariant &value);
    // Stored arc-seconds as "new google.maps.LatLng(lat,lng)" in degrees,
    // the longitude brought into (-180, 180].
    static QString position(double latSeconds, double lonSeconds);
};
