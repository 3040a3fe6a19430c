#include "flightplan/flightplanpoint.h"

#include <cmath>

#include <QSqlQuery>
#include <QVariant>

// Column positions of the SELECT * rows the builders read.
namespace {

namespace Apt {
constexpr int ukey = 1, iden = 3, name = 4, alat = 9, alon = 10, aele = 11;
}
namespace Nav {
constexpr int ukey = 1, iden = 2, name = 3, nfrq = 4, ntyp = 9, nlat = 12, nlon = 13, nalt = 14;
}
namespace Wpt {
// The waypoint table keeps its ident before its key.
constexpr int iden = 1, ukey = 2, name = 3, wlat = 9, wlon = 10;
}
namespace SidStar {
constexpr int swid = 6, slat = 9, slon = 10;
}
namespace Rwy {
constexpr int rhid = 13, rhla = 14, rhlo = 15, rhht = 16, rhmh = 18;
constexpr int rlid = 42, rlla = 43, rllo = 44, rlht = 45, rlmh = 47;
}

QString text(const QSqlQuery &row, int column)
{
    return row.value(column).toString();
}

// NULLs, texts and infinities in numeric columns count as 0.
double real(const QSqlQuery &row, int column)
{
    const double value = row.value(column).toDouble();
    return std::isfinite(value) ? value : 0;
}

qint32 integer(const QSqlQuery &row, int column)
{
    return row.value(column).toInt();
}

const QString None = QStringLiteral("NONE");

} // namespace

void CFlightPlanPoint::clearRunwaysAndMark()
{
    takeoffRunway.clear();
    landingRunway.clear();
    mark.clear();
}

void CFlightPlanPoint::fromAPT(const QSqlQuery &row)
{
    kind = QStringLiteral("airp");
    name = text(row, Apt::name);
    ident = text(row, Apt::iden);
    latitude = real(row, Apt::alat);
    longitude = real(row, Apt::alon);
    elevation = integer(row, Apt::aele);
    dbKey = text(row, Apt::ukey);
    usage = QStringLiteral("airp");
    altitude = elevation;
    clearRunwaysAndMark();
}

void CFlightPlanPoint::fromNAV(const QSqlQuery &row)
{
    kind = QStringLiteral("snav");
    name = text(row, Nav::name);
    ident = text(row, Nav::iden);
    latitude = real(row, Nav::nlat);
    longitude = real(row, Nav::nlon);
    elevation = integer(row, Nav::nalt);
    dbKey = text(row, Nav::ukey);
    usage = QStringLiteral("snav");
    altitude = 0;
    navaidType = integer(row, Nav::ntyp);
    frequency = real(row, Nav::nfrq);
    clearRunwaysAndMark();
}

void CFlightPlanPoint::fromWPT(const QSqlQuery &row)
{
    kind = QStringLiteral("wayp");
    name = text(row, Wpt::name);
    ident = text(row, Wpt::iden);
    latitude = real(row, Wpt::wlat);
    longitude = real(row, Wpt::wlon);
    elevation = 0;
    dbKey = text(row, Wpt::ukey);
    usage = QStringLiteral("uswp");
    altitude = 0;
    clearRunwaysAndMark();
}

void CFlightPlanPoint::fromSIDSTAR(const QSqlQuery &row)
{
    kind = QStringLiteral("wayp");
    name = text(row, SidStar::swid);
    ident = name;
    latitude = real(row, SidStar::slat);
    longitude = real(row, SidStar::slon);
    elevation = 0;
    dbKey = None;
    usage = QStringLiteral("uswp");
    altitude = 0;
    clearRunwaysAndMark();
}

void CFlightPlanPoint::fromRunwayEnd(const QSqlQuery &row, int id, int lat, int lon, int elev, int magHeading)
{
    kind = QStringLiteral("uswp");
    ident = text(row, id);
    name = QStringLiteral("RWY ") + ident;
    latitude = real(row, lat);
    longitude = real(row, lon);
    elevation = integer(row, elev);
    dbKey = None;
    usage = QStringLiteral("uswp");
    altitude = 0;
    heading = real(row, magHeading);
    clearRunwaysAndMark();
}

void CFlightPlanPoint::fromRunwayHigh(const QSqlQuery &row)
{
    fromRunwayEnd(row, Rwy::rhid, Rwy::rhla, Rwy::rhlo, Rwy::rhht, Rwy::rhmh);
}

void CFlightPlanPoint::fromRunwayLow(const QSqlQuery &row)
{
    fromRunwayEnd(row, Rwy::rlid, Rwy::rlla, Rwy::rllo, Rwy::rlht, Rwy::rlmh);
}
