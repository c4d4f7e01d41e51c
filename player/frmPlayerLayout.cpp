// The layout pass of the player window and the fit of the video.
#include "player/frmPlayer.h"

void frmPlayer::WireLayout() { }

void frmPlayer::Form_Resize() { }

void frmPlayer::Aspect() { }
