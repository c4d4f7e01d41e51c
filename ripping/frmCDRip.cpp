#include "ripping/frmCDRip.h"

#include "components/cdripper/CDRipperX.h"
#include "components/encoders/MP3EncoderX.h"
#include "components/encoders/VorbisEncoderX.h"
#include "components/encoders/WMAEncoderX.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "ripping/frmExtract.h"
#include "ripping/frmMp3Settings.h"
#include "ripping/frmVorbisSettings.h"
#include "ripping/frmWMASettings.h"
#include "tools/ToolWindowSetup.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr double FixedWidth = 8370;
constexpr double FixedHeight = 5775;

QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

frmCDRip::frmCDRip()
{
    setCaption(QStringLiteral("Tessel CD Ripper"));
    CDRipperX1 = new CDRipperX(this);
    MP3EncoderX1 = new MP3EncoderX(this);
    VorbisEncoderX1 = new VorbisEncoderX(this);
    WMAEncoderX1 = new WMAEncoderX(this);
    CreateControls();
    CreateMenus();
    WireHandlers();
}

frmCDRip::~frmCDRip() = default;

void frmCDRip::CreateControls()
{
    QWidget* client = Client();
    // The tool band: the drive, the read speed and the encoder.
    const struct {
        const char* caption;
        forms::ComboBox*& combo;
        double left, labelWidth, width;
    } bands[] = {
        {"Device", cboDevices, 60, 600, 3300},
        {"Speed", cboSpeeds, 4020, 540, 1080},
        {"Encoder", cboEncoders, 5700, 720, 1440},
    };
    for (const auto& band : bands) {
        auto* label = new forms::Label(client, QString::fromLatin1(band.caption));
        label->Move(band.left, 90, band.labelWidth, 255);
        band.combo = new forms::ComboBox(client, forms::ComboBox::Style::DropDownList);
        band.combo->Move(band.left + band.labelWidth, 30, band.width, 315);
    }
    for (const auto& [name, format] : {std::pair {"Mp3", 0}, {"Wav", 1}, {"Vorbis", 2}, {"WMA", 3}}) {
        cboEncoders->AddItem(QString::fromLatin1(name));
        cboEncoders->setItemData(cboEncoders->ListCount() - 1, format);
    }

    lvwTracks = new forms::ListView(client);
    lvwTracks->setCheckboxes(true);
    lvwTracks->AddColumn(QString(), 360);
    lvwTracks->AddColumn(QStringLiteral("Track"), 720);
    lvwTracks->AddColumn(QStringLiteral("Start Time"), 1200);
    lvwTracks->AddColumn(QStringLiteral("End Time"), 1200);
    lvwTracks->AddColumn(QStringLiteral("Length"), 1200);
    lvwTracks->AddColumn(QStringLiteral("Track Type"), 1200, forms::ListView::Align::Center);
    lvwTracks->AddColumn(QStringLiteral("Copy Allowed"), 1320, forms::ListView::Align::Center);
    lvwTracks->Move(60, 450, 8130, 3150);

    const struct {
        forms::CommandButton*& button;
        const char* caption;
        const char* tip;
    } buttons[] = {
        {cmdBack, "|<<", "Previous Track"},
        {cmdPlay, ">", "Play"},
        {cmdPause, "| |", "Pause"},
        {cmdStop, "[]", "Stop"},
        {cmdForward, ">>|", "Next Track"},
        {cmdEject, "Eject", "Open Tray"},
        {cmdLoad, "Load", "Close Tray"},
    };
    double left = 60;
    for (const auto& b : buttons) {
        b.button = new forms::CommandButton(client, QString::fromLatin1(b.caption));
        b.button->setToolTip(QString::fromLatin1(b.tip));
        b.button->setAccessibleName(QString::fromLatin1(b.tip));
        b.button->Move(left, 3720, 660, 390);
        left += 690;
    }
    cmdExtract = new forms::CommandButton(client, QStringLiteral("Extract A&udio"));
    cmdExtract->Move(6330, 3720, 1860, 390);

    sbrStatus = new forms::StatusBar(this, 3);
    Timer1 = new forms::Timer(this, 200, true);

    Move(Left(), Top(), FixedWidth, FixedHeight);
}

void frmCDRip::CreateMenus()
{
    using forms::MenuItem;
    QMenuBar* bar = menuBar();
    mnuFile = new MenuItem(bar, QStringLiteral("&File"));
    mnuFileSelectAll = new MenuItem(mnuFile, QStringLiteral("Select All Tracks"));
    mnuFileNone = new MenuItem(mnuFile, QStringLiteral("Deselect All Tracks"));
    mnuFileExit = new MenuItem(mnuFile, QStringLiteral("Exit"));
    mnuExtract = new MenuItem(bar, QStringLiteral("&Extract"));
    mnuExtractSelectedTracks = new MenuItem(mnuExtract, QStringLiteral("Selected Track(s)"));
    mnuSettings = new MenuItem(bar, QStringLiteral("&Settings"));
    mnuSettingsMP3 = new MenuItem(mnuSettings, QStringLiteral("Mp3 Settings..."));
    mnuSettingsVorbis = new MenuItem(mnuSettings, QStringLiteral("Ogg-Vorbis Settings..."));
    mnuSettingsWMA = new MenuItem(mnuSettings, QStringLiteral("Windows Media Settings..."));
}

