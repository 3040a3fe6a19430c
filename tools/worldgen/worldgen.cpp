// worldgen: writes a complete simulator tree at world scale, deterministic
// (same seed, same bytes): 35,000 airports with 45,000 runways, 26,000
// navaids, 120,000 waypoints, 70,000 airway segments (5,040 of them
// French), 2,000 procedure rows. Positions are clustered like real data
// (dense over Europe and North America, sparse over the oceans); keys,
// idents and names follow the simulator's conventions (ICAO idents with
// their country's prefix, navaid keys of country, type digit, ident and
// number, French-looking names with accents and apostrophes).
//   worldgen [--seed N] TARGET
#include "data/globalvar.h"
#include "tools/simtree/simtree.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <iterator>

namespace {

// splitmix64: the same numbers on every platform and library.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return int(next() % std::uint64_t(n)); }
    bool chance(double p) { return uniform() < p; }
    double normal()
    {
        const double u = std::max(uniform(), 1e-12);
        return std::sqrt(-2.0 * std::log(u)) * std::cos(2 * M_PI * uniform());
    }

private:
    std::uint64_t m_state;
};

struct Cluster {
    double lat, lon, sigma, weight;
    const char *country;
    const char *icao;   // the ICAO nationality prefix of its airports
};

// Dense over Europe and North America, sparse over oceans.
const Cluster clusters[] = {
    {46.5, 2.5, 2.6, 0.08, "FR", "LF"},    {50.5, 10.0, 3.5, 0.10, "DE", "ED"},   {52.5, -1.5, 2.5, 0.06, "GB", "EG"},
    {42.0, 13.0, 3.0, 0.05, "IT", "LI"},   {40.0, -4.0, 3.0, 0.05, "ES", "LE"},   {59.0, 16.0, 5.0, 0.03, "SE", "ES"},
    {40.0, -85.0, 7.0, 0.20, "US", "K"},   {36.0, -115.0, 6.0, 0.08, "US", "K"},  {52.0, -100.0, 8.0, 0.05, "CA", "C"},
    {-15.0, -50.0, 8.0, 0.05, "BR", "SB"}, {35.0, 115.0, 8.0, 0.07, "CN", "Z"},   {22.0, 79.0, 6.0, 0.04, "IN", "V"},
    {-28.0, 140.0, 8.0, 0.04, "AU", "Y"},  {5.0, 20.0, 14.0, 0.04, "CF", "F"},    {55.0, 60.0, 12.0, 0.06, "RU", "U"},
};

// Syllables of the names, Latin-1 only (update files carry names as Latin-1).
const char *syllables[] = {"ba", "bé", "cor", "du", "fon", "gè", "la", "lou", "mar", "mon", "né", "or", "pé", "ri",
                           "sai", "tè", "val", "vi", "zé", "châ", "ès", "ï", "ô", "rou", "sen", "ter", "vo", "ç"};
const char *articles[] = {"L'", "D'", "SAINT-", "SAINTE-", "LE ", "LA ", "PORT-"};

struct Place {
    double lat, lon;   // degrees
    int cluster;       // -1: scattered over the globe
};

QString country(const Place &p)
{
    return p.cluster < 0 ? QStringLiteral("XX") : QString::fromLatin1(clusters[p.cluster].country);
}

Place place(Random &rnd)
{
    double total = 0;
    for (const Cluster &c : clusters)
        total += c.weight;
    if (rnd.uniform() < 0.06)   // scattered over the whole globe, oceans included
        return {rnd.range(-60, 75), rnd.range(-180, 180), -1};
    double pick = rnd.uniform() * total;
    int k = 0;
    for (; k < int(std::size(clusters)) - 1; ++k) {
        if (pick < clusters[k].weight)
            break;
        pick -= clusters[k].weight;
    }
    const Cluster &c = clusters[k];
    // Drawn again rather than clamped, so that no points pile up on a
    // latitude limit.
    for (;;) {
        const double lat = c.lat + rnd.normal() * c.sigma;
        double lon = c.lon + rnd.normal() * c.sigma * 1.4;
        if (lat < -80 || lat > 80)
            continue;
        if (lon > 180) lon -= 360;
        if (lon <= -180) lon += 360;
        return {lat, lon, k};
    }
}

QString word(Random &rnd)
{
    QString w;
    const int n = 2 + rnd.below(2);
    for (int i = 0; i < n; ++i)
        w += QString::fromUtf8(syllables[rnd.below(int(std::size(syllables)))]);
    return w.toUpper();
}

