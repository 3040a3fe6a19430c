#pragma once

#include <QString>
#include <QStringList>

class QSqlQuery;

// One row of the NAV table as the navaid editor reads and writes it, with
// the texts made from it: the 17 values in table order, the update record
// and the map command that puts the navaid's marker on the page.
class CNavaidRecord
{
public:
    // The type radios of the editor.
    enum Type { NoType, Vor, Tacan, Ndb, VorDme, NdbDme };
    // The usage radios.
    enum Usage { NoUsage, High, Low, Both, Terminal, Rnav };

    // ntyp written for a type: 1, 5, 8, 17, 24; 0 without a type.
    static int typeCode(Type type);
    // The type a stored ntyp selects: the code each type writes (1, 5, 8,
    // 17, 24) and 4, under which the simulator's data files TACANs; any
    // other value selects none.
    static Type typeOfCode(int ntyp);
    // The ntyp to write for the type checked on the form: the stored code
    // as long as the form shows the type that code selected (so a code
    // without a radio, or a TACAN filed under 4, is kept), else the code of
    // the checked type.
    static int typeToWrite(int storedNtyp, Type checked);
    // Digit of the key: VOR 1, TACAN 2, VOR DME 4, NDB 5, NDB DME 7; 0.
    static int keyDigit(Type type);
    // nuse: High 1, Low 2, Both 3, Terminal 4, RNAV 5; 0 without a usage.
    static int usageCode(Usage usage);
    static Usage usageOfCode(int nuse);

    static bool isNdbCode(int ntyp) { return ntyp == 8 || ntyp == 24; }
    // NDBs: 180 <= kHz < 1750; every other code: 108 <= MHz < 118.
    static bool frequencyInRange(int ntyp, double frequency);

    // Country, key digit and ident: "FR1PGS".
    static QString keyPrefix(const QString &country, int keyDigit, const QString &ident);
    // The key digit for the type checked on the form of this row: while the
    // form shows the stored type, the digit the stored key carries after
    // the stored country (a type without a radio has one too: 3 for the
    // 16s), else the checked type's digit.
    int keyDigitFor(Type checked) const;

    // The row the query stands on (SELECT * on NAV); positions as stored,
    // as the form shows them (nlat and nlon in fixed-point, 2 decimals).
    static CNavaidRecord fromQuery(const QSqlQuery &query);

    // The 17 values in table order, as text.
    QStringList values() const;
    // "GEN;NAV;+;" and the 17 values.
    QString updateRecord() const;
    // addNDBMarker2 for NDBs (8, 24), addVORMarker2 for every other type,
    // as the map loads them; after the info text the key arguments of
    // CMarkerTitle, with the longer keys given.
    QString mapCommand(const QStringList &longerKeys = {}) const;
    // The info HTML of the marker.
    QString info() const;

    QString tile = QStringLiteral("0");
    QString ukey;
    QString iden;
    QString name;
    double nfrq = 0;
    double nmdv = 0;
    double nsvr = 0;
    QString ctry;
    QString stat;
    int ntyp = 0;
    qint32 ncls = 0;
    int nuse = 0;
    QString nlat = QStringLiteral("0.00");   // arc-seconds, as the form shows them
    QString nlon = QStringLiteral("0.00");
    qint32 nalt = 0;
    double npow = 0;
    double nrgn = 0;
};
