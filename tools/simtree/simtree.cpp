#include "tools/simtree/simtree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QtEndian>

namespace SimTree {

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

bool copyFile(const QString &from, const QString &to, QString *error)
{
    QFile::remove(to);
    if (!QFile::copy(from, to)) {
        setError(error, QStringLiteral("cannot copy %1 to %2").arg(from, to));
        return false;
    }
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

void putInt(QByteArray &data, int offset, quint32 value)
{
    qToLittleEndian<quint32>(value, data.data() + offset);
}

} // namespace

QStringList splitStatements(const QString &script)
{
    QStringList statements;
    QString current;
    QChar quote;
    const qsizetype n = script.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = script.at(i);
        if (!quote.isNull()) {
            current += c;
            if (c == quote)
                quote = QChar();   // a doubled quote reopens on the next character
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            current += c;
        } else if (c == u'-' && i + 1 < n && script.at(i + 1) == u'-') {
            while (i < n && script.at(i) != u'\n')
                ++i;
        } else if (c == u';') {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

bool runScript(const QString &dbPath, const QString &script, QString *error)
{
    const QString name = QStringLiteral("simtree-") + QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dbPath);
        if (!db.open()) {
            setError(error, db.lastError().text());
            ok = false;
        } else {
            QSqlQuery query(db);
            for (const QString &statement : splitStatements(script)) {
                if (!query.exec(statement)) {
                    setError(error, QStringLiteral("%1: %2").arg(statement.left(80), query.lastError().text()));
                    ok = false;
                    break;
                }
            }
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QByteArray packPod(const QList<PodEntry> &entries)
{
    constexpr int headerSize = 276;
    QByteArray pod(headerSize, '\0');
    pod.replace(0, 4, "POD3");
    putInt(pod, 88, quint32(entries.size()));

    QList<quint32> offsets;
    for (const PodEntry &entry : entries) {
        offsets << quint32(pod.size());
        pod += entry.second;
    }
    const quint32 directory = quint32(pod.size());
    putInt(pod, 264, directory);
    for (int i = 0; i < entries.size(); ++i) {
        QByteArray record(20, '\0');
        putInt(record, 4, quint32(entries.at(i).second.size()));
        putInt(record, 8, offsets.at(i));
        pod += record;
    }
    for (const PodEntry &entry : entries) {
        pod += entry.first.toLatin1();
        pod += '\0';
    }
    return pod;
}

bool writePod(const QString &path, const QList<PodEntry> &entries, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        setError(error, file.errorString());
        return false;
    }
    const QByteArray data = packPod(entries);
    if (file.write(data) != data.size()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

bool makeSkeleton(const QString &root, QString *error)
{
    QDir dir(root);
    for (const char *sub : {"system", "SQL", "Flightplan", "Saved Simulations", "Aircraft", "Data"}) {
        if (!dir.mkpath(QString::fromLatin1(sub))) {
            setError(error, QStringLiteral("cannot create %1/%2").arg(root, QLatin1String(sub)));
            return false;
        }
    }
    QFile marker(dir.filePath(QStringLiteral("Corvane.exe")));
    if (!marker.open(QIODevice::WriteOnly)) {
        setError(error, marker.errorString());
        return false;
    }
    return true;
}

bool buildFromDemo(const QString &demoDir, const QString &root, QString *error)
{
    const QDir demo(demoDir);
    const QDir tree(root);
    if (!demo.exists(QStringLiteral("sql"))) {
        setError(error, QStringLiteral("no demo data in %1").arg(demoDir));
        return false;
    }
    if (!makeSkeleton(root, error))
        return false;

    const QStringList dumps = QDir(demo.filePath(QStringLiteral("sql"))).entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    for (const QString &dump : dumps) {
        QFile file(demo.filePath(QStringLiteral("sql/") + dump));
        if (!file.open(QIODevice::ReadOnly)) {
            setError(error, file.errorString());
            return false;
        }
        const QString db = tree.filePath(QStringLiteral("SQL/") + QFileInfo(dump).completeBaseName() + QStringLiteral(".db"));
        QFile::remove(db);
        if (!runScript(db, QString::fromUtf8(file.readAll()), error))
            return false;
    }

    if (!copyFile(demo.filePath(QStringLiteral("Corvane.ini")), tree.filePath(QStringLiteral("system/Corvane.ini")), error))
        return false;
    const QDir saved(demo.filePath(QStringLiteral("saved")));
    for (const QString &sit : saved.entryList(QDir::Files, QDir::Name)) {
        if (!copyFile(saved.filePath(sit), tree.filePath(QStringLiteral("Saved Simulations/") + sit), error))
            return false;
    }

    const QDir aircraft(demo.filePath(QStringLiteral("aircraft")));
    for (const QString &name : aircraft.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir folder(aircraft.filePath(name));
        QList<PodEntry> entries;
        for (const QString &entry : folder.entryList(QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(entry));
            if (!file.open(QIODevice::ReadOnly)) {
                setError(error, file.errorString());
                return false;
            }
            entries << PodEntry(entry, file.readAll());
        }
        tree.mkpath(QStringLiteral("Aircraft/") + name);
        if (!writePod(tree.filePath(QStringLiteral("Aircraft/%1/%1.pod").arg(name)), entries, error))
            return false;
    }
    return true;
}

QString demoDir()
{
    const QString fromEnv = qEnvironmentVariable("CORVANE_DEMO_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QStringLiteral(CORVANE_SOURCE_DIR "/demo");
}

} // namespace SimTree
