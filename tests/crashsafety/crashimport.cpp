// A child process for the crash test: imports one update file into the WPT
// database of a folder, telling its progress on standard output, so that the
// test can kill it in the middle of the work.
//
//   crashimport <folder holding WPT.db> <update file>

#include "app/prompt.h"
#include "data/globalvar.h"
#include "data/sqlmgr.h"
#include "io/iodatabase.h"
#include "io/ioprogress.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

void say(const QByteArray &line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Every box the import shows goes to standard output and is answered "Ok".
class OutputPrompt : public CPrompt
{
public:
    QString message(const Message &box) override
    {
        say("message " + box.title.toUtf8() + " | " + QByteArray(box.text.toUtf8()).replace('\n', ' '));
        return Ok;
    }
    void about(const QString &, const QString &) override {}
    void aboutQt(const QString &) override {}
    QString existingDirectory(const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QStringList openFileNames(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString text(const QString &, const QString &, const QString &, bool *ok) override
    {
        if (ok)
            *ok = false;
        return {};
    }
    int execDialog(QObject *) override { return 0; }
};

// "progress <done> <total>" every Step records.
class OutputProgress : public CIOProgress
{
public:
    static constexpr qint64 Step = 1000;
    void begin(const QString &, qint64 total) override
    {
        m_total = total;
        say("begin " + QByteArray::number(total));
    }
    bool advance(qint64 done) override
    {
        if (done - m_last >= Step || (done == m_total && done != m_last)) {
            m_last = done;
            say("progress " + QByteArray::number(done) + ' ' + QByteArray::number(m_total));
        }
        return true;
    }
    void end() override { say("end"); }

private:
    qint64 m_total = 0;
    qint64 m_last = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fputs("usage: crashimport <folder holding WPT.db> <update file>\n", stderr);
        return 2;
    }
    OutputPrompt prompt;
    CPrompt::setInstance(&prompt);

    const QString folder = args.at(1);
    CGlobalVar config;
    config.wptName = QStringLiteral("WPT.db");
    config.dirWpt = QDir(folder);
    config.sqlMgr->addDB(config.wptName, folder);

    QFile file(args.at(2));
    if (!file.open(QIODevice::ReadOnly)) {
        say("cannot open " + file.fileName().toUtf8());
        return 2;
    }
    CIODataBase io;
    OutputProgress progress;
    io.setProgress(&progress);
    io.setProgressThreshold(0);
    const bool ok = io.importDB(&file, &config);
    say(ok ? "finished ok" : "finished with errors");
    CPrompt::setInstance(nullptr);
    return ok ? 0 : 1;
}
