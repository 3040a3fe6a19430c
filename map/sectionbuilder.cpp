#include "map/sectionbuilder.h"

#include <QAtomicInteger>
#include <QElapsedTimer>
#include <QPointer>
#include <QSqlDatabase>

#include <system_error>

namespace {

// How long one turn of the caller's event loop hands pieces over before it
// lets the other events through.
constexpr qint64 TurnBudgetMs = 8;

QString ownConnectionName(const QString &base)
{
    static QAtomicInteger<quint64> serial;
    return QStringLiteral("%1#section%2").arg(base).arg(serial.fetchAndAddRelaxed(1));
}

} // namespace

CSectionBuilder::CSectionBuilder(const QList<Section> &sections, QObject *parent)
    : QObject(parent)
    , m_sections(sections)
{
    for (int i = 0; i < m_sections.size(); ++i) {
        const QSqlDatabase caller = callerConnection(i);
        const QString file = caller.databaseName();
        m_ownConnection << (caller.isValid() && !file.isEmpty() && !file.contains(QLatin1String(":memory:"))
                            && !file.contains(QLatin1String("mode=memory")));
    }
}

CSectionBuilder::~CSectionBuilder()
{
    m_cancelled = true;
    if (m_thread.joinable())
        m_thread.join();
}

void CSectionBuilder::start()
{
    if (m_started)
        return;
    m_started = true;
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error &) {
        // No thread to be had: every section on the caller's thread, in turn.
        for (int i = 0; i < m_sections.size(); ++i)
            post({Item::OnCaller, i, {}});
        post({Item::Finished, 0, {}});
    }
}

void CSectionBuilder::cancel()
{
    m_cancelled = true;
}

void CSectionBuilder::run()
{
    for (int i = 0; i < m_sections.size() && !m_cancelled; ++i) {
        if (!m_ownConnection.at(i)) {
            post({Item::OnCaller, i, {}});
            continue;
        }
        const QString ownName = ownConnectionName(m_sections.at(i).connectionName);
        bool built = false;
        {
            // Cloned on this thread: the clone belongs to the thread that made it.
            QSqlDatabase own = QSqlDatabase::cloneDatabase(m_sections.at(i).connectionName, ownName);
            if (own.open()) {
                const CMarkerSink sink = [this, i](QString &&calls) {
                    if (m_cancelled)
                        return false;
                    post({Item::Piece, i, {true, 0, std::move(calls)}});
                    return true;
                };
                CMarkerSection rest = m_sections.at(i).build(own, sink);
                // No rows may also be a statement that failed on this
                // connection: the caller's connection then reads again, as
                // it would have without this thread.
                built = rest.hasRows;
                if (built && !m_cancelled)
                    post({Item::End, i, std::move(rest)});
                own.close();
            }
        }
        QSqlDatabase::removeDatabase(ownName);
        if (!built && !m_cancelled)
            post({Item::OnCaller, i, {}});
    }
    if (!m_cancelled)
        post({Item::Finished, 0, {}});
}

void CSectionBuilder::post(Item &&item)
{
    bool wake = false;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.push_back(std::move(item));
        wake = !m_drainPosted;
        m_drainPosted = true;
    }
    if (wake)
        QMetaObject::invokeMethod(this, &CSectionBuilder::drain, Qt::QueuedConnection);
}

void CSectionBuilder::drain()
{
    QElapsedTimer turn;
    turn.start();
    const QPointer<CSectionBuilder> self(this);
    while (!m_cancelled) {
        Item item;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_queue.empty()) {
                m_drainPosted = false;
                return;
            }
            if (turn.elapsed() >= TurnBudgetMs) {
                // The rest in the next turn; the drain stays posted.
                QMetaObject::invokeMethod(this, &CSectionBuilder::drain, Qt::QueuedConnection);
                return;
            }
            item = std::move(m_queue.front());
            m_queue.pop_front();
        }
        switch (item.kind) {
        case Item::Piece:
            emit piece(item.section, item.value.script);
            break;
        case Item::End:
            emit sectionEnd(item.section, item.value);
            break;
        case Item::OnCaller:
            if (!buildOnCaller(item.section))
                return;
            break;
        case Item::Finished:
            m_done = true;
            emit finished();
            return;
        }
        // A receiver may have let the builder go.
        if (!self)
            return;
    }
}

bool CSectionBuilder::buildOnCaller(int section)
{
    const QPointer<CSectionBuilder> self(this);
    // Kept here: a receiver may let the builder go while the section is read.
    const Build build = m_sections.at(section).build;
    const CMarkerSink sink = [&](QString &&calls) {
        if (!self || m_cancelled)
            return false;
        emit piece(section, calls);
        return self && !m_cancelled;
    };
    const CMarkerSection rest = build(callerConnection(section), sink);
    if (!self || m_cancelled)
        return false;
    emit sectionEnd(section, rest);
    return self && !m_cancelled;
}

QSqlDatabase CSectionBuilder::callerConnection(int section) const
{
    const QString &name = m_sections.at(section).connectionName;
    if (name.isEmpty() || !QSqlDatabase::contains(name))
        return QSqlDatabase();
    return QSqlDatabase::database(name, false);
}
