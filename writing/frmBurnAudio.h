#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/ListView.h"
#include "platform/forms/Menu.h"
#include "platform/forms/ProgressBar.h"

class CDWriterXP;
class ExplorerList;
class ExplorerTree;
class RecorderChoice;

// The audio disc window: files dragged from the explorer pane onto the track list become the
// tracks of an audio CD, which the hosted writer component writes.
class frmBurnAudio : public forms::Form {
    Q_OBJECT
public:
    frmBurnAudio();
    ~frmBurnAudio() override;

    forms::ListView* lvwAudioTracks;
    forms::Label* lblDragAndDrop;
    forms::TextBox* sbrStatus;
    forms::Frame* framExplorer;
    ExplorerTree* ExplrTree;
    ExplorerList* ExplrList;
    forms::Frame* framBottom;
    forms::CheckBox* chkCacheFiles;
    forms::CheckBox* chkTestWrite;
    forms::CheckBox* chkUseBurnProof;
    forms::CommandButton* cmdWriteDisc;
    forms::CommandButton* cmdCancel;
    forms::ComboBox* cboDevices;
    forms::ComboBox* cboWriteSpeed;
    forms::Label* lblReadBuffer;
    forms::Label* lblDriveBuffer;
    forms::ProgressBar* prgTrackProgress;
    forms::ProgressBar* prgTotalProgress;
    forms::MenuItem* mnuFile;
    forms::MenuItem* mnuFileClear;
    forms::MenuItem* mnuFileRemove;
    forms::MenuItem* mnuFileSep2;
    forms::MenuItem* mnuFileExit;
    forms::MenuItem* mnuCDRecorder;
    forms::MenuItem* mnuCDRecorderEject;
    forms::MenuItem* mnuCDRecorderCloseTray;
    forms::MenuItem* mnuHelp;
    forms::MenuItem* mnuHelpAbout;

    CDWriterXP* CDWriterXP1;
    RecorderChoice* Recorder;

    bool UiEnabled() const { return uiEnabled_; }
    void SetUiEnabled(bool enabled);
    void RefreshTrackList();
    void lvwAudioTracks_Drop(const QStringList& files);
    void cmdWriteDisc_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;

private:
    void CreateControls();
    void CreateMenus();
    void WireHandlers();
    void WireWriterEvents();

    bool uiEnabled_ = true;
    int trackCount_ = 0;
    qint64 trackSize_ = 0;
    qint64 cachingTotal_ = 0;
    int cachingTrack_ = 0;
};
