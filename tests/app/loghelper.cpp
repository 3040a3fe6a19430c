// Starts the log as the program does, then emits messages.
//   tst_app_loghelper LOCALE PROGRAMDIR [ACTION...]
// ACTION: debug:TEXT, warning:TEXT, critical:TEXT, info:TEXT, fatal:TEXT,
// qtwarning (a warning raised by Qt itself), stream:TEXT (a debug stream
// line with a quoted string). At the end the helper prints the translation of
// "Quitter" on standard output.
#include "app/log.h"
#include "app/startup.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QTranslator>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    NavLog::install();

    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3)
        return 2;

    QTranslator translator;
    NavStartup::chooseLanguage(app, translator, args.at(1), args.at(2));

    for (int i = 3; i < args.size(); ++i) {
        const QString action = args.at(i);
        const QString kind = action.section(u':', 0, 0);
        const QByteArray text = action.section(u':', 1).toUtf8();
        if (kind == QLatin1String("debug"))
            qDebug("%s", text.constData());
        else if (kind == QLatin1String("warning"))
            qWarning("%s", text.constData());
        else if (kind == QLatin1String("critical"))
            qCritical("%s", text.constData());
        else if (kind == QLatin1String("info"))
            qInfo("%s", text.constData());
        else if (kind == QLatin1String("fatal"))
            qFatal("%s", text.constData());
        else if (kind == QLatin1String("stream"))
            qDebug() << "helper:" << QString::fromUtf8(text);
        else if (kind == QLatin1String("qtwarning"))
            (void)QFile().open(QIODevice::ReadOnly);
        else
            return 3;
    }

    std::printf("%s", QCoreApplication::translate("MainWindow", "Quitter").toUtf8().constData());
    return 0;
}
