#include "tests/hostile/hostiledata.h"

#include "tests/support/simfixture.h"

#include <QPointF>
#include <QStringList>

#include <cmath>
#include <limits>

namespace HostileData {

namespace {

const double Inf = std::numeric_limits<double>::infinity();

// Names within 26 characters (the shortest name column, WPT.name).
const QString Quotes = QStringLiteral("O'Hare \"Intl\" </script>");
const QString Slashes = QStringLiteral("Back\\slash;a;b--&amp;<b>");
const QString Breaks = QStringLiteral("Un\nDeux\r\nTrois\u2028x\u2029y");
const QString Wide = QStringLiteral("\u03a9\u03bc\u03ad\u03b3\u03b1 \u5317\u4eac \u2603");
const QString Percent = QStringLiteral("100 % %1 %2 $1 \\u0041");
const QString Latin = QStringLiteral("Z\u00fcrich-Kloten \u00c6r\u00f8 \u00c7a");
// Airports may have 40 characters.
const QString Script = QStringLiteral("</script><script>hacked=1</script>'\"");

QList<Row> makeRows()
{
    auto apt = [](const QString &key, const QString &ident, const QString &name, QVariant lat, QVariant lon,
                  QVariant type) {
        Row r;
        r.table = QStringLiteral("APT");
        r.key = key;
        r.ident = ident;
        r.name = name;
        r.lat = lat;
        r.lon = lon;
        r.code = type;
        return r;
    };
    auto nav = [](const QString &key, const QString &ident, const QString &name, QVariant lat, QVariant lon,
                  QVariant type, QVariant usage, QVariant frequency) {
        Row r;
        r.table = QStringLiteral("NAV");
        r.key = key;
        r.ident = ident;
        r.name = name;
        r.lat = lat;
        r.lon = lon;
        r.code = type;
        r.usage = usage;
        r.frequency = frequency;
        return r;
    };
    auto wpt = [](const QString &key, const QString &ident, const QString &name, QVariant lat, QVariant lon,
                  QVariant usage, bool onMap = true) {
        Row r;
        r.table = QStringLiteral("WPT");
        r.key = key;
        r.ident = ident;
        r.name = name;
        r.lat = lat;
        r.lon = lon;
        r.code = usage;
        r.onMap = onMap;
        return r;
    };
    const QVariant null;
    return {
        apt("Q'1", "O'H\"1", Quotes, 173160.0, 7560.0, 1),
        apt("Q\"2", "A\\;B", Slashes, null, null, null),
        apt("Q\\3", "<I>&", Breaks, 173000.0, 1e7, 1),
        apt("Q;4", QString::fromUtf8("\u00c9-\u00dc"), Wide, 172800.0, -1e9, 2),
        apt("Q<5>&", "%1%2", Percent, 172500.0, 1e300, 3),
        apt(QString::fromUtf8("Q\u00dc6"), "L1\nL2", Latin, 172000.0, 8000.0, 1),
        apt("Q7", "S7", Script, Inf, -Inf, 1),

        nav("V'0", "O'H\"", Quotes, 173300.0, 7700.0, 0, 1, 113.5),
        nav("V\"2", "A\\;B", Slashes, 173400.0, 1e7, 2, 99, null),
        nav("V\\99", "<I>&", Breaks, 173500.0, -1e9, 99, 4, 1e300),
        nav("V;N", QString::fromUtf8("\u00c9-\u00dc"), Wide, null, null, null, null, 112.0),
        nav("V<8>&", "%1%2", Percent, 173600.0, 1e300, 8, 4, 356.0),
        nav(QString::fromUtf8("V\u00dc24"), "L1\nL2", Latin, 173700.0, 7900.0, 24, 2, 400.0),

        wpt("W'1", "O'H\"", Quotes, 173800.0, 7800.0, 1),
        wpt("W\"2", "A\\;B", Slashes, null, null, null),
        wpt("W\\3", "<I>&", Breaks, 173900.0, 1e7, 6),
        wpt("W;4", QString::fromUtf8("\u00c9-\u00dc"), Wide, 174000.0, -1e9, 4),
        wpt("W<5>&", "%1%2", Percent, 174100.0, 1e300, 2),
        wpt(QString::fromUtf8("W\u00dc6"), "L1\nL2", Latin, 174200.0, 8100.0, 3),
        // Not on the map: only wloc 78 is.
        wpt("WH1", "H1", "HIDDEN 77", 174300.0, 8200.0, 1, false),
        wpt("WH2", "H2", "HIDDEN NULL", 174300.0, 8300.0, 1, false),
        wpt("WH3", "H3", "HIDDEN 078", 174300.0, 8400.0, 1, false),
    };
}

// An SQL literal: quotes doubled, line breaks and the other control and
// separator characters through char(), so the script splitter and SQLite
// see plain text.
QString sqlText(const QString &text)
{
    QStringList parts;
    QString current;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c == QChar(0x2028) || c == QChar(0x2029)) {
            parts << u'\'' + current + u'\'';
            parts << QStringLiteral("char(%1)").arg(c.unicode());
            current.clear();
        } else if (c == u'\'') {
            current += QStringLiteral("''");
        } else {
            current += c;
        }
    }
    parts << u'\'' + current + u'\'';
    return parts.join(QStringLiteral(" || "));
}

