// Full screen, auto-hide and the video area's mouse.
#include "player/frmPlayer.h"

void frmPlayer::WireFullScreen() { }
