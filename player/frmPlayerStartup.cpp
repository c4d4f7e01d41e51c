// Start-up and shutdown of the player window.
#include "player/frmPlayer.h"

void frmPlayer::WireStartup() { }

void frmPlayer::Form_Load() { }

void frmPlayer::Form_Unload(int& /*cancel*/) { Form::EndProgram(); }
