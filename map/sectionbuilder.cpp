#include "map/sectionbuilder.h"

#include <QAtomicInteger>
#include <QSqlDatabase>

#include <system_error>

namespace {

QString ownConnectionName(const QString &base)
{
    static QAtomicInteger<quint64> serial;
    return QStringLiteral("%1#section%2").arg(base).arg(serial.fetchAndAddRelaxed(1));
}

} // namespace

CSectionBuilder::CSectionBuilder(const QString &connectionName, Build build)
    : m_connectionName(connectionName)
    , m_ownConnectionName(ownConnectionName(connectionName))
    , m_build(std::move(build))
{
    // A database in memory is the caller's alone: a second connection would
    // open another, empty one.
    const QSqlDatabase caller = callerConnection();
    const QString file = caller.databaseName();
    if (!caller.isValid() || file.isEmpty() || file.contains(QLatin1String(":memory:"))
        || file.contains(QLatin1String("mode=memory")))
        return;
    try {
        m_result = std::async(std::launch::async, [this] { return buildOnOwnConnection(); });
    } catch (const std::system_error &) {
        // No thread to be had: take() builds on the caller's thread.
    }
}

CSectionBuilder::~CSectionBuilder()
{
    if (m_result.valid())
        m_result.wait();
    if (QSqlDatabase::contains(m_ownConnectionName))
        QSqlDatabase::removeDatabase(m_ownConnectionName);
}

CMarkerSection CSectionBuilder::take()
{
    if (m_result.valid()) {
        Result result = m_result.get();
        if (result.built)
            return std::move(result.section);
    }
    return m_build(callerConnection());
}

CSectionBuilder::Result CSectionBuilder::buildOnOwnConnection() const
{
    Result result;
    {
        // Cloned on this thread: the clone belongs to the thread that made it.
        QSqlDatabase own = QSqlDatabase::cloneDatabase(m_connectionName, m_ownConnectionName);
        if (!own.open())
            return result;
        result.section = m_build(own);
        // No rows may also be a statement that failed on this connection
        // (a database locked by another program): the caller's connection
        // then reads again, as it would have without this thread.
        result.built = result.section.hasRows;
        own.close();
    }
    return result;
}

QSqlDatabase CSectionBuilder::callerConnection() const
{
    if (m_connectionName.isEmpty() || !QSqlDatabase::contains(m_connectionName))
        return QSqlDatabase();
    return QSqlDatabase::database(m_connectionName, false);
}
