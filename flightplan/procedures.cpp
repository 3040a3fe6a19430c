#include "flightplan/procedures.h"

#include "data/backup.h"
#include "data/sqlmgr.h"
#include "flightplan/flightplan.h"
#include "map/jstext.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Column positions of the SIDSTAR rows (SELECT *).
namespace Col {
constexpr int tile = 0, skey = 1, sapt = 2, strm = 3, sqnm = 4, styp = 5, swid = 6, swpt = 7, salt = 8, slat = 9,
              slon = 10;
}

// The sequence number that starts a procedure.
constexpr int FirstSequence = 10;

// Positions are kept to the thousandth of an arc-second.
double thousandths(double arcSeconds)
{
    return JsText::fixed(arcSeconds, 3).toDouble();
}

QString errorText(const QSqlError &error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QCoreApplication::translate("QObject", "erreur inconnue") : text;
}

QString notOpenText()
{
    return QCoreApplication::translate("QObject", "la base de données des routes n'est pas ouverte");
}

} // namespace

CProcedures::CProcedures(const QString &connectionName, SqlMgr *sql)
    : m_connection(connectionName)
    , m_sql(sql)
{
}

template<typename Fn>
void CProcedures::forEachRow(const QString &name, Fn &&fn) const
{
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen())
        return;
    // By name only: a procedure named like an airport key is still just
    // that procedure.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT * FROM SIDSTAR WHERE strm = ?")))
        return;
    query.addBindValue(name);
    if (!query.exec())
        return;
    while (query.next())
        fn(query);
}

QList<CProcedures::Procedure> CProcedures::airportProcedures(const QString &airportKey) const
{
    QList<Procedure> out;
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!m_sql || !db.isOpen())
        return out;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!m_sql->selectSIDSTAR(airportKey, true, &query))
        return out;
    do {
        if (query.value(Col::sqnm).toInt() == FirstSequence) {
            Procedure p;
            p.name = query.value(Col::strm).toString();
            p.isStar = query.value(Col::styp).toInt() == Star;
            out << p;
        }
        // Rows before the first start of a procedure belong to none.
        if (out.isEmpty())
            continue;
        out.last().fixes << Fix{query.value(Col::swid).toString(), query.value(Col::swpt).toInt()};
    } while (query.next());
    return out;
}

QList<CSidStarRow> CProcedures::rows(const QString &name) const
{
    QList<CSidStarRow> out;
    forEachRow(name, [&out](const QSqlQuery &q) {
        CSidStarRow r;
        r.tile = q.value(Col::tile).toInt();
        r.skey = q.value(Col::skey).toString();
        r.sapt = q.value(Col::sapt).toString();
        r.strm = q.value(Col::strm).toString();
        r.sqnm = q.value(Col::sqnm).toInt();
        r.styp = q.value(Col::styp).toInt();
        r.swid = q.value(Col::swid).toString();
        r.swpt = q.value(Col::swpt).toInt();
        r.salt = q.value(Col::salt).toDouble();
        r.slat = q.value(Col::slat).toDouble();
        r.slon = q.value(Col::slon).toDouble();
        out << r;
    });
    return out;
}

QString CProcedures::drawElement(const CFlightPlanPoint &point)
{
    return JsText::fill(QStringLiteral("addPointToSS(%1,\"%2\")"),
                        {JsText::latLng(point.latitude / 3600, CFlightPlan::normalizedLongitude(point.longitude) / 3600),
                         JsText::escape(point.name)});
}

QString CProcedures::drawScript(const QString &name) const
{
    QStringList elements;
    forEachRow(name, [&elements](const QSqlQuery &q) {
        // Drawn only, not kept.
        CFlightPlanPoint p;
        p.fromSIDSTAR(q);
        elements << drawElement(p);
    });
    return elements.join(u';');
}

QList<PointPtr> CProcedures::planPoints(const CFlightPlan &plan, const QString &name) const
{
    QList<PointPtr> out;
    forEachRow(name, [&out, &plan](const QSqlQuery &q) {
        // The airports at the ends of a procedure are not part of it.
        if (q.value(Col::swpt).toInt() == 0)
            return;
        PointPtr p = plan.newPoint();
        p->fromSIDSTAR(q);
        out << p;
    });
    return out;
}

