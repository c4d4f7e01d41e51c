#pragma once

namespace forms {

// The text caret blinks while the user works and stops blinking, staying on, once the program has
// had no key and no click for ten seconds, as the desktop's own toolkits do: a program left alone
// does not wake the processor and the display twice a second to blink it. Applies to the whole
// program; called once, after the application object exists.
void RestCaretWhenIdle();

} // namespace forms
