// The simulator link, the aircraft trace of the main window and one run of
// the navsim tool that plays the simulator's side. Every test works on its
// own navigation block, so parallel runs never meet.

#include "app/navglobalvar.h"
#include "simlink/navblock.h"
#include "simlink/navplug.h"
#include "simlink/sharedblock.h"
#include "simlink/tracetext.h"
#include "tests/support/windowfixture.h"

#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The link's and the trace's debug lines, in order, each as a short word
// (the page and the rest of the window log on their own schedule).
const QHash<QString, QString> g_words = {
    {"CNavPlug::Init()", "init"}, {"CNavPlug::Init() NAVIGATION: Connect", "connect"},
    {"CNavPlug::Init(): Error MapViewOfFile", "map-error"}, {"CNavPlug::CNavPlug(): Error CreateFileMapping", "open-error"},
    {"CNavPlug::Close() NAVIGATION: Disconnect", "close"}, {"MainWindow::on_pbTraceAcft_clicked Trace is ON", "on"},
    {"MainWindow::on_pbTraceAcft_clicked Trace is OFF", "off"}, {"MainWindow::on_pbTraceAcft_clicked Trace failed", "failed"}};
QStringList g_log;
QtMessageHandler g_previousHandler = nullptr;

void captureLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg)
        g_previousHandler(type, context, message);
    else if (message.startsWith(QLatin1String("CNavPlug::")) || message.startsWith(QLatin1String("MainWindow::on_pbTraceAcft_clicked")))
        g_log << g_words.value(message, message);
}

QString log()
{
    return g_log.join(u' ');
}

// Size of the block, -1 when there is none; a size of zero or more first
// makes the block with exactly that size, as another program would.
qint64 blockSize(const QString &name, qint64 make = -1)
{
    const QByteArray path = QFile::encodeName(CSharedBlock::systemName(name));
    if (make >= 0) {
        const int fd = ::shm_open(path.constData(), O_RDWR | O_CREAT, 0600);
        if (fd < 0 || ::ftruncate(fd, off_t(make)) != 0)
            return -2;
        ::close(fd);
    }
    const int fd = ::shm_open(path.constData(), O_RDONLY, 0);
    struct stat st;
    const qint64 size = fd >= 0 && ::fstat(fd, &st) == 0 ? qint64(st.st_size) : -1;
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

} // namespace

class TestSimLink : public QObject
{
    Q_OBJECT

    QString m_name;   // this test's block
    int m_counter = 0;
    std::unique_ptr<WindowFixture> m_fixture;

    QPushButton *button(const char *name) const { return m_fixture->window()->findChild<QPushButton *>(QLatin1String(name)); }

