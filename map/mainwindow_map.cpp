#include "app/mainwindow.h"
#include "ui_mainwindow.h"

namespace {
std::function<void(const QString &)> g_scriptRecorder;
}

void MainWindow::setScriptRecorder(std::function<void(const QString &)> recorder)
{
    g_scriptRecorder = std::move(recorder);
}

void MainWindow::runJavaScript(const QString &script)
{
    if (script.isEmpty())
        return;
    if (g_scriptRecorder)
        g_scriptRecorder(script);
}


void MainWindow::sViewApt()
{
}

void MainWindow::sViewVor()
{
}

void MainWindow::sViewNdbRte()
{
}

void MainWindow::sViewNdbTerm()
{
}

void MainWindow::sViewWptRte()
{
}

void MainWindow::sViewWptTerm()
{
}

void MainWindow::sViewWptVfr()
{
}

void MainWindow::sViewAtsLo()
{
}

void MainWindow::sViewAtsHi()
{
}

void MainWindow::sViewAtsB()
{
}

void MainWindow::sViewBdry()
{
}

void MainWindow::sViewDock()
{
}

void MainWindow::sInitGoogleMap()
{
}

void MainWindow::doSomething(QString param)
{
    Q_UNUSED(param);
}

void MainWindow::doCenter(double lat, double lon)
{
    Q_UNUSED(lat);
    Q_UNUSED(lon);
}

void MainWindow::doZoom(int zoom)
{
    Q_UNUSED(zoom);
}

void MainWindow::doData(QString value)
{
    Q_UNUSED(value);
}

void MainWindow::doViewRwy(QString value)
{
    Q_UNUSED(value);
}

void MainWindow::populateJavaScriptWindowObject()
{
}

void MainWindow::receiveData(QString msg)
{
    Q_UNUSED(msg);
}

void MainWindow::readDataFromDB()
{
}

void MainWindow::centerOnPoint(const CFlightPlanPoint &point)
{
    Q_UNUSED(point);
}

void MainWindow::sendLayer(QAction *action, bool &flag, const QString &whenOn, const QString &whenOff)
{
    Q_UNUSED(action);
    Q_UNUSED(flag);
    Q_UNUSED(whenOn);
    Q_UNUSED(whenOff);
}

void MainWindow::setupMapPage(bool load)
{
    Q_UNUSED(load);
}
