#pragma once

#include <cstdint>

class QWidget;

namespace forms {

// The bits of a window's style words that the desktop can honour: the frame and title bar, the
// buttons on it, the tool-window look and the taskbar entry.
namespace Style {
constexpr std::uint32_t Caption = 0x00C00000;
constexpr std::uint32_t SystemMenu = 0x00080000;
constexpr std::uint32_t ThickFrame = 0x00040000;
constexpr std::uint32_t MinimizeBox = 0x00020000;
constexpr std::uint32_t MaximizeBox = 0x00010000;
} // namespace Style
namespace ExStyle {
constexpr std::uint32_t ToolWindow = 0x00000080;
constexpr std::uint32_t ContextHelp = 0x00000400;
constexpr std::uint32_t AppWindow = 0x00040000;
} // namespace ExStyle

// Rewrites a top-level window's decorations from its style words; a shown window stays shown, and
// a window kept on top stays on top. Whether the user may size the window is the desktop's
// business here: the sizing-frame bit is not honoured.
void SetWindowStyle(QWidget* window, std::uint32_t style, std::uint32_t exStyle);

} // namespace forms
