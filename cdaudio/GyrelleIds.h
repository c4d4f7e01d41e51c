#pragma once

#include <cstdint>

// The dispatch ids of the audio CD control, fixed for its hosts.
namespace GyrelleIds {

constexpr std::int32_t CDPaused = 0x40030000;
constexpr std::int32_t fastForwardSpeed = 0x40030001;
constexpr std::int32_t fPlaying = 0x40030002;
constexpr std::int32_t fCDLoaded = 0x40030003;
constexpr std::int32_t numTracks = 0x40030004;
constexpr std::int32_t track = 0x40030006;
constexpr std::int32_t min = 0x40030007;
constexpr std::int32_t sec = 0x40030008;
constexpr std::int32_t cmd = 0x40030009;
constexpr std::int32_t TrackTime = 0x4003000A;
constexpr std::int32_t TotalTime = 0x4003000B;

constexpr std::int32_t Initiate = 0x60030001;
constexpr std::int32_t Terminate = 0x60030002;
constexpr std::int32_t SendMCIString = 0x60030003;
constexpr std::int32_t PlayCD = 0x60030004;
constexpr std::int32_t StopCD = 0x60030005;
constexpr std::int32_t PauseCD = 0x60030006;
constexpr std::int32_t EjectCD = 0x60030007;
constexpr std::int32_t InjectCD = 0x60030008;
constexpr std::int32_t FFCD = 0x60030009;
constexpr std::int32_t RWCD = 0x6003000A;
constexpr std::int32_t FTrack = 0x6003000B;
constexpr std::int32_t PTrack = 0x6003000C;
constexpr std::int32_t Update = 0x6003000D;

} // namespace GyrelleIds
