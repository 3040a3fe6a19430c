#pragma once

#include "app/log.h"

#include <QStringList>
#include <QtGlobal>

// Collects the program's log lines ("Debug: ...", "Warning: ...") while it
// lives, in the form the log file has them. Captures nest: the innermost
// one collects.
class LogCapture
{
public:
    LogCapture()
        : m_previousLines(s_lines)
    {
        s_lines = &lines;
        m_previous = qInstallMessageHandler(handler);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        s_lines = m_previousLines;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList lines;

    // Lines that begin with the prefix.
    QStringList starting(const QString &prefix) const
    {
        QStringList out;
        for (const QString &line : lines) {
            if (line.startsWith(prefix))
                out << line;
        }
        return out;
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (s_lines)
            *s_lines << NavLog::line(type, message);
    }
    static inline QStringList *s_lines = nullptr;
    QStringList *m_previousLines = nullptr;
    QtMessageHandler m_previous = nullptr;
};
