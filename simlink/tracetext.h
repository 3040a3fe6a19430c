#pragma once

#include "simlink/navblock.h"

#include <QString>

// The JavaScript texts of the aircraft trace. Latitude and longitude go to
// the page in degrees with 5 decimals, the marker value in general format
// with 6 significant digits.
namespace TraceText {

// "addAcftMrkr(new google.maps.LatLng(lat,lng),"",value);"
QString addMarker(const NavBlock::Position &position);
// "setAcftMrkr(new google.maps.LatLng(lat,lng),value);", followed, when
// the map follows the aircraft, by ";map.setCenter(new google.maps.LatLng(lat,lng));"
QString setMarker(const NavBlock::Position &position, bool center);
// "eraseAcftMrkr();"
QString eraseMarker();

// Paces the ticks of a trace. The block is read every couple of
// milliseconds, but the page draws at most once a frame and has nothing
// to do while the aircraft stands still: a tick's text goes to the page
// only when it differs from the last one sent (the position, the marker
// value or the centring changed) and a frame has passed since that one.
// A change held back goes with the first tick after the frame.
class Pacer
{
public:
    static constexpr qint64 FrameMs = 16;

    // Whether the tick's text is to be sent at `nowMs` (any steady clock in
    // milliseconds); when it is, it counts as sent.
    bool take(const QString &text, qint64 nowMs);
    // A new trace: its first tick is sent.
    void reset();

private:
    QString m_last;
    qint64 m_lastMs = 0;
    bool m_sent = false;
};

} // namespace TraceText
