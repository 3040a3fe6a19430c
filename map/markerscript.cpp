#include "map/markerscript.h"

#include "data/coordinates.h"
#include "map/jstext.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The marker statements read whole tables of the simulator (hundreds of
// thousands of rows for the world) and the SQL layer converts every column
// a statement selects, row by row: they select only the columns used, by
// their stored names, rows in the tables' stored order as SELECT * gives
// them. The enums are the positions in these lists.
namespace Apt { enum { iden, name, alat, alon }; }
namespace Nav { enum { ukey, iden, name, nfrq, ntyp, nuse, nlat, nlon }; }
namespace Wpt { enum { iden, ukey, name, wuse, wlat, wlon }; }
namespace Ats { enum { aaid, levl, nvc1, nvc2, lat1, lon1, lat2, lon2 }; }
// Runway rows come from the caller's SELECT * on RWY.
namespace Rwy { enum { rhla = 14, rhlo = 15, rlla = 43, rllo = 44 }; }

// A forward-only query over a whole table; false when the statement fails.
bool run(QSqlQuery &query, const QString &statement)
{
    query.setForwardOnly(true);
    return query.exec(statement);
}

// Appends `call` to a batch whose calls are separated by ";".
void addCall(QString &batch, bool &first, const QString &call)
{
    if (!first)
        batch += u';';
    batch += call;
    first = false;
}

// Starts the next call of a batch whose calls are separated by ";"; the
// call is then appended piece by piece.
void nextCall(QString &batch, bool &first)
{
    if (!first)
        batch += u';';
    first = false;
}

// Appends a text as the content of a double-quoted JavaScript string.
void appendQuoted(QString &out, const QString &text)
{
    out += u'"';
    out += JsText::escape(text);   // shared, not copied, when nothing needs escaping
    out += u'"';
}

// A database text for the info HTML; most names have nothing to escape and
// are handed on shared.
QString htmlText(const QString &text)
{
    const bool plain = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == u'&' || c == u'<' || c == u'>' || c == u'"';
    });
    return plain ? text : JsText::html(text);
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// The info window texts, built piece by piece into the batch: each value
// is placed once, nothing is substituted again. With `js` set, every
// database text is also made safe for the double-quoted string the info
// text travels in (the template pieces and the coordinate texts hold
// nothing to escape).
void appendText(QString &out, const QString &text, bool js)
{
    if (js)
        out += JsText::escape(text);
    else
        out += text;
}

// A number zero-padded on the left to `width`, as QString::arg(value,
// width, 'f', decimals, u'0') writes a value that is not negative.
void appendPadded(QString &out, double value, int width, int decimals)
{
    const QString digits = QString::number(value, 'f', decimals);
    for (qsizetype i = digits.size(); i < width; ++i)
        out += u'0';
    out += digits;
}

// The coordinate texts without the seconds mark, "DD MM' SS.SS N" and
// "DDD MM' SS.SS E": the texts of CGlobalVar::latitudeText and
// longitudeText (which the tests hold them to), written straight into the
// batch; their one-pass substitution costs more than the rest of a marker.
void appendDms(QString &out, double arcSeconds, int degreeWidth, char16_t hemisphere)
{
    const Coord::Dms v = Coord::dms(arcSeconds);
    appendPadded(out, v.degrees, degreeWidth, 0);
    out += u' ';
    appendPadded(out, v.minutes, 2, 0);
    out += QLatin1String("' ");
    appendPadded(out, v.seconds, 5, 2);
    out += u' ';
    out += QChar(hemisphere);
}

void appendLatitude(QString &out, double latitude)
{
    // fabs also turns -0 into 0.
    appendDms(out, std::fabs(latitude), 2, latitude >= 0 ? u'N' : u'S');
}

void appendLongitude(QString &out, double longitude)
{
    const double value = Coord::inHalfTurn(longitude);
    appendDms(out, std::fabs(value), 3, value >= 0 ? u'E' : u'W');
}

// "<font color=blue><b>Airport %1</b><font color=black><br/>%2<br/>%3 - %4"
void appendAirportInfo(QString &out, const QString &iden, const QString &name, double lat, double lon, bool js)
{
    out += QLatin1String("<font color=blue><b>Airport ");
    appendText(out, htmlText(iden), js);
    out += QLatin1String("</b><font color=black><br/>");
    appendText(out, htmlText(name), js);
    out += QLatin1String("<br/>");
    appendLatitude(out, lat);
    out += QLatin1String(" - ");
    appendLongitude(out, lon);
}

