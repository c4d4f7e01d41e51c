#pragma once

namespace display {

// Lets the desktop's screen saver start (true) or keeps it off (false) while the program runs,
// through the desktop's screen-saver inhibit service. Without such a service nothing happens.
void SetScreenSaverActive(bool active);

} // namespace display
