// Transport buttons and the playback timers.
#include "player/frmPlayer.h"

void frmPlayer::WireTransport() { }
