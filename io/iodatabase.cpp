#include "io/iodatabase.h"

#include "app/prompt.h"
#include "data/backup.h"
#include "data/globalvar.h"
#include "data/schema.h"
#include "data/sqlmgr.h"
#include "io/importtables.h"
#include "io/ioprogress.h"
#include "io/updaterecord.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <map>
#include <memory>
#include <vector>

namespace {

const QString ImportFilter = QStringLiteral("Fichier Corvane Export (*.CSV);;Tous (*.*)");

// Reads one line of at most CIODataBase::MaxLineLength bytes. A longer line
// is consumed to its end and reported through *tooLong with an empty text.
// False at the end of the file.
bool readBoundedLine(QIODevice *device, QByteArray *line, bool *tooLong)
{
    line->clear();
    *tooLong = false;
    bool any = false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = device->readLine(buffer, sizeof buffer);
        if (n <= 0)
            return any;
        any = true;
        if (!*tooLong) {
            if (line->size() + n > CIODataBase::MaxLineLength) {
                *tooLong = true;
                line->clear();
                line->squeeze();
            } else {
                line->append(buffer, n);
            }
        }
        if (buffer[n - 1] == '\n')
            return true;
    }
}

// Lines of the rest of a file, for the progress report; -1 when the file
// cannot be read twice.
qint64 countLines(QIODevice *device)
{
    if (device->isSequential())
        return -1;
    const qint64 start = device->pos();
    qint64 lines = 0;
    char last = '\n';
    QByteArray chunk;
    while (!(chunk = device->read(1024 * 1024)).isEmpty()) {
        lines += chunk.count('\n');
        last = chunk.back();
    }
    if (last != '\n')
        ++lines;
    device->seek(start);
    return lines;
}

QString connectionFor(const QString &database, const CGlobalVar *config)
{
    if (database == QLatin1String("GEN"))
        return config->genName;
    if (database == QLatin1String("WPT"))
        return config->wptName;
    if (database == QLatin1String("M3D"))
        return config->m3dName;
    if (database == QLatin1String("OBJ"))
        return config->objName;
    if (database == QLatin1String("TXY"))
        return config->txyName;
    return QString();
}

// The OSM database of a deletion list must be a plain file of the OSM folder.
bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QLatin1Char(':')) && !name.contains(QLatin1String("..")) && name != QLatin1String(".");
}

QString number(qint64 value)
{
    return QString::number(value);
}

} // namespace

// A table records of the current file write to: the catalogue's table, the
// connection of its database and its insertion statement, prepared once.
struct CIODataBase::ImportTarget
{
    QString database;
    QString tableName;     // as the records spell it
    const CTable *table = nullptr;
    QString connection;
    QList<bool> blob;      // per column
    std::unique_ptr<QSqlQuery> insert;
    bool insertPrepared = false;
};

// What one file's import holds open: a transaction on every connection it
// writes, its targets and its statements, prepared once per file.
class CIODataBase::ImportSession
{
public:
    explicit ImportSession(const CGlobalVar *config)
        : m_config(config)
    {
    }
    ~ImportSession() { commit(); }

    // Saves the database of a connection before this run's first change to
    // it (see CBackup) and opens the file's transaction on it. False when
    // the copy failed: the user has been told, nothing may be written.
    bool begin(const QString &connection)
    {
        if (m_begun.contains(connection))
            return true;
        // Opened first, so that a connection opening only now is saved too.
        QSqlDatabase::database(connection);
        if (!CBackup::confirmConnection(connection))
            return false;
        m_begun << connection;
        database(connection);
        return true;
    }

    QSqlDatabase database(const QString &connection)
    {
        QSqlDatabase db = QSqlDatabase::database(connection);
        if (db.isOpen() && !m_transactions.contains(connection)) {
            m_transactions << connection;
            if (!db.transaction())
                qWarning() << "CIODataBase::importDB transaction" << connection << db.lastError().text();
            widenCache(db);
        }
        return db;
    }

    // A file of a hundred thousand records changes more pages than SQLite
    // keeps by default (2 MB): it would write pages out and read them back
    // before the commit. The connection keeps more pages while the file is
    // imported; the journal and the synchronous writes stay as they are.
    void widenCache(const QSqlDatabase &db)
    {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA cache_size")) || !query.next())
            return;
        const QVariant previous = query.value(0);
        query.finish();
        if (query.exec(QStringLiteral("PRAGMA cache_size = %1").arg(ImportCacheKiB)))
            m_caches[db.connectionName()] = previous;
    }

    void restoreCache(const QString &connection)
    {
        const auto it = m_caches.find(connection);
        if (it == m_caches.end())
            return;
        QSqlQuery query(QSqlDatabase::database(connection, false));
        query.exec(QStringLiteral("PRAGMA cache_size = %1").arg(it->second.toLongLong()));
        m_caches.erase(it);
    }

