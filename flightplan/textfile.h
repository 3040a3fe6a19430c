#pragma once

#include <QByteArray>
#include <QString>

// The text files the program writes for the simulator (flight plans,
// situations, the simulator's ini file) are 8-bit files. They are replaced
// atomically: a failed write leaves the previous file as it was.
namespace TextFile {

// Characters outside Latin-1 become "?".
QByteArray toLatin1(const QString &text);

// UTF-8 when the bytes are valid UTF-8, Latin-1 otherwise.
QString decode(const QByteArray &bytes);

// A name usable as one file name on every system the simulator runs on:
// path separators, the characters Windows refuses in names (: * ? " < > |)
// and control characters become "_". Airport names such as
// "Nice/Cote d'Azur" would otherwise point into a folder that does not exist.
QString safeFileName(const QString &name);

// A value that must stay on its own line: line breaks (CR, LF, U+2028,
// U+2029) become blanks, so a name can never split a tagged file.
QString oneLine(const QString &value);

// Writes the bytes to the path through QSaveFile. On failure returns false
// and, when asked, the reason in `error`.
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Reads the whole file; on failure returns false and the reason.
bool read(const QString &path, QByteArray *bytes, QString *error = nullptr);

} // namespace TextFile
