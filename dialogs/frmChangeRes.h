#pragma once

#include "components/skin/Skin.h"
#include "platform/display/DisplayModes.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControls.h"

#include <vector>

// Lists the modes of the primary display and switches the desktop to the one the user picks.
class frmChangeRes : public forms::Form {
    Q_OBJECT
public:
    frmChangeRes();

    SkinLabel* SkinLabel1;
    forms::ListBox* List1; // row k shows mode record k
    forms::CommandButton* Command1; // Change Resolution

    // The mode table, built at load: room for 9 records at first, 8 more whenever it is full.
    std::vector<display::DisplayMode> DevModes;
    // The index of the last mode found, -1 for none.
    int LastMode = -1;

    void Command1_Click();

    static constexpr int InitialRecords = 9;
    static constexpr int GrowBy = 8;

protected:
    void Form_Load() override;
};
