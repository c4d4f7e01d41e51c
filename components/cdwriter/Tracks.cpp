// The audio track list of the component and the audio disc write.
#include "components/cdwriter/AudioWrite.h"
#include "components/cdwriter/CDWriterXP.h"
#include "components/cdwriter/Drives.h"
#include "components/cdwriter/JobThread.h"

#include <QFileInfo>

using cdwriter::AudioTrackList;

AudioTrackList& CDWriterXP::Tracks()
{
    if (!tracks_) tracks_ = std::make_unique<AudioTrackList>();
    return *tracks_;
}

void CDWriterXP::ClearTracks() { Tracks().Clear(); }

int CDWriterXP::TrackCount() { return Tracks().Count(); }

qint64 CDWriterXP::TotalBlocks() { return Tracks().TotalSectors(); }

QString CDWriterXP::SizeToTime(qint64 size)
{
    // Audio blocks: 75 to the second.
    const qint64 seconds = size / 75;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool CDWriterXP::RemoveTrack(int index) { return !Busy() && Tracks().Remove(index); }

bool CDWriterXP::AddTrack(const QString& file, int position) { return !Busy() && Tracks().Add(file, position); }

bool CDWriterXP::ListTracks()
{
    const AudioTrackList& tracks = Tracks();
    for (int t = 1; t <= tracks.Count(); ++t) {
        const cdwriter::AudioTrack& track = tracks.At(t);
        emit TrackEnumerated(track.file, QFileInfo(track.file).fileName(), track.sectors, 0, t);
    }
    return true;
}

bool CDWriterXP::StartAudioWrite()
{
    std::shared_ptr<cdwriter::HeldDrive> held = DriveForJob();
    if (!held || Tracks().Count() == 0) return false;
    cdwriter::AudioWriteOptions options;
    options.testWrite = testWrite_;
    options.cacheFiles = cacheFiles_;
    options.burnProof = burnProof_;
    options.speed = speed_;
    return job_->Start([this, held, tracks = Tracks().Tracks(), options](cdwriter::JobThread& job) {
        return cdwriter::WriteAudioDisc(job, *this, *held, tracks, options);
    });
}
