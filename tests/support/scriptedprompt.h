#pragma once

#include "app/prompt.h"

#include <QList>
#include <QStringList>
#include <functional>

// The prompt of the tests: records every prompt the program shows and
// answers from a queue the test fills. An empty queue answers "" (the box
// closed, the chooser cancelled). Installed for its lifetime.
class ScriptedPrompt : public CPrompt
{
public:
    struct Record {
        QString kind;            // "message", "about", "aboutQt", "directory", "openFile", "openFiles", "saveFile", "text", "dialog"
        Icon icon = NoIcon;
        QString title;
        QString text;            // message text, or the label of a text input
        QString informativeText;
        QStringList buttons;
        QString defaultButton;
        QString dir;             // start folder of a chooser
        QString filter;
    };

    ScriptedPrompt();
    ~ScriptedPrompt() override;

    QList<Record> records;
    QStringList answers;
    // Runs a dialog in place of exec(); returns its result code.
    std::function<int(QObject *)> dialogHandler;

    // Texts of the message boxes shown, in order.
    QStringList texts() const;
    const Record &last() const { return records.last(); }

    QString message(const Message &box) override;
    void about(const QString &title, const QString &text) override;
    void aboutQt(const QString &title) override;
    QString existingDirectory(const QString &caption, const QString &startDir) override;
    QString openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QStringList openFileNames(const QString &caption, const QString &dir, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString text(const QString &title, const QString &label, const QString &initial, bool *ok) override;
    int execDialog(QObject *dialog) override;

private:
    QString next();
    CPrompt *m_previous = nullptr;
};
