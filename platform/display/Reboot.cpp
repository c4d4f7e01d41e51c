#include "platform/display/Reboot.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace display {

namespace {

RebootRequest& Replacement()
{
    static RebootRequest request;
    return request;
}

bool AskLoginManager()
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("Reboot"));
    // Not interactive: a user without the right is refused, not asked for a password.
    call << false;
    return bus.call(call, QDBus::Block, 10000).type() == QDBusMessage::ReplyMessage;
}

} // namespace

bool RequestReboot() { return Replacement() ? Replacement()() : AskLoginManager(); }

RebootRequest SetRebootRequest(RebootRequest request)
{
    RebootRequest previous = std::move(Replacement());
    Replacement() = std::move(request);
    return previous;
}

} // namespace display
