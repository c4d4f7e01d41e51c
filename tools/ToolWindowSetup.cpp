#include "tools/ToolWindowSetup.h"

#include "components/skin/Skin.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "player/frmPlayer.h"

namespace {

// The docking layer takes the window in as a secondary window here, once it exists.
void AttachSecondaryWindow(forms::Form& /*form*/) { }

void ApplyPlayerSkin(const frmPlayer* player, forms::Form& form)
{
    if (player && player->Skin1) player->Skin1->ApplySkin(form.hWnd());
}

} // namespace

void ToolWindowSetup(forms::Form& form)
{
    const frmPlayer* player = forms::Instances::Existing<frmPlayer>();
    AttachSecondaryWindow(form);
    ApplyPlayerSkin(player, form);
    form.SetTopmost(player && player->mnuTop->Checked());
}
