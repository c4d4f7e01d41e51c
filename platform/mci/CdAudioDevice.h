#pragma once

#include "platform/mci/CdDrive.h"
#include "platform/mci/CddaPlayer.h"

#include <QString>
#include <QStringList>

namespace mci {

// The cdaudio device: plays the audio tracks of the drive's disc and reports its table of contents,
// position and mode in the device's time format (tmsf, msf or milliseconds).
//
// Commands, given as their words without the device name ("wait" and "notify" are accepted anywhere):
//   play [from <time>]            play to the end of the disc, from the position or from <time>
//   pause | resume | stop         a stop keeps the position
//   seek to <time>|start|end      stops playback at <time>
//   set time format tmsf|msf|milliseconds|ms
//   set door open|closed
//   status media present|ready|mode|number of tracks|current track|time format|length|
//          length track <n>|position|position track <n>
// Replies: positions in tmsf "tt:mm:ss:ff", in msf "mm:ss:ff", in milliseconds a number; lengths in
// "mm:ss:ff" (tmsf and msf) or milliseconds; mode "playing", "paused", "stopped", "open" or
// "not ready"; Booleans "true"/"false". Milliseconds and msf count from the disc's absolute
// address 00:02:00, the start of the program area. On a disc with data tracks only the audio tracks
// sound: playing from a data track plays nothing, and "seek to start" goes to the first audio
// track. A disc image whose cue sheet cannot be read fails every command that needs the disc with
// the hardware error, where an empty drive reports "not ready".
class CdAudioDevice {
public:
    CdAudioDevice();

    // Runs one command; returns 0 or an MCI error code, and the reply text in reply.
    int Command(QStringList words, QString& reply);

private:
    enum class Format { Tmsf, Msf, Milliseconds };

    int Play(const QStringList& args);
    int Seek(const QStringList& args);
    int Set(const QStringList& args);
    int Status(const QStringList& args, QString& reply);

    bool Refresh();
    // Where the player's stream starts: the first audio track (the stream has no data tracks).
    int StreamOrigin() const;
    bool IsAudioAt(int sector) const;
    int Position();
    bool ParseTime(const QString& text, int& sector) const;
    QString PositionText(int sector) const;
    QString LengthText(int sectors) const;
    void StopPlayer();

    CdDrive drive_;
    CddaPlayer player_;
    std::optional<DiscToc> toc_;
    Medium medium_ = Medium::None;
    Format format_ = Format::Msf;
    int position_ = 0; // sector while not playing
    bool paused_ = false;
};

} // namespace mci
