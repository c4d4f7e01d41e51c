#pragma once

#include <QString>

class frmPlayer;

// The mouse wheel over the player window. While installed, every turn of the wheel over the
// window or any of its controls drives what the mouse-scroll settings window has chosen: the
// playing position, the wind speed, the volume or the selected playlist row. The settings
// window's controls are read afresh at each notch; the first notch loads that window hidden.
namespace MouseScroll {

// One notch of the wheel, in the units of a wheel event's angle delta.
constexpr int WheelDelta = 120;

// Puts the wheel procedure on the player window, once; the previous one stays in place behind it.
void Install(frmPlayer& player);
// Takes it off again; the window then sees the wheel as before.
void Remove(frmPlayer& player);
bool Installed(const frmPlayer& player);

// One notch of the wheel: up (away from the user) or down. Statements that fail are skipped.
void WindowProc(frmPlayer& player, bool WheelUp);

// The number a text begins with, blanks ignored: digits with an optional sign, decimal point and
// exponent. Text that begins with no number gives 0; a number too large raises overflow.
double LeadingNumber(const QString& text);
// To the nearest 16-bit whole number, halves to the even neighbour; overflow outside its range.
int RoundInteger(double value);

} // namespace MouseScroll
