#include "tools/ToolWindowSetup.h"

#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "player/frmPlayer.h"

namespace {

// The docking layer takes the window in as a secondary window here, once it exists.
void AttachSecondaryWindow(forms::Form& /*form*/) { }

// The player's skin component paints the window here, once it exists.
void ApplyPlayerSkin(forms::Form& /*form*/) { }

} // namespace

void ToolWindowSetup(forms::Form& form)
{
    AttachSecondaryWindow(form);
    ApplyPlayerSkin(form);
    const frmPlayer* player = forms::Instances::Existing<frmPlayer>();
    form.SetTopmost(player && player->mnuTop->Checked());
}
