#pragma once

#include <cstdint>

namespace display {

// The fields of a display-mode record that a change applies.
namespace DisplayField {
constexpr std::uint32_t BitsPerPel = 0x40000;
constexpr std::uint32_t PelsWidth = 0x80000;
constexpr std::uint32_t PelsHeight = 0x100000;
constexpr std::uint32_t DisplayFrequency = 0x400000;
} // namespace DisplayField

// One mode of the primary display.
struct DisplayMode {
    std::uint32_t PelsWidth = 0;
    std::uint32_t PelsHeight = 0;
    std::uint16_t BitsPerPel = 0;
    std::uint32_t DisplayFrequency = 0; // in Hz, rounded
    std::uint32_t Fields = 0;
    unsigned long Id = 0; // the display's own name for the mode
};

// The results of a change, as the platform gives them.
namespace ChangeResult {
constexpr int Successful = 0;
constexpr int Restart = 1;
constexpr int Failed = -1;
constexpr int BadMode = -2;
constexpr int NotUpdated = -3;
constexpr int BadFlags = -4;
constexpr int BadParam = -5;
} // namespace ChangeResult

// Change flags: 0 applies the mode now; UpdateRegistry also keeps it as the default, which under
// X lasts for the session; Test only checks whether the mode could be applied.
namespace ChangeFlags {
constexpr int UpdateRegistry = 1;
constexpr int Test = 2;
} // namespace ChangeFlags

// Mode index (from 0) of the primary output, in the order the display lists them; false past the
// last one, and for every index on a display without XRandR 1.2. Bits per pixel is the screen's
// colour depth: every mode has the one depth the display server runs at.
bool EnumDisplaySettings(int index, DisplayMode& mode);

// Switches the primary output to the mode's width and height (and refresh rate, when its field
// is set), resizing the screen to fit. A colour depth other than the server's takes a restart
// of the display server (Restart); a size the output does not offer is BadMode; a display that
// refuses, or none with XRandR, is Failed.
int ChangeDisplaySettings(const DisplayMode& mode, int flags);

} // namespace display
