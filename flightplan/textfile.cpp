#include "flightplan/textfile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace TextFile {

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
        if (c.unicode() < 0x20 || QStringView(u"\\/:*?\"<>|").contains(c))
            c = u'_';
    }
    return out;
}

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    auto fail = [&]() {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    };
    // Unbuffered, so that every write reaches the file now: a buffer that
    // fails to go out at commit would go unnoticed and the short file would
    // replace the old one. A short write is retried, and the retry reports
    // why the rest cannot be written (disk full, file too large).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail();
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            return fail();
        written += n;
    }
    if (!file.flush())
        return fail();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
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
