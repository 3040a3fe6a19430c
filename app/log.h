#pragma once

#include <QString>
#include <QtGlobal>

// The program's log: every Qt message, the program's own and Qt's, goes to
// one plain text file in the current directory, one line per message.
namespace NavLog {

inline const char *fileName() { return "navigator_debug.log"; }

// The line written for a message of the given type.
QString line(QtMsgType type, const QString &message);

// Deletes the log of the previous run and installs the handler.
void install();

// The handler itself: opens, appends and closes the file for every message,
// so each line is on disk when the call returns; a fatal message ends the
// process after its line.
void handler(QtMsgType type, const QMessageLogContext &context, const QString &message);

} // namespace NavLog
