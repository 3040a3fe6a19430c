// Runs the configuration's start-up checks on the simulator tree named on the
// command line, as the program does: the log goes to navigator_debug.log in
// the current folder, every message box is printed on standard output as one
// JSON object per line and answered "Ok".
#include "app/log.h"
#include "data/globalvar.h"
#include "tests/support/scriptedprompt.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

class PrintingPrompt : public ScriptedPrompt
{
public:
    QString message(const Message &box) override
    {
        ScriptedPrompt::message(box);
        QJsonObject o;
        o.insert(QStringLiteral("icon"), int(box.icon));
        o.insert(QStringLiteral("title"), box.title);
        o.insert(QStringLiteral("text"), box.text);
        o.insert(QStringLiteral("buttons"), QJsonArray::fromStringList(box.buttons));
        std::fputs(QJsonDocument(o).toJson(QJsonDocument::Compact).constData(), stdout);
        std::fputs("\n", stdout);
        std::fflush(stdout);
        return CPrompt::Ok;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: tst_data_inithelper SIMULATOR_DIR\n", stderr);
        return 2;
    }
    NavLog::install();
    PrintingPrompt prompt;
    CGlobalVar config;
    config.dirCorvane.setPath(QString::fromLocal8Bit(argv[1]));
    const bool ok = config.init();
    std::printf("init %s %s\n", ok ? "true" : "false", qPrintable(config.genName));
    return ok ? 0 : 1;
}
