#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <memory>

// A sink of the test's own on the test's sound server: what is played into it is what the
// recording devices of this process hear (its monitor becomes their default source), so tests
// running side by side don't hear each other.
class TestSink {
public:
    TestSink();
    ~TestSink();

    // False when no sound server runs (the test should be skipped).
    bool Ready() const { return module_ >= 0; }
    QString Name() const { return name_; }

    // Plays a sine tone into the sink, in the background, for the given seconds; returns once the
    // tone sounds in the sink (false when it never did).
    bool PlayTone(int frequency, double seconds);
    // Waits until the tone has been played out.
    void WaitForTone();

private:
    QString name_;
    int module_ = -1;
    QString toneFile_;
    std::unique_ptr<QProcess> player_;
    QString primerFile_;
    std::unique_ptr<QProcess> primer_;
};

// True when a sound server answers.
bool SoundServerRuns();

// Makes the recording devices of this process find no sound server, until destroyed.
class NoSoundServer {
public:
    NoSoundServer();
    ~NoSoundServer();

private:
    QByteArray previous_;
    bool had_;
};

// What the header of a RIFF WAVE file says, and its sound.
struct WaveFileInfo {
    bool valid = false;
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bitsPerSample = 0;
    int blockAlign = 0;
    int bytesPerSecond = 0;
    QByteArray data;
};
WaveFileInfo ReadWaveFile(const QString& path);

// The strongest frequency (in steps of 5 Hz, between 100 and 4000 Hz) of the first channel.
int DominantFrequency(const WaveFileInfo& wave);

// A standard MIDI file of one track that plays the given number of quarter notes at 120 beats per
// minute (half a second each).
QByteArray MidiFile(int notes);
