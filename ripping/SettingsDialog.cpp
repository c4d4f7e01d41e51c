#include "ripping/SettingsDialog.h"

#include "platform/forms/Form.h"

void ShowOwnedModal(forms::Form& dialog, forms::Form* owner)
{
    if (owner && dialog.parentWidget() != owner) dialog.setParent(owner, dialog.windowFlags() | Qt::Window);
    dialog.Show(forms::ShowMode::Modal);
}
