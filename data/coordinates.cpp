#include "data/coordinates.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Coord {

namespace {

constexpr double ColumnDegrees = 1.40625;
constexpr double HalfColumnDegrees = 0.703125;

double cosDegrees(double degrees)
{
    return std::cos(degrees * std::numbers::pi / 180.0);
}

// The layout shared by the latitude and longitude texts: %1 hemisphere,
// %2 degrees, %3 minutes, %4 seconds.
QString dmsText(double arcSeconds, int degreeWidth, bool secondsMark, QChar hemisphere)
{
    const Dms v = dms(arcSeconds);
    const QString pattern = secondsMark ? QStringLiteral("%2 %3' %4\" %1") : QStringLiteral("%2 %3' %4 %1");
    return pattern.arg(QString(hemisphere),
                       QStringLiteral("%1").arg(v.degrees, degreeWidth, 'f', 0, u'0'),
                       QStringLiteral("%1").arg(v.minutes, 2, 'f', 0, u'0'),
                       QStringLiteral("%1").arg(v.seconds, 5, 'f', 2, u'0'));
}

} // namespace

Dms dms(double arcSeconds)
{
    // Whole hundredths of an arc-second; fmod and the divisions below are
    // exact on them.
    const double hundredths = std::round(arcSeconds * 100.0);
    const double inDegree = std::fmod(hundredths, 360000.0);
    const double inMinute = std::fmod(inDegree, 6000.0);
    Dms out;
    out.degrees = (hundredths - inDegree) / 360000.0;
    out.minutes = (inDegree - inMinute) / 6000.0;
    out.seconds = inMinute / 100.0;
    return out;
}

double inTurn(double arcSeconds)
{
    if (arcSeconds > Turn) {
        arcSeconds = std::fmod(arcSeconds, Turn);
        if (arcSeconds == 0)
            arcSeconds = Turn;   // subtracting turn by turn stops at one turn
    } else if (arcSeconds < 0) {
        const double r = std::fmod(arcSeconds, Turn);
        arcSeconds = r == 0 ? 0.0 : r + Turn;
    }
    return arcSeconds;
}

double inHalfTurn(double arcSeconds)
{
    arcSeconds = inTurn(arcSeconds);
    if (arcSeconds > HalfTurn)
        arcSeconds -= Turn;
    return arcSeconds;
}

QString latitudeText(double latitude, bool secondsMark)
{
    const bool north = latitude >= 0;
    // fabs also turns -0 into 0, which must not print as "-0".
    return dmsText(std::fabs(latitude), 2, secondsMark, north ? u'N' : u'S');
}

QString longitudeText(double longitude, bool secondsMark)
{
    const double value = inHalfTurn(longitude);
    const bool east = value >= 0;
    return dmsText(std::fabs(value), 3, secondsMark, east ? u'E' : u'W');
}

void buildBands(BandTable &top)
{
    top[0] = 0;
    for (std::size_t k = 0; k + 1 < top.size(); ++k)
        top[k + 1] = top[k] + ColumnDegrees * cosDegrees(top[k]);
}

void buildQuarterBands(const BandTable &top, QuarterTable &qtopDegrees, QuarterTable &qtopSeconds)
{
    qtopDegrees[0] = 0;
    for (std::size_t j = 1; j < qtopDegrees.size(); ++j) {
        if (j % 2 == 1)
            qtopDegrees[j] = qtopDegrees[j - 1] + HalfColumnDegrees * cosDegrees(qtopDegrees[j - 1]);
        else
            qtopDegrees[j] = top[j / 2];
    }
    for (std::size_t j = 0; j < qtopDegrees.size(); ++j)
        qtopSeconds[j] = qtopDegrees[j] * 3600.0;
}

const BandTable &bands()
{
    static const BandTable table = [] {
        BandTable t{};
        buildBands(t);
        return t;
    }();
    return table;
}

const QuarterTable &quarterBandSeconds()
{
    static const QuarterTable table = [] {
        QuarterTable degrees{};
        QuarterTable seconds{};
        buildQuarterBands(bands(), degrees, seconds);
        return seconds;
    }();
    return table;
}

int bandIndex(const BandTable &top, double latitude)
{
    const double a = std::fabs(latitude) / 3600.0;
    // Edges top[1]..top[128] at or below a; a NaN counts as beyond them all.
    const auto first = top.begin() + 1;
    const auto n = std::upper_bound(first, top.end(), a) - first;
    return int(std::min<std::ptrdiff_t>(n, 127));
}

int tileRow(const BandTable &top, double latitude)
{
    const int n = bandIndex(top, latitude);
    return latitude > 0 ? 128 + n : 127 - n;
}

int tileColumn(double longitude)
{
    const double column = std::trunc(longitude / ColumnWidth);
    if (!std::isfinite(column))
        return 0;
    // Same as a 32-bit integer AND 255 for every value that fits one, and
    // still defined for those that do not.
    double r = std::fmod(column, 256.0);
    if (r < 0)
        r += 256.0;
    return int(r);
}

int tileKey(const BandTable &top, double latitude, double longitude)
{
    return tileColumn(longitude) * 65536 + tileRow(top, latitude);
}

int verticalQgtNumber(const QuarterTable &qtopSeconds, double latitude)
{
    const double a = std::fabs(latitude);
    // Quarter edges qtop[1]..qtop[256] strictly below a; a NaN counts none.
    const auto first = qtopSeconds.begin() + 1;
    const auto m = std::min<std::ptrdiff_t>(std::lower_bound(first, qtopSeconds.end(), a) - first, 255);
    return latitude >= 0 ? 256 + int(m) : 255 - int(m);
}

} // namespace Coord
