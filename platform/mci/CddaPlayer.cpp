#include "platform/mci/CddaPlayer.h"

#include "platform/mci/Device.h"
#include "platform/mci/DiscAudioStream.h"
#include "platform/mci/MpvSession.h"

#include <algorithm>

namespace mci {

namespace {

constexpr int LoadTimeoutMs = 10000;
constexpr int SeekTimeoutMs = 3000;

} // namespace

CddaPlayer::CddaPlayer(QString device)
    : device_(std::move(device))
{
}

CddaPlayer::~CddaPlayer() = default;

bool CddaPlayer::Open()
{
    if (mpv_) return mpv_->Ok();
    // Without a sound server the disc still plays, silently, so its position moves on.
    mpv_ = std::make_unique<MpvSession>(
        "null", NullOutputs() ? "null" : "pulse,alsa,null", [this](const mpv_event& event) { OnEvent(event); });
    if (!mpv_->Ok()) return false;
    // libmpv plays the disc from our own reader, as a WAVE stream. Its own CD stream goes through
    // its raw audio reader, which plays the unfilled rest of the stream's last packet after the
    // disc's last sample: memory that is not the disc's would reach the sound server.
    mpv_->AddStreamProtocol(DiscAudioStream::Protocol, &DiscAudioStream::OpenForMpv);
    mpv_->Set("demuxer-lavf-format", "wav");
    // The stream ends once the sound output has played its last sample. With gapless audio
    // (libmpv's default, for a next file that follows on), it ends as soon as the last sample is
    // handed to the output, which plays the rest on its own: should the output run dry then, as on
    // a busy machine, nothing starts it again, and the last fifth of a second of the disc, still in
    // its buffer, is never heard. Without it, libmpv drains the output at the end of the stream,
    // which starts a dry output again, and the stream ends once all has played.
    mpv_->Set("gapless-audio", "no");
    return true;
}

void CddaPlayer::SetDevice(const QString& device)
{
    if (device == device_) return;
    device_ = device;
    if (mpv_) Stop();
}

void CddaPlayer::OnEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE: seeking_ = true; break;
    case MPV_EVENT_PLAYBACK_RESTART: seeking_ = false; break;
    case MPV_EVENT_END_FILE:
        seeking_ = false;
        // Our own stop ends the stream too; only a failed or finished stream ends playback here.
        if (static_cast<const mpv_event_end_file*>(event.data)->reason != MPV_END_FILE_REASON_STOP) {
            loaded_ = false;
            playing_ = false;
        }
        break;
    default: break;
    }
}

bool CddaPlayer::PlayFrom(double seconds)
{
    if (!Open()) return false;
    mpv_->Drain();
    // Playback is held while it is sent to the position asked for, and goes on once it is there:
    // a stream that plays while it opens or seeks sounds where it was first.
    mpv_->SetFlag("pause", true);
    const std::string start = QByteArray::number(seconds, 'f', 3).toStdString();
    target_ = seconds;
    seeking_ = true;
    if (!loaded_) {
        // The stream is opened before this returns: opening it reads the drive (or the cue sheet
        // of an image) on libmpv's thread. It opens at the position asked for.
        mpv_->Set("start", start);
        loaded_ = mpv_->Load(DiscAudioStream::Address(device_), LoadTimeoutMs);
        if (!loaded_) {
            seeking_ = false;
            playing_ = false;
            return false;
        }
    } else if (mpv_->Run({"seek", start.c_str(), "absolute+exact"}) < 0) {
        seeking_ = false;
    }
    mpv_->WaitUntil([this] { return !seeking_ || !loaded_; }, SeekTimeoutMs);
    mpv_->SetFlag("pause", false);
    playing_ = loaded_;
    return playing_;
}

void CddaPlayer::Pause()
{
    if (!mpv_) return;
    mpv_->SetFlag("pause", true);
    playing_ = false;
}

void CddaPlayer::Stop()
{
    if (!mpv_) return;
    mpv_->Run({"stop"});
    loaded_ = false;
    playing_ = false;
    seeking_ = false;
}

bool CddaPlayer::Playing()
{
    if (mpv_) mpv_->Drain();
    if (!playing_) return false;
    if (mpv_->Flag("eof-reached")) playing_ = false;
    return playing_;
}

std::optional<double> CddaPlayer::Time()
{
    if (!mpv_) return std::nullopt;
    mpv_->Drain();
    if (!loaded_) return std::nullopt;
    if (seeking_) return target_;
    const double t = mpv_->Double("time-pos", -1);
    if (t < 0) return std::nullopt;
    // Playback only moves forward from where it was sent, but libmpv may report a moment before that
    // until the sound after a seek has started.
    return std::max(t, target_);
}

} // namespace mci