void frmCDRip::WireHandlers()
{
    connect(cboDevices, &forms::ComboBox::Click, this, &frmCDRip::cboDevices_Click);
    connect(cboSpeeds, &forms::ComboBox::Click, this, &frmCDRip::cboSpeeds_Click);
    connect(cboEncoders, &forms::ComboBox::Click, this, &frmCDRip::cboEncoders_Click);
    connect(cmdPlay, &forms::CommandButton::Click, this, &frmCDRip::cmdPlay_Click);
    connect(cmdPause, &forms::CommandButton::Click, this, &frmCDRip::cmdPause_Click);
    connect(cmdStop, &forms::CommandButton::Click, this, [this] { CDRipperX1->StopPlay(); });
    connect(cmdEject, &forms::CommandButton::Click, this, [this] { CDRipperX1->EjectDisc(); });
    connect(cmdLoad, &forms::CommandButton::Click, this, [this] { CDRipperX1->LoadDisc(); });
    connect(cmdBack, &forms::CommandButton::Click, this, &frmCDRip::cmdBack_Click);
    connect(cmdForward, &forms::CommandButton::Click, this, &frmCDRip::cmdForward_Click);
    connect(cmdExtract, &forms::CommandButton::Click, this, &frmCDRip::cmdExtract_Click);
    connect(mnuExtractSelectedTracks, &forms::MenuItem::Click, this, &frmCDRip::cmdExtract_Click);
    connect(mnuFileSelectAll, &forms::MenuItem::Click, this, [this] { CheckAllTracks(true); });
    connect(mnuFileNone, &forms::MenuItem::Click, this, [this] { CheckAllTracks(false); });
    connect(mnuFileExit, &forms::MenuItem::Click, this, [this] { Unload(); });
    connect(Timer1, &forms::Timer::Tick, this, &frmCDRip::Timer1_Timer);
    connect(mnuSettingsMP3, &forms::MenuItem::Click, this, [this] { forms::Instance<frmMp3Settings>().ShowForm(*MP3EncoderX1, this); });
    connect(mnuSettingsVorbis, &forms::MenuItem::Click, this,
        [this] { forms::Instance<frmVorbisSettings>().ShowForm(*VorbisEncoderX1, this); });
    connect(mnuSettingsWMA, &forms::MenuItem::Click, this, [this] { forms::Instance<frmWMASettings>().ShowForm(*WMAEncoderX1, this); });
}

void frmCDRip::Form_Load()
{
    cboEncoders->setListIndex(0);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    Move(((screen.width() * 15.0) - Width()) / 2, ((screen.height() * 15.0) - Height()) / 2, Width(), Height());

    for (int i = 0; i < CDRipperX1->DeviceCount(); ++i)
        cboDevices->AddItem(CDRipperX1->DeviceTextA(i) + QStringLiteral(": ") + CDRipperX1->DeviceTextB(i)
            + QLatin1Char(' ') + CDRipperX1->DeviceTextC(i));
    if (cboDevices->ListCount() > 0) cboDevices->setListIndex(0);

    ToolWindowSetup(*this);
}

void frmCDRip::Form_Unload(int& /*cancel*/) { m_objEncoder = nullptr; }

void frmCDRip::Form_Resize()
{
    if (State() == forms::WindowState::Minimized) return;
    if (Height() != FixedHeight || Width() != FixedWidth) Move(Left(), Top(), FixedWidth, FixedHeight);
}

void frmCDRip::cboDevices_Click()
{
    try {
        Timer1->setEnabled(false);
        lvwTracks->Clear();
        if (CDRipperX1->OpenDevice(cboDevices->ListIndex())) {
            FillSpeedList();
            if (CDRipperX1->DiscPresent()) {
                m_bNeedRefresh = false;
                for (int t = 1; t <= CDRipperX1->TrackCount(); ++t) {
                    const int start = CDRipperX1->TrackStart(t);
                    const int length = CDRipperX1->TrackLength(t);
                    const int end = static_cast<int>(static_cast<quint32>(start) + static_cast<quint32>(length));
                    lvwTracks->Add({QString(), TwoDigits(t), CDRipperX1->FormatTime(start), CDRipperX1->FormatTime(end),
                        CDRipperX1->FormatTime(length),
                        CDRipperX1->IsAudioTrack(t) ? QStringLiteral("Audio") : QStringLiteral("Data "),
                        CDRipperX1->IsCopyProtected(t) ? QStringLiteral("N") : QStringLiteral("Y")});
                }
            }
        } else {
            CDRipperX1->LastError();
        }
        Timer1->setEnabled(true);
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(QStringLiteral("Error# ") + QString::number(e.Number()) + QLatin1Char(' ') + e.Description(),
            forms::MsgBoxStyle::OKOnly);
    }
}

