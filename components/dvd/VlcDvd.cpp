#include "components/dvd/VlcDvd.h"

#include <QMetaObject>
#include <vector>
#include <vlc/vlc.h>

namespace {

constexpr libvlc_event_type_t Reports[] = {
    libvlc_MediaPlayerPlaying,
    libvlc_MediaPlayerEndReached,
    libvlc_MediaPlayerEncounteredError,
    libvlc_MediaPlayerTitleChanged,
};

} // namespace

VlcDvd::VlcDvd(bool nullOutputs, QObject* parent)
    : QObject(parent)
    , context_(new QObject)
{
    std::vector<const char*> args {
        "--quiet",
        "--no-video-title-show",
        "--no-osd",
        "--no-stats",
        "--no-snapshot-preview",
        "--no-sub-autodetect-file",
        "--ignore-config",
    };
    if (nullOutputs) {
        args.push_back("--vout=dummy");
        args.push_back("--aout=dummy");
    }
    vlc_ = libvlc_new(static_cast<int>(args.size()), args.data());
    if (!vlc_) return;
    player_ = libvlc_media_player_new(vlc_);
    if (!player_) return;
    // The disc's menus take clicks on the picture; keys reach the program, which steers the menus.
    libvlc_video_set_mouse_input(player_, 1);
    libvlc_video_set_key_input(player_, 0);
    Attach(true);
}

VlcDvd::~VlcDvd()
{
    if (player_) {
        // Once detached no report is being delivered or will be; the stop waits for the player's
        // threads, and the drive is free when the player is released.
        Attach(false);
        libvlc_media_player_stop(player_);
        libvlc_media_player_release(player_);
    }
    if (vlc_) libvlc_release(vlc_);
    delete context_;
}

void VlcDvd::Attach(bool on)
{
    libvlc_event_manager_t* events = libvlc_media_player_event_manager(player_);
    for (libvlc_event_type_t type : Reports) {
        if (on)
            libvlc_event_attach(events, type, &VlcDvd::OnEvent, this);
        else
            libvlc_event_detach(events, type, &VlcDvd::OnEvent, this);
    }
}

// Runs on one of libvlc's threads: only queue the report for the user-interface thread. libvlc
// must not be called from here.
void VlcDvd::OnEvent(const libvlc_event_t* event, void* self)
{
    auto* dvd = static_cast<VlcDvd*>(self);
    const int type = event->type;
    const int title = type == libvlc_MediaPlayerTitleChanged ? event->u.media_player_title_changed.new_title : 0;
    QMetaObject::invokeMethod(
        dvd->context_,
        [dvd, type, title] {
            switch (type) {
            case libvlc_MediaPlayerPlaying: emit dvd->Playing(); break;
            case libvlc_MediaPlayerEndReached: emit dvd->Ended(); break;
            case libvlc_MediaPlayerEncounteredError: emit dvd->Failed(); break;
            case libvlc_MediaPlayerTitleChanged: emit dvd->TitleChanged(title); break;
            default: break;
            }
        },
        Qt::QueuedConnection);
}

void VlcDvd::SetDisc(const QString& disc)
{
    if (!player_) return;
    // The disc goes in as an option rather than inside the address, so that blanks, '@', '#' and
    // letters outside ASCII in its path are taken as they are.
    libvlc_media_t* media = libvlc_media_new_location(vlc_, "dvd://");
    if (!media) return;
    const QByteArray option = ":dvd=" + disc.toLocal8Bit();
    libvlc_media_add_option(media, option.constData());
    libvlc_media_player_set_media(player_, media);
    libvlc_media_release(media);
}

void VlcDvd::SetWindow(quintptr window)
{
    if (player_) libvlc_media_player_set_xwindow(player_, static_cast<std::uint32_t>(window));
}

void VlcDvd::Start()
{
    if (!player_) return;
    // A play after the disc ended or failed only goes to the finished run, whose thread is still
    // there, and starts nothing: that run is stopped first.
    const libvlc_state_t state = libvlc_media_player_get_state(player_);
    if (state == libvlc_Ended || state == libvlc_Error) libvlc_media_player_stop(player_);
    libvlc_media_player_play(player_);
}

void VlcDvd::Stop()
{
    if (player_) libvlc_media_player_stop(player_);
}

void VlcDvd::SetPause(bool paused)
{
    if (player_) libvlc_media_player_set_pause(player_, paused ? 1 : 0);
}

