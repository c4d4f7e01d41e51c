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
// when the program's bus connection closes.
uint inhibitCookie = 0;
bool inhibitPending = false;

} // namespace

void SetScreenSaverActive(bool active)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    if (!bus.interface() || !bus.interface()->isServiceRegistered(Service).value()) return;

    if (active) {
        if (inhibitCookie == 0) return;
        QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("UnInhibit"));
        call << inhibitCookie;
        bus.asyncCall(call);
        inhibitCookie = 0;
        return;
    }

    if (inhibitCookie != 0 || inhibitPending) return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Inhibit"));
    call << QCoreApplication::applicationName() << QStringLiteral("Playing media");
    inhibitPending = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [](QDBusPendingCallWatcher* w) {
        inhibitPending = false;
        QDBusPendingReply<uint> reply = *w;
        if (!reply.isError()) inhibitCookie = reply.value();
        w->deleteLater();
    });
}

} // namespace display
