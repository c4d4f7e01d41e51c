#pragma once

#include "tests/support/Patience.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

// What a user does and sees on the test's virtual display, through the X tools: keys pressed in
// a window, the window manager's states and frames, and what a picture holds.
namespace desktop {

// Runs an X tool and returns what it printed.
QString Run(const QString& tool, const QStringList& arguments);

// Brings the window to the front with the keyboard's focus, and presses the keys there
// (xdotool's key names, e.g. "F3", "alt+s", "ctrl+p").
void PressKeys(const QString& window, const QStringList& keys);

// The window-manager states of a window (e.g. "_NET_WM_STATE_ABOVE").
QStringList WmStates(const QString& window);
// The client area and the outer frame of a window on the screen.
QRect ClientRect(const QString& window);
QRect FrameRect(const QString& window);

// The visible windows of a process whose title holds the text.
QStringList WindowsOf(qint64 pid, const QString& title = {});

// Waits until the condition holds, checking it every 100 ms; true when it did within the time.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = Patience);

// The share of a picture's pixels in strong colour: the program's own controls are greys, the
// test clips' pictures are coloured bars.
double ColouredShare(const QImage& image);

} // namespace desktop
