#include "tools/frmSettings.h"

#include "dialogs/LumoCommonDialog.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "tools/GeneralDate.h"
#include "tools/ToolWindowSetup.h"
#include "tools/frmAudioRecord.h"
#include "tools/modWave.h"

using namespace modWave;

frmSettings::frmSettings()
{
    setCaption(QStringLiteral("Audio Record Settings"));
    CreateControls();
    WireHandlers();
}

void frmSettings::CreateControls()
{
    QWidget* client = Client();
    const auto option = [](forms::Frame* frame, const char* caption, double top) {
        auto* o = new forms::OptionButton(frame, QString::fromLatin1(caption));
        o->Move(120, top, 1500, 255);
        return o;
    };

    Frame1 = new forms::Frame(client, QStringLiteral("Sample rate (Hz)"));
    Frame1->Move(120, 120, 1815, 1935);
    optRate44100 = option(Frame1, "44100", 300);
    optRate22050 = option(Frame1, "22050", 615);
    optRate11025 = option(Frame1, "11025", 930);
    optRate8000 = option(Frame1, "8000", 1245);
    optRate6000 = option(Frame1, "6000", 1560);

    Frame2 = new forms::Frame(client, QStringLiteral("Channels"));
    Frame2->Move(2040, 120, 1815, 915);
    optStereo = option(Frame2, "stereo", 300);
    optMono = option(Frame2, "mono", 600);

    Frame3 = new forms::Frame(client, QStringLiteral("Resolution"));
    Frame3->Move(2040, 1140, 1815, 915);
    opt16bits = option(Frame3, "16 bits", 300);
    opt8bits = option(Frame3, "8 bits", 600);

    Frame6 = new forms::Frame(client, QStringLiteral("Recoding options"));
    Frame6->Move(3960, 120, 2655, 915);
    optRecordImmediate = option(Frame6, "Manual recording", 300);
    optRecordImmediate->Move(120, 300, 2400, 255);
    optRecordProgrammed = option(Frame6, "Programmed recording", 600);
    optRecordProgrammed->Move(120, 600, 2400, 255);

    frmManualAuto = new forms::Frame(client, QStringLiteral("Saving file"));
    frmManualAuto->Move(3960, 1140, 2655, 915);
    Option11 = option(frmManualAuto, "Automatic", 300);
    Option10 = option(frmManualAuto, "Manual", 600);

    frmTimes = new forms::Frame(client, QStringLiteral("Enter times"));
    frmTimes->Move(3960, 2160, 2655, 1395);
    cmdFileName = new forms::CommandButton(frmTimes, QStringLiteral("Filename"));
    cmdFileName->Move(120, 300, 2415, 315);
    cmdStartTime = new forms::CommandButton(frmTimes, QStringLiteral("Start time"));
    cmdStartTime->Move(120, 660, 2415, 315);
    cmdStopTime = new forms::CommandButton(frmTimes, QStringLiteral("Stop time"));
    cmdStopTime->Move(120, 1020, 2415, 315);

    lblTimes = new forms::Label(client);
    lblTimes->Move(120, 2160, 3735, 615);

    cmdMidi = new forms::CommandButton(client, QStringLiteral("Choose midi file to record"));
    cmdMidi->Move(120, 3240, 2655, 375);
    cmdOke = new forms::CommandButton(client, QStringLiteral("Ok"));
    cmdOke->Move(5400, 3720, 1215, 375);

    CommonDialog2 = new LumoCommonDialog(client);
    CommonDialog2->setVisible(false);

    Move(Left(), Top(), 6855, 4260 + (Height() - ScaleHeight()));
}

void frmSettings::WireHandlers()
{
    const auto onClick
        = [this](forms::OptionButton* o, auto handler) { connect(o, &forms::OptionButton::Click, this, handler); };
    onClick(optRate44100, [] { Rate = 44100; });
    onClick(optRate22050, [] { Rate = 22050; });
    onClick(optRate11025, [] { Rate = 11025; });
    onClick(optRate8000, [] { Rate = 8000; });
    onClick(optRate6000, [] { Rate = 6000; });
    onClick(optStereo, [] { Channels = 2; });
    onClick(optMono, [] { Channels = 1; });
    onClick(opt16bits, [] { Resolution = 16; });
    onClick(opt8bits, [] { Resolution = 8; });
    onClick(Option11, [] { WaveAutomaticSave = true; });
    onClick(Option10, [] { WaveAutomaticSave = false; });
    onClick(optRecordImmediate, [this] { optRecordImmediate_Click(); });
    onClick(optRecordProgrammed, [this] { optRecordProgrammed_Click(); });
    connect(cmdStartTime, &forms::CommandButton::Click, this, &frmSettings::cmdStartTime_Click);
    connect(cmdStopTime, &forms::CommandButton::Click, this, &frmSettings::cmdStopTime_Click);
    connect(cmdFileName, &forms::CommandButton::Click, this, &frmSettings::cmdFileName_Click);
    connect(cmdMidi, &forms::CommandButton::Click, this, &frmSettings::cmdMidi_Click);
    connect(cmdOke, &forms::CommandButton::Click, this, [this] { Unload(); });
}

