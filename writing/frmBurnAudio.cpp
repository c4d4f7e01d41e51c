#include "writing/frmBurnAudio.h"

#include "components/cdwriter/CDWriterXP.h"
#include "components/explorer/ExplorerViews.h"
#include "dialogs/Files.h"
#include "dialogs/frmAbout.h"
#include "engine/Docking.h"
#include "platform/forms/MsgBox.h"
#include "tools/ToolWindowSetup.h"
#include "writing/RecorderChoice.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

QString TwoDigits(qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// A percentage as the bars take it: rounded half to even, inside the bar's range.
int Percent(double value) { return std::clamp(static_cast<int>(std::nearbyint(value)), 0, 100); }

} // namespace

frmBurnAudio::frmBurnAudio()
{
    setCaption(QStringLiteral("Burn Audio CD"));
    CDWriterXP1 = new CDWriterXP(this);
    CreateControls();
    CreateMenus();
    Recorder = new RecorderChoice(*CDWriterXP1, *cboDevices, *cboWriteSpeed, *chkUseBurnProof);
    WireHandlers();
    WireWriterEvents();
}

frmBurnAudio::~frmBurnAudio() = default;

void frmBurnAudio::CreateControls()
{
    QWidget* client = Client();
    lvwAudioTracks = new forms::ListView(client);
    lvwAudioTracks->AddColumn(QStringLiteral("Track"), 900);
    lvwAudioTracks->AddColumn(QStringLiteral("File Name"), 4500);
    lvwAudioTracks->AddColumn(QStringLiteral("Type"), 900);
    lvwAudioTracks->AddColumn(QStringLiteral("Time"), 1200);
    lvwAudioTracks->AcceptFiles(true);
    lvwAudioTracks->Move(100, 120, 9000, 2000);
    lblDragAndDrop = new forms::Label(client, QStringLiteral("Drag and drop mp3 or wav files here"));
    lblDragAndDrop->setAlignment(Qt::AlignCenter);
    lblDragAndDrop->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblDragAndDrop->Move(3000, 900, 3600, 300);

    framBottom = new forms::Frame(client);
    framBottom->Move(0, 2300, 9200, 1650);
    cboDevices = new forms::ComboBox(framBottom, forms::ComboBox::Style::DropDownList);
    cboDevices->Move(120, 180, 4200, 315);
    cboWriteSpeed = new forms::ComboBox(framBottom, forms::ComboBox::Style::DropDownList);
    cboWriteSpeed->Move(4440, 180, 1080, 315);
    chkCacheFiles = new forms::CheckBox(framBottom, QStringLiteral("Cach files locally"));
    chkCacheFiles->setValue(forms::CheckValue::Checked);
    chkCacheFiles->Move(120, 600, 2100, 255);
    chkTestWrite = new forms::CheckBox(framBottom, QStringLiteral("Test Mode "));
    chkTestWrite->Move(2280, 600, 1400, 255);
    chkUseBurnProof = new forms::CheckBox(framBottom, QStringLiteral("Use Burn Proof"));
    chkUseBurnProof->Move(3720, 600, 1740, 255);
    cmdWriteDisc = new forms::CommandButton(framBottom, QStringLiteral("&Write Disc"));
    cmdWriteDisc->Move(6000, 150, 1400, 375);
    cmdCancel = new forms::CommandButton(framBottom, QStringLiteral("&Cancel"));
    cmdCancel->Move(7560, 150, 1400, 375);
    lblReadBuffer = new forms::Label(framBottom, QStringLiteral("Read Buffer%:  00"));
    lblReadBuffer->Move(5580, 600, 1720, 255);
    lblDriveBuffer = new forms::Label(framBottom, QStringLiteral("Drive Buffer%: 00"));
    lblDriveBuffer->Move(7350, 600, 1800, 255);
    prgTrackProgress = new forms::ProgressBar(framBottom);
    prgTrackProgress->Move(120, 960, 8840, 240);
    prgTotalProgress = new forms::ProgressBar(framBottom);
    prgTotalProgress->Move(120, 1280, 8840, 240);

    framExplorer = new forms::Frame(client, QStringLiteral("Explorer"));
    framExplorer->Move(120, 4000, 9050, 2800);
    ExplrTree = new ExplorerTree(framExplorer);
    ExplrTree->Move(120, 240, 3300, 2400);
    ExplrList = new ExplorerList(framExplorer, QStringLiteral("*.mp3;*.wav"));
    ExplrList->Move(3520, 240, 5400, 2400);

    sbrStatus = new forms::TextBox(client, QStringLiteral("Drag High Quality mp3 or wav Files"));
    sbrStatus->setLocked(true);
    sbrStatus->Move(0, 6850, 9200, 315);

    Move(Left(), Top(), 9400, 7900);
}

