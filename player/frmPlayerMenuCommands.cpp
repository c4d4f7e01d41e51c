// What the player's menu items do.
#include "player/frmPlayer.h"
#include "tools/frmGyrelle.h"

void frmPlayer::WireMenuCommands()
{
    connect(mnuCDDVDAudioCD, &forms::MenuItem::Click, this, [] { forms::Instance<frmGyrelle>().Show(); });
}
