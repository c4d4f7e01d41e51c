#include "components/cdripper/CDRipperX.h"

#include "platform/mci/CddaPlayer.h"

#include <QFileInfo>

namespace {

constexpr int FramesPerSecond = 75;

} // namespace

CDRipperX::CDRipperX(QObject* parent)
    : QObject(parent)
{
    for (const QString& device : mci::CdDrive::Devices())
        devices_.push_back(device);
}

CDRipperX::~CDRipperX()
{
    CancelRip();
    StopWorker();
    if (player_) player_->Stop();
}

QString CDRipperX::DeviceTextA(int index) const
{
    if (index < 0 || index >= DeviceCount()) return {};
    const mci::CdDrive drive(devices_[index]);
    return drive.IsImage() ? QFileInfo(drive.Device()).fileName() : drive.Device();
}

QString CDRipperX::DeviceTextB(int index) const
{
    if (index < 0 || index >= DeviceCount()) return {};
    return mci::CdDrive(devices_[index]).Identify().vendor;
}

QString CDRipperX::DeviceTextC(int index) const
{
    if (index < 0 || index >= DeviceCount()) return {};
    return mci::CdDrive(devices_[index]).Identify().model;
}

bool CDRipperX::OpenDevice(int index)
{
    if (ripping_) {
        lastError_ = 2;
        return false;
    }
    if (index < 0 || index >= DeviceCount()) {
        lastError_ = 1;
        return false;
    }
    if (player_) player_->Stop();
    drive_ = std::make_unique<mci::CdDrive>(devices_[index]);
    player_ = std::make_unique<mci::CddaPlayer>(drive_->Device());
    toc_.reset();
    paused_ = false;
    position_ = 0;
    ripList_.clear();
    lastError_ = 0;
    if (speed_ > 0) drive_->SetSpeed(speed_);
    return true;
}

int CDRipperX::MaxSpeed() const { return drive_ ? drive_->MaxSpeed() : 0; }

void CDRipperX::SetSpeed(int speed)
{
    speed_ = std::max(0, speed);
    if (drive_) drive_->SetSpeed(speed_);
}

void CDRipperX::EjectDisc()
{
    if (!drive_ || ripping_) return;
    player_->Stop();
    paused_ = false;
    drive_->SetDoor(true);
    Toc();
}

void CDRipperX::LoadDisc()
{
    if (!drive_) return;
    drive_->SetDoor(false);
    Toc();
}

const mci::DiscToc* CDRipperX::Toc()
{
    if (!drive_) return nullptr;
    const bool had = toc_.has_value();
    toc_ = drive_->ReadToc();
    if (!toc_) {
        if (had) {
            player_->Stop();
            paused_ = false;
        }
        return nullptr;
    }
    if (!had) {
        const auto first = toc_->FirstAudioTrack();
        position_ = toc_->TrackStart(first ? *first : toc_->firstTrack);
        paused_ = false;
    }
    return &*toc_;
}

bool CDRipperX::DiscPresent() { return Toc() != nullptr; }

int CDRipperX::TrackCount()
{
    const auto* toc = Toc();
    return toc ? toc->LastTrack() : 0;
}

bool CDRipperX::ValidTrack(int track)
{
    const auto* toc = Toc();
    return toc && track >= toc->firstTrack && track <= toc->LastTrack();
}

int CDRipperX::TrackStart(int track) { return ValidTrack(track) ? toc_->TrackStart(track) : 0; }

int CDRipperX::TrackLength(int track)
{
    return ValidTrack(track) ? toc_->TrackEnd(track) - toc_->TrackStart(track) : 0;
}

bool CDRipperX::IsAudioTrack(int track) { return ValidTrack(track) && toc_->IsAudio(track); }

bool CDRipperX::IsCopyProtected(int track)
{
    return ValidTrack(track) && !toc_->copyPermitted.at(track - toc_->firstTrack);
}

QString CDRipperX::FormatTime(int position) const
{
    const int seconds = std::max(0, position) / FramesPerSecond;
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void CDRipperX::PlayTrack(int track)
{
    const auto* toc = Toc();
    if (!toc) return;
    const auto firstAudio = toc->FirstAudioTrack();
    if (!firstAudio) return;
    if (track == 0) track = *firstAudio;
    if (track < toc->firstTrack || track > toc->LastTrack() || !toc->IsAudio(track)) return;
    // The player's stream starts at the first audio track.
    const int origin = toc->TrackStart(*firstAudio);
    position_ = toc->TrackStart(track);
    paused_ = false;
    player_->SetDevice(drive_->Source());
    player_->PlayFrom(static_cast<double>(position_ - origin) / FramesPerSecond);
}

void CDRipperX::PausePlay()
{
    if (PlayState() != Playing) return;
    position_ = PlayPosition();
    player_->Pause();
    paused_ = true;
}

void CDRipperX::ResumePlay()
{
    if (PlayState() != Paused) return;
    const auto firstAudio = toc_->FirstAudioTrack();
    paused_ = false;
    player_->PlayFrom(static_cast<double>(position_ - toc_->TrackStart(*firstAudio)) / FramesPerSecond);
}

void CDRipperX::StopPlay()
{
    if (!player_) return;
    if (PlayState() == Playing) position_ = PlayPosition();
    player_->Stop();
    paused_ = false;
}

int CDRipperX::PlayState()
{
    if (!Toc()) return NoDisc;
    if (paused_) return Paused;
    return player_->Playing() ? Playing : Stopped;
}

int CDRipperX::PlayPosition()
{
    const auto* toc = Toc();
    if (!toc) return 0;
    if (!paused_) {
        const auto firstAudio = toc->FirstAudioTrack();
        if (auto t = player_->Time(); t && firstAudio)
            position_ = toc->TrackStart(*firstAudio) + static_cast<int>(*t * FramesPerSecond + 0.5);
    }
    return std::min(position_, toc->leadOut);
}

int CDRipperX::CurrentTrack()
{
    if (!Toc()) return 0;
    return toc_->TrackAt(PlayPosition());
}

void CDRipperX::ClearRipList()
{
    if (!ripping_) ripList_.clear();
}

bool CDRipperX::AddRipTrack(int track, const QString& file, int /*trackAgain*/)
{
    if (ripping_ || file.isEmpty() || !IsAudioTrack(track)) return false;
    ripList_.push_back({track, file});
    return true;
}

bool CDRipperX::StartRip()
{
    if (ripping_ || ripList_.empty() || !Toc()) return false;
    StopWorker();
    if (player_) player_->Stop();
    paused_ = false;
    const QString source = drive_->Source();
    if (source.isEmpty()) return false;
    cancel_ = false;
    ripping_ = true;
    RipEncoder* encoder = useEncoder_ ? encoder_ : nullptr;
    worker_ = std::thread(
        [this, items = ripList_, toc = *toc_, source, speed = speed_, encoder]() mutable {
            Extract(std::move(items), std::move(toc), source, speed, encoder);
        });
    return true;
}

void CDRipperX::CancelRip()
{
    if (ripping_) cancel_ = true;
}

void CDRipperX::StopWorker()
{
    if (worker_.joinable()) worker_.join();
}