void frmBurnAudio::CreateMenus()
{
    using forms::MenuItem;
    QMenuBar* bar = menuBar();
    mnuFile = new MenuItem(bar, QStringLiteral("&File"));
    mnuFileClear = new MenuItem(mnuFile, QStringLiteral("Clear All Items"));
    mnuFileRemove = new MenuItem(mnuFile, QStringLiteral("Remove Track"));
    mnuFileSep2 = new MenuItem(mnuFile, QStringLiteral("-"));
    mnuFileExit = new MenuItem(mnuFile, QStringLiteral("Exit"));
    mnuCDRecorder = new MenuItem(bar, QStringLiteral("&CD-Recorder"));
    mnuCDRecorderEject = new MenuItem(mnuCDRecorder, QStringLiteral("Eject"));
    mnuCDRecorderCloseTray = new MenuItem(mnuCDRecorder, QStringLiteral("Close Tray"));
    mnuHelp = new MenuItem(bar, QStringLiteral("&Help"));
    mnuHelpAbout = new MenuItem(mnuHelp, QStringLiteral("About"));
}

void frmBurnAudio::WireHandlers()
{
    connect(lvwAudioTracks, &forms::ListView::FilesDropped, this, &frmBurnAudio::lvwAudioTracks_Drop);
    connect(cmdWriteDisc, &forms::CommandButton::Click, this, &frmBurnAudio::cmdWriteDisc_Click);
    connect(cmdCancel, &forms::CommandButton::Click, this, &frmBurnAudio::cmdCancel_Click);
    connect(ExplrTree, &ExplorerTree::PathChange, this, [this] { ExplrList->setPath(ExplrTree->Path()); });
    connect(mnuFileExit, &forms::MenuItem::Click, this, [this] { Unload(); });
    connect(mnuCDRecorderEject, &forms::MenuItem::Click, this, [this] { CDWriterXP1->EjectDisc(); });
    connect(mnuCDRecorderCloseTray, &forms::MenuItem::Click, this, [this] { CDWriterXP1->LoadDisc(); });
    connect(mnuHelpAbout, &forms::MenuItem::Click, this, [] { forms::Instance<frmAbout>().Show(); });
    connect(mnuFileClear, &forms::MenuItem::Click, this, [this] {
        CDWriterXP1->ClearTracks();
        lvwAudioTracks->Clear();
    });
    connect(mnuFileRemove, &forms::MenuItem::Click, this, [this] {
        const int row = lvwAudioTracks->SelectedIndex();
        if (row == 0) return;
        CDWriterXP1->RemoveTrack(row);
        RefreshTrackList();
    });
}

