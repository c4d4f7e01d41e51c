#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/ListView.h"
#include "platform/forms/Menu.h"
#include "platform/forms/ProgressBar.h"
#include "platform/forms/TreeView.h"

#include <QDateTime>

class CDWriterXP;
class RecorderChoice;
class LumoCommonDialog;

// The data disc window: the image held by its writer component shown as a folder tree and the
// file list of the chosen folder, the write options, the drives and speeds, writing a disc or an
// ISO file, and the recorder menu with the erase and disc-information dialogs.
class frmBurnData : public forms::Form {
    Q_OBJECT
public:
    frmBurnData();
    ~frmBurnData() override;

    CDWriterXP* CDWriterXP1;
    // The drive and write-speed lists, shared with the audio disc window.
    RecorderChoice* Recorder;

    forms::Label* lblImageFileTitle;
    forms::TreeView* tvwDirectories;
    forms::ListView* lvwImageFiles;
    forms::PictureBox* imgSplitter;
    forms::PictureBox* picSplitter;
    forms::Frame* fraDiscProperties;
    forms::Label* lblVolIdentifier;
    forms::TextBox* txtVolIdentifier;
    forms::CheckBox* chkFinalizeDisc;
    forms::CheckBox* chkTestWrite;
    forms::CheckBox* chkCacheImage;
    forms::CheckBox* chkUseJoliet;
    forms::CheckBox* chkUseBurnProof;
    forms::Label* lblDevices;
    forms::ComboBox* cboDevices;
    forms::Label* lblWriteSpeed;
    forms::ComboBox* cboWriteSpeed;
    forms::Label* lblReadBuffer;
    forms::Label* lblDriveBuffer;
    forms::ProgressBar* prgTrackProgress;
    forms::ProgressBar* prgTotalProgress;
    forms::CommandButton* cmdWriteDisc;
    forms::CommandButton* cmdCancel;
    forms::StatusBar* sbrStatus;
    LumoCommonDialog* CommonDialog1;
    forms::ImageList imlIcons;

    forms::MenuItem* mnuFile;
    forms::MenuItem* mnuFileClear;
    forms::MenuItem* mnuFileSep1;
    forms::MenuItem* mnuFileRemoveDir;
    forms::MenuItem* mnuFileRenameDir;
    forms::MenuItem* mnuFileRemoveFile;
    forms::MenuItem* mnuFileRenameFile;
    forms::MenuItem* mnuFileSep2;
    forms::MenuItem* mnuFileSaveImageAsISO;
    forms::MenuItem* mnuFileWriteDiscFromISO;
    forms::MenuItem* mnuFileSep3;
    forms::MenuItem* mnuFileExit;
    forms::MenuItem* mnuCDRecorder;
    forms::MenuItem* mnuCDRecorderEject;
    forms::MenuItem* mnuCDRecorderCloseTray;
    forms::MenuItem* mnuCDRecorderDiscInfo;
    forms::MenuItem* mnuCDRecorderEraseDisc;
    forms::MenuItem* mnuCDRecorderImportPreviousSession;

    // The image views and names.
    void ResetImage();
    void ListImageDirectory(const QString& imagePath);
    void RefreshImageView();
    void ShowImageStatus();
    bool ValidateItemName(const QString& name);
    void AddDroppedItems(const QStringList& paths);
    void LayoutImageViews(double x);
    static QString NameFromPath(const QString& path);
    static bool IsDirectory(const QString& path);

    // Drives, writing and the window's state.
    void SetUiEnabled(bool enabled);
    // Items of a drop or an import are going into the image (the window answers the user between
    // them): nothing may write the image, change it otherwise or take it away meanwhile.
    void SetAddingItems(bool adding);
    bool AddingItems() const { return addingItems_ > 0; }
    bool UiEnabled() const { return uiEnabled_; }
    int SelectedDrive() const;

    // The handlers of the menus and buttons, as the user reaches them.
    void cmdWriteDisc_Click();
    void cmdCancel_Click();
    void mnuFileClear_Click();
    void mnuFileRemoveDir_Click();
    void mnuFileRemoveFile_Click();
    void mnuFileRenameDir_Click();
    void mnuFileRenameFile_Click();
    void mnuFileSaveImageAsISO_Click();
    void mnuFileWriteDiscFromISO_Click();
    void mnuCDRecorderDiscInfo_Click();
    void mnuCDRecorderEraseDisc_Click();
    void mnuCDRecorderImportPreviousSession_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;

private:
    void CreateControls();
    void CreateMenus();
    void WireHandlers();
    void WireWriterEvents();
    void WireImageEvents();
    void ShowFileMenuFor(bool tree);
    void ShowAddingItems();
    void lvwImageFiles_AfterLabelEdit(const QString& key, const QString& newText);
    QString SelectedFileKey() const;

    bool uiEnabled_ = true;
    int addingItems_ = 0;
    // What a drop could not add, said when the drop ends.
    QStringList notAdded_;
    // A disc write this window started is running.
    bool writing_ = false;
    bool hourglass_ = false;
    int trackCount_ = 0;
    qint64 trackSize_ = 0;
    qint64 cachingTotal_ = 0;
    int cachingTrack_ = 0;
    bool splitterDragging_ = false;
    QTreeWidgetItem* fileEditing_ = nullptr;
    QString fileEditText_;
};
