#pragma once

#include <QString>
#include <QStringList>

// Text safety for everything the program sends to the map page.
namespace JsText {

// Escapes a text for a JavaScript string literal delimited by `quote`:
// only the backslash, that quote and line terminators are escaped, so
// apostrophes and accents stay as stored.
QString escape(const QString &text, QChar quote = u'"');

// A database text placed inside the info HTML of a marker.
inline QString html(const QString &text) { return text.toHtmlEscaped(); }

// Fills %1, %2, ... of a template in one pass: a value that itself holds
// "%2" is never substituted again.
QString fill(const QString &pattern, const QStringList &values);

// Numbers as the page texts write them (C locale, "." decimal point).
QString fixed(double value, int decimals, int width = 0);
QString general(double value);   // %g with 6 significant digits

// Longitude helpers shared by the map texts.
double degreesInRange(double degrees);           // into (-180, 180]
double arcSecondsInHalfTurn(double arcSeconds);  // into (-648000, 648000]
double arcSecondsInTurn(double arcSeconds);      // into [0, 1296000]

// "new google.maps.LatLng(lat,lng)" with both in fixed notation, 5 decimals.
QString latLng(double latDegrees, double lonDegrees);

} // namespace JsText
