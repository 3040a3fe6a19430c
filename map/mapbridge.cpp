#include "map/mapbridge.h"

#include "app/mainwindow.h"

#include <QEvent>

CMapBridge::CMapBridge(MainWindow *window)
    : QObject(window)
    , m_window(window)
{
}

bool CMapBridge::event(QEvent *event)
{
    // deleteLater() is a public slot of every QObject, so the page could call
    // it; the bridge lives exactly as long as the window.
    if (event->type() == QEvent::DeferredDelete)
        return true;
    return QObject::event(event);
}

void CMapBridge::searchInTable(bool exact)
{
    m_window->searchInTable(exact);
}

void CMapBridge::sFndCenterAt()
{
    m_window->sFndCenterAt();
}

void CMapBridge::sFpCenterAt()
{
    m_window->sFpCenterAt();
}

void CMapBridge::sFpLineDel()
{
    m_window->sFpLineDel();
}

void CMapBridge::sFpLineUp()
{
    m_window->sFpLineUp();
}

void CMapBridge::sFpLineDown()
{
    m_window->sFpLineDown();
}

void CMapBridge::sViewApt()
{
    m_window->sViewApt();
}

void CMapBridge::sViewVor()
{
    m_window->sViewVor();
}

void CMapBridge::sViewNdbRte()
{
    m_window->sViewNdbRte();
}

void CMapBridge::sViewNdbTerm()
{
    m_window->sViewNdbTerm();
}

void CMapBridge::sViewWptRte()
{
    m_window->sViewWptRte();
}

void CMapBridge::sViewWptTerm()
{
    m_window->sViewWptTerm();
}

void CMapBridge::sViewWptVfr()
{
    m_window->sViewWptVfr();
}

void CMapBridge::sViewAtsLo()
{
    m_window->sViewAtsLo();
}

void CMapBridge::sViewAtsHi()
{
    m_window->sViewAtsHi();
}

void CMapBridge::sViewAtsB()
{
    m_window->sViewAtsB();
}

void CMapBridge::sViewBdry()
{
    m_window->sViewBdry();
}

void CMapBridge::sViewDock()
{
    m_window->sViewDock();
}

void CMapBridge::sInitGoogleMap()
{
    m_window->sInitGoogleMap();
}

void CMapBridge::doSomething(QString param)
{
    m_window->doSomething(param);
}

void CMapBridge::doCenter(double lat, double lon)
{
    m_window->doCenter(lat, lon);
}

void CMapBridge::doZoom(int zoom)
{
    m_window->doZoom(zoom);
}

void CMapBridge::doMoveSIT(double lat, double lon)
{
    m_window->doMoveSIT(lat, lon);
}

void CMapBridge::doData(QString value)
{
    m_window->doData(value);
}

void CMapBridge::doViewRwy(QString value)
{
    m_window->doViewRwy(value);
}

void CMapBridge::sAddAptToFp(QString param)
{
    m_window->sAddAptToFp(param);
}

void CMapBridge::sAddNavToFp(QString param)
{
    m_window->sAddNavToFp(param);
}

void CMapBridge::sAddWptToFp(QString param)
{
    m_window->sAddWptToFp(param);
}

void CMapBridge::sAddNewWptToFp(QString param, double lat, double lon)
{
    m_window->sAddNewWptToFp(param, lat, lon);
}

void CMapBridge::sAddSitToFp(double lat, double lon)
{
    m_window->sAddSitToFp(lat, lon);
}

void CMapBridge::sAddWptToDB(QString title, double lat, double lon)
{
    m_window->sAddWptToDB(title, lat, lon);
}

void CMapBridge::sAddNavToDB(QString title, double lat, double lon)
{
    m_window->sAddNavToDB(title, lat, lon);
}

void CMapBridge::sDelNavFromDB(QString title)
{
    m_window->sDelNavFromDB(title);
}

void CMapBridge::sDelWptFromDB(QString title)
{
    m_window->sDelWptFromDB(title);
}
