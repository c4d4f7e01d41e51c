#pragma once

#include <functional>

namespace display {

// Asks the login manager to restart the machine. Returns false when it refuses (the user may
// not) or is not there; nothing is shown either way.
bool RequestReboot();

// Tests put a recorder in place of the login manager (null restores it); returns the previous one.
using RebootRequest = std::function<bool()>;
RebootRequest SetRebootRequest(RebootRequest request);

} // namespace display
