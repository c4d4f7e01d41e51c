#include "player/Draging.h"

#include "platform/forms/Cursor.h"

namespace Draging {

void FormDrag(QWidget* window) { forms::StartWindowMove(window); }

} // namespace Draging
