#include "app/mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "data/backup.h"
#include "data/coordinates.h"
#include "data/sqlmgr.h"
#include "editors/dialognav.h"
#include "editors/dialogwpt.h"
#include "editors/editorstore.h"
#include "editors/markertitle.h"
#include "editors/updatefile.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <memory>

namespace {

// What differs between deleting a navaid and deleting a waypoint.
struct Deletion {
    const char *slot;       // for the log
    QString connection;
    bool (*remove)(SqlMgr *, const QSqlDatabase &, const QString &, QString *);
    QString (*record)(const QString &);
    QString table;
    QString script;
    QString title;          // also the main text of the question box
    QString exportTitle;
    QString notFound;
    QString deleted;        // %1: the whole title
    QString failed;         // %1: the whole title
    QString exported;       // %1: the name, %2: the file path
    QString exportFailed;   // %1: the name
};

// Deletes the navaid or waypoint a marker title names, after asking, and
// records the deletion in an update file when the user asks for it.
void deleteFromDB(MainWindow *window, CNavGlobalVar *config, const QString &title, bool navaid)
{
    const Deletion d = navaid
            ? Deletion{"MainWindow::sDelNavFromDB", config->genName, &CEditorStore::deleteNavaid,
                       &CEditorStore::navaidDeletionRecord, QStringLiteral("NAV"),
                       QStringLiteral("delNavaid();theLast == null;"), MainWindow::tr("Suppression d'un navaid"),
                       MainWindow::tr("Suppression/export d'un navaid"), MainWindow::tr("Le point sélectionné n'existe pas dans la base"),
                       MainWindow::tr("Le navaid %1 a été effacé"), MainWindow::tr("Le navaid %1 n'a pas pu être effacé de la base."),
                       MainWindow::tr("Le navaid %1 a été effacé et enregistrer pour export \ndans %2"),
                       MainWindow::tr("Le navaid %1 a été effacé mais l'export à échoué")}
            : Deletion{"MainWindow::sDelWptFromDB", config->wptName, &CEditorStore::deleteWaypoint,
                       &CEditorStore::waypointDeletionRecord, QStringLiteral("WPT"),
                       QStringLiteral("delWaypoint();theLast == null;"), MainWindow::tr("Suppression d'un waypoint"),
                       MainWindow::tr("Suppression/export d'un waypoint"), MainWindow::tr("Le waypoint sélectionné n'existe pas dans la base"),
                       MainWindow::tr("Le waypoint %1 a été effacé"), MainWindow::tr("Le waypoint %1 n'a pas pu être effacé de la base."),
                       MainWindow::tr("Le waypoint %1 a été effacé et enregistrer pour export \ndans %2"),
                       MainWindow::tr("Le waypoint %1 a été effacé mais l'export à échoué")};

    // Only the row whose key the title names, exactly: never one that merely
    // shares its ident or name.
    const QSqlDatabase db = QSqlDatabase::database(d.connection);
    const CMarkerTitle marker = CMarkerTitle::find(db, d.table, title);
    if (!marker.found || !config->sqlMgr) {
        prompt().inform(d.title, d.notFound);
        return;
    }
    const QString key = marker.key;

    const QString erase = MainWindow::tr("Effacer");
    const QString eraseExport = MainWindow::tr("Effacer\n& Exporter");
    const QString cancel = MainWindow::tr("Annuler");
    CPrompt::Message box;
    box.icon = CPrompt::Question;
    box.text = d.title;
    box.informativeText = MainWindow::tr("Voulez vous effacer définitivement %1 ?").arg(title);
    box.buttons = {erase, eraseExport, cancel};
    box.defaultButton = eraseExport;
    box.acceptButtons = {erase};
    box.rejectButtons = {cancel};
    const QString answer = prompt().message(box);
    if (answer != erase && answer != eraseExport)
        return;

    // No change to the simulator's database without a copy of it.
    if (!CBackup::confirmConnection(d.connection))
        return;
    QString error;
    if (!d.remove(config->sqlMgr, db, key, &error)) {
        qWarning() << d.slot << "DELETE" << key << error;
        prompt().warn(d.title, d.failed.arg(title));
        return;
    }
    window->runJavaScript(d.script);

    if (answer == erase) {
        prompt().inform(d.title, d.deleted.arg(title));
        return;
    }
    const QString path = UpdateFile::path(marker.name);
    const QString record = d.record(key);
    QString writeError;
    if (UpdateFile::recordable({key}) && UpdateFile::write(path, record, &writeError)) {
        prompt().inform(d.exportTitle, d.exported.arg(marker.name, path));
    } else {
        qWarning() << d.slot << "export" << path << writeError;
        prompt().inform(d.exportTitle, d.exportFailed.arg(marker.name));
    }
}

} // namespace

void MainWindow::sAddWptToDB(QString title, double lat, double lon)
{
    if (!m_config)
        return;
    std::unique_ptr<CDialogWpt> dialog;
    if (title.isEmpty()) {
        dialog = std::make_unique<CDialogWpt>(lat * 3600, Coord::inTurn(lon * 3600), this);
    } else {
        QSqlQuery query;
        if (!CMarkerTitle::find(QSqlDatabase::database(m_config->wptName), QStringLiteral("WPT"), title, &query).found) {
            prompt().inform(tr("Modification d'un waypoint"), tr("Le waypoint %1 n'existe pas dans la base").arg(title));
            return;
        }
        dialog = std::make_unique<CDialogWpt>(query, this);
    }
    if (prompt().execDialog(dialog.get()) == QDialog::Accepted && !dialog->mapCommand.isEmpty())
        runJavaScript(dialog->mapCommand);
}

void MainWindow::sAddNavToDB(QString title, double lat, double lon)
{
    if (!m_config)
        return;
    std::unique_ptr<CDialogNav> dialog;
    if (title.isEmpty()) {
        dialog = std::make_unique<CDialogNav>(lat * 3600, Coord::inTurn(lon * 3600), this);
    } else {
        QSqlQuery query;
        if (!CMarkerTitle::find(QSqlDatabase::database(m_config->genName), QStringLiteral("NAV"), title, &query).found) {
            prompt().inform(tr("Modification d'un navaid"), tr("Le navaid %1 n'existe pas dans la base").arg(title));
            return;
        }
        dialog = std::make_unique<CDialogNav>(query, this);
    }
    if (prompt().execDialog(dialog.get()) == QDialog::Accepted && !dialog->mapCommand.isEmpty())
        runJavaScript(dialog->mapCommand);
}

void MainWindow::sDelNavFromDB(QString title)
{
    if (title.isEmpty() || !m_config)
        return;
    deleteFromDB(this, m_config, title, true);
}

void MainWindow::sDelWptFromDB(QString title)
{
    if (title.isEmpty() || !m_config)
        return;
    deleteFromDB(this, m_config, title, false);
}

