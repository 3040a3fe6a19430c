// Application frame: the log, the language, the view settings, the main
// window's start (simulator and work folders), its layer actions and exit.

#include "app/log.h"
#include "app/navglobalvar.h"
#include "app/startup.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTranslator>

namespace {

QByteArray readFile(const QString &path) { QFile f(path); return f.open(QFile::ReadOnly) ? f.readAll() : QByteArray(); }
void writeFile(const QString &path, const QByteArray &b) { QFile f(path); QVERIFY(f.open(QFile::WriteOnly) && f.write(b) == b.size()); }

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_startDir = QDir::currentPath(); }
    void cleanup()
    {
        QDir::setCurrent(m_startDir);
        CNavGlobalVar::release();
        CNavGlobalVar::setSettingsPath(QStringLiteral("navigator.ini"));
    }

    void log();
    void chooseLanguage_data();
    void chooseLanguage();
    void settings_data();
    void settings();
    void startFolders_data();
    void startFolders();
    void windowExit();

private:
    QString m_startDir;
};

// The log starts afresh with each run: one line per message, by level, in
// the local 8-bit encoding; messages of other levels leave an empty line.
void TestApp::log()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    writeFile(NavLog::fileName(), "previous run\n");
    const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    NavLog::install();
    qDebug() << "x" << QStringLiteral("é");
    qWarning("two\nlines");
    qCritical("c");
    qInfo("dropped");
    qInstallMessageHandler(previous);
    QCOMPARE(readFile(NavLog::fileName()), QStringLiteral("Debug: x \"é\"\nWarning: two\nlines\nCritical: c\n\n").toLocal8Bit());
    QCOMPARE(NavLog::line(QtFatalMsg, QStringLiteral("x")), QStringLiteral("Fatal: x"));
}

void TestApp::chooseLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("inBin");          // started in the folder holding the translation
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QString>("quit");        // the text shown for "Quitter"

    const QString bin = QStringLiteral(CORVANE_RUNTIME_DIR);
    QTest::newRow("fr_CA stays French") << "fr_CA" << true << bin << "Quitter";
    QTest::newRow("language compared with case") << "FR_fr" << true << QString() << "Quit";
    QTest::newRow("English from the current folder") << "en_GB" << true << QString() << "Quit";
    QTest::newRow("English from beside the program") << "en_US" << false << bin << "Quit";
    QTest::newRow("English file missing: French stays") << "de_DE" << false << QString() << "Quitter";
}

void TestApp::chooseLanguage()
{
    QFETCH(QString, locale);
    QFETCH(bool, inBin);
    QFETCH(QString, programDir);
    QFETCH(QString, quit);
    QTemporaryDir empty;
    QVERIFY(QDir::setCurrent(inBin ? QStringLiteral(CORVANE_RUNTIME_DIR) : empty.path()));
    QTranslator translator;
    QCOMPARE(NavStartup::chooseLanguage(*QCoreApplication::instance(), translator, locale, programDir),
             !locale.startsWith(QLatin1String("fr_")));
    const QString shown = QCoreApplication::translate("MainWindow", "Quitter");
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(shown, quit);
}

// navigator.ini is read once at start and written whole at release; keys it
// does not know are kept.
void TestApp::settings_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("written");   // lines of the file written

    QTest::newRow("first start: the defaults")
        << QByteArray() << QStringList{"[directory]", "dirWork=", "[trace]", "intervale=2", "[view]",
                                       "route=FR", "showATSB=true", "showAirport=true", "showDock=true", "zoom=6"};
    QTest::newRow("values read")
        << QByteArray("[view]\nshowNdbTerm=false\nzoom=7.5\nroute=BE\n[trace]\nintervale=500\n"
                      "[directory]\ndirWork=/data/work\n")
        << QStringList{"showNdbTerm=false", "showNdbRte=true", "zoom=7.5", "route=BE",
                       "intervale=500", "dirWork=/data/work"};
    for (const char *interval : {"0", "-5", "x"})
        QTest::addRow("trace interval %s: the default", interval) << "[trace]\nintervale=" + QByteArray(interval) + "\n"
                                                                  << QStringList{"intervale=2"};
    QTest::newRow("unknown keys kept, other sections not read")
        << QByteArray("[view]\ncolour=red\n[other]\nzoom=3\n") << QStringList{"colour=red", "[other]", "zoom=3", "zoom=6"};
}

void TestApp::settings()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, written);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("navigator.ini"));
    writeFile(path, ini);
    CNavGlobalVar::setSettingsPath(path);
    CNavGlobalVar::instance();
    CNavGlobalVar::release();
    const QStringList lines = QString::fromLatin1(readFile(path)).split(u'\n');
    for (const QString &line : written)
        QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + lines.join(u'\n')));
}

