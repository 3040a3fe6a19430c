// Update files: the bytes are an update file that the import command
// applies. The databases are in-memory copies of the simulator schema, made
// afresh for every input, and an OSM database sits in the OSM folder; questions are
// answered Ok, then Cancel, always in that order. Large files report their
// progress. Besides not crashing, the import reports what it did: a success
// with an error listed, or a failure without a box, is a fault.

#include "fuzzsupport.h"

#include "app/prompt.h"
#include "data/globalvar.h"
#include "data/schema.h"
#include "io/iodatabase.h"
#include "io/ioprogress.h"
#include "tests/support/scriptedprompt.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>


namespace {

const QStringList Databases = {QStringLiteral("GEN"), QStringLiteral("WPT"), QStringLiteral("M3D"),
                               QStringLiteral("OBJ"), QStringLiteral("TXY")};

// A connection to the file with the tables of the database short name; a
// new in-memory database is empty, whatever the input before wrote.
void createDatabase(const QString &connection, const QString &file, const QString &database)
{
    QSqlDatabase::removeDatabase(connection);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(file);
    if (!db.open())
        Fuzz::fail("cannot open a database", file + QStringLiteral(": ") + db.lastError().text());
    QSqlQuery query(db);
    for (const CTable *table : CSchema::tables(database)) {
        if (!query.exec(table->createStatement()))
            Fuzz::fail("cannot create a table", table->name + QStringLiteral(": ") + query.lastError().text());
    }
}

// Says go on, and records that every step was in order.
struct Progress : CIOProgress {
    bool open = false;
    qint64 last = 0;
    void begin(const QString &, qint64 total) override
    {
        Fuzz::check(!open && total >= 0, "progress begun twice, or a negative amount of work");
        open = true;
        last = 0;
    }
    bool advance(qint64 done) override
    {
        Fuzz::check(open && done >= last, "progress outside the work, or going back");
        last = done;
        return true;
    }
    void end() override
    {
        Fuzz::check(open, "progress ended twice");
        open = false;
    }
};

} // namespace

// The OSM folder with its one database, empty: the deletion lists find it
// and change nothing.
void Fuzz::prepare()
{
    const QDir scratch(Fuzz::scratchDir());
    scratch.mkpath(QStringLiteral("OSM"));
    createDatabase(QStringLiteral("fuzz-osm-setup"), scratch.filePath(QStringLiteral("OSM/OSM.db")), "OSM");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeScratchFile(QStringLiteral("update.CSV"), Fuzz::bytes(data, size));
    for (const QString &database : Databases)
        createDatabase(database, QStringLiteral(":memory:"), database);   // named as the database

    ScriptedPrompt prompt;
    prompt.answers = QStringList{CPrompt::Ok, CPrompt::Cancel};
    Progress progress;
    bool result = false;
    QStringList errors;
    {
        CGlobalVar config;
        const QList<QString *> names = {&config.genName, &config.wptName, &config.m3dName, &config.objName,
                                        &config.txyName};   // in the order of Databases
        for (qsizetype i = 0; i < names.size(); ++i)
            *names.at(i) = Databases.at(i);
        config.dirOsm = QDir(QDir(Fuzz::scratchDir()).filePath(QStringLiteral("OSM")));

        CIODataBase io;
        io.setProgress(&progress);
        io.setProgressThreshold(2);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            Fuzz::fail("cannot open the update file", file.errorString());
        result = io.importDB(&file, &config);
        errors = io.errors();
    }
    Fuzz::check(!progress.open, "progress left open");

    // Every import ends with one report box, after the questions it asked.
    Fuzz::check(!prompt.records.isEmpty(), "import ended without a report");
    const ScriptedPrompt::Record &report = prompt.records.last();
    Fuzz::check(report.kind == QLatin1String("message"), "report is not a message box");
    if (result) {
        Fuzz::check(errors.isEmpty(), "success reported with errors", errors.join(u'\n'));
        Fuzz::check(report.title == QLatin1String("Importation"), "success report", report.title);
    } else {
        Fuzz::check(report.title != QLatin1String("Importation"), "failure reported as success", report.text);
    }
    for (qsizetype i = 0; i + 1 < prompt.records.size(); ++i)
        Fuzz::check(prompt.records.at(i).title == QLatin1String("Attention"), "box before the end of the import",
                    prompt.records.at(i).text);
    return 0;
}
