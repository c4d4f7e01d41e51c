#include "components/encoders/AudioEncoder.h"

#include "components/encoders/EncodeError.h"
#include "platform/files/PartialFile.h"
#include "platform/files/WavFile.h"

#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t ChunkFrames = 4096;

void SetWorkerPriority(int priority)
{
    // Lowering a thread's priority needs no privilege; raising it above normal is not offered.
    const int nice = priority >= 3 ? 0 : priority == 2 ? 5 : priority == 1 ? 10 : 19;
    if (nice) ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), nice);
}

} // namespace

AudioEncoder::AudioEncoder(QObject* parent)
    : QObject(parent)
{
}

AudioEncoder::~AudioEncoder() { StopWorker(); }

void AudioEncoder::StopWorker()
{
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

std::unique_ptr<RipEncoderStream> AudioEncoder::BeginRipStream(const std::string& outputPath, std::uint64_t totalFrames)
{
    files::PartialFile file;
    if (!file.Create(outputPath)) {
        SetLastError(EncodeError::CreateOutput);
        return nullptr;
    }
    int error = EncodeError::Unknown;
    auto stream = OpenStream(std::move(file), totalFrames, error);
    if (!stream) SetLastError(error);
    return stream;
}

bool AudioEncoder::EncodeFile(const QString& inputPath, const QString& outputPath)
{
    if (encoding_) {
        SetLastError(EncodeError::Unknown);
        return false;
    }
    auto reader = std::make_unique<files::WavReader>();
    switch (reader->Open(inputPath.toStdString())) {
    case files::WavReader::OpenResult::CannotOpen: SetLastError(EncodeError::OpenInput); return false;
    case files::WavReader::OpenResult::NotWav: SetLastError(EncodeError::InputFormat); return false;
    case files::WavReader::OpenResult::Ok: break;
    }
    if (!reader->Format().IsCdAudio()) {
        SetLastError(EncodeError::InputFormat);
        return false;
    }
    // The finished file would take the place of the sound it was made from.
    std::error_code error;
    if (std::filesystem::equivalent(inputPath.toStdString(), outputPath.toStdString(), error)) {
        SetLastError(EncodeError::CreateOutput);
        return false;
    }
    std::unique_ptr<RipEncoderStream> stream = BeginRipStream(outputPath.toStdString(), reader->TotalFrames());
    if (!stream) return false;

    if (worker_.joinable()) worker_.join();
    encoding_ = true;
    cancel_ = false;
    Post(0, EncodeStatusCode::Started);
    worker_ = std::thread([this, reader = std::move(reader), stream = std::move(stream), priority = Priority()]() mutable {
        SetWorkerPriority(priority);
        const std::uint64_t total = reader->TotalFrames();
        std::uint64_t done = 0;
        int percent = -1;
        std::vector<std::int16_t> buffer(ChunkFrames * 2);
        const auto cancelled = [&] {
            if (!cancel_) return false;
            stream.reset();
            Post(percent < 0 ? 0 : percent, EncodeStatusCode::Cancelled);
            return true;
        };
        for (;;) {
            if (cancelled()) return;
            const std::size_t frames = reader->Read(buffer.data(), buffer.size() * sizeof(buffer[0]));
            if (frames == 0) break;
            if (!stream->Write(buffer.data(), frames)) {
                SetLastError(stream->OutputFailed() ? EncodeError::CreateOutput : EncodeError::EncodingBuffer);
                stream.reset();
                Post(percent < 0 ? 0 : percent, EncodeStatusCode::Failed);
                return;
            }
            done += frames;
            const int now = total ? static_cast<int>(done * 100 / total) : 100;
            if (now != percent) {
                percent = now;
                Post(percent, EncodeStatusCode::Progress);
            }
        }
        if (reader->Failed()) {
            stream.reset();
            SetLastError(EncodeError::OpenInput);
            Post(percent < 0 ? 0 : percent, EncodeStatusCode::Failed);
            return;
        }
        if (cancelled()) return;
        if (percent < 100) Post(100, EncodeStatusCode::Progress);
        if (!stream->Finish()) {
            stream.reset();
            SetLastError(EncodeError::CreateOutput);
            Post(100, EncodeStatusCode::Failed);
            return;
        }
        stream.reset();
        Post(100, EncodeStatusCode::Complete);
    });
    return true;
}

void AudioEncoder::CancelEncode(bool /*now*/)
{
    if (encoding_) cancel_ = true;
}

void AudioEncoder::Post(int percent, int status)
{
    // Queued on the user-interface thread; events still waiting when the encoder is destroyed are
    // dropped with it.
    QMetaObject::invokeMethod(this, [this, percent, status] { Deliver(percent, status); }, Qt::QueuedConnection);
}

void AudioEncoder::Deliver(int percent, int status)
{
    const bool last = status == EncodeStatusCode::Complete || status == EncodeStatusCode::Cancelled
        || status == EncodeStatusCode::Failed;
    if (last) {
        if (worker_.joinable()) worker_.join();
        encoding_ = false;
    }
    emit EncodeStatus(percent, status);
}
