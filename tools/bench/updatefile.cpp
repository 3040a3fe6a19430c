#include "tools/bench/updatefile.h"

#include "data/globalvar.h"
#include "io/updaterecord.h"

#include <QString>
#include <QStringList>

namespace BenchUpdateFile {

namespace {

// A small deterministic generator (splitmix64).
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % quint64(n)); }
    double range(double lo, double hi) { return lo + (hi - lo) * double(next() >> 11) * (1.0 / 9007199254740992.0); }

private:
    quint64 m_state;
};

QString letters(Random &rnd, int n)
{
    QString out;
    for (int i = 0; i < n; ++i)
        out += QChar(u'A' + rnd.below(26));
    return out;
}

} // namespace

QByteArray wptRecords(int count, quint64 seed, const CGlobalVar &geo)
{
    static const char *const names[] = {"L'ÉTANG", "CHÂTEAU", "SAINT-GÈRE", "PÔLE", "ÎLE D'OR", "NÉVÉ"};
    static const char *const countries[] = {"FR", "DE", "GB", "IT", "ES", "CH", "BE"};
    Random rnd(seed);
    QByteArray out;
    out.reserve(qsizetype(count) * 110);
    for (int i = 0; i < count; ++i) {
        const QString ident = letters(rnd, 5);
        const QString key = ident + QString::number(i, 36).toUpper();
        const bool vfr = rnd.below(20) == 0;
        const QString name = vfr ? QString::fromUtf8(names[rnd.below(6)]) : ident;
        const int usage = vfr ? 6 : 1 + rnd.below(4);
        const double lat = rnd.range(36, 60) * 3600, lon = rnd.range(-10, 25) * 3600;
        const QStringList fields = {
            QStringLiteral("WPT"), QStringLiteral("WPT"), QStringLiteral("+"),
            QString::number(geo.tileKey(lat, lon)), ident, key, name,
            QString::fromLatin1(countries[rnd.below(7)]), QString(), QStringLiteral("78"),
            QString::number(vfr ? 10 : 6), QString::number(usage), QString::number(lat, 'f', 3),
            QString::number(lon, 'f', 3), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
            QStringLiteral("0"), QString()};
        out += fields.join(QLatin1Char(UpdateRecord::Separator)).toLatin1();
        out += UpdateRecord::LineEnd;
    }
    return out;
}

} // namespace BenchUpdateFile
