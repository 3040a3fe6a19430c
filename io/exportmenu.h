#pragma once

class CGlobalVar;
class QMainWindow;
class QMenu;

// The "Export" menu of the main window: whole navaid and waypoint tables, a
// scenery project, a 3D object. Each action asks what it needs through the
// prompt and writes an update file.
namespace ExportMenu {

// Adds the menu to the window's menu bar, before the last menu (the "about"
// menu), and returns it. The configuration gives the connection names.
QMenu *install(QMainWindow *window, CGlobalVar *config);

// The actions' work, also reachable on their own.
void exportNavaids(QMainWindow *window, CGlobalVar *config);
void exportWaypoints(QMainWindow *window, CGlobalVar *config);
void exportSceneProject(QMainWindow *window, CGlobalVar *config);
void export3DObject(QMainWindow *window, CGlobalVar *config);

} // namespace ExportMenu
