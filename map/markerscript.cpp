#include "map/markerscript.h"

#include "data/globalvar.h"
#include "map/jstext.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace {

// Columns of SELECT * as the simulator stores its tables.
namespace Apt { enum { iden = 3, name = 4, alat = 9, alon = 10 }; }
namespace Nav { enum { ukey = 1, iden = 2, name = 3, nfrq = 4, ntyp = 9, nuse = 11, nlat = 12, nlon = 13 }; }
namespace Wpt { enum { iden = 1, ukey = 2, name = 3, wuse = 8, wlat = 9, wlon = 10 }; }
namespace Ats { enum { aaid = 2, levl = 7, nvc1 = 12, nvc2 = 16, lat1 = 22, lon1 = 23, lat2 = 24, lon2 = 25 }; }
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

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QString quoted(const QString &text)
{
    return u'"' + JsText::escape(text) + u'"';
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
    return JsText::fill(QStringLiteral("<font color=blue><b>Airport %1</b><font color=black><br/>%2<br/>%3 - %4"),
                        {JsText::html(iden), JsText::html(name), CGlobalVar::latitudeText(lat, false),
                         CGlobalVar::longitudeText(lon, false)});
}

QString CMarkerScript::navaidInfo(bool ndb, const QString &iden, const QString &name, double frequency, double lat,
                                  double lon)
{
    const QString pattern = ndb
            ? QStringLiteral("<font color=blue><b>NDB %1</b><font color=black><br/>%2<br/>%3 Khz<br/>%4 - %5")
            : QStringLiteral("<font color=blue><b>VOR %1</b><font color=black><br/>%2<br/>%3 Mhz<br/>%4 - %5");
    return JsText::fill(pattern, {JsText::html(iden), JsText::html(name), JsText::general(frequency),
                                  CGlobalVar::latitudeText(lat, false), CGlobalVar::longitudeText(lon, false)});
}

QString CMarkerScript::waypointInfo(const QString &iden, const QString &name, int usage, double lat, double lon)
{
    return JsText::fill(
            QStringLiteral("<font color=blue><b>Waypoint %1</b><font color=black><br/>%2 (%3)<br/>%4 - %5"),
            {JsText::html(iden), JsText::html(name), QString::number(usage), CGlobalVar::latitudeText(lat, false),
             CGlobalVar::longitudeText(lon, false)});
}

CMarkerSection CMarkerScript::airports(const QSqlDatabase &gen, bool showAirports)
{
    CMarkerSection section;
    if (!gen.isValid())
        return section;
    QSqlQuery query(gen);
    if (!run(query, QStringLiteral("SELECT * from APT;")))
        return section;

    QString &out = section.script;
    bool first = true;
    QString call;
    while (query.next()) {
        const QString iden = query.value(Apt::iden).toString();
        const QString name = query.value(Apt::name).toString();
        const double lat = number(query.value(Apt::alat));
        const double lon = number(query.value(Apt::alon));

        call.clear();
        call += QLatin1String("addAPTMarker(");
        call += position(lat, lon);
        call += u',';
        call += quoted(iden);
        call += QLatin1String(",1,");
        call += quoted(airportInfo(iden, name, lat, lon));
        call += u')';
        addCall(out, first, call);
        ++section.count;
    }
    if (section.count == 0) {
        out.clear();
        return section;
    }
    section.hasRows = true;
    addCall(out, first, QStringLiteral("pushAPT();"));
    if (!showAirports)
        addCall(out, first, QStringLiteral("ArptMgr.clearMarkers()"));
    return section;
}

CMarkerSection CMarkerScript::navaids(const QSqlDatabase &gen, const CMarkerLayers &layers)
{
    CMarkerSection section;
    if (!gen.isValid())
        return section;
    QSqlQuery query(gen);
    if (!run(query, QStringLiteral("SELECT * from NAV;")))
        return section;

    QString &out = section.script;
    bool first = true;
    QString call;
    while (query.next()) {
        const QString ukey = query.value(Nav::ukey).toString();
        const QString iden = query.value(Nav::iden).toString();
        const QString name = query.value(Nav::name).toString();
        const double frequency = number(query.value(Nav::nfrq));
        const int type = integer(query.value(Nav::ntyp));
        const double lat = number(query.value(Nav::nlat));
        const double lon = number(query.value(Nav::nlon));
        const bool ndb = type == 8 || type == 24;

        call.clear();
        call += ndb ? QLatin1String("addNDBMarker(") : QLatin1String("addVORMarker(");
        call += position(lat, lon);
        call += u',';
        call += quoted(iden + u'-' + ukey);
        call += u',';
        call += QString::number(ndb ? integer(query.value(Nav::nuse)) : type);
        call += u',';
        call += quoted(navaidInfo(ndb, iden, name, frequency, lat, lon));
        call += u')';
        addCall(out, first, call);
        ++section.count;
    }
    if (section.count == 0) {
        out.clear();
        return section;
    }
    section.hasRows = true;
    addCall(out, first, QStringLiteral("addNavMgr();"));
    addCall(out, first, layers.vor ? QStringLiteral("VORMgr.addMarkers(listVOR)") : QStringLiteral("VORMgr.clearMarkers()"));
    addCall(out, first, layers.ndbRte ? QStringLiteral("NDBRteMgr.addMarkers(listNDBRte)")
                                      : QStringLiteral("NDBRteMgr.clearMarkers()"));
    addCall(out, first, layers.ndbTerm ? QStringLiteral("NDBTermMgr.addMarkers(listNDBTerm)")
                                       : QStringLiteral("NDBTermMgr.clearMarkers()"));
    return section;
}

