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

} // namespace TraceText
