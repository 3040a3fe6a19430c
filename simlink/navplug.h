#pragma once

#include "simlink/navblock.h"
#include "simlink/sharedblock.h"

#include <QString>

class QTimer;

// The live link to the running simulator: opens the navigation block
// (creating it, zero-filled, when the simulator has not), maps its first
// 80 bytes for reading and owns the timer that paces the aircraft trace.
// The link never writes to the block. One link serves one trace.
class CNavPlug
{
public:
    // The block a new link opens unless told otherwise; tests give each
    // window its own block.
    static QString defaultBlockName();
    static void setDefaultBlockName(const QString &name);

    explicit CNavPlug(int interval, const QString &blockName = defaultBlockName());
    ~CNavPlug();
    CNavPlug(const CNavPlug &) = delete;
    CNavPlug &operator=(const CNavPlug &) = delete;

    // Creates and starts the timer, then maps the view.
    void Init(int interval);
    // Stops the timer, unmaps the view and closes the block; each resource
    // is released once, later calls only log.
    void Close();

    bool isConnected() const { return m_connected; }
    // Whether a view is mapped: the trace's test of a working link.
    bool hasView() const { return m_view != nullptr; }
    // The three values of the block; zeros when no view is mapped.
    NavBlock::Position position() const;
    double latitude() const { return position().latitude; }
    double longitude() const { return position().longitude; }
    double markerValue() const { return position().marker; }

    // Created by Init, owned by the link; its timeout() paces the trace.
    QTimer *timer() const { return m_timer; }
    QString blockName() const { return m_name; }

private:
    bool m_connected = false;
    const uchar *m_view = nullptr;
    QTimer *m_timer = nullptr;
    CSharedBlock m_mapping;
    QString m_name;
};
