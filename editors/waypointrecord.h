#pragma once

#include <QString>
#include <QStringList>

class QSqlQuery;

// One row of the WPT table as the waypoint editor reads and writes it, with
// the texts made from it. In WPT the ident comes before the key.
class CWaypointRecord
{
public:
    // Type codes (wtyp) of the type radios: 1 unnamed, 4 NDB, 6 named,
    // 9 off route, 10 VFR, 12 RNAV; usage codes (wuse): 1 high, 2 low,
    // 3 both, 4 terminal, 5 RNAV, 6 VFR. 0: no radio.
    static bool isTypeCode(int wtyp);
    static bool isUsageCode(int wuse);
    // The usage shown in the info text: "VFR" for the VFR type, otherwise
    // "High", "Low", "High/Low", "Terminal", "RNAV" by usage, or nothing.
    static QString usageName(int wtyp, int wuse);

    // The ident and key a typed name gives: its first 4 characters, and its
    // first 5 followed by the country ("ABCDEF", "FR": "ABCD", "ABCDEFR").
    static QString identForName(const QString &name);
    static QString keyForName(const QString &name, const QString &country);
    // A key taking another country: its last two characters make way for it.
    static QString keyForCountry(const QString &key, const QString &country);

    // The row the query stands on (SELECT * on WPT); positions as stored.
    static CWaypointRecord fromQuery(const QSqlQuery &query);

    // The 16 values in table order, as text.
    QStringList values() const;
    // "WPT;WPT;+;" and the 16 values.
    QString updateRecord() const;
    // addWPTMarker2 with the usage code (4 when none is set); after the
    // info text the key arguments of CMarkerTitle, with the longer keys
    // given.
    QString mapCommand(const QStringList &longerKeys = {}) const;
    QString info() const;

    QString tile = QStringLiteral("0");
    QString iden;
    QString ukey;
    QString name;
    QString ctry;
    QString stat;
    qint32 wloc = 78;   // what the map loads new waypoints by
    int wtyp = 0;
    int wuse = 0;
    QString wlat = QStringLiteral("0.00");   // arc-seconds, as the form shows them
    QString wlon = QStringLiteral("0.00");
    double walt = 0;
    double wmag = 0;
    double wbrg = 0;
    double wdis = 0;
    QString wnav;
};
