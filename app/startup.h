#pragma once

#include <QString>

class QCoreApplication;
class QTranslator;

// The language choice made at start: the interface is French; any other
// system language gets the English translation.
namespace NavStartup {

// Base name of the English translation (the loader adds ".qm").
inline QString translationName() { return QStringLiteral("corvanenavigator_en"); }

// The language part of a locale name: the text before the first "_"
// ("fr" for "fr_CA"; the whole name when there is no "_").
QString languagePart(const QString &localeName);

// True when the language part is exactly "fr" (case matters).
bool isFrench(const QString &localeName);

// Logs the locale line and, unless the language is French, logs
// "main: english version loaded", loads the English translation from the
// current directory (else from programDir) and installs the translator on
// the application, even when nothing could be loaded. Returns true when
// the English branch was taken.
bool chooseLanguage(QCoreApplication &app, QTranslator &translator, const QString &localeName,
                    const QString &programDir);

} // namespace NavStartup
