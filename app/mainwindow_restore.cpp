#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "app/restoredialog.h"
#include "data/restore.h"

#include <QDialog>
#include <QGuiApplication>

namespace {

// The comparing of world-sized databases takes seconds.
struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

void MainWindow::on_actRestore_triggered()
{
    QList<CRestorableFile> files;
    {
        BusyCursor busy;
        files = CRestore::files(*m_config);
    }
    if (files.isEmpty()) {
        prompt().inform(CRestore::title(), tr("Le programme n'a modifié aucun fichier du simulateur : "
                                              "il n'en garde aucune copie."));
        return;
    }
    CRestoreDialog dialog(files, this);
    if (prompt().execDialog(&dialog) != QDialog::Accepted || dialog.copyPath().isEmpty())
        return;
    const QString file = dialog.filePath();
    const QString copy = dialog.copyPath();

    // Which marker sections read the file, known while its connections
    // are the program's.
    const QStringList connections = m_config->connectionsOf(file);
    const bool onMap = connections.contains(m_config->genName) || connections.contains(m_config->wptName)
            || connections.contains(m_config->routeName);

    CRestore::Result result;
    {
        BusyCursor busy;
        result = CRestore::restore(*m_config, file, copy);
    }
    const QString text = CRestore::message(file, copy, result);
    switch (result.outcome) {
    case CRestore::Outcome::Restored:
        if (onMap)
            reloadMapData();
        prompt().inform(CRestore::title(), text);
        break;
    case CRestore::Outcome::Locked:
        prompt().warn(CRestore::title(), text);
        break;
    case CRestore::Outcome::Failed:
        prompt().critical(CRestore::title(), text);
        break;
    }
}

void MainWindow::reloadMapData()
{
    // The page runs scripts in the order they are sent: it is cleared
    // before the new batches arrive.
    runJavaScript(QStringLiteral("clearNavData();"));
    readDataFromDB();
    // The procedures listed and drawn came from the file as it was.
    runJavaScript(QStringLiteral("clearSS()"));
    ui->treeWSid->clear();
    ui->treeWStar->clear();
    ui->dockWSid->setWindowTitle(tr("SID : "));
    ui->dockWStar->setWindowTitle(tr("STAR : "));
}
