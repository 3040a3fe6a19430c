#pragma once

#include <QObject>
#include <QString>

class MainWindow;

// The one object the map page sees, as "mainWindow": the slots the page may
// call, each handing over to the main window's slot of the same name.
// Nothing else of the window (close(), its widgets) is reachable from the
// page, and the page cannot delete this object either.
class CMapBridge : public QObject
{
    Q_OBJECT

public:
    explicit CMapBridge(MainWindow *window);

public slots:
    void searchInTable(bool exact);
    void sFndCenterAt();
    void sFpCenterAt();
    void sFpLineDel();
    void sFpLineUp();
    void sFpLineDown();
    void sViewApt();
    void sViewVor();
    void sViewNdbRte();
    void sViewNdbTerm();
    void sViewWptRte();
    void sViewWptTerm();
    void sViewWptVfr();
    void sViewAtsLo();
    void sViewAtsHi();
    void sViewAtsB();
    void sViewBdry();
    void sViewDock();
    void sInitGoogleMap();
    void doSomething(QString param);
    void doCenter(double lat, double lon);
    void doZoom(int zoom);
    void doMoveSIT(double lat, double lon);
    void doData(QString value);
    void doViewRwy(QString value);
    void sAddAptToFp(QString param);
    void sAddNavToFp(QString param);
    void sAddWptToFp(QString param);
    void sAddNewWptToFp(QString param, double lat, double lon);
    void sAddSitToFp(double lat, double lon);
    void sAddWptToDB(QString title, double lat, double lon);
    void sAddNavToDB(QString title, double lat, double lon);
    void sDelNavFromDB(QString title);
    void sDelWptFromDB(QString title);

protected:
    bool event(QEvent *event) override;

private:
    MainWindow *m_window;
};
