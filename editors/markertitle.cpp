#include "editors/markertitle.h"

#include "map/jstext.h"

#include <QSqlQuery>
#include <QVariant>

#include <utility>

namespace {

// Every way of reading a title, from the first dash on: the texts after
// each dash, longest first.
QStringList candidateKeys(const QString &title)
{
    QStringList out;
    for (qsizetype dash = title.indexOf(u'-'); dash >= 0; dash = title.indexOf(u'-', dash + 1))
        out << title.mid(dash + 1);
    return out;
}

bool isEditorTable(const QString &table)
{
    // Table names are never taken from outside.
    return table == QLatin1String("NAV") || table == QLatin1String("WPT");
}

} // namespace

CMarkerTitle CMarkerTitle::find(const QSqlDatabase &db, const QString &table, const QString &title, QSqlQuery *row)
{
    CMarkerTitle out;
    if (!isEditorTable(table))
        return out;
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("SELECT * FROM %1 WHERE ukey = ?").arg(table)))
        return out;
    const QString text = title.trimmed();
    for (const QString &key : candidateKeys(text)) {
        // An empty key names nothing, even if a row were stored without one.
        if (key.isEmpty())
            continue;
        query.bindValue(0, key);
        if (query.exec() && query.next()) {
            out.key = key;
            out.name = text.left(text.size() - key.size() - 1);
            out.found = true;
            if (row)
                *row = std::move(query);
            return out;
        }
    }
    return out;
}

QStringList CMarkerTitle::longerKeys(const QSqlDatabase &db, const QString &table, const QString &key)
{
    QStringList out;
    if (!isEditorTable(table) || key.isEmpty())
        return out;
    const QString tail = u'-' + key;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT ukey FROM %1 WHERE substr(ukey, ?) = ?").arg(table)))
        return out;
    query.addBindValue(-int(tail.size()));
    query.addBindValue(tail);
    if (!query.exec())
        return out;
    while (query.next())
        out << query.value(0).toString();
    return out;
}

QString CMarkerTitle::keyArguments(const QString &key, const QStringList &longerKeys)
{
    QString out = u'"' + JsText::escape(key) + u'"';
    if (longerKeys.isEmpty())
        return out;
    QStringList quoted;
    for (const QString &k : longerKeys)
        quoted << u'"' + JsText::escape(k) + u'"';
    return out + QStringLiteral(",[") + quoted.join(u',') + u']';
}