void frmBurnAudio::WireWriterEvents()
{
    CDWriterXP* w = CDWriterXP1;
    connect(w, &CDWriterXP::TrackEnumerated, this, [this](const QString& file, const QString&, qint64 length, int, int track) {
        QString path = file;
        lvwAudioTracks->Add({TwoDigits(track), QFileInfo(file).fileName(), Files::GetFileExtension(path).toUpper(),
            CDWriterXP1->SizeToTime(length)});
    });
    connect(w, &CDWriterXP::PreparingToWrite, this, [this] {
        sbrStatus->setText(QStringLiteral("Preparing to Write Disc...."));
        prgTrackProgress->setValue(0);
        prgTotalProgress->setValue(0);
        SetUiEnabled(false);
    });
    connect(w, &CDWriterXP::PreparingTrack, this, [this](int track, qint64 size) {
        sbrStatus->setText(QStringLiteral("Preparing to Write Track #") + TwoDigits(track));
        prgTrackProgress->setValue(0);
        trackSize_ = size;
    });
    connect(w, &CDWriterXP::WriteProgress, this, [this](int track, qint64 written, int buffer) {
        lblDriveBuffer->setCaption(QStringLiteral("Drive Buffer%: ") + TwoDigits(buffer));
        const double trackPercent = trackSize_ > 0 ? double(written) / double(trackSize_) * 100 : 0;
        const double totalPercent = trackCount_ > 0 ? ((track - 1) + trackPercent / 100) / trackCount_ * 100 : 0;
        prgTrackProgress->setValue(Percent(trackPercent));
        prgTotalProgress->setValue(Percent(totalPercent));
        sbrStatus->setText(QStringLiteral("Writing Track #") + TwoDigits(track) + QStringLiteral("... "));
    });
    connect(w, &CDWriterXP::ReadBufferLevel, this,
        [this](int percent) { lblReadBuffer->setCaption(QStringLiteral("Read Buffer%:  ") + TwoDigits(percent)); });
    connect(w, &CDWriterXP::CachingStarted, this, [this](int track, qint64 total) {
        cachingTrack_ = track;
        cachingTotal_ = total;
    });
    connect(w, &CDWriterXP::CachingProgress, this, [this](qint64 done) {
        const double percent = cachingTotal_ > 0 ? double(done) / double(cachingTotal_) * 100 : 0;
        sbrStatus->setText(QStringLiteral("Caching and Processing Track #") + TwoDigits(cachingTrack_) + QStringLiteral(" - %")
            + TwoDigits(Percent(percent)));
    });
    connect(w, &CDWriterXP::ClosingTrack, this,
        [this](int track) { sbrStatus->setText(QStringLiteral("Closing Track....#") + TwoDigits(track)); });
    connect(w, &CDWriterXP::ClosingDisc, this, [this] { sbrStatus->setText(QStringLiteral("Closing Disc....")); });
    connect(w, &CDWriterXP::WriteError, this, [this](const QString& description, int number) {
        forms::MsgBox(QStringLiteral("A write error occurred: ") + description + QStringLiteral(" (") + QString::number(number)
                + QLatin1Char(')'),
            forms::MsgBoxStyle::Critical);
        SetUiEnabled(true);
        sbrStatus->setText(QStringLiteral("A write error occurred.."));
    });
    connect(w, &CDWriterXP::WriteCancelled, this, [this] {
        sbrStatus->setText(QStringLiteral("Writing Cancelled......"));
        SetUiEnabled(true);
    });
    connect(w, &CDWriterXP::WriteComplete, this, [this] {
        sbrStatus->setText(QStringLiteral("Writing Complete!"));
        SetUiEnabled(true);
        forms::MsgBox(QStringLiteral("Writing is complete!"), forms::MsgBoxStyle::Information);
        if (!CDWriterXP1->TestWrite()) CDWriterXP1->EjectDisc();
    });
}

void frmBurnAudio::Form_Load()
{
    Recorder->FillDeviceList();
    SetUiEnabled(true);
    ToolWindowSetup(*this);
    // Where the original started at the first drive's root, the user's home folder.
    ExplrTree->setPath(QDir::homePath());
    ExplrList->setPath(QDir::homePath());
    ExplrList->setViewMode(ExplorerList::View::Details);
}

void frmBurnAudio::Form_Unload(int& cancel)
{
    Docking::DetachForm(this);
    if (!uiEnabled_) cancel = 1;
}

