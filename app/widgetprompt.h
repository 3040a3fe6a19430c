#pragma once

#include "app/prompt.h"

// The prompt the program uses: real message boxes, file dialogs and input
// dialogs, all without a parent as the program has always shown them.
class CWidgetPrompt : public CPrompt
{
public:
    QString message(const Message &box) override;
    void about(const QString &title, const QString &text) override;
    void aboutQt(const QString &title) override;
    QString existingDirectory(const QString &caption, const QString &startDir) override;
    QString openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QStringList openFileNames(const QString &caption, const QString &dir, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString text(const QString &title, const QString &label, const QString &initial, bool *ok) override;
    int execDialog(QObject *dialog) override;
};