    // The target a record names; null when the database does not have that
    // table (the database itself is known).
    ImportTarget *target(const QString &database, const QString &tableName)
    {
        // Records of one table usually come in a row.
        if (m_last && m_last->tableName == tableName && m_last->database == database)
            return m_last;
        for (const auto &known : m_targets) {
            if (known->tableName == tableName && known->database == database)
                return m_last = known.get();
        }
        const CTable *table = ImportTables::find(database, tableName);
        if (!table)
            return nullptr;
        auto created = std::make_unique<ImportTarget>();
        created->database = database;
        created->tableName = tableName;
        created->table = table;
        created->connection = connectionFor(database, m_config);
        for (int i = 0; i < table->columnCount(); ++i)
            created->blob << ImportTables::isBlob(*table, i);
        m_targets.push_back(std::move(created));
        return m_last = m_targets.back().get();
    }

    // The insertion statement of a target, prepared on first use.
    QSqlQuery &insert(ImportTarget &target, bool *prepared)
    {
        if (!target.insert) {
            target.insert = std::make_unique<QSqlQuery>(database(target.connection));
            target.insertPrepared = target.insert->prepare(ImportTables::replaceStatement(*target.table));
        }
        *prepared = target.insertPrepared;
        return *target.insert;
    }

    // Any other statement on that connection, prepared on first use.
    QSqlQuery &statement(const QString &connection, const QString &key, const QString &text, bool *prepared)
    {
        const QString id = connection + QChar(0x1f) + key;
        auto it = m_statements.find(id);
        if (it == m_statements.end()) {
            Prepared p;
            p.query = std::make_unique<QSqlQuery>(database(connection));
            p.ok = p.query->prepare(text);
            it = m_statements.emplace(id, std::move(p)).first;
        }
        *prepared = it->second.ok;
        return *it->second.query;
    }

    // Commits every transaction; returns the failures.
    QStringList commit()
    {
        QStringList failures;
        m_last = nullptr;
        m_targets.clear();
        m_statements.clear();
        for (const QString &connection : std::as_const(m_transactions)) {
            QSqlDatabase db = QSqlDatabase::database(connection, false);
            if (db.isOpen() && !db.commit()) {
                failures << QCoreApplication::translate("QObject",
                                                        "Les modifications de la base %1 n'ont pas pu être validées : %2")
                                .arg(connection, db.lastError().text());
                db.rollback();
            }
            if (db.isOpen())
                restoreCache(connection);
        }
        m_transactions.clear();
        m_begun.clear();
        return failures;
    }

private:
    struct Prepared {
        std::unique_ptr<QSqlQuery> query;
        bool ok = false;
    };
    const CGlobalVar *m_config;
    QStringList m_begun;          // connections saved and opened by begin()
    QStringList m_transactions;
    std::vector<std::unique_ptr<ImportTarget>> m_targets;
    ImportTarget *m_last = nullptr;
    std::map<QString, Prepared> m_statements;
    std::map<QString, QVariant> m_caches;   // cache sizes to give back, by connection
    // Negative: KiB, as PRAGMA cache_size counts them.
    static constexpr int ImportCacheKiB = -65536;
};

CIODataBase::CIODataBase(QObject *parent)
    : QObject(parent)
{
}

CIODataBase::~CIODataBase() = default;

void CIODataBase::on_actImport_triggered(CGlobalVar *config)
{
    const QStringList files = prompt().openFileNames(tr("Ouvrir un fichier d'import"), QString(), ImportFilter);
    importFiles(files, config);
}

void CIODataBase::importFiles(const QStringList &fileNames, CGlobalVar *config)
{
    for (const QString &name : fileNames) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        importDB(&file, config);
    }
}

