#pragma once

namespace forms {
class Form;
}

// The set-up every tool window performs at load: it attaches to the docking layer as a secondary
// window, takes the player window's skin, and stays on top exactly when the player's
// "Always On Top" item is checked.
void ToolWindowSetup(forms::Form& form);
