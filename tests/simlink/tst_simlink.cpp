// The simulator link, the aircraft trace of the main window and the navsim
// tool that plays the simulator's side. Every test works on its own
// navigation block, so parallel runs never meet.

#include "app/navglobalvar.h"
#include "simlink/navblock.h"
#include "simlink/navplug.h"
#include "simlink/sharedblock.h"
#include "simlink/tracetext.h"
#include "tests/support/windowfixture.h"
#include "tools/navsim/navroute.h"

#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <memory>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The link's and the trace's debug lines, in order (the page and the rest
// of the window log on their own schedule).
QStringList g_log;
QtMessageHandler g_previousHandler = nullptr;

void captureLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg) {
        if (message.startsWith(QLatin1String("CNavPlug::"))
            || message.startsWith(QLatin1String("MainWindow::on_pbTraceAcft_clicked")))
            g_log << message;
    }
    else if (g_previousHandler)
        g_previousHandler(type, context, message);
}

const QString addAtZero = QStringLiteral("addAcftMrkr(new google.maps.LatLng(0.00000,0.00000),\"\",0);");
const QString logInit = QStringLiteral("CNavPlug::Init()");
const QString logConnect = QStringLiteral("CNavPlug::Init() NAVIGATION: Connect");
const QString logMapError = QStringLiteral("CNavPlug::Init(): Error MapViewOfFile");
const QString logCreateError = QStringLiteral("CNavPlug::CNavPlug(): Error CreateFileMapping");
const QString logClose = QStringLiteral("CNavPlug::Close() NAVIGATION: Disconnect");
const QString logOn = QStringLiteral("MainWindow::on_pbTraceAcft_clicked Trace is ON");
const QString logOff = QStringLiteral("MainWindow::on_pbTraceAcft_clicked Trace is OFF");
const QString logFailed = QStringLiteral("MainWindow::on_pbTraceAcft_clicked Trace failed");

// A block of exactly `size` bytes, made as another program would.
bool makeBlock(const QString &name, qint64 size)
{
    const int fd = ::shm_open(QFile::encodeName(CSharedBlock::systemName(name)).constData(), O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return false;
    const bool ok = ::ftruncate(fd, off_t(size)) == 0;
    ::close(fd);
    return ok;
}

// Size of the block, -1 when there is none.
qint64 blockSize(const QString &name)
{
    const int fd = ::shm_open(QFile::encodeName(CSharedBlock::systemName(name)).constData(), O_RDONLY, 0);
    if (fd < 0)
        return -1;
    struct stat st;
    const qint64 size = ::fstat(fd, &st) == 0 ? qint64(st.st_size) : -1;
    ::close(fd);
    return size;
}

bool writeBlock(const QString &name, const NavBlock::Position &position)
{
    CSharedBlock block;
    uchar *view = block.openWritable(name, NavBlock::blockSize, NavBlock::viewSize);
    if (view)
        NavBlock::write(view, position);
    return view;
}

// Answers like the scripted prompt and notes how many log lines were
// written when the box opened.
class OrderPrompt : public ScriptedPrompt
{
public:
    qsizetype logLinesAtBox = -1;
    QString message(const Message &box) override
    {
        logLinesAtBox = g_log.size();
        return ScriptedPrompt::message(box);
    }
};

} // namespace

Q_DECLARE_METATYPE(NavBlock::Position)

class TestSimLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // the link
    void defaultName();
    void linkCreatesZeroFilledBlock();
    void linkReadsLittleEndianOffsets();
    void linkKeepsExistingSize_data();
    void linkKeepsExistingSize();
    void linkWithoutBlock();
    void closeReleasesOnce();
    void timerStopsOnClose();
    // the texts
    void traceTexts_data();
    void traceTexts();
    void tracePacing_data();
    void tracePacing();
    // the window
    void switchOnWithoutSimulator();
    void ticksFollowBlockAndCentre();
    void failedStart_data();
    void failedStart();
    void switchOffStopsTicks();
    void switchOnAgainMakesFreshLink();
    void switchOffWithoutLink();
    void windowReleasesLink();
    // the stand-in simulator
    void navsimFixed_data();
    void navsimFixed();
    void navsimStopsOnSignal();
    void navsimFliesPlan_data();
    void navsimFliesPlan();
    void navsimRejects_data();
    void navsimRejects();
    void fplPositions_data();
    void fplPositions();
    void flightAlongLegs_data();
    void flightAlongLegs();

