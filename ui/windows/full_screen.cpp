// Full-screen mode: the window loses its frame and covers the screen it overlaps most; switching
// it off gives back the frame and the bounds it had.
#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

constexpr LONG kFrameStyles = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER;

}  // namespace

void switch_full_screen(RuntimeObject* window, bool on)
{
    RuntimeViewWindow* view = view_of(window);
    if (!view)
        return;
    WindowObject* w = window_fields(window);
    HWND handle = view->handle();
    if (on) {
        const RECT content = rect_of(w->bounds);
        MONITORINFO monitor{sizeof monitor, {}, {}, 0};
        if (!GetMonitorInfoW(MonitorFromRect(&content, MONITOR_DEFAULTTONEAREST), &monitor))
            return;
        if (!w->fullScreen) {
            w->savedBounds = w->bounds;
            view->SetProperty("SavedStyle", GetWindowLongW(handle, GWL_STYLE));
        }
        SetWindowLongW(handle, GWL_STYLE, GetWindowLongW(handle, GWL_STYLE) & ~kFrameStyles);
        const RECT& r = monitor.rcMonitor;
        w->fullScreen = 1;
        w->bounds = bounds_of(r);
        SetWindowPos(handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    }
    if (!w->fullScreen)
        return;
    SetWindowLongW(handle, GWL_STYLE, view->Property("SavedStyle"));
    SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    w->fullScreen = 0;
    w->bounds = w->savedBounds;
    view->MoveContentTo(rect_of(w->bounds));
}

}  // namespace qv::ui
