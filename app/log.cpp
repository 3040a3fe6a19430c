#include "app/log.h"

#include <QFile>

#include <cstdlib>

namespace NavLog {

QString line(QtMsgType type, const QString &message)
{
    switch (type) {
    case QtDebugMsg: return QStringLiteral("Debug: ") + message;
    case QtWarningMsg: return QStringLiteral("Warning: ") + message;
    case QtCriticalMsg: return QStringLiteral("Critical: ") + message;
    case QtFatalMsg: return QStringLiteral("Fatal: ") + message;
    default: return QString();
    }
}

void handler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    QFile file(QString::fromLatin1(fileName()));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        file.write(line(type, message).toLocal8Bit());
        file.write("\n");
        file.close();
    }
    if (type == QtFatalMsg)
        std::abort();
}

void install()
{
    qInstallMessageHandler(handler);
    QFile::remove(QString::fromLatin1(fileName()));
}

} // namespace NavLog
