// The importer: a generated update file of new waypoints applied to a copy
// of the tree's waypoint database, as the import command does (progress
// dialog included; the final report is answered by a scripted prompt).
#include "tools/bench/bench.h"
#include "tools/bench/updatefile.h"

#include "data/globalvar.h"
#include "data/sqlmgr.h"
#include "io/iodatabase.h"
#include "io/ioprogressdialog.h"
#include "tests/support/scriptedprompt.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace Bench {

namespace {

qint64 rowCount(const QString &connection)
{
    QSqlQuery query(QSqlDatabase::database(connection));
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM WPT")) && query.next() ? query.value(0).toLongLong() : -1;
}

} // namespace

int import(const QString &root, int records)
{
    TreeFiles files;
    QString error;
    if (!treeFiles(root, &files, &error)) {
        err() << "corvane-bench import: " << error << Qt::endl;
        return 1;
    }
    QTemporaryDir temp;
    const QString name = QFileInfo(files.wpt).fileName();
    if (!temp.isValid() || !QFile::copy(files.wpt, temp.filePath(name))) {
        err() << "corvane-bench import: cannot copy " << files.wpt << Qt::endl;
        return 1;
    }
    const QString updatePath = temp.filePath(QStringLiteral("UPDATE.CSV"));
    {
        CGlobalVar geo;
        QFile update(updatePath);
        if (!update.open(QIODevice::WriteOnly) || update.write(BenchUpdateFile::wptRecords(records, 20261206, geo)) < 0) {
            err() << "corvane-bench import: cannot write " << updatePath << Qt::endl;
            return 1;
        }
    }

    ScriptedPrompt prompt;   // the final report is closed at once
    double ms = 0;
    qint64 before = -1, after = -1;
    bool ok = false;
    {
        CGlobalVar config;
        config.dirWpt.setPath(temp.path());
        config.wptName = name;
        config.sqlMgr->addDB(name, temp.path());
        before = rowCount(name);

        QFile update(updatePath);
        if (!update.open(QIODevice::ReadOnly)) {
            err() << "corvane-bench import: cannot read " << updatePath << Qt::endl;
            return 1;
        }
        CIOProgressDialog progress(nullptr);
        CIODataBase io;
        io.setProgress(&progress);
        QElapsedTimer timer;
        timer.start();
        ok = io.importDB(&update, &config);
        ms = double(timer.nsecsElapsed()) / 1e6;
        after = rowCount(name);
    }
    const QStringList texts = prompt.texts();
    if (!ok || after - before != records) {
        err() << "corvane-bench import: the import did not apply every record (" << after - before << " of " << records
              << "): " << texts.join(QStringLiteral(" | ")) << Qt::endl;
        return 1;
    }
    err() << "import " << records << " records in " << number(ms) << " ms" << Qt::endl;
    out() << "import_records_per_s=" << QString::number(qRound64(records / (ms / 1000))) << Qt::endl;
    return 0;
}

} // namespace Bench