private:
    MainWindow *startWindow(int interval);
    QPushButton *button(const char *name) const
    {
        return m_fixture->window()->findChild<QPushButton *>(QLatin1String(name));
    }
    QString navsimPath() const { return qEnvironmentVariable("CORVANE_BIN_DIR") + QStringLiteral("/navsim"); }
    int runNavsim(const QStringList &args);

    QString m_name;   // this test's block
    int m_counter = 0;
    std::unique_ptr<WindowFixture> m_fixture;
};

void TestSimLink::initTestCase()
{
    g_previousHandler = qInstallMessageHandler(captureLog);
}

void TestSimLink::init()
{
    m_name = QStringLiteral("Local\\CorvaneTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(++m_counter);
    CSharedBlock::remove(m_name);
    CNavPlug::setDefaultBlockName(m_name);
    g_log.clear();
}

void TestSimLink::cleanup()
{
    m_fixture.reset();
    CSharedBlock::remove(m_name);
    CNavPlug::setDefaultBlockName(NavBlock::defaultName());
}

MainWindow *TestSimLink::startWindow(int interval)
{
    m_fixture = std::make_unique<WindowFixture>();
    if (!m_fixture->prepareDemo())
        return nullptr;
    MainWindow *window = m_fixture->start(false);
    if (!button("pbTraceAcft") || !button("pbCenterAcft"))
        return nullptr;
    CNavGlobalVar::instance()->traceInterval = interval;
    // Only the trace's own scripts and log lines count here.
    QCoreApplication::processEvents();
    m_fixture->scripts.clear();
    g_log.clear();
    return window;
}

int TestSimLink::runNavsim(const QStringList &args)
{
    QProcess process;
    process.start(navsimPath(), args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

// ---------------------------------------------------------------- the link

void TestSimLink::defaultName()
{
    QCOMPARE(NavBlock::defaultName(), QStringLiteral("Local\\CorvaneToNavigation"));
    QCOMPARE(CSharedBlock::systemName(NavBlock::defaultName()), QStringLiteral("/Local\\CorvaneToNavigation"));
    CNavPlug::setDefaultBlockName(NavBlock::defaultName());
    QCOMPARE(CNavPlug::defaultBlockName(), QStringLiteral("Local\\CorvaneToNavigation"));
}

void TestSimLink::linkCreatesZeroFilledBlock()
{
    QCOMPARE(blockSize(m_name), -1);
    CNavPlug link(1234);
    QCOMPARE(g_log, QStringList({logInit, logConnect}));
    QVERIFY(link.hasView());
    QVERIFY(link.isConnected());
    QVERIFY(link.timer());
    QVERIFY(link.timer()->isActive());
    QCOMPARE(link.timer()->interval(), 1234);
    QCOMPARE(blockSize(m_name), NavBlock::blockSize);

    CSharedBlock reader;
    QVERIFY(reader.open(m_name, 1));
    QVERIFY(!reader.created());
    const uchar *bytes = reader.mapRead(NavBlock::blockSize);
    QVERIFY(bytes);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes), 256), QByteArray(256, '\0'));
    QCOMPARE(link.position().latitude, 0.0);
    QCOMPARE(link.position().marker, 0.0);
}

void TestSimLink::linkReadsLittleEndianOffsets()
{
    QVERIFY(makeBlock(m_name, 256));
    CSharedBlock writer;
    uchar *bytes = writer.openWritable(m_name, 256, 80);
    QVERIFY(bytes);
    memset(bytes, 0x7f, 80);   // neighbours of the three values hold noise
    // 1.0, -2.0 and 0.5 as little-endian IEEE-754 bytes.
    const uchar one[8] = {0, 0, 0, 0, 0, 0, 0xf0, 0x3f};
    const uchar minusTwo[8] = {0, 0, 0, 0, 0, 0, 0x00, 0xc0};
    const uchar half[8] = {0, 0, 0, 0, 0, 0, 0xe0, 0x3f};
    memcpy(bytes + 32, one, 8);
    memcpy(bytes + 40, minusTwo, 8);
    memcpy(bytes + 64, half, 8);

    CNavPlug link(1000);
    QVERIFY(link.hasView());
    QCOMPARE(link.latitude(), 1.0);
    QCOMPARE(link.longitude(), -2.0);
    QCOMPARE(link.markerValue(), 0.5);
    // The simulator's later writes are seen on the next read.
    NavBlock::writeDouble(bytes + 32, 163800);
    QCOMPARE(link.latitude(), 163800.0);
}

