#pragma once

#include "map/markerscript.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class QSqlDatabase;

// Reads the marker sections on a thread of its own and hands them to the
// caller piece by piece, on the caller's thread, while it goes on: the page
// parses one piece while the next ones are read, and the window keeps
// answering. The sections come out in the order given, each as its pieces
// then its end.
//
// The thread reads each section over a connection of its own to the same
// database (a connection belongs to the thread that opened it). A database
// in memory (a second connection would open another, empty one), a
// connection that cannot be opened, or a section that gives no rows there
// (a database locked by another program) is read on the caller's thread
// over the caller's connection when its turn comes.
class CSectionBuilder : public QObject
{
    Q_OBJECT

public:
    // Builds a section over a connection: its pieces to the sink, its
    // counts and last calls returned (CMarkerScript::calls).
    using Build = std::function<CMarkerSection(const QSqlDatabase &, const CMarkerSink &)>;
    struct Section {
        // A named connection of the caller's thread (an empty or unknown
        // name gives an invalid database to `build`, as the caller's own
        // connection lookup would).
        QString connectionName;
        Build build;
    };

    explicit CSectionBuilder(const QList<Section> &sections, QObject *parent = nullptr);
    // Stops the thread and waits for it.
    ~CSectionBuilder() override;
    CSectionBuilder(const CSectionBuilder &) = delete;
    CSectionBuilder &operator=(const CSectionBuilder &) = delete;

    // Starts the reading, once; the signals follow from the event loop.
    void start();
    // Nothing more is signalled; the thread stops at its next piece.
    void cancel();
    // Started, not cancelled and not finished yet.
    bool isRunning() const { return m_started && !m_done && !m_cancelled; }

signals:
    // A piece of section `section`'s calls (its index in the list given).
    void piece(int section, const QString &calls);
    // The section is read: its counts, and its calls after the last piece
    // (none when it had no row).
    void sectionEnd(int section, const CMarkerSection &rest);
    // Every section has ended.
    void finished();

private:
    struct Item {
        enum Kind { Piece, End, OnCaller, Finished } kind = Piece;
        int section = 0;
        CMarkerSection value;
    };
    void run();
    void post(Item &&item);
    void drain();
    // Reads a section on this thread, signalling as it goes; false when
    // the builder went meanwhile.
    bool buildOnCaller(int section);
    QSqlDatabase callerConnection(int section) const;

    QList<Section> m_sections;
    QList<bool> m_ownConnection;   // per section: may the thread read it
    bool m_started = false;
    bool m_done = false;

    std::atomic<bool> m_cancelled{false};
    std::mutex m_mutex;
    std::deque<Item> m_queue;   // guarded by m_mutex
    bool m_drainPosted = false;   // guarded by m_mutex
    std::thread m_thread;
};
