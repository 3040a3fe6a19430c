// Renders the program's SVG icon sources to the bitmaps compiled into it.
//   mkicons OUTDIR SIZE FILE.svg...
// Each FILE.svg becomes OUTDIR/FILE.bmp, SIZE x SIZE pixels, drawn on a
// white ground (bitmaps carry no transparency).
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    bool sizeOk = false;
    const int size = args.size() > 2 ? args.at(2).toInt(&sizeOk) : 0;
    if (args.size() < 4 || !sizeOk || size < 8 || size > 256) {
        std::fprintf(stderr, "usage: mkicons OUTDIR SIZE FILE.svg...\n");
        return 2;
    }
    const QDir out(args.at(1));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "mkicons: cannot create %s\n", qPrintable(out.path()));
        return 1;
    }

    for (int i = 3; i < args.size(); ++i) {
        const QString source = args.at(i);
        QSvgRenderer renderer(source);
        if (!renderer.isValid()) {
            std::fprintf(stderr, "mkicons: %s is no valid SVG file\n", qPrintable(source));
            return 1;
        }
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();

        const QString target = out.filePath(QFileInfo(source).completeBaseName() + QStringLiteral(".bmp"));
        if (!image.save(target, "BMP")) {
            std::fprintf(stderr, "mkicons: cannot write %s\n", qPrintable(target));
            return 1;
        }
    }
    return 0;
}
