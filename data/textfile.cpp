#include "data/textfile.h"

#include <QFile>
#include <QStringDecoder>

namespace TextFile {

namespace {

// Blocks handed to the system at once.
constexpr qsizetype BlockSize = 64 * 1024;

bool refusedInFileName(QChar c)
{
    const char16_t u = c.unicode();
    // Control characters, C1 ones included (the simulator's 8-bit code page
    // would read them as other letters).
    if (u < 0x20 || (u >= 0x7f && u < 0xa0))
        return true;
    return QStringView(u"\\/:*?\"<>|").contains(c);
}

} // namespace

QString oneLine(const QString &value)
{
    QString out = value;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == 0x2028 || u == 0x2029)
            c = u' ';
    }
    return out;
}

QByteArray toLatin1(const QString &text)
{
    return text.toLatin1();
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QString safeFileName(const QString &name)
{
    QString out = name;
    for (QChar &c : out) {
        if (refusedInFileName(c))
            c = u'_';
    }
    return out;
}

QString latin1FileName(const QString &name)
{
    QString out = safeFileName(name);
    for (QChar &c : out) {
        if (c.unicode() > 0xff)
            c = u'_';
    }
    return out;
}

Writer::Writer(const QString &path)
    : m_file(path)
{
}

Writer::~Writer()
{
    if (!m_done && m_file.isOpen())
        m_file.cancelWriting();
}

bool Writer::open()
{
    // Unbuffered: every block reaches the system now, so that a block it
    // refuses is seen here and not in a buffer flushed inside commit().
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail();
    return true;
}

bool Writer::fail()
{
    if (m_ok) {
        m_ok = false;
        m_error = m_file.errorString();
    }
    return false;
}

bool Writer::push()
{
    // A short write is retried; the retry reports why the rest cannot be
    // written (disk full, file too large).
    qsizetype written = 0;
    while (written < m_pending.size()) {
        const qint64 n = m_file.write(m_pending.constData() + written, m_pending.size() - written);
        if (n <= 0) {
            m_pending.clear();
            return fail();
        }
        written += n;
    }
    m_pending.clear();
    return true;
}

bool Writer::write(const QByteArray &bytes)
{
    if (!m_ok || m_done)
        return false;
    if (!m_file.isOpen()) {
        m_ok = false;
        m_error = QStringLiteral("the file is not open");
        return false;
    }
    m_pending.append(bytes);
    if (m_pending.size() >= BlockSize)
        return push();
    return true;
}

bool Writer::commit()
{
    if (m_done)
        return false;
    if (m_ok && m_file.isOpen() && push() && m_file.flush()) {
        m_done = true;
        if (m_file.commit())
            return true;
        m_ok = false;
        m_error = m_file.errorString();
        return false;
    }
    fail();
    m_done = true;
    if (m_file.isOpen())
        m_file.cancelWriting();
    return false;
}

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    Writer writer(path);
    if (writer.open() && writer.write(bytes) && writer.commit())
        return true;
    if (error)
        *error = writer.errorString();
    return false;
}

bool read(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace TextFile
