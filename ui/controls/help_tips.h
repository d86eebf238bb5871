// Help tags: the tool tip a control's window shows when the mouse rests on it. One tip window
// per top-level window carries every tool of that window.
#pragma once

#include "platform/win32/windows_api.h"

namespace qv::ui {

// Shows `utf8` (empty or null removes the tip) when the mouse rests on `control_window`. A
// top-level window is a tool of its own tips: its tip shows over its empty area.
void set_help_tip(HWND control_window, const char* utf8);
void remove_help_tip(HWND control_window);

// A disabled window gets no mouse messages (its parent does), so its help is a tool of the
// parent over the window's rectangle; `utf8` empty or null removes it. Call again when the
// window moves.
void set_disabled_help_tip(HWND control_window, const char* utf8);

// Every window's tips on or off (off: nothing shows until switched on again); tip windows made
// later follow the last switch. On at start.
void set_help_tips_active(bool on);
// The window moved or the program waits in a system loop: a tip showing is taken down rather
// than left where the window was.
void follow_window_help_tips(HWND window);

}  // namespace qv::ui
