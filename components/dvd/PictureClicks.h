#pragma once

#include <QtGlobal>

// Hands a click on the picture to the video library. It listens for the clicks of the native window it
// draws into, but the window system gives the clicks of a window to one program connection only,
// and the toolkit already holds them; so each click is sent again as pointer reports that every
// listener of the window receives. Without a window system (offscreen) this does nothing.
namespace dvdclicks {

void PassClick(quintptr window, int x, int y);

} // namespace dvdclicks