void TestApp::startFolders_data()
{
    QTest::addColumn<bool>("simulatorFound");   // Corvane.exe two levels up
    QTest::addColumn<QByteArray>("ini");        // null: no settings file
    QTest::addColumn<QStringList>("asked");     // the choosers shown

    const QString simulator = QStringLiteral("directory: Sélectionner le répertoire de Corvane");
    const QString work = QStringLiteral("directory: Sélectionner le répertoire de travail");
    QTest::newRow("both found") << true << QByteArray("{work}") << QStringList();
    QTest::newRow("first start: no settings file") << true << QByteArray() << QStringList{work};
    QTest::newRow("empty setting") << true << QByteArray("[directory]\ndirWork=\n") << QStringList{work};
    QTest::newRow("work folder gone") << true << QByteArray("[directory]\ndirWork=/no/such/folder\n") << QStringList{work};
    QTest::newRow("simulator asked, then the work folder") << false << QByteArray() << QStringList{simulator, work};
}

// Each folder not found is asked for, from the program's folder, and used
// as chosen; the work folder is stored at exit so that the next start asks
// nothing.
void TestApp::startFolders()
{
    QFETCH(bool, simulatorFound);
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, asked);
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    const QString work = f.sim.path(QStringLiteral("Work"));
    if (ini.isEmpty())
        QVERIFY(QFile::remove(f.settingsFile()));
    else if (ini != "{work}")
        f.writeSettings(ini);
    if (!simulatorFound) {
        QVERIFY(QFile::remove(f.sim.root() + QStringLiteral("/Corvane.exe")));
        f.prompt.answers << f.sim.root();
    }
    f.prompt.answers << work;
    f.start();
    QStringList titles;
    for (const ScriptedPrompt::Record &r : std::as_const(f.prompt.records)) {
        QCOMPARE(r.dir, QCoreApplication::applicationDirPath());
        titles << r.kind + ": " + r.title;
    }
    QCOMPARE(titles, asked);
    QCOMPARE(QDir(CNavGlobalVar::instance()->dirCorvane.path()).canonicalPath(), QDir(f.sim.root()).canonicalPath());
    QCOMPARE(CNavGlobalVar::instance()->dirWork.path(), work);

    f.stop();
    QVERIFY(simulatorFound || QFile(f.sim.root() + QStringLiteral("/Corvane.exe")).open(QIODevice::WriteOnly));
    f.prompt.records.clear();
    f.start();
    QCOMPARE(f.prompt.records.size(), 0);
}

// Each layer action shows its own setting and stores it back at exit. The
// view the page last reported is stored at exit; when it reported nothing,
// the view read at start is kept. "Quitter" closes the window.
void TestApp::windowExit()
{
    const QStringList keys = {"showAirport", "showVor", "showNdbRte", "showNdbTerm", "showWaypointRte",
                              "showWaypointTerm", "showWaypointVfr", "showATSL", "showATSH", "showATSB",
                              "showBoundary", "showDock"};
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    QByteArray ini = "[directory]\ndirWork=" + f.sim.path(QStringLiteral("Work")).toUtf8()
                     + "\n[view]\nzoom=11\n";
    for (int i = 0; i < keys.size(); ++i)
        ini += keys.at(i).toLatin1() + (i % 2 ? "=true\n" : "=false\n");
    f.writeSettings(ini);
    QSettings(f.settingsFile(), QSettings::IniFormat).setValue("view/mapCenter", QPointF(5.5, 43.25));
    f.start();
    const QList<QAction *> actions = f.ui()->mainToolBar->actions().mid(1);
    for (int i = 0; i < keys.size(); ++i) {
        QVERIFY2(actions.at(i)->isChecked() == bool(i % 2), qPrintable(keys.at(i)));
        actions.at(i)->trigger();
    }
    f.stop();
    QSettings kept(f.settingsFile(), QSettings::IniFormat);
    for (int i = 0; i < keys.size(); ++i)
        QVERIFY2(kept.value("view/" + keys.at(i)).toBool() == !(i % 2), qPrintable(keys.at(i)));
    QCOMPARE(kept.value("view/mapCenter").toPointF(), QPointF(5.5, 43.25));
    QCOMPARE(kept.value("view/zoom").toDouble(), 11.0);

    MainWindow *w = f.start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(QMetaObject::invokeMethod(w, "doCenter", Q_ARG(double, 45.5), Q_ARG(double, 3.25)));
    QVERIFY(QMetaObject::invokeMethod(w, "doZoom", Q_ARG(int, 9)));
    f.ui()->menuQuit->trigger();
    QVERIFY(!w->isVisible());
    f.stop();
    QSettings reported(f.settingsFile(), QSettings::IniFormat);
    QCOMPARE(reported.value("view/mapCenter").toPointF(), QPointF(3.25, 45.5));
    QCOMPARE(reported.value("view/zoom").toDouble(), 9.0);
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
