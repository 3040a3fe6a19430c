#include "io/importtables.h"

#include "data/schema.h"

#include <QHash>

namespace ImportTables {

namespace {

// Database short name -> tables the importer writes. ROUTE, the country
// list and OSM_OBJ are not written by "+" and "-" records.
const QHash<QString, QStringList> &accepted()
{
    static const QHash<QString, QStringList> tables = {
        {QStringLiteral("GEN"), {QStringLiteral("APT"), QStringLiteral("COM"), QStringLiteral("RWY"),
                                 QStringLiteral("ILS"), QStringLiteral("NAV")}},
        {QStringLiteral("WPT"), {QStringLiteral("WPT")}},
        {QStringLiteral("M3D"), {QStringLiteral("MOD"), QStringLiteral("SCN"), QStringLiteral("TEXTURE")}},
        {QStringLiteral("OBJ"), {QStringLiteral("FNM"), QStringLiteral("OBJ"), QStringLiteral("Light")}},
        {QStringLiteral("TXY"), {QStringLiteral("Arcs"), QStringLiteral("Light"), QStringLiteral("Node"),
                                 QStringLiteral("Pave")}},
    };
    return tables;
}

} // namespace

const QStringList &databases()
{
    static const QStringList names = {QStringLiteral("GEN"), QStringLiteral("WPT"), QStringLiteral("M3D"),
                                      QStringLiteral("OBJ"), QStringLiteral("TXY")};
    return names;
}

QStringList tableNames(const QString &database)
{
    return accepted().value(database);
}

const CTable *find(const QString &database, const QString &table)
{
    if (!accepted().value(database).contains(table))
        return nullptr;
    const CTable *known = CSchema::table(database, table);
    // The catalogue ignores case; update records do not.
    return known && known->name == table && known->columnCount() > 0 ? known : nullptr;
}

QString replaceStatement(const CTable &table)
{
    const QStringList columns = table.columnNames();
    QStringList placeholders;
    placeholders.reserve(columns.size());
    for (const QString &column : columns)
        placeholders << QLatin1Char(':') + column;
    return QStringLiteral("REPLACE INTO %1 ( %2)VALUES (%3)")
        .arg(table.name, columns.join(QStringLiteral(", ")), placeholders.join(QLatin1Char(',')));
}

bool isBlob(const CTable &table, int column)
{
    return column >= 0 && column < table.columnCount() && table.fields.at(column).type == QLatin1String("B");
}

} // namespace ImportTables
