#include "platform/forms/WindowStyle.h"

#include <QWidget>

namespace forms {

void SetWindowStyle(QWidget* window, std::uint32_t style, std::uint32_t exStyle)
{
    const bool caption = (style & Style::Caption) == Style::Caption;
    const bool systemMenu = style & Style::SystemMenu;
    const bool minimize = style & Style::MinimizeBox;
    const bool maximize = style & Style::MaximizeBox;
    const bool help = exStyle & ExStyle::ContextHelp;
    // A tool window has no taskbar entry unless it asks for one; the desktop cannot give a tool
    // window's frame a taskbar entry, so asking for one makes it an ordinary window.
    const bool tool = (exStyle & ExStyle::ToolWindow) && !(exStyle & ExStyle::AppWindow);

    Qt::WindowFlags flags = tool ? Qt::Tool : Qt::Window;
    if (!caption) {
        flags |= Qt::FramelessWindowHint;
    } else if (!(systemMenu && minimize && maximize && !help && !tool)) {
        // Anything but the desktop's standard window names its decorations one by one.
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (minimize) flags |= Qt::WindowMinimizeButtonHint;
        if (maximize) flags |= Qt::WindowMaximizeButtonHint;
        if (help) flags |= Qt::WindowContextHelpButtonHint;
    }
    flags |= window->windowFlags() & Qt::WindowStaysOnTopHint;
    if (flags == window->windowFlags()) return;

    const bool shown = window->isVisible();
    window->setWindowFlags(flags);
    if (shown) window->show();
}

} // namespace forms