void frmBurnAudio::Form_Resize()
{
    const double w = ScaleWidth();
    const double h = ScaleHeight();
    const double bottomHeight = framBottom->Height();
    const double explorerHeight = framExplorer->Height();
    const double statusHeight = sbrStatus->Height();
    // A window made very small squeezes the track list and the explorer to nothing.
    const auto atLeast0 = [](double v) { return std::max(0.0, v); };
    framBottom->Move(0, h - bottomHeight - statusHeight - explorerHeight, atLeast0(w), bottomHeight);
    lvwAudioTracks->Move(100, lvwAudioTracks->Top(), atLeast0(w - 200),
        atLeast0(h - lvwAudioTracks->Top() - bottomHeight - explorerHeight - 300));
    sbrStatus->Move(0, h - statusHeight, atLeast0(w), statusHeight);
    framExplorer->Move(120, h - explorerHeight - statusHeight, atLeast0(w - 150), explorerHeight);
    ExplrTree->Move(120, 240, ExplrTree->Width(), atLeast0(explorerHeight - 400));
    const double listLeft = ExplrList->Left();
    ExplrList->Move(ExplrTree->Left() + ExplrTree->Width() + 100, ExplrTree->Top(),
        atLeast0(framExplorer->Width() - listLeft - 150), ExplrTree->Height());
    lblDragAndDrop->Move(w / 2 - lblDragAndDrop->Width() / 2, lblDragAndDrop->Top(), lblDragAndDrop->Width(),
        lblDragAndDrop->Height());
}

void frmBurnAudio::SetUiEnabled(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*> {cboDevices, cboWriteSpeed, lvwAudioTracks, cmdWriteDisc, chkCacheFiles, chkTestWrite})
        control->setEnabled(enabled);
    for (forms::MenuItem* menu : {mnuFile, mnuCDRecorder, mnuHelp})
        menu->setEnabled(enabled);
    chkUseBurnProof->setEnabled(enabled && CDWriterXP1->SupportsBurnProof());
    cmdCancel->setEnabled(!enabled);
    uiEnabled_ = enabled;
    if (enabled) unsetCursor();
    else setCursor(Qt::WaitCursor);
}

void frmBurnAudio::RefreshTrackList()
{
    trackCount_ = CDWriterXP1->TrackCount();
    lvwAudioTracks->Clear();
    CDWriterXP1->ListTracks();
    sbrStatus->setText(CDWriterXP1->SizeToTime(CDWriterXP1->TotalBlocks()) + QStringLiteral(" Mins. Used"));
    trackCount_ = CDWriterXP1->TrackCount();
}

void frmBurnAudio::lvwAudioTracks_Drop(const QStringList& files)
{
    lblDragAndDrop->setVisible(false);
    int position = std::max(1, lvwAudioTracks->SelectedIndex());
    setCursor(Qt::WaitCursor);
    for (const QString& file : files) {
        if (QFileInfo(file).isDir()) continue;
        if (!CDWriterXP1->AddTrack(file, position))
            forms::MsgBox(QFileInfo(file).fileName() + QStringLiteral(" - Invalid Audio Format...High quality .mp3 & .wav files only!"),
                forms::MsgBoxStyle::Information);
        ++position;
    }
    RefreshTrackList();
    unsetCursor();
}

void frmBurnAudio::cmdWriteDisc_Click()
{
    if (Recorder->SelectedDrive() < 0) {
        forms::MsgBox(QStringLiteral("A drive is not selected or does not exist."), forms::MsgBoxStyle::Information);
        return;
    }
    if (!CDWriterXP1->DiscPresent()) {
        forms::MsgBox(QStringLiteral("Please load an empty disc for recording."), forms::MsgBoxStyle::Information);
        return;
    }
    if (CDWriterXP1->DiscStatus() != 0) {
        forms::MsgBox(QStringLiteral("Please insert an empty disc for recording."), forms::MsgBoxStyle::Information);
        return;
    }
    CDWriterXP1->setCacheFiles(chkCacheFiles->Value() == forms::CheckValue::Checked);
    CDWriterXP1->setWriteType(0);
    CDWriterXP1->setTestWrite(chkTestWrite->Value() == forms::CheckValue::Checked);
    CDWriterXP1->setFinalizeDisc(true);
    CDWriterXP1->setCloseSession(true);
    CDWriterXP1->UseBurnProof(chkUseBurnProof->Value() == forms::CheckValue::Checked);
    if (!CDWriterXP1->StartWrite())
        forms::MsgBox(QStringLiteral("Disc Write could not be started."), forms::MsgBoxStyle::Critical);
}

void frmBurnAudio::cmdCancel_Click()
{
    sbrStatus->setText(QStringLiteral("Aborting Write...Please Wait!"));
    CDWriterXP1->AbortWrite();
}