// A place name of one to three words, now and then with an article or a
// hyphen ("L'ORVAL", "SAINT-BÉLOU", "MARNÉ-LA-VILLE"), at most `limit`
// characters.
QString placeName(Random &rnd, int words, int limit)
{
    QString out;
    if (rnd.chance(0.12))
        out += QString::fromLatin1(articles[rnd.below(int(std::size(articles)))]);
    for (int w = 0; w < words; ++w) {
        if (w > 0)
            out += rnd.below(3) == 0 ? u'-' : u' ';
        out += word(rnd);
    }
    return out.left(limit);
}

QString letters(Random &rnd, int count)
{
    QString out;
    for (int i = 0; i < count; ++i)
        out += QChar(u'A' + rnd.below(26));
    return out;
}

QString digits(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QChar(u'0'));
}

// A text column with no value holds an empty text, never NULL.
const QString Empty = QString::fromLatin1("");

class Writer
{
public:
    Writer(const QString &path, const QString &connection) : m_connection(connection)
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        m_db.setDatabaseName(path);
        m_ok = m_db.open();
    }
    ~Writer()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
    }
    bool exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        if (!q.exec(sql)) {
            m_error = q.lastError().text();
            return false;
        }
        return true;
    }
    // Inserts rows into a table with as many bound values as it has columns.
    bool insert(const QString &table, int columns, const std::function<QVariantList(int)> &row, int count)
    {
        QStringList marks;
        for (int i = 0; i < columns; ++i)
            marks << QStringLiteral("?");
        QSqlQuery q(m_db);
        if (!q.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, marks.join(u',')))) {
            m_error = q.lastError().text();
            return false;
        }
        for (int i = 0; i < count; ++i) {
            const QVariantList values = row(i);
            for (int c = 0; c < columns; ++c)
                q.bindValue(c, c < values.size() ? values.at(c) : QVariant(0));
            if (!q.exec()) {
                m_error = QStringLiteral("%1 row %2: %3").arg(table).arg(i).arg(q.lastError().text());
                return false;
            }
        }
        return true;
    }
    bool ok() const { return m_ok; }
    QString error() const { return m_error; }

private:
    QString m_connection;
    QSqlDatabase m_db;
    bool m_ok = false;
    QString m_error;
};

// Text columns are padded with empty texts, the others with 0.
QVariantList padded(QVariantList values, int columns, const QSet<int> &textColumns = {})
{
    while (values.size() < columns)
        values << (textColumns.contains(int(values.size())) ? QVariant(Empty) : QVariant(0));
    return values;
}

constexpr double FeetPerDegree = 364567.2;   // one degree of latitude

struct Airport {
    Place at;
    QString ident;   // key and ICAO ident
    QString name;
    int type = 1;    // 1 land, 2 seaplane base, 3 heliport
    int runways = 0;
    int longest = 0;
};

