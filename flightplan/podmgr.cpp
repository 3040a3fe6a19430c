#include "flightplan/podmgr.h"

#include <QtEndian>

namespace {

qint32 int32At(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

// A fixed-size text field: up to its first zero byte.
QString textAt(const QByteArray &bytes, qsizetype offset, qsizetype size, bool utf8)
{
    QByteArray field = bytes.mid(offset, size);
    const qsizetype zero = field.indexOf('\0');
    if (zero >= 0)
        field.truncate(zero);
    return utf8 ? QString::fromUtf8(field) : QString::fromLatin1(field);
}

} // namespace

CPodMgr::CPodMgr(const QString &path)
    : QFile(path)
{
    if (open(QIODevice::ReadOnly))
        readDirectory();
}

CPodMgr::~CPodMgr() = default;

void CPodMgr::readDirectory()
{
    const qint64 fileSize = size();
    if (fileSize < HeaderSize)
        return;
    const QByteArray header = read(HeaderSize);
    if (header.size() != HeaderSize)
        return;

    signature = textAt(header, 0, 4, false);
    headerValue1 = int32At(header, 4);
    headerText1 = textAt(header, 8, 80, true);
    entryCount = int32At(header, 88);
    headerValue2 = int32At(header, 92);
    headerValue3 = int32At(header, 96);
    headerValue4 = int32At(header, 100);
    headerText2 = textAt(header, 104, 80, true);
    headerText3 = textAt(header, 184, 80, true);
    directoryOffset = int32At(header, 264);
    headerValue5 = int32At(header, 268);
    headerValue6 = int32At(header, 272);

    if (entryCount <= 0 || directoryOffset < 0 || directoryOffset >= fileSize)
        return;

    // Only the entries that lie inside the file are read.
    const qint64 room = (fileSize - directoryOffset) / EntrySize;
    const qint64 count = qMin<qint64>(entryCount, room);
    if (count <= 0 || !seek(directoryOffset))
        return;
    const QByteArray directory = read(count * EntrySize);
    if (directory.size() != count * EntrySize)
        return;
    m_entries.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        Entry e;
        const qsizetype at = i * EntrySize;
        e.unknown0 = int32At(directory, at);
        e.size = int32At(directory, at + 4);
        e.offset = int32At(directory, at + 8);
        e.unknown3 = int32At(directory, at + 12);
        e.unknown4 = int32At(directory, at + 16);
        m_entries.append(e);
    }

    // The names follow the whole directory as the header counts it; when
    // that lies past the end, the entries keep empty names.
    const qint64 namesAt = qint64(directoryOffset) + qint64(entryCount) * EntrySize;
    if (namesAt >= fileSize || !seek(namesAt))
        return;
    const QByteArray names = read(fileSize - namesAt);
    qsizetype pos = 0;
    for (Entry &e : m_entries) {
        if (pos >= names.size())
            break;
        qsizetype end = names.indexOf('\0', pos);
        if (end < 0)
            end = names.size();
        e.name = QString::fromLatin1(names.constData() + pos, qMin<qsizetype>(end - pos, MaxNameLength));
        pos = end + 1;
    }
}

bool CPodMgr::extractBySuffix(const QString &suffix)
{
    m_text.clear();
    const qint64 fileSize = size();
    for (qsizetype i = m_entries.size() - 1; i >= 0; --i) {
        const Entry &e = m_entries.at(i);
        if (!e.name.endsWith(suffix))
            continue;
        // An entry whose data does not lie inside the file is skipped.
        if (e.size < 0 || e.offset < 0 || qint64(e.offset) + qint64(e.size) > fileSize)
            continue;
        if (!seek(e.offset))
            continue;
        const QByteArray data = read(e.size);
        if (data.size() != e.size)
            continue;
        m_text = QString::fromUtf8(data);
        return true;
    }
    return false;
}

QString CPodMgr::tagValue(const QString &tag)
{
    m_text.remove(u'\r');
    const QStringList lines = m_text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).contains(tag))
            return i + 1 < lines.size() ? lines.at(i + 1) : QString();
    }
    return QString();
}
