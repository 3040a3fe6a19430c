#include "map/jstext.h"

#include "data/coordinates.h"

#include <algorithm>
#include <cmath>

namespace JsText {

QString escape(const QString &text, QChar quote)
{
    // Most texts need nothing: hand them back shared, without a copy.
    const auto needsEscape = [quote](QChar c) {
        const char16_t u = c.unicode();
        return u == u'\\' || u == u'\n' || u == u'\r' || u == 0x2028 || u == 0x2029 || c == quote;
    };
    if (std::none_of(text.cbegin(), text.cend(), needsEscape))
        return text;

    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case 0x2028: out += QLatin1String("\\u2028"); break;
        case 0x2029: out += QLatin1String("\\u2029"); break;
        default:
            if (c == quote)
                out += u'\\';
            out += c;
        }
    }
    return out;
}

QString fill(const QString &pattern, const QStringList &values)
{
    QString out;
    out.reserve(pattern.size() + 64);
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern.at(i);
        if (c == u'%' && i + 1 < n && pattern.at(i + 1).isDigit()) {
            // Take the longest placeholder number that has a value (%10 before %1).
            qsizetype j = i + 1;
            int number = 0;
            int best = -1;
            qsizetype bestEnd = i + 1;
            while (j < n && pattern.at(j).isDigit() && j - i <= 2) {
                number = number * 10 + pattern.at(j).digitValue();
                ++j;
                if (number >= 1 && number <= values.size()) {
                    best = number;
                    bestEnd = j;
                }
            }
            if (best > 0) {
                out += values.at(best - 1);
                i = bestEnd - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString fixed(double value, int decimals, int width)
{
    // "inf" or "nan" in a script would be an undefined name: write 0.
    if (!std::isfinite(value))
        value = 0;
    // Same text as QString::arg(value, width, 'f', decimals), without
    // parsing a pattern for every number of a large batch.
    QString text = QString::number(value, 'f', decimals);
    if (text.size() < width)
        text.prepend(QString(width - text.size(), u' '));
    return text;
}

QString general(double value)
{
    if (!std::isfinite(value))
        value = 0;
    return QString::number(value, 'g', 6);
}

double degreesInRange(double degrees)
{
    // Same result as adding or subtracting whole turns one by one, without
    // looping forever on huge values.
    double d = std::fmod(degrees, 360.0);
    if (d < 0)
        d += 360.0;
    if (d >= 360.0)
        d -= 360.0;
    if (d > 180)
        d -= 360;
    // -360 degrees is 0, not "-0.00000".
    return d == 0 ? 0.0 : d;
}

double arcSecondsInTurn(double arcSeconds)
{
    const double value = Coord::inTurn(arcSeconds);
    return value == 0 ? 0.0 : value;   // never "-0"
}

double arcSecondsInHalfTurn(double arcSeconds)
{
    const double value = Coord::inHalfTurn(arcSeconds);
    return value == 0 ? 0.0 : value;
}

QString latLng(double latDegrees, double lonDegrees)
{
    return QStringLiteral("new google.maps.LatLng(") + fixed(latDegrees, 5, 3) + u',' + fixed(lonDegrees, 5, 3)
            + u')';
}

} // namespace JsText