void TestSimLink::linkKeepsExistingSize_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("mapped");
    QTest::newRow("empty block") << qint64(0) << false;
    QTest::newRow("16 bytes") << qint64(16) << false;
    QTest::newRow("79 bytes, one short of the window") << qint64(79) << false;
    QTest::newRow("80 bytes, the window exactly") << qint64(80) << true;
    QTest::newRow("4096 bytes, bigger than we create") << qint64(4096) << true;
}

void TestSimLink::linkKeepsExistingSize()
{
    QFETCH(qint64, size);
    QFETCH(bool, mapped);
    QVERIFY(makeBlock(m_name, size));
    {
        CNavPlug link(1000);
        QCOMPARE(link.hasView(), mapped);
        QCOMPARE(link.isConnected(), mapped);
        QVERIFY(link.timer() && link.timer()->isActive());   // runs until Close
        QCOMPARE(g_log, QStringList({logInit, mapped ? logConnect : logMapError}));
        QCOMPARE(link.position().longitude, 0.0);
    }
    QCOMPARE(blockSize(m_name), size);   // an existing block is never resized
}

void TestSimLink::linkWithoutBlock()
{
    // No such block can exist: a slash inside the name.
    CNavPlug link(1000, QStringLiteral("Local\\Bad/Name"));
    QCOMPARE(g_log, QStringList({logCreateError}));
    QVERIFY(!link.timer());
    QVERIFY(!link.hasView());
    QVERIFY(!link.isConnected());
    QCOMPARE(link.markerValue(), 0.0);
    link.Close();
    QCOMPARE(g_log, QStringList({logCreateError, logClose}));
}

void TestSimLink::closeReleasesOnce()
{
    auto link = std::make_unique<CNavPlug>(1000);
    QVERIFY(link->hasView());
    link->Close();
    QVERIFY(!link->hasView());
    QVERIFY(!link->isConnected());
    QVERIFY(link->timer() && !link->timer()->isActive());
    QCOMPARE(blockSize(m_name), NavBlock::blockSize);   // the block stays for the simulator

    // A file opened now may reuse the link's released descriptor; a second
    // Close must not close it.
    QTemporaryFile file;
    QVERIFY(file.open());
    link->Close();
    link.reset();
    QVERIFY(::fcntl(file.handle(), F_GETFD) != -1);
    QVERIFY(file.write("still open") == 10);
    QCOMPARE(g_log, QStringList({logInit, logConnect, logClose, logClose, logClose}));
}

void TestSimLink::timerStopsOnClose()
{
    CNavPlug link(1);
    QSignalSpy ticks(link.timer(), &QTimer::timeout);
    QTRY_VERIFY(ticks.count() > 0);
    link.Close();
    ticks.clear();
    QTest::qWait(30);
    QCOMPARE(ticks.count(), 0);
}

// ---------------------------------------------------------------- the texts

void TestSimLink::traceTexts_data()
{
    QTest::addColumn<NavBlock::Position>("position");
    QTest::addColumn<QString>("add");
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("centred");
    QTest::newRow("zero") << NavBlock::Position{0, 0, 0} << addAtZero
                          << "setAcftMrkr(new google.maps.LatLng(0.00000,0.00000),0);"
                          << "setAcftMrkr(new google.maps.LatLng(0.00000,0.00000),0);;"
                             "map.setCenter(new google.maps.LatLng(0.00000,0.00000));";
    QTest::newRow("half degrees, heading 270")
            << NavBlock::Position{45.5 * 3600, -2.25 * 3600, 270}
            << "addAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),\"\",270);"
            << "setAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),270);"
            << "setAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),270);;"
               "map.setCenter(new google.maps.LatLng(45.50000,-2.25000));";
    QTest::newRow("6 significant digits") << NavBlock::Position{48.8534 * 3600, -0.5 * 3600, 123.4567}
                                          << "addAcftMrkr(new google.maps.LatLng(48.85340,-0.50000),\"\",123.457);"
                                          << "setAcftMrkr(new google.maps.LatLng(48.85340,-0.50000),123.457);"
                                          << "setAcftMrkr(new google.maps.LatLng(48.85340,-0.50000),123.457);;"
                                             "map.setCenter(new google.maps.LatLng(48.85340,-0.50000));";
    QTest::newRow("tiny value in exponent form, rounding to 5 decimals")
            << NavBlock::Position{-33.000004 * 3600, 151.123456 * 3600, 0.0000123}
            << "addAcftMrkr(new google.maps.LatLng(-33.00000,151.12346),\"\",1.23e-05);"
            << "setAcftMrkr(new google.maps.LatLng(-33.00000,151.12346),1.23e-05);"
            << "setAcftMrkr(new google.maps.LatLng(-33.00000,151.12346),1.23e-05);;"
               "map.setCenter(new google.maps.LatLng(-33.00000,151.12346));";
}

