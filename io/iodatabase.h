#pragma once

#include <QDir>
#include <QObject>
#include <QString>
#include <QStringList>

class QFile;
class QIODevice;
class CGlobalVar;
class CIOProgress;
struct CTable;

// Update files: applies them to the simulator databases (import) and writes
// them from whole tables, scenery projects and 3D models (exports). Every
// question and report goes through the prompt; nothing here needs a widget.
class CIODataBase : public QObject
{
    Q_OBJECT

public:
    explicit CIODataBase(QObject *parent = nullptr);
    ~CIODataBase() override;

    // The import action: asks for one or more update files and imports them
    // in the order given. A file that cannot be opened is skipped.
    void on_actImport_triggered(CGlobalVar *config);
    // Imports files already chosen, in order, each with its own report.
    void importFiles(const QStringList &fileNames, CGlobalVar *config);

    // Applies the records of an open update file. True when it ran to the
    // end without an error. All changes of one file form one transaction per
    // database, committed where the import stops. Each database is saved
    // before its first change of the run (see CBackup); when that copy
    // fails the import stops there.
    bool importDB(QFile *file, CGlobalVar *config);

    // The exports ask before they replace an existing file, and report
    // their outcome.
    // Every navaid of the GEN connection, every waypoint of the WPT connection.
    bool exportNAV(const QString &connection, const QString &fileName);
    bool exportWPT(const QString &connection, const QString &fileName);
    // One scenery project: its FNM rows and the objects of its scenes. The
    // project's folder is made under projectDir: a name that is no plain
    // folder name (a path separator, "..") is refused with a message.
    bool exportOBJ(const QString &connection, const QDir &projectDir, const QString &project,
                   const QString &fileName);
    // One 3D model (and its night variant) with their textures.
    bool export3DObject(const QString &connection, const QString &model, const QString &fileName);

    // The error texts of the last import.
    const QStringList &errors() const { return m_errors; }

    // Long work reports its progress (not owned; null: no report). Work of
    // more records than the threshold is reported.
    void setProgress(CIOProgress *progress) { m_progress = progress; }
    void setProgressThreshold(qint64 records) { m_progressThreshold = records; }
    static constexpr qint64 DefaultProgressThreshold = 5000;

    // The longest line an update file may hold (a texture blob in
    // hexadecimal included); longer lines are reported and skipped.
    static constexpr qint64 MaxLineLength = 64 * 1024 * 1024;
    // How many error texts the final report lists; the rest are counted.
    static constexpr int MaxReportedErrors = 40;

private:
    class ImportSession;
    struct ImportTarget;
    enum class Outcome { Finished, UnknownDatabase, UnknownTable, Cancelled, OsmInvalid, OsmMissing, NotSaved };
    struct Stop {
        Outcome outcome = Outcome::Finished;
        QString first;   // the database, the table or the OSM file named in the report
        QString second;
    };

    Stop runImport(QFile *file, CGlobalVar *config, ImportSession &session);
    Stop runOsmList(QFile *file, qint64 &lineNo, CGlobalVar *config, ImportSession &session);
    void applyInsert(ImportTarget &target, const QStringList &fields, qint64 lineNo, ImportSession &session);
    // False when the user declined the deletion of a whole table.
    bool deleteAll(ImportTarget &target, const QStringList &fields, qint64 lineNo, ImportSession &session);
    void addError(const QString &text);
    QString errorReport() const;
    // Progress of the current work; false: stop.
    bool beginProgress(const QString &label, qint64 total);
    bool advanceProgress(qint64 done);
    void endProgress();

    struct TableExport;
    bool exportTable(const TableExport &table, const QString &connection, const QString &fileName);
    bool confirmOverwrite(const QString &fileName);
    void reportOpenFailure(const QString &operation, const QString &fileName);
    void reportWriteFailure(const QString &operation, const QString &fileName, const QString &error);
    static QString skippedText(int skipped, const QStringList &keys);

    QStringList m_errors;
    CIOProgress *m_progress = nullptr;
    qint64 m_progressThreshold = DefaultProgressThreshold;
    bool m_reporting = false;
};
