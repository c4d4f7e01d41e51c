#pragma once

namespace forms {
class Form;
}

// The set-up every tool window performs at load: it attaches to the docking layer as a secondary
// window, takes the player window's skin, and stays on top exactly when the player's
// "Always On Top" item is checked.
void ToolWindowSetup(forms::Form& form);

// The two halves of the set-up, for the window that skins itself at the start of its load and
// attaches at the end: the player's skin, and the docking attach with the topmost step.
void ToolWindowSkin(forms::Form& form);
void ToolWindowAttach(forms::Form& form);
