#pragma once

#include "app/mainwindow.h"
#include "tests/support/scriptedprompt.h"
#include "tests/support/simfixture.h"

#include <QStringList>
#include <memory>

// A main window started as the user starts it: from a folder two levels
// below a simulator root, with navigator.ini in that folder naming a work
// directory (so nothing is asked unless the test wants it). Every script
// sent to the page is recorded.
class WindowFixture
{
public:
    WindowFixture();
    ~WindowFixture();

    // Builds the demo tree (or only a skeleton the test fills) and the
    // program folder; call before start().
    bool prepareDemo();
    bool prepareSkeleton();

    // Writes navigator.ini in the program folder (replaces the default one).
    void writeSettings(const QByteArray &ini);

    // Constructs the window; loadPage false leaves the map page out.
    MainWindow *start(bool loadPage = false);
    // Destroys the window (settings are written).
    void stop();

    MainWindow *window() const { return m_window.get(); }
    Ui::MainWindow *ui() const { return m_window->form(); }
    QString programDir() const;    // <root>/Tools/Navigator
    QString settingsFile() const;  // programDir()/navigator.ini

    SimFixture sim;
    ScriptedPrompt prompt;
    QStringList scripts;           // every script sent, in order

private:
    bool prepareProgramDir();
    std::unique_ptr<MainWindow> m_window;
    QString m_previousDir;
};
