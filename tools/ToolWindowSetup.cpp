#include "tools/ToolWindowSetup.h"

#include "components/skin/Skin.h"
#include "engine/Docking.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "player/frmPlayer.h"

namespace {

void ApplyPlayerSkin(const frmPlayer* player, forms::Form& form)
{
    if (player && player->Skin1) player->Skin1->ApplySkin(form.hWnd());
}

} // namespace

void ToolWindowSetup(forms::Form& form)
{
    const frmPlayer* player = forms::Instances::Existing<frmPlayer>();
    Docking::AttachForm(&form, false);
    ApplyPlayerSkin(player, form);
    form.SetTopmost(player && player->mnuTop->Checked());
}

void ToolWindowSkin(forms::Form& form) { ApplyPlayerSkin(forms::Instances::Existing<frmPlayer>(), form); }

void ToolWindowAttach(forms::Form& form)
{
    const frmPlayer* player = forms::Instances::Existing<frmPlayer>();
    Docking::AttachForm(&form, false);
    form.SetTopmost(player && player->mnuTop->Checked());
}
