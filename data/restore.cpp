#include "data/restore.h"

#include "data/backup.h"
#include "data/globalvar.h"
#include "data/textfile.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <functional>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Where the file as it is waits while its copy takes its place.
QString pendingKeptPath(const QString &filePath)
{
    return filePath + QStringLiteral(".restore-old");
}

QString quoted(const QString &identifier)
{
    return u'"' + QString(identifier).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString uniqueConnectionName(const char *what)
{
    static QAtomicInteger<int> serial;
    return QStringLiteral("corvane-restore-%1-%2").arg(QLatin1String(what)).arg(serial.fetchAndAddRelaxed(1));
}

// A connection of its own on a file, removed with the object.
class OwnConnection
{
public:
    OwnConnection(const char *what, const QString &file, const QString &options)
        : m_name(uniqueConnectionName(what))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(file);
        db.setConnectOptions(options);
    }
    ~OwnConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    OwnConnection(const OwnConnection &) = delete;
    OwnConnection &operator=(const OwnConnection &) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    QString name() const { return m_name; }

private:
    QString m_name;
};

// --- comparing -------------------------------------------------------------

QStringList tablesOf(const QSqlDatabase &db, const QString &schema, QString *error)
{
    QStringList tables;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table' "
                                   "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name")
                            .arg(schema))) {
        *error = query.lastError().text();
        return {};
    }
    while (query.next())
        tables << query.value(0).toString();
    return tables;
}

QStringList columnsOf(const QSqlDatabase &db, const QString &schema, const QString &table)
{
    QStringList columns;
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("PRAGMA %1.table_info(%2)").arg(schema, quoted(table)))) {
        while (query.next())
            columns << query.value(1).toString();
    }
    return columns;
}

bool rowCount(const QSqlDatabase &db, const QString &schema, const QString &table, qint64 *count, QString *error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM %1.%2").arg(schema, quoted(table))) || !query.next()) {
        *error = query.lastError().text();
        return false;
    }
    *count = query.value(0).toLongLong();
    return true;
}

// Rows of a table found in one file only, counted with their repeats: the
// rows of both files are grouped by every column; a group with more rows
// in one file than in the other differs by the excess. Exact, but it sorts
// both tables.
bool groupedDifference(const QSqlDatabase &db, const QString &table, const QString &columns, CRowDifference *out,
                       QString *error)
{
    const QString sql =
            QStringLiteral("SELECT COALESCE(SUM(CASE WHEN d > 0 THEN d ELSE 0 END), 0), "
                           "COALESCE(SUM(CASE WHEN d < 0 THEN -d ELSE 0 END), 0) FROM ("
                           "SELECT SUM(corvane_side_) AS d FROM ("
                           "SELECT %1, 1 AS corvane_side_ FROM main.%2 UNION ALL "
                           "SELECT %1, -1 AS corvane_side_ FROM cur.%2) GROUP BY %1)")
                    .arg(columns, quoted(table));
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next()) {
        *error = query.lastError().text();
        return false;
    }
    out->onlyInCopy = query.value(0).toLongLong();
    out->onlyInCurrent = query.value(1).toLongLong();
    return true;
}

// Whether a table has a unique index (the simulator's tables have one on
// their key): a row is then looked up in the other file through it.
bool hasUniqueIndex(const QSqlDatabase &db, const QString &schema, const QString &table)
{
    QSqlQuery list(db);
    if (!list.exec(QStringLiteral("PRAGMA %1.index_list(%2)").arg(schema, quoted(table))))
        return false;
    QStringList indexes;
    while (list.next()) {
        if (list.value(2).toInt() == 1 && list.value(4).toInt() == 0)   // unique, not partial
            indexes << list.value(1).toString();
    }
    for (const QString &index : indexes) {
        // Over columns only: an index over an expression serves no lookup by column.
        QSqlQuery info(db);
        bool columnsOnly = info.exec(QStringLiteral("PRAGMA %1.index_info(%2)").arg(schema, quoted(index)));
        while (columnsOnly && info.next())
            columnsOnly = info.value(1).toInt() >= 0;
        if (columnsOnly)
            return true;
    }
    return false;
}

