#pragma once

class QWidget;

namespace Draging {

// Moves a window by dragging any of its controls: the desktop takes over as if the window's
// title bar had been grabbed.
void FormDrag(QWidget* window);

} // namespace Draging
