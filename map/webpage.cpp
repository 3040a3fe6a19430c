#include "map/webpage.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

// The page's bootstrap lives in the map resources of the program.
static void initMapResources()
{
    Q_INIT_RESOURCE(map);
}

namespace {

QWebEngineProfile *newProfile()
{
    initMapResources();
    // No storage name: off the record, nothing is kept on disk.
    auto *profile = new QWebEngineProfile;
    profile->setHttpCacheType(QWebEngineProfile::NoCache);
    profile->setHttpUserAgent(myWebPage::userAgent());
    return profile;
}

QString readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning() << "myWebPage: missing resource" << path;
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

QWebEngineScript documentScript(const QString &name, const QString &source)
{
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    return script;
}

} // namespace

myWebPage::myWebPage(QObject *parent)
    : QWebEnginePage(newProfile(), parent)
{
    // The profile belongs to the page and is released after it.
    profile()->setParent(this);
    // A file dropped on the view is the window's business, never a new
    // document for the page.
    settings()->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
}

myWebPage::~myWebPage() = default;

QString myWebPage::userAgent()
{
    return QStringLiteral("Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/535.2 (KHTML, like Gecko) "
                          "Chrome/15.0.874.121 Safari/535.2");
}

QString myWebPage::bridgeScript()
{
    initMapResources();
    return readResource(QStringLiteral(":/map/bridge.js"));
}

void myWebPage::installBridge(QObject *object)
{
    if (m_channel)
        return;
    m_channel = new QWebChannel(this);
    m_channel->registerObject(QStringLiteral("mainWindow"), object);
    setWebChannel(m_channel, QWebEngineScript::MainWorld);
    scripts().insert(documentScript(QStringLiteral("qwebchannel"),
                                    readResource(QStringLiteral(":/qtwebchannel/qwebchannel.js"))));
    scripts().insert(documentScript(QStringLiteral("bridge"), bridgeScript()));
}

void myWebPage::setPageFile(const QString &path)
{
    m_pageFile = path.isEmpty() ? QString() : QDir::cleanPath(QDir(path).absolutePath());
}

bool myWebPage::isPageFile(const QUrl &url) const
{
    return !m_pageFile.isEmpty() && url.isLocalFile() && QDir::cleanPath(url.toLocalFile()) == m_pageFile;
}

bool myWebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (isPageFile(url))
        return true;
    qWarning() << "myWebPage::acceptNavigationRequest refused" << url.toDisplayString().left(200) << int(type) << isMainFrame;
    emit navigationRefused(url);
    return false;
}

QWebEnginePage *myWebPage::createWindow(WebWindowType type)
{
    qWarning() << "myWebPage::createWindow refused" << int(type);
    emit navigationRefused(QUrl());
    return nullptr;
}

void myWebPage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    Q_UNUSED(securityOrigin);
    emit sendData(msg);
}

void myWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
                                         int lineNumber, const QString &sourceID)
{
    qDebug() << "myWebPage::javaScriptConsoleMessage" << int(level) << message << sourceID << lineNumber;
}
