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

} // namespace

qint64 statusField(const QByteArray &status, const QByteArray &field)
{
    const QByteArray head = field + ':';
    for (const QByteArray &line : status.split('\n')) {
        if (!line.startsWith(head))
            continue;
        // "VmRSS:\t  123456 kB"
        const QList<QByteArray> parts = line.mid(head.size()).simplified().split(' ');
        bool ok = false;
        const qint64 value = parts.value(0).toLongLong(&ok);
        return ok ? value : -1;
    }
    return -1;
}

qint64 parentPid(const QByteArray &stat)
{
    // "pid (comm) state ppid ...": the name ends at the last ")".
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 1).simplified().split(' ');
    if (fields.size() < 2)
        return -1;
    bool ok = false;
    const qint64 ppid = fields.at(1).toLongLong(&ok);
    return ok ? ppid : -1;
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

} // namespace ProcMem
