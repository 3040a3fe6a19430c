#pragma once

#include <QSqlDatabase>
#include <QString>

class CNavaidRecord;
class CWaypointRecord;
class SqlMgr;

// The editors' statements on the simulator databases. Every value is bound,
// so names with apostrophes or quotes are stored as typed.
class CEditorStore
{
public:
    // The key the navaid key builder proposes for a prefix ("FR1PGS"):
    // the prefix followed by one more than the largest number already used
    // right after it (keys made of the prefix and digits only), and never a
    // key that NAV holds already.
    struct KeyProposal {
        bool ok = false;    // false when the statements failed
        int existing = 0;   // navaids already filed under the prefix
        QString key;
    };
    static KeyProposal proposeNavaidKey(const QSqlDatabase &gen, const QString &prefix);

    // Whether a table ("NAV" or "WPT") holds a row with that ukey
    // (case-sensitive, as the unique index compares). -1 when the
    // statement failed.
    static int keyExists(const QSqlDatabase &db, const QString &table, const QString &ukey);

    // The writers below save the database file first, once per run (see
    // CBackup); when that copy fails they change nothing and say why.

    // REPLACE INTO NAV / WPT with the record's values in table order.
    static bool replaceNavaid(const QSqlDatabase &gen, const CNavaidRecord &row, QString *error = nullptr);
    static bool replaceWaypoint(const QSqlDatabase &wpt, const CWaypointRecord &row, QString *error = nullptr);

    // Deletes the row of that ukey with the SQL manager's builder; true
    // only when a row went away.
    static bool deleteNavaid(SqlMgr *sqlMgr, const QSqlDatabase &gen, const QString &ukey, QString *error = nullptr);
    static bool deleteWaypoint(SqlMgr *sqlMgr, const QSqlDatabase &wpt, const QString &ukey,
                               QString *error = nullptr);

    // The deletion record: "GEN;NAV;-;ukey;<key>" or "WPT;WPT;-;ukey;<key>".
    static QString navaidDeletionRecord(const QString &ukey);
    static QString waypointDeletionRecord(const QString &ukey);
};
