#include "app/log.h"
#include "app/mainwindow.h"
#include "app/navglobalvar.h"
#include "app/startup.h"
#include "app/version.h"
#include "flightplan/flightplangrid.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointF>
#include <QProcess>
#include <QRegularExpression>
#include <QResource>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QTranslator>
#include <QTreeWidget>
#include <QTabBar>

#include <tuple>

namespace {

const QString LogName = QString::fromLatin1(NavLog::fileName());

// The lines of a text file; the line feed that ends the last line does not
// make an extra empty line.
QStringList fileLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromLocal8Bit(file.readAll());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

struct HelperRun {
    bool started = false;
    QProcess::ExitStatus status = QProcess::NormalExit;
    int code = -1;
    QString out;
};

HelperRun runHelper(const QString &workDir, const QStringList &args)
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(QStringLiteral(CORVANE_LOGHELPER), args);
    HelperRun run;
    run.started = process.waitForStarted() && process.waitForFinished(60000);
    run.status = process.exitStatus();
    run.code = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    return run;
}

// Routes messages to the program's log for the life of the object (the
// test framework's own handler is put back afterwards).
class LogCapture
{
public:
    LogCapture() { m_previous = qInstallMessageHandler(NavLog::handler); }
    ~LogCapture() { qInstallMessageHandler(m_previous); }

private:
    QtMessageHandler m_previous = nullptr;
};

// `expected` appears in `lines` in this order, other lines in between allowed.
bool inOrder(const QStringList &lines, const QStringList &expected, QString *missing)
{
    int from = 0;
    for (const QString &line : expected) {
        const int at = lines.indexOf(line, from);
        if (at < 0) {
            *missing = line;
            return false;
        }
        from = at + 1;
    }
    return true;
}

QVariant member(const CNavGlobalVar *g, const QString &name)
{
    if (name == QLatin1String("showAirport")) return g->showAirport;
    if (name == QLatin1String("showVor")) return g->showVor;
    if (name == QLatin1String("showNdbRte")) return g->showNdbRte;
    if (name == QLatin1String("showNdbTerm")) return g->showNdbTerm;
    if (name == QLatin1String("showWaypointRte")) return g->showWaypointRte;
    if (name == QLatin1String("showWaypointTerm")) return g->showWaypointTerm;
    if (name == QLatin1String("showWaypointVfr")) return g->showWaypointVfr;
    if (name == QLatin1String("showATSH")) return g->showATSH;
    if (name == QLatin1String("showATSL")) return g->showATSL;
    if (name == QLatin1String("showATSB")) return g->showATSB;
    if (name == QLatin1String("showBoundary")) return g->showBoundary;
    if (name == QLatin1String("showDock")) return g->showDock;
    if (name == QLatin1String("zoom")) return g->zoom;
    if (name == QLatin1String("center")) return QPointF(g->centerLon, g->centerLat);
    if (name == QLatin1String("route")) return g->route;
    if (name == QLatin1String("traceInterval")) return g->traceInterval;
    if (name == QLatin1String("dirWork")) return g->workDirSet ? g->dirWork.path() : QString();
    return QVariant();
}

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage resourceImage(const QString &name)
{
    return QImage(QStringLiteral(":/icon/images/") + name).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // log
    void logLine_data();
    void logLine();
    void handlerAppendsOneLinePerMessage();
    void installDeletesPreviousLog();
    void startupLog_data();
    void startupLog();
    void secondRunKeepsOnlyItsOwnLines();
    void unwritableLogIsIgnored();

    // language
    void languagePart_data();
    void languagePart();
    void chooseLanguage_data();
    void chooseLanguage();

    // view settings
    void settingsDefaults();
    void settingsRead_data();
    void settingsRead();
    void settingsWrittenAtRelease();
    void settingsRoundTrip();
    void settingsKeepUnknownKeys();
    void settingsUnwritableFileIsIgnored();

    // icons
    void icons();

    // main window
    void formObjects();
    void formInitialState();
    void docksTabifiedWithDebugInFront();
    void layerActions_data();
    void layerActions();
    void columns();
    void contextMenus();
    void aboutBoxes();
    void quitClosesWindowAndSavesSettings();
    void simulatorFoundTwoLevelsUp();
    void simulatorDirectoryAsked();
    void workDirectoryAsked_data();
    void workDirectoryAsked();
    void startLogLines();
    void exitStoresReportedCentreAndZoom();
    void exitKeepsStoredViewWhenNeverReported();
    void uncheckedLayerStoredAtExit_data();
    void uncheckedLayerStoredAtExit();

private:
    QString m_startDir;
};

void TestApp::init()
{
    m_startDir = QDir::currentPath();
}

void TestApp::cleanup()
{
    QDir::setCurrent(m_startDir);
    CNavGlobalVar::release();
    CNavGlobalVar::setSettingsPath(QStringLiteral("navigator.ini"));
}

// ---------------------------------------------------------------- log

void TestApp::logLine_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("line");

    QTest::newRow("debug") << int(QtDebugMsg) << "main: locale \"fr_FR\"" << "Debug: main: locale \"fr_FR\"";
    QTest::newRow("warning") << int(QtWarningMsg) << "CGlobalVar::initDB ROUTE : base de donnée manquante"
                             << "Warning: CGlobalVar::initDB ROUTE : base de donnée manquante";
    QTest::newRow("critical") << int(QtCriticalMsg) << "x" << "Critical: x";
    QTest::newRow("fatal") << int(QtFatalMsg) << "CGlobalVar::initDB : GEN : erreur de version"
                           << "Fatal: CGlobalVar::initDB : GEN : erreur de version";
    QTest::newRow("other type gives an empty line") << int(QtInfoMsg) << "info" << "";
    QTest::newRow("empty debug message") << int(QtDebugMsg) << "" << "Debug: ";
}

void TestApp::logLine()
{
    QFETCH(int, type);
    QFETCH(QString, message);
    QFETCH(QString, line);
    QCOMPARE(NavLog::line(QtMsgType(type), message), line);
}

void TestApp::handlerAppendsOneLinePerMessage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir::setCurrent(dir.path()));
    writeFile(LogName, "earlier line\n");

    const QMessageLogContext context;
    NavLog::handler(QtDebugMsg, context, QStringLiteral("Départ"));
    NavLog::handler(QtWarningMsg, context, QStringLiteral("two\nlines"));
    NavLog::handler(QtInfoMsg, context, QStringLiteral("dropped"));

    // Appended, line feeds only, the local 8-bit encoding.
    const QByteArray expected = "earlier line\n" + QStringLiteral("Debug: Départ").toLocal8Bit()
            + "\nWarning: two\nlines\n\n";
    QCOMPARE(fileBytes(dir.filePath(LogName)), expected);
}

