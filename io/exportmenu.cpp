#include "io/exportmenu.h"

#include "app/prompt.h"
#include "data/globalvar.h"
#include "io/iodatabase.h"
#include "io/ioprogressdialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace ExportMenu {

namespace {

const QString ExportFilter = QStringLiteral("Fichier Corvane Export (*.CSV)");

QString askTarget(const QString &caption)
{
    return prompt().saveFileName(caption, QString(), ExportFilter);
}

QAction *addAction(QMenu *menu, const char *objectName, const QString &text, QMainWindow *window,
                   CGlobalVar *config, void (*work)(QMainWindow *, CGlobalVar *))
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QLatin1String(objectName));
    QObject::connect(action, &QAction::triggered, window, [window, config, work]() { work(window, config); });
    return action;
}

} // namespace

QMenu *install(QMainWindow *window, CGlobalVar *config)
{
    QMenuBar *bar = window->menuBar();
    QMenu *menu = new QMenu(QCoreApplication::translate("QObject", "Export"), bar);
    menu->setObjectName(QStringLiteral("menuExport"));
    addAction(menu, "actExportNAV", QCoreApplication::translate("QObject", "Exporter tous les navaids"), window,
              config, &exportNavaids);
    addAction(menu, "actExportWPT", QCoreApplication::translate("QObject", "Exporter tous les waypoints"), window,
              config, &exportWaypoints);
    addAction(menu, "actExportOBJ", QCoreApplication::translate("QObject", "Exporter un projet de scène"), window,
              config, &exportSceneProject);
    addAction(menu, "actExport3D", QCoreApplication::translate("QObject", "Exporter un objet 3D"), window, config,
              &export3DObject);

    const QList<QAction *> menus = bar->actions();
    if (menus.isEmpty())
        bar->addMenu(menu);
    else
        bar->insertMenu(menus.last(), menu);
    return menu;
}

void exportNavaids(QMainWindow *window, CGlobalVar *config)
{
    const QString file = askTarget(QCoreApplication::translate("QObject", "Exporter tous les navaids"));
    if (file.isEmpty())
        return;
    CIOProgressDialog progress(window);
    CIODataBase io;
    io.setProgress(&progress);
    io.exportNAV(config->genName, file);
}

void exportWaypoints(QMainWindow *window, CGlobalVar *config)
{
    const QString file = askTarget(QCoreApplication::translate("QObject", "Exporter tous les waypoints"));
    if (file.isEmpty())
        return;
    CIOProgressDialog progress(window);
    CIODataBase io;
    io.setProgress(&progress);
    io.exportWPT(config->wptName, file);
}

void exportSceneProject(QMainWindow *window, CGlobalVar *config)
{
    bool ok = false;
    const QString project = prompt().text(QCoreApplication::translate("QObject", "Exporter un projet de scène"),
                                          QCoreApplication::translate("QObject", "Nom du projet :"), QString(), &ok);
    if (!ok || project.isEmpty())
        return;
    const QString folder
        = prompt().existingDirectory(QCoreApplication::translate("QObject", "Dossier du projet"), QString());
    if (folder.isEmpty())
        return;
    const QString file = askTarget(QCoreApplication::translate("QObject", "Exporter un projet de scène"));
    if (file.isEmpty())
        return;
    CIOProgressDialog progress(window);
    CIODataBase io;
    io.setProgress(&progress);
    io.exportOBJ(config->objName, QDir(folder), project, file);
}

void export3DObject(QMainWindow *window, CGlobalVar *config)
{
    bool ok = false;
    const QString model = prompt().text(QCoreApplication::translate("QObject", "Exporter un objet 3D"),
                                        QCoreApplication::translate("QObject", "Nom de l'objet 3D :"), QString(), &ok);
    if (!ok || model.isEmpty())
        return;
    const QString file = askTarget(QCoreApplication::translate("QObject", "Exporter un objet 3D"));
    if (file.isEmpty())
        return;
    CIOProgressDialog progress(window);
    CIODataBase io;
    io.setProgress(&progress);
    io.export3DObject(config->m3dName, model, file);
}

} // namespace ExportMenu
