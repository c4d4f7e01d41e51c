#pragma once

class QWidget;

namespace forms {

// The mouse cursor as the platform keeps it: a display count that starts at 0; the cursor shows
// while the count is 0 or more. Each call adds or takes away one and returns the new count.
int ShowCursor(bool show);
int CursorDisplayCount();

// The cursor's position on the screen in pixels. Returns false when it cannot be read.
bool GetCursorPos(int& x, int& y);

// Lets the desktop move the window with the mouse, as if its title bar were being dragged.
// Returns false when the desktop does not offer that.
bool StartWindowMove(QWidget* window);

} // namespace forms