void TestApp::installDeletesPreviousLog()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir::setCurrent(dir.path()));
    writeFile(LogName, "previous run\n");

    const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    NavLog::install();
    const bool removed = !QFile::exists(dir.filePath(LogName));
    qDebug() << "first" << QStringLiteral("quoted");
    qInstallMessageHandler(previous);

    QVERIFY(removed);
    QCOMPARE(fileLines(dir.filePath(LogName)), QStringList{QStringLiteral("Debug: first \"quoted\"")});
}

void TestApp::startupLog_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("crashes");
    QTest::addColumn<QString>("quit");   // the text shown for "Quitter"

    const QString english = QStringLiteral("Debug: main: english version loaded");
    QTest::newRow("fr_FR stays French") << "fr_FR" << QStringList()
                                        << QStringList{"Debug: main: locale \"fr_FR\""} << false << "Quitter";
    QTest::newRow("fr_CA stays French") << "fr_CA" << QStringList()
                                        << QStringList{"Debug: main: locale \"fr_CA\""} << false << "Quitter";
    QTest::newRow("fr_BE stays French") << "fr_BE" << QStringList()
                                        << QStringList{"Debug: main: locale \"fr_BE\""} << false << "Quitter";
    QTest::newRow("en_US loads English") << "en_US" << QStringList()
                                         << QStringList{"Debug: main: locale \"en_US\"", english} << false << "Quit";
    QTest::newRow("de_DE loads English") << "de_DE" << QStringList()
                                         << QStringList{"Debug: main: locale \"de_DE\"", english} << false << "Quit";
    QTest::newRow("neutral locale loads English") << "C" << QStringList()
                                                  << QStringList{"Debug: main: locale \"C\"", english} << false << "Quit";
    QTest::newRow("language compared with case") << "FR_fr" << QStringList()
                                                 << QStringList{"Debug: main: locale \"FR_fr\"", english} << false
                                                 << "Quit";
    QTest::newRow("levels and stream form")
            << "fr_FR"
            << QStringList{"debug:a", "warning:b", "critical:c", "info:d", "stream:e f"}
            << QStringList{"Debug: main: locale \"fr_FR\"", "Debug: a", "Warning: b", "Critical: c", "",
                           "Debug: helper: \"e f\""}
            << false << "Quitter";
    QTest::newRow("Qt's own warning")
            << "fr_FR" << QStringList{"qtwarning"}
            << QStringList{"Debug: main: locale \"fr_FR\"", "Warning: QFSFileEngine::open: No file name specified"}
            << false << "Quitter";
    QTest::newRow("fatal line is the last")
            << "fr_FR"
            << QStringList{"debug:before", "fatal:CGlobalVar::initDB : GEN : erreur de version", "debug:after"}
            << QStringList{"Debug: main: locale \"fr_FR\"", "Debug: before",
                           "Fatal: CGlobalVar::initDB : GEN : erreur de version"}
            << true << QString();
}

void TestApp::startupLog()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, actions);
    QFETCH(QStringList, lines);
    QFETCH(bool, crashes);
    QFETCH(QString, quit);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath(LogName), "line of the previous run\n");

    // The translation is not in the working directory: it is found beside
    // the program.
    const HelperRun run = runHelper(dir.path(), QStringList{locale, QStringLiteral(CORVANE_RUNTIME_DIR)} + actions);
    QVERIFY(run.started);
    QCOMPARE(run.status == QProcess::CrashExit, crashes);
    if (!crashes) {
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, quit);
    }
    QCOMPARE(fileLines(dir.filePath(LogName)), lines);
}

void TestApp::secondRunKeepsOnlyItsOwnLines()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(runHelper(dir.path(), {"fr_FR", QString(), "debug:first run"}).started);
    QVERIFY(runHelper(dir.path(), {"fr_CA", QString(), "debug:second run"}).started);
    QCOMPARE(fileLines(dir.filePath(LogName)),
             (QStringList{"Debug: main: locale \"fr_CA\"", "Debug: second run"}));
}

void TestApp::unwritableLogIsIgnored()
{
    // A folder in the way of the log: it can neither be deleted nor opened.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(LogName));
    const HelperRun run = runHelper(dir.path(), {"fr_FR", QString(), "debug:lost", "warning:lost too"});
    QVERIFY(run.started);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.code, 0);
    QCOMPARE(run.out, QStringLiteral("Quitter"));
    QVERIFY(QFileInfo(dir.filePath(LogName)).isDir());
}

// ---------------------------------------------------------------- language

void TestApp::languagePart_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("french");

    QTest::newRow("fr_FR") << "fr_FR" << "fr" << true;
    QTest::newRow("fr_CA") << "fr_CA" << "fr" << true;
    QTest::newRow("fr alone") << "fr" << "fr" << true;
    QTest::newRow("en_US") << "en_US" << "en" << false;
    QTest::newRow("de_DE") << "de_DE" << "de" << false;
    QTest::newRow("neutral") << "C" << "C" << false;
    QTest::newRow("upper case") << "FR_FR" << "FR" << false;
    QTest::newRow("empty") << "" << "" << false;
    QTest::newRow("only the first part") << "fr_Latn_FR" << "fr" << true;
}

void TestApp::languagePart()
{
    QFETCH(QString, locale);
    QFETCH(QString, language);
    QFETCH(bool, french);
    QCOMPARE(NavStartup::languagePart(locale), language);
    QCOMPARE(NavStartup::isFrench(locale), french);
}

void TestApp::chooseLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("workDir");      // "bin": the runtime folder, "empty": a folder without it
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("quit");

    const QString bin = QStringLiteral(CORVANE_RUNTIME_DIR);
    QTest::newRow("French: nothing loaded") << "fr_FR" << "bin" << bin << false << "Quitter";
    QTest::newRow("English from the current folder") << "en_GB" << "bin" << QString() << true << "Quit";
    QTest::newRow("English from beside the program") << "en_US" << "empty" << bin << true << "Quit";
    QTest::newRow("English file missing: French stays") << "de_DE" << "empty" << QString() << true << "Quitter";
}

void TestApp::chooseLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QString, workDir);
    QFETCH(QString, programDir);
    QFETCH(bool, english);
    QFETCH(QString, quit);

    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    QVERIFY(QDir::setCurrent(workDir == QLatin1String("bin") ? QStringLiteral(CORVANE_RUNTIME_DIR) : empty.path()));

    QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("main: locale \"%1\"").arg(locale)));
    if (english)
        QTest::ignoreMessage(QtDebugMsg, "main: english version loaded");
    QTranslator translator;
    QCOMPARE(NavStartup::chooseLanguage(*QCoreApplication::instance(), translator, locale, programDir), english);
    const QString shown = QCoreApplication::translate("MainWindow", "Quitter");
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(shown, quit);
}

