#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace burn {
struct burn_disc;
struct burn_session;
struct burn_source;
struct burn_track;
} // namespace burn

class CDWriterXP;

namespace cdwriter {

struct BurnTracks;

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

// How an audio track is defined to the recording library. Such a track is shaped only through
// DefineTrack, which makes the library's calls (burn_track_define_data, burn_track_set_byte_swap)
// from this record, so what each track was asked to be can be read back: the library itself tells
// the mode, but not the byte swap it applies when it writes.
struct TrackDefinition {
    int offset = 0;
    int tail = 0;
    bool pad = true;
    int mode = 0;
    bool swapBytes = false;
};
void DefineTrack(burn::burn_track* track, const TrackDefinition& definition);

// What a system recorder is given for an audio disc: one session with an audio track for each
// file of CD audio, read through a fifo whose fill is the write's read buffer.
class AudioBurnDisc {
public:
    explicit AudioBurnDisc(const std::vector<QString>& files);
    ~AudioBurnDisc();
    AudioBurnDisc(const AudioBurnDisc&) = delete;
    AudioBurnDisc& operator=(const AudioBurnDisc&) = delete;

    // False when a file could not be opened.
    bool Valid() const { return valid_; }
    burn::burn_disc* Disc() const { return disc_; }
    int TrackCount() const { return int(tracks_.size()); }
    burn::burn_track* Track(int index) const { return tracks_.at(std::size_t(index)); }
    // What the recording library reads the track at the index (counted from 0) from.
    burn::burn_source* Source(int index) const { return fifos_.at(std::size_t(index)); }
    // How that track was defined to the library.
    const TrackDefinition& Definition(int index) const { return definitions_.at(std::size_t(index)); }
    BurnTracks Sizes() const;

private:
    bool valid_ = true;
    burn::burn_disc* disc_;
    burn::burn_session* session_;
    std::vector<burn::burn_track*> tracks_;
    std::vector<burn::burn_source*> fifos_;
    std::vector<TrackDefinition> definitions_;
    std::vector<qint64> bytes_;
};

// The cue sheet of an audio disc image whose audio is in `binName`.
QString AudioCueSheet(const QString& binName, const std::vector<AudioTrack>& tracks);

} // namespace cdwriter
