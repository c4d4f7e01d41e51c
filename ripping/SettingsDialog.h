#pragma once

namespace forms {
class Form;
}

// Shows an encoder settings dialog modal, as a window of its owner when one is given.
void ShowOwnedModal(forms::Form& dialog, forms::Form* owner);
