#include "tests/support/windowfixture.h"

#include "app/navglobalvar.h"

#include <QDir>
#include <QFile>

WindowFixture::WindowFixture()
    : m_previousDir(QDir::currentPath())
{
    MainWindow::setScriptRecorder([this](const QString &script) { scripts << script; });
}

WindowFixture::~WindowFixture()
{
    stop();
    MainWindow::setScriptRecorder(nullptr);
    QDir::setCurrent(m_previousDir);
    CNavGlobalVar::setSettingsPath(QStringLiteral("navigator.ini"));
}

QString WindowFixture::programDir() const
{
    return sim.path(QStringLiteral("Tools/Navigator"));
}

QString WindowFixture::settingsFile() const
{
    return programDir() + QStringLiteral("/navigator.ini");
}

bool WindowFixture::prepareProgramDir()
{
    if (!QDir(sim.root()).mkpath(QStringLiteral("Tools/Navigator")) || !QDir(sim.root()).mkpath(QStringLiteral("Work")))
        return false;
    writeSettings(QStringLiteral("[directory]\ndirWork=%1\n").arg(sim.path(QStringLiteral("Work"))).toUtf8());
    return true;
}

bool WindowFixture::prepareDemo()
{
    return sim.buildDemo() && prepareProgramDir();
}

bool WindowFixture::prepareSkeleton()
{
    return sim.buildSkeleton() && prepareProgramDir();
}

void WindowFixture::writeSettings(const QByteArray &ini)
{
    QFile file(settingsFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(ini);
}

MainWindow *WindowFixture::start(bool loadPage)
{
    QDir::setCurrent(programDir());
    CNavGlobalVar::setSettingsPath(settingsFile());
    MainWindow::Options options;
    options.loadPage = loadPage;
    m_window = std::make_unique<MainWindow>(options);
    return m_window.get();
}

void WindowFixture::stop()
{
    m_window.reset();
}
