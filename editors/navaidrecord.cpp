#include "editors/navaidrecord.h"

#include "data/globalvar.h"
#include "editors/markertitle.h"
#include "editors/updatefile.h"
#include "map/jstext.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

struct TypeCodes {
    CNavaidRecord::Type type;
    int written;
    int loaded;
    int keyDigit;
};

// A TACAN is filed under 4 by the simulator's data; the editor writes 5.
constexpr TypeCodes typeCodes[] = {
    {CNavaidRecord::Vor, 1, 1, 1},
    {CNavaidRecord::Tacan, 5, 4, 2},
    {CNavaidRecord::VorDme, 17, 17, 4},
    {CNavaidRecord::Ndb, 8, 8, 5},
    {CNavaidRecord::NdbDme, 24, 24, 7},
};

const TypeCodes *codesOf(CNavaidRecord::Type type)
{
    for (const TypeCodes &c : typeCodes)
        if (c.type == type)
            return &c;
    return nullptr;
}

namespace Col { enum { tile, ukey, iden, name, nfrq, nmdv, nsvr, ctry, stat, ntyp, ncls, nuse, nlat, nlon, nalt, npow, nrgn }; }

} // namespace

int CNavaidRecord::typeCode(Type type)
{
    const TypeCodes *c = codesOf(type);
    return c ? c->written : 0;
}

CNavaidRecord::Type CNavaidRecord::typeOfCode(int ntyp)
{
    for (const TypeCodes &c : typeCodes)
        if (c.loaded == ntyp || c.written == ntyp)
            return c.type;
    return NoType;
}

int CNavaidRecord::typeToWrite(int storedNtyp, Type checked)
{
    return checked == typeOfCode(storedNtyp) ? storedNtyp : typeCode(checked);
}

int CNavaidRecord::keyDigit(Type type)
{
    const TypeCodes *c = codesOf(type);
    return c ? c->keyDigit : 0;
}

int CNavaidRecord::usageCode(Usage usage)
{
    return int(usage);   // High 1 ... Rnav 5, none 0
}

CNavaidRecord::Usage CNavaidRecord::usageOfCode(int nuse)
{
    return nuse >= High && nuse <= Rnav ? Usage(nuse) : NoUsage;
}

bool CNavaidRecord::frequencyInRange(int ntyp, double frequency)
{
    if (isNdbCode(ntyp))
        return frequency >= 180 && frequency < 1750;
    return frequency >= 108 && frequency < 118;
}

QString CNavaidRecord::keyPrefix(const QString &country, int keyDigit, const QString &ident)
{
    return country + QString::number(keyDigit) + ident;
}

int CNavaidRecord::keyDigitFor(Type checked) const
{
    if (checked != typeOfCode(ntyp))
        return keyDigit(checked);
    if (!ctry.isEmpty() && ukey.size() > ctry.size() && ukey.startsWith(ctry)) {
        const QChar digit = ukey.at(ctry.size());
        if (digit >= u'0' && digit <= u'9')
            return digit.digitValue();
    }
    return keyDigit(checked);
}

CNavaidRecord CNavaidRecord::fromQuery(const QSqlQuery &query)
{
    CNavaidRecord r;
    r.tile = query.value(Col::tile).toString();
    r.ukey = query.value(Col::ukey).toString();
    r.iden = query.value(Col::iden).toString();
    r.name = query.value(Col::name).toString();
    r.nfrq = query.value(Col::nfrq).toDouble();
    r.nmdv = query.value(Col::nmdv).toDouble();
    r.nsvr = query.value(Col::nsvr).toDouble();
    r.ctry = query.value(Col::ctry).toString();
    r.stat = query.value(Col::stat).toString();
    r.ntyp = query.value(Col::ntyp).toInt();
    r.ncls = query.value(Col::ncls).toInt();
    r.nuse = query.value(Col::nuse).toInt();
    r.nlat = JsText::fixed(query.value(Col::nlat).toDouble(), 2);
    r.nlon = JsText::fixed(query.value(Col::nlon).toDouble(), 2);
    r.nalt = query.value(Col::nalt).toInt();
    r.npow = query.value(Col::npow).toDouble();
    r.nrgn = query.value(Col::nrgn).toDouble();
    return r;
}

QStringList CNavaidRecord::values() const
{
    return {tile,
            ukey,
            iden,
            name,
            JsText::general(nfrq),
            JsText::general(nmdv),
            JsText::general(nsvr),
            ctry,
            stat,
            QString::number(ntyp),
            QString::number(ncls),
            QString::number(nuse),
            nlat,
            nlon,
            QString::number(nalt),
            JsText::general(npow),
            JsText::general(nrgn)};
}

QString CNavaidRecord::updateRecord() const
{
    return UpdateFile::record(QStringLiteral("GEN"), QStringLiteral("NAV"), QStringLiteral("+"), values());
}

QString CNavaidRecord::info() const
{
    const double lat = nlat.toDouble();
    const double lon = JsText::arcSecondsInHalfTurn(nlon.toDouble());
    if (isNdbCode(ntyp))
        return JsText::fill(
                QStringLiteral("<font color=blue><b>NDB %1</b><font color=black><br/>%2<br/>%3 Khz<br/>%4 - %5"),
                {JsText::html(iden), JsText::html(name), JsText::general(nfrq), CGlobalVar::latitudeText(lat, false),
                 CGlobalVar::longitudeText(lon, false)});
    return JsText::fill(
            QStringLiteral("<font color=blue><b>VOR %1</b><font color=black><br/>%2<br/>%3 Mhz<br/>%4 - %5"),
            {JsText::html(iden), JsText::html(name), JsText::fixed(nfrq, 3, 3), CGlobalVar::latitudeText(lat, false),
             CGlobalVar::longitudeText(lon, false)});
}

QString CNavaidRecord::mapCommand(const QStringList &longerKeys) const
{
    QString pattern;
    int code = 0;
    if (isNdbCode(ntyp)) {
        pattern = QStringLiteral("addNDBMarker2(%1,\"%2-%3\",%4,\"%5\",%6)");
        code = nuse;
    } else {
        pattern = QStringLiteral("addVORMarker2(%1,\"%2-%3\",%4,\"%5\",%6)");
        code = ntyp;
    }
    const QString position = JsText::latLng(nlat.toDouble() / 3600, JsText::degreesInRange(nlon.toDouble() / 3600));
    return JsText::fill(pattern, {position, JsText::escape(name), JsText::escape(ukey), QString::number(code),
                                  JsText::escape(info()), CMarkerTitle::keyArguments(ukey, longerKeys)});
}
