#include "editors/editorstore.h"

#include "data/backup.h"
#include "data/schema.h"
#include "data/sqlmgr.h"
#include "editors/navaidrecord.h"
#include "editors/updatefile.h"
#include "editors/waypointrecord.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// The simulator's file is saved before its first change of the run; no
// change without that copy.
bool savedBeforeChange(const QSqlDatabase &db, QString *error)
{
    QString why;
    if (CBackup::beforeChangeOf(db.connectionName(), &why))
        return true;
    if (error)
        *error = why;
    return false;
}

bool replaceRow(const QSqlDatabase &db, const QString &table, const QStringList &values, QString *error)
{
    if (!savedBeforeChange(db, error))
        return false;
    QStringList marks;
    for (qsizetype i = 0; i < values.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery query(db);
    bool ok = query.prepare(QStringLiteral("REPLACE INTO %1 VALUES (%2)").arg(table, marks.join(u',')));
    if (ok) {
        for (const QString &v : values)
            query.addBindValue(v);
        ok = query.exec();
    }
    if (!ok && error)
        *error = query.lastError().text();
    return ok;
}

using Deleter = bool (SqlMgr::*)(const QString &, QSqlQuery *);

bool deleteRow(SqlMgr *sqlMgr, Deleter deleter, const QSqlDatabase &db, const QString &ukey, QString *error)
{
    if (!sqlMgr || !db.isValid()) {
        if (error)
            *error = QStringLiteral("no database");
        return false;
    }
    if (!savedBeforeChange(db, error))
        return false;
    QSqlQuery query(db);
    if (!(sqlMgr->*deleter)(ukey, &query)) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    if (query.numRowsAffected() < 1) {
        if (error)
            *error = QStringLiteral("no row has the key ") + ukey;
        return false;
    }
    return true;
}

// Digits only, and a number we can count on.
bool numberAfterPrefix(const QString &rest, qint64 *n)
{
    if (rest.isEmpty() || rest.size() > 9)
        return false;
    for (const QChar c : rest)
        if (c < u'0' || c > u'9')
            return false;
    *n = rest.toLongLong();
    return true;
}

} // namespace

CEditorStore::KeyProposal CEditorStore::proposeNavaidKey(const QSqlDatabase &gen, const QString &prefix)
{
    KeyProposal out;
    QSqlQuery query(gen);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT ukey FROM NAV WHERE ukey LIKE ?") + SqlMgr::LikeEscape))
        return out;
    query.addBindValue(SqlMgr::likePrefix(prefix));
    if (!query.exec())
        return out;
    qint64 largest = 0;
    while (query.next()) {
        const QString key = query.value(0).toString();
        qint64 n = 0;
        // LIKE ignores case; the prefix must match as typed.
        if (key.startsWith(prefix, Qt::CaseSensitive) && numberAfterPrefix(key.mid(prefix.size()), &n)) {
            ++out.existing;
            largest = qMax(largest, n);
        }
    }
    // Numbers written with leading zeros or a key beyond the count could
    // still be taken: step on until the key is free.
    for (qint64 n = largest + 1; n < largest + 1000; ++n) {
        const QString key = prefix + QString::number(n);
        const int exists = keyExists(gen, QStringLiteral("NAV"), key);
        if (exists < 0)
            return out;
        if (exists == 0) {
            out.key = key;
            out.ok = true;
            return out;
        }
    }
    return out;
}

int CEditorStore::keyExists(const QSqlDatabase &db, const QString &table, const QString &ukey)
{
    if (table != QLatin1String("NAV") && table != QLatin1String("WPT"))
        return -1;
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ukey = ?").arg(table)))
        return -1;
    query.addBindValue(ukey);
    if (!query.exec() || !query.next())
        return -1;
    return query.value(0).toInt() > 0 ? 1 : 0;
}

bool CEditorStore::replaceNavaid(const QSqlDatabase &gen, const CNavaidRecord &row, QString *error)
{
    return replaceRow(gen, QStringLiteral("NAV"), row.values(), error);
}

bool CEditorStore::replaceWaypoint(const QSqlDatabase &wpt, const CWaypointRecord &row, QString *error)
{
    return replaceRow(wpt, QStringLiteral("WPT"), row.values(), error);
}

bool CEditorStore::deleteNavaid(SqlMgr *sqlMgr, const QSqlDatabase &gen, const QString &ukey, QString *error)
{
    return deleteRow(sqlMgr, &SqlMgr::deleteNAV, gen, ukey, error);
}

bool CEditorStore::deleteWaypoint(SqlMgr *sqlMgr, const QSqlDatabase &wpt, const QString &ukey, QString *error)
{
    return deleteRow(sqlMgr, &SqlMgr::deleteWPT, wpt, ukey, error);
}

QString CEditorStore::navaidDeletionRecord(const QString &ukey)
{
    return UpdateFile::record(QStringLiteral("GEN"), QStringLiteral("NAV"), QStringLiteral("-"),
                              {CSchema::keyColumn(QStringLiteral("NAV")), ukey});
}

QString CEditorStore::waypointDeletionRecord(const QString &ukey)
{
    return UpdateFile::record(QStringLiteral("WPT"), QStringLiteral("WPT"), QStringLiteral("-"),
                              {CSchema::keyColumn(QStringLiteral("WPT")), ukey});
}
