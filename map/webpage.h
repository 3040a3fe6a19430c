#pragma once

#include <QString>
#include <QWebEnginePage>

class QWebChannel;

// The map page. Alerts of the page go to the program (sendData) instead of
// a dialog, console messages to the log. The page has its own off-the-record
// profile: no HTTP cache, and the user agent the map page has always seen.
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

signals:
    void sendData(QString msg);

protected:
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                  const QString &sourceID) override;

private:
    QWebChannel *m_channel = nullptr;
};
