#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

#include <QStringList>
#include <vector>

class SkinLabel;

// Registers the player as the program that opens the checked media extensions and one further
// extension the user types. Shown modally at the first run, modeless from the Settings menu.
class frmAssociate : public forms::Form {
    Q_OBJECT
public:
    frmAssociate();

    // The extensions in the order they are registered, each with its check box.
    static const QStringList AssociatedExtensions;

    // chkAvi, chkMpg, chkdat ... chkwmv, in the order of AssociatedExtensions.
    std::vector<forms::CheckBox*> chk;
    forms::Frame* Frame1;
    SkinLabel* lblOther;
    forms::TextBox* txtExt;
    forms::Label* Label1;
    forms::TextBox* txtFile;
    forms::CommandButton* cmdAll;
    forms::CommandButton* cmdUnCheck;
    forms::CommandButton* cmdAssoc;
    forms::CommandButton* cmdBrowse;

    // The check box of an extension; null for an extension that has none.
    forms::CheckBox* CheckBoxFor(const QString& ext) const;

    void cmdAssoc_Click();
    void cmdAll_Click();
    void cmdUnCheck_Click();
    void cmdBrowse_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
};
