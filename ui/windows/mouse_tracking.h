// The mouse capture (the window or control that gets MouseDrag and MouseUp while a button is
// held) and the tracking that runs after every fetched message: drags, and MouseEnter,
// MouseMove and MouseExit of the top-level window under the cursor.
#pragma once

#include "platform/win32/windows_api.h"

#include "core/types.h"

namespace qv::ui {

class NativeWindow;
class SubPane;

// Makes the window or the control peer the capture target (SetCapture on its window),
// releasing any earlier one first.
void capture_mouse(NativeWindow* window);
void capture_mouse(SubPane* pane);
bool capture_active();
// Ends the capture and gives the former target its MouseUp at the cursor (client coordinates
// of the target's window).
void end_capture_with_mouse_up();
// Forgets a target that is going away (no MouseUp).
void forget_capture(NativeWindow* window);
void forget_capture(SubPane* pane);

// Runs after every fetched message (the loop's mouse tracking).
void track_mouse();
// The top-level window under the mouse goes away.
void forget_window_under_mouse(NativeWindow* window);

}  // namespace qv::ui