QString sqlValue(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("NULL");
    if (v.typeId() == QMetaType::QString)
        return sqlText(v.toString());
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        if (std::isinf(d))
            return d > 0 ? QStringLiteral("9e999") : QStringLiteral("-9e999");
        return QString::number(d, 'g', 17);
    }
    return v.toString();
}

QString insert(const QString &table, const QStringList &columns, const QVariantList &values)
{
    QStringList out;
    for (const QVariant &v : values)
        out << sqlValue(v);
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3);\n").arg(table, columns.join(u','), out.join(u','));
}

} // namespace

const QList<Row> &rows()
{
    static const QList<Row> all = makeRows();
    return all;
}

QList<Row> rows(const QString &table)
{
    QList<Row> out;
    for (const Row &r : rows())
        if (r.table == table)
            out << r;
    return out;
}

const Row &row(const QString &key)
{
    for (const Row &r : rows())
        if (r.key == key)
            return r;
    qFatal("no hostile row %s", qPrintable(key));
}

QString runwayAirport() { return QString::fromUtf8("Q\u00dc6"); }
QString runwayHigh() { return QStringLiteral("0'9\""); }
QString runwayLow() { return QStringLiteral("<27>&"); }
QString procedureName() { return QStringLiteral("S'1\"</script>\\"); }
QStringList procedureIdents() { return {QStringLiteral("O'H\"1"), QStringLiteral("A\\;B"), QStringLiteral("L1\nL2")}; }
QString routeName() { return QStringLiteral("R'1\"<"); }

QStringList hostileTexts()
{
    return {Quotes, Slashes, Breaks, Wide, Percent, Latin, Script};
}