// Rows of one file that the other does not hold, each looked up through
// the other's unique index.
bool rowsMissing(const QSqlDatabase &db, const QString &table, const QStringList &columns, const QString &from,
                 const QString &in, qint64 *count, QString *error)
{
    QStringList same;
    for (const QString &c : columns)
        same << QStringLiteral("b.%1 IS a.%1").arg(quoted(c));
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM %1.%3 AS a WHERE NOT EXISTS (SELECT 1 FROM %2.%3 AS b WHERE %4)")
                            .arg(from, in, quoted(table), same.join(QStringLiteral(" AND "))))
        || !query.next()) {
        *error = query.lastError().text();
        return false;
    }
    *count = query.value(0).toLongLong();
    return true;
}

// Rows of a table of the same columns in both files, found in one only.
// With a unique index on both sides the rows are looked up (a few tenths of
// a second for a hundred thousand rows); a row held more than once (the
// lookups see it once) shows in the counts, and the table is then grouped.
bool tableDifference(const QSqlDatabase &db, const QString &table, const QStringList &columns,
                     CRowDifference *out, QString *error)
{
    QStringList names;
    for (const QString &c : columns)
        names << quoted(c);
    const QString list = names.join(QStringLiteral(", "));
    if (!hasUniqueIndex(db, QStringLiteral("main"), table) || !hasUniqueIndex(db, QStringLiteral("cur"), table))
        return groupedDifference(db, table, list, out, error);
    qint64 inCopy = 0;
    qint64 inCurrent = 0;
    if (!rowCount(db, QStringLiteral("main"), table, &inCopy, error)
        || !rowCount(db, QStringLiteral("cur"), table, &inCurrent, error)
        || !rowsMissing(db, table, columns, QStringLiteral("main"), QStringLiteral("cur"), &out->onlyInCopy, error)
        || !rowsMissing(db, table, columns, QStringLiteral("cur"), QStringLiteral("main"), &out->onlyInCurrent, error))
        return false;
    if (inCopy - out->onlyInCopy != inCurrent - out->onlyInCurrent)
        return groupedDifference(db, table, list, out, error);
    return true;
}

