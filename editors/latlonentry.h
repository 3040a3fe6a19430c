#pragma once

#include <QString>

// The position entry of the editors: latitude and longitude in arc-seconds
// (north and east positive) shown as arc-seconds, as decimal degrees and as
// hemisphere, degrees, minutes and seconds. After an edit the longitude is
// kept east-positive from 0 to 1296000.
class CLatLonEntry
{
public:
    struct Dms {
        int degrees = 0;
        int minutes = 0;
        double seconds = 0;
    };

    // Splits a magnitude in degrees: whole degrees, whole minutes, and
    // seconds in hundredths, carried into the minutes and degrees when they
    // round to 60 (Coord::dms).
    static Dms dms(double magnitudeDegrees);
    // |degrees| x 3600 + minutes x 60 + seconds.
    static double magnitude(int degrees, int minutes, double seconds);

    // Takes both values as given. A latitude or longitude of exactly 0
    // counts as south and west.
    void setLatLon(double latitude, double longitude);

    // No latitude is beyond a pole: 90 degrees.
    static constexpr double MaxLatitude = 324000;

    // A latitude of that size in the chosen hemisphere, at most 90 degrees
    // (90 59' 60" gives 90 00' 00"; a size that is no number gives 0).
    void updateLat(double magnitudeSeconds, bool south);
    // A longitude of the size of `value` (brought into (-648000, 648000]
    // first) in the chosen hemisphere: west gives 1296000 minus the size.
    void updateLon(double value, bool west);

    // Texts of the four number fields.
    QString latText() const;         // arc-seconds, 2 decimals
    QString latDegreesText() const;  // degrees, 5 decimals
    QString lonText() const;         // arc-seconds, 2 decimals
    QString lonDegreesText() const;  // degrees in (-180, 180], 5 decimals

    double lat = 0;
    double lon = 0;
    // What setLatLon shows in the hemisphere and degree fields.
    bool south = true;
    bool west = true;
    Dms latDms;
    Dms lonDms;
};
