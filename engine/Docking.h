#pragma once

namespace forms {
class Form;
}

// Docking of the program's windows: while the user moves or sizes a registered window, its edges
// snap to the edges of the desktop work area and of the program's other visible windows; when the
// main window moves, the windows docked edge to edge with it move along.
namespace Docking {

// Registers a window when it loads; the player window registers as the main window. Registering
// a window that is already registered does nothing.
void AttachForm(forms::Form* form, bool isMain);

// Takes a window out of docking; when it was the main window, no window follows any other.
void DetachForm(forms::Form* form);

bool IsAttached(const forms::Form* form);

} // namespace Docking
