#pragma once

#include <QString>
#include <functional>
#include <vector>

class CDWriterXP;

namespace cdwriter {

class HeldDrive;
class JobThread;

// One track of an audio disc: a file and its length in CD sectors (75 to the second).
struct AudioTrack {
    QString file;
    qint64 sectors = 0;
};

// The audio disc being composed: tracks in disc order, counted from 1.
class AudioTrackList {
public:
    // Adds an MP3 or WAV file at the position (1 is first; past the end appends). False for a
    // file that is neither, or cannot be read.
    bool Add(const QString& file, int position);
    bool Remove(int index);
    void Clear() { tracks_.clear(); }
    int Count() const { return static_cast<int>(tracks_.size()); }
    const AudioTrack& At(int index) const { return tracks_.at(index - 1); }
    qint64 TotalSectors() const;
    const std::vector<AudioTrack>& Tracks() const { return tracks_; }

private:
    std::vector<AudioTrack> tracks_;
};

struct AudioWriteOptions {
    bool testWrite = false;
    bool cacheFiles = true;
    bool burnProof = false;
    int speed = 0; // multiples of the CD speed; 0 lets the drive choose
};

// Writes the tracks as an audio disc, closed for good, on the job's thread; returns the job's
// final event. The disc must be empty. Each file is decoded to CD audio (and first cached in
// full when asked, or always for a real recorder). The disc-image recorder's file takes the
// disc's audio, with a cue sheet "<file>.cue" beside it that describes the tracks, so that CD
// players and rippers read the file as an audio CD.
std::function<void()> WriteAudioDisc(JobThread& job, CDWriterXP& writer, HeldDrive& held,
    std::vector<AudioTrack> tracks, const AudioWriteOptions& options);

// The cue sheet of an audio disc image whose audio is in `binName`.
QString AudioCueSheet(const QString& binName, const std::vector<AudioTrack>& tracks);

} // namespace cdwriter
