#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/ListView.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Timer.h"

class CDRipperX;
class MP3EncoderX;
class RipEncoder;
class VorbisEncoderX;
class WMAEncoderX;

// The CD ripper window: lists the tracks of the disc in the chosen drive, plays them, chooses the
// read speed and the encoder, and extracts the checked tracks in the extraction dialog. Nothing of
// its state is kept between openings.
class frmCDRip : public forms::Form {
    Q_OBJECT
public:
    frmCDRip();
    ~frmCDRip() override;

    forms::ComboBox* cboDevices;
    forms::ComboBox* cboSpeeds;
    forms::ComboBox* cboEncoders;
    forms::ListView* lvwTracks;
    forms::CommandButton* cmdBack;
    forms::CommandButton* cmdPlay;
    forms::CommandButton* cmdPause;
    forms::CommandButton* cmdStop;
    forms::CommandButton* cmdForward;
    forms::CommandButton* cmdEject;
    forms::CommandButton* cmdLoad;
    forms::CommandButton* cmdExtract;
    forms::StatusBar* sbrStatus;
    forms::Timer* Timer1;
    forms::MenuItem* mnuFile;
    forms::MenuItem* mnuFileSelectAll;
    forms::MenuItem* mnuFileNone;
    forms::MenuItem* mnuFileExit;
    forms::MenuItem* mnuExtract;
    forms::MenuItem* mnuExtractSelectedTracks;
    forms::MenuItem* mnuSettings;
    forms::MenuItem* mnuSettingsMP3;
    forms::MenuItem* mnuSettingsVorbis;
    forms::MenuItem* mnuSettingsWMA;

    // The hosted components; the extraction and settings dialogs borrow them while open.
    CDRipperX* CDRipperX1;
    MP3EncoderX* MP3EncoderX1;
    VorbisEncoderX* VorbisEncoderX1;
    WMAEncoderX* WMAEncoderX1;

    bool m_bNeedRefresh = false;
    RipEncoder* m_objEncoder = nullptr;

    void cboDevices_Click();
    void cboSpeeds_Click();
    void cboEncoders_Click();
    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdBack_Click();
    void cmdForward_Click();
    void cmdExtract_Click();
    void Timer1_Timer();
    void CheckAllTracks(bool checked);
    int SelectedTrackIndex() const;

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;

private:
    void CreateControls();
    void CreateMenus();
    void WireHandlers();
    void FillSpeedList();
    void SetTransportEnabled(bool enabled);
};