// The copy is the main database of a read-only connection, the current
// file is attached to it as "cur".
void compareDatabase(const QString &current, CStoredCopy *copy)
{
    OwnConnection own("compare", copy->path, QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1000"));
    QSqlDatabase db = own.db();
    if (!db.open()) {
        copy->error = db.lastError().text();
        return;
    }
    {
        QSqlQuery attach(db);
        if (!attach.prepare(QStringLiteral("ATTACH DATABASE ? AS cur"))) {
            copy->error = attach.lastError().text();
            return;
        }
        attach.addBindValue(current);
        if (!attach.exec()) {
            copy->error = attach.lastError().text();
            return;
        }
    }
    QString error;
    const QStringList inCopy = tablesOf(db, QStringLiteral("main"), &error);
    const QStringList inCurrent = error.isEmpty() ? tablesOf(db, QStringLiteral("cur"), &error) : QStringList();
    if (!error.isEmpty()) {
        copy->error = error;
        return;
    }
    QStringList all = inCopy;
    for (const QString &t : inCurrent) {
        if (!all.contains(t))
            all << t;
    }
    all.sort();
    for (const QString &table : all) {
        CRowDifference diff;
        diff.table = table;
        const QStringList copyColumns = inCopy.contains(table) ? columnsOf(db, QStringLiteral("main"), table) : QStringList();
        const QStringList currentColumns = inCurrent.contains(table) ? columnsOf(db, QStringLiteral("cur"), table) : QStringList();
        bool ok = true;
        if (!copyColumns.isEmpty() && copyColumns == currentColumns) {
            ok = tableDifference(db, table, copyColumns, &diff, &error);
        } else {
            // A table of one file only, or of other columns: every row differs.
            if (!copyColumns.isEmpty())
                ok = rowCount(db, QStringLiteral("main"), table, &diff.onlyInCopy, &error);
            if (ok && !currentColumns.isEmpty())
                ok = rowCount(db, QStringLiteral("cur"), table, &diff.onlyInCurrent, &error);
        }
        if (!ok) {
            copy->error = error;
            copy->tables.clear();
            return;
        }
        if (diff.total() > 0)
            copy->tables << diff;
    }
}

QStringList textLines(const QString &path, QString *error)
{
    QByteArray bytes;
    if (!TextFile::read(path, &bytes, error))
        return {};
    QStringList lines = TextFile::decode(bytes).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

// The lines of each file that the other does not hold (a line held twice
// in one and once in the other counts once), in the order of their file:
// the copy's first.
void compareText(const QString &current, CStoredCopy *copy)
{
    QString error;
    const QStringList copyLines = textLines(copy->path, &error);
    const QStringList currentLines = error.isEmpty() ? textLines(current, &error) : QStringList();
    if (!error.isEmpty()) {
        copy->error = error;
        return;
    }
    auto onlyIn = [](const QStringList &lines, const QStringList &other) {
        QHash<QString, int> available;
        for (const QString &line : other)
            ++available[line];
        QStringList out;
        for (const QString &line : lines) {
            int &n = available[line];
            if (n > 0)
                --n;
            else
                out << line;
        }
        return out;
    };
    for (const QString &line : onlyIn(copyLines, currentLines))
        copy->lines << CLineDifference{line, true};
    for (const QString &line : onlyIn(currentLines, copyLines))
        copy->lines << CLineDifference{line, false};
}

// --- restoring ---------------------------------------------------------------

// Replaces the target with the source's bytes through the one file writer:
// the target is either the source's copy or what it was.
bool copyOver(const QString &source, const QString &target, QString *error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QCoreApplication::translate("QObject", "%1 ne peut pas être lu : %2").arg(native(source), in.errorString());
        return false;
    }
    TextFile::Writer out(target);
    if (!out.open()) {
        *error = out.errorString();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() && in.error() != QFileDevice::NoError) {
            *error = QCoreApplication::translate("QObject", "%1 ne peut pas être lu : %2").arg(native(source), in.errorString());
            return false;   // the writer cancels
        }
        if (!out.write(block)) {
            *error = out.errorString();
            return false;
        }
    }
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

bool removeFile(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if ((info.exists() || info.isSymLink()) && !QFile::remove(path)) {
        if (error)
            *error = QCoreApplication::translate("QObject", "le fichier temporaire %1 ne peut pas être supprimé").arg(native(path));
        return false;
    }
    return true;
}

// The file as it is, byte for byte, beside it.
bool keepCurrent(const QString &filePath, const QString &kept, QString *error)
{
    if (!removeFile(kept, error))
        return false;
    QFile file(filePath);
    if (file.copy(kept))
        return true;
    *error = QCoreApplication::translate("QObject", "la copie du fichier a échoué : %1").arg(file.errorString());
    QFile::remove(kept);
    return false;
}

// Free: no one else holds the file (the probe does now, or the file is no
// database anyone could use).
enum class Lock { Free, HeldByAnother, Error };

// Whether anyone else holds the database: an exclusive transaction is
// asked for at once (after a short wait). While it is held, no one else
// reads or writes the file.
class ExclusiveProbe
{
public:
    explicit ExclusiveProbe(const QString &file)
        : m_file(file)
        , m_own("lock", file, QStringLiteral("QSQLITE_BUSY_TIMEOUT=500"))
    {
    }
    ~ExclusiveProbe() { release(); }

    Lock acquire(QString *error)
    {
        QSqlDatabase db = m_own.db();
        if (!db.open()) {
            *error = db.lastError().text();
            return Lock::Error;
        }
        QSqlQuery begin(db);
        if (!begin.exec(QStringLiteral("BEGIN EXCLUSIVE"))) {
            const QSqlError why = begin.lastError();
            const int code = why.nativeErrorCode().toInt() & 0xff;
            if (code == 5 || code == 6)   // SQLITE_BUSY, SQLITE_LOCKED
                return Lock::HeldByAnother;
            if (code == 11 || code == 26) // SQLITE_CORRUPT, SQLITE_NOTADB: no one can use it anyway
                return Lock::Free;
            *error = why.text();
            return Lock::Error;
        }
        m_inTransaction = true;
        // A write-ahead log that is not empty belongs to someone who writes.
        if (QFileInfo(m_file + QStringLiteral("-wal")).size() > 0) {
            release();
            return Lock::HeldByAnother;
        }
        return Lock::Free;
    }

    void release()
    {
        QSqlDatabase db = m_own.db();
        if (m_inTransaction) {
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            m_inTransaction = false;
        }
        db.close();
    }

private:
    QString m_file;
    OwnConnection m_own;
    bool m_inTransaction = false;
};

// What start-up checks, on the program's connections to the file, or on a
// connection of its own when the program holds none.
bool checkDatabase(const CGlobalVar &config, const QString &filePath, const QStringList &connections, QString *error)
{
    if (!connections.isEmpty()) {
        for (const QString &name : connections) {
            if (!config.checkConnection(name, error))
                return false;
        }
        return true;
    }
    OwnConnection own("check", filePath, QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!CGlobalVar::reopenConnections({own.name()}, error))
        return false;
    return config.checkConnection(own.name(), error);
}

bool sameBytes(const QString &a, const QString &b, QString *error)
{
    QByteArray first;
    QByteArray second;
    if (!TextFile::read(a, &first, error) || !TextFile::read(b, &second, error))
        return false;
    if (first == second)
        return true;
    *error = QCoreApplication::translate("QObject", "%1 ne contient pas ce qui a été écrit").arg(native(a));
    return false;
}

} // namespace

