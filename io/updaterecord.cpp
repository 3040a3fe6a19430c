#include "io/updaterecord.h"

namespace UpdateRecord {

QStringList split(const QByteArray &line)
{
    return QString::fromLatin1(line).split(QLatin1Char(Separator));
}

bool representable(const QString &value)
{
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u';' || u == u'\n' || u == u'\r' || u > 0xff)
            return false;
    }
    return true;
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

QByteArray fromHex(const QString &text, bool *ok)
{
    bool valid = text.size() % 2 == 0;
    for (qsizetype i = 0; valid && i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        valid = (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
    }
    if (ok)
        *ok = valid;
    return valid ? QByteArray::fromHex(text.toLatin1()) : QByteArray();
}

} // namespace UpdateRecord
