// What controls need to know about their window. Every call takes the Window object and
// answers as for a window without a native window when it has none (or is nil). The window
// layer above implements it (ui/windows/window_access.cpp).
#pragma once

#include "platform/win32/windows_api.h"

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv::ui {

class SubPane;

HWND window_handle(RuntimeObject* window);
// The window's content peer: the peer over its top-level (or MDI child) window.
SubPane* window_content_pane(RuntimeObject* window);
bool window_is_closing(RuntimeObject* window);
// The window is the active one (keyboard focus goes to its controls at once).
bool window_is_active(RuntimeObject* window);
// The peer that gets the focus back when the window becomes active.
SubPane* window_focus_pane(RuntimeObject* window);
void set_window_focus_pane(RuntimeObject* window, SubPane* pane);
// The window's own background colour (HasBackColor), as a COLORREF; false when it has none.
bool window_back_color(RuntimeObject* window, COLORREF* colour);
// A control's cursor changed from `old_cursor` to `new_cursor`: the window's cursor override,
// if it was taken from the old one, follows.
void window_cursor_changed(RuntimeObject* window, HCURSOR old_cursor, HCURSOR new_cursor);
// A control of the window has begun to accept drops: the window's drop target also serves the
// control's native window and those inside it.
void window_control_accepts_drops(RuntimeObject* window, HWND control_window);

}  // namespace qv::ui
