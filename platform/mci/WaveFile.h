#pragma once

#include "platform/mci/SoundServer.h"

#include <QByteArray>
#include <cstdint>
#include <string>
#include <string_view>

namespace mci {

// Writes linear PCM as a RIFF WAVE file. The file appears whole or not at all: it is written
// beside its final name first and takes that name only when complete, so a failed write leaves
// an existing file of that name as it was. False when nothing was written.
bool WriteWaveFile(const std::string& path, const PcmFormat& format, std::string_view data);

// The 44 bytes that start a RIFF WAVE file of linear PCM whose data chunk holds dataBytes.
QByteArray WaveHeader(const PcmFormat& format, std::uint32_t dataBytes);

} // namespace mci