struct Runway {
    int airport;
    int length;      // feet
    double heading;  // true heading of the low end, degrees in [0, 180)
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    std::uint64_t seed = 20261206;
    const qsizetype seedAt = args.indexOf(QStringLiteral("--seed"));
    if (seedAt >= 0 && seedAt + 1 < args.size()) {
        seed = args.at(seedAt + 1).toULongLong();
        args.remove(seedAt, 2);
    }
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "usage: worldgen [--seed N] TARGET\n";
        return 2;
    }
    const QString root = QDir(args.first()).absolutePath();
    QString error;
    // The demo tree gives the schema, the versions, the ini file and the aircraft.
    if (!SimTree::buildFromDemo(SimTree::demoDir(), root, &error)) {
        err << "worldgen: " << error << "\n";
        return 1;
    }
    CGlobalVar geo;
    geo.buildTileTables();
    Random rnd(seed);
    const QDir sql(root + QStringLiteral("/SQL"));

    constexpr int airportCount = 35000, runwayCount = 45000, navaidCount = 26000, waypointCount = 120000;
    constexpr int routes = 5000, segmentsPerRoute = 14, frenchRoutes = 360, procedures = 400, pointsPerProcedure = 5;

    // Airports: an ICAO ident with the prefix of their country while the
    // prefix has room, else a local code of the prefix and four digits
    // (as small French fields have).
    QList<Airport> airports;
    airports.reserve(airportCount);
    {
        QSet<QString> taken;
        QHash<QString, int> localCodes;
        for (int i = 0; i < airportCount; ++i) {
            Airport a;
            a.at = place(rnd);
            const QString prefix = a.at.cluster < 0 ? letters(rnd, 2) : QString::fromLatin1(clusters[a.at.cluster].icao);
            for (int attempt = 0; attempt < 6 && a.ident.isEmpty(); ++attempt) {
                const QString candidate = prefix + letters(rnd, 4 - int(prefix.size()));
                if (!taken.contains(candidate))
                    a.ident = candidate;
            }
            if (a.ident.isEmpty()) {
                do {
                    a.ident = prefix + digits(++localCodes[prefix], 4);
                } while (taken.contains(a.ident));
            }
            taken.insert(a.ident);
            const int kind = rnd.below(100);
            a.type = kind < 90 ? 1 : kind < 91 ? 2 : 3;
            a.name = placeName(rnd, 1 + rnd.below(3), 40);
            airports << a;
        }
    }
    // Every airport but the heliports has a runway; the rest go to land
    // airports, the big ones getting several.
    QList<Runway> runways;
    runways.reserve(runwayCount);
    for (int i = 0; i < airportCount && runways.size() < runwayCount; ++i) {
        if (airports[i].type != 3)
            runways << Runway{i, 0, 0};
    }
    while (runways.size() < runwayCount) {
        const int a = rnd.below(airportCount);
        if (airports[a].type == 1)
            runways << Runway{a, 0, 0};
    }
    std::stable_sort(runways.begin(), runways.end(), [](const Runway &a, const Runway &b) { return a.airport < b.airport; });
    for (Runway &r : runways) {
        r.length = 100 * (20 + rnd.below(100));
        r.heading = rnd.range(0, 180);
        Airport &a = airports[r.airport];
        ++a.runways;
        a.longest = std::max(a.longest, r.length);
    }

    {
        Writer gen(sql.filePath(QStringLiteral("GEN.db")), QStringLiteral("worldgen-gen"));
        bool ok = gen.ok() && gen.exec(QStringLiteral("DELETE FROM APT")) && gen.exec(QStringLiteral("DELETE FROM RWY"))
                && gen.exec(QStringLiteral("DELETE FROM NAV")) && gen.exec(QStringLiteral("DELETE FROM COM"))
                && gen.exec(QStringLiteral("DELETE FROM ILS")) && gen.exec(QStringLiteral("BEGIN"));
        // APT: text columns 1-7, 14-17.
        const QSet<int> aptText = {1, 2, 3, 4, 5, 6, 7, 14, 15, 16, 17};
        ok = ok && gen.insert(QStringLiteral("APT"), 50, [&](int i) {
            const Airport &a = airports.at(i);
            const double lat = a.at.lat * 3600, lon = a.at.lon * 3600;
            QVariantList row{geo.tileKey(lat, lon), a.ident, Empty, a.ident, a.name, country(a.at), Empty, Empty,
                             a.type, lat, lon, rnd.below(8000)};
            row = padded(row, 45, aptText);
            row << a.runways << a.longest;
            return padded(row, 50, aptText);
        }, airportCount);
        // RWY: both ends, positions from the length and the heading.
        const QSet<int> rwyText = {1, 13, 42};
        QList<int> sequence(airportCount, 0);
        ok = ok && gen.insert(QStringLiteral("RWY"), 71, [&](int i) {
            const Runway &r = runways.at(i);
            const Airport &a = airports.at(r.airport);
            const double half = r.length / 2.0 / FeetPerDegree;
            const double dLat = half * std::cos(r.heading * M_PI / 180);
            const double dLon = half * std::sin(r.heading * M_PI / 180) / std::cos(a.at.lat * M_PI / 180);
            const int elevation = rnd.below(8000);
            QVariantList row = padded({++sequence[r.airport], a.ident, r.length, 45 + rnd.below(100), 1 + rnd.below(5)},
                                      13, rwyText);
            const int number = std::clamp(int(std::lround(r.heading / 10)), 1, 18);
            // The high end lies on the side the low end's heading points to.
            row << digits(number + 18, 2) << (a.at.lat + dLat) * 3600 << (a.at.lon + dLon) * 3600 << elevation
                << r.heading + 180 << r.heading + 180;
            row = padded(row, 42, rwyText);
            row << digits(number, 2) << (a.at.lat - dLat) * 3600 << (a.at.lon - dLon) * 3600 << elevation << r.heading
                << r.heading;
            return padded(row, 71, rwyText);
        }, runwayCount);
        // NAV: key = country, type digit, ident, running number.
        struct NavType {
            int ntyp;
            char digit;
            const char *word;
        };
        const NavType navTypes[] = {{1, '1', "VOR"},     {4, '2', "TACAN"}, {5, '2', "VORTAC"}, {8, '5', "NDB"},
                                    {8, '5', "NDB"},     {8, '5', "NDB"},   {16, '3', "DME"},   {17, '4', "VOR-DME"},
                                    {17, '4', "VOR-DME"}, {24, '7', "NDB-DME"}};
        QHash<QString, int> navNumbers;
        ok = ok && gen.insert(QStringLiteral("NAV"), 17, [&](int) {
            const Place p = place(rnd);
            const NavType &type = navTypes[rnd.below(int(std::size(navTypes)))];
            const bool ndb = type.ntyp == 8 || type.ntyp == 24;
            const QString id = letters(rnd, ndb ? 2 : 3);
            const QString prefix = country(p) + QLatin1Char(type.digit) + id;
            const QString key = prefix + QString::number(++navNumbers[prefix]);
            const QString name = placeName(rnd, 1 + rnd.below(2), 32) + u' ' + QLatin1String(type.word);
            const double lat = p.lat * 3600, lon = p.lon * 3600;
            const int range = ndb ? 15 + rnd.below(60) : 25 + rnd.below(180);
            const int usage = ndb ? (range < 30 ? 4 : 2) : (range >= 130 ? 1 : range >= 60 ? 3 : 2);
            const double frequency = ndb ? 190.0 + rnd.below(1500) : 108.0 + rnd.below(200) * 0.05;
            const double variation = ndb ? 0.0 : std::round(rnd.range(-15, 15));
            return QVariantList{geo.tileKey(lat, lon), key, id, name, frequency, variation, variation, country(p), Empty,
                                type.ntyp, 0, usage, lat, lon, rnd.below(3000), 0, range};
        }, navaidCount);
        ok = ok && gen.exec(QStringLiteral("COMMIT"));
        if (!ok) {
            err << "worldgen: GEN: " << gen.error() << "\n";
            return 1;
        }
    }
    {
        // WPT: named fixes (five letters, key = ident + country, a number
        // added when taken), VFR reporting points (N, SE, W1 ... named after
        // the place).
        Writer wpt(sql.filePath(QStringLiteral("WPT.db")), QStringLiteral("worldgen-wpt"));
        const char *vfrCodes[] = {"N", "S", "E", "W", "NE", "NW", "SE", "SW", "N1", "S2", "E1", "W2", "NA", "SB"};
        QSet<QString> keys;
        bool ok = wpt.ok() && wpt.exec(QStringLiteral("DELETE FROM WPT")) && wpt.exec(QStringLiteral("BEGIN"))
                && wpt.insert(QStringLiteral("WPT"), 16, [&](int) {
                       const Place p = place(rnd);
                       const int draw = rnd.below(100);
                       // 1 high, 2 low, 3 both (on airways), 4 terminal, 6 VFR
                       const int usage = draw < 15 ? 1 : draw < 30 ? 2 : draw < 45 ? 3 : draw < 95 ? 4 : 6;
                       const bool vfr = usage == 6;
                       const QString id = vfr ? QString::fromLatin1(vfrCodes[rnd.below(int(std::size(vfrCodes)))])
                                              : letters(rnd, 5);
                       const QString base = id + country(p);
                       QString key = base;
                       for (int n = 1; keys.contains(key); ++n)
                           key = base + QString::number(n);
                       keys.insert(key);
                       const QString name = vfr ? placeName(rnd, 1 + rnd.below(2), 26) : id;
                       const double lat = p.lat * 3600, lon = p.lon * 3600;
                       return QVariantList{geo.tileKey(lat, lon), id, key, name, country(p), Empty, QStringLiteral("78"),
                                           vfr ? 10 : 6, usage, lat, lon, 0, 0.0, 0.0, 0.0, Empty};
                   }, waypointCount)
                && wpt.exec(QStringLiteral("COMMIT"));
        if (!ok) {
            err << "worldgen: WPT: " << wpt.error() << "\n";
            return 1;
        }
    }
    {
        Writer route(sql.filePath(QStringLiteral("ROUTE.db")), QStringLiteral("worldgen-route"));
        const char levels[] = {'L', 'H', 'B'};
        // Routes are chains of segments; the first ones are French and stay
        // over France (they turn back at its edges).
        QString routeId, level;
        Place at{0, 0, -1};
        QString atCountry;
        double heading = 0;
        bool french = false;
        bool ok = route.ok() && route.exec(QStringLiteral("DELETE FROM ATSROUTE"))
                && route.exec(QStringLiteral("DELETE FROM SIDSTAR")) && route.exec(QStringLiteral("BEGIN"));
        ok = ok && route.insert(QStringLiteral("ATSROUTE"), 26, [&](int i) {
            const int r = i / segmentsPerRoute, seq = i % segmentsPerRoute;
            if (seq == 0) {
                routeId = QStringLiteral("%1%2").arg(QChar(u'A' + r % 26)).arg(r);
                level = QString(QChar::fromLatin1(levels[r % 3]));
                french = r < frenchRoutes;
                at = french ? Place{rnd.range(43, 50.5), rnd.range(-3, 7), 0} : place(rnd);
                atCountry = french ? QStringLiteral("FR") : country(at);
                if (!french && atCountry == QLatin1String("FR"))
                    atCountry = QStringLiteral("XF");   // keep the French share at 5,040
                heading = rnd.range(0, 2 * M_PI);
            }
            heading += rnd.normal() * 0.3;
            const double step = 0.3 + rnd.uniform() * 0.6;
            Place next{at.lat + step * std::cos(heading), at.lon + step * std::sin(heading), at.cluster};
            if (french && (next.lat < 42.5 || next.lat > 51 || next.lon < -4.5 || next.lon > 8)) {
                // Back towards the middle of France.
                heading = std::atan2(2.0 - at.lon, 46.5 - at.lat) + rnd.normal() * 0.2;
                next = {at.lat + step * std::cos(heading), at.lon + step * std::sin(heading), at.cluster};
            }
            next.lat = std::clamp(next.lat, -85.0, 85.0);
            if (next.lon > 180) next.lon -= 360;
            if (next.lon <= -180) next.lon += 360;
            QVariantList row{geo.tileKey(at.lat * 3600, at.lon * 3600),
                             routeId + digits((seq + 1) * 10, 4), routeId, (seq + 1) * 10, 0, 1, 0, level, 0,
                             QStringLiteral("N%1").arg(i), 0, letters(rnd, 3), atCountry,
                             QStringLiteral("N%1").arg(i + 1), 0, letters(rnd, 3), atCountry, step * 60, 0, 0, 3000, 45000,
                             at.lat * 3600, at.lon * 3600, next.lat * 3600, next.lon * 3600};
            at = next;
            return row;
        }, routes * segmentsPerRoute);
        ok = ok && route.insert(QStringLiteral("SIDSTAR"), 11, [&](int i) {
            const int proc = i / pointsPerProcedure, point = i % pointsPerProcedure;
            const int airport = (proc / 2) * 17 % airportCount;
            const Airport &a = airports.at(airport);
            const QString procName = QStringLiteral("%1%2").arg(letters(rnd, 3)).arg(proc % 10);
            const bool ends = point == 0 || point == pointsPerProcedure - 1;
            const double lat = (a.at.lat + point * 0.05) * 3600, lon = (a.at.lon + point * 0.05) * 3600;
            return QVariantList{0, QStringLiteral("P%1%2").arg(proc).arg((point + 1) * 10), a.ident,
                                QStringLiteral("PROC%1").arg(proc), (point + 1) * 10, proc % 2 ? 1 : 2,
                                ends ? a.ident : procName, ends ? 0 : 4096, 0, lat, lon};
        }, procedures * pointsPerProcedure);
        ok = ok && route.exec(QStringLiteral("COMMIT"));
        if (!ok) {
            err << "worldgen: ROUTE: " << route.error() << "\n";
            return 1;
        }
    }
    for (const char *db : {"GEN.db", "WPT.db", "ROUTE.db"}) {
        Writer w(sql.filePath(QString::fromLatin1(db)), QStringLiteral("worldgen-vacuum"));
        w.exec(QStringLiteral("VACUUM"));
    }
    QTextStream(stdout) << "worldgen: " << root << " airports=" << airportCount << " runways=" << runwayCount
                        << " navaids=" << navaidCount << " waypoints=" << waypointCount
                        << " ats_segments=" << routes * segmentsPerRoute << "\n";
    return 0;
}