// ---------------------------------------------------------------- settings

void TestApp::settingsDefaults()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CNavGlobalVar::setSettingsPath(dir.filePath(QStringLiteral("navigator.ini")));
    const CNavGlobalVar *g = CNavGlobalVar::instance();
    for (const char *flag : {"showAirport", "showVor", "showNdbRte", "showNdbTerm", "showWaypointRte",
                             "showWaypointTerm", "showWaypointVfr", "showATSH", "showATSL", "showATSB",
                             "showBoundary", "showDock"})
        QVERIFY2(member(g, QLatin1String(flag)).toBool(), flag);
    QCOMPARE(g->zoom, 6.0);
    QCOMPARE(g->centerLat, 49.0);
    QCOMPARE(g->centerLon, 2.0);
    QCOMPARE(g->route, QStringLiteral("FR"));
    QCOMPARE(g->traceInterval, 2);
    QVERIFY(!g->workDirSet);
    QCOMPARE(CNavGlobalVar::instance(), g);
}

void TestApp::settingsRead_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("flag false") << QByteArray("[view]\nshowNdbTerm=false\n") << "showNdbTerm" << QVariant(false);
    QTest::newRow("other flags stay on") << QByteArray("[view]\nshowNdbTerm=false\n") << "showNdbRte" << QVariant(true);
    QTest::newRow("flag 0") << QByteArray("[view]\nshowATSB=0\n") << "showATSB" << QVariant(false);
    QTest::newRow("flag text is true by Qt's rule") << QByteArray("[view]\nshowVor=yes\n") << "showVor" << QVariant(true);
    QTest::newRow("flag empty") << QByteArray("[view]\nshowDock=\n") << "showDock" << QVariant(false);
    QTest::newRow("zoom") << QByteArray("[view]\nzoom=9\n") << "zoom" << QVariant(9.0);
    QTest::newRow("zoom fraction") << QByteArray("[view]\nzoom=7.5\n") << "zoom" << QVariant(7.5);
    QTest::newRow("zoom not a number") << QByteArray("[view]\nzoom=abc\n") << "zoom" << QVariant(0.0);
    QTest::newRow("centre as a point") << QByteArray("[view]\nmapCenter=@Point(3 45)\n") << "center"
                                       << QVariant(QPointF(3, 45));
    QTest::newRow("centre not a point") << QByteArray("[view]\nmapCenter=abc\n") << "center"
                                        << QVariant(QPointF(0, 0));
    QTest::newRow("route") << QByteArray("[view]\nroute=BE\n") << "route" << QVariant(QStringLiteral("BE"));
    QTest::newRow("trace interval") << QByteArray("[trace]\nintervale=500\n") << "traceInterval" << QVariant(500);
    QTest::newRow("trace interval not a number: the default") << QByteArray("[trace]\nintervale=x\n")
                                                              << "traceInterval" << QVariant(2);
    QTest::newRow("trace interval 0: the default") << QByteArray("[trace]\nintervale=0\n") << "traceInterval"
                                                   << QVariant(2);
    QTest::newRow("trace interval negative: the default") << QByteArray("[trace]\nintervale=-5\n")
                                                          << "traceInterval" << QVariant(2);
    QTest::newRow("work directory") << QByteArray("[directory]\ndirWork=/data/work\n") << "dirWork"
                                    << QVariant(QStringLiteral("/data/work"));
    QTest::newRow("work directory empty") << QByteArray("[directory]\ndirWork=\n") << "dirWork" << QVariant(QString());
    QTest::newRow("key in the wrong section") << QByteArray("[trace]\nzoom=3\n") << "zoom" << QVariant(6.0);
    QTest::newRow("garbage file gives defaults") << QByteArray("\x01\x02 not an ini\n=\n[[[\n") << "zoom"
                                                 << QVariant(6.0);
}

void TestApp::settingsRead()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, name);
    QFETCH(QVariant, value);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("navigator.ini"));
    writeFile(path, ini);
    CNavGlobalVar::setSettingsPath(path);
    QCOMPARE(member(CNavGlobalVar::instance(), name), value);
}

void TestApp::settingsWrittenAtRelease()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("navigator.ini"));
    CNavGlobalVar::setSettingsPath(path);
    CNavGlobalVar *g = CNavGlobalVar::instance();
    // Nothing is written before the release.
    QVERIFY(!QFile::exists(path));
    g->showATSB = false;
    CNavGlobalVar::release();

    QSettings s(path, QSettings::IniFormat);
    const QStringList keys = {"directory/dirWork", "trace/intervale", "view/mapCenter", "view/route",
                              "view/showATSB", "view/showATSH", "view/showATSL", "view/showAirport",
                              "view/showBoundary", "view/showDock", "view/showNdbRte", "view/showNdbTerm",
                              "view/showVor", "view/showWaypointRte", "view/showWaypointTerm",
                              "view/showWaypointVfr", "view/zoom"};
    QStringList found = s.allKeys();
    found.sort();
    QCOMPARE(found, keys);
    // Booleans in Qt's words.
    const QStringList lines = fileLines(path);
    QVERIFY(lines.contains(QStringLiteral("showATSB=false")));
    QVERIFY(lines.contains(QStringLiteral("showATSH=true")));
    QVERIFY(lines.contains(QStringLiteral("route=FR")));
    QVERIFY(lines.contains(QStringLiteral("intervale=2")));
    QVERIFY(lines.contains(QStringLiteral("dirWork=")));
}

void TestApp::settingsRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("navigator.ini"));
    CNavGlobalVar::setSettingsPath(path);
    CNavGlobalVar *g = CNavGlobalVar::instance();
    g->showAirport = false;
    g->showNdbTerm = false;
    g->showATSL = false;
    g->showDock = false;
    g->zoom = 11;
    g->centerLat = 43.604482;
    g->centerLon = -1.443962;
    g->route = QStringLiteral("ES");
    g->traceInterval = 750;
    g->dirWork.setPath(dir.filePath(QStringLiteral("work")));
    g->workDirSet = true;
    CNavGlobalVar::release();

    g = CNavGlobalVar::instance();
    QCOMPARE(g->showAirport, false);
    QCOMPARE(g->showVor, true);
    QCOMPARE(g->showNdbTerm, false);
    QCOMPARE(g->showATSL, false);
    QCOMPARE(g->showATSH, true);
    QCOMPARE(g->showDock, false);
    QCOMPARE(g->zoom, 11.0);
    QCOMPARE(g->centerLat, 43.604482);
    QCOMPARE(g->centerLon, -1.443962);
    QCOMPARE(g->route, QStringLiteral("ES"));
    QCOMPARE(g->traceInterval, 750);
    QVERIFY(g->workDirSet);
    QCOMPARE(g->dirWork.path(), dir.filePath(QStringLiteral("work")));
}

