#include "app/log.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "app/widgetprompt.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Installs the handler, then deletes the previous run's log.
    NavLog::install();

    CWidgetPrompt widgetPrompt;
    CPrompt::setInstance(&widgetPrompt);

    // Lives until the event loop has ended.
    QTranslator translator;
    NavStartup::chooseLanguage(app, translator, QLocale::system().name(), QCoreApplication::applicationDirPath());

    int result = 0;
    {
        MainWindow window;
        window.show();
        result = app.exec();
    }
    // The window is gone (settings written); the translator, the prompt and
    // the application follow in reverse order of creation.
    CPrompt::setInstance(nullptr);
    return result;
}