bool CProcedures::save(const QString &name, const QList<CSidStarRow> &rows, QString *error,
                       KeyConflict *conflict) const
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen()) {
        if (error)
            *error = notOpenText();
        return false;
    }
    // The simulator's file is saved before its first change of the run.
    if (!CBackup::beforeChangeOf(m_connection, error))
        return false;
    if (!db.transaction()) {
        if (error)
            *error = errorText(db.lastError());
        return false;
    }

    QSqlQuery query(db);
    QSqlQuery holder(db);
    auto failWith = [&](const QString &why) {
        if (error)
            *error = why;
        holder.finish();
        query.finish();
        db.rollback();
        return false;
    };
    auto fail = [&](const QSqlError &e) { return failWith(errorText(e)); };

    // The procedure saved again is replaced as a whole; a procedure of the
    // same name at another airport is another procedure.
    const QString airport = rows.isEmpty() ? QString() : rows.first().sapt;
    if (!query.prepare(QStringLiteral("DELETE FROM SIDSTAR WHERE strm = ? AND sapt = ?")))
        return fail(query.lastError());
    query.addBindValue(name);
    query.addBindValue(airport);
    if (!query.exec())
        return fail(query.lastError());

    if (!holder.prepare(QStringLiteral("SELECT strm, sapt FROM SIDSTAR WHERE skey = ?")))
        return fail(holder.lastError());
    // A plain INSERT: a key still taken is never replaced.
    if (!query.prepare(QStringLiteral("INSERT INTO SIDSTAR VALUES (?,?,?,?,?,?,?,?,?,?,?)")))
        return fail(query.lastError());
    for (const CSidStarRow &r : rows) {
        holder.bindValue(0, r.skey);
        if (!holder.exec())
            return fail(holder.lastError());
        if (holder.next()) {
            const KeyConflict found{r.skey, holder.value(0).toString(), holder.value(1).toString()};
            if (conflict)
                *conflict = found;
            return failWith(QCoreApplication::translate("QObject", "la clé %1 est celle d'un point de la procédure %2 de %3")
                                    .arg(found.key, found.name, found.airport));
        }
        holder.finish();
        query.addBindValue(r.tile);
        query.addBindValue(r.skey);
        query.addBindValue(r.sapt);
        query.addBindValue(r.strm);
        query.addBindValue(r.sqnm);
        query.addBindValue(r.styp);
        query.addBindValue(r.swid);
        query.addBindValue(r.swpt);
        query.addBindValue(r.salt);
        query.addBindValue(r.slat);
        query.addBindValue(r.slon);
        if (!query.exec())
            return fail(query.lastError());
    }
    query.finish();

    if (!db.commit()) {
        const QSqlError e = db.lastError();
        db.rollback();
        if (error)
            *error = errorText(e);
        return false;
    }
    return true;
}

bool CProcedures::remove(const QString &name, QString *error) const
{
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!m_sql || !db.isOpen()) {
        if (error)
            *error = notOpenText();
        return false;
    }
    if (!CBackup::beforeChangeOf(m_connection, error))
        return false;
    QSqlQuery query(db);
    if (!m_sql->deleteSIDSTAR(name, &query)) {
        if (error)
            *error = errorText(query.lastError());
        return false;
    }
    return true;
}

QList<CSidStarRow> CProcedures::rowsForPlan(const QList<PointPtr> &points, const QString &name, Type type)
{
    QList<CSidStarRow> out;
    if (points.isEmpty())
        return out;
    const QString airport = (type == Sid ? points.first() : points.last())->dbKey;
    int sequence = FirstSequence;
    for (const PointPtr &p : points) {
        CSidStarRow r;
        r.tile = 0;
        r.skey = name + QString::number(sequence);
        r.sapt = airport;
        r.strm = name;
        r.sqnm = sequence;
        r.styp = type;
        r.swid = p->ident;
        r.swpt = waypointType(*p);
        r.salt = p->elevation;
        r.slat = thousandths(p->latitude);
        r.slon = thousandths(p->longitude);
        out << r;
        sequence += 10;
    }
    return out;
}

qint32 CProcedures::waypointType(const CFlightPlanPoint &point)
{
    if (point.usage == QLatin1String("snav"))
        return point.navaidType;
    if (point.usage == QLatin1String("uswp"))
        return 4096;
    // Airports, and any point of another usage.
    return 0;
}

QString CProcedures::icon(qint32 waypointType)
{
    switch (waypointType) {
    case 0:
        return QStringLiteral(":/icon/images/Img08.bmp");
    case 1:
    case 17:
        return QStringLiteral(":/icon/images/Img05.bmp");
    case 8:
        return QStringLiteral(":/icon/images/Img03.bmp");
    case 4096:
        return QStringLiteral(":/icon/images/Img35.bmp");
    default:
        return QString();
    }
}
