// Runs a fuzz target on files instead of generated inputs: every file named
// on the command line, and every file of every folder named (sorted by name,
// hidden files left out). A target that crashes or aborts on one of them
// fails the run; the name of the input is printed before it runs, so the
// log says which one.
//
//   fuzz_<target> FILE|FOLDER...

#include "fuzzsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        const QFileInfo arg(QString::fromLocal8Bit(argv[i]));
        if (!arg.isDir())
            inputs << arg.filePath();   // a missing one fails below
        for (const QFileInfo &file : QDir(arg.filePath()).entryInfoList(QDir::Files, QDir::Name))
            inputs << file.filePath();
    }
    if (inputs.isEmpty()) {
        std::fprintf(stderr, "no input to replay\n");
        return 2;
    }
    for (const QString &path : std::as_const(inputs)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s: cannot be read\n", qPrintable(path));
            return 2;
        }
        // A copy of exactly the input's size, so that a read past its end
        // shows under the address sanitizer as it would under the fuzzer.
        const QByteArray bytes = file.readAll();
        std::vector<uint8_t> exact(bytes.begin(), bytes.end());
        std::printf("replay %s (%zu bytes)\n", qPrintable(path), exact.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
    }
    std::printf("replayed %lld inputs\n", static_cast<long long>(inputs.size()));
    return 0;
}
