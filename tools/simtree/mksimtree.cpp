// mksimtree: builds a complete simulator tree from the project's demo data.
//   mksimtree [--demo DIR] TARGET
#include "tools/simtree/simtree.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString demo = SimTree::demoDir();
    const qsizetype demoAt = args.indexOf(QStringLiteral("--demo"));
    if (demoAt >= 0 && demoAt + 1 < args.size()) {
        demo = args.at(demoAt + 1);
        args.remove(demoAt, 2);
    }
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "usage: mksimtree [--demo DIR] TARGET\n";
        return 2;
    }
    QString error;
    if (!SimTree::buildFromDemo(demo, QDir(args.first()).absolutePath(), &error)) {
        err << "mksimtree: " << error << "\n";
        return 1;
    }
    return 0;
}