bool VlcDvd::Running() const
{
    if (!player_) return false;
    switch (libvlc_media_player_get_state(player_)) {
    case libvlc_Opening:
    case libvlc_Buffering:
    case libvlc_Playing:
    case libvlc_Paused: return true;
    default: return false;
    }
}

bool VlcDvd::Paused() const { return player_ && libvlc_media_player_get_state(player_) == libvlc_Paused; }

int VlcDvd::Title() const { return player_ ? libvlc_media_player_get_title(player_) : -1; }

int VlcDvd::TitleCount() const { return player_ ? libvlc_media_player_get_title_count(player_) : -1; }

void VlcDvd::SetTitle(int title)
{
    if (player_) libvlc_media_player_set_title(player_, title);
}

int VlcDvd::Chapter() const { return player_ ? libvlc_media_player_get_chapter(player_) : -1; }

int VlcDvd::ChapterCount(int title) const
{
    if (!player_) return -1;
    libvlc_chapter_description_t** chapters = nullptr;
    const int count = libvlc_media_player_get_full_chapter_descriptions(player_, title, &chapters);
    if (count > 0) libvlc_chapter_descriptions_release(chapters, static_cast<unsigned>(count));
    return count;
}

void VlcDvd::SetChapter(int chapter)
{
    if (player_) libvlc_media_player_set_chapter(player_, chapter);
}

std::int64_t VlcDvd::Time() const { return player_ ? libvlc_media_player_get_time(player_) : -1; }

std::int64_t VlcDvd::Length(int title) const
{
    if (!player_) return -1;
    libvlc_title_description_t** titles = nullptr;
    const int count = libvlc_media_player_get_full_title_descriptions(player_, &titles);
    std::int64_t length = -1;
    if (title >= 0 && title < count) length = titles[title]->i_duration;
    if (count > 0) libvlc_title_descriptions_release(titles, static_cast<unsigned>(count));
    return length;
}

void VlcDvd::SetTime(std::int64_t ms)
{
    if (player_) libvlc_media_player_set_time(player_, ms);
}

void VlcDvd::SetRate(double rate)
{
    if (player_) libvlc_media_player_set_rate(player_, static_cast<float>(rate));
}

double VlcDvd::Rate() const { return player_ ? libvlc_media_player_get_rate(player_) : 0.0; }

void VlcDvd::SetMute(bool muted)
{
    if (player_) libvlc_audio_set_mute(player_, muted ? 1 : 0);
}

void VlcDvd::Navigate(Navigation step)
{
    if (!player_) return;
    static constexpr unsigned modes[] = {
        libvlc_navigate_activate,
        libvlc_navigate_up,
        libvlc_navigate_down,
        libvlc_navigate_left,
        libvlc_navigate_right,
    };
    libvlc_media_player_navigate(player_, modes[static_cast<int>(step)]);
}

namespace {

// Hands the video tracks of the disc's streams to read until it returns true.
template <class Read> void WithVideoTrack(libvlc_media_player_t* player, Read read)
{
    libvlc_media_t* media = libvlc_media_player_get_media(player);
    if (!media) return;
    libvlc_media_track_t** tracks = nullptr;
    const unsigned count = libvlc_media_tracks_get(media, &tracks);
    for (unsigned i = 0; i < count; ++i) {
        if (tracks[i]->i_type == libvlc_track_video && tracks[i]->video && read(*tracks[i]->video)) break;
    }
    if (tracks) libvlc_media_tracks_release(tracks, count);
    libvlc_media_release(media);
}

} // namespace

QSize VlcDvd::PictureSize() const
{
    if (!player_) return {};
    unsigned width = 0;
    unsigned height = 0;
    if (libvlc_video_get_size(player_, 0, &width, &height) != 0 || width == 0 || height == 0) {
        // Without a picture on the screen the stream still knows its size.
        WithVideoTrack(player_, [&](const libvlc_video_track_t& video) {
            width = video.i_width;
            height = video.i_height;
            return width > 0 && height > 0;
        });
    }
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

double VlcDvd::FrameRate() const
{
    double rate = 0;
    if (player_) {
        WithVideoTrack(player_, [&](const libvlc_video_track_t& video) {
            if (video.i_frame_rate_den > 0) rate = double(video.i_frame_rate_num) / video.i_frame_rate_den;
            return rate > 0;
        });
    }
    return rate;
}

void VlcDvd::SetCrop(const QString& geometry)
{
    if (!player_) return;
    const QByteArray text = geometry.toLatin1();
    libvlc_video_set_crop_geometry(player_, text.isEmpty() ? nullptr : text.constData());
}
