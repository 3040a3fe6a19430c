// A child process for the crash test: imports one update file into the WPT
// database of a folder, telling its progress on standard output, so that the
// test can kill it in the middle of the work. Every box is answered "Ok".
//
//   crashimport <folder holding WPT.db> <update file>

#include "data/globalvar.h"
#include "data/sqlmgr.h"
#include "io/iodatabase.h"
#include "io/ioprogress.h"
#include "tests/support/scriptedprompt.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

// "progress <done>" every thousand records and at the end.
class OutputProgress : public CIOProgress
{
public:
    void begin(const QString &, qint64 total) override { m_total = total; }
    bool advance(qint64 done) override
    {
        if (done - m_last >= 1000 || (done == m_total && done != m_last)) {
            m_last = done;
            std::printf("progress %lld\n", done);
            std::fflush(stdout);
        }
        return true;
    }
    void end() override {}

private:
    qint64 m_total = 0;
    qint64 m_last = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: crashimport <folder holding WPT.db> <update file>\n", stderr);
        return 2;
    }
    ScriptedPrompt prompt;
    prompt.answers = QStringList(100, CPrompt::Ok);
    CGlobalVar config;
    config.wptName = QStringLiteral("WPT.db");
    config.dirWpt = QDir(QString::fromLocal8Bit(argv[1]));
    config.sqlMgr->addDB(config.wptName, config.dirWpt.path());
    QFile file(QString::fromLocal8Bit(argv[2]));
    CIODataBase io;
    OutputProgress progress;
    io.setProgress(&progress);
    io.setProgressThreshold(0);
    const bool ok = file.open(QIODevice::ReadOnly) && io.importDB(&file, &config);
    std::printf("finished %s\n", ok ? "ok" : "with errors");
    for (const ScriptedPrompt::Record &box : prompt.records)
        std::printf("message %s | %s\n", qPrintable(box.title), qPrintable(box.text));
    return ok ? 0 : 1;
}
