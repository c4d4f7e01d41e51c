#include "tools/frmAudioRecord.h"

#include "dialogs/LumoCommonDialog.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "platform/settings/Settings.h"
#include "tools/GeneralDate.h"
#include "tools/ToolWindowSetup.h"
#include "tools/frmSettings.h"
#include "tools/modWave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace modWave;

namespace {

const QString App = QStringLiteral("AudioRecorder");
const QString Section = QStringLiteral("StartUp");
const QString LineBreak = QStringLiteral("\r\n");

// A stored whole number, or the default when the stored text is none or out of the field's range.
template <class T> T StoredNumber(const QString& key, T defaultValue)
{
    bool ok = false;
    const qlonglong v
        = settings::GetSetting(App, Section, key, QString::number(defaultValue)).trimmed().toLongLong(&ok);
    if (!ok || v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) return defaultValue;
    return static_cast<T>(v);
}

bool StoredBoolean(const QString& key, bool defaultValue)
{
    const QString text = settings::GetSetting(App, Section, key, defaultValue ? "True" : "False").trimmed();
    if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return true;
    if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v != 0 : defaultValue;
}

frmSettings& SettingsWindow()
{
    // Touching the settings window loads it, hidden, when it is not loaded.
    frmSettings& window = forms::Instance<frmSettings>();
    window.Load();
    return window;
}

// The name Save proposes for a recording made with a MIDI file playing: a WAV file beside it. The
// MIDI file's extension, in whatever letter case, gives way to ".wav"; the MIDI file itself is
// never offered to be overwritten.
QString RecordingNameBeside(const QString& midiFile)
{
    const QFileInfo midi(midiFile);
    const QString folder = midiFile.left(midiFile.size() - midi.fileName().size());
    const QString base = midi.suffix().isEmpty() ? midi.fileName() : midi.completeBaseName();
    const QString name = folder + base + QStringLiteral(".wav");
    return name == midiFile ? midiFile + QStringLiteral(".wav") : name;
}

} // namespace

frmAudioRecord::frmAudioRecord()
{
    setCaption(QStringLiteral("Audio Record"));
    CreateControls();
    connect(cmdRecord, &forms::CommandButton::Click, this, &frmAudioRecord::cmdRecord_Click);
    connect(cmdStop, &forms::CommandButton::Click, this, &frmAudioRecord::cmdStop_Click);
    connect(cmdPlay, &forms::CommandButton::Click, this, &frmAudioRecord::cmdPlay_Click);
    connect(cmdSave, &forms::CommandButton::Click, this, &frmAudioRecord::cmdSave_Click);
    connect(cmdReset, &forms::CommandButton::Click, this, &frmAudioRecord::cmdReset_Click);
    connect(cmdSettings, &forms::CommandButton::Click, this, &frmAudioRecord::cmdSettings_Click);
    connect(Timer2, &forms::Timer::Tick, this, &frmAudioRecord::Timer2_Timer);
}

void frmAudioRecord::CreateControls()
{
    QWidget* client = Client();
    const struct {
        forms::CommandButton*& button;
        const char* caption;
        const char* tip;
        bool enabled;
    } buttons[] = {
        {cmdRecord, "Record", "Start recording immediate", true},
        {cmdStop, "Stop", "Stop recording or playing", false},
        {cmdPlay, "Play", "Play the recording", false},
        {cmdSave, "Save", "Save the recording as as WAV file", false},
        {cmdReset, "Reset", "To start a new recording and adjusting all settings", true},
        {cmdSettings, "Settings", "Change rate, stereo/mono, 8/16 bits and program an automatic recording", true},
    };
    double left = 120;
    for (const auto& b : buttons) {
        b.button = new forms::CommandButton(client, QString::fromLatin1(b.caption));
        b.button->setToolTip(QString::fromLatin1(b.tip));
        b.button->setEnabled(b.enabled);
        b.button->Move(left, 120, 1095, 375);
        left += 1200;
    }

    Frame5 = new forms::Frame(client, QStringLiteral("Starting position for play (in milliseconds)"));
    Frame5->Move(120, 600, 7095, 855);
    Slider1 = new forms::Slider(Frame5);
    Slider1->setToolTip(QStringLiteral("You can choose a beginning for playing the recording"));
    Slider1->Move(120, 300, 6855, 435);

    Frame4 = new forms::Frame(client, QStringLiteral("Statistics"));
    Frame4->Move(120, 1560, 7095, 1935);
    StatisticsLabel = new SkinLabel(Frame4);
    StatisticsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    StatisticsLabel->Move(120, 300, 6855, 1515);

    Timer2 = new forms::Timer(this, 1000, true);
    CommonDialog1 = new LumoCommonDialog(client);
    CommonDialog1->setVisible(false);

    Move(Left(), Top(), 7455, 3615 + (Height() - ScaleHeight()));
}

