#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One column of a simulator table.
struct CField
{
    QString name;
    QString type;          // "I" integer, "C" text, "D" double, "F" float, "B" blob
    int length = 0;        // maximum characters of a text column, otherwise 0
    QString description;
    int position = 0;      // from 0, in stored order

    // The column type the simulator's files declare: INTEGER, TEXT, REAL or BLOB.
    QString sqlType() const;
};

// One table of a simulator database, its columns in stored order.
struct CTable
{
    QString name;          // as stored: "APT", "Light", "TEXTURE", ...
    QString database;      // short name: "GEN", "M3D", "OBJ", "TXY", "WPT", "ROUTE", "OSM"; empty for the state list
    QString catalogueName; // name in the field catalogue ("TEX" for TEXTURE); empty for the tables
                           // known only from the program's statements
    QString key;           // key column, empty when the table has none
    QStringList unique;    // columns of the UNIQUE constraint of the simulator's files
    QList<CField> fields;

    int columnCount() const { return int(fields.size()); }
    QStringList columnNames() const;
    // Position of a column, ignoring case as SQLite does; -1 when absent.
    int indexOf(const QString &column) const;
    bool hasColumn(const QString &column) const { return indexOf(column) >= 0; }
    // "CREATE TABLE APT (tile INTEGER, ukey TEXT, ..., UNIQUE (ukey))".
    QString createStatement() const;
};

// What the program knows of the simulator's databases: the field catalogue
// (descriptors of APT, RWY, NAV, COM, ILS, CTY, the state list, WPT, SIDSTAR,
// BDRY, ATSROUTE, Light, Pave, MOD, TEX) and the column lists of the tables
// the program only reaches through its statements (SCN, FNM, OBJ, the object
// lights, Arcs, Node, OSM_OBJ). Read-only, built on first use.
class CSchema
{
public:
    // Database short names in checking order, then OSM.
    static const QStringList &databases();

    // The catalogue's table-name list: "APT", "COM", "RWY", "ILS", "NAV",
    // "WPT", "Light", "Pave", "MOD", "TEX".
    static const QStringList &catalogueTableNames();
    // Descriptors of a catalogued table ("APT", "TEX", "STATE" for the state
    // list, ...); an empty list for any other name. Exact spelling.
    static const QList<CField> &catalogue(const QString &catalogueName);
    // Key column of a catalogued table: "ukey" for NAV and WPT.
    static QString keyColumn(const QString &catalogueName);

    // Tables of a database in the order its files hold them.
    static QStringList tableNames(const QString &database);
    static QList<const CTable *> tables(const QString &database);
    // A table of a database; the table name ignores case as SQLite does
    // ("LIGHT" in TXY is Light). Null when unknown.
    static const CTable *table(const QString &database, const QString &tableName);
    // Column names in stored order; empty when the table is unknown.
    static QStringList columnNames(const QString &database, const QString &tableName);
    // Every table the program knows, the state list included.
    static const QList<CTable> &allTables();
};