bool addTo(SimFixture &sim, QString *error)
{
    QString gen;
    QString wpt;
    for (const Row &r : rows()) {
        if (r.table == QLatin1String("APT")) {
            gen += insert(QStringLiteral("APT"),
                          {"tile", "ukey", "afaa", "iden", "name", "ctry", "atyp", "alat", "alon", "aele", "anrw"},
                          {0, r.key, QString(), r.ident, r.name, QStringLiteral("FR"), r.code, r.lat, r.lon, QVariant(),
                           r.key == runwayAirport() ? 2 : 0});
        } else if (r.table == QLatin1String("NAV")) {
            gen += insert(QStringLiteral("NAV"),
                          {"tile", "ukey", "iden", "name", "nfrq", "ctry", "stat", "ntyp", "nuse", "nlat", "nlon"},
                          {0, r.key, r.ident, r.name, r.frequency, QStringLiteral("FR"), QString(), r.code, r.usage,
                           r.lat, r.lon});
        } else {
            // wloc is a TEXT column; 78 stored as the simulator stores it.
            QVariant wloc = QStringLiteral("78");
            if (!r.onMap)
                wloc = r.name.endsWith(QLatin1String("NULL")) ? QVariant() : QVariant(r.name.section(u' ', 1));
            wpt += insert(QStringLiteral("WPT"),
                          {"tile", "iden", "ukey", "name", "ctry", "stat", "wloc", "wtyp", "wuse", "wlat", "wlon"},
                          {0, r.ident, r.key, r.name, QStringLiteral("FR"), QString(), wloc, 6, r.code, r.lat, r.lon});
        }
    }
    // Runways of one hostile airport: one with hostile end ids, one with
    // NULL ends.
    gen += insert(QStringLiteral("RWY"), {"nseq", "rapt", "rhid", "rhla", "rhlo", "rhht", "rlid", "rlla", "rllo", "rlht"},
                  {1, runwayAirport(), runwayHigh(), 172010.0, 8010.0, 100, runwayLow(), 171990.0, 7990.0, 100});
    gen += insert(QStringLiteral("RWY"), {"nseq", "rapt", "rhid", "rlid"},
                  {2, runwayAirport(), QStringLiteral("N\"1"), QStringLiteral("N'2")});

    // A procedure of the hostile airport Q'1: the airport, a fix, a navaid
    // of an unknown type without a position.
    QString route;
    const QStringList idents = procedureIdents();
    const QList<QVariantList> fixes = {{10, idents[0], 0, 173160.0, 7560.0},
                                       {20, idents[1], 4096, 173500.0, 7600.0},
                                       {30, idents[2], 99, QVariant(), QVariant()}};
    for (const QVariantList &f : fixes) {
        route += insert(QStringLiteral("SIDSTAR"),
                        {"tile", "skey", "sapt", "strm", "sqnm", "styp", "swid", "swpt", "salt", "slat", "slon"},
                        {0, procedureName() + f[0].toString(), QStringLiteral("Q'1"), procedureName(), f[0], 2, f[1],
                         f[2], QVariant(), f[3], f[4]});
    }
    // A route of the filter's country: a segment with a NULL end and one far
    // outside the turn.
    route += insert(QStringLiteral("ATSROUTE"),
                    {"tile", "akey", "aaid", "seqn", "levl", "nvi1", "nvc1", "nvi2", "nvc2", "lat1", "lon1", "lat2", "lon2"},
                    {0, routeName() + QStringLiteral("0010"), routeName(), 10, QStringLiteral("L"), QStringLiteral("O'H\""),
                     QStringLiteral("FR"), QStringLiteral("<I>&"), QStringLiteral("FR"), 173000.0, 7000.0, QVariant(), 1e300});
    route += insert(QStringLiteral("ATSROUTE"),
                    {"tile", "akey", "aaid", "seqn", "levl", "nvi1", "nvc1", "nvi2", "nvc2", "lat1", "lon1", "lat2", "lon2"},
                    {0, routeName() + QStringLiteral("0020"), routeName(), 20, QStringLiteral("L"), QStringLiteral("<I>&"),
                     QStringLiteral("FR"), QStringLiteral("A\\;B"), QStringLiteral("FR"), QVariant(), 1e300, 174000.0, 8000.0});

    const bool ok = sim.exec(QStringLiteral("GEN.db"), gen) && sim.exec(QStringLiteral("WPT.db"), wpt)
                    && sim.exec(QStringLiteral("ROUTE.db"), route);
    if (!ok && error)
        *error = sim.lastError();
    return ok;
}

bool readJsString(const QString &script, qsizetype *pos, QString *out)
{
    qsizetype i = *pos;
    if (i >= script.size() || (script[i] != u'"' && script[i] != u'\''))
        return false;
    const QChar quote = script[i++];
    out->clear();
    while (i < script.size()) {
        const QChar c = script[i++];
        if (c == quote) {
            *pos = i;
            return true;
        }
        // A raw line terminator ends a JavaScript string with an error.
        if (c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029))
            return false;
        if (c != u'\\') {
            *out += c;
            continue;
        }
        if (i >= script.size())
            return false;
        const QChar e = script[i++];
        switch (e.unicode()) {
        case 'n': *out += u'\n'; break;
        case 'r': *out += u'\r'; break;
        case 't': *out += u'\t'; break;
        case 'b': *out += u'\b'; break;
        case 'f': *out += u'\f'; break;
        case 'v': *out += u'\v'; break;
        case '0': *out += QChar(0); break;
        case 'u': {
            bool ok = false;
            const uint code = script.mid(i, 4).toUInt(&ok, 16);
            if (!ok || script.mid(i, 4).size() != 4)
                return false;
            *out += QChar(char16_t(code));
            i += 4;
            break;
        }
        case 'x': {
            bool ok = false;
            const uint code = script.mid(i, 2).toUInt(&ok, 16);
            if (!ok)
                return false;
            *out += QChar(char16_t(code));
            i += 2;
            break;
        }
        default:
            *out += e;   // \\ \" \' and any other escaped character stand for themselves
        }
    }
    return false;
}

