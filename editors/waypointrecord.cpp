#include "editors/waypointrecord.h"

#include "data/globalvar.h"
#include "editors/markertitle.h"
#include "editors/updatefile.h"
#include "map/jstext.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
namespace Col { enum { tile, iden, ukey, name, ctry, stat, wloc, wtyp, wuse, wlat, wlon, walt, wmag, wbrg, wdis, wnav }; }
}

bool CWaypointRecord::isTypeCode(int wtyp)
{
    return wtyp == 1 || wtyp == 4 || wtyp == 6 || wtyp == 9 || wtyp == 10 || wtyp == 12;
}

bool CWaypointRecord::isUsageCode(int wuse)
{
    return wuse >= 1 && wuse <= 6;
}

QString CWaypointRecord::usageName(int wtyp, int wuse)
{
    if (wtyp == 10)
        return QStringLiteral("VFR");
    switch (wuse) {
    case 1: return QStringLiteral("High");
    case 2: return QStringLiteral("Low");
    case 3: return QStringLiteral("High/Low");
    case 4: return QStringLiteral("Terminal");
    case 5: return QStringLiteral("RNAV");
    default: return QString();
    }
}

QString CWaypointRecord::identForName(const QString &name)
{
    return name.left(4);
}

QString CWaypointRecord::keyForName(const QString &name, const QString &country)
{
    return name.left(5) + country;
}

QString CWaypointRecord::keyForCountry(const QString &key, const QString &country)
{
    return key.chopped(qMin<qsizetype>(2, key.size())) + country;
}

CWaypointRecord CWaypointRecord::fromQuery(const QSqlQuery &query)
{
    CWaypointRecord r;
    r.tile = query.value(Col::tile).toString();
    r.iden = query.value(Col::iden).toString();
    r.ukey = query.value(Col::ukey).toString();
    r.name = query.value(Col::name).toString();
    r.ctry = query.value(Col::ctry).toString();
    r.stat = query.value(Col::stat).toString();
    r.wloc = query.value(Col::wloc).toInt();
    r.wtyp = query.value(Col::wtyp).toInt();
    r.wuse = query.value(Col::wuse).toInt();
    r.wlat = query.value(Col::wlat).toString();
    r.wlon = query.value(Col::wlon).toString();
    r.walt = query.value(Col::walt).toDouble();
    r.wmag = query.value(Col::wmag).toDouble();
    r.wbrg = query.value(Col::wbrg).toDouble();
    r.wdis = query.value(Col::wdis).toDouble();
    r.wnav = query.value(Col::wnav).toString();
    return r;
}

QStringList CWaypointRecord::values() const
{
    return {tile,
            iden,
            ukey,
            name,
            ctry,
            stat,
            QString::number(wloc),
            QString::number(wtyp),
            QString::number(wuse),
            wlat,
            wlon,
            JsText::general(walt),
            JsText::general(wmag),
            JsText::general(wbrg),
            JsText::general(wdis),
            wnav};
}

QString CWaypointRecord::updateRecord() const
{
    return UpdateFile::record(QStringLiteral("WPT"), QStringLiteral("WPT"), QStringLiteral("+"), values());
}

QString CWaypointRecord::info() const
{
    return JsText::fill(
            QStringLiteral("<font color=blue><b>Waypoint %1</b><font color=black><br/>%2 (%3)<br/>%4 - %5"),
            {JsText::html(iden), JsText::html(name), usageName(wtyp, wuse),
             CGlobalVar::latitudeText(wlat.toDouble(), false),
             CGlobalVar::longitudeText(JsText::arcSecondsInHalfTurn(wlon.toDouble()), false)});
}

QString CWaypointRecord::mapCommand(const QStringList &longerKeys) const
{
    const QString position = JsText::latLng(wlat.toDouble() / 3600, JsText::degreesInRange(wlon.toDouble() / 3600));
    return JsText::fill(QStringLiteral("addWPTMarker2(%1,\"%2-%3\",%4,\"%5\",%6)"),
                        {position, JsText::escape(name), JsText::escape(ukey), QString::number(wuse ? wuse : 4),
                         JsText::escape(info()), CMarkerTitle::keyArguments(ukey, longerKeys)});
}
