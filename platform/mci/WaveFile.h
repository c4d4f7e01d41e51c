#pragma once

#include "platform/mci/SoundServer.h"

#include <string>
#include <string_view>

namespace mci {

// Writes linear PCM as a RIFF WAVE file. The file appears whole or not at all: it is written
// beside its final name first and takes that name only when complete, so a failed write leaves
// an existing file of that name as it was. False when nothing was written.
bool WriteWaveFile(const std::string& path, const PcmFormat& format, std::string_view data);

} // namespace mci
