#pragma once

#include <QString>
#include <QWebEnginePage>

class QWebChannel;

// The map page. Alerts of the page go to the program (sendData) instead of
// a dialog, console messages to the log. The page has its own off-the-record
// profile: no HTTP cache, and the user agent the map page has always seen.
//
// The page shows its page file and nothing else: every navigation to
// another address (a link, a script setting location, a form, a dropped
// file, a load the program asks for) is refused, and so is every new
// window. The bridge therefore only ever reaches the map page itself.
class myWebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit myWebPage(QObject *parent = nullptr);
    ~myWebPage() override;

    static QString userAgent();

    // Publishes `object` to the page as "mainWindow" through a web channel,
    // and injects qwebchannel.js and the page's bootstrap (which creates
    // window.mainWindow and holds calls until the channel is up) when each
    // document is created. Call once; later loads keep both.
    void installBridge(QObject *object);

    // The bootstrap script as compiled into the program.
    static QString bridgeScript();

    // The one file the page may show (an absolute path); until it is set
    // the page shows nothing.
    void setPageFile(const QString &path);
    QString pageFile() const { return m_pageFile; }
    // Whether `url` is the page file (query and fragment aside).
    bool isPageFile(const QUrl &url) const;

signals:
    void sendData(QString msg);
    // A navigation or a new window the page refused; the address is empty
    // for a new window.
    void navigationRefused(const QUrl &url);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                  const QString &sourceID) override;

private:
    QWebChannel *m_channel = nullptr;
    QString m_pageFile;
};
