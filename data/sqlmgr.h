#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlQuery;

// Opens the simulator's database files as named SQLite connections and
// offers the statement builders of the program: DELETE statements that
// remove every row of a table carrying a key, and selectors that look a key
// up and leave the caller's query on the first row found.
//
// Every key is bound, never pasted into the statement: a key holding quotes,
// a percent sign or a column name is just a text. A near (non-exact) search
// matches the key as a prefix or as contained text; characters of the key
// are taken literally (a "%" or "_" in the key is no wildcard), and, as
// SQLite's LIKE does, ASCII letters match without regard to case. An exact
// search is a case-sensitive equality.
class SqlMgr : public QObject
{
    Q_OBJECT

public:
    explicit SqlMgr(QObject *parent = nullptr);
    ~SqlMgr() override;

    // Registers and opens the connection `name` on the file `name` in the
    // folder `dirPath`. Returns at once when a connection of that name
    // exists. A file that cannot be opened is reported to the user; its
    // connection stays registered.
    void addDB(const QString &name, const QString &dirPath);
    // Unregisters a connection (releasing this manager's handle on it first).
    void removeDB(const QString &name);
    // Unregisters every connection this manager added (the configuration
    // does so when it goes away, so a later one opens its own files).
    void closeAll();
    // The connection most recently looked up or added by addDB.
    QSqlDatabase currentDatabase() const { return m_current; }

    // DELETE builders: remove the rows whose key column equals the key;
    // the result of QSqlQuery::exec (true also when nothing matched).
    bool deleteBDRY(const QString &key, QSqlQuery *query);       // BDRY.bkey
    bool deleteSIDSTAR(const QString &key, QSqlQuery *query);    // SIDSTAR.strm
    bool deleteATSROUTE(const QString &key, QSqlQuery *query);   // ATSROUTE.aaid
    bool deleteFNM(const QString &key, QSqlQuery *query);        // FNM.scene
    bool deleteOBJByScene(const QString &key, QSqlQuery *query); // OBJ.scn
    bool deleteOBJByDay(const QString &key, QSqlQuery *query);   // OBJ.mday
    bool deleteTEXTURE(const QString &key, QSqlQuery *query);    // TEXTURE.xname
    bool deleteMOD(const QString &key, QSqlQuery *query);        // MOD.name
    bool deleteLIGHT(const QString &key, QSqlQuery *query);      // Light.akey
    bool deletePAVE(const QString &key, QSqlQuery *query);       // Pave.akey
    bool deleteRWY(const QString &key, QSqlQuery *query);        // RWY.rapt
    bool deleteCOM(const QString &key, QSqlQuery *query);        // COM.capt
    bool deleteILS(const QString &key, QSqlQuery *query);        // ILS.iapt
    bool deleteWPT(const QString &key, QSqlQuery *query);        // WPT.ukey
    bool deleteNAV(const QString &key, QSqlQuery *query);        // NAV.ukey
    bool deleteAPT(const QString &key, QSqlQuery *query);        // APT.ukey

    // Selectors: "SELECT *" over one or more columns in turn; the first
    // column that matches at all supplies every row. True when the query is
    // on a first row; read further rows with next().
    bool selectOBJByScene(int key, bool exact, QSqlQuery *query);           // OBJ.scn (prefix)
    bool selectATSROUTE(const QString &key, bool exact, QSqlQuery *query);  // aaid (prefix)
    bool selectRWY(const QString &key, bool exact, QSqlQuery *query);       // rapt (prefix)
    bool selectArcs(const QString &key, bool exact, QSqlQuery *query);      // akey (prefix)
    bool selectPAVE(const QString &key, bool exact, QSqlQuery *query);      // akey (prefix)
    bool selectNode(const QString &key, bool exact, QSqlQuery *query);      // akey (prefix)
    bool selectFNM(const QString &key, bool exact, QSqlQuery *query);       // scene (prefix)
    bool selectLIGHT(const QString &key, bool exact, QSqlQuery *query);     // akey (prefix)
    bool selectOBJByDay(const QString &key, bool exact, QSqlQuery *query);  // mday (prefix)
    bool selectMOD(const QString &key, bool exact, QSqlQuery *query);       // name (prefix)
    bool selectTEXTURE(const QString &key, bool exact, QSqlQuery *query);   // xname (prefix)
    bool selectSIDSTAR(const QString &key, bool exact, QSqlQuery *query);   // sapt, strm (prefix)
    bool selectCOM(const QString &key, bool exact, QSqlQuery *query);       // capt, cnam (prefix), ckey (contains)
    bool selectNAV(const QString &key, bool exact, QSqlQuery *query);       // ukey, iden (prefix), name (contains)
    bool selectAPT(const QString &key, bool exact, QSqlQuery *query);       // ukey, iden (prefix), name (contains)
    bool selectWPT(const QString &key, bool exact, QSqlQuery *query);       // ukey, iden (prefix), name (contains)
    bool selectILS(const QString &key, bool exact, QSqlQuery *query);       // iapt, iils (prefix), name, ikey (contains)

    // LIKE patterns for other code that matches the same way: the key with
    // "\", "%" and "_" escaped, then "%" after it (prefix) or around it
    // (contains). Use with LikeEscape after the pattern's placeholder.
    static QString likePrefix(const QString &key);
    static QString likeContains(const QString &key);
    static inline const QString LikeEscape = QStringLiteral(" ESCAPE '\\'");

private:
    enum class Selector;
    enum class Deleter;
    bool select(Selector which, const QVariant &key, bool exact, QSqlQuery *query);
    bool remove(Deleter which, const QString &key, QSqlQuery *query);

    QSqlDatabase m_current;
    QStringList m_names;   // connections added here, still registered
};