void TestSimLink::traceTexts()
{
    QFETCH(NavBlock::Position, position);
    QFETCH(QString, add);
    QFETCH(QString, set);
    QFETCH(QString, centred);
    QCOMPARE(TraceText::addMarker(position), add);
    QCOMPARE(TraceText::setMarker(position, false), set);
    QCOMPARE(TraceText::setMarker(position, true), centred);
    QCOMPARE(TraceText::eraseMarker(), QStringLiteral("eraseAcftMrkr();"));
}

void TestSimLink::tracePacing_data()
{
    QTest::addColumn<QList<qint64>>("times");   // ms of each tick
    QTest::addColumn<QStringList>("texts");     // what each tick would send
    QTest::addColumn<QString>("sent");          // S: sent, -: not

    QTest::newRow("standing still: the first tick only")
            << QList<qint64>{0, 2, 4, 100, 5000} << QStringList{"a", "a", "a", "a", "a"} << "S----";
    QTest::newRow("moving: at most once a frame, the latest position")
            << QList<qint64>{0, 2, 4, 16, 18, 40} << QStringList{"a", "b", "c", "d", "e", "e"} << "S--S-S";
    QTest::newRow("stopping after a change held back: the last position goes")
            << QList<qint64>{0, 5, 30, 50} << QStringList{"a", "b", "b", "b"} << "S-S-";
    QTest::newRow("centring switched on and off while still: each once")
            << QList<qint64>{0, 20, 40, 60, 80} << QStringList{"a", "a;c", "a;c", "a", "a"} << "SS-S-";
}

void TestSimLink::tracePacing()
{
    QFETCH(QList<qint64>, times);
    QFETCH(QStringList, texts);
    TraceText::Pacer pacer;
    QString sent;
    for (qsizetype i = 0; i < times.size(); ++i)
        sent += pacer.take(texts.at(i), times.at(i)) ? u'S' : u'-';
    QTEST(sent, "sent");
    // A new trace sends its first tick, whatever the last one was.
    pacer.reset();
    QVERIFY(pacer.take(texts.last(), times.last()));
}

// ---------------------------------------------------------------- the window

void TestSimLink::switchOnWithoutSimulator()
{
    MainWindow *window = startWindow(3600000);
    QVERIFY(window);
    QVERIFY(!button("pbTraceAcft")->isChecked());
    button("pbTraceAcft")->click();
    QVERIFY(button("pbTraceAcft")->isChecked());
    QCOMPARE(m_fixture->scripts, QStringList({addAtZero}));
    QCOMPARE(g_log, QStringList({logInit, logConnect, logOn}));
    QVERIFY(m_fixture->prompt.records.isEmpty());
    QCOMPARE(blockSize(m_name), NavBlock::blockSize);
}

void TestSimLink::ticksFollowBlockAndCentre()
{
    QVERIFY(writeBlock(m_name, {45.5 * 3600, -2.25 * 3600, 270}));
    QVERIFY(startWindow(1));
    button("pbTraceAcft")->click();
    QCOMPARE(m_fixture->scripts,
             QStringList({"addAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),\"\",270);"}));

    QVERIFY(writeBlock(m_name, {48.8534 * 3600, -0.5 * 3600, 123.4567}));
    const QString set = QStringLiteral("setAcftMrkr(new google.maps.LatLng(48.85340,-0.50000),123.457);");
    const QString centred = set + QStringLiteral(";map.setCenter(new google.maps.LatLng(48.85340,-0.50000));");
    QTRY_COMPARE(m_fixture->scripts.last(), set);
    // The centring button is read on every tick; an unchanged tick sends nothing.
    button("pbCenterAcft")->click();
    QTRY_COMPARE(m_fixture->scripts.last(), centred);
    button("pbCenterAcft")->click();
    QTRY_COMPARE(m_fixture->scripts.last(), set);
    QCOMPARE(m_fixture->scripts.count(set), 2);
    QCOMPARE(m_fixture->scripts.count(centred), 1);
    // Ticks write nothing to the log.
    QCOMPARE(g_log, QStringList({logInit, logConnect, logOn}));
}