bool CIODataBase::importDB(QFile *file, CGlobalVar *config)
{
    m_errors.clear();
    Stop stop;
    QStringList commitFailures;
    {
        ImportSession session(config);
        stop = runImport(file, config, session);
        commitFailures = session.commit();
    }
    endProgress();

    QString title = tr("Erreur SQL");
    QString text;
    switch (stop.outcome) {
    case Outcome::Finished:
        break;
    case Outcome::UnknownDatabase:
        text = tr("La base de données %1 est inconnue.").arg(stop.first);
        qWarning() << "CIODataBase::importGEN" << text;
        break;
    case Outcome::UnknownTable:
        text = tr("La table %1 est inconnue dans la base de données %2.").arg(stop.first, stop.second);
        qWarning() << qPrintable(QStringLiteral("CIODataBase::importDB %1").arg(stop.second)) << text;
        break;
    case Outcome::Cancelled:
        title = tr("Import");
        text = tr("L'import a été annulé.");
        break;
    case Outcome::OsmInvalid:
        text = tr("Le nom %1 n'est pas celui d'une base de données du dossier OSM.").arg(stop.first);
        qWarning() << "CIODataBase::importDB OSM" << text;
        break;
    case Outcome::OsmMissing:
        text = tr("La base de données %1 est introuvable dans %2.").arg(stop.first, stop.second);
        qWarning() << "CIODataBase::importDB OSM" << text;
        break;
    case Outcome::NotSaved:
        // The backup has told the user already.
        qWarning() << "CIODataBase::importDB" << stop.first << "not saved: the import stops";
        break;
    }

    if (stop.outcome != Outcome::Finished) {
        if (stop.outcome == Outcome::Cancelled)
            prompt().inform(title, text);
        else if (stop.outcome != Outcome::NotSaved)
            prompt().warn(title, text);
        // Records before the stop were to stay applied: say so if they did not.
        if (commitFailures.isEmpty())
            return false;
    }
    for (const QString &failure : std::as_const(commitFailures))
        addError(failure);

    if (m_errors.isEmpty() && stop.outcome == Outcome::Finished) {
        prompt().inform(tr("Importation"), tr("Importation terminée\n %1").arg(file->fileName()));
        return true;
    }
    text = tr("Il y a eu des erreurs à l'importation\n%1").arg(errorReport());
    prompt().warn(tr("Erreur SQL"), text);
    qWarning() << "CIODataBase::importDB" << text;
    return false;
}

CIODataBase::Stop CIODataBase::runImport(QFile *file, CGlobalVar *config, ImportSession &session)
{
    const qint64 total = countLines(file);
    beginProgress(tr("Importation de %1").arg(file->fileName()), total);

    qint64 lineNo = 0;
    QByteArray raw;
    bool tooLong = false;
    while (readBoundedLine(file, &raw, &tooLong)) {
        if (!advanceProgress(lineNo))
            return {Outcome::Cancelled, {}, {}};
        ++lineNo;
        if (tooLong) {
            addError(tr("Ligne %1 : la ligne est trop longue ; elle est ignorée.").arg(lineNo));
            continue;
        }
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const QStringList fields = UpdateRecord::split(line);
        const QString &database = fields.at(0);

        if (database == QLatin1String("OSM"))
            return runOsmList(file, lineNo, config, session);
        if (!ImportTables::databases().contains(database))
            return {Outcome::UnknownDatabase, database, {}};

        const QString tableName = fields.value(1);
        ImportTarget *target = session.target(database, tableName);
        if (!target)
            return {Outcome::UnknownTable, tableName, database};
        if (!session.begin(target->connection))
            return {Outcome::NotSaved, target->connection, {}};

        const QString operation = fields.value(2);
        if (operation == QLatin1String("+")) {
            applyInsert(*target, fields, lineNo, session);
        } else if (operation == QLatin1String("-")) {
            if (!deleteAll(*target, fields, lineNo, session))
                return {Outcome::Cancelled, {}, {}};
        }
        // Any other operation: the line is skipped.
    }
    advanceProgress(lineNo);
    return {};
}

void CIODataBase::applyInsert(ImportTarget &target, const QStringList &fields, qint64 lineNo, ImportSession &session)
{
    const CTable &table = *target.table;
    const int columns = table.columnCount();
    const qsizetype values = fields.size() - 3;
    if (values < columns) {
        addError(tr("Ligne %1 : %2 valeurs pour la table %3 qui a %4 colonnes ; l'enregistrement n'est pas appliqué.")
                     .arg(number(lineNo), number(values), table.name, number(columns)));
        return;
    }
    bool prepared = false;
    QSqlQuery &query = session.insert(target, &prepared);
    if (!prepared) {
        addError(QStringLiteral("One of the query failed to execute. Error detail: ") + query.lastError().text());
        return;
    }
    for (int i = 0; i < columns; ++i) {
        const QString &value = fields.at(3 + i);
        if (target.blob.at(i)) {
            bool ok = false;
            const QByteArray bytes = UpdateRecord::fromHex(value, &ok);
            if (!ok) {
                addError(tr("Ligne %1 : la valeur de la colonne %2 de la table %3 n'est pas un texte hexadécimal ; "
                            "l'enregistrement n'est pas appliqué.")
                             .arg(number(lineNo), table.fields.at(i).name, table.name));
                return;
            }
            query.bindValue(i, bytes);
        } else {
            query.bindValue(i, value);
        }
    }
    if (!query.exec())
        addError(QStringLiteral("One of the query failed to execute. Error detail: ") + query.lastError().text());
}