void TestApp::settingsKeepUnknownKeys()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("navigator.ini"));
    writeFile(path, "[view]\nshowVor=false\ncolour=red\n\n[other]\nkeep=1\n");
    CNavGlobalVar::setSettingsPath(path);
    CNavGlobalVar::instance()->showVor = true;
    CNavGlobalVar::release();

    QSettings s(path, QSettings::IniFormat);
    QCOMPARE(s.value("view/colour").toString(), QStringLiteral("red"));
    QCOMPARE(s.value("other/keep").toString(), QStringLiteral("1"));
    QCOMPARE(s.value("view/showVor").toString(), QStringLiteral("true"));
}

void TestApp::settingsUnwritableFileIsIgnored()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The settings file's folder does not exist and is in the way of a file.
    writeFile(dir.filePath(QStringLiteral("blocked")), "a file");
    const QString path = dir.filePath(QStringLiteral("blocked/navigator.ini"));
    CNavGlobalVar::setSettingsPath(path);
    CNavGlobalVar::instance()->zoom = 3;
    CNavGlobalVar::release();
    QVERIFY(!QFile::exists(path));
}

// ---------------------------------------------------------------- icons

void TestApp::icons()
{
    QList<QImage> images;
    for (int i = 0; i <= 38; ++i) {
        const QString name = QStringLiteral(":/icon/images/Img%1.bmp").arg(i, 2, 10, QLatin1Char('0'));
        const QResource resource(name);
        QVERIFY2(resource.isValid(), qPrintable(name));
        QVERIFY2(resource.compressionAlgorithm() != QResource::NoCompression, qPrintable(name));
        const QImage image(name);
        QVERIFY2(!image.isNull(), qPrintable(name));
        QCOMPARE(image.size(), QSize(32, 32));
        // Not blank: more than the ground colour.
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        int drawn = 0;
        for (int y = 0; y < rgb.height(); ++y)
            for (int x = 0; x < rgb.width(); ++x)
                drawn += rgb.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY2(drawn > 40, qPrintable(name));
        for (int j = 0; j < images.size(); ++j)
            QVERIFY2(images.at(j) != rgb, qPrintable(name + QStringLiteral(" repeats icon %1").arg(j)));
        images << rgb;
    }
    QVERIFY(!QResource(QStringLiteral(":/icon/images/Img39.bmp")).isValid());
}

// ---------------------------------------------------------------- main window

void TestApp::formObjects()
{
    const QList<QPair<const char *, const char *>> objects = {
        {"centralWidget", "QWidget"}, {"verticalLayout_2", "QVBoxLayout"}, {"map", "QWebEngineView"},
        {"menuBar", "QMenuBar"}, {"menuPlan_de_vol", "QMenu"}, {"menuImport", "QMenu"}, {"menuA_propos", "QMenu"},
        {"menuNewFlightPlan", "QAction"}, {"menuSaveFlightPlan", "QAction"}, {"menuLoadFlightPlan", "QAction"},
        {"menuQuit", "QAction"}, {"actImport", "QAction"}, {"actionAbout", "QAction"},
        {"actionAboutQt", "QAction"}, {"mainToolBar", "QToolBar"}, {"toolBar", "QToolBar"},
        {"statusBar", "QStatusBar"},
        {"dockWSearch", "QDockWidget"}, {"dockWidgetContents_2", "QWidget"}, {"verticalLayout_3", "QVBoxLayout"},
        {"horizontalLayout", "QHBoxLayout"}, {"searchData", "QLineEdit"}, {"btnSearchExact", "QPushButton"},
        {"btnSearchNear", "QPushButton"}, {"treeWFound", "QTreeWidget"},
        {"dockWFlightPlan", "QDockWidget"}, {"dockWidgetContents", "QWidget"},
        {"horizontalLayout_4", "QHBoxLayout"}, {"frame", "QFrame"}, {"verticalLayout_8", "QVBoxLayout"},
        {"verticalLayout_7", "QVBoxLayout"}, {"btnNewFlightPlan", "QPushButton"},
        {"btnSaveFlightPlan", "QPushButton"}, {"btnLoadFlightPlan", "QPushButton"},
        {"btnStartPos", "QPushButton"}, {"spInertial", "QSpinBox"}, {"btnCreateSID", "QPushButton"},
        {"btnCreateSTAR", "QPushButton"}, {"btnPod", "QPushButton"}, {"line", "QFrame"},
        {"pbTraceAcft", "QPushButton"}, {"pbCenterAcft", "QPushButton"}, {"fltplnGrid", "CFlightPlanGrid"},
        {"dockWSid", "QDockWidget"}, {"dockWidgetContents_3", "QWidget"}, {"verticalLayout_4", "QVBoxLayout"},
        {"treeWSid", "QTreeWidget"}, {"horizontalLayout_2", "QHBoxLayout"}, {"btnAddSid", "QPushButton"},
        {"pbDelSID", "QPushButton"},
        {"dockWStar", "QDockWidget"}, {"dockWidgetContents_5", "QWidget"}, {"verticalLayout_5", "QVBoxLayout"},
        {"horizontalLayout_6", "QHBoxLayout"}, {"horizontalLayout_3", "QHBoxLayout"}, {"treeWStar", "QTreeWidget"},
        {"btnAddStar", "QPushButton"}, {"pbDelSTAR", "QPushButton"},
        {"dockWAircraft", "QDockWidget"}, {"dockWidgetContents_4", "QWidget"}, {"verticalLayout_6", "QVBoxLayout"},
        {"formLayout", "QFormLayout"}, {"cbAircraftType", "QComboBox"}, {"leSpeedMax", "QLineEdit"},
        {"leSpeedCruise", "QLineEdit"}, {"leSpeedApp", "QLineEdit"}, {"leSpeedVert", "QLineEdit"},
        {"leAircraftCeiling", "QLineEdit"}, {"leAltCruise", "QLineEdit"}, {"leAircraftNumber", "QLineEdit"},
        {"dockWDebug", "QDockWidget"}, {"dockWidgetContents_6", "QWidget"}, {"verticalLayout_9", "QVBoxLayout"},
        {"debugText", "QTextEdit"},
        {"label", "QLabel"}, {"label_2", "QLabel"}, {"label_3", "QLabel"}, {"label_4", "QLabel"},
        {"label_5", "QLabel"}, {"label_6", "QLabel"}, {"label_7", "QLabel"}, {"label_8", "QLabel"},
    };

    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QCOMPARE(w->objectName(), QStringLiteral("MainWindow"));
    for (const auto &[name, className] : objects) {
        const QList<QObject *> found = w->findChildren<QObject *>(QLatin1String(name));
        QVERIFY2(found.size() == 1, name);
        // The grid has no meta-object of its own.
        const bool isClass = qstrcmp(className, "CFlightPlanGrid") == 0
                ? dynamic_cast<CFlightPlanGrid *>(found.first()) != nullptr
                : found.first()->inherits(className);
        QVERIFY2(isClass,
                 qPrintable(QStringLiteral("%1 is a %2").arg(QLatin1String(name),
                                                            QLatin1String(found.first()->metaObject()->className()))));
    }
}