void TestSimLink::failedStart_data()
{
    QTest::addColumn<qint64>("size");   // -1: the block cannot be opened at all
    QTest::addColumn<QStringList>("linkLog");
    QTest::newRow("block too small") << qint64(16) << QStringList({logInit, logMapError});
    QTest::newRow("empty block") << qint64(0) << QStringList({logInit, logMapError});
    QTest::newRow("block cannot be opened") << qint64(-1) << QStringList({logCreateError});
}

void TestSimLink::failedStart()
{
    QFETCH(qint64, size);
    QFETCH(QStringList, linkLog);
    if (size >= 0)
        QVERIFY(makeBlock(m_name, size));
    else
        CNavPlug::setDefaultBlockName(QStringLiteral("Local\\Bad/Name"));
    QVERIFY(startWindow(1));
    OrderPrompt prompt;
    button("pbTraceAcft")->click();

    QCOMPARE(prompt.records.size(), 1);
    const ScriptedPrompt::Record &box = prompt.last();
    QCOMPARE(box.kind, QStringLiteral("message"));
    QCOMPARE(box.icon, CPrompt::Warning);
    QCOMPARE(box.title, QStringLiteral("Trajectoire avion"));
    QCOMPARE(box.text, QStringLiteral("Impossible de se connecter à Corvane.\nAssurez vous de l'avoir démarré."));
    QCOMPARE(box.buttons, QStringList({CPrompt::Ok}));
    QCOMPARE(box.defaultButton, QString());
    // Logged before the box opened, the link closed after it.
    QCOMPARE(prompt.logLinesAtBox, linkLog.size() + 1);
    QCOMPARE(g_log, linkLog + QStringList({logFailed, logClose}));
    QVERIFY(m_fixture->scripts.isEmpty());
    QVERIFY(button("pbTraceAcft")->isChecked());
    QTest::qWait(20);
    QVERIFY(m_fixture->scripts.isEmpty());   // no tick was connected

    button("pbTraceAcft")->click();
    QVERIFY(!button("pbTraceAcft")->isChecked());
    QCOMPARE(m_fixture->scripts, QStringList({QStringLiteral("eraseAcftMrkr();")}));
    QCOMPARE(g_log, linkLog + QStringList({logFailed, logClose, logClose, logOff}));
    QCOMPARE(prompt.records.size(), 1);
}

void TestSimLink::switchOffStopsTicks()
{
    QVERIFY(startWindow(1));
    button("pbTraceAcft")->click();
    QTRY_VERIFY(m_fixture->scripts.size() > 1);
    button("pbTraceAcft")->click();
    QCOMPARE(m_fixture->scripts.last(), QStringLiteral("eraseAcftMrkr();"));
    QCOMPARE(g_log, QStringList({logInit, logConnect, logOn, logClose, logOff}));
    const qsizetype sent = m_fixture->scripts.size();
    QTest::qWait(30);
    QCOMPARE(m_fixture->scripts.size(), sent);
    QCOMPARE(blockSize(m_name), NavBlock::blockSize);
}

void TestSimLink::switchOnAgainMakesFreshLink()
{
    QVERIFY(startWindow(1));
    button("pbTraceAcft")->click();
    QTRY_VERIFY(m_fixture->scripts.size() > 1);
    button("pbTraceAcft")->click();

    // The interval is read at switch-on: the new link's timer stays quiet
    // here, so any tick would come from the old one.
    CNavGlobalVar::instance()->traceInterval = 3600000;
    QVERIFY(writeBlock(m_name, {45.5 * 3600, -2.25 * 3600, 270}));
    m_fixture->scripts.clear();
    g_log.clear();
    button("pbTraceAcft")->click();
    QCOMPARE(m_fixture->scripts,
             QStringList({"addAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),\"\",270);"}));
    QCOMPARE(g_log, QStringList({logClose, logInit, logConnect, logOn}));   // the old link goes
    QTest::qWait(30);
    QCOMPARE(m_fixture->scripts.size(), 1);
}

