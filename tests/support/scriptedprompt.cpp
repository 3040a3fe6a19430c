#include "tests/support/scriptedprompt.h"

ScriptedPrompt::ScriptedPrompt()
{
    m_previous = CPrompt::current();
    CPrompt::setInstance(this);
}

ScriptedPrompt::~ScriptedPrompt()
{
    CPrompt::setInstance(m_previous);
}

QStringList ScriptedPrompt::texts() const
{
    QStringList out;
    for (const Record &r : records)
        out << r.text;
    return out;
}

QString ScriptedPrompt::next()
{
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

QString ScriptedPrompt::message(const Message &box)
{
    Record r;
    r.kind = QStringLiteral("message");
    r.icon = box.icon;
    r.title = box.title;
    r.text = box.text;
    r.informativeText = box.informativeText;
    r.buttons = box.buttons;
    r.defaultButton = box.defaultButton;
    records << r;
    return next();
}

void ScriptedPrompt::about(const QString &title, const QString &text)
{
    Record r;
    r.kind = QStringLiteral("about");
    r.title = title;
    r.text = text;
    records << r;
}

void ScriptedPrompt::aboutQt(const QString &title)
{
    Record r;
    r.kind = QStringLiteral("aboutQt");
    r.title = title;
    records << r;
}

QString ScriptedPrompt::existingDirectory(const QString &caption, const QString &startDir)
{
    Record r;
    r.kind = QStringLiteral("directory");
    r.title = caption;
    r.dir = startDir;
    records << r;
    return next();
}

QString ScriptedPrompt::openFileName(const QString &caption, const QString &dir, const QString &filter)
{
    Record r;
    r.kind = QStringLiteral("openFile");
    r.title = caption;
    r.dir = dir;
    r.filter = filter;
    records << r;
    return next();
}

QStringList ScriptedPrompt::openFileNames(const QString &caption, const QString &dir, const QString &filter)
{
    Record r;
    r.kind = QStringLiteral("openFiles");
    r.title = caption;
    r.dir = dir;
    r.filter = filter;
    records << r;
    const QString answer = next();
    return answer.isEmpty() ? QStringList() : answer.split(u'\n');
}

QString ScriptedPrompt::saveFileName(const QString &caption, const QString &dir, const QString &filter)
{
    Record r;
    r.kind = QStringLiteral("saveFile");
    r.title = caption;
    r.dir = dir;
    r.filter = filter;
    records << r;
    return next();
}

QString ScriptedPrompt::text(const QString &title, const QString &label, const QString &initial, bool *ok)
{
    Record r;
    r.kind = QStringLiteral("text");
    r.title = title;
    r.text = label;
    r.dir = initial;
    records << r;
    if (answers.isEmpty()) {
        if (ok)
            *ok = false;
        return QString();
    }
    if (ok)
        *ok = true;
    return next();
}

int ScriptedPrompt::execDialog(QObject *dialog)
{
    Record r;
    r.kind = QStringLiteral("dialog");
    r.title = dialog ? dialog->objectName() : QString();
    records << r;
    return dialogHandler ? dialogHandler(dialog) : 0;
}
