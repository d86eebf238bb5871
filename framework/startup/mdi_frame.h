// The MDI frame window of an application that asked for MDI mode: created hidden by
// RuntimeInit, shown once the application object is registered, carrying the application's
// menu bar. Closing it is a quit attempt.
#pragma once

#include "core/seam.h"
#include "platform/win32/windows_api.h"

#include "runtime/strings/string_ref.h"

namespace qv {

// Registers the frame and child window classes and creates the frame (640 by 480, hidden).
HWND create_mdi_frame(const StringRef& title);
HWND mdi_frame();
// Shows the frame if it exists and is hidden.
void show_mdi_frame();

// The window layer's filter for MDI children, run before DefMDIChildProc: true when it
// handled the message and set `result`.
using MdiChildFilter = bool (*)(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
Seam<MdiChildFilter>& mdi_child_filter_seam();

}  // namespace qv
