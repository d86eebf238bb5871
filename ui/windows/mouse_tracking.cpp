#include "ui/windows/mouse_tracking.h"

#include "framework/application/event_firing.h"
#include "framework/event_loop/runtime_windows.h"
#include "ui/controls/sub_pane.h"
#include "ui/windows/native_window.h"

namespace qv::ui {
namespace {

NativeWindow* s_capture_window = nullptr;
SubPane* s_capture_pane = nullptr;
NativeWindow* s_under_mouse = nullptr;
POINT s_last_point{INT_MIN, INT_MIN};

HWND capture_handle()
{
    if (s_capture_window)
        return s_capture_window->handle();
    return s_capture_pane ? s_capture_pane->handle() : nullptr;
}

// The point in client coordinates of the capture target's top-level window, where window and
// control mouse coordinates are measured.
POINT capture_point(POINT screen)
{
    HWND window = s_capture_window ? s_capture_window->handle() : nullptr;
    if (!window && s_capture_pane)
        window = GetAncestor(s_capture_pane->handle(), GA_ROOT);
    if (window && window != GetAncestor(window, GA_ROOT) && !NativeWindow::FromHandle(window))
        window = GetAncestor(window, GA_ROOT);
    ScreenToClient(window, &screen);
    return screen;
}

void release()
{
    const bool had = capture_handle() != nullptr;
    s_capture_window = nullptr;
    s_capture_pane = nullptr;
    if (had)
        ReleaseCapture();
}

HWND top_level_of(HWND window)
{
    while (window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) && GetParent(window)) {
        // An MDI child is itself a runtime window: stop at it.
        if (NativeWindow::FromHandle(window))
            break;
        window = GetParent(window);
    }
    return window;
}

void exit_window_under_mouse()
{
    if (NativeWindow* old = s_under_mouse) {
        s_under_mouse = nullptr;
        run_guarded([old] { old->DoMouseExit(); });
    }
}

}  // namespace

void capture_mouse(NativeWindow* window)
{
    release();
    s_capture_window = window;
    if (window)
        SetCapture(window->handle());
}

void capture_mouse(SubPane* pane)
{
    release();
    s_capture_pane = pane;
    if (pane)
        SetCapture(pane->handle());
}

bool capture_active() { return s_capture_window || s_capture_pane; }

void end_capture_with_mouse_up()
{
    NativeWindow* window = s_capture_window;
    SubPane* pane = s_capture_pane;
    if (!window && !pane)
        return;
    POINT point;
    GetCursorPos(&point);
    point = capture_point(point);
    release();
    const i32 x = point.x;
    const i32 y = point.y;
    if (window)
        run_guarded([window, x, y] { window->DoMouseUp(x, y); });
    else
        run_guarded([pane, x, y] { pane->DoMouseUp(x, y); });
}

void forget_capture(NativeWindow* window)
{
    if (window && s_capture_window == window)
        release();
}

void forget_capture(SubPane* pane)
{
    if (pane && s_capture_pane == pane)
        release();
}

void forget_window_under_mouse(NativeWindow* window)
{
    if (s_under_mouse == window)
        s_under_mouse = nullptr;
}

void track_mouse()
{
    POINT point;
    if (!GetCursorPos(&point))
        return;
    if (capture_active()) {
        // Every iteration while the button is held, moved or not.
        const POINT at = capture_point(point);
        const i32 x = at.x;
        const i32 y = at.y;
        if (NativeWindow* window = s_capture_window)
            run_guarded([window, x, y] { window->DoMouseDrag(x, y); });
        else if (SubPane* pane = s_capture_pane)
            run_guarded([pane, x, y] { pane->DoMouseDrag(x, y); });
        return;
    }
    if (point.x == s_last_point.x && point.y == s_last_point.y)
        return;
    s_last_point = point;
    HWND under = top_level_of(WindowFromPoint(point));
    NativeWindow* native = NativeWindow::FromHandle(under);
    if (!under) {
        exit_window_under_mouse();
        return;
    }
    if (s_under_mouse && native != s_under_mouse)
        exit_window_under_mouse();
    if (!native || !native->IsRuntimeViewWindow())
        return;
    POINT client = point;
    ScreenToClient(under, &client);
    RECT area;
    GetClientRect(under, &area);
    if (!PtInRect(&area, client))
        return;
    if (!s_under_mouse) {
        s_under_mouse = native;
        run_guarded([native] { native->DoMouseEnter(); });
    }
    const i32 x = client.x;
    const i32 y = client.y;
    run_guarded([native, x, y] { native->DoMouseMoved(x, y); });
}

}  // namespace qv::ui
