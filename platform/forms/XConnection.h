#pragma once

#include <xcb/xcb.h>

namespace forms {

// Qt's own connection to the X display; null when the program does not run on one.
xcb_connection_t* QtXcbConnection();

} // namespace forms
