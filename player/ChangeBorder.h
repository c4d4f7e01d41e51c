#pragma once

#include <cstdint>

namespace forms {
class Form;
}

namespace ChangeBorder {

// Border styles of a window.
namespace BorderStyle {
constexpr int None = 0;
constexpr int FixedSingle = 1;
constexpr int Sizable = 2;
constexpr int FixedDialog = 3;
constexpr int FixedToolWindow = 4;
constexpr int SizableToolWindow = 5;
} // namespace BorderStyle

struct StyleWords {
    std::uint32_t style = 0;
    std::uint32_t extended = 0;
};

// The window style words for a border style (0 to 5; any other adds nothing) and the flags.
StyleWords BorderStyleWords(int borderStyle, bool clipControls, bool systemMenu, bool maxButton, bool minButton,
    bool appWindow, bool contextHelp);

// Gives a window another border style at run time, with or without its system menu, its
// maximise and minimise buttons, its taskbar entry and its help button.
void ChangeBorderStyle(forms::Form* form, int borderStyle, bool clipControls, bool systemMenu, bool maxButton,
    bool minButton, bool appWindow, bool contextHelp);

} // namespace ChangeBorder