void TestApp::formInitialState()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    Ui::MainWindow *ui = f.ui();

    QCOMPARE(w->windowTitle(), QStringLiteral("Corvane Navigator - Version 0.21 juillet 2013"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Corvane Navigator - Version ") + programVersion());
    QCOMPARE(w->minimumSize(), QSize(800, 600));
    QVERIFY(w->hasMouseTracking());
    QCOMPARE(ui->statusBar->minimumHeight(), 70);

    // Nothing to save, start from or build procedures on until a plan exists.
    QVERIFY(!ui->menuSaveFlightPlan->isEnabled());
    QVERIFY(!ui->btnSaveFlightPlan->isEnabled());
    QVERIFY(!ui->btnStartPos->isEnabled());
    QVERIFY(!ui->btnCreateSID->isEnabled());
    QVERIFY(!ui->btnCreateSTAR->isEnabled());
    QVERIFY(ui->btnNewFlightPlan->isEnabled());
    QVERIFY(ui->btnLoadFlightPlan->isEnabled());
    QVERIFY(ui->btnPod->isHidden());
    QVERIFY(ui->pbTraceAcft->isCheckable());
    QVERIFY(!ui->pbTraceAcft->isChecked());
    QVERIFY(ui->pbCenterAcft->isCheckable());

    QCOMPARE(ui->spInertial->minimum(), 0);
    QCOMPARE(ui->spInertial->maximum(), 359);
    QCOMPARE(ui->spInertial->suffix(), QStringLiteral("°"));
    QCOMPARE(ui->debugText->toPlainText(), QStringLiteral("Chargement en cours.."));

    // Menus: titles and actions in order, with their shortcuts.
    QStringList menus;
    for (QAction *a : ui->menuBar->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"Plan de vol", "Import", "Export", "A propos"}));
    const QList<QAction *> plan = ui->menuPlan_de_vol->actions();
    QCOMPARE(plan.size(), 8);
    QCOMPARE(plan.at(0), ui->menuNewFlightPlan);
    QCOMPARE(plan.at(1), ui->menuSaveFlightPlan);
    QCOMPARE(plan.at(2), ui->menuLoadFlightPlan);
    QVERIFY(plan.at(3)->isSeparator());
    QCOMPARE(plan.at(4), ui->menuUndoFlightPlan);
    QCOMPARE(plan.at(5), ui->menuRedoFlightPlan);
    QVERIFY(plan.at(6)->isSeparator());
    QCOMPARE(plan.at(7), ui->menuQuit);
    // Nothing to undo or redo at start.
    QCOMPARE(ui->menuUndoFlightPlan->text(), QStringLiteral("Annuler"));
    QCOMPARE(ui->menuUndoFlightPlan->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    QVERIFY(!ui->menuUndoFlightPlan->isEnabled());
    QCOMPARE(ui->menuRedoFlightPlan->text(), QStringLiteral("Rétablir"));
    QCOMPARE(ui->menuRedoFlightPlan->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
    QVERIFY(!ui->menuRedoFlightPlan->isEnabled());
    QCOMPARE(ui->menuNewFlightPlan->text(), QStringLiteral("Nouveau plan de vol"));
    QCOMPARE(ui->menuNewFlightPlan->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(iconImage(ui->menuNewFlightPlan->icon()), resourceImage(QStringLiteral("Img05.bmp")));
    QCOMPARE(ui->menuSaveFlightPlan->text(), QStringLiteral("Enregistrer le plan de vol"));
    QCOMPARE(ui->menuSaveFlightPlan->toolTip(), QStringLiteral("Enregistrer le plan de vol"));
    QCOMPARE(ui->menuSaveFlightPlan->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(ui->menuLoadFlightPlan->text(), QStringLiteral("Charger un plan de vol"));
    QCOMPARE(ui->menuLoadFlightPlan->shortcut(), QKeySequence(QStringLiteral("Ctrl+L")));
    QCOMPARE(ui->menuQuit->text(), QStringLiteral("Quitter"));
    QCOMPARE(ui->menuQuit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    const QList<QAction *> import = ui->menuImport->actions();
    QCOMPARE(import.size(), 3);
    QCOMPARE(import.at(0), ui->actImport);
    QVERIFY(import.at(1)->isSeparator());
    QCOMPARE(import.at(2), ui->actRestore);
    QCOMPARE(ui->actImport->text(), QStringLiteral("Importer mise à jour"));
    QCOMPARE(ui->actRestore->text(), QStringLiteral("Restaurer les données du simulateur…"));
    QCOMPARE(ui->menuA_propos->actions(), (QList<QAction *>{ui->actionAbout, ui->actionAboutQt}));
    QCOMPARE(ui->actionAbout->text(), QStringLiteral("A propos"));
    QCOMPARE(ui->actionAboutQt->text(), QStringLiteral("A propos de Qt"));
    // No second owner of Ctrl+L: the button has no shortcut.
    QVERIFY(ui->btnNewFlightPlan->shortcut().isEmpty());

    // Docks: fixed in place, titles and minimum sizes.
    const QList<std::tuple<QDockWidget *, QString, QSize>> docks = {
        {ui->dockWSearch, QStringLiteral("Recherche"), QSize(360, 200)},
        {ui->dockWFlightPlan, QStringLiteral("Plan de vol"), QSize(757, 358)},
        {ui->dockWSid, QStringLiteral("SID"), QSize(223, 168)},
        {ui->dockWStar, QStringLiteral("STAR"), QSize(200, 151)},
        {ui->dockWAircraft, QStringLiteral("Avion"), QSize(322, 244)},
        {ui->dockWDebug, QStringLiteral("Debug info"), QSize(89, 151)},
    };
    for (const auto &[dock, title, size] : docks) {
        QCOMPARE(dock->windowTitle(), title);
        QCOMPARE(dock->minimumSize(), size);
        QCOMPARE(dock->features(), QDockWidget::NoDockWidgetFeatures);
        QCOMPARE(dock->allowedAreas(), Qt::NoDockWidgetArea);
        QCOMPARE(w->dockWidgetArea(dock), Qt::TopDockWidgetArea);
    }
    QCOMPARE(ui->dockWSearch->maximumWidth(), 360);

    // Aircraft form: labels and fields in rows.
    const QStringList labels = {"Type", "Vitesse de croisère maxi(kts)", "Vitesse de croisière (kts)",
                                "Vitesse en approche (kts)", "Vitesse acensionnelle (ft/mn)", "Plafond (ft)",
                                "Altitude maxi de croisière (ft)", "Immatriculation"};
    const QList<QWidget *> fields = {ui->cbAircraftType, ui->leSpeedMax, ui->leSpeedCruise, ui->leSpeedApp,
                                     ui->leSpeedVert, ui->leAircraftCeiling, ui->leAltCruise,
                                     ui->leAircraftNumber};
    for (int row = 0; row < labels.size(); ++row) {
        auto *label = qobject_cast<QLabel *>(ui->formLayout->itemAt(row, QFormLayout::LabelRole)->widget());
        QVERIFY(label);
        QCOMPARE(label->text(), labels.at(row));
        QCOMPARE(label->minimumWidth(), 190);
        QCOMPARE(ui->formLayout->itemAt(row, QFormLayout::FieldRole)->widget(), fields.at(row));
    }

    // Tab order from the search field to the debug text.
    const QList<QWidget *> chain = {ui->searchData, ui->btnSearchExact, ui->btnSearchNear, ui->treeWFound,
                                    ui->fltplnGrid, ui->treeWSid, ui->btnAddSid, ui->treeWStar, ui->btnAddStar,
                                    ui->cbAircraftType, ui->leSpeedMax, ui->leSpeedCruise, ui->leSpeedApp,
                                    ui->leSpeedVert, ui->leAircraftCeiling, ui->leAltCruise,
                                    ui->leAircraftNumber, ui->debugText};
    QList<QWidget *> walked;
    QWidget *next = chain.first();
    do {
        if (chain.contains(next))
            walked << next;
        next = next->nextInFocusChain();
    } while (next != chain.first() && walked.size() < chain.size());
    QCOMPARE(walked, chain);

    // Three permanent status labels, empty at start.
    const QList<QLabel *> status = ui->statusBar->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(status.size(), 3);
}

void TestApp::docksTabifiedWithDebugInFront()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    Ui::MainWindow *ui = f.ui();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));

    const QList<QDockWidget *> tabbed = w->tabifiedDockWidgets(ui->dockWFlightPlan);
    for (QDockWidget *dock : {ui->dockWSid, ui->dockWStar, ui->dockWAircraft, ui->dockWDebug})
        QVERIFY2(tabbed.contains(dock), qPrintable(dock->objectName()));
    QVERIFY(!tabbed.contains(ui->dockWSearch));
    // The debug tab is the one in front.
    QTabBar *tabs = nullptr;
    for (QTabBar *bar : w->findChildren<QTabBar *>()) {
        if (bar->count() == 5)
            tabs = bar;
    }
    QVERIFY(tabs);
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    QCOMPARE(titles, (QStringList{"Plan de vol", "SID", "STAR", "Avion", "Debug info"}));
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Debug info"));
}

void TestApp::layerActions_data()
{
    QTest::addColumn<QByteArray>("view");
    QTest::addColumn<QList<bool>>("checked");

    QTest::newRow("first start: all on") << QByteArray()
                                         << QList<bool>{true, true, true, true, true, true, true, true, true, true,
                                                        true, true};
    QTest::newRow("NDB terminal off, NDB en route on")
            << QByteArray("showNdbTerm=false\nshowNdbRte=true\n")
            << QList<bool>{true, true, true, false, true, true, true, true, true, true, true, true};
    QTest::newRow("mixed airways, boundaries and docks off")
            << QByteArray("showATSB=false\nshowBoundary=false\nshowDock=false\n")
            << QList<bool>{true, true, true, true, true, true, true, true, true, false, false, false};
    QTest::newRow("each flag to its action")
            << QByteArray("showAirport=false\nshowVor=true\nshowNdbRte=false\nshowNdbTerm=true\n"
                          "showWaypointRte=false\nshowWaypointTerm=true\nshowWaypointVfr=false\nshowATSL=true\n"
                          "showATSH=false\nshowATSB=true\nshowBoundary=false\nshowDock=true\n")
            << QList<bool>{false, true, false, true, false, true, false, true, false, true, false, true};
}

void TestApp::layerActions()
{
    QFETCH(QByteArray, view);
    QFETCH(QList<bool>, checked);

    WindowFixture f;
    QVERIFY(f.prepareDemo());
    f.writeSettings("[directory]\ndirWork=" + f.sim.path(QStringLiteral("Work")).toUtf8() + "\n[view]\n" + view);
    f.start();
    Ui::MainWindow *ui = f.ui();

    QCOMPARE(ui->mainToolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    const QList<QAction *> actions = ui->mainToolBar->actions();
    QCOMPARE(actions.size(), 13);
    QVERIFY(actions.first()->isSeparator());

    const QStringList texts = {"Aéroport", "VOR", "NDB Rte", "NDB Ter", "Waypoint en route",
                               "Waypoint terminaux", "Waypoint VFR", "ATS Low", "ATS High", "ATS High/Low",
                               "Zone de contôle", "Plein écran"};
    const QStringList tips = {"Affiche les aéroports", "Affiche les VOR", "Affiche les NDB en route",
                              "Affiche les NDB terminaux", "Affiche les points de report en route",
                              "Affiche les points de report terminaux", "Affiche les points de report VFR",
                              "Affiche les routes basse altitude", "Affiche les routes haute altitude",
                              "Affiche les routes mixtes", "Affiche les zones de contrôle", "Mode plein écran"};
    const QStringList icons = {"Img08", "Img05", "Img06", "Img06", "Img12", "Img13", "Img33", "Img36", "Img37",
                               "Img38", "Img27", "Img09"};
    for (int i = 0; i < 12; ++i) {
        QAction *a = actions.at(i + 1);
        QCOMPARE(a->text(), texts.at(i));
        QCOMPARE(a->statusTip(), tips.at(i));
        QVERIFY(a->isCheckable());
        QCOMPARE(a->parent(), f.window());
        QCOMPARE(a->isChecked(), checked.at(i));
        QCOMPARE(iconImage(a->icon()), resourceImage(icons.at(i) + QStringLiteral(".bmp")));
    }
}

void TestApp::columns()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    f.start();
    Ui::MainWindow *ui = f.ui();

    QTreeWidget *tree = ui->treeWFound;
    QCOMPARE(tree->columnCount(), 5);
    QVERIFY(tree->isHeaderHidden());
    const QStringList treeLabels = {"", "OACI", "Pays", "Nom", "Clé unique"};
    const QList<int> treeWidths = {60, 40, 30, 130, 60};
    for (int c = 0; c < 5; ++c) {
        QCOMPARE(tree->headerItem()->text(c), treeLabels.at(c));
        QCOMPARE(tree->columnWidth(c), treeWidths.at(c));
    }

    QTableWidget *grid = ui->fltplnGrid;
    QCOMPARE(grid->columnCount(), 10);
    QCOMPARE(grid->rowCount(), 0);
    QVERIFY(grid->acceptDrops());
    QCOMPARE(grid->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(grid->minimumWidth(), 630);
    QCOMPARE(grid->maximumWidth(), 737);
    const QStringList gridLabels = {"", "ID", "Nom", "Fréq.", "Vitesse", "Route", "Dist", "Durée", "Temps",
                                    "Altitude"};
    const QList<int> gridWidths = {20, 60, 120, 80, 45, 40, 60, 50, 50, 60};
    for (int c = 0; c < 10; ++c) {
        QTableWidgetItem *item = grid->horizontalHeaderItem(c);
        QVERIFY(item);
        QCOMPARE(item->text(), gridLabels.at(c));
        QCOMPARE(grid->columnWidth(c), gridWidths.at(c));
    }

    for (QTreeWidget *procedures : {ui->treeWSid, ui->treeWStar}) {
        QCOMPARE(procedures->columnCount(), 2);
        QCOMPARE(procedures->headerItem()->text(1), QStringLiteral("Point de report"));
        QCOMPARE(procedures->maximumWidth(), 300);
    }
    QCOMPARE(ui->treeWStar->header()->defaultSectionSize(), 200);
    QVERIFY(ui->treeWSid->header()->cascadingSectionResizes());
}

void TestApp::contextMenus()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    f.start();
    Ui::MainWindow *ui = f.ui();
    const QImage center = resourceImage(QStringLiteral("Img00.bmp"));

    QCOMPARE(ui->treeWFound->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<QAction *> found = ui->treeWFound->actions();
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.at(0)->text(), QStringLiteral("Centrer sur ce point"));
    QCOMPARE(iconImage(found.at(0)->icon()), center);

    // The empty grid still offers its four actions.
    QCOMPARE(ui->fltplnGrid->rowCount(), 0);
    QCOMPARE(ui->fltplnGrid->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<QAction *> grid = ui->fltplnGrid->actions();
    QStringList texts;
    for (QAction *a : grid) {
        texts << a->text();
        QCOMPARE(iconImage(a->icon()), center);
        QVERIFY(a->isEnabled());
    }
    QCOMPARE(texts, (QStringList{"Centrer sur ce point", "Supprimer la ligne", "Monter la ligne",
                                 "Descendre la ligne"}));
    QVERIFY(found.at(0) != grid.at(0));
}

void TestApp::aboutBoxes()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    f.start();
    f.prompt.records.clear();

    f.ui()->actionAbout->trigger();
    QCOMPARE(f.prompt.records.size(), 1);
    QCOMPARE(f.prompt.last().kind, QStringLiteral("about"));
    QCOMPARE(f.prompt.last().title, QStringLiteral("A propos de Corvane Navigator"));
    QVERIFY(f.prompt.last().text.contains(QStringLiteral("Corvane Navigator")));
    QVERIFY(f.prompt.last().text.endsWith(QStringLiteral("\nversion 0.21 juillet 2013")));

    f.ui()->actionAboutQt->trigger();
    QCOMPARE(f.prompt.records.size(), 2);
    QCOMPARE(f.prompt.last().kind, QStringLiteral("aboutQt"));
    QCOMPARE(f.prompt.last().title, QString());
}

void TestApp::quitClosesWindowAndSavesSettings()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));

    f.ui()->menuQuit->trigger();
    QVERIFY(!w->isVisible());

    f.stop();
    QSettings s(f.settingsFile(), QSettings::IniFormat);
    QCOMPARE(s.value("view/zoom").toDouble(), 6.0);
    QCOMPARE(s.value("view/mapCenter").toPointF(), QPointF(2.0, 49.0));
    QCOMPARE(s.value("directory/dirWork").toString(), f.sim.path(QStringLiteral("Work")));
}

