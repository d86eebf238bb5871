// The buttons Enter and Escape push in a window: its enabled, shown push buttons marked
// Default or Cancel.
#include "ui/controls/buttons/button_pane.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {

SubPane* window_default_button(RuntimeObject* window) { return default_button_of(window); }
SubPane* window_cancel_button(RuntimeObject* window) { return cancel_button_of(window); }

}  // namespace qv::ui
