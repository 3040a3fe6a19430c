#include "tools/bench/bench.h"

#include "data/globalvar.h"

#include <QDir>

namespace Bench {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

QString number(double value)
{
    return QString::number(value, 'f', 1);
}

bool treeFiles(const QString &root, TreeFiles *files, QString *error)
{
    if (!QDir(root).exists()) {
        *error = QStringLiteral("no simulator tree at %1").arg(root);
        return false;
    }
    CGlobalVar config;
    config.dirCorvane.setPath(root);
    if (!config.init()) {
        *error = QStringLiteral("the databases of %1 cannot be opened").arg(root);
        return false;
    }
    files->gen = config.genName.isEmpty() ? QString() : config.dirGen.filePath(config.genName);
    files->wpt = config.wptName.isEmpty() ? QString() : config.dirWpt.filePath(config.wptName);
    files->route = config.routeName.isEmpty() ? QString() : config.dirRte.filePath(config.routeName);
    if (files->gen.isEmpty() || files->wpt.isEmpty()) {
        *error = QStringLiteral("%1 has no GEN or WPT database").arg(root);
        return false;
    }
    return true;
}

} // namespace Bench
