#include "player/ChangeBorder.h"

#include "platform/forms/Form.h"
#include "platform/forms/WindowStyle.h"

namespace ChangeBorder {

StyleWords BorderStyleWords(int borderStyle, bool clipControls, bool systemMenu, bool maxButton, bool minButton,
    bool appWindow, bool contextHelp)
{
    StyleWords words;
    if (clipControls) words.style += 0x2000000;
    if (systemMenu) words.style += 0x80000;
    if (maxButton) words.style += 0x10000;
    if (minButton) words.style += 0x20000;
    if (appWindow) words.extended = 0x40000;
    if (contextHelp) words.extended += 0x400;

    struct Bits {
        std::uint32_t style;
        std::uint32_t extended;
    };
    static constexpr Bits table[] = {
        {0x14000000, 0x000}, // none
        {0x14C00000, 0x100}, // fixed single
        {0x14C40000, 0x100}, // sizable
        {0x14C00080, 0x101}, // fixed dialog
        {0x14C00000, 0x180}, // fixed tool window
        {0x14C40000, 0x180}, // sizable tool window
    };
    if (borderStyle >= 0 && borderStyle < 6) {
        words.style += table[borderStyle].style;
        words.extended += table[borderStyle].extended;
    }
    return words;
}

void ChangeBorderStyle(forms::Form* form, int borderStyle, bool clipControls, bool systemMenu, bool maxButton,
    bool minButton, bool appWindow, bool contextHelp)
{
    const StyleWords words
        = BorderStyleWords(borderStyle, clipControls, systemMenu, maxButton, minButton, appWindow, contextHelp);
    forms::SetWindowStyle(form, words.style, words.extended);
}

} // namespace ChangeBorder
