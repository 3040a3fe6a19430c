#include "simlink/navplug.h"

#include <QDebug>
#include <QTimer>

namespace {
QString &defaultName()
{
    static QString name = NavBlock::defaultName();
    return name;
}
} // namespace

QString CNavPlug::defaultBlockName()
{
    return defaultName();
}

void CNavPlug::setDefaultBlockName(const QString &name)
{
    defaultName() = name;
}

CNavPlug::CNavPlug(int interval, const QString &blockName)
    : m_name(blockName)
{
    if (!m_mapping.open(m_name, NavBlock::blockSize)) {
        qDebug() << "CNavPlug::CNavPlug(): Error CreateFileMapping";
        return;
    }
    Init(interval);
}

CNavPlug::~CNavPlug()
{
    Close();
    delete m_timer;
}

void CNavPlug::Init(int interval)
{
    if (!m_timer)
        m_timer = new QTimer;
    m_timer->start(interval);
    qDebug() << "CNavPlug::Init()";
    if (!m_mapping.isOpen())
        return;
    m_view = m_mapping.mapRead(NavBlock::viewSize);
    if (!m_view) {
        qDebug() << "CNavPlug::Init(): Error MapViewOfFile";
        return;
    }
    qDebug() << "CNavPlug::Init() NAVIGATION: Connect";
    m_connected = true;
}

void CNavPlug::Close()
{
    m_connected = false;
    if (m_timer)
        m_timer->stop();
    qDebug() << "CNavPlug::Close() NAVIGATION: Disconnect";
    m_view = nullptr;
    m_mapping.close();   // unmaps, then closes; nothing the second time
}

NavBlock::Position CNavPlug::position() const
{
    return m_view ? NavBlock::read(m_view) : NavBlock::Position();
}
