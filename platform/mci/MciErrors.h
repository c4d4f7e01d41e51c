#pragma once

// The MCI error codes the cdaudio device returns.
namespace mci {
constexpr int MCIERR_UNRECOGNIZED_KEYWORD = 259;
constexpr int MCIERR_UNRECOGNIZED_COMMAND = 261;
constexpr int MCIERR_HARDWARE = 262;
constexpr int MCIERR_MISSING_COMMAND_STRING = 267;
constexpr int MCIERR_BAD_INTEGER = 270;
constexpr int MCIERR_MISSING_PARAMETER = 273;
constexpr int MCIERR_DEVICE_NOT_READY = 276;
constexpr int MCIERR_OUTOFRANGE = 282;
constexpr int MCIERR_BAD_TIME_FORMAT = 293;
} // namespace mci
