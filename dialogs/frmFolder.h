#pragma once

#include "dialogs/clsNodeCol.h"
#include "platform/forms/Controls.h"
#include "platform/forms/FileControls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/TreeView.h"

class SkinLabel;

// The folder browser: the user picks a folder in a tree of the desktop, the documents folder and
// the drives, and every file in it, or in it and all its subfolders, is appended to the player's
// playlist. It shows itself modally from its load and keeps the player disabled while open.
class frmFolder : public forms::Form {
    Q_OBJECT
public:
    frmFolder();

    forms::TreeView* DS;
    forms::ImageList IconList;
    SkinLabel* lblSelDir;
    SkinLabel* lblCurDir;
    forms::CheckBox* Check1;
    forms::CommandButton* cmdOK;
    forms::CommandButton* cmdCancel;
    // Hidden helpers: the folder and file enumerators, the gathered paths and the folder queue.
    forms::DirListBox* Dir1;
    forms::FileListBox* File1;
    forms::ListBox* List1;
    forms::ListBox* List2;

    void DS_Expand(forms::TreeNode* node);
    void DS_NodeClick(forms::TreeNode* node);
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;

private:
    void ArrangeControls();
    void AddRootNodes();
    void AddSubfolders(forms::TreeNode* parent);
    void GatherWithSubfolders();
    void GatherFolder();

    clsNodeCol* Nodes();
    std::unique_ptr<clsNodeCol> nodes_;
    bool unloaded_ = false;
};