void TestApp::simulatorFoundTwoLevelsUp()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    f.start();
    QCOMPARE(f.prompt.records.size(), 0);
    QCOMPARE(QFileInfo(CNavGlobalVar::instance()->dirCorvane.path()).canonicalFilePath(),
             QFileInfo(f.sim.root()).canonicalFilePath());
    QCOMPARE(CNavGlobalVar::instance()->dirWork.path(), f.sim.path(QStringLiteral("Work")));
}

void TestApp::simulatorDirectoryAsked()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    // No Corvane.exe two levels up: the user is asked and what is chosen is
    // used as it stands.
    QVERIFY(QFile::remove(f.sim.root() + QStringLiteral("/Corvane.exe")));
    f.prompt.answers << f.sim.root();
    f.start();

    QCOMPARE(f.prompt.records.size(), 1);
    const ScriptedPrompt::Record &r = f.prompt.records.first();
    QCOMPARE(r.kind, QStringLiteral("directory"));
    QCOMPARE(r.title, QStringLiteral("Sélectionner le répertoire de Corvane"));
    QCOMPARE(r.dir, QCoreApplication::applicationDirPath());
    QCOMPARE(CNavGlobalVar::instance()->dirCorvane.path(), f.sim.root());
}

void TestApp::workDirectoryAsked_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("writeIni");
    QTest::addColumn<bool>("askSimulator");

    QTest::newRow("first start: no settings file") << QByteArray() << false << false;
    QTest::newRow("empty setting") << QByteArray("[directory]\ndirWork=\n") << true << false;
    QTest::newRow("folder gone") << QByteArray("[directory]\ndirWork=/no/such/folder/anywhere\n") << true << false;
    QTest::newRow("simulator first, then work folder") << QByteArray() << false << true;
}

