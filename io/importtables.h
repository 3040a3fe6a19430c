#pragma once

#include <QString>
#include <QStringList>

struct CTable;

// The tables update records may write, by database short name, taken from
// the schema catalogue (columns in stored order).
namespace ImportTables {

// The databases update records may name (besides the OSM deletion list):
// "GEN", "WPT", "M3D", "OBJ", "TXY".
const QStringList &databases();
// The tables of one of those databases that the importer writes.
QStringList tableNames(const QString &database);
// The table of that database, or null when the importer does not write it.
// The table name is compared case-sensitively.
const CTable *find(const QString &database, const QString &table);
// "REPLACE INTO T ( c1, c2)VALUES (:c1,:c2)"
QString replaceStatement(const CTable &table);
// Columns whose values the update files carry as hexadecimal text.
bool isBlob(const CTable &table, int column);

} // namespace ImportTables