void frmAudioRecord::ReadStoredSettings()
{
    Rate = StoredNumber<std::int32_t>(QStringLiteral("Rate"), 11025);
    Channels = StoredNumber<std::int16_t>(QStringLiteral("Channels"), 1);
    Resolution = StoredNumber<std::int16_t>(QStringLiteral("Resolution"), 16);
    WaveFileName = settings::GetSetting(
        App, Section, QStringLiteral("WaveFileName"), QDir::homePath() + QStringLiteral("/Radio.wav"));
    WaveAutomaticSave = StoredBoolean(QStringLiteral("WaveAutomaticSave"), true);
}

bool frmAudioRecord::StoreSettings()
{
    return settings::SaveSettings(App, Section,
        {
            {QStringLiteral("Rate"), QString::number(Rate)},
            {QStringLiteral("Channels"), QString::number(Channels)},
            {QStringLiteral("Resolution"), QString::number(Resolution)},
            {QStringLiteral("WaveFileName"), WaveFileName},
            {QStringLiteral("WaveAutomaticSave"), WaveAutomaticSave ? QStringLiteral("True") : QStringLiteral("False")},
        });
}

void frmAudioRecord::Form_Load()
{
    ToolWindowSetup(*this);
    OpenWaveDevice();
    ReadStoredSettings();
    RecordImmediate = true;
    RecordingDone = false;
    RecordingActive = false;
    Playing = false;
    SetWaveFormat();
    StartTime = QDateTime::currentDateTime().addSecs(15 * 60);
    StopTime = StartTime.addSecs(15 * 60);
    MidiFileName.clear();
    RenamePending = false;
}

void frmAudioRecord::cmdRecord_Click()
{
    OpenWaveDevice();
    SetWaveFormat();
    StartRecording();
    StartTime = QDateTime::currentDateTime();
    cmdStop->setEnabled(true);
    cmdPlay->setEnabled(false);
    cmdSave->setEnabled(false);
    cmdRecord->setEnabled(false);
}

void frmAudioRecord::cmdStop_Click()
{
    StopRecording();
    cmdSave->setEnabled(true);
    cmdPlay->setEnabled(true);
    cmdStop->setEnabled(false);
    const std::int32_t p = GetWavePosition();
    if (p == 0) {
        Slider1->setMax(10);
    } else if (RecordImmediate) {
        if (!Playing) Slider1->setMax(GetWavePosition());
    } else if (RecordingActive) {
        Slider1->setMax(GetWavePosition());
    }
    if (RecordingActive) RecordingDone = true;
    StopTime = QDateTime::currentDateTime();
    RecordingActive = false;
    Playing = false;

    frmSettings& settings = SettingsWindow();
    settings.optRecordProgrammed->setValue(false);
    settings.optRecordImmediate->setValue(true);
    settings.lblTimes->setVisible(false);
}

void frmAudioRecord::cmdPlay_Click()
{
    PlayFromPosition(Slider1->Value());
    Playing = true;
    cmdStop->setEnabled(true);
    cmdPlay->setEnabled(false);
}

void frmAudioRecord::cmdSave_Click()
{
    QString proposal;
    if (!MidiFileName.isEmpty()) {
        proposal = RecordingNameBeside(MidiFileName);
    } else {
        proposal
            = QStringLiteral("Radio_from_") + GeneralDate(StartTime) + QStringLiteral("_to_") + GeneralDate(StopTime);
        proposal.replace(QLatin1Char(':'), QLatin1Char('-'))
            .replace(QLatin1Char(' '), QLatin1Char('_'))
            .replace(QLatin1Char('/'), QLatin1Char('-'));
    }
    CommonDialog1->setFileName(proposal);
    CommonDialog1->setCancelError(true);
    CommonDialog1->setFilter(QStringLiteral("WAV file (*.wav*)|*.wav"));
    CommonDialog1->setFlags(1026);
    try {
        CommonDialog1->ShowSave();
    } catch (const forms::RuntimeError&) {
        return; // cancelled
    }
    SaveRecording(CommonDialog1->FileName());
}

void frmAudioRecord::ClearRecording()
{
    Slider1->setMax(10);
    Slider1->setValue(0);
    Slider1->Refresh();
    cmdRecord->setEnabled(true);
    cmdStop->setEnabled(false);
    cmdPlay->setEnabled(false);
    cmdSave->setEnabled(false);
    OpenWaveDevice();
    ReadStoredSettings();
    RecordImmediate = true;
    RecordingDone = false;
    RecordingActive = false;
    Playing = false;
    // The settings window shows the values in use: loaded before they were read again, it is
    // loaded afresh the next time it is touched, and selects them then.
    if (auto* settings = forms::Instances::Existing<frmSettings>()) settings->Unload();
}

