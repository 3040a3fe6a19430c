#pragma once

#include "simlink/navblock.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The stand-in simulator's route: the positions of a flight-plan file and
// a flight along them at a constant ground speed.
namespace NavRoute {

struct Point {
    double latitude = 0;    // arc-seconds, north positive
    double longitude = 0;   // arc-seconds, east positive
};

// The positions of a flight-plan file, in file order: the value line after
// each "<llps>" tag ("lat,lon,elevation" in arc-seconds). Tags are the first
// six characters of a trimmed line; the value line after any tag that has
// one is consumed, so a name that looks like a tag is not taken for one.
// Position lines that do not hold two numbers in range are skipped.
QList<Point> readFplPositions(const QByteArray &content);
// Reads the file; false with a message when it cannot be read.
bool readFplFile(const QString &path, QList<Point> *points, QString *error);

// Great-circle distance in nautical miles (one arc-minute each).
double distanceNm(const Point &from, const Point &to);
// Initial true course from `from` to `to`, degrees in [0, 360).
double initialCourse(const Point &from, const Point &to);
// The longitude brought into (-648000, 648000] arc-seconds.
double longitudeInRange(double arcSeconds);

// A flight along the points at a ground speed: on each leg the aircraft
// moves along the great circle and heads the leg's initial course; after
// the last point it stays there.
class CFlight
{
public:
    CFlight(const QList<Point> &points, double speedKts, double heading = 0);

    // Position after `seconds`; the marker value is the heading in degrees.
    NavBlock::Position at(double seconds) const;
    // Length of the whole route in nautical miles.
    double lengthNm() const { return m_length; }

private:
    struct Leg {
        Point from;
        Point to;
        double angle = 0;    // central angle, radians
        double start = 0;    // distance flown when the leg begins, nm
        double length = 0;   // nm
        double course = 0;   // degrees
    };
    NavBlock::Position still(const Point &point, double heading) const;

    QList<Leg> m_legs;
    Point m_first;
    bool m_empty = true;
    double m_speed = 0;
    double m_heading = 0;
    double m_length = 0;
};

} // namespace NavRoute
