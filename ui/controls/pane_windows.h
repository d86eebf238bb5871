// The child windows of controls the runtime draws itself ("QV_Pane", "QV_CanvasPane"), and the
// control reflection that both their procedure and the top-level window's run first: messages
// a Win32 control sends its parent go to the control's own peer.
#pragma once

#include "platform/win32/windows_api.h"

#include "core/types.h"

namespace qv::ui {

inline constexpr wchar_t kPaneClass[] = L"QV_Pane";
inline constexpr wchar_t kCanvasPaneClass[] = L"QV_CanvasPane";

// Registers both classes, wide and ANSI forms; once per process.
void register_pane_classes();

// A child window of `class_name` inside `parent`, hidden, at (0, 0) with no size.
HWND create_pane_window(const wchar_t* class_name, HWND parent);

// The reflection step: true when the message was reflected and is answered with *result.
// WM_NOTIFY is reflected and still goes on to default processing (false).
bool reflect_control_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

}  // namespace qv::ui
