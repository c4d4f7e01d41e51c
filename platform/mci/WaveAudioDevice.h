#pragma once

#include "platform/mci/Device.h"
#include "platform/mci/SoundServer.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

namespace mci {

// The factory of the "waveaudio" device type.
DeviceFactory WaveAudioFactory();

// An open "waveaudio" device: one recording held in memory until it is saved, recorded from the
// sound server's default source and played to its default sink. From its open on, a capture
// stream stands by, so that a recording starts with the sound of the moment it is asked for.
//
// Commands ("wait" and "notify" are accepted and change nothing):
//   record                          records, inserting at the position, until stop
//   play [from <t>] [to <t>]        plays to the end or to <t>
//   stop                            ends recording or playing; the position stays where it got to
//   seek to start|end|<t>
//   save <file>                     writes the recording as a WAV file; the recording stays
//   set time format ms|milliseconds|bytes|samples
//   set format tag pcm | alignment <n> | bitspersample <n> | samplespersec <n> | channels <n> |
//       bytespersec <n>             any of them together; refused while there is sound recorded,
//                                   and when alignment or bytes per second disagree with the rest
//   status mode|length|position|channels|bitspersample|samplespersec|bytespersec|alignment|
//          format tag|time format|ready|media present|number of tracks|current track|start position
// Times are in the time format (milliseconds at open). A new recording is PCM, 11025 samples per
// second, 8 bits, mono. Mode words: "recording", "playing", "stopped".
class WaveAudioDevice : public Device {
public:
    ~WaveAudioDevice() override;
    // Connects to the sound server; 0, or the error that kept the device from opening.
    unsigned Open();

    unsigned Execute(const Command& command, std::string& reply) override;

private:
    enum class Mode { Stopped, Recording, Playing };
    enum class TimeFormat { Milliseconds, Bytes, Samples };

    unsigned Record(Arguments& args);
    unsigned Play(Arguments& args);
    unsigned Seek(Arguments& args);
    unsigned Save(Arguments& args);
    unsigned Set(Arguments& args);
    unsigned SetFormat(Arguments& args);
    unsigned Status(Arguments& args, std::string& reply);
    void Stop();

    std::size_t Length() const;
    std::size_t Position() const;
    std::int64_t ToUnits(std::size_t bytes) const;
    unsigned TakeTime(Arguments& args, std::size_t& bytes) const;

    PcmFormat format_;
    TimeFormat timeFormat_ = TimeFormat::Milliseconds;
    std::atomic<Mode> mode_ {Mode::Stopped};

    // Shared with the sound server's thread.
    mutable std::mutex mutex_;
    std::string data_;
    std::size_t position_ = 0; // bytes
    std::size_t playEnd_ = 0;

    // Last member: it stops its stream before the rest goes away.
    std::unique_ptr<SoundServer> sound_ = std::make_unique<SoundServer>();
};

} // namespace mci