void TestSimLink::switchOffWithoutLink()
{
    MainWindow *window = startWindow(1);
    QVERIFY(window);
    QVERIFY(QMetaObject::invokeMethod(window, "on_pbTraceAcft_clicked", Q_ARG(bool, false)));
    QVERIFY(QMetaObject::invokeMethod(window, "sTraceAircraft"));
    QVERIFY(m_fixture->scripts.isEmpty());
    QVERIFY(g_log.isEmpty());
}

void TestSimLink::windowReleasesLink()
{
    QVERIFY(startWindow(1));
    button("pbTraceAcft")->click();
    g_log.clear();
    m_fixture->stop();
    QCOMPARE(g_log.count(logClose), 1);
}

// ---------------------------------------------------------------- navsim

void TestSimLink::navsimFixed_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("add");
    QTest::newRow("west of Greenwich") << QStringList({"--lat", "45.5", "--lon", "-2.25", "--heading", "270"})
                                       << "addAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),\"\",270);";
    QTest::newRow("fifty writes a second")
            << QStringList({"--lat", "45.5", "--lon", "-2.25", "--heading", "270", "--rate", "50"})
            << "addAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),\"\",270);";
    QTest::newRow("east longitude above 180 comes back into range, heading default 0")
            << QStringList({"--lat", "-33.25", "--lon", "200"})
            << "addAcftMrkr(new google.maps.LatLng(-33.25000,-160.00000),\"\",0);";
}

void TestSimLink::navsimFixed()
{
    QFETCH(QStringList, args);
    QFETCH(QString, add);
    QCOMPARE(runNavsim(QStringList({"--name", m_name, "--seconds", "1"}) + args), 0);
    QCOMPARE(blockSize(m_name), NavBlock::blockSize);
    CNavPlug link(1000);
    QCOMPARE(TraceText::addMarker(link.position()), add);
    QCOMPARE(link.position().latitude, args.at(1).toDouble() * 3600);
}

void TestSimLink::navsimStopsOnSignal()
{
    QProcess process;
    process.start(navsimPath(), {"--name", m_name, "--lat", "10", "--lon", "20", "--heading", "90", "--unlink"});
    QVERIFY(process.waitForStarted());
    QTRY_VERIFY(blockSize(m_name) == NavBlock::blockSize);
    CNavPlug link(1000);
    QTRY_COMPARE(link.position().longitude, 72000.0);
    QCOMPARE(link.position().marker, 90.0);
    process.terminate();
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(blockSize(m_name), -1);   // removed at exit
}

void TestSimLink::navsimFliesPlan_data()
{
    QTest::addColumn<QString>("positions");   // "<llps>" values, one per line
    QTest::addColumn<NavBlock::Position>("end");
    QTest::newRow("eastbound") << "0,0,0\n0,3600,0" << NavBlock::Position{0, 3600, 90};
    QTest::newRow("northbound, last of three") << "0,0,0\n3600,0,0\n7200,0,0" << NavBlock::Position{7200, 0, 0};
    QTest::newRow("westbound user waypoint held from 0 to 1296000")
            << "0.000,0.000,10\n0.000,1292400.000,10" << NavBlock::Position{0, -3600, 270};
    QTest::newRow("across the antimeridian") << "0,646200,0\n0,-646200,0" << NavBlock::Position{0, -646200, 90};
}

void TestSimLink::navsimFliesPlan()
{
    QFETCH(QString, positions);
    QFETCH(NavBlock::Position, end);
    QTemporaryDir dir;
    QFile fpl(dir.filePath("plan.fpl"));
    QVERIFY(fpl.open(QIODevice::WriteOnly));
    for (const QString &line : positions.split(u'\n'))
        fpl.write("\t<wpnt> --------- Waypoint ---------------\n\tuswp\n"
                  "\t\t<llps> ---------- Lat/lon,alt position --\n\t\t" + line.toLatin1() + "\n");
    fpl.close();
    // Fast enough to reach the end of any of these routes within the second.
    QCOMPARE(runNavsim({"--name", m_name, "--fpl", fpl.fileName(), "--speed", "100000000", "--seconds", "1"}), 0);
    CNavPlug link(1000);
    QCOMPARE(link.position().latitude, end.latitude);
    QCOMPARE(link.position().longitude, end.longitude);
    QVERIFY(qAbs(link.position().marker - end.marker) < 1e-9);
}