void frmAudioRecord::cmdReset_Click()
{
    ClearRecording();
    MidiFileName.clear();
    SetWaveFormat();
    PendingRename();
}

void frmAudioRecord::cmdSettings_Click()
{
    if (forms::MsgBox(QStringLiteral("If you continue your data will be lost!"), forms::MsgBoxStyle::OKCancel)
        == forms::MsgBoxResult::Cancel)
        return;
    ClearRecording();
    SetWaveFormat();
    frmSettings& settings = SettingsWindow();
    settings.optRecordImmediate->setValue(true);
    settings.Show(forms::ShowMode::Modal);
}

QString frmAudioRecord::TimeText() const
{
    return QStringLiteral("Start time:  ") + GeneralDate(StartTime) + LineBreak + QStringLiteral("Stop time:  ")
        + GeneralDate(StopTime);
}

void frmAudioRecord::Timer2_Timer()
{
    // A box shown by one tick must not let the next tick in underneath it.
    if (ticking_) return;
    ticking_ = true;
    const QString timeText = TimeText();
    GetWaveStatistics();
    if (!RecordImmediate) {
        StatisticsText += QStringLiteral("Programmed recording")
            + (WaveAutomaticSave ? QStringLiteral(" (automatic save)") : QStringLiteral(" (manual save)")) + LineBreak
            + LineBreak + timeText;
    }
    StatisticsLabel->setCaption(StatisticsText);
    GetWaveMode();
    if (Caption() != ModeText) setCaption(ModeText);
    if (Caption().contains(QStringLiteral("stopped"))) {
        cmdStop->setEnabled(false);
        cmdPlay->setEnabled(true);
    }
    frmSettings& settings = SettingsWindow();
    if (settings.lblTimes->Caption() != timeText) settings.lblTimes->setCaption(timeText);

    const QDateTime now = QDateTime::currentDateTime();
    if (now > StartTime && !RecordImmediate && !RecordingDone && !RecordingActive) {
        OpenWaveDevice();
        SetWaveFormat();
        StartRecording();
        RecordingActive = true;
        cmdStop->setEnabled(true);
        cmdPlay->setEnabled(false);
        cmdSave->setEnabled(false);
        cmdRecord->setEnabled(false);
    }
    if (QDateTime::currentDateTime() > StopTime && !RecordImmediate && !RecordingDone) ProgrammedStop();
    ticking_ = false;
}

QString frmAudioRecord::AutomaticSaveName()
{
    QString name
        = QStringLiteral("Radio_from_") + GeneralDate(StartTime) + QStringLiteral("_to_") + GeneralDate(StopTime);
    name.replace(QLatin1Char(':'), QLatin1Char('.'))
        .replace(QLatin1Char(' '), QLatin1Char('_'))
        .replace(QLatin1Char('/'), QLatin1Char('-'));
    // The file goes into the folder of the file name chosen for automatic saving.
    const QFileInfo chosen(WaveFileName);
    const QString folder
        = chosen.isAbsolute() && chosen.absoluteDir().exists() ? chosen.absolutePath() : QDir::homePath();
    return folder + QLatin1Char('/') + name + QStringLiteral(".wav");
}

void frmAudioRecord::ProgrammedStop()
{
    StopRecording();
    cmdSave->setEnabled(true);
    cmdPlay->setEnabled(true);
    cmdStop->setEnabled(false);
    Slider1->setMax(GetWavePosition() >= 1 ? GetWavePosition() : 10);
    RecordingActive = false;
    RecordingDone = true;
    if (WaveAutomaticSave) {
        WaveFileName = AutomaticSaveName();
        SaveRecording(WaveFileName);
        forms::MsgBox(
            QStringLiteral("Recording has been saved") + LineBreak + QStringLiteral("Filename: ") + WaveFileName);
    } else {
        forms::MsgBox(
            QStringLiteral("Recording is ready") + LineBreak + QStringLiteral("Don't forget to save recording..."));
    }
    frmSettings& settings = SettingsWindow();
    settings.optRecordProgrammed->setValue(false);
    settings.optRecordImmediate->setValue(true);
}

void frmAudioRecord::PendingRename()
{
    if (!RenamePending) return;
    // The recording saved under its short name takes its real name; an older file of that name
    // gives way only when the recording is really there.
    if (QFileInfo::exists(PendingShortName)) {
        if (QFileInfo::exists(PendingLongName)) QFile::remove(PendingLongName);
        QFile::rename(PendingShortName, PendingLongName);
    }
    RenamePending = false;
    PendingShortName.clear();
}

void frmAudioRecord::Form_Unload(int& /*cancel*/)
{
    Timer2->setEnabled(false);
    CloseWaveDevice();
    if (!StoreSettings())
        forms::SettingsNotSaved(QStringLiteral("The sound recorder's settings"), settings::StorePath(App));
    PendingRename();
}
