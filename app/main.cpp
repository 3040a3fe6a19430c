#include "app/log.h"
#include "app/mainwindow.h"
#include "app/widgetprompt.h"

#include <QApplication>
#include <QDebug>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    NavLog::install();

    const QString locale = QLocale::system().name();
    const QString language = locale.section(u'_', 0, 0);
    qDebug() << "main: locale" << locale;

    CWidgetPrompt widgetPrompt;
    CPrompt::setInstance(&widgetPrompt);

    QTranslator translator;
    if (language != QLatin1String("fr")) {
        qDebug() << "main: english version loaded";
        // The translation sits beside the program; the current directory is
        // tried first, as the program has always looked there.
        if (!translator.load(QStringLiteral("corvanenavigator_en")))
            (void)translator.load(QStringLiteral("corvanenavigator_en"), QCoreApplication::applicationDirPath());
        app.installTranslator(&translator);
    }

    int result = 0;
    {
        MainWindow window;
        window.show();
        result = app.exec();
    }
    return result;
}
