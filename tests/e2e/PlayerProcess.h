#pragma once

#include "tests/support/Patience.h"

#include <QProcess>
#include <QString>
#include <QStringList>

// The real tessel program, started on the test's virtual display with a program folder of the
// test's own. Windows are found, photographed and driven with the X tools.
class PlayerProcess {
public:
    explicit PlayerProcess(const QString& programFolder);
    ~PlayerProcess();

    void Start(const QStringList& arguments = {});
    // Waits for a shown window whose title contains the text; returns its X window id, or 0.
    QString WaitForWindow(const QString& title, int timeoutMs = Patience);
    // Saves a picture of the window under the build folder's test artefacts; returns its path, where
    // no file is when the picture could not be taken.
    QString Screenshot(const QString& windowId, const QString& name);
    // Asks the program to close as the desktop would at log-out, and waits for it to end.
    bool Terminate(int timeoutMs = Patience);
    bool WaitForExit(int timeoutMs = Patience);
    int ExitCode() const { return process_.exitCode(); }
    QProcess& Process() { return process_; }

    static QString ArtefactFolder();
    static QString Binary();

private:
    QString programFolder_;
    QProcess process_;
};
