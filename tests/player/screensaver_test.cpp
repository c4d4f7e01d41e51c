// The screen saver stays off through the desktop's inhibit service, found on a private bus.
#include "platform/display/ScreenSaver.h"
#include "tests/support/Patience.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Stands in for the desktop's screen-saver service and records what it was asked.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QStringList calls;

public slots:
    uint Inhibit(const QString& application, const QString& reason)
    {
        calls << "Inhibit " + application + " / " + reason;
        return 42;
    }
    void UnInhibit(uint cookie) { calls << "UnInhibit " + QString::number(cookie); }
};

// Lets the event loop run until the service has seen count calls.
bool WaitForCalls(const FakeScreenSaver& service, qsizetype count)
{
    QElapsedTimer clock;
    clock.start();
    while (service.calls.size() < count && clock.elapsed() < Patience)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return service.calls.size() == count;
}

} // namespace

TEST(ScreenSaver, KeptOffThroughTheServiceOnceAndLetBackOnWithItsCookie)
{
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(daemon.waitForStarted(5000));
    ASSERT_TRUE(daemon.waitForReadyRead(5000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    ASSERT_FALSE(address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());

    // A bus without the service: nothing is asked, nothing fails.
    display::SetScreenSaverActive(false);

    FakeScreenSaver service;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(address, "service");
        ASSERT_TRUE(bus.registerObject("/org/freedesktop/ScreenSaver", &service, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus.registerService("org.freedesktop.ScreenSaver"));
    }

    display::SetScreenSaverActive(false);
    display::SetScreenSaverActive(false);
    ASSERT_TRUE(WaitForCalls(service, 1)) << service.calls.join(", ").toStdString();
    EXPECT_TRUE(service.calls[0].startsWith("Inhibit "));

    display::SetScreenSaverActive(true);
    ASSERT_TRUE(WaitForCalls(service, 2)) << service.calls.join(", ").toStdString();
    EXPECT_EQ(service.calls[1], "UnInhibit 42");

    QDBusConnection::disconnectFromBus("service");
    daemon.kill();
    daemon.waitForFinished(5000);
}

#include "screensaver_test.moc"
