// The main of every test program: a QApplication (offscreen unless the test runs on a virtual
// display) and a fresh program folder, so that no test touches the user's own files.
#include "tests/support/ScriptedUser.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);

    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tessel-home-XXXXXX"));
    qputenv("TESSEL_HOME", QDir(home.path()).filePath(QStringLiteral("program")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", QDir(home.path()).filePath(QStringLiteral("data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("TESSEL_TEST_DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A player that a test loads has run before: a first run's association dialog would wait for
    // a person. Tests of the first run remove this file.
    QDir().mkpath(QDir(home.path()).filePath(QStringLiteral("program")));
    QFile first(QDir(home.path()).filePath(QStringLiteral("program/First.ini")));
    if (first.open(QIODevice::WriteOnly)) first.write("\"01/01/2026 12:00:00\"\r\n");
    first.close();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessel"));
    QApplication::setQuitOnLastWindowClosed(false);
    // No test may wait on a box for a real person: a test that does not script the user gets one
    // who presses the first button and cancels every dialog.
    ScriptedUser nobody;
    return RUN_ALL_TESTS();
}
