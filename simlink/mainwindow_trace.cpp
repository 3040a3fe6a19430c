#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "simlink/navplug.h"
#include "simlink/tracetext.h"

#include <QDebug>
#include <QTimer>

MainWindow::NavPlugKeeper::~NavPlugKeeper()
{
    delete plug;
    plug = nullptr;
}

void MainWindow::on_pbTraceAcft_clicked(bool checked)
{
    if (checked) {
        // A new link per trace; the previous one is closed already and goes
        // with its timer.
        delete m_navPlug;
        m_navPlug = new CNavPlug(m_config->traceInterval);
        if (!m_navPlug->hasView()) {
            qDebug() << "MainWindow::on_pbTraceAcft_clicked Trace failed";
            CPrompt::Message box;
            box.icon = CPrompt::Warning;
            box.title = tr("Trajectoire avion");
            box.text = tr("Impossible de se connecter à Corvane.\nAssurez vous de l'avoir démarré.");
            box.buttons = QStringList{CPrompt::Ok};
            prompt().message(box);
            // The button stays checked; unchecking it ends the failed trace.
            m_navPlug->Close();
            return;
        }
        qDebug() << "MainWindow::on_pbTraceAcft_clicked Trace is ON";
        runJavaScript(TraceText::addMarker(m_navPlug->position()));
        m_tracePacer.reset();
        m_traceClock.start();
        connect(m_navPlug->timer(), &QTimer::timeout, this, &MainWindow::sTraceAircraft);
        return;
    }

    if (!m_navPlug)
        return;
    m_navPlug->Close();
    runJavaScript(TraceText::eraseMarker());
    qDebug() << "MainWindow::on_pbTraceAcft_clicked Trace is OFF";
}

void MainWindow::sTraceAircraft()
{
    if (!m_navPlug || !m_navPlug->hasView())
        return;
    const QString text = TraceText::setMarker(m_navPlug->position(), ui->pbCenterAcft->isChecked());
    if (m_tracePacer.take(text, m_traceClock.elapsed()))
        runJavaScript(text);
}
