#pragma once

#include "components/avi/AviFile.h"
#include "components/vidcap/CaptureDevice.h"

#include <QImage>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace vidcap {

// The record the frame event hands out for every frame: 44 bytes, as the window keeps it.
struct FrameHeader {
    std::uint32_t bufferLength = 0; // bytes of the frame's picture
    std::uint32_t bytesUsed = 0;
    std::uint32_t timeCaptured = 0; // milliseconds since the device was connected
    std::uint32_t user = 0;
    std::uint32_t flags = 0; // FrameDone, and KeyFrame for every frame of a capture device
    std::uint32_t frameNumber = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitCount = 32;
    std::uint32_t reserved[2] = {};
};
static_assert(sizeof(FrameHeader) == 44);
constexpr std::uint32_t FrameDone = 0x1;
constexpr std::uint32_t FrameKeyFrame = 0x8;

struct RecordingResult {
    int frames = 0;
    double seconds = 0;
    QString error; // empty when the capture file is complete
};

// Reads a connected device on a worker thread: every frame is handed to the frame callback as a
// picture, and while a recording runs it is also compressed into the capture file, with the sound
// of the default PulseAudio source when asked. Callbacks run on the worker thread.
class CaptureEngine {
public:
    struct Callbacks {
        std::function<void(const QImage&, const FrameHeader&)> frame;
        std::function<void(const RecordingResult&)> recorded;
        std::function<void(const QString&)> lost; // the device stopped giving frames
    };

    explicit CaptureEngine(Callbacks callbacks);
    ~CaptureEngine();

    // Starts reading the opened device; the engine owns it from now on.
    void Start(ff::Input device);
    // Stops reading (ending a recording that runs) and closes the device.
    void Stop();
    bool Running() const { return thread_.joinable(); }

    // Begins writing the capture file from the next frame; an error text when it cannot.
    // A time limit of 0 records until StopRecording.
    QString StartRecording(const QString& path, const avifile::AVICOMPRESSOPTIONS& video, bool audio,
        const AudioFormat& audioFormat, double timeLimitSeconds);
    // Asks the recording to end; the recorded callback follows from the worker.
    void StopRecording() { stopRecording_ = true; }
    bool Recording() const { return recording_; }

private:
    struct Recorder;
    void Run();
    void Frame(const AVFrame* frame, std::int64_t sinceStartUs);
    void FinishRecording();

    Callbacks callbacks_;
    ff::Input device_;
    ff::Codec decoder_;
    int videoIndex_ = -1;
    // The device's picture size and frame rate, as it was opened.
    int width_ = 0;
    int height_ = 0;
    int rate_ = 15;
    std::thread thread_;
    std::atomic<bool> stop_ {false};
    std::atomic<bool> stopRecording_ {false};
    std::atomic<bool> recording_ {false};
    std::mutex recorderMutex_;
    std::unique_ptr<Recorder> recorder_;
    std::uint32_t frameNumber_ = 0;
};

} // namespace vidcap