void TestApp::workDirectoryAsked()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, writeIni);
    QFETCH(bool, askSimulator);

    WindowFixture f;
    QVERIFY(f.prepareDemo());
    QVERIFY(QFile::remove(f.settingsFile()));
    if (writeIni)
        f.writeSettings(ini);
    if (askSimulator) {
        QVERIFY(QFile::remove(f.sim.root() + QStringLiteral("/Corvane.exe")));
        f.prompt.answers << f.sim.root();
    }
    const QString work = f.sim.path(QStringLiteral("Work"));
    f.prompt.answers << work;
    f.start();

    QCOMPARE(f.prompt.records.size(), askSimulator ? 2 : 1);
    if (askSimulator)
        QCOMPARE(f.prompt.records.first().title, QStringLiteral("Sélectionner le répertoire de Corvane"));
    const ScriptedPrompt::Record &r = f.prompt.records.last();
    QCOMPARE(r.kind, QStringLiteral("directory"));
    QCOMPARE(r.title, QStringLiteral("Sélectionner le répertoire de travail"));
    QCOMPARE(r.dir, QCoreApplication::applicationDirPath());
    QCOMPARE(CNavGlobalVar::instance()->dirWork.path(), work);

    // Stored at exit; the next start asks nothing.
    f.stop();
    QCOMPARE(QSettings(f.settingsFile(), QSettings::IniFormat).value("directory/dirWork").toString(), work);
    if (askSimulator)
        QVERIFY(QFile(f.sim.root() + QStringLiteral("/Corvane.exe")).open(QIODevice::WriteOnly));
    f.prompt.records.clear();
    f.start();
    QCOMPARE(f.prompt.records.size(), 0);
}

