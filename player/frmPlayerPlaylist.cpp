// The playlist and the opening of its rows.
#include "player/frmPlayer.h"

void frmPlayer::WirePlaylist() { }

void frmPlayer::OpenFile() { }
