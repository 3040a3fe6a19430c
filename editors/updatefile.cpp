#include "editors/updatefile.h"

#include "io/updaterecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace UpdateFile {

namespace {
QString g_programDir;

bool refusedInFileName(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7f)
        return true;
    switch (u) {
    case u'/': case u'\\': case u':': case u'*': case u'?': case u'"': case u'<': case u'>': case u'|':
        return true;
    default:
        return false;
    }
}
} // namespace

QString programDir()
{
    return g_programDir.isEmpty() ? QCoreApplication::applicationDirPath() : g_programDir;
}

void setProgramDir(const QString &dir)
{
    g_programDir = dir;
}

QString safeName(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("_");
    QString out = name;
    for (QChar &c : out)
        if (refusedInFileName(c))
            c = u'_';
    return out;
}

QString path(const QString &name)
{
    return QDir::fromNativeSeparators(programDir()) + QStringLiteral("/Data/") + safeName(name)
            + QStringLiteral(".CSV");
}

QString record(const QString &database, const QString &table, const QString &operation, const QStringList &values)
{
    QStringList fields{database, table, operation};
    fields += values;
    return fields.join(QLatin1Char(UpdateRecord::Separator));
}

bool recordable(const QStringList &values)
{
    for (const QString &v : values)
        if (!UpdateRecord::representable(v))
            return false;
    return true;
}

bool write(const QString &filePath, const QString &recordLine, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!UpdateRecord::representable(QString(recordLine).remove(QLatin1Char(UpdateRecord::Separator))))
        return fail(QStringLiteral("the record holds a line break or a character outside Latin-1"));
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("cannot create the folder ") + folder);
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray bytes = recordLine.toLatin1();
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace UpdateFile