bool CIODataBase::deleteAll(ImportTarget &target, const QStringList &fields, qint64 lineNo, ImportSession &session)
{
    const CTable &table = *target.table;
    const QString &connection = target.connection;
    if (fields.size() < 5) {
        addError(tr("Ligne %1 : l'enregistrement de suppression a %2 champs au lieu d'au moins 5 ; "
                    "il n'est pas appliqué.")
                     .arg(number(lineNo), number(fields.size())));
        return true;
    }
    const QString column = fields.at(3).trimmed();
    const QString value = fields.at(4).trimmed();
    const int index = table.indexOf(column);
    if (index < 0) {
        addError(tr("Ligne %1 : la colonne %2 est inconnue dans la table %3 ; l'enregistrement n'est pas appliqué.")
                     .arg(number(lineNo), column, table.name));
        return true;
    }
    const QString columnName = table.fields.at(index).name;

    if (!value.isEmpty()) {
        qDebug() << "CIODataBase::deleteAll"
                 << QStringLiteral("DELETE FROM %1 WHERE %2=\"%3\"").arg(table.name, columnName, value);
        bool prepared = false;
        QSqlQuery &query = session.statement(connection, QStringLiteral("-") + table.name + QLatin1Char('.') + columnName,
                                             QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table.name, columnName),
                                             &prepared);
        if (prepared) {
            query.bindValue(0, value);
            if (query.exec())
                return true;
        }
        addError(QStringLiteral("One of the query failed to execute. Error detail: ") + query.lastError().text());
        return true;
    }

    const QString answer = prompt().ask(
        CPrompt::Warning, tr("Attention"),
        tr("Vous allez effacer la totalité des données de la table %1.\nVoulez vous continuer ?").arg(table.name),
        {CPrompt::Ok, CPrompt::Cancel});
    if (answer != CPrompt::Ok)
        return false;
    QSqlQuery query(session.database(connection));
    query.exec(QStringLiteral("DELETE FROM %1").arg(table.name));
    return true;
}

CIODataBase::Stop CIODataBase::runOsmList(QFile *file, qint64 &lineNo, CGlobalVar *config, ImportSession &session)
{
    QByteArray raw;
    bool tooLong = false;
    QString name;
    if (readBoundedLine(file, &raw, &tooLong)) {
        ++lineNo;
        if (!tooLong)
            name = QString::fromLatin1(raw.trimmed());
    }
    if (!isPlainFileName(name))
        return {Outcome::OsmInvalid, name, {}};
    const QString osmDir = config->dirOsm.path();
    if (!QFileInfo(config->dirOsm.filePath(name)).isFile())
        return {Outcome::OsmMissing, name, osmDir};

    config->osmName = name;
    qDebug() << "CIODataBase::importDB" << name << QFileInfo(file->fileName()).absolutePath();
    if (config->sqlMgr)
        config->sqlMgr->addDB(name, osmDir);
    if (!session.begin(name))
        return {Outcome::NotSaved, name, {}};

    bool prepared = false;
    QSqlQuery &query = session.statement(name, QStringLiteral("OSM_OBJ"),
                                         QStringLiteral("DELETE FROM OSM_OBJ WHERE Ident = ?"), &prepared);
    while (readBoundedLine(file, &raw, &tooLong)) {
        if (!advanceProgress(lineNo))
            return {Outcome::Cancelled, {}, {}};
        ++lineNo;
        if (tooLong)
            continue;
        const QString ident = QString::fromLatin1(raw.trimmed());
        if (ident.isEmpty())
            continue;
        const QString statement = QStringLiteral("DELETE FROM OSM_OBJ WHERE Ident = '%1';").arg(ident);
        bool done = false;
        if (prepared) {
            query.bindValue(0, ident);
            done = query.exec();
        }
        if (!done)
            qWarning() << "CIODataBase::importDB Error" << statement;
        qDebug() << "CIODataBase::importDB" << statement;
    }
    advanceProgress(lineNo);
    return {};
}

void CIODataBase::addError(const QString &text)
{
    m_errors << text;
    qWarning() << "CIODataBase::importDB" << text;
}

QString CIODataBase::errorReport() const
{
    if (m_errors.size() <= MaxReportedErrors)
        return m_errors.join(QLatin1Char('\n'));
    return m_errors.mid(0, MaxReportedErrors).join(QLatin1Char('\n')) + QLatin1Char('\n')
        + tr("... et %1 autres erreurs (voir le journal)").arg(m_errors.size() - MaxReportedErrors);
}

bool CIODataBase::beginProgress(const QString &label, qint64 total)
{
    m_reporting = m_progress && total > m_progressThreshold;
    if (m_reporting)
        m_progress->begin(label, total);
    return true;
}

bool CIODataBase::advanceProgress(qint64 done)
{
    return !m_reporting || m_progress->advance(done);
}

void CIODataBase::endProgress()
{
    if (m_reporting)
        m_progress->end();
    m_reporting = false;
}
