// Which native windows belong to the runtime: the window classes whose windows are runtime
// windows (the MDI frame's here; "QVWindow" and the MDI children's from the window layer).
#pragma once

#include "platform/win32/windows_api.h"

namespace qv {

void add_runtime_window_class(ATOM window_class);
bool is_runtime_window(HWND window);
// The window message boxes belong to: the foreground runtime window, else the MDI frame (the
// first registered class's window that is visible), else none. A box with an owner gives the
// activation back to it when it closes.
HWND message_box_owner();

// The runtime window that is `window` or contains it (walking up the parents), or null.
HWND runtime_window_containing(HWND window);

}  // namespace qv