    MainWindow *startWindow()
    {
        m_fixture = std::make_unique<WindowFixture>();
        if (!m_fixture->prepareDemo())
            return nullptr;
        MainWindow *window = m_fixture->start(false);
        CNavGlobalVar::instance()->traceInterval = 1;
        // Only the trace's own scripts and log lines count here.
        QCoreApplication::processEvents();
        m_fixture->scripts.clear();
        g_log.clear();
        return window;
    }

private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(captureLog); }

    void init()
    {
        m_name = QStringLiteral("Local\\CorvaneTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(++m_counter);
        CNavPlug::setDefaultBlockName(m_name);
        g_log.clear();
    }

    void cleanup()
    {
        m_fixture.reset();
        CSharedBlock::remove(m_name);
        CNavPlug::setDefaultBlockName(NavBlock::defaultName());
    }

    // ------------------------------------------------------------ the link

    void linkOpens_data()
    {
        QTest::addColumn<qint64>("size");   // -1: no block yet
        QTest::addColumn<bool>("mapped");
        QTest::newRow("no block: one is made, zero-filled") << qint64(-1) << true;
        QTest::newRow("empty block") << qint64(0) << false;
        QTest::newRow("79 bytes, one short of the window") << qint64(79) << false;
        QTest::newRow("80 bytes, the window exactly") << qint64(80) << true;
        QTest::newRow("4096 bytes, bigger than we make") << qint64(4096) << true;
    }

    void linkOpens()
    {
        QFETCH(qint64, size);
        QFETCH(bool, mapped);
        CSharedBlock writer;
        uchar *bytes = nullptr;
        QCOMPARE(blockSize(m_name, size), size);
        if (size >= NavBlock::viewSize) {
            QVERIFY((bytes = writer.openWritable(m_name, size, NavBlock::viewSize)));
            memset(bytes, 0x7f, NavBlock::viewSize);   // neighbours of the three values hold noise
            // 1.0, -2.0 and 0.5 as little-endian IEEE-754 bytes.
            memcpy(bytes + 32, "\0\0\0\0\0\0\xf0\x3f" "\0\0\0\0\0\0\x00\xc0", 16);
            memcpy(bytes + 64, "\0\0\0\0\0\0\xe0\x3f", 8);
        }
        QTemporaryFile file;   // opened while the link lives
        {
            CNavPlug link(1234);
            QCOMPARE(link.hasView(), mapped);
            QCOMPARE(link.isConnected(), mapped);
            QVERIFY(link.timer() && link.timer()->isActive() && link.timer()->interval() == 1234);   // runs until Close
            QCOMPARE(log(), mapped ? "init connect" : "init map-error");
            const NavBlock::Position p = link.position();
            QCOMPARE(QList<double>({p.latitude, p.longitude, p.marker}), bytes ? QList<double>({1, -2, 0.5}) : QList<double>({0, 0, 0}));
            if (bytes) {   // the simulator's later writes are seen on the next read
                NavBlock::writeDouble(bytes + 32, 163800);
                QCOMPARE(link.latitude(), 163800.0);
            }
            link.Close();
            QVERIFY(!link.hasView() && !link.isConnected() && !link.timer()->isActive());
            // A file opened now may reuse the link's released descriptor; a
            // second Close (here and when the link goes) must not close it.
            QVERIFY(file.open());
            link.Close();
        }
        QVERIFY(::fcntl(file.handle(), F_GETFD) != -1 && file.write("still open") == 10);
        QVERIFY(log().endsWith(" close close close"));
        QCOMPARE(blockSize(m_name), size < 0 ? NavBlock::blockSize : size);   // an existing block is never resized, and stays
    }

    // ----------------------------------------------------------- the texts

    // Five decimals, rounded; a tiny heading in exponent form.
    void traceTexts()
    {
        const NavBlock::Position p{-33.000004 * 3600, 151.123456 * 3600, 0.0000123};
        QCOMPARE(TraceText::addMarker(p), "addAcftMrkr(new google.maps.LatLng(-33.00000,151.12346),\"\",1.23e-05);");
        QCOMPARE(TraceText::setMarker(p, false), "setAcftMrkr(new google.maps.LatLng(-33.00000,151.12346),1.23e-05);");
        QCOMPARE(TraceText::setMarker(p, true), "setAcftMrkr(new google.maps.LatLng(-33.00000,151.12346),1.23e-05);"
                                                ";map.setCenter(new google.maps.LatLng(-33.00000,151.12346));");
    }

    void tracePacing_data()
    {
        QTest::addColumn<QList<qint64>>("times");   // ms of each tick
        QTest::addColumn<QStringList>("texts");     // what each tick would send
        QTest::addColumn<QString>("sent");          // S: sent, -: not
        QTest::newRow("standing still: the first tick only") << QList<qint64>{0, 2, 4, 100, 5000} << QStringList{"a", "a", "a", "a", "a"} << "S----";
        QTest::newRow("moving: at most once a frame, the latest position")
                << QList<qint64>{0, 2, 4, 16, 18, 40} << QStringList{"a", "b", "c", "d", "e", "e"} << "S--S-S";
        QTest::newRow("stopping after a change held back: the last position goes")
                << QList<qint64>{0, 5, 30, 50} << QStringList{"a", "b", "b", "b"} << "S-S-";
        QTest::newRow("centring switched on and off while still: each once")
                << QList<qint64>{0, 20, 40, 60, 80} << QStringList{"a", "a;c", "a;c", "a", "a"} << "SS-S-";
    }

    void tracePacing()
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

    // ---------------------------------------------------------- the window

    void traceInWindow()
    {
        QVERIFY(writeBlock(m_name, {45.5 * 3600, -2.25 * 3600, 270}));
        MainWindow *window = startWindow();
        QVERIFY(window);
        // Without a link, switching off and a tick do nothing.
        QVERIFY(QMetaObject::invokeMethod(window, "on_pbTraceAcft_clicked", Q_ARG(bool, false)));
        QVERIFY(QMetaObject::invokeMethod(window, "sTraceAircraft"));
        QVERIFY(m_fixture->scripts.isEmpty() && g_log.isEmpty());

        button("pbTraceAcft")->click();
        QCOMPARE(m_fixture->scripts, QStringList({"addAcftMrkr(new google.maps.LatLng(45.50000,-2.25000),\"\",270);"}));
        QVERIFY(writeBlock(m_name, {48.8534 * 3600, -0.5 * 3600, 123.4567}));
        const QString set = QStringLiteral("setAcftMrkr(new google.maps.LatLng(48.85340,-0.50000),123.457);");
        const QString centred = set + QStringLiteral(";map.setCenter(new google.maps.LatLng(48.85340,-0.50000));");
        QTRY_COMPARE(m_fixture->scripts.last(), set);
        // The centring button is read on every tick; an unchanged tick sends nothing.
        button("pbCenterAcft")->click();
        QTRY_COMPARE(m_fixture->scripts.last(), centred);
        button("pbCenterAcft")->click();
        QTRY_COMPARE(m_fixture->scripts.last(), set);
        QCOMPARE(m_fixture->scripts.count(set) * 10 + m_fixture->scripts.count(centred), 21);
        button("pbTraceAcft")->click();
        QCOMPARE(m_fixture->scripts.last(), QStringLiteral("eraseAcftMrkr();"));
        QCOMPARE(log(), "init connect on close off");   // ticks log nothing

        // Switched on again: a fresh link, with the interval read now, shows
        // where the aircraft is at once; the old one goes.
        CNavGlobalVar::instance()->traceInterval = 3600000;
        QVERIFY(writeBlock(m_name, {0, 0, 0}));
        m_fixture->scripts.clear();
        g_log.clear();
        button("pbTraceAcft")->click();
        QCOMPARE(m_fixture->scripts, QStringList({"addAcftMrkr(new google.maps.LatLng(0.00000,0.00000),\"\",0);"}));
        QCOMPARE(log(), "close init connect on");
        // The window closing releases the link once.
        g_log.clear();
        m_fixture->stop();
        QCOMPARE(log(), "close");
    }

    void failedStart_data()
    {
        QTest::addColumn<qint64>("size");   // -1: the block cannot be opened at all
        QTest::addColumn<QString>("linkLog");
        QTest::newRow("block too small") << qint64(16) << "init map-error";
        QTest::newRow("block cannot be opened") << qint64(-1) << "open-error";
    }

    void failedStart()
    {
        QFETCH(qint64, size);
        QFETCH(QString, linkLog);
        if (size < 0)
            CNavPlug::setDefaultBlockName(QStringLiteral("Local\\Bad/Name"));
        QCOMPARE(blockSize(m_name, size), size);
        QVERIFY(startWindow());
        ScriptedPrompt prompt;
        button("pbTraceAcft")->click();
        QCOMPARE(prompt.records.size(), 1);
        const ScriptedPrompt::Record &box = prompt.last();
        QCOMPARE(QStringList({QString::number(box.icon), box.title, box.text, box.buttons.join(u',')}),
                 QStringList({QString::number(CPrompt::Warning), "Trajectoire avion",
                              "Impossible de se connecter à Corvane.\nAssurez vous de l'avoir démarré.", CPrompt::Ok}));
        // The failed link is closed.
        QCOMPARE(log(), linkLog + " failed close");
        QVERIFY(m_fixture->scripts.isEmpty() && button("pbTraceAcft")->isChecked());
        // Unchecking the button ends the failed trace.
        button("pbTraceAcft")->click();
        QCOMPARE(m_fixture->scripts, QStringList({QStringLiteral("eraseAcftMrkr();")}));
        QCOMPARE(log(), linkLog + " failed close close off");
        QCOMPARE(prompt.records.size(), 1);
    }

    // -------------------------------------------------------------- navsim

    // navsim flies a plan file as the program writes it (a name that looks
    // like a tag is a value) and leaves the aircraft at its end, heading
    // along the last leg.
    void navsimFliesPlan()
    {
        QTemporaryDir dir;
        QFile fpl(dir.filePath("plan.fpl"));
        QVERIFY(fpl.open(QIODevice::WriteOnly));
        fpl.write("<bgno> == Generated with corvane Navigator ==\n");
        for (const char *position : {"0.000,0.000,392", "0.000,3600.000,0"})
            fpl.write(QByteArray("\t<wpnt> --------- Waypoint ---------------\n\tairp\n\t<bgno> ========== BEGIN OBJECT ==========\n"
                                 "\t\t<name>\n\t\t<llps>\n\t\t<llps> ---------- Lat/lon,alt position --\n\t\t")
                      + position + "\n\t<endo> ========== END OBJECT ============\n");
        fpl.close();
        QProcess navsim;
        // Fast enough to reach the end within the second.
        navsim.start(qEnvironmentVariable("CORVANE_BIN_DIR") + QStringLiteral("/navsim"),
                     {"--name", m_name, "--fpl", fpl.fileName(), "--speed", "100000000", "--seconds", "1"});
        QVERIFY(navsim.waitForFinished(30000) && navsim.exitCode() == 0);
        const NavBlock::Position p = CNavPlug(1000).position();
        QCOMPARE(QList<double>({p.latitude, p.longitude}), QList<double>({0, 3600}));
        QVERIFY(qAbs(p.marker - 90) < 1e-9);
    }
};

QTEST_MAIN(TestSimLink)
#include "tst_simlink.moc"
