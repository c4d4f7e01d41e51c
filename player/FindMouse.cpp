#include "player/FindMouse.h"

#include "platform/forms/Cursor.h"

namespace FindMouse {

bool GetMousePos(int& x, int& y)
{
    int cx = 0;
    int cy = 0;
    if (!forms::GetCursorPos(cx, cy)) return false;
    x = cx;
    y = cy;
    return true;
}

void ShowMouseCursor(bool show) { forms::ShowCursor(show); }

} // namespace FindMouse
