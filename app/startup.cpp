#include "app/startup.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTranslator>

namespace NavStartup {

QString languagePart(const QString &localeName)
{
    return localeName.section(u'_', 0, 0);
}

bool isFrench(const QString &localeName)
{
    return languagePart(localeName) == QLatin1String("fr");
}

bool chooseLanguage(QCoreApplication &app, QTranslator &translator, const QString &localeName,
                    const QString &programDir)
{
    qDebug() << "main: locale" << localeName;
    if (isFrench(localeName))
        return false;

    qDebug() << "main: english version loaded";
    // The current directory first, as the program has always looked there;
    // then beside the program, where the build and the installation put it.
    // A missing file leaves the translator empty and the interface French.
    if (!translator.load(translationName()) && !programDir.isEmpty())
        (void)translator.load(translationName(), programDir);
    app.installTranslator(&translator);
    return true;
}

} // namespace NavStartup
