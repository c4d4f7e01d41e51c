#include "platform/mci/CddaPlayer.h"

#include "platform/mci/Device.h"

#include <mpv/client.h>

namespace mci {

CddaPlayer::CddaPlayer(QString device)
    : device_(std::move(device))
{
}

CddaPlayer::~CddaPlayer()
{
    if (mpv_) mpv_terminate_destroy(mpv_);
}

void CddaPlayer::DrainEvents()
{
    if (!mpv_) return;
    while (true) {
        mpv_event* e = mpv_wait_event(mpv_, 0);
        if (e->event_id == MPV_EVENT_NONE) break;
        // Our own stop and replace end files too; only a failed or finished stream ends playback here.
        if (e->event_id == MPV_EVENT_END_FILE
            && static_cast<mpv_event_end_file*>(e->data)->reason != MPV_END_FILE_REASON_STOP) {
            loaded_ = false;
            playing_ = false;
        }
    }
}

bool CddaPlayer::PlayFrom(double seconds)
{
    if (!mpv_) {
        mpv_ = mpv_create();
        if (!mpv_) return false;
        mpv_set_option_string(mpv_, "vid", "no");
        mpv_set_option_string(mpv_, "idle", "yes");
        mpv_set_option_string(mpv_, "keep-open", "yes");
        mpv_set_option_string(mpv_, "terminal", "no");
        mpv_set_option_string(mpv_, "audio-display", "no");
        // Without a sound server the disc still plays, silently, so its position moves on.
        mpv_set_option_string(mpv_, "ao", NullOutputs() ? "null" : "pulse,alsa,null");
        mpv_set_option_string(mpv_, "cdrom-device", device_.toLocal8Bit().constData());
        if (mpv_initialize(mpv_) < 0) {
            mpv_terminate_destroy(mpv_);
            mpv_ = nullptr;
            return false;
        }
    }
    DrainEvents();
    const QByteArray start = QByteArray::number(seconds, 'f', 3);
    int rc;
    if (loaded_) {
        const char* seek[] = {"seek", start.constData(), "absolute+exact", nullptr};
        rc = mpv_command(mpv_, seek);
        int no = 0;
        mpv_set_property(mpv_, "pause", MPV_FORMAT_FLAG, &no);
    } else {
        const QByteArray options = "start=" + start + ",pause=no";
        const char* load[] = {"loadfile", "cdda://", "replace", options.constData(), nullptr};
        rc = mpv_command(mpv_, load);
        loaded_ = rc >= 0;
    }
    playing_ = rc >= 0;
    return playing_;
}

void CddaPlayer::Pause()
{
    if (!mpv_) return;
    int yes = 1;
    mpv_set_property(mpv_, "pause", MPV_FORMAT_FLAG, &yes);
    playing_ = false;
}

void CddaPlayer::Stop()
{
    if (!mpv_) return;
    const char* stop[] = {"stop", nullptr};
    mpv_command(mpv_, stop);
    loaded_ = false;
    playing_ = false;
}

bool CddaPlayer::Playing()
{
    DrainEvents();
    if (!playing_) return false;
    int eof = 0;
    if (mpv_get_property(mpv_, "eof-reached", MPV_FORMAT_FLAG, &eof) >= 0 && eof) playing_ = false;
    return playing_;
}

std::optional<double> CddaPlayer::Time()
{
    DrainEvents();
    if (!mpv_ || !loaded_) return std::nullopt;
    double t = 0;
    if (mpv_get_property(mpv_, "time-pos", MPV_FORMAT_DOUBLE, &t) < 0) return std::nullopt;
    return t;
}

} // namespace mci
