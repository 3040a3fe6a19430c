#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// The files the program writes: flight plans, situations and the
// simulator's ini file (8-bit text the simulator reads), update files and
// exports. Every one is replaced atomically through the one Writer below: a
// failed write leaves the previous file as it was and is never taken for a
// success.
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

// The same, and every character outside Latin-1 becomes "_" too: a name
// that an 8-bit file (the simulator's ini) must be able to name exactly.
QString latin1FileName(const QString &name);

// A value that must stay on its own line: line breaks (CR, LF, U+2028,
// U+2029) become blanks, so a name can never split a tagged file.
QString oneLine(const QString &value);

// Replaces one file: the bytes go to a temporary file beside it, which
// takes the file's place only when every byte was written and flushed.
// Writes are collected and handed to the system in large blocks, unbuffered
// below, so that a block the system refuses (disk full, file too large) is
// seen at once and not lost in a buffer flushed at commit. After the first
// failure nothing more is written, and commit() cancels.
class Writer
{
public:
    explicit Writer(const QString &path);
    ~Writer();   // cancels unless committed
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    bool open();
    // False once anything failed (this write or an earlier one).
    bool write(const QByteArray &bytes);
    bool ok() const { return m_ok; }
    // Writes what is left, flushes and puts the file in place; on any
    // failure cancels and returns false. The reason is in errorString().
    bool commit();
    QString errorString() const { return m_error; }

private:
    bool push();
    bool fail();

    QSaveFile m_file;
    QByteArray m_pending;
    QString m_error;
    bool m_ok = true;
    bool m_done = false;
};

// Writes the bytes to the path through a Writer. On failure returns false
// and, when asked, the reason in `error`.
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Reads the whole file; on failure returns false and the reason.
bool read(const QString &path, QByteArray *bytes, QString *error = nullptr);

} // namespace TextFile
