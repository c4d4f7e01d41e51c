// What the player's menu items do.
#include "player/frmPlayer.h"

void frmPlayer::WireMenuCommands() { }
