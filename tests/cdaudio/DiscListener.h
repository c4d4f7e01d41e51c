#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <string>
#include <unordered_map>
#include <vector>

class TestSink;

// Records what is played into the test's own sink as 16-bit stereo at 44.1 kHz, until stopped.
// The sink then works that many milliseconds ahead: a play that starts replaces what it worked
// ahead, but the recording has heard that already and misses the start of the play, up to as much.
bool Listen(QProcess& parec, const TestSink& sink, int latencyMs = 20);
// What is played into the test's sink for a moment.
QByteArray RecordWhatIsHeard(const TestSink& sink, int milliseconds);

// Frames that never repeat and stay well inside full scale: every one says where on the disc it is.
QByteArray DistinctFrames(qsizetype frames);

// Follows a recording of the sound server against the disc's audio: every frame heard must be
// silence or a frame of the disc, the one after the last as long as a play goes on. Counts the
// plays heard to the disc's end, and every frame that is neither silence nor the disc's.
class DiscListener {
public:
    explicit DiscListener(QByteArray disc);

    void Hear(const QByteArray& bytes);

    // What was heard, in order: stretches of silence, of consecutive frames of the disc, and of
    // frames that are neither.
    struct Run {
        static constexpr qsizetype Silence = -1, Stray = -2;
        qsizetype at; // where in the recording it starts, in frames
        qsizetype length; // in frames
        qsizetype disc; // the disc's frame it starts with, or Silence or Stray
    };
    const std::vector<Run>& Runs() const { return runs_; }
    // The runs from a frame of the recording on, as text for a failure message.
    std::string Describe(qsizetype from = 0) const;
    // Frames of the recording followed so far.
    qsizetype FramesHeard() const { return done_; }

    // Plays heard into the disc's last hundredth of a second.
    int EndsHeard() const { return ends_; }
    // Frames of the disc heard before its last hundredth of a second.
    qsizetype FramesBeforeTheEndHeard() const { return framesBeforeEnd_; }
    // Frames heard since the disc's end was last heard.
    qsizetype FramesSinceEnd() const { return done_ - lastEnd_; }
    qsizetype StrayFrames() const { return stray_; }
    // Where the first stray frame was heard, with the bytes from there on.
    QString FirstStray() const;

private:
    qsizetype Frames() const { return disc_.size() / 4; }
    void Heard(qsizetype at);

    QByteArray disc_;
    std::unordered_map<quint32, qsizetype> where_;
    QByteArray heard_;
    qsizetype done_ = 0; // frames of heard_ followed so far
    qsizetype next_ = -1; // the disc frame that continues what was heard
    bool inEnd_ = false;
    int ends_ = 0;
    qsizetype lastEnd_ = 0;
    qsizetype framesBeforeEnd_ = 0;
    qsizetype stray_ = 0;
    qsizetype firstStray_ = 0;
    std::vector<Run> runs_;
};
