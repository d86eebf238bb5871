// The buttons Enter and Escape push in a window.
#include "ui/windows/window_layer.h"

namespace qv::ui {

// Which button Enter and Escape push belongs to the buttons' side, which marks a button as its
// window's default or cancel button; until it does, a window has neither.
SubPane* window_default_button(RuntimeObject*) { return nullptr; }
SubPane* window_cancel_button(RuntimeObject*) { return nullptr; }

}  // namespace qv::ui