void TestSimLink::navsimRejects_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("latitude out of range") << QStringList({"--lat", "91", "--lon", "0"}) << 2;
    QTest::newRow("latitude not a number") << QStringList({"--lat", "4x", "--lon", "0"}) << 2;
    QTest::newRow("longitude missing") << QStringList({"--lat", "4"}) << 2;
    QTest::newRow("plan and position") << QStringList({"--fpl", "a.fpl", "--lat", "1", "--lon", "1"}) << 2;
    QTest::newRow("negative duration") << QStringList({"--lat", "1", "--lon", "1", "--seconds", "-1"}) << 2;
    QTest::newRow("unknown option") << QStringList({"--lat", "1", "--lon", "1", "--fast"}) << 2;
    QTest::newRow("missing plan file") << QStringList({"--fpl", "/nonexistent/plan.fpl"}) << 1;
}

void TestSimLink::navsimRejects()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QCOMPARE(runNavsim(QStringList({"--name", m_name, "--seconds", "0"}) + args), exitCode);
    QCOMPARE(blockSize(m_name), -1);
}

void TestSimLink::fplPositions_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<double>>("coordinates");   // lat, lon, lat, lon...
    QTest::newRow("as the program writes it")
            << QByteArray("<bgno> == Generated with corvane Navigator ==\n\t<wpnt> --------- Waypoint ---------------\n"
                          "\tairp\n\t<bgno> ========== BEGIN OBJECT ==========\n\t\t<llps> ---------- Lat/lon,alt "
                          "position --\n\t\t36.000,-8.500,392\n\t<endo> ========== END OBJECT ============\n"
                          "\t\t<llps>\n\t\t1.5,2.5,0\n<endo> ========== END OBJECT ============\n")
            << QList<double>({36, -8.5, 1.5, 2.5});
    QTest::newRow("spaces, CRLF and text after the tag")
            << QByteArray("    <llps> position\r\n    10,20,0\r\n") << QList<double>({10, 20});
    QTest::newRow("a name that looks like a tag is a value")
            << QByteArray("\t\t<name>\n\t\t<llps>\n\t\t5,5,5\n") << QList<double>();
    QTest::newRow("malformed and out-of-range positions are skipped")
            << QByteArray("<llps>\nabc,1,0\n<llps>\n7\n<llps>\n400000,0,0\n<llps>\n-1,-2,0\n<llps>")
            << QList<double>({-1, -2});
}

void TestSimLink::fplPositions()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<double>, coordinates);
    QList<double> read;
    for (const NavRoute::Point &p : NavRoute::readFplPositions(content))
        read << p.latitude << p.longitude;
    QCOMPARE(read, coordinates);
}

void TestSimLink::flightAlongLegs_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<NavBlock::Position>("expected");
    // Equator east 2 degrees (120 nm), then north 1 degree (60 nm), at 60 kt.
    QTest::newRow("start") << 0.0 << NavBlock::Position{0, 0, 90};
    QTest::newRow("half way along the first leg") << 3600.0 << NavBlock::Position{0, 3600, 90};
    QTest::newRow("second leg flies its own course") << 9000.0 << NavBlock::Position{1800, 7200, 0};
    QTest::newRow("stays at the end") << 99999.0 << NavBlock::Position{3600, 7200, 0};
}

void TestSimLink::flightAlongLegs()
{
    QFETCH(double, seconds);
    QFETCH(NavBlock::Position, expected);
    // The repeated point makes no leg of its own.
    const NavRoute::CFlight flight({{0, 0}, {0, 7200}, {0, 7200}, {3600, 7200}}, 60);
    QVERIFY(qAbs(flight.lengthNm() - 180) < 1e-6);
    const NavBlock::Position p = flight.at(seconds);
    QVERIFY2(qAbs(p.latitude - expected.latitude) < 1e-6, qPrintable(QString::number(p.latitude)));
    QVERIFY2(qAbs(p.longitude - expected.longitude) < 1e-6, qPrintable(QString::number(p.longitude)));
    QVERIFY2(qAbs(p.marker - expected.marker) < 1e-9, qPrintable(QString::number(p.marker)));
}

QTEST_MAIN(TestSimLink)
#include "tst_simlink.moc"