void TestApp::startLogLines()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    QVERIFY(QFile::remove(f.settingsFile()));
    f.prompt.answers << f.sim.path(QStringLiteral("Work"));
    {
        LogCapture capture;
        f.start();
    }
    const QStringList lines = fileLines(f.programDir() + QLatin1Char('/') + LogName);
    QVERIFY(!lines.isEmpty());

    // The banner spans four lines: its text begins with two line feeds.
    QCOMPARE(lines.at(0), QStringLiteral("Debug: "));
    QCOMPARE(lines.at(1), QString());
    QCOMPARE(lines.at(2), QStringLiteral("-------------------->"));
    QVERIFY2(QRegularExpression(QStringLiteral(R"(^Starting CorvaneNavigator "\d\d-\d\d-\d\d \d\d:\d\d:\d\d"$)"))
                     .match(lines.at(3)).hasMatch(),
             qPrintable(lines.at(3)));
    const QString currentPrefix = QStringLiteral("Debug: MainWindow::MainWindow : QDir::current QDir(");
    QString currentLine;
    for (const QString &line : lines) {
        if (line.startsWith(currentPrefix)) {
            currentLine = line;
            break;
        }
    }
    QVERIFY2(currentLine.contains(QStringLiteral("\"%1\"").arg(f.programDir())), qPrintable(currentLine));

    const QString root = QDir(f.sim.root()).canonicalPath();
    const QString corvaneLine = QStringLiteral("Debug: MainWindow::MainWindow : dirCorvane \"%1\"")
                                        .arg(CNavGlobalVar::instance()->dirCorvane.path());
    QVERIFY(QDir(CNavGlobalVar::instance()->dirCorvane.path()).canonicalPath() == root);
    QString missing;
    QVERIFY2(inOrder(lines,
                     {currentLine, corvaneLine, corvaneLine, QStringLiteral("Debug: MainWindow::MainWindow : dirWork not found"),
                      QStringLiteral("Debug: MainWindow::MainWindow : dirWork \"%1\"").arg(f.sim.path(QStringLiteral("Work"))),
                      QStringLiteral("Debug: MainWindow::MainWindow Start ended")},
                     &missing),
             qPrintable(missing + QStringLiteral("\nin:\n") + lines.join(u'\n')));
    QVERIFY(!lines.contains(QStringLiteral("Debug: MainWindow::MainWindow : dirCorvane not found")));
}

void TestApp::exitStoresReportedCentreAndZoom()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    MainWindow *w = f.start();
    QVERIFY(QMetaObject::invokeMethod(w, "doCenter", Q_ARG(double, 44.25), Q_ARG(double, -1.5)));
    QVERIFY(QMetaObject::invokeMethod(w, "doZoom", Q_ARG(int, 8)));
    // The last report counts.
    QVERIFY(QMetaObject::invokeMethod(w, "doCenter", Q_ARG(double, 45.5), Q_ARG(double, 3.25)));
    QVERIFY(QMetaObject::invokeMethod(w, "doZoom", Q_ARG(int, 9)));
    f.stop();

    QSettings s(f.settingsFile(), QSettings::IniFormat);
    QCOMPARE(s.value("view/mapCenter").toPointF(), QPointF(3.25, 45.5));
    QCOMPARE(s.value("view/zoom").toDouble(), 9.0);
}

void TestApp::exitKeepsStoredViewWhenNeverReported()
{
    WindowFixture f;
    QVERIFY(f.prepareDemo());
    {
        QSettings s(f.settingsFile(), QSettings::IniFormat);
        s.setValue("view/mapCenter", QPointF(5.5, 43.25));
        s.setValue("view/zoom", 11);
        s.setValue("view/route", QStringLiteral("BE"));
        s.setValue("trace/intervale", 1000);
    }
    f.start();
    f.stop();

    QSettings s(f.settingsFile(), QSettings::IniFormat);
    QCOMPARE(s.value("view/mapCenter").toPointF(), QPointF(5.5, 43.25));
    QCOMPARE(s.value("view/zoom").toDouble(), 11.0);
    QCOMPARE(s.value("view/route").toString(), QStringLiteral("BE"));
    QCOMPARE(s.value("trace/intervale").toInt(), 1000);
}

void TestApp::uncheckedLayerStoredAtExit_data()
{
    QTest::addColumn<int>("index");      // in the toolbar, after the separator
    QTest::addColumn<QString>("key");

    QTest::newRow("ATS High/Low") << 9 << "view/showATSB";
    QTest::newRow("Plein écran") << 11 << "view/showDock";
    QTest::newRow("NDB Ter") << 3 << "view/showNdbTerm";
}

void TestApp::uncheckedLayerStoredAtExit()
{
    QFETCH(int, index);
    QFETCH(QString, key);

    WindowFixture f;
    QVERIFY(f.prepareDemo());
    f.start();
    QAction *action = f.ui()->mainToolBar->actions().at(index + 1);
    QVERIFY(action->isChecked());
    action->trigger();
    QVERIFY(!action->isChecked());
    f.stop();
    QCOMPARE(QSettings(f.settingsFile(), QSettings::IniFormat).value(key).toString(), QStringLiteral("false"));
    QCOMPARE(QSettings(f.settingsFile(), QSettings::IniFormat).value("view/showATSH").toString(),
             QStringLiteral("true"));

    // The next start shows that action unchecked and the others as they were.
    f.start();
    const QList<QAction *> actions = f.ui()->mainToolBar->actions();
    for (int i = 1; i < actions.size(); ++i)
        QCOMPARE(actions.at(i)->isChecked(), i != index + 1);
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
