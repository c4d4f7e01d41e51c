#include "platform/forms/WindowStyle.h"

#include "platform/forms/Form.h"
#include "platform/forms/WindowManager.h"

#include <QWidget>
#include <QWindow>

namespace forms {

namespace {

// The flags as the desktop layer completes them when they are set the ordinary way: a window
// that names none of its decorations gets the standard ones, one that names some gets a title.
Qt::WindowFlags Completed(Qt::WindowFlags flags)
{
    const Qt::WindowFlags decorations = Qt::CustomizeWindowHint | Qt::FramelessWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
        | Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint;
    const bool named = flags & decorations;
    const Qt::WindowType type = static_cast<Qt::WindowType>(int(flags & Qt::WindowType_Mask));
    if (flags & Qt::CustomizeWindowHint) {
        if (flags & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowContextHelpButtonHint)) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowTitleHint;
            flags &= ~Qt::FramelessWindowHint;
        }
    } else if (named && !(flags & Qt::FramelessWindowHint)) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowTitleHint;
    }
    if (!named) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowTitleHint;
        if (type != Qt::Dialog && type != Qt::Sheet && type != Qt::Tool)
            flags |= Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint
                | Qt::WindowFullscreenButtonHint;
        else if (type == Qt::Dialog || type == Qt::Sheet)
            flags |= Qt::WindowCloseButtonHint;
    }
    return flags;
}

} // namespace

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
    if (Completed(flags) == window->windowFlags() || flags == window->windowFlags()) return;

    if (!window->testAttribute(Qt::WA_WState_Created) || !window->windowHandle()) {
        window->setWindowFlags(flags);
        return;
    }
    // A window that exists keeps its native window (what draws into it keeps drawing): the new
    // decorations are only told to the window manager.
    flags = Completed(flags);
    window->overrideWindowFlags(flags);
    window->windowHandle()->setFlags(flags);
    if (auto* form = qobject_cast<Form*>(window); form && form->Topmost()) wm::SetState(window, wm::State::Above, true);
}

} // namespace forms
