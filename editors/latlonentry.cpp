#include "editors/latlonentry.h"

#include "map/jstext.h"

#include <cmath>

CLatLonEntry::Dms CLatLonEntry::dms(double magnitudeDegrees)
{
    Dms out;
    if (!std::isfinite(magnitudeDegrees) || magnitudeDegrees < 0)
        return out;
    // Beyond what a spin box holds the text fields still show the value.
    const double m = std::min(magnitudeDegrees, 1.0e6);
    const double whole = std::trunc(m);
    out.degrees = int(whole);
    const double f = 60 * (m - whole);
    const double minutes = std::trunc(f);
    out.minutes = int(minutes);
    out.seconds = 60 * (f - minutes);
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
