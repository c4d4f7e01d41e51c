#include "cdaudio/PlayerMod.h"

#include "platform/mci/Mci.h"

namespace PlayerMod {

int mciSendStringA(const QString& command, char* reply, int replyLength)
{
    const QByteArray text = command.toUtf8();
    return static_cast<int>(mci::SendString(
        std::string_view(text.constData(), text.size()), reply, reply ? static_cast<unsigned>(replyLength) : 0));
}

QString mciGetErrorStringA(int code) { return QString::fromStdString(mci::ErrorText(static_cast<unsigned>(code))); }

} // namespace PlayerMod
