#pragma once

#include <QMargins>
#include <QPoint>
#include <functional>
#include <optional>

class QWidget;

namespace forms::wm {

// The window-manager states of a top-level window. They are asked of the window manager and
// never change the native window itself, so a surface that draws into the window's id (the
// video) keeps it.
enum class State { Above, FullScreen };

// True when the program runs on an X display under a window manager that takes these states.
bool Present();

// Asks the window manager to put the state on or off. A window that is not on the screen yet
// carries the state as a property and the window manager takes it when the window appears.
void SetState(QWidget* window, State state, bool on);
// The state as the window manager reports it; nothing when there is no window manager.
std::optional<bool> HasState(const QWidget* window, State state);

// The frame the window manager draws around the window (left, top, right, bottom), once it has
// told; nothing before.
std::optional<QMargins> FrameExtents(const QWidget* window);
// Where the window's client area stands on the screen now, as the display server has it.
std::optional<QPoint> ClientPosition(const QWidget* window);

// The last frame any window of the program got: the best guess for a window not framed yet.
// Before the first window is framed, the window manager is asked what frame it would give this
// one.
std::optional<QMargins> LastFrameExtents(QWidget* window);

// Calls back, on the user-interface thread, whenever the window manager tells the frame extents
// of one of the program's windows.
void OnFrameExtents(std::function<void(QWidget* window)> callback);

} // namespace forms::wm
