#include "platform/display/ScreenSaver.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace display {

namespace {

const QString Service = QStringLiteral("org.freedesktop.ScreenSaver");
const QString Path = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString Interface = QStringLiteral("org.freedesktop.ScreenSaver");

// The cookie of the inhibition we hold; 0 when none. The service lifts the inhibition by itself
// when the program ends and its bus connection closes.
uint inhibitCookie = 0;
bool inhibitPending = false;
// Set when the screen saver was let back on while the inhibition was still being granted.
bool releaseWhenGranted = false;

void UnInhibit(QDBusConnection& bus)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("UnInhibit"));
    call << inhibitCookie;
    bus.asyncCall(call);
    inhibitCookie = 0;
}

} // namespace

void SetScreenSaverActive(bool active)
{
    // A connection of our own: the inhibition lasts as long as it stays open.
    const QString name = QStringLiteral("tessel-screensaver");
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(name);
        return;
    }
    if (!bus.interface() || !bus.interface()->isServiceRegistered(Service).value()) return;

    if (active) {
        if (inhibitPending) releaseWhenGranted = true;
        if (inhibitCookie != 0) UnInhibit(bus);
        return;
    }

    releaseWhenGranted = false;
    if (inhibitCookie != 0 || inhibitPending) return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Inhibit"));
    call << QCoreApplication::applicationName() << QStringLiteral("Playing media");
    inhibitPending = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [bus](QDBusPendingCallWatcher* w) mutable {
        inhibitPending = false;
        QDBusPendingReply<uint> reply = *w;
        if (!reply.isError()) inhibitCookie = reply.value();
        if (releaseWhenGranted && inhibitCookie != 0) UnInhibit(bus);
        releaseWhenGranted = false;
        w->deleteLater();
    });
}

} // namespace display