qint64 CStoredCopy::differences() const
{
    qint64 n = lines.size();
    for (const CRowDifference &t : tables)
        n += t.total();
    return n;
}

CRestorableFile CRestore::inspect(const QString &filePath)
{
    CRestorableFile file;
    file.path = filePath;
    file.database = CBackup::isDatabaseFile(filePath);
    QStringList paths;
    for (int n = 1; n <= CBackup::Kept; ++n)
        paths << CBackup::copyPath(filePath, n);
    paths << CBackup::beforeRestorePath(filePath);
    for (int i = 0; i < paths.size(); ++i) {
        const QFileInfo info(paths.at(i));
        if (!info.isFile())
            continue;
        CStoredCopy copy;
        copy.path = paths.at(i);
        copy.number = i < CBackup::Kept ? i + 1 : 0;
        copy.taken = info.lastModified();
        file.database = file.database || CBackup::isDatabaseFile(copy.path);
        file.copies << copy;
    }
    for (CStoredCopy &copy : file.copies) {
        if (file.database)
            compareDatabase(filePath, &copy);
        else
            compareText(filePath, &copy);
    }
    return file;
}

QList<CRestorableFile> CRestore::files(const CGlobalVar &config)
{
    QList<CRestorableFile> out;
    QSet<QString> seen;
    for (const QDir *dir : {&config.dirGen, &config.dirM3d, &config.dirObj, &config.dirTxy, &config.dirWpt,
                            &config.dirRte, &config.dirOsm}) {
        if (dir->path().isEmpty())
            continue;
        const QDir folder(dir->path(), QStringLiteral("*.db"), QDir::Name | QDir::IgnoreCase, QDir::Files);
        for (const QString &entry : folder.entryList()) {
            const QString path = folder.filePath(entry);
            const QString key = CBackup::fileKey(path);
            if (seen.contains(key))
                continue;
            seen.insert(key);
            CRestorableFile file = inspect(path);
            if (!file.copies.isEmpty())
                out << file;
        }
    }
    CRestorableFile ini = inspect(QStringLiteral("%1/system/Corvane.ini").arg(config.dirCorvane.path()));
    if (!ini.copies.isEmpty() && QFileInfo(ini.path).isFile())
        out << ini;
    return out;
}