CMarkerSection CMarkerScript::waypoints(const QSqlDatabase &wpt, const CMarkerLayers &layers)
{
    CMarkerSection section;
    if (!wpt.isValid())
        return section;
    QSqlQuery query(wpt);
    if (!run(query, QStringLiteral("SELECT * FROM WPT WHERE wloc = 78;")))
        return section;

    QString &out = section.script;
    bool first = true;
    QString call;
    while (query.next()) {
        const QString iden = query.value(Wpt::iden).toString();
        const QString ukey = query.value(Wpt::ukey).toString();
        const QString name = query.value(Wpt::name).toString();
        const int usage = integer(query.value(Wpt::wuse));
        const double lat = number(query.value(Wpt::wlat));
        const double lon = number(query.value(Wpt::wlon));

        call.clear();
        call += QLatin1String("addWPTMarker(");
        call += position(lat, lon);
        call += u',';
        call += quoted(name + u'-' + ukey);
        call += u',';
        call += QString::number(usage);
        call += u',';
        call += quoted(waypointInfo(iden, name, usage, lat, lon));
        call += u')';
        addCall(out, first, call);
        ++section.count;
    }
    if (section.count == 0) {
        out.clear();
        return section;
    }
    section.hasRows = true;
    addCall(out, first, QStringLiteral("addWptMgr();"));
    addCall(out, first, layers.wptRte ? QStringLiteral("WPTRteMgr.addMarkers(listWptRte)")
                                      : QStringLiteral("WPTRteMgr.clearMarkers()"));
    addCall(out, first, layers.wptTerm ? QStringLiteral("WPTTermMgr.addMarkers(listWptTerm)")
                                       : QStringLiteral("WPTTermMgr.clearMarkers()"));
    addCall(out, first, layers.wptVfr ? QStringLiteral("WPTVfrMgr.addMarkers(listWptVfr)")
                                      : QStringLiteral("WPTVfrMgr.clearMarkers()"));
    return section;
}

CMarkerSection CMarkerScript::routes(const QSqlDatabase &route, const CMarkerLayers &layers)
{
    CMarkerSection section;
    if (!route.isValid())
        return section;
    QSqlQuery query(route);
    if (!run(query, QStringLiteral("SELECT * from ATSROUTE;")))
        return section;

    // Each used row is one segment. A route's line goes on while its rows
    // join end to start; a new route, or a gap inside one, starts a new line
    // at the row's first end.
    QString &out = section.script;
    bool first = true;
    bool open = false;
    QString current;
    double lastLat = 0;
    double lastLon = 0;
    while (query.next()) {
        section.hasRows = true;
        if (query.value(Ats::nvc1).toString() != layers.route && query.value(Ats::nvc2).toString() != layers.route)
            continue;
        const QString id = query.value(Ats::aaid).toString();
        const double lat1 = number(query.value(Ats::lat1));
        const double lon1 = number(query.value(Ats::lon1));
        const double lat2 = number(query.value(Ats::lat2));
        const double lon2 = number(query.value(Ats::lon2));
        if (!open || id != current || lat1 != lastLat || lon1 != lastLon) {
            open = true;
            current = id;
            const QString level = query.value(Ats::levl).toString().left(1);
            addCall(out, first, QLatin1String("addATS('") + JsText::escape(level, u'\'') + QLatin1String("')"));
            addCall(out, first, QLatin1String("addToATS(") + position(lat1, lon1) + QLatin1String("),'ATS'"));
        }
        addCall(out, first, QLatin1String("addToATS(") + position(lat2, lon2) + QLatin1String("),'ATS'"));
        lastLat = lat2;
        lastLon = lon2;
        ++section.count;
    }
    if (!section.hasRows)
        return section;
    addCall(out, first, QLatin1String("showATS('L',") + flag(layers.atsL) + u')');
    addCall(out, first, QLatin1String("showATS('H',") + flag(layers.atsH) + u')');
    addCall(out, first, QLatin1String("showATS('B',") + flag(layers.atsB) + u')');
    return section;
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
