#pragma once

#include <QString>

// The two media-command functions the control uses, over the process's MCI layer.
namespace PlayerMod {

// Sends one command string. A query's answer goes into the reply area of replyLength characters
// (null for none), ended by a NUL; a failing command leaves the area as it was. Returns 0 or an
// MCI error code.
int mciSendStringA(const QString& command, char* reply, int replyLength);

// The text of an MCI error code.
QString mciGetErrorStringA(int code);

} // namespace PlayerMod
