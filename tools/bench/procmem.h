#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Memory of a process and of everything it started (the web engine runs its
// page in processes of its own), read from /proc.
namespace ProcMem {

// A field of a /proc/<pid>/status text in kB ("VmRSS", "VmHWM"); -1 when
// the text has no such field.
qint64 statusField(const QByteArray &status, const QByteArray &field);

// The parent's pid in a /proc/<pid>/stat text; -1 when it cannot be read.
// The command name in parentheses may itself hold blanks and ") ".
qint64 parentPid(const QByteArray &stat);

// The CPU time (user plus system, in clock ticks) in a /proc/<pid>/stat
// text; -1 when it cannot be read.
qint64 cpuTicks(const QByteArray &stat);

// The pids of the process tree rooted at `root` (root first, then its
// descendants), as `procDir` lists them.
QList<qint64> processTree(qint64 root, const QString &procDir = QStringLiteral("/proc"));

// A status field summed over the tree, in kB; processes that end while
// they are read count for nothing.
qint64 treeKb(qint64 root, const QByteArray &field, const QString &procDir = QStringLiteral("/proc"));

// The CPU time of the tree in clock ticks.
qint64 treeCpuTicks(qint64 root, const QString &procDir = QStringLiteral("/proc"));

// The CPU time of this process (all its threads) in clock ticks.
qint64 ownCpuTicks();

} // namespace ProcMem
