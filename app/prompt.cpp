#include "app/prompt.h"

namespace {
CPrompt *g_prompt = nullptr;
}

CPrompt *CPrompt::instance()
{
    Q_ASSERT_X(g_prompt, "CPrompt::instance", "no prompt installed");
    return g_prompt;
}

CPrompt *CPrompt::current()
{
    return g_prompt;
}

void CPrompt::setInstance(CPrompt *p)
{
    g_prompt = p;
}

QString CPrompt::inform(const QString &title, const QString &text, Icon icon)
{
    return message({icon, title, text, {}, {Ok}, {}, {}, {}});
}

QString CPrompt::warn(const QString &title, const QString &text)
{
    return inform(title, text, Warning);
}

QString CPrompt::critical(const QString &title, const QString &text)
{
    return inform(title, text, Critical);
}

QString CPrompt::ask(Icon icon, const QString &title, const QString &text, const QStringList &buttons,
                     const QString &defaultButton)
{
    return message({icon, title, text, {}, buttons, defaultButton, {}, {}});
}
