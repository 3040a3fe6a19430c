#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/navglobalvar.h"
#include "io/exportmenu.h"
#include "io/iodatabase.h"
#include "io/ioprogressdialog.h"

void MainWindow::on_actImport_triggered()
{
    CIOProgressDialog progress(this);
    CIODataBase io;
    io.setProgress(&progress);
    io.on_actImport_triggered(m_config);
}

void MainWindow::setupExportMenu()
{
    ExportMenu::install(this, m_config);
}
