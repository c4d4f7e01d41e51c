#include "writing/frmBurnData.h"

#include "components/cdwriter/CDWriterXP.h"
#include "dialogs/LumoCommonDialog.h"
#include "engine/Docking.h"
#include "platform/forms/DoEvents.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "tools/ToolWindowSetup.h"
#include "writing/RecorderChoice.h"
#include "writing/frmDataDiscInfo.h"
#include "writing/frmDataErase.h"

#include <QApplication>
#include <QCursor>
#include <cmath>

using namespace forms::MsgBoxStyle;

namespace {

constexpr char CrLf[] = "\r\n";

// "0#": at least two digits.
QString TwoDigits(long long value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

// A percentage computed as a double and rounded with halves to even.
int RoundPercent(double value) { return static_cast<int>(std::nearbyint(value)); }

} // namespace

frmBurnData::frmBurnData()
{
    setCaption(QStringLiteral("Burn Data CD"));
    CDWriterXP1 = new CDWriterXP(this);
    CreateMenus();
    CreateControls();
    Recorder = new RecorderChoice(*CDWriterXP1, *cboDevices, *cboWriteSpeed, *chkUseBurnProof);
    WireHandlers();
    WireWriterEvents();
    WireImageEvents();
}

int frmBurnData::SelectedDrive() const { return Recorder->SelectedDrive(); }

frmBurnData::~frmBurnData()
{
    if (hourglass_) QApplication::restoreOverrideCursor();
}

void frmBurnData::CreateMenus()
{
    using forms::MenuItem;
    mnuFile = new MenuItem(menuBar(), QStringLiteral("&File"));
    mnuFileClear = new MenuItem(mnuFile, QStringLiteral("Clear All Items"));
    mnuFileSep1 = new MenuItem(mnuFile, QStringLiteral("-"));
    mnuFileRemoveDir = new MenuItem(mnuFile, QStringLiteral("Remove Directory"));
    mnuFileRenameDir = new MenuItem(mnuFile, QStringLiteral("Rename Directory"));
    mnuFileRemoveFile = new MenuItem(mnuFile, QStringLiteral("Remove File"));
    mnuFileRenameFile = new MenuItem(mnuFile, QStringLiteral("Rename File"));
    mnuFileSep2 = new MenuItem(mnuFile, QStringLiteral("-"));
    mnuFileSaveImageAsISO = new MenuItem(mnuFile, QStringLiteral("&Save Image as ISO File..."));
    mnuFileWriteDiscFromISO = new MenuItem(mnuFile, QStringLiteral("&Write Disc from ISO File..."));
    mnuFileSep3 = new MenuItem(mnuFile, QStringLiteral("-"));
    mnuFileExit = new MenuItem(mnuFile, QStringLiteral("Exit"));
    mnuCDRecorder = new MenuItem(menuBar(), QStringLiteral("&CD-Recorder"));
    mnuCDRecorderEject = new MenuItem(mnuCDRecorder, QStringLiteral("Eject"));
    mnuCDRecorderCloseTray = new MenuItem(mnuCDRecorder, QStringLiteral("Close Tray"));
    mnuCDRecorderDiscInfo = new MenuItem(mnuCDRecorder, QStringLiteral("Disc Information..."));
    mnuCDRecorderEraseDisc = new MenuItem(mnuCDRecorder, QStringLiteral("Erase Disc..."));
    mnuCDRecorderImportPreviousSession = new MenuItem(mnuCDRecorder, QStringLiteral("Import Previous Session"));
}

void frmBurnData::CreateControls()
{
    QWidget* client = Client();
    lblImageFileTitle = new forms::Label(client, QStringLiteral("Data Image Contents"));
    lblImageFileTitle->Move(20, 60, 9460, 255);
    tvwDirectories = new forms::TreeView(client);
    tvwDirectories->Move(20, 315, 3000, 3300);
    imgSplitter = new forms::PictureBox(client);
    imgSplitter->Move(3020, 315, 75, 3300);
    imgSplitter->setCursor(Qt::SplitHCursor);
    picSplitter = new forms::PictureBox(client);
    picSplitter->Move(3020, 315, 75, 3300);
    picSplitter->setStyleSheet(QStringLiteral("background: #808080;"));
    picSplitter->setVisible(false);
    lvwImageFiles = new forms::ListView(client);
    lvwImageFiles->Move(3095, 315, 6385, 3300);
    lvwImageFiles->AddColumn(QStringLiteral("File Name"), 3000);
    lvwImageFiles->AddColumn(QStringLiteral("Size"), 1400, forms::ListView::Align::Right);
    lvwImageFiles->AddColumn(QStringLiteral("Date"), 2400);

    fraDiscProperties = new forms::Frame(client, QStringLiteral("Write Options"));
    fraDiscProperties->Move(20, 3720, 5700, 2280);
    lblVolIdentifier = new forms::Label(fraDiscProperties, QStringLiteral("Volume Identifier:"));
    lblVolIdentifier->Move(120, 300, 1740, 255);
    txtVolIdentifier = new forms::TextBox(fraDiscProperties, QStringLiteral("New Disc"));
    txtVolIdentifier->setMaxLength(32);
    txtVolIdentifier->Move(1920, 260, 3600, 315);
    chkFinalizeDisc = new forms::CheckBox(fraDiscProperties, QStringLiteral("Finalize Disc (No Further Writing Possible)"));
    chkFinalizeDisc->Move(120, 660, 5400, 255);
    chkTestWrite = new forms::CheckBox(fraDiscProperties, QStringLiteral("Test Write Mode (Data will not be written to the media)"));
    chkTestWrite->Move(120, 960, 5400, 255);
    chkCacheImage = new forms::CheckBox(fraDiscProperties, QStringLiteral("Cache Image Before Writing"));
    chkCacheImage->Move(120, 1260, 5400, 255);
    chkCacheImage->setValue(forms::CheckValue::Checked);
    chkUseJoliet = new forms::CheckBox(fraDiscProperties, QStringLiteral("Include Joliet Directories (64 char file names)"));
    chkUseJoliet->Move(120, 1560, 5400, 255);
    chkUseJoliet->setValue(forms::CheckValue::Checked);
    chkUseBurnProof = new forms::CheckBox(fraDiscProperties, QStringLiteral("Use Burn Proof"));
    chkUseBurnProof->Move(120, 1860, 5400, 255);

    lblDevices = new forms::Label(client, QStringLiteral("CD-Recorder:"));
    lblDevices->Move(5880, 3760, 3600, 255);
    cboDevices = new forms::ComboBox(client, forms::ComboBox::Style::DropDownList);
    cboDevices->Move(5880, 4020, 3600, 315);
    lblWriteSpeed = new forms::Label(client, QStringLiteral("Write Speed:"));
    lblWriteSpeed->Move(5880, 4420, 1500, 255);
    cboWriteSpeed = new forms::ComboBox(client, forms::ComboBox::Style::DropDownList);
    cboWriteSpeed->Move(7440, 4380, 2040, 315);
    lblReadBuffer = new forms::Label(client, QStringLiteral("Read Buffer:  00 %"));
    lblReadBuffer->Move(5880, 4800, 1750, 255);
    lblDriveBuffer = new forms::Label(client, QStringLiteral("Drive Buffer: 00 %"));
    lblDriveBuffer->Move(7700, 4800, 1780, 255);
    prgTrackProgress = new forms::ProgressBar(client);
    prgTrackProgress->Move(5880, 5100, 3600, 240);
    prgTotalProgress = new forms::ProgressBar(client);
    prgTotalProgress->Move(5880, 5400, 3600, 240);
    cmdWriteDisc = new forms::CommandButton(client, QStringLiteral("&Write Disc"));
    cmdWriteDisc->Move(5880, 5700, 1740, 375);
    cmdCancel = new forms::CommandButton(client, QStringLiteral("&Cancel"));
    cmdCancel->Move(7740, 5700, 1740, 375);
    CommonDialog1 = new LumoCommonDialog(client);
    CommonDialog1->setVisible(false);

    sbrStatus = new forms::StatusBar(this, 3);

    const QStyle* style = QApplication::style();
    imlIcons.Add(QStringLiteral("CD"), style->standardIcon(QStyle::SP_DriveCDIcon));
    imlIcons.Add(QStringLiteral("OPENFOLDER"), style->standardIcon(QStyle::SP_DirOpenIcon));
    imlIcons.Add(QStringLiteral("CLOSEDFOLDER"), style->standardIcon(QStyle::SP_DirClosedIcon));
    imlIcons.Add(QStringLiteral("FILE"), style->standardIcon(QStyle::SP_FileIcon));

    Move(Left(), Top(), 9600 + (Width() - ScaleWidth()), 6200 + (Height() - ScaleHeight()));
}

void frmBurnData::WireHandlers()
{
    using forms::MenuItem;
    connect(cmdWriteDisc, &forms::CommandButton::Click, this, &frmBurnData::cmdWriteDisc_Click);
    connect(cmdCancel, &forms::CommandButton::Click, this, &frmBurnData::cmdCancel_Click);
    connect(mnuFileClear, &MenuItem::Click, this, &frmBurnData::mnuFileClear_Click);
    connect(mnuFileRemoveDir, &MenuItem::Click, this, &frmBurnData::mnuFileRemoveDir_Click);
    connect(mnuFileRemoveFile, &MenuItem::Click, this, &frmBurnData::mnuFileRemoveFile_Click);
    connect(mnuFileRenameDir, &MenuItem::Click, this, &frmBurnData::mnuFileRenameDir_Click);
    connect(mnuFileRenameFile, &MenuItem::Click, this, &frmBurnData::mnuFileRenameFile_Click);
    connect(mnuFileSaveImageAsISO, &MenuItem::Click, this, &frmBurnData::mnuFileSaveImageAsISO_Click);
    connect(mnuFileWriteDiscFromISO, &MenuItem::Click, this, &frmBurnData::mnuFileWriteDiscFromISO_Click);
    connect(mnuFileExit, &MenuItem::Click, this, [this] { Unload(); });
    connect(mnuCDRecorderEject, &MenuItem::Click, this, [this] { CDWriterXP1->EjectDisc(); });
    connect(mnuCDRecorderCloseTray, &MenuItem::Click, this, [this] { CDWriterXP1->LoadDisc(); });
    connect(mnuCDRecorderDiscInfo, &MenuItem::Click, this, &frmBurnData::mnuCDRecorderDiscInfo_Click);
    connect(mnuCDRecorderEraseDisc, &MenuItem::Click, this, &frmBurnData::mnuCDRecorderEraseDisc_Click);
    connect(mnuCDRecorderImportPreviousSession, &MenuItem::Click, this,
        &frmBurnData::mnuCDRecorderImportPreviousSession_Click);
}

void frmBurnData::Form_Load()
{
    Recorder->FillDeviceList();
    tvwDirectories->setImageList(&imlIcons);
    CDWriterXP1->ClearImage();
    SetUiEnabled(true);
    ToolWindowSetup(*this);
}

void frmBurnData::Form_Unload(int& cancel)
{
    Docking::DetachForm(this);
    if (!uiEnabled_ || AddingItems()) cancel = 1;
}

// --- Writing --------------------------------------------------------------------------------

void frmBurnData::cmdWriteDisc_Click()
{
    if (Recorder->SelectedDrive() == -1) {
        forms::MsgBox(QStringLiteral("A drive is not selected or does not exist."), Information);
        return;
    }
    if (!CDWriterXP1->DiscPresent()) {
        forms::MsgBox(QStringLiteral("Please Insert Writable Media before continuing!"), Information);
        return;
    }
    CDWriterXP1->setWriteType(1);
    CDWriterXP1->setFinalizeDisc(chkFinalizeDisc->Value() == forms::CheckValue::Checked);
    CDWriterXP1->setCloseSession(true);
    CDWriterXP1->setJoliet(chkUseJoliet->Value() == forms::CheckValue::Checked);
    CDWriterXP1->setVolumeIdentifier(txtVolIdentifier->Text());
    CDWriterXP1->setTestWrite(chkTestWrite->Value() == forms::CheckValue::Checked);
    CDWriterXP1->setCacheImage(chkCacheImage->Value() == forms::CheckValue::Checked);
    CDWriterXP1->UseBurnProof(chkUseBurnProof->Value() == forms::CheckValue::Checked);
    if (!CDWriterXP1->StartWrite()) forms::MsgBox(QStringLiteral("Disc Write could not be started."), Critical);
}

void frmBurnData::cmdCancel_Click()
{
    sbrStatus->setPanelText(1, QStringLiteral("Aborting Write...Please Wait!"));
    CDWriterXP1->AbortWrite();
}

void frmBurnData::SetUiEnabled(bool enabled)
{
    mnuFile->setEnabled(enabled);
    mnuCDRecorder->setEnabled(enabled);
    for (QWidget* control : std::initializer_list<QWidget*> {cboDevices, cboWriteSpeed, lvwImageFiles, tvwDirectories,
             cmdWriteDisc, chkCacheImage, chkFinalizeDisc, chkTestWrite, chkUseJoliet, txtVolIdentifier})
        control->setEnabled(enabled);
    chkUseBurnProof->setEnabled(enabled && CDWriterXP1->SupportsBurnProof());
    cmdCancel->setEnabled(!enabled);
    uiEnabled_ = enabled;
    if (AddingItems()) ShowAddingItems();
    if (!enabled && !hourglass_) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (enabled && hourglass_) QApplication::restoreOverrideCursor();
    hourglass_ = !enabled;
    forms::DoEvents();
}

void frmBurnData::SetAddingItems(bool adding)
{
    addingItems_ += adding ? 1 : -1;
    ShowAddingItems();
}

void frmBurnData::ShowAddingItems()
{
    const bool free = !AddingItems();
    for (forms::MenuItem* item : {mnuFileClear, mnuFileRemoveDir, mnuFileRenameDir, mnuFileRemoveFile, mnuFileRenameFile,
             mnuFileSaveImageAsISO, mnuFileWriteDiscFromISO})
        item->setEnabled(free);
    mnuCDRecorder->setEnabled(free && uiEnabled_);
    cmdWriteDisc->setEnabled(free && uiEnabled_);
    cboDevices->setEnabled(free && uiEnabled_);
}

void frmBurnData::WireWriterEvents()
{
    CDWriterXP* w = CDWriterXP1;
    connect(w, &CDWriterXP::PreparingToWrite, this, [this] {
        trackCount_ = 1;
        writing_ = true;
        sbrStatus->setPanelText(1, QStringLiteral("Preparing to Write...."));
        prgTrackProgress->setValue(0);
        prgTotalProgress->setValue(0);
        SetUiEnabled(false);
    });
    connect(w, &CDWriterXP::CreatingDirectories, this,
        [this] { sbrStatus->setPanelText(1, QStringLiteral("Creating Directories....")); });
    connect(w, &CDWriterXP::PreparingTrack, this, [this](int track, qint64 size) {
        sbrStatus->setPanelText(1, QStringLiteral("Preparing to Write Track #") + TwoDigits(track));
        prgTrackProgress->setValue(0);
        trackSize_ = size;
    });
    connect(w, &CDWriterXP::WriteProgress, this, [this](int track, qint64 written, int buffer) {
        lblDriveBuffer->setCaption(QStringLiteral("Drive Buffer: ") + TwoDigits(buffer) + QStringLiteral(" %"));
        const double trackPercent = trackSize_ > 0 ? double(written) / double(trackSize_) * 100.0 : 0.0;
        const double totalPercent = trackCount_ > 0 ? ((track - 1) + trackPercent / 100.0) / trackCount_ * 100.0 : 0.0;
        forms::IgnoreErrors run;
        run([&] { prgTrackProgress->setValue(std::clamp(RoundPercent(trackPercent), 0, 100)); });
        run([&] { prgTotalProgress->setValue(std::clamp(RoundPercent(totalPercent), 0, 100)); });
        sbrStatus->setPanelText(1, QStringLiteral("Writing Track #") + TwoDigits(track) + QStringLiteral("... "));
    });
    connect(w, &CDWriterXP::ReadBufferLevel, this, [this](int percent) {
        lblReadBuffer->setCaption(QStringLiteral("Read Buffer:  ") + TwoDigits(percent) + QStringLiteral(" %"));
    });
    connect(w, &CDWriterXP::CachingStarted, this, [this](int track, qint64 total) {
        cachingTrack_ = track;
        cachingTotal_ = total;
    });
    connect(w, &CDWriterXP::CachingProgress, this, [this](qint64 done) {
        const double percent = cachingTotal_ > 0 ? double(done) / double(cachingTotal_) * 100.0 : 100.0;
        sbrStatus->setPanelText(1, QStringLiteral("Caching Track - ") + TwoDigits(RoundPercent(percent)) + QStringLiteral(" %"));
        forms::DoEvents();
    });
    connect(w, &CDWriterXP::ReadingFile, this,
        [this](int number) { sbrStatus->setPanelText(2, QStringLiteral("Reading File...") + QString::number(number)); });
    connect(w, &CDWriterXP::ClosingTrack, this, [this] { sbrStatus->setPanelText(1, QStringLiteral("Closing Track....")); });
    connect(w, &CDWriterXP::ClosingSession, this,
        [this] { sbrStatus->setPanelText(1, QStringLiteral("Closing Session....")); });
    connect(w, &CDWriterXP::ClosingDisc, this, [this] { sbrStatus->setPanelText(1, QStringLiteral("Closing Disc....")); });
    connect(w, &CDWriterXP::StatusText, this, [this](int, const QString& text) { sbrStatus->setPanelText(1, text); });
    // The end of a job this window started. The erase and disc-information dialogs answer the
    // ends of their own jobs (an erase, a close) themselves.
    connect(w, &CDWriterXP::WriteError, this, [this](const QString& description, int number) {
        if (!writing_) return;
        writing_ = false;
        forms::MsgBox(QStringLiteral("A write error occurred (error ") + QString::number(number) + QStringLiteral("):") + CrLf
                + description,
            Critical);
        SetUiEnabled(true);
        sbrStatus->setPanelText(1, QStringLiteral("A write error occurred.."));
    });
    connect(w, &CDWriterXP::WriteCancelled, this, [this] {
        if (!writing_) return;
        writing_ = false;
        sbrStatus->setPanelText(1, QStringLiteral("Writing Cancelled......"));
        SetUiEnabled(true);
        forms::MsgBox(QStringLiteral("Writing Cancelled!"), Information);
    });
    connect(w, &CDWriterXP::WriteComplete, this, [this] {
        if (!writing_) return;
        writing_ = false;
        sbrStatus->setPanelText(1, QStringLiteral("Writing Complete!"));
        SetUiEnabled(true);
        forms::MsgBox(QStringLiteral("Writing is complete!"), Information);
        if (!CDWriterXP1->TestWrite()) CDWriterXP1->EjectDisc();
    });
    connect(w, &CDWriterXP::ReplaceImportedFile,
        this, [](const QString& imported, const QString& added, qint64, bool& replace) {
            replace = forms::MsgBox(QStringLiteral("Imported file from the last session on this disc: ") + CrLf + imported
                              + CrLf + QStringLiteral("Would you like to replace it with: ") + CrLf + added + QStringLiteral(" ?"),
                          OKCancel | Question, QStringLiteral("Replace imported file..."))
                == forms::MsgBoxResult::OK;
        });
}

// --- ISO files and sessions -----------------------------------------------------------------

void frmBurnData::mnuFileSaveImageAsISO_Click()
{
    try {
        CommonDialog1->setDialogTitle(QStringLiteral("Save as ISO File"));
        CommonDialog1->setFileName(QStringLiteral("Test.iso"));
        CommonDialog1->setFilter(QStringLiteral("ISO file (*.iso)|*.iso"));
        CommonDialog1->setCancelError(true);
        CommonDialog1->ShowOpen();
        SetUiEnabled(false);
        CDWriterXP1->setVolumeIdentifier(txtVolIdentifier->Text());
        const bool ok = CDWriterXP1->CreateIsoFile(CommonDialog1->FileName());
        SetUiEnabled(true);
        if (!ok) forms::MsgBox(QStringLiteral("Error creating ISO File."), Critical);
        else forms::MsgBox(QStringLiteral("ISO File Created successfully!"), Information);
        ShowImageStatus();
    } catch (const forms::RuntimeError&) {
        SetUiEnabled(true);
    }
}

void frmBurnData::mnuFileWriteDiscFromISO_Click()
{
    try {
        CommonDialog1->setDialogTitle(QStringLiteral("Write ISO File"));
        CommonDialog1->setFileName(QStringLiteral("Test.iso"));
        CommonDialog1->setFilter(QStringLiteral("ISO file (*.iso)|*.iso"));
        CommonDialog1->setCancelError(true);
        CommonDialog1->ShowOpen();
        SetUiEnabled(false);
        CDWriterXP1->setFinalizeDisc(chkFinalizeDisc->Value() == forms::CheckValue::Checked);
        CDWriterXP1->setCloseSession(true);
        CDWriterXP1->setTestWrite(chkTestWrite->Value() == forms::CheckValue::Checked);
        CDWriterXP1->UseBurnProof(chkUseBurnProof->Value() == forms::CheckValue::Checked);
        if (!CDWriterXP1->WriteIsoFile(CommonDialog1->FileName())) {
            SetUiEnabled(true);
            const QString reason = CDWriterXP1->LastRefusal();
            forms::MsgBox(QStringLiteral("Error Writing ISO File.") + (reason.isEmpty() ? QString() : CrLf + reason), Critical);
        }
    } catch (const forms::RuntimeError&) {
        SetUiEnabled(true);
    }
}

void frmBurnData::mnuCDRecorderImportPreviousSession_Click()
{
    if (Recorder->SelectedDrive() == -1) {
        forms::MsgBox(QStringLiteral("A drive is not selected or does not exist."), Information);
        return;
    }
    if (!CDWriterXP1->DiscPresent()) {
        forms::MsgBox(QStringLiteral("Please Insert a disc before continuing!"), Information);
        return;
    }
    sbrStatus->setPanelText(1, QStringLiteral("Importing Previous Session..."));
    SetAddingItems(true);
    const bool imported = CDWriterXP1->ImportSession(true);
    SetAddingItems(false);
    if (imported) {
        txtVolIdentifier->setText(CDWriterXP1->VolumeIdentifier());
        if (tvwDirectories->topLevelItemCount() > 0) tvwDirectories->topLevelItem(0)->setExpanded(true);
        RefreshImageView();
    } else {
        forms::MsgBox(QStringLiteral("Previous Session could not be imported") + CrLf
                + QStringLiteral("Only ISO/Joliet tracks (Mode1) can be imported."),
            Critical);
    }
}

void frmBurnData::mnuCDRecorderDiscInfo_Click() { forms::Instance<frmDataDiscInfo>().ShowDiscInfo(CDWriterXP1, this); }

void frmBurnData::mnuCDRecorderEraseDisc_Click() { forms::Instance<frmDataErase>().ShowErase(CDWriterXP1); }