CRestore::Result CRestore::restore(const CGlobalVar &config, const QString &filePath, const QString &copyPath)
{
    qDebug() << "CRestore::restore" << filePath << "from" << copyPath;
    Result result;
    auto fail = [&](Step step, const QString &why) {
        result.outcome = Outcome::Failed;
        result.step = step;
        result.error = why;
        qWarning() << "CRestore::restore" << filePath << stepName(step) << why;
        return result;
    };
    QString why;
    if (!QFileInfo(copyPath).isFile() || !QFileInfo(filePath).isFile()) {
        return fail(Step::Read, QCoreApplication::translate("QObject", "%1 n'est pas un fichier")
                                        .arg(native(QFileInfo(copyPath).isFile() ? filePath : copyPath)));
    }
    const bool database = CBackup::isDatabaseFile(filePath) || CBackup::isDatabaseFile(copyPath);
    const QString kept = pendingKeptPath(filePath);

    // The program lets go of the file; it opens it again whatever happens.
    const QStringList connections = database ? config.connectionsOf(filePath) : QStringList();
    CGlobalVar::closeConnections(connections);
    auto reopen = [&] { CGlobalVar::reopenConnections(connections); };

    // The file as it is, kept while no one else may change it.
    if (database) {
        ExclusiveProbe probe(filePath);
        const Lock lock = probe.acquire(&why);
        if (lock == Lock::HeldByAnother) {
            probe.release();
            reopen();
            result.outcome = Outcome::Locked;
            qWarning() << "CRestore::restore" << filePath << "is locked by another program";
            return result;
        }
        if (lock == Lock::Error) {
            probe.release();
            reopen();
            return fail(Step::Lock, why);
        }
        const bool keptNow = keepCurrent(filePath, kept, &why);
        probe.release();
        if (!keptNow) {
            reopen();
            return fail(Step::Keep, why);
        }
    } else if (!keepCurrent(filePath, kept, &why)) {
        return fail(Step::Keep, why);
    }

    // Once the copy is in place, a failure puts the file back as it was.
    auto putBack = [&](Step step, const QString &cause) {
        CGlobalVar::closeConnections(connections);
        QString again;
        if (copyOver(kept, filePath, &again) && CGlobalVar::reopenConnections(connections, &again)) {
            QFile::remove(kept);
        } else {
            result.putBack = false;
            result.keptCopy = kept;
            qWarning() << "CRestore::restore" << filePath << "not put back:" << again;
            return fail(step, cause + u'\n' + again);
        }
        return fail(step, cause);
    };

    if (!copyOver(copyPath, filePath, &why)) {
        // The writer left the file as it was.
        reopen();
        QFile::remove(kept);
        return fail(Step::Replace, why);
    }
    if (database && !CGlobalVar::reopenConnections(connections, &why))
        return putBack(Step::Reopen, why);
    const bool checked = database ? checkDatabase(config, filePath, connections, &why) : sameBytes(filePath, copyPath, &why);
    if (!checked)
        return putBack(Step::Check, why);

    // The file as it was becomes the copy that takes this restore back.
    const QString before = CBackup::beforeRestorePath(filePath);
    if (removeFile(before, nullptr) && QFile::rename(kept, before))
        result.keptCopy = before;
    else
        result.keptCopy = kept;
    result.outcome = Outcome::Restored;
    qDebug() << "CRestore::restore" << filePath << "restored; it was kept as" << result.keptCopy;
    return result;
}

QString CRestore::stepName(Step step)
{
    switch (step) {
    case Step::None:
        break;
    case Step::Read:
        return QCoreApplication::translate("QObject", "lecture de la copie");
    case Step::Lock:
        return QCoreApplication::translate("QObject", "accès exclusif à la base de données");
    case Step::Keep:
        return QCoreApplication::translate("QObject", "copie du fichier actuel");
    case Step::Replace:
        return QCoreApplication::translate("QObject", "remplacement du fichier");
    case Step::Reopen:
        return QCoreApplication::translate("QObject", "réouverture de la base de données");
    case Step::Check:
        return QCoreApplication::translate("QObject", "vérification");
    }
    return QString();
}

QString CRestore::title()
{
    return QCoreApplication::translate("QObject", "Restauration");
}

QString CRestore::message(const QString &filePath, const QString &copyPath, const Result &result)
{
    const QString name = QFileInfo(filePath).fileName();
    switch (result.outcome) {
    case Outcome::Restored:
        return QCoreApplication::translate("QObject", "%1 a été restauré depuis %2.\nLe fichier tel qu'il était avant est gardé dans %3 : "
                  "restaurez-le pour revenir en arrière.")
                .arg(name, QFileInfo(copyPath).fileName(), native(result.keptCopy));
    case Outcome::Locked:
        return QCoreApplication::translate("QObject", "Le simulateur utilise %1 : la base de données est verrouillée.\n"
                  "Rien n'a été changé. Fermez le simulateur puis recommencez.")
                .arg(name);
    case Outcome::Failed:
        break;
    }
    if (result.putBack)
        return QCoreApplication::translate("QObject", "La restauration de %1 a échoué à l'étape « %2 » :\n%3\nLe fichier est resté tel qu'il était.")
                .arg(name, stepName(result.step), result.error);
    return QCoreApplication::translate("QObject", "La restauration de %1 a échoué à l'étape « %2 » :\n%3\n"
              "Le fichier n'a pas pu être remis tel qu'il était ; il est gardé dans %4.")
            .arg(name, stepName(result.step), result.error, native(result.keptCopy));
}
