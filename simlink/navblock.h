#pragma once

#include <QString>
#include <QtEndian>
#include <bit>
#include <cstring>

// The navigation block the simulator publishes: a named shared block of
// 256 bytes of which the navigator reads an 80-byte window. Three values
// matter, little-endian doubles: the aircraft latitude and longitude in
// arc-seconds (north and east positive) at offsets 32 and 40, and the
// aircraft marker value at offset 64, handed to the map page unchanged.
namespace NavBlock {

inline QString defaultName() { return QStringLiteral("Local\\CorvaneToNavigation"); }

constexpr qint64 blockSize = 256;   // size of a block we create
constexpr qint64 viewSize = 80;     // the window that is mapped
constexpr int latitudeOffset = 32;
constexpr int longitudeOffset = 40;
constexpr int markerOffset = 64;

struct Position {
    double latitude = 0;    // arc-seconds
    double longitude = 0;   // arc-seconds
    double marker = 0;      // as the simulator side wrote it
};

inline double readDouble(const uchar *at)
{
    return std::bit_cast<double>(qFromLittleEndian<quint64>(at));
}

inline void writeDouble(uchar *at, double value)
{
    qToLittleEndian<quint64>(std::bit_cast<quint64>(value), at);
}

// `view` holds at least viewSize bytes.
inline Position read(const uchar *view)
{
    return {readDouble(view + latitudeOffset), readDouble(view + longitudeOffset), readDouble(view + markerOffset)};
}

inline void write(uchar *view, const Position &position)
{
    writeDouble(view + latitudeOffset, position.latitude);
    writeDouble(view + longitudeOffset, position.longitude);
    writeDouble(view + markerOffset, position.marker);
}

} // namespace NavBlock
