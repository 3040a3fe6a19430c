#pragma once

#include <QFile>
#include <QList>
#include <QString>

// Reads the simulator's POD archives: a 276-byte header, a directory of
// 20-byte entries at the header's directory offset, the zero-ended entry
// names right after the directory, and the entries' data anywhere in the
// file. Archives are untrusted input: every count, offset and size is
// checked against the file size, an entry that does not fit is skipped and
// nothing larger than the file is allocated.
class CPodMgr : public QFile
{
public:
    struct Entry {
        QString name;
        qint32 unknown0 = 0;
        qint32 size = 0;     // bytes of data
        qint32 offset = 0;   // of the data, from the start of the file
        qint32 unknown3 = 0;
        qint32 unknown4 = 0;
    };

    // Opens the archive and reads its header and directory; an archive that
    // cannot be opened has no entries.
    explicit CPodMgr(const QString &path);
    ~CPodMgr() override;

    // Makes the data of the last entry whose name ends with `suffix`
    // (case-sensitive) the current text, decoded as UTF-8. False, and an
    // empty current text, when no entry matched.
    bool extractBySuffix(const QString &suffix);

    // The line after the first line of the current text that contains the
    // tag; "" when no line contains it or the tag is on the last line.
    // Carriage returns are removed from the current text first.
    QString tagValue(const QString &tag);

    const QList<Entry> &entries() const { return m_entries; }
    const QString &currentText() const { return m_text; }

    // The header, as stored (only the entry count and the directory offset
    // mean something to the program).
    QString signature;
    qint32 headerValue1 = 0;
    QString headerText1;
    qint32 entryCount = 0;
    qint32 headerValue2 = 0;
    qint32 headerValue3 = 0;
    qint32 headerValue4 = 0;
    QString headerText2;
    QString headerText3;
    qint32 directoryOffset = 0;
    qint32 headerValue5 = 0;
    qint32 headerValue6 = 0;

    static constexpr qint64 HeaderSize = 276;
    static constexpr qint64 EntrySize = 20;
    static constexpr int MaxNameLength = 255;

private:
    void readDirectory();

    QList<Entry> m_entries;
    QString m_text;
};
