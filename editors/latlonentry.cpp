#include "editors/latlonentry.h"

#include "data/coordinates.h"
#include "map/jstext.h"

#include <algorithm>
#include <cmath>

CLatLonEntry::Dms CLatLonEntry::dms(double magnitudeDegrees)
{
    Dms out;
    if (!std::isfinite(magnitudeDegrees) || magnitudeDegrees < 0)
        return out;
    // Beyond what a spin box holds the text fields still show the value.
    // The seconds field shows hundredths: they are rounded and carried as
    // the coordinate texts do (40' 00.00", never 39' 60.00").
    const Coord::Dms v = Coord::dms(std::min(magnitudeDegrees, 1.0e6) * 3600);
    out.degrees = int(v.degrees);
    out.minutes = int(v.minutes);
    out.seconds = v.seconds;
    return out;
}

double CLatLonEntry::magnitude(int degrees, int minutes, double seconds)
{
    return std::abs(degrees) * 3600.0 + minutes * 60.0 + seconds;
}

void CLatLonEntry::setLatLon(double latitude, double longitude)
{
    lat = latitude;
    lon = longitude;

    const double d = lat / 3600;
    south = !(d > 0);
    latDms = dms(south ? -d : d);

    const double e = JsText::degreesInRange(lon / 3600);
    west = !(e > 0);
    lonDms = dms(west ? -e : e);
}

void CLatLonEntry::updateLat(double magnitudeSeconds, bool isSouth)
{
    if (std::isnan(magnitudeSeconds))
        magnitudeSeconds = 0;
    magnitudeSeconds = std::min(magnitudeSeconds, MaxLatitude);
    // No "-0.00" for a latitude of 0 in the south.
    lat = isSouth && magnitudeSeconds != 0 ? -magnitudeSeconds : magnitudeSeconds;
}

void CLatLonEntry::updateLon(double value, bool isWest)
{
    const double a = std::abs(JsText::arcSecondsInHalfTurn(value));
    lon = isWest ? JsText::arcSecondsInTurn(1296000 - a) : a;
}

QString CLatLonEntry::latText() const
{
    return JsText::fixed(lat, 2);
}

QString CLatLonEntry::latDegreesText() const
{
    return JsText::fixed(lat / 3600, 5);
}

QString CLatLonEntry::lonText() const
{
    return JsText::fixed(lon, 2);
}

QString CLatLonEntry::lonDegreesText() const
{
    return JsText::fixed(JsText::arcSecondsInHalfTurn(lon) / 3600, 5);
}
