// The position, speed and volume bars.
#include "player/frmPlayer.h"

void frmPlayer::WireBars() { }
