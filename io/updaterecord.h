#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The update record: one line of an update file, fields separated by ";"
// with no quoting and no escaping, 8-bit text read as Latin-1.
namespace UpdateRecord {

// The field separator and the line end every writer uses.
inline constexpr char Separator = ';';
inline constexpr char LineEnd = '\n';

// Splits one line (already trimmed) into its fields; empty fields count.
QStringList split(const QByteArray &line);

// A value can be carried by a record only when it holds no separator, no
// line break and only characters that Latin-1 can write.
bool representable(const QString &value);

// A blob as the update files carry it: two lower-case hexadecimal digits
// per byte, no separators.
QString hex(const QByteArray &bytes);

// The bytes of a hexadecimal text; *ok is false when the text is not an
// even number of hexadecimal digits.
QByteArray fromHex(const QString &text, bool *ok);

} // namespace UpdateRecord
