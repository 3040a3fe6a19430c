#pragma once

#include <QString>

#include <array>

// Positions as the simulator stores them: latitude and longitude in
// arc-seconds (degrees x 3600), north and east positive. The texts people
// read and the tile keys the simulator files its records under.
//
// Everything here is plain arithmetic without state, so it is safe for any
// input: huge, infinite or NaN values give some result, never a hang or a
// crash.
namespace Coord {

inline constexpr double Turn = 1296000;      // 360 degrees in arc-seconds
inline constexpr double HalfTurn = 648000;   // 180 degrees
inline constexpr double ColumnWidth = 5062.5;    // 1.40625 degrees
inline constexpr double HalfColumnWidth = 2531.25;

// A longitude brought into [0, 1296000] as "while above a turn subtract a
// turn; while negative add a turn" does (a whole number of turns above zero
// stops at one full turn), computed without looping.
double inTurn(double arcSeconds);
// Then into (-648000, 648000]: values above half a turn lose a turn.
double inHalfTurn(double arcSeconds);

// Degrees, minutes and seconds of a non-negative value in arc-seconds. The
// seconds are rounded to hundredths first and carried into the minutes and
// degrees, so that a value a hair below a whole minute reads 48 40' 00.00,
// never 48 39' 60.00. Whole numbers held as doubles, so that no value,
// however large, is converted to an integer type.
struct Dms {
    double degrees = 0;
    double minutes = 0;
    double seconds = 0;   // 0 to 59.99, in hundredths
};
Dms dms(double arcSeconds);

// "DD MM' SS.SS N" / "DDD MM' SS.SS E" (from dms), with a double quote
// after the seconds when secondsMark is set. Longitudes are normalised first.
QString latitudeText(double latitude, bool secondsMark);
QString longitudeText(double longitude, bool secondsMark);

// The globe's latitude bands: 129 band edges in degrees, top[0] = 0, each
// band as high as a column is wide at its southern edge.
using BandTable = std::array<double, 129>;
// 257 quarter-band edges (every band split in two), in degrees or seconds.
using QuarterTable = std::array<double, 257>;

void buildBands(BandTable &top);
void buildQuarterBands(const BandTable &top, QuarterTable &qtopDegrees, QuarterTable &qtopSeconds);
// The tables built once, for code that holds none of its own.
const BandTable &bands();
const QuarterTable &quarterBandSeconds();

// Number of band edges top[1]..top[128] at or below |latitude|, at most 127.
int bandIndex(const BandTable &top, double latitude);
// Tile row 0..255: 128 + n north of the equator, 127 - n at or south of it.
int tileRow(const BandTable &top, double latitude);
// Longitude / 5062.5 truncated towards zero, then AND 255 (two's complement,
// so a column just west of zero is 0 and -6000 gives 255).
int tileColumn(double longitude);
// Column in the upper 16 bits, row in the lower.
int tileKey(const BandTable &top, double latitude, double longitude);
inline int tileKey(double latitude, double longitude) { return tileKey(bands(), latitude, longitude); }

// Vertical quarter-tile number 0..511: quarter edges below |latitude|
// (at most 255) added to 256 for latitude >= 0, taken from 255 otherwise.
// A NaN latitude gives 255.
int verticalQgtNumber(const QuarterTable &qtopSeconds, double latitude);

} // namespace Coord
