#pragma once

#include "simlink/tracetext.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QLabel;
class QTreeWidgetItem;
class QTreeWidget;
class QUndoStack;
class CNavGlobalVar;
class CFlightPlanPoint;
class CPlanChange;
class CAircraft;
class CNavPlug;
class CMapBridge;
class CSectionBuilder;
struct CMarkerLayers;
struct CMarkerSection;
class myWebPage;

namespace Ui {
class MainWindow;
}

// The program's only top-level window. The slots keep the names the form
// and the map page reach them by; their bodies live beside the subsystem
// they belong to (search/, flightplan/, map/, editors/, io/, simlink/).
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    struct Options {
        bool loadPage = true;   // tests of the window alone leave the map page out
    };

    explicit MainWindow(QWidget *parent = nullptr);
    MainWindow(const Options &options, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The single path by which the program sends JavaScript to the page.
    void runJavaScript(const QString &script);
    // Tests watch every script sent.
    static void setScriptRecorder(std::function<void(const QString &)> recorder);

    Ui::MainWindow *form() const { return ui; }
    myWebPage *page() const { return m_page; }

public slots:
    // 0-33: also callable by the map page.
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

private slots:
    void on_fltplnGrid_cellClicked(int row, int column);
    void on_treeWFound_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void on_searchData_returnPressed();
    void on_btnSearchNear_clicked();
    void on_btnSearchExact_clicked();
    void on_btnNewFlightPlan_clicked();
    void on_btnLoadFlightPlan_clicked();
    void on_btnSaveFlightPlan_clicked();
    void on_btnAddSid_clicked();
    void on_btnAddStar_clicked();
    void on_treeWSid_itemClicked(QTreeWidgetItem *item, int column);
    void on_treeWStar_itemClicked(QTreeWidgetItem *item, int column);
    void on_btnCreateSID_clicked();
    void on_btnCreateSTAR_clicked();
    void on_dockWFlightPlan_visibilityChanged(bool visible);
    void on_dockWSid_visibilityChanged(bool visible);
    void on_dockWStar_visibilityChanged(bool visible);
    void populateJavaScriptWindowObject();
    void receiveData(QString msg);
    void readDataFromDB();
    void on_actionAboutQt_triggered();
    void on_actionAbout_triggered();
    void on_fltplnGrid_currentCellChanged(int currentRow, int currentColumn, int previousRow, int previousColumn);
    void on_btnStartPos_clicked();
    void on_spInertial_valueChanged(int arg1);
    void on_pbDelSTAR_clicked();
    void on_pbDelSID_clicked();
    void on_actImport_triggered();
    void on_actRestore_triggered();
    void on_btnPod_clicked();
    void on_cbAircraftType_activated(int index);
    void on_dockWAircraft_visibilityChanged(bool visible);
    void on_pbTraceAcft_clicked(bool checked);
    void sTraceAircraft();

protected:
    void closeEvent(QCloseEvent *event) override;
    // A flight-plan file dropped anywhere on the window loads as "Charger"
    // loads it; anything else dropped is ignored.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void construct(const Options &options);
    void createLayerActions();
    void createContextMenus();
    void applyStoredLayers();

    // --- map (map/mainwindow_map.cpp) ---
    // Creates the page, the bridge and their connections; loads the page file.
    void setupMapPage(bool load);
    void centerOnPoint(const CFlightPlanPoint &point);
    void sendLayer(QAction *action, bool &flag, const QString &whenOn, const QString &whenOff);
    // The marker load: the layers as the actions stand, a section's end
    // (logged, its closing calls sent) and the end of the whole load.
    CMarkerLayers markerLayers() const;
    void endMarkerSection(int section, const CMarkerSection &rest);
    void endMarkerLoad();

    // --- flight plan (flightplan/mainwindow_flightplan.cpp) ---
    // Creates the flight-plan manager over the grid and its start point,
    // and the undo stack of its changes.
    void setupFlightPlan();
    // Puts the change on the undo stack (the plan calls it as each change ends).
    void pushPlanChange(const CPlanChange &change);
    // The undo and redo menu entries name the change they take back or make again.
    void showUndoState();
    void setSaveControlsEnabled(bool enabled);
    bool confirmNewPlan();
    bool confirmDiscardPlan();
    // "Charger": asks whether to clear the plan, then reads the file at
    // `path`, or the file the user chooses when `path` is empty.
    void loadPlanFile(const QString &path);
    // Inserts after the current row, refreshes, redraws and selects the new line.
    void insertIntoPlan(const QSharedPointer<CFlightPlanPoint> &point);

    // --- procedures (flightplan/mainwindow_procedures.cpp) ---
    void loadProcedures(const QString &airportKey);
    void drawProcedure(const QString &name);
    void addProcedure(QTreeWidget *tree);
    // Stores the plan as a SID (star false) or a STAR.
    void createProcedure(bool star);
    // Deletes the procedure of the tree's selected line, after asking.
    void deleteProcedure(QTreeWidget *tree, bool star);

    // --- aircraft (flightplan/mainwindow_aircraft.cpp) ---
    void loadSVH();
    void showAircraft(int index);

    // --- restoring the simulator's files (app/mainwindow_restore.cpp) ---
    // The page forgets the markers and routes and is sent them again from
    // the databases.
    void reloadMapData();

    // --- import/export (io/mainwindow_io.cpp) ---
    // Adds the "Export" menu to the menu bar; called once by the constructor.
    void setupExportMenu();

    Ui::MainWindow *ui = nullptr;
    CNavGlobalVar *m_config = nullptr;
    myWebPage *m_page = nullptr;
    CMapBridge *m_bridge = nullptr;
    QString m_appDir;
    // The marker load under way, if any; "Chargement terminé" waits for it.
    QPointer<CSectionBuilder> m_markerLoad;
    bool m_loadEndPending = false;

    // The last centre and zoom the page reported; stored at exit.
    bool m_centerReported = false;
    double m_reportedLat = 0;
    double m_reportedLon = 0;
    bool m_zoomReported = false;
    int m_reportedZoom = 0;

    QLabel *m_dataLabel = nullptr;
    QLabel *m_centerLabel = nullptr;
    QLabel *m_zoomLabel = nullptr;

    QAction *m_actApt = nullptr;
    QAction *m_actVor = nullptr;
    QAction *m_actNdbRte = nullptr;
    QAction *m_actNdbTerm = nullptr;
    QAction *m_actWptRte = nullptr;
    QAction *m_actWptTerm = nullptr;
    QAction *m_actWptVfr = nullptr;
    QAction *m_actAtsLo = nullptr;
    QAction *m_actAtsHi = nullptr;
    QAction *m_actAtsB = nullptr;
    QAction *m_actBdry = nullptr;
    QAction *m_actDock = nullptr;

    QAction *m_actFndCenter = nullptr;
    QAction *m_actFpCenter = nullptr;
    QAction *m_actFpDel = nullptr;
    QAction *m_actFpUp = nullptr;
    QAction *m_actFpDown = nullptr;

    // --- search ---
    QString m_searchText;

    // --- flight plan ---
    // The changes of the plan; its clean state is the saved (or loaded) plan.
    QUndoStack *m_planUndo = nullptr;

    // --- aircraft ---
    QList<CAircraft *> m_aircraftList;

    // --- trace ---
    CNavPlug *m_navPlug = nullptr;
    // The current link goes with the window (closed, its timer released).
    struct NavPlugKeeper {
        CNavPlug *&plug;
        ~NavPlugKeeper();
    } m_navPlugKeeper{m_navPlug};
    // What the ticks send: only changes, at most once a frame.
    TraceText::Pacer m_tracePacer;
    QElapsedTimer m_traceClock;
};
