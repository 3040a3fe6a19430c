#include "tools/bench/procmem.h"

#include <QDir>
#include <QFile>
#include <QHash>

namespace ProcMem {

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    // /proc files report no size: read until the end.
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The fields of a /proc/<pid>/stat text after "pid (comm)", state first;
// the command name in parentheses may itself hold blanks and ") ".
QList<QByteArray> statFields(const QByteArray &stat)
{
    const qsizetype close = stat.lastIndexOf(')');
    return close < 0 ? QList<QByteArray>() : stat.mid(close + 1).simplified().split(' ');
}

// Field `index` of `fields` as a number; -1 when there is no such number.
qint64 numberField(const QList<QByteArray> &fields, qsizetype index)
{
    bool ok = false;
    const qint64 value = fields.value(index).toLongLong(&ok);
    return ok ? value : -1;
}

} // namespace

qint64 statusField(const QByteArray &status, const QByteArray &field)
{
    const QByteArray head = field + ':';
    for (const QByteArray &line : status.split('\n')) {
        if (!line.startsWith(head))
            continue;
        // "VmRSS:\t  123456 kB"
        return numberField(line.mid(head.size()).simplified().split(' '), 0);
    }
    return -1;
}

qint64 parentPid(const QByteArray &stat)
{
    return numberField(statFields(stat), 1);
}

qint64 cpuTicks(const QByteArray &stat)
{
    // utime and stime: the 12th and 13th fields after the name.
    const QList<QByteArray> fields = statFields(stat);
    const qint64 user = numberField(fields, 11);
    const qint64 system = numberField(fields, 12);
    return user >= 0 && system >= 0 ? user + system : -1;
}

QList<qint64> processTree(qint64 root, const QString &procDir)
{
    QHash<qint64, QList<qint64>> children;
    const QDir proc(procDir);
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok)
            continue;
        const qint64 ppid = parentPid(readAll(proc.filePath(entry + QStringLiteral("/stat"))));
        if (ppid >= 0)
            children[ppid] << pid;
    }
    QList<qint64> tree{root};
    for (qsizetype i = 0; i < tree.size(); ++i) {
        for (qint64 child : children.value(tree.at(i))) {
            if (!tree.contains(child))
                tree << child;
        }
    }
    return tree;
}

qint64 treeKb(qint64 root, const QByteArray &field, const QString &procDir)
{
    qint64 total = 0;
    for (qint64 pid : processTree(root, procDir)) {
        const qint64 kb = statusField(readAll(QStringLiteral("%1/%2/status").arg(procDir).arg(pid)), field);
        if (kb > 0)
            total += kb;
    }
    return total;
}

qint64 treeCpuTicks(qint64 root, const QString &procDir)
{
    qint64 ticks = 0;
    for (qint64 pid : processTree(root, procDir))
        ticks += qMax<qint64>(0, cpuTicks(readAll(QStringLiteral("%1/%2/stat").arg(procDir).arg(pid))));
    return ticks;
}

qint64 ownCpuTicks()
{
    return qMax<qint64>(0, cpuTicks(readAll(QStringLiteral("/proc/self/stat"))));
}

} // namespace ProcMem