// "<font color=blue><b>VOR %1</b><font color=black><br/>%2<br/>%3 Mhz<br/>%4 - %5"
// "<font color=blue><b>NDB %1</b><font color=black><br/>%2<br/>%3 Khz<br/>%4 - %5"
void appendNavaidInfo(QString &out, bool ndb, const QString &iden, const QString &name, double frequency, double lat,
                      double lon, bool js)
{
    out += ndb ? QLatin1String("<font color=blue><b>NDB ") : QLatin1String("<font color=blue><b>VOR ");
    appendText(out, htmlText(iden), js);
    out += QLatin1String("</b><font color=black><br/>");
    appendText(out, htmlText(name), js);
    out += QLatin1String("<br/>");
    out += JsText::general(frequency);
    out += ndb ? QLatin1String(" Khz<br/>") : QLatin1String(" Mhz<br/>");
    appendLatitude(out, lat);
    out += QLatin1String(" - ");
    appendLongitude(out, lon);
}

// "<font color=blue><b>Waypoint %1</b><font color=black><br/>%2 (%3)<br/>%4 - %5"
void appendWaypointInfo(QString &out, const QString &iden, const QString &name, int usage, double lat, double lon,
                        bool js)
{
    out += QLatin1String("<font color=blue><b>Waypoint ");
    appendText(out, htmlText(iden), js);
    out += QLatin1String("</b><font color=black><br/>");
    appendText(out, htmlText(name), js);
    out += QLatin1String(" (");
    out += QString::number(usage);
    out += QLatin1String(")<br/>");
    appendLatitude(out, lat);
    out += QLatin1String(" - ");
    appendLongitude(out, lon);
}

} // namespace

double CMarkerScript::number(const QVariant &value)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0;
}

int CMarkerScript::integer(const QVariant &value)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const int i = value.toInt(&ok);
    return ok ? i : 0;
}

QString CMarkerScript::position(double latSeconds, double lonSeconds)
{
    return JsText::latLng(latSeconds / 3600, JsText::degreesInRange(lonSeconds / 3600));
}

QString CMarkerScript::airportInfo(const QString &iden, const QString &name, double lat, double lon)
{
    QString out;
    appendAirportInfo(out, iden, name, lat, lon, false);
    return out;
}

QString CMarkerScript::navaidInfo(bool ndb, const QString &iden, const QString &name, double frequency, double lat,
                                  double lon)
{
    QString out;
    appendNavaidInfo(out, ndb, iden, name, frequency, lat, lon, false);
    return out;
}

QString CMarkerScript::waypointInfo(const QString &iden, const QString &name, int usage, double lat, double lon)
{
    QString out;
    appendWaypointInfo(out, iden, name, usage, lat, lon, false);
    return out;
}