namespace {

void skipSpace(const QString &s, qsizetype *i)
{
    while (*i < s.size() && s[*i].isSpace())
        ++*i;
}

QString word(const QString &s, qsizetype *i)
{
    const qsizetype start = *i;
    while (*i < s.size() && (s[*i].isLetterOrNumber() || s[*i] == u'_' || s[*i] == u'.' || s[*i] == u'$'))
        ++*i;
    return s.mid(start, *i - start);
}

bool number(const QString &s, qsizetype *i, double *out)
{
    const qsizetype start = *i;
    while (*i < s.size() && (s[*i].isDigit() || QStringView(u"+-.eE").contains(s[*i])))
        ++*i;
    bool ok = false;
    *out = s.mid(start, *i - start).toDouble(&ok);
    return ok;
}

bool argument(const QString &s, qsizetype *i, QVariant *out)
{
    skipSpace(s, i);
    if (*i >= s.size())
        return false;
    const QChar c = s[*i];
    if (c == u'"' || c == u'\'') {
        QString text;
        if (!readJsString(s, i, &text))
            return false;
        *out = text;
        return true;
    }
    if (c.isDigit() || c == u'-' || c == u'+' || c == u'.') {
        double d = 0;
        if (!number(s, i, &d))
            return false;
        *out = d;
        return true;
    }
    if (s.mid(*i).startsWith(QLatin1String("new google.maps.LatLng("))) {
        *i += int(qstrlen("new google.maps.LatLng("));
        double lat = 0, lng = 0;
        skipSpace(s, i);
        if (!number(s, i, &lat))
            return false;
        skipSpace(s, i);
        if (*i >= s.size() || s[*i] != u',')
            return false;
        ++*i;
        skipSpace(s, i);
        if (!number(s, i, &lng))
            return false;
        skipSpace(s, i);
        if (*i >= s.size() || s[*i] != u')')
            return false;
        ++*i;
        *out = QPointF(lng, lat);
        return true;
    }
    const QString w = word(s, i);
    if (w.isEmpty())
        return false;
    *out = w;
    return true;
}

} // namespace

bool parseCalls(const QString &script, QList<Call> *calls, QString *error)
{
    qsizetype i = 0;
    auto fail = [&](const char *what) {
        if (error)
            *error = QStringLiteral("%1 at %2: ...%3").arg(QLatin1String(what)).arg(i).arg(script.mid(i, 60));
        return false;
    };
    for (;;) {
        skipSpace(script, &i);
        while (i < script.size() && script[i] == u';') {
            ++i;
            skipSpace(script, &i);
        }
        if (i >= script.size())
            return true;
        Call call;
        call.function = word(script, &i);
        if (call.function.isEmpty())
            return fail("no function name");
        skipSpace(script, &i);
        if (i >= script.size() || script[i] != u'(')
            return fail("no opening parenthesis");
        ++i;
        skipSpace(script, &i);
        if (i < script.size() && script[i] == u')') {
            ++i;
        } else {
            for (;;) {
                QVariant arg;
                if (!argument(script, &i, &arg))
                    return fail("bad argument");
                call.args << arg;
                skipSpace(script, &i);
                if (i < script.size() && script[i] == u',') {
                    ++i;
                    continue;
                }
                if (i < script.size() && script[i] == u')') {
                    ++i;
                    break;
                }
                return fail("no closing parenthesis");
            }
        }
        // A comma expression after the call ("addToATS(pos),'ATS'"): its
        // operands go with the call.
        skipSpace(script, &i);
        while (i < script.size() && script[i] == u',') {
            ++i;
            QVariant arg;
            if (!argument(script, &i, &arg))
                return fail("bad operand");
            call.args << arg;
            skipSpace(script, &i);
        }
        calls->append(call);
        if (i < script.size() && script[i] != u';')
            return fail("no separator");
    }
}

} // namespace HostileData
