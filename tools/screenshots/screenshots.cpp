// screenshots: takes the pictures of the documentation from the real
// program. It builds the demo simulator tree in a temporary folder, starts
// the main window two levels below it as a user would, drives it (search,
// flight plan, procedures, navaid editor, aircraft trace with navsim) and
// grabs the screen. The map is drawn by the web engine, which only a real
// X server shows, so run it under one:
//
//   xvfb-run -a -s '-screen 0 1600x1280x24' build/bin/screenshots [--english] OUTDIR
//
// It writes map.png, plan.png, procedures.png, editor.png and trace.png.
#include "app/log.h"
#include "app/mainwindow.h"
#include "app/prompt.h"
#include "app/startup.h"
#include "editors/updatefile.h"
#include "map/webpage.h"
#include "simlink/navplug.h"
#include "tools/simtree/simtree.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>
#include <QWebEnginePage>

#include <functional>
#include <unistd.h>
#include <memory>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

// Lets the program run (events, the page, timers) for a while.
void pause(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

// Answers every box as the scenes need: from a queue, then "Ok"; dialogs
// through a handler that shows them for the picture.
class ScenePrompt : public CPrompt
{
public:
    QStringList answers;
    std::function<int(QDialog *)> dialogHandler;

    QString message(const Message &box) override { return next(box.buttons.value(0, CPrompt::Ok)); }
    void about(const QString &, const QString &) override {}
    void aboutQt(const QString &) override {}
    QString existingDirectory(const QString &, const QString &) override { return next(QString()); }
    QString openFileName(const QString &, const QString &, const QString &) override { return next(QString()); }
    QStringList openFileNames(const QString &, const QString &, const QString &) override
    {
        const QString answer = next(QString());
        return answer.isEmpty() ? QStringList() : QStringList{answer};
    }
    QString saveFileName(const QString &, const QString &, const QString &) override { return next(QString()); }
    QString text(const QString &, const QString &, const QString &, bool *ok) override
    {
        const QString answer = next(QString());
        if (ok)
            *ok = !answer.isEmpty();
        return answer;
    }
    int execDialog(QObject *dialog) override
    {
        auto *d = qobject_cast<QDialog *>(dialog);
        return d && dialogHandler ? dialogHandler(d) : int(QDialog::Rejected);
    }

private:
    QString next(const QString &fallback) { return answers.isEmpty() ? fallback : answers.takeFirst(); }
};

class Scenes
{
public:
    Scenes(MainWindow *window, ScenePrompt *prompt, QString outDir, QString treeRoot)
        : w(window), ui(window->form()), m_prompt(prompt), m_outDir(std::move(outDir)), m_root(std::move(treeRoot))
    {
    }

    QVariant js(const QString &script)
    {
        auto done = std::make_shared<bool>(false);
        auto value = std::make_shared<QVariant>();
        w->page()->runJavaScript(script, [done, value](const QVariant &v) {
            *value = v;
            *done = true;
        });
        waitFor([done] { return *done; }, 60000);
        return *value;
    }

    bool waitForMap()
    {
        return waitFor([this] { return js(QStringLiteral("__navDebug.listSize('listApt')")).toInt() > 0; }, 120000)
                && waitFor([this] { return js(QStringLiteral("mainWindow.__state")).toString() == QLatin1String("ready"); },
                           60000);
    }

    void look(double lat, double lon, int zoom)
    {
        w->runJavaScript(QStringLiteral("map.setZoom(%1);map.setCenter(new google.maps.LatLng(%2,%3));")
                                 .arg(zoom)
                                 .arg(lat, 0, 'f', 5)
                                 .arg(lon, 0, 'f', 5));
        js(QStringLiteral("__navDebug.redraw()"));
    }

    // The window as the screen shows it (the web view included).
    bool shoot(const QString &name, QWidget *top = nullptr)
    {
        pause(1500);
        QWidget *target = top ? top : w;
        QScreen *screen = target->screen();
        QRect area = w->frameGeometry();
        if (top)
            area = area.united(top->frameGeometry());
        const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        const QString path = QDir(m_outDir).filePath(name);
        const bool ok = !shot.isNull() && shot.save(path, "PNG");
        out() << (ok ? "screenshots: wrote " : "screenshots: could not write ") << path << "\n";
        out().flush();
        return ok;
    }

    void search(const QString &text)
    {
        ui->searchData->setText(text);
        w->searchInTable(true);
    }

    // LFPG from the search, a user waypoint, the Limoges VOR-DME, LFBO.
    void plan()
    {
        search(QStringLiteral("LFPG"));
        if (QTreeWidgetItem *item = ui->treeWFound->topLevelItem(0))
            QMetaObject::invokeMethod(w, "on_treeWFound_itemDoubleClicked", Q_ARG(QTreeWidgetItem *, item), Q_ARG(int, 1));
        w->sAddNewWptToFp(QStringLiteral("WP"), 47.5, 1.9);
        w->sAddNavToFp(QStringLiteral("LMG-FR4LMG1"));
        w->sAddAptToFp(QStringLiteral("LFBO"));
    }

    bool mapScene()
    {
        search(QStringLiteral("PAR"));
        w->searchInTable(false);
        ui->dockWDebug->raise();
        look(48.85, 2.45, 9);
        return shoot(QStringLiteral("map.png"));
    }

    bool planScene()
    {
        plan();
        ui->dockWFlightPlan->raise();
        look(46.3, 1.95, 6);
        return shoot(QStringLiteral("plan.png"));
    }

    bool proceduresScene()
    {
        QMetaObject::invokeMethod(w, "on_fltplnGrid_cellClicked", Q_ARG(int, 0), Q_ARG(int, 1));
        ui->dockWSid->raise();
        pause(200);
        for (int i = 0; i < ui->treeWSid->topLevelItemCount(); ++i)
            ui->treeWSid->topLevelItem(i)->setExpanded(true);
        if (QTreeWidgetItem *first = ui->treeWSid->topLevelItem(0)) {
            ui->treeWSid->setCurrentItem(first);
            QMetaObject::invokeMethod(w, "on_treeWSid_itemClicked", Q_ARG(QTreeWidgetItem *, first), Q_ARG(int, 0));
        }
        look(49.35, 2.6, 9);
        return shoot(QStringLiteral("procedures.png"));
    }

    bool editorScene()
    {
        bool shot = false;
        ui->dockWFlightPlan->raise();
        look(45.2, -1.2, 8);
        m_prompt->dialogHandler = [&](QDialog *d) {
            if (auto *country = d->findChild<QComboBox *>(QStringLiteral("cbCtry")))
                country->setCurrentIndex(country->findText(QStringLiteral("FR")));
            if (auto *ident = d->findChild<QLineEdit *>(QStringLiteral("leIden"))) {
                ident->setText(QStringLiteral("ROY"));
                QMetaObject::invokeMethod(d, "on_leIden_textEdited", Q_ARG(QString, QStringLiteral("ROY")));
            }
            if (auto *name = d->findChild<QLineEdit *>(QStringLiteral("leName")))
                name->setText(QStringLiteral("ROYAN VOR-DME"));
            if (auto *freq = d->findChild<QDoubleSpinBox *>(QStringLiteral("sbFreq")))
                freq->setValue(114.15);
            if (auto *vordme = d->findChild<QRadioButton *>(QStringLiteral("rbVORDME")))
                vordme->setChecked(true);
            if (auto *csv = d->findChild<QCheckBox *>(QStringLiteral("cbSaveCSV")))
                csv->setChecked(true);
            d->show();
            d->move(w->geometry().center() - QPoint(d->width() / 2, d->height() / 2));
            pause(500);
            shot = shoot(QStringLiteral("editor.png"), d);
            d->hide();
            return int(QDialog::Rejected);
        };
        w->sAddNavToDB(QString(), 45.2, -1.2);
        m_prompt->dialogHandler = nullptr;
        return shot;
    }

    bool traceScene(const QString &navsim)
    {
        // The plan is saved for the stand-in simulator to fly it.
        m_prompt->answers = {CPrompt::Ok, CPrompt::Cancel};
        QMetaObject::invokeMethod(w, "on_btnSaveFlightPlan_clicked");
        const QString fpl = m_root + QStringLiteral("/Flightplan/LFPG_LFBO.FPL");
        const QString block = QStringLiteral("screenshots-%1").arg(QCoreApplication::applicationPid());
        CNavPlug::setDefaultBlockName(block);
        QProcess sim;
        sim.start(navsim, {"--name", block, "--fpl", fpl, "--speed", "12000", "--seconds", "60", "--unlink"});
        if (!sim.waitForStarted(10000) || !waitFor([&] { return sim.readAllStandardOutput().contains("writing"); }, 10000)) {
            out() << "screenshots: navsim did not start\n";
            return false;
        }
        // Half way to Limoges, the map following the aircraft.
        ui->dockWFlightPlan->raise();
        look(47.0, 1.9, 8);
        ui->pbCenterAcft->setChecked(true);
        ui->pbTraceAcft->click();
        pause(9000);
        ui->pbCenterAcft->setChecked(false);
        pause(500);
        const bool ok = shoot(QStringLiteral("trace.png"));
        ui->pbTraceAcft->click();
        sim.terminate();
        sim.waitForFinished(10000);
        return ok;
    }

private:
    MainWindow *w;
    Ui::MainWindow *ui;
    ScenePrompt *m_prompt;
    QString m_outDir;
    QString m_root;
};

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const bool english = args.removeAll(QStringLiteral("--english")) > 0;
    // The window takes its language from the system, which the process
    // learns at its start: set it, then start again.
    const QByteArray language = english ? "en_US.UTF-8" : "fr_FR.UTF-8";
    if (qgetenv("LC_ALL") != language) {
        qputenv("LC_ALL", language);
        execv("/proc/self/exe", argv);
        QTextStream(stderr) << "screenshots: cannot restart with LC_ALL=" << language << "\n";
        return 1;
    }
    QApplication app(argc, argv);
    NavLog::install();
    if (args.size() != 1) {
        QTextStream(stderr) << "usage: screenshots [--english] OUTDIR   (under an X server, e.g. xvfb-run)\n";
        return 2;
    }
    const QString outDir = QDir(args.first()).absolutePath();
    QDir().mkpath(outDir);

    QTemporaryDir tree;
    QString error;
    if (!tree.isValid() || !SimTree::buildFromDemo(SimTree::demoDir(), tree.path(), &error)) {
        QTextStream(stderr) << "screenshots: cannot build the demo tree: " << error << "\n";
        return 1;
    }
    const QString programDir = tree.filePath(QStringLiteral("Tools/Navigator"));
    QDir(tree.path()).mkpath(QStringLiteral("Tools/Navigator"));
    QDir(tree.path()).mkpath(QStringLiteral("Work"));
    {
        QFile ini(programDir + QStringLiteral("/navigator.ini"));
        if (!ini.open(QIODevice::WriteOnly))
            return 1;
        ini.write(QStringLiteral("[directory]\ndirWork=%1\n[trace]\nintervale=200\n")
                          .arg(tree.filePath(QStringLiteral("Work")))
                          .toUtf8());
    }
    QDir::setCurrent(programDir);
    UpdateFile::setProgramDir(programDir);

    ScenePrompt prompt;
    CPrompt::setInstance(&prompt);
    QTranslator translator;
    NavStartup::chooseLanguage(app, translator, QLocale::system().name(), QCoreApplication::applicationDirPath());

    bool ok = true;
    {
        MainWindow window;
        window.resize(1400, 1180);
        window.move(0, 0);
        window.show();
        Scenes scenes(&window, &prompt, outDir, tree.path());
        if (!scenes.waitForMap()) {
            QTextStream(stderr) << "screenshots: the map page did not come up\n";
            return 1;
        }
        ok = scenes.mapScene() && ok;
        ok = scenes.planScene() && ok;
        ok = scenes.proceduresScene() && ok;
        ok = scenes.editorScene() && ok;
        ok = scenes.traceScene(QCoreApplication::applicationDirPath() + QStringLiteral("/navsim")) && ok;
        // The plan was saved: the window closes without asking.
        window.close();
    }
    CPrompt::setInstance(nullptr);
    return ok ? 0 : 1;
}