namespace {

// The calls of a marker section: each row of `statement` appended by
// `appendRow` as one call (the separator is written before it), in pieces
// of `pieceChars` characters handed to `sink`. A piece is handed over when
// the next row comes, so that the calls left at the end are never empty
// when there were rows.
template <typename AppendRow>
CMarkerSection markerCalls(const QSqlDatabase &db, const QString &statement, AppendRow appendRow,
                           const CMarkerSink &sink, qsizetype pieceChars)
{
    CMarkerSection section;
    if (!db.isValid())
        return section;
    QSqlQuery query(db);
    if (!run(query, statement))
        return section;

    // A piece has room for the row that takes it past its size.
    const qsizetype room = pieceChars < (qsizetype(1) << 24) ? pieceChars + pieceChars / 8 : 0;
    QString out;
    out.reserve(room);
    bool first = true;
    while (query.next()) {
        if (out.size() >= pieceChars) {
            if (!sink(std::move(out)))
                return {};
            out = QString();
            out.reserve(room);
            first = true;
        }
        nextCall(out, first);
        appendRow(out, query);
        ++section.count;
    }
    section.hasRows = section.count > 0;
    section.script = std::move(out);
    return section;
}

// A marker call up to its info text: function(position,"title",code,"
// The info text follows, then closeMarkerCall.
void openMarkerCall(QString &out, QLatin1String function, double lat, double lon, const QString &title, int code)
{
    out += function;
    out += CMarkerScript::position(lat, lon);
    out += u',';
    appendQuoted(out, title);
    out += u',';
    out += QString::number(code);
    out += QLatin1String(",\"");
}

void closeMarkerCall(QString &out)
{
    out += QLatin1String("\")");
}

void appendAirport(QString &out, const QSqlQuery &query)
{
    const QString iden = query.value(Apt::iden).toString();
    const QString name = query.value(Apt::name).toString();
    const double lat = CMarkerScript::number(query.value(Apt::alat));
    const double lon = CMarkerScript::number(query.value(Apt::alon));
    openMarkerCall(out, QLatin1String("addAPTMarker("), lat, lon, iden, 1);
    appendAirportInfo(out, iden, name, lat, lon, true);
    closeMarkerCall(out);
}

void appendNavaid(QString &out, const QSqlQuery &query)
{
    const QString ukey = query.value(Nav::ukey).toString();
    const QString iden = query.value(Nav::iden).toString();
    const QString name = query.value(Nav::name).toString();
    const double frequency = CMarkerScript::number(query.value(Nav::nfrq));
    const int type = CMarkerScript::integer(query.value(Nav::ntyp));
    const double lat = CMarkerScript::number(query.value(Nav::nlat));
    const double lon = CMarkerScript::number(query.value(Nav::nlon));
    const bool ndb = type == 8 || type == 24;
    openMarkerCall(out, ndb ? QLatin1String("addNDBMarker(") : QLatin1String("addVORMarker("), lat, lon,
                   iden + u'-' + ukey, ndb ? CMarkerScript::integer(query.value(Nav::nuse)) : type);
    appendNavaidInfo(out, ndb, iden, name, frequency, lat, lon, true);
    closeMarkerCall(out);
}

void appendWaypoint(QString &out, const QSqlQuery &query)
{
    const QString iden = query.value(Wpt::iden).toString();
    const QString ukey = query.value(Wpt::ukey).toString();
    const QString name = query.value(Wpt::name).toString();
    const int usage = CMarkerScript::integer(query.value(Wpt::wuse));
    const double lat = CMarkerScript::number(query.value(Wpt::wlat));
    const double lon = CMarkerScript::number(query.value(Wpt::wlon));
    openMarkerCall(out, QLatin1String("addWPTMarker("), lat, lon, name + u'-' + ukey, usage);
    appendWaypointInfo(out, iden, name, usage, lat, lon, true);
    closeMarkerCall(out);
}

// The route lines: the rows of the route filter's country. A table with
// rows gives a section even when none is used (its showATS calls go).
CMarkerSection routeCalls(const QSqlDatabase &route, const QString &filter, const CMarkerSink &sink,
                          qsizetype pieceChars)
{
    CMarkerSection section;
    if (!route.isValid())
        return section;
    // Whether the table has rows at all: the showATS calls go with any row.
    {
        QSqlQuery any(route);
        if (!run(any, QStringLiteral("SELECT 1 FROM ATSROUTE LIMIT 1")))
            return section;
        section.hasRows = any.next();
    }
    if (!section.hasRows)
        return section;
    // Only the rows of the route filter's country reach the program: a
    // text column equal to the filter, or a value that is no text (NULL and
    // numbers), which the check below compares as the SQL layer reads it.
    QSqlQuery query(route);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT aaid, levl, nvc1, nvc2, lat1, lon1, lat2, lon2 FROM ATSROUTE "
                                      "WHERE nvc1 = :route OR nvc2 = :route "
                                      "OR typeof(nvc1) <> 'text' OR typeof(nvc2) <> 'text'")))
        return {};
    query.bindValue(QStringLiteral(":route"), filter);
    if (!query.exec())
        return {};

    // Each used row is one segment. A route's line goes on while its rows
    // join end to start; a new route, or a gap inside one, starts a new line
    // at the row's first end. The page keeps the line open from one piece
    // to the next.
    QString out;
    bool first = true;
    bool open = false;
    QString current;
    double lastLat = 0;
    double lastLon = 0;
    while (query.next()) {
        if (query.value(Ats::nvc1).toString() != filter && query.value(Ats::nvc2).toString() != filter)
            continue;
        if (out.size() >= pieceChars) {
            if (!sink(std::move(out)))
                return {};
            out = QString();
            first = true;
        }
        const QString id = query.value(Ats::aaid).toString();
        const double lat1 = CMarkerScript::number(query.value(Ats::lat1));
        const double lon1 = CMarkerScript::number(query.value(Ats::lon1));
        const double lat2 = CMarkerScript::number(query.value(Ats::lat2));
        const double lon2 = CMarkerScript::number(query.value(Ats::lon2));
        if (!open || id != current || lat1 != lastLat || lon1 != lastLon) {
            open = true;
            current = id;
            const QString level = query.value(Ats::levl).toString().left(1);
            addCall(out, first, QLatin1String("addATS('") + JsText::escape(level, u'\'') + QLatin1String("')"));
            addCall(out, first,
                    QLatin1String("addToATS(") + CMarkerScript::position(lat1, lon1) + QLatin1String("),'ATS'"));
        }
        addCall(out, first, QLatin1String("addToATS(") + CMarkerScript::position(lat2, lon2) + QLatin1String("),'ATS'"));
        lastLat = lat2;
        lastLon = lon2;
        ++section.count;
    }
    section.script = std::move(out);
    return section;
}

