#include "data/backup.h"

#include "app/prompt.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QMutex g_mutex;

QSet<QString> &savedFiles()
{
    static QSet<QString> files;
    return files;
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A consistent copy of a database, made through a read-only connection of
// its own: the program's connection may hold statements open, and a copy of
// the bare file could catch a write half done.
bool copyDatabase(const QString &source, const QString &target, QString *error)
{
    static QAtomicInteger<int> serial;
    const QString name = QStringLiteral("corvane-backup-%1").arg(serial.fetchAndAddRelaxed(1));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(source);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            *error = QCoreApplication::translate("QObject", "la base de données ne peut pas être lue : %1")
                             .arg(db.lastError().text());
        } else {
            QSqlQuery query(db);
            ok = query.prepare(QStringLiteral("VACUUM INTO ?"));
            if (ok) {
                query.addBindValue(target);
                ok = query.exec();
            }
            if (!ok)
                *error = QCoreApplication::translate("QObject", "la copie de la base de données a échoué : %1")
                                 .arg(query.lastError().text());
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool copyPlainFile(const QString &source, const QString &target, QString *error)
{
    QFile file(source);
    if (file.copy(target))
        return true;
    *error = QCoreApplication::translate("QObject", "la copie du fichier a échoué : %1")
                     .arg(file.errorString());
    return false;
}

// Drops the oldest copy and moves the others one place on.
bool shiftCopies(const QString &filePath, QString *error)
{
    const QString oldest = CBackup::copyPath(filePath, CBackup::Kept);
    const QFileInfo oldestInfo(oldest);
    if ((oldestInfo.exists() || oldestInfo.isSymLink()) && !QFile::remove(oldest)) {
        *error = QCoreApplication::translate("QObject", "l'ancienne copie %1 ne peut pas être supprimée")
                         .arg(native(oldest));
        return false;
    }
    for (int n = CBackup::Kept - 1; n >= 1; --n) {
        const QString from = CBackup::copyPath(filePath, n);
        if (!QFileInfo::exists(from))
            continue;
        const QString to = CBackup::copyPath(filePath, n + 1);
        if (!QFile::rename(from, to)) {
            *error = QCoreApplication::translate("QObject", "la copie %1 ne peut pas être renommée en %2")
                             .arg(native(from), native(to));
            return false;
        }
    }
    return true;
}

bool makeCopy(const QString &filePath, QString *error)
{
    // The new copy is complete before any older one moves: a failure leaves
    // the copies of earlier runs as they were.
    const QString fresh = filePath + QStringLiteral(".bak-new");
    if (QFileInfo(fresh).isFile() && !QFile::remove(fresh)) {
        *error = QCoreApplication::translate("QObject", "le fichier temporaire %1 ne peut pas être supprimé")
                         .arg(native(fresh));
        return false;
    }
    const bool copied = CBackup::isDatabaseFile(filePath) ? copyDatabase(filePath, fresh, error)
                                               : copyPlainFile(filePath, fresh, error);
    if (!copied) {
        if (QFileInfo(fresh).isFile())
            QFile::remove(fresh);
        return false;
    }
    if (!shiftCopies(filePath, error)) {
        QFile::remove(fresh);
        return false;
    }
    const QString newest = CBackup::copyPath(filePath, 1);
    if (!QFile::rename(fresh, newest)) {
        *error = QCoreApplication::translate("QObject", "la copie %1 ne peut pas être renommée en %2")
                         .arg(native(fresh), native(newest));
        QFile::remove(fresh);
        return false;
    }
    return true;
}

} // namespace

bool CBackup::beforeChange(const QString &filePath, QString *error)
{
    QString why;
    if (filePath.isEmpty())
        return true;
    const QString key = CBackup::fileKey(filePath);
    QMutexLocker lock(&g_mutex);
    if (savedFiles().contains(key))
        return true;
    const QFileInfo info(filePath);
    if (!info.exists()) {
        // Nothing there yet: the change creates the file.
        return true;
    }
    if (!info.isFile()) {
        why = QCoreApplication::translate("QObject", "%1 n'est pas un fichier").arg(native(filePath));
    } else if (makeCopy(filePath, &why)) {
        savedFiles().insert(key);
        qDebug() << "CBackup::beforeChange" << filePath << "saved as" << copyPath(filePath, 1);
        return true;
    }
    qWarning() << "CBackup::beforeChange" << filePath << why;
    if (error)
        *error = why;
    return false;
}

QString CBackup::connectionFile(const QString &connectionName)
{
    if (connectionName.isEmpty() || !QSqlDatabase::contains(connectionName))
        return QString();
    return QSqlDatabase::database(connectionName, false).databaseName();
}

bool CBackup::beforeChangeOf(const QString &connectionName, QString *error)
{
    if (connectionName.isEmpty() || !QSqlDatabase::contains(connectionName))
        return true;
    const QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (!db.isOpen())
        return true;
    const QString file = db.databaseName();
    // An in-memory database is no file of the simulator.
    if (file.isEmpty() || file == QLatin1String(":memory:"))
        return true;
    return beforeChange(file, error);
}

QString CBackup::failureTitle()
{
    return QCoreApplication::translate("QObject", "Sauvegarde");
}

QString CBackup::failureText(const QString &filePath, const QString &error)
{
    return QCoreApplication::translate(
                   "QObject", "Impossible de sauvegarder %1 avant sa modification :\n%2\nLa modification est annulée.")
            .arg(native(filePath), error);
}

bool CBackup::confirm(const QString &filePath)
{
    QString error;
    if (beforeChange(filePath, &error))
        return true;
    prompt().warn(failureTitle(), failureText(filePath, error));
    return false;
}

bool CBackup::confirmConnection(const QString &connectionName)
{
    QString error;
    if (beforeChangeOf(connectionName, &error))
        return true;
    prompt().warn(failureTitle(), failureText(connectionFile(connectionName), error));
    return false;
}

QString CBackup::copyPath(const QString &filePath, int n)
{
    return filePath + QStringLiteral(".bak") + QString::number(n);
}

QString CBackup::fileKey(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString CBackup::beforeRestorePath(const QString &filePath)
{
    return filePath + QStringLiteral(".before-restore");
}

bool CBackup::isDatabaseFile(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray magic("SQLite format 3\0", 16);
    return file.read(magic.size()) == magic;
}

bool CBackup::isSaved(const QString &filePath)
{
    QMutexLocker lock(&g_mutex);
    return savedFiles().contains(CBackup::fileKey(filePath));
}

void CBackup::reset()
{
    QMutexLocker lock(&g_mutex);
    savedFiles().clear();
}
