#pragma once

#include "map/markerscript.h"

#include <QString>

#include <functional>
#include <future>

class QSqlDatabase;

// Builds one marker section on a thread of its own while the caller builds
// and sends the others: the page parses one section while the next is
// built. The thread reads over a connection of its own to the same
// database (a connection belongs to the thread that opened it). When that
// connection cannot be opened or gives no rows, take() builds the section
// on the caller's thread over the caller's connection instead.
class CSectionBuilder
{
public:
    using Build = std::function<CMarkerSection(const QSqlDatabase &)>;

    // `connectionName`: a named connection of the caller's thread (an empty
    // or unknown name gives an invalid database to `build`, as the caller's
    // own connection lookup would).
    CSectionBuilder(const QString &connectionName, Build build);
    ~CSectionBuilder();
    CSectionBuilder(const CSectionBuilder &) = delete;
    CSectionBuilder &operator=(const CSectionBuilder &) = delete;

    // The section, once built; waits for the thread. Once only.
    CMarkerSection take();

private:
    struct Result {
        bool built = false;
        CMarkerSection section;
    };
    Result buildOnOwnConnection() const;
    QSqlDatabase callerConnection() const;

    QString m_connectionName;
    QString m_ownConnectionName;
    Build m_build;
    std::future<Result> m_result;
};