void frmSettings::Form_Load()
{
    ToolWindowSetup(*this);
    switch (Rate) {
    case 11025: optRate11025->setValue(true); break;
    case 22050: optRate22050->setValue(true); break;
    case 44100: optRate44100->setValue(true); break;
    case 6000: optRate6000->setValue(true); break;
    case 8000: optRate8000->setValue(true); break;
    default: break;
    }
    if (Channels == 1) optMono->setValue(true);
    if (Channels == 2) optStereo->setValue(true);
    if (Resolution == 8) opt8bits->setValue(true);
    if (Resolution == 16) opt16bits->setValue(true);
    if (RecordImmediate)
        optRecordImmediate->setValue(true);
    else
        optRecordProgrammed->setValue(true);
    if (WaveAutomaticSave)
        Option11->setValue(true);
    else
        Option10->setValue(true);
}

void frmSettings::ShowTimes(bool on)
{
    frmManualAuto->setVisible(on);
    frmTimes->setVisible(on);
    lblTimes->setVisible(on);
}

void frmSettings::optRecordImmediate_Click()
{
    RecordImmediate = true;
    ShowTimes(false);
    if (auto* recorder = forms::Instances::Existing<frmAudioRecord>()) recorder->cmdRecord->setEnabled(true);
}

void frmSettings::optRecordProgrammed_Click()
{
    RecordImmediate = false;
    ShowTimes(true);
    if (auto* recorder = forms::Instances::Existing<frmAudioRecord>()) recorder->cmdRecord->setEnabled(false);
    const QDateTime now = QDateTime::currentDateTime();
    if (StartTime < now) {
        StartTime = now.addSecs(15 * 60);
        StopTime = StartTime.addSecs(15 * 60);
    }
}

void frmSettings::cmdStartTime_Click()
{
    const QString answer = forms::InputBox(
        QStringLiteral("Enter start time recording"), QStringLiteral("Start time"), GeneralDate(StartTime));
    if (answer.isEmpty()) return;
    const auto entered = ParseGeneralDate(answer);
    if (!entered) {
        forms::MsgBox(QStringLiteral("The date/time you entered was not valid!"));
        return;
    }
    if (*entered < QDateTime::currentDateTime()) {
        forms::MsgBox(QStringLiteral("Recording events in the past is not possible..."));
        StartTime = QDateTime::currentDateTime().addSecs(15 * 60);
    } else {
        StartTime = *entered;
    }
    if (StopTime < StartTime) StopTime = StartTime.addSecs(15 * 60);
}

void frmSettings::cmdStopTime_Click()
{
    const QDateTime proposal = StopTime < StartTime ? StartTime.addSecs(15 * 60) : StopTime;
    const QString answer = forms::InputBox(
        QStringLiteral("Enter stop time recording"), QStringLiteral("Stop time"), GeneralDate(proposal));
    if (answer.isEmpty()) return;
    const auto entered = ParseGeneralDate(answer);
    if (!entered) {
        forms::MsgBox(QStringLiteral("The time you entered was not valid!"));
        return;
    }
    if (*entered < StartTime) {
        forms::MsgBox(QStringLiteral("The stop time has to be later then the start time!"));
        StopTime = StartTime.addSecs(5 * 60);
    } else {
        StopTime = *entered;
    }
}

void frmSettings::cmdFileName_Click()
{
    WaveFileName
        = forms::InputBox(QStringLiteral("Filename: "), QStringLiteral("Filename for automatic saving"), WaveFileName);
}

void frmSettings::cmdMidi_Click()
{
    CommonDialog2->setCancelError(true);
    CommonDialog2->setFilter(QStringLiteral("Midi file (*.mid*)|*.mid"));
    CommonDialog2->setFlags(1026);
    try {
        CommonDialog2->ShowOpen();
    } catch (const forms::RuntimeError&) {
        return; // cancelled
    }
    MidiFileName = GetShortName(CommonDialog2->FileName());
}
