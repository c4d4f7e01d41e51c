#pragma once

#include "platform/mci/Device.h"
#include "platform/mci/SoundServer.h"

#include <atomic>
#include <mutex>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;

namespace mci {

// The factory of the "sequencer" device type.
DeviceFactory SequencerFactory();

// An open "sequencer" device: one standard MIDI file, synthesized with the General MIDI
// SoundFont and played to the sound server's default sink.
//
// Commands ("wait" and "notify" are accepted and change nothing):
//   play                from where it stopped, or from the start once it played to the end
//   stop                keeps the position
//   seek to start
//   status mode|position|ready|time format     (positions in milliseconds of sound played)
// Mode words: "playing", "stopped".
class SequencerDevice : public Device {
public:
    ~SequencerDevice() override;
    // Loads the file and connects to the sound server; 0, or the error that kept it from opening.
    unsigned Load(const std::string& file);

    unsigned Execute(const Command& command, std::string& reply) override;

private:
    unsigned Play();
    void Stop();
    std::size_t Render(char* buffer, std::size_t bytes);

    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    _fluid_player_t* player_ = nullptr;
    std::atomic<bool> playing_ {false};
    std::atomic<std::int64_t> framesPlayed_ {0};
    std::atomic<bool> atEnd_ {false};
    static constexpr int Rate = 44100;

    // Last member: it stops its stream before the synthesizer goes away.
    SoundServer sound_;
};

} // namespace mci
