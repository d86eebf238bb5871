// What controls read from their window (window_access.h).
#include "ui/controls/window_access.h"

#include "ui/windows/runtime_view_window.h"

namespace qv::ui {

HWND window_handle(RuntimeObject* window)
{
    RuntimeViewWindow* view = view_of(window);
    return view ? view->handle() : nullptr;
}

SubPane* window_content_pane(RuntimeObject* window)
{
    RuntimeViewWindow* view = view_of(window);
    return view ? view->content_pane() : nullptr;
}

bool window_is_closing(RuntimeObject* window)
{
    RuntimeViewWindow* view = view_of(window);
    return view && view->closing();
}

bool window_is_active(RuntimeObject* window)
{
    RuntimeViewWindow* view = view_of(window);
    if (!view)
        return false;
    if (view->is_mdi_child())
        return reinterpret_cast<HWND>(SendMessageW(GetParent(view->handle()), WM_MDIGETACTIVE, 0, 0)) == view->handle();
    return GetActiveWindow() == view->handle();
}

SubPane* window_focus_pane(RuntimeObject* window)
{
    RuntimeViewWindow* view = view_of(window);
    return view ? view->focus_pane() : nullptr;
}

void set_window_focus_pane(RuntimeObject* window, SubPane* pane)
{
    if (RuntimeViewWindow* view = view_of(window))
        view->set_focus_pane(pane);
}

bool window_back_color(RuntimeObject* window, COLORREF* colour)
{
    RuntimeViewWindow* view = view_of(window);
    return view && view->back_color(colour);
}

void window_cursor_changed(RuntimeObject* window, HCURSOR old_cursor, HCURSOR new_cursor)
{
    RuntimeViewWindow* view = view_of(window);
    if (view && old_cursor && view->cursor_override() == old_cursor)
        view->set_cursor_override(new_cursor);
}

}  // namespace qv::ui
