#include "editors/updatefile.h"

#include "data/textfile.h"
#include "io/updaterecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace UpdateFile {

namespace {
QString g_programDir;
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
    return name.isEmpty() ? QStringLiteral("_") : TextFile::safeFileName(name);
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
    QString why;
    if (!TextFile::write(filePath, recordLine.toLatin1(), &why))
        return fail(why);
    return true;
}

} // namespace UpdateFile
