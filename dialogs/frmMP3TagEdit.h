#pragma once

#include "components/skin/Skin.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Timer.h"

#include <QStringList>

class LumoCommonDialog;

// Shows and edits the ID3v1 tag of one MP3 file, chosen with the window's own file dialog or
// typed into the path box.
class frmMP3TagEdit : public forms::Form {
    Q_OBJECT
public:
    frmMP3TagEdit();

    forms::TextBox* Text8; // path of the MP3 file
    forms::CommandButton* Command3; // Open
    forms::CommandButton* Command1; // Read
    forms::CommandButton* Command2; // Write
    forms::Frame* Frame1;
    forms::TextBox* Text1; // Title
    forms::TextBox* Text2; // Artist
    forms::TextBox* Text3; // Album
    forms::TextBox* Text4; // Year
    forms::TextBox* Text5; // Comment
    forms::ComboBox* Combo1; // genre; its list index is the genre byte
    SkinLabel* SkinLabel1;
    SkinLabel* SkinLabel2;
    SkinLabel* SkinLabel3;
    SkinLabel* SkinLabel4;
    SkinLabel* SkinLabel5;
    SkinLabel* SkinLabel6;
    forms::TextBox* Text6; // not used
    forms::TextBox* Text7; // not used
    forms::Timer* Timer1;
    LumoCommonDialog* Comdlg;

    // The genre names by their number, built at load.
    QStringList Id3Genres;

    void Command1_Click(); // Read
    void Command2_Click(); // Write
    void Command3_Click(); // Open

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void CreateControls();
};
