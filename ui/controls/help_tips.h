// Help tags: the tool tip a control's window shows when the mouse rests on it. One tip window
// per top-level window carries every tool of that window.
#pragma once

#include "platform/win32/windows_api.h"

namespace qv::ui {

// Shows `utf8` (empty or null removes the tip) when the mouse rests on `control_window`.
void set_help_tip(HWND control_window, const char* utf8);
void remove_help_tip(HWND control_window);

}  // namespace qv::ui
