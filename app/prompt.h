#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Every modal interaction of the program (message boxes, file and folder
// choosers, text input, the editors' exec()) goes through this interface, so
// tests can answer them and check exactly what the user would have seen.
class CPrompt
{
public:
    enum Icon { NoIcon, Information, Warning, Critical, Question };

    // Standard button names; any other text in a button list is a custom
    // button shown with that caption.
    static inline const QString Ok = QStringLiteral("Ok");
    static inline const QString Cancel = QStringLiteral("Cancel");
    static inline const QString Yes = QStringLiteral("Yes");
    static inline const QString No = QStringLiteral("No");

    struct Message {
        Icon icon = NoIcon;
        QString title;
        QString text;
        QString informativeText;
        QStringList buttons;     // in the order shown
        QString defaultButton;   // empty: the toolkit's choice
        QStringList acceptButtons; // custom buttons with the accept role
        QStringList rejectButtons; // custom buttons with the reject role
    };

    virtual ~CPrompt() = default;

    // Returns the name of the chosen button, or an empty text when the box
    // was closed without choosing.
    virtual QString message(const Message &box) = 0;
    virtual void about(const QString &title, const QString &text) = 0;
    virtual void aboutQt(const QString &title) = 0;
    // Empty result: cancelled.
    virtual QString existingDirectory(const QString &caption, const QString &startDir) = 0;
    virtual QString openFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
    virtual QStringList openFileNames(const QString &caption, const QString &dir, const QString &filter) = 0;
    virtual QString saveFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
    // Text input; ok is false when cancelled.
    virtual QString text(const QString &title, const QString &label, const QString &initial, bool *ok) = 0;
    // Runs a dialog (a QDialog) modally and returns its result code.
    virtual int execDialog(QObject *dialog) = 0;

    // Convenience for the common one-button and two-button boxes.
    QString inform(const QString &title, const QString &text, Icon icon = Information);
    QString warn(const QString &title, const QString &text);
    QString critical(const QString &title, const QString &text);
    QString ask(Icon icon, const QString &title, const QString &text, const QStringList &buttons,
                const QString &defaultButton = QString());

    // The prompt in use; the program installs the widget implementation at
    // start, tests install a scripted one.
    static CPrompt *instance();
    static CPrompt *current();   // may be null
    static void setInstance(CPrompt *prompt);
};

// Short hand used all over the program.
inline CPrompt &prompt() { return *CPrompt::instance(); }