void frmCDRip::FillSpeedList()
{
    cboSpeeds->Clear();
    cboSpeeds->AddItem(QStringLiteral("AUTO"));
    cboSpeeds->setItemData(0, 0);
    for (int s = 1; s <= CDRipperX1->MaxSpeed(); s = s > 4 ? s + 4 : s * 2) {
        cboSpeeds->AddItem(QString::number(s) + QLatin1Char('X'));
        cboSpeeds->setItemData(cboSpeeds->ListCount() - 1, s);
    }
    cboSpeeds->setListIndex(0);
}

void frmCDRip::cboSpeeds_Click()
{
    if (cboSpeeds->ListIndex() >= 0) CDRipperX1->SetSpeed(cboSpeeds->ItemData(cboSpeeds->ListIndex()));
}

void frmCDRip::cboEncoders_Click()
{
    const int format = cboEncoders->ListIndex() >= 0 ? cboEncoders->ItemData(cboEncoders->ListIndex()) : -1;
    switch (format) {
    case 0: m_objEncoder = MP3EncoderX1; break;
    case 2: m_objEncoder = VorbisEncoderX1; break;
    case 3: m_objEncoder = WMAEncoderX1; break;
    default:
        m_objEncoder = nullptr;
        CDRipperX1->setUseEncoder(false);
        return;
    }
    CDRipperX1->SetEncoder(m_objEncoder);
    CDRipperX1->setUseEncoder(true);
}

int frmCDRip::SelectedTrackIndex() const { return lvwTracks->SelectedIndex(); }

void frmCDRip::cmdPlay_Click() { CDRipperX1->PlayTrack(SelectedTrackIndex()); }

void frmCDRip::cmdPause_Click()
{
    if (CDRipperX1->PlayState() != CDRipperX::Paused)
        CDRipperX1->PausePlay();
    else
        CDRipperX1->ResumePlay();
}

void frmCDRip::cmdBack_Click()
{
    const int i = SelectedTrackIndex();
    if (i <= 1) return;
    lvwTracks->setSelectedIndex(i - 1);
    cmdPlay_Click();
}

void frmCDRip::cmdForward_Click()
{
    const int i = SelectedTrackIndex();
    if (i >= lvwTracks->Count()) return;
    lvwTracks->setSelectedIndex(i + 1);
    cmdPlay_Click();
}

void frmCDRip::SetTransportEnabled(bool enabled)
{
    for (forms::CommandButton* b : {cmdBack, cmdForward, cmdPause, cmdPlay, cmdStop})
        b->setEnabled(enabled);
}

void frmCDRip::Timer1_Timer()
{
    switch (CDRipperX1->PlayState()) {
    case CDRipperX::Playing:
        sbrStatus->setPanelText(1, QStringLiteral("Playing..."));
        SetTransportEnabled(true);
        break;
    case CDRipperX::Paused:
        sbrStatus->setPanelText(1, QStringLiteral("Paused..."));
        SetTransportEnabled(true);
        break;
    case CDRipperX::NoDisc:
        sbrStatus->setPanelText(1, QStringLiteral("No Disc Loaded..."));
        SetTransportEnabled(false);
        lvwTracks->Clear();
        m_bNeedRefresh = true;
        break;
    case CDRipperX::Stopped:
        sbrStatus->setPanelText(1, QStringLiteral("Disc Loaded..."));
        if (m_bNeedRefresh) cboDevices_Click();
        SetTransportEnabled(true);
        break;
    default: sbrStatus->setPanelText(1, QStringLiteral("No Status")); break;
    }
    sbrStatus->setPanelText(2, QStringLiteral("Track:") + TwoDigits(CDRipperX1->CurrentTrack()) + QString(10, QLatin1Char(' ')));
    sbrStatus->setPanelText(3, QStringLiteral("Time:") + CDRipperX1->FormatTime(CDRipperX1->PlayPosition()));
}

void frmCDRip::cmdExtract_Click()
{
    Timer1->setEnabled(false);
    const int format = cboEncoders->ListIndex() >= 0 ? cboEncoders->ItemData(cboEncoders->ListIndex()) : -1;
    forms::Instance<frmExtract>().ShowExtract(*CDRipperX1, format);
    Timer1->setEnabled(true);
}

void frmCDRip::CheckAllTracks(bool checked)
{
    for (int i = 1; i <= lvwTracks->Count(); ++i)
        lvwTracks->setChecked(i, checked);
}
