// Makes the recording and MIDI devices known to the device table when the layer is loaded.
#include "platform/mci/SequencerDevice.h"
#include "platform/mci/WaveAudioDevice.h"

namespace mci {

namespace {

const bool registered = [] {
    RegisterDeviceType("waveaudio", WaveAudioFactory());
    RegisterDeviceType("sequencer", SequencerFactory());
    return true;
}();

} // namespace

} // namespace mci