// A marker manager shown with its list, or cleared.
QString manager(bool shown, const char *name, const char *list)
{
    return shown ? QLatin1String(name) + QLatin1String(".addMarkers(") + QLatin1String(list) + u')'
                 : QLatin1String(name) + QLatin1String(".clearMarkers()");
}

// A whole section in one script: its calls, then its closing calls.
CMarkerSection wholeSection(CMarkerKind kind, const QSqlDatabase &db, const CMarkerLayers &layers)
{
    const CMarkerSink none = [](QString &&) { return true; };
    CMarkerSection section = CMarkerScript::calls(kind, db, layers.route, none, std::numeric_limits<qsizetype>::max());
    if (section.hasRows)
        section.script = CMarkerScript::closed(section.script, CMarkerScript::closing(kind, layers));
    return section;
}

} // namespace

CMarkerSection CMarkerScript::calls(CMarkerKind kind, const QSqlDatabase &db, const QString &routeFilter,
                                    const CMarkerSink &sink, qsizetype pieceChars)
{
    switch (kind) {
    case CMarkerKind::Airports:
        return markerCalls(db, QStringLiteral("SELECT iden, name, alat, alon FROM APT"), appendAirport, sink,
                           pieceChars);
    case CMarkerKind::Navaids:
        return markerCalls(db, QStringLiteral("SELECT ukey, iden, name, nfrq, ntyp, nuse, nlat, nlon FROM NAV"),
                           appendNavaid, sink, pieceChars);
    case CMarkerKind::Waypoints:
        return markerCalls(db, QStringLiteral("SELECT iden, ukey, name, wuse, wlat, wlon FROM WPT WHERE wloc = 78"),
                           appendWaypoint, sink, pieceChars);
    case CMarkerKind::Routes:
        return routeCalls(db, routeFilter, sink, pieceChars);
    }
    return {};
}

QStringList CMarkerScript::closing(CMarkerKind kind, const CMarkerLayers &layers)
{
    switch (kind) {
    case CMarkerKind::Airports:
        // The page shows new airports at once: with the layer off, the
        // batch ends by hiding them again.
        return layers.airports ? QStringList{QStringLiteral("pushAPT();")}
                               : QStringList{QStringLiteral("pushAPT();"), QStringLiteral("ArptMgr.clearMarkers()")};
    case CMarkerKind::Navaids:
        return {QStringLiteral("addNavMgr();"), manager(layers.vor, "VORMgr", "listVOR"),
                manager(layers.ndbRte, "NDBRteMgr", "listNDBRte"), manager(layers.ndbTerm, "NDBTermMgr", "listNDBTerm")};
    case CMarkerKind::Waypoints:
        return {QStringLiteral("addWptMgr();"), manager(layers.wptRte, "WPTRteMgr", "listWptRte"),
                manager(layers.wptTerm, "WPTTermMgr", "listWptTerm"), manager(layers.wptVfr, "WPTVfrMgr", "listWptVfr")};
    case CMarkerKind::Routes:
        return {
            QLatin1String("showATS('L',") + flag(layers.atsL) + u')',
            QLatin1String("showATS('H',") + flag(layers.atsH) + u')',
            QLatin1String("showATS('B',") + flag(layers.atsB) + u')',
        };
    }
    return {};
}

QString CMarkerScript::closed(const QString &calls, const QStringList &closing)
{
    const QString tail = closing.join(u';');
    return calls.isEmpty() ? tail : calls + u';' + tail;
}

CMarkerSection CMarkerScript::airports(const QSqlDatabase &gen, bool showAirports)
{
    CMarkerLayers layers;
    layers.airports = showAirports;
    return wholeSection(CMarkerKind::Airports, gen, layers);
}

CMarkerSection CMarkerScript::navaids(const QSqlDatabase &gen, const CMarkerLayers &layers)
{
    return wholeSection(CMarkerKind::Navaids, gen, layers);
}

CMarkerSection CMarkerScript::waypoints(const QSqlDatabase &wpt, const CMarkerLayers &layers)
{
    return wholeSection(CMarkerKind::Waypoints, wpt, layers);
}

CMarkerSection CMarkerScript::routes(const QSqlDatabase &route, const CMarkerLayers &layers)
{
    return wholeSection(CMarkerKind::Routes, route, layers);
}

QString CMarkerScript::runways(QSqlQuery &query)
{
    QString out = QStringLiteral("clearRunway();");
    do {
        out += QLatin1String("drawRwy(");
        out += position(number(query.value(Rwy::rhla)), number(query.value(Rwy::rhlo)));
        out += u',';
        out += position(number(query.value(Rwy::rlla)), number(query.value(Rwy::rllo)));
        out += QLatin1String(");");
    } while (query.next());
    return out;
}
