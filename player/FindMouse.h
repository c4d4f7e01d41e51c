#pragma once

namespace FindMouse {

// The cursor's screen position in pixels; false (x and y untouched) when it cannot be read.
bool GetMousePos(int& x, int& y);

// Shows or hides the mouse cursor: one step of the platform's display count.
void ShowMouseCursor(bool show);

} // namespace FindMouse
