#include "simlink/tracetext.h"

#include "map/jstext.h"

#include <QStringList>

namespace {

QString degrees(double arcSeconds)
{
    return JsText::fixed(arcSeconds / 3600, 5, 3);
}

} // namespace

namespace TraceText {

QString addMarker(const NavBlock::Position &position)
{
    return JsText::fill(QStringLiteral("addAcftMrkr(new google.maps.LatLng(%1,%2),%3,%4);"),
                        {degrees(position.latitude), degrees(position.longitude), QStringLiteral("\"\""),
                         JsText::general(position.marker)});
}

QString setMarker(const NavBlock::Position &position, bool center)
{
    const QString lat = degrees(position.latitude);
    const QString lon = degrees(position.longitude);
    const QString set = JsText::fill(QStringLiteral("setAcftMrkr(new google.maps.LatLng(%1,%2),%3);"),
                                     {lat, lon, JsText::general(position.marker)});
    if (!center)
        return set;
    // The marker call keeps its own semicolon, so two stand between the calls.
    return JsText::fill(QStringLiteral("%3;map.setCenter(new google.maps.LatLng(%1,%2));"), {lat, lon, set});
}

QString eraseMarker()
{
    return QStringLiteral("eraseAcftMrkr();");
}

bool Pacer::take(const QString &text, qint64 nowMs)
{
    if (m_sent && (text == m_last || nowMs - m_lastMs < FrameMs))
        return false;
    m_sent = true;
    m_last = text;
    m_lastMs = nowMs;
    return true;
}

void Pacer::reset()
{
    m_sent = false;
    m_last.clear();
}

} // namespace TraceText
