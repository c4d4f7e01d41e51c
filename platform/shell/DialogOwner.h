#pragma once

#include <QtGlobal>

class QWidget;

namespace shell {

// The window a dialog is modal over: the one with the given handle, else the active window.
QWidget* DialogOwner(quintptr handle);

// The screen's logical pixels per inch in the vertical direction, which font heights are kept in.
double LogicalPixelsPerInchY();

} // namespace shell
