#include "tools/modWave.h"

#include "platform/files/ShortName.h"
#include "platform/forms/MsgBox.h"
#include "platform/mci/Mci.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <set>

namespace modWave {

std::int32_t Rate = 11025;
std::int16_t Channels = 1;
std::int16_t Resolution = 16;
QString ModeText;
QString StatisticsText;
bool RecordImmediate = true;
QDateTime StartTime;
QDateTime StopTime;
bool RecordingDone = false;
bool RecordingActive = false;
bool Playing = false;
bool WaveAutomaticSave = true;
QString WaveFileName;
QString MidiFileName;
QString PendingLongName;
QString PendingShortName;
bool RenamePending = false;

namespace {

const QString LineBreak = QStringLiteral("\r\n");

// Status questions that fail keep failing every second while the recording is gone (no sound
// server, or another window closed every device); their box is shown once until the recording
// is opened again, so the window stays usable.
std::set<QString>& Reported()
{
    static std::set<QString> reported;
    return reported;
}

void Report(const QString& message) { forms::MsgBox(message); }

void ReportOnce(const QString& message)
{
    if (Reported().insert(message).second) Report(message);
}

// Sends one command; on failure shows the message and tells the caller.
bool Send(const QString& command, const QString& failure, std::string* reply = nullptr, bool once = false)
{
    char buffer[261] = {};
    const std::string text = command.toStdString();
    const unsigned error = reply ? mci::SendString(text, buffer, 255) : mci::SendString(text);
    if (reply) *reply = buffer;
    if (error == 0) return true;
    once ? ReportOnce(failure) : Report(failure);
    return false;
}

// The number at the start of a reply; 0 when it begins with none.
double Leading(const std::string& reply)
{
    try {
        std::size_t used = 0;
        const double v = std::stod(reply, &used);
        return std::isfinite(v) ? v : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

// A number as the statistics show it: a leading blank for zero and above, a point as separator.
QString N(double value)
{
    const QString text = QString::number(value, 'g', 15);
    return value >= 0 ? QLatin1Char(' ') + text : text;
}

std::int32_t ToInt32(double value)
{
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(std::nearbyint(value));
}

} // namespace

void OpenWaveDevice()
{
    Send(QStringLiteral("close all"), QStringLiteral("Closing all MCI operations failed!"));
    if (Send(QStringLiteral("open new type waveaudio alias capture"), QStringLiteral("Opening new wave failed!")))
        Reported().clear();
}

void SetWaveFormat()
{
    // Block alignment rounds half to even, as the 16-bit conversion does.
    const auto alignment = static_cast<std::int16_t>(std::nearbyint(Resolution * Channels / 8.0));
    const std::int32_t bytesPerSecond = alignment * Rate;
    Send(QStringLiteral("seek capture to start"), QStringLiteral("Starting recording failed!"));
    Send(QStringLiteral("set capture alignment %1 bitspersample %2 samplespersec %3 channels %4 bytespersec %5")
             .arg(alignment)
             .arg(Resolution)
             .arg(Rate)
             .arg(Channels)
             .arg(bytesPerSecond),
        QStringLiteral("Settings for recording not consistent"));
}

void StartRecording()
{
    if (!MidiFileName.isEmpty()) {
        if (RecordImmediate)
            forms::MsgBox(QStringLiteral("Midi file ") + MidiFileName + QStringLiteral(" will be recorded"));
        Send(QStringLiteral("open ") + MidiFileName + QStringLiteral(" type sequencer alias midi"),
            QStringLiteral("Opening midi file failed!"));
        Send(QStringLiteral("play midi"), QStringLiteral("Playing midi file failed!"));
    }
    Send(QStringLiteral("record capture"), QStringLiteral("Recording not possible, please restart your computer..."));
}

void StopRecording()
{
    Send(QStringLiteral("stop capture"), QStringLiteral("Stopping recording failed!"));
    if (!MidiFileName.isEmpty())
        Send(QStringLiteral("stop midi"), QStringLiteral("Stopping playing midi file failed!"));
}

void SaveRecording(const QString& name)
{
    // An older file of the name is not deleted first: the save replaces it whole, or the rename
    // to a long name does, so a failed save loses neither it nor the recording.
    QString target = name;
    if (HasSpace(name)) {
        PendingShortName = GetShortName(name);
        PendingLongName = name;
        RenamePending = true;
        target = PendingShortName;
    }
    Send(QStringLiteral("save capture ") + target, QStringLiteral("Saving file failed, file name was: ") + name);
}

void GetWaveMode()
{
    std::string reply;
    Send(QStringLiteral("status capture mode"), QStringLiteral("Failure getting wave status..."), &reply, true);
    ModeText = (QStringLiteral("AudioRecorder: ") + QString::fromStdString(reply)).left(255);
}

void GetWaveStatistics()
{
    std::string lengthMs;
    std::string lengthBytes;
    std::string channels;
    std::string bits;
    std::string rate;
    Send(QStringLiteral("set capture time format ms"), QStringLiteral("Setting time format in milliseconds failed!"),
        nullptr, true);
    Send(QStringLiteral("status capture length"), QStringLiteral("Finding length recording in milliseconds failed!"),
        &lengthMs, true);
    Send(QStringLiteral("set capture time format bytes"), QStringLiteral("Setting time format in bytes failed!"),
        nullptr, true);
    Send(QStringLiteral("status capture length"), QStringLiteral("Finding length recording in bytes failed!"),
        &lengthBytes, true);
    Send(QStringLiteral("status capture channels"), QStringLiteral("Finding number of channels failed!"), &channels,
        true);
    Send(QStringLiteral("status capture bitspersample"), QStringLiteral("Finding resolution failed!"), &bits, true);
    Send(QStringLiteral("status capture samplespersec"), QStringLiteral("Finding sample rate failed!"), &rate, true);

    const double seconds = std::trunc(Leading(lengthMs)) / 1000;
    StatisticsText = QStringLiteral("Length recording ") + N(seconds) + QStringLiteral(" s") + QStringLiteral(" (")
        + N(Leading(lengthBytes)) + QStringLiteral(" bytes)") + LineBreak;
    const double channelCount = Leading(channels);
    if (channelCount == 1)
        StatisticsText += QStringLiteral("Mono - ");
    else if (channelCount == 2)
        StatisticsText += QStringLiteral("Stereo - ");
    StatisticsText += N(Leading(bits)) + QStringLiteral(" bits - ");
    StatisticsText += N(Leading(rate)) + QStringLiteral(" samples per second ") + LineBreak + LineBreak;
}

void CloseWaveDevice() { Send(QStringLiteral("close capture"), QStringLiteral("Closing MCI failed!")); }

std::int32_t GetWavePosition()
{
    Send(QStringLiteral("set capture time format ms"), QStringLiteral("Setting format in milliseconds failed!"),
        nullptr, true);
    std::string reply;
    if (!Send(QStringLiteral("status capture position"), QStringLiteral("Finding position failed!"), &reply, true)) {
        if (Reported().insert(QStringLiteral("Error in position")).second) Report(QStringLiteral("Error in position"));
    }
    return ToInt32(Leading(reply));
}

void PlayFromPosition(std::int32_t ms)
{
    Send(QStringLiteral("set capture time format ms"), QStringLiteral("Setting format in milliseconds failed!"));
    if (!Send(QStringLiteral("play capture from ") + QString::number(ms),
            QStringLiteral("Playing from indicated position failed!")))
        Report(QStringLiteral("Play from position doesn't work...."));
}

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo::exists(path); }

QString GetShortName(const QString& path) { return files::ShortPathName(path); }

bool HasSpace(const QString& name) { return name.contains(QLatin1Char(' ')); }

} // namespace modWave
