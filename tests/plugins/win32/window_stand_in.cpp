// The controls ask their Window object about its native window through window_access.h. The
// tests here put controls in plain windows with no Window object, so every answer is the one
// for a window without a native window. Built only while the window layer has no sources
// (tests/CMakeLists.txt); once it has, its own definitions serve.
#include "ui/windows/window_access.h"

namespace qv::ui {

HWND window_handle(RuntimeObject*) { return nullptr; }
SubPane* window_content_pane(RuntimeObject*) { return nullptr; }
bool window_is_closing(RuntimeObject*) { return false; }
bool window_is_active(RuntimeObject*) { return false; }
SubPane* window_focus_pane(RuntimeObject*) { return nullptr; }
void set_window_focus_pane(RuntimeObject*, SubPane*) { }
bool window_back_color(RuntimeObject*, COLORREF*) { return false; }

}  // namespace qv::ui
