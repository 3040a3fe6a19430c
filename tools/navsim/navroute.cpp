#include "tools/navsim/navroute.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace NavRoute {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double arcSecondsPerRadian = 648000 / pi;
constexpr double nmPerRadian = 10800 / pi;
// Flight-plan files are a few kilobytes; anything far bigger is not one.
constexpr qint64 maxFplSize = 16 * 1024 * 1024;

struct Unit {
    double x, y, z;
};

Unit unit(const Point &p)
{
    const double phi = p.latitude / arcSecondsPerRadian;
    const double lambda = p.longitude / arcSecondsPerRadian;
    return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

double centralAngle(const Point &from, const Point &to)
{
    const double phi1 = from.latitude / arcSecondsPerRadian;
    const double phi2 = to.latitude / arcSecondsPerRadian;
    const double dPhi = phi2 - phi1;
    const double dLambda = (to.longitude - from.longitude) / arcSecondsPerRadian;
    const double h = std::sin(dPhi / 2) * std::sin(dPhi / 2)
            + std::cos(phi1) * std::cos(phi2) * std::sin(dLambda / 2) * std::sin(dLambda / 2);
    return 2 * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
}

// Tags whose value stands on the next line.
const QSet<QByteArray> &valueTags()
{
    static const QSet<QByteArray> tags = {"<form>", "<desc>", "<vers>", "<ceil>", "<wpnt>", "<name>", "<iden>",
                                          "<llps>", "<dbky>", "<user>", "<altd>", "<tkof>", "<land>", "<mark>"};
    return tags;
}

} // namespace

QList<Point> readFplPositions(const QByteArray &content)
{
    QList<Point> points;
    const QList<QByteArray> lines = content.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray tag = lines.at(i).trimmed().left(6);
        if (!valueTags().contains(tag))
            continue;
        ++i;   // the value line
        if (tag != "<llps>" || i >= lines.size())
            continue;
        const QList<QByteArray> parts = lines.at(i).trimmed().split(',');
        if (parts.size() < 2)
            continue;
        bool latOk = false;
        bool lonOk = false;
        const double lat = parts.at(0).trimmed().toDouble(&latOk);
        const double lon = parts.at(1).trimmed().toDouble(&lonOk);
        if (!latOk || !lonOk || !std::isfinite(lat) || !std::isfinite(lon) || std::abs(lat) > 324000)
            continue;
        points.append({lat, lon});
    }
    return points;
}

bool readFplFile(const QString &path, QList<Point> *points, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > maxFplSize) {
        *error = QStringLiteral("%1 is too big for a flight-plan file").arg(path);
        return false;
    }
    *points = readFplPositions(file.read(maxFplSize));
    if (points->isEmpty()) {
        *error = QStringLiteral("%1 holds no position").arg(path);
        return false;
    }
    return true;
}

double distanceNm(const Point &from, const Point &to)
{
    return centralAngle(from, to) * nmPerRadian;
}

double initialCourse(const Point &from, const Point &to)
{
    const double phi1 = from.latitude / arcSecondsPerRadian;
    const double phi2 = to.latitude / arcSecondsPerRadian;
    const double dLambda = (to.longitude - from.longitude) / arcSecondsPerRadian;
    const double y = std::sin(dLambda) * std::cos(phi2);
    const double x = std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dLambda);
    double course = std::atan2(y, x) * 180 / pi;
    if (course < 0)
        course += 360;
    if (course >= 360)
        course -= 360;
    return course;
}

double longitudeInRange(double arcSeconds)
{
    double lon = std::fmod(arcSeconds, 1296000.0);
    if (lon > 648000)
        lon -= 1296000;
    else if (lon <= -648000)
        lon += 1296000;
    return lon;
}

CFlight::CFlight(const QList<Point> &points, double speedKts, double heading)
    : m_speed(speedKts)
    , m_heading(heading)
{
    if (points.isEmpty())
        return;
    m_empty = false;
    m_first = points.first();
    for (qsizetype i = 1; i < points.size(); ++i) {
        Leg leg;
        leg.from = points.at(i - 1);
        leg.to = points.at(i);
        leg.angle = centralAngle(leg.from, leg.to);
        if (leg.angle <= 0)
            continue;   // the same point twice
        leg.length = leg.angle * nmPerRadian;
        leg.start = m_length;
        leg.course = initialCourse(leg.from, leg.to);
        m_length += leg.length;
        m_legs.append(leg);
    }
}

NavBlock::Position CFlight::still(const Point &point, double heading) const
{
    return {point.latitude, longitudeInRange(point.longitude), heading};
}

NavBlock::Position CFlight::at(double seconds) const
{
    if (m_empty)
        return {0, 0, m_heading};
    if (m_legs.isEmpty())
        return still(m_first, m_heading);
    const double flown = std::max(0.0, m_speed * seconds / 3600);
    for (const Leg &leg : m_legs) {
        if (flown >= leg.start + leg.length)
            continue;
        const double f = (flown - leg.start) / leg.length;
        if (f <= 0)
            return still(leg.from, leg.course);
        const double s = std::sin(leg.angle);
        if (s < 1e-12)   // antipodes: no single great circle
            return still(f < 0.5 ? leg.from : leg.to, leg.course);
        const double a = std::sin((1 - f) * leg.angle) / s;
        const double b = std::sin(f * leg.angle) / s;
        const Unit u1 = unit(leg.from);
        const Unit u2 = unit(leg.to);
        const double x = a * u1.x + b * u2.x;
        const double y = a * u1.y + b * u2.y;
        const double z = a * u1.z + b * u2.z;
        const double lat = std::atan2(z, std::sqrt(x * x + y * y)) * arcSecondsPerRadian;
        const double lon = std::atan2(y, x) * arcSecondsPerRadian;
        return {lat, longitudeInRange(lon), leg.course};
    }
    return still(m_legs.last().to, m_legs.last().course);
}

} // namespace NavRoute
