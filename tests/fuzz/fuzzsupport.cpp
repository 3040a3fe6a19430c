#include "fuzzsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

// Made after the application object, so removed before it goes.
QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The application keeps references to these for its whole life.
    static int count = 1;
    static QByteArray name(*argc > 0 ? (*argv)[0] : "fuzz");
    static char *names[] = {name.data(), nullptr};
    static QCoreApplication app(count, names);
    if (qEnvironmentVariableIntValue("CORVANE_FUZZ_VERBOSE") == 0)
        qInstallMessageHandler(quietHandler);
    if (!scratch().isValid())
        Fuzz::fail("cannot create a scratch folder", scratch().errorString());
    Fuzz::prepare();
    return 0;
}

namespace Fuzz {

__attribute__((weak)) void prepare() {}

QString scratchDir()
{
    return scratch().path();
}

QString writeScratchFile(const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(scratchDir()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write a scratch file", path + QStringLiteral(": ") + file.errorString());
    return path;
}

void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

} // namespace Fuzz
