#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

// The sound recorder's contact with the media command layer: one new recording under the alias
// "capture", and, while a MIDI file is chosen, the sequencer "midi" that plays it during a
// recording. Every operation goes on after a failing command, which it reports in a box at once;
// none reports failure to its caller. The recorder's state lives here too, read and written by
// the recorder and its settings window.
namespace modWave {

extern std::int32_t Rate;
extern std::int16_t Channels;
extern std::int16_t Resolution;
extern QString ModeText;
extern QString StatisticsText;
extern bool RecordImmediate;
extern QDateTime StartTime;
extern QDateTime StopTime;
extern bool RecordingDone;
extern bool RecordingActive;
extern bool Playing;
extern bool WaveAutomaticSave;
extern QString WaveFileName;
extern QString MidiFileName;
extern QString PendingLongName;
extern QString PendingShortName;
extern bool RenamePending;

void OpenWaveDevice();
void SetWaveFormat();
void StartRecording();
void StopRecording();
void SaveRecording(const QString& name);
void GetWaveMode();
void GetWaveStatistics();
void CloseWaveDevice();
std::int32_t GetWavePosition();
void PlayFromPosition(std::int32_t ms);

bool FileExists(const QString& path);
QString GetShortName(const QString& path);
bool HasSpace(const QString& name);

} // namespace modWave
