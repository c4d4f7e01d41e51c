#include "platform/mci/SequencerDevice.h"

#include "platform/mci/Errors.h"

#include <fluidsynth.h>

#include <QFileInfo>

namespace mci {

namespace {

// The General MIDI SoundFont the sequencer plays with.
const char* const SoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"};

void Quiet()
{
    static const bool once = [] {
        // The synthesizer's own chatter would only end up on the terminal.
        for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
        return true;
    }();
    (void)once;
}

} // namespace

DeviceFactory SequencerFactory()
{
    return [](const std::string& element, std::unique_ptr<Device>& device) -> unsigned {
        if (element.empty()) return Err::FilenameRequired;
        auto sequencer = std::make_unique<SequencerDevice>();
        if (const unsigned error = sequencer->Load(element)) return error;
        device = std::move(sequencer);
        return 0;
    };
}

SequencerDevice::~SequencerDevice()
{
    sound_.Stop();
    if (player_) {
        fluid_player_stop(player_);
        delete_fluid_player(player_);
    }
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

unsigned SequencerDevice::Load(const std::string& file)
{
    Quiet();
    if (!QFileInfo(QString::fromStdString(file)).isFile()) return Err::FileNotFound;
    if (!fluid_is_midifile(file.c_str())) return Err::InvalidFile;

    settings_ = new_fluid_settings();
    if (!settings_) return Err::OutOfMemory;
    fluid_settings_setnum(settings_, "synth.sample-rate", Rate);
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    synth_ = new_fluid_synth(settings_);
    if (!synth_) return Err::OutOfMemory;
    bool loaded = false;
    for (const char* font : SoundFonts)
        if (!loaded && QFileInfo::exists(QString::fromLatin1(font))) loaded = fluid_synth_sfload(synth_, font, 1) >= 0;
    if (!loaded) return Err::SeqNoMidiPresent;

    player_ = new_fluid_player(synth_);
    if (!player_ || fluid_player_add(player_, file.c_str()) != FLUID_OK) return Err::InvalidFile;
    if (!sound_.Connect()) return Err::SeqNoMidiPresent;
    return 0;
}

unsigned SequencerDevice::Execute(const Command& command, std::string& reply)
{
    Arguments args(command.arguments);
    const std::string& verb = command.verb;
    if (verb == "play") {
        if (const unsigned error = args.Finish()) return error;
        return Play();
    }
    if (verb == "stop") {
        if (const unsigned error = args.Finish()) return error;
        Stop();
        return 0;
    }
    if (verb == "seek") {
        if (!args.Take({"to", "start"})) return Err::UnrecognizedKeyword;
        if (const unsigned error = args.Finish()) return error;
        Stop();
        fluid_player_seek(player_, 0);
        framesPlayed_ = 0;
        atEnd_ = false;
        return 0;
    }
    if (verb == "status") {
        if (args.Take("mode"))
            reply = playing_ && !sound_.Failed() ? "playing" : "stopped";
        else if (args.Take("position"))
            reply = std::to_string(framesPlayed_ * 1000 / Rate);
        else if (args.Take("ready"))
            reply = sound_.Failed() ? "false" : "true";
        else if (args.Take({"time", "format"}))
            reply = "milliseconds";
        else
            return args.AtEnd() ? Err::MissingParameter : Err::UnsupportedFunction;
        if (const unsigned error = args.Finish()) {
            reply.clear();
            return error;
        }
        return 0;
    }
    return Err::UnsupportedFunction;
}

unsigned SequencerDevice::Play()
{
    if (playing_) return 0;
    sound_.Stop();
    if (atEnd_) {
        fluid_player_seek(player_, 0);
        framesPlayed_ = 0;
        atEnd_ = false;
    }
    if (fluid_player_play(player_) != FLUID_OK) return Err::InvalidFile;
    PcmFormat format;
    format.rate = Rate;
    format.channels = 2;
    format.bits = 16;
    const bool started = sound_.Play(
        format, [this](char* buffer, std::size_t bytes) { return Render(buffer, bytes); },
        [this] { playing_ = false; });
    if (!started) {
        fluid_player_stop(player_);
        return Err::SeqNoMidiPresent;
    }
    playing_ = true;
    return 0;
}

// Runs on the sound server's thread: the synthesizer's output, until the player reaches the end.
// (A stop also marks the player done, but no sound is asked for after a stop.)
std::size_t SequencerDevice::Render(char* buffer, std::size_t bytes)
{
    if (fluid_player_get_status(player_) == FLUID_PLAYER_DONE) {
        atEnd_ = true;
        return 0;
    }
    const int frames = int(bytes / 4);
    fluid_synth_write_s16(synth_, frames, buffer, 0, 2, buffer, 1, 2);
    framesPlayed_ += frames;
    return std::size_t(frames) * 4;
}

void SequencerDevice::Stop()
{
    sound_.Stop();
    fluid_player_stop(player_);
    fluid_synth_all_notes_off(synth_, -1);
    playing_ = false;
}

} // namespace mci
