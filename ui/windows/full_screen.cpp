// Full-screen mode: the window loses its frame and covers the screen it overlaps most; switching
// it off gives back the frame and the bounds it had.
//
// In MDI mode the document stays inside the frame: the frame loses its caption and border and
// covers the screen, its client reaches past the screen by the scroll bars (which so stay out
// of sight), and the document fills what the frame's menu leaves.
#include "framework/event_loop/event_loop.h"
#include "framework/startup/mdi_frame.h"
#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

constexpr LONG kFrameStyles = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER;
constexpr LONG kMdiFrameStyles = WS_CAPTION | WS_THICKFRAME;

// The MDI frame's style and place before a document went full screen (one frame per program).
struct SavedFrame {
    bool saved = false;
    LONG style = 0;
    RECT place{};
};
SavedFrame s_frame;

// The screen rectangle a document of the MDI client is on, from its content rectangle.
RECT screen_of_mdi_child(const RECT& content)
{
    RECT on_screen = content;
    MapWindowPoints(mdi_client(), nullptr, reinterpret_cast<POINT*>(&on_screen), 2);
    return on_screen;
}

void frame_full_screen(HWND child, const RECT& screen)
{
    HWND frame = mdi_frame();
    if (!frame || !mdi_client())
        return;
    if (!s_frame.saved) {
        s_frame.style = GetWindowLongW(frame, GWL_STYLE);
        GetWindowRect(frame, &s_frame.place);
        s_frame.saved = true;
    }
    SetWindowLongW(frame, GWL_STYLE, s_frame.style & ~kMdiFrameStyles);
    SetWindowPos(frame, nullptr, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RECT inside;
    GetClientRect(frame, &inside);  // the screen less the frame's menu
    MoveWindow(mdi_client(), 0, 0, inside.right + GetSystemMetrics(SM_CXVSCROLL),
               inside.bottom + GetSystemMetrics(SM_CYHSCROLL), TRUE);
    MoveWindow(child, 0, 0, inside.right, inside.bottom, TRUE);
}

void frame_back()
{
    HWND frame = mdi_frame();
    if (!frame || !s_frame.saved)
        return;
    SetWindowLongW(frame, GWL_STYLE, s_frame.style);
    const RECT& r = s_frame.place;
    SetWindowPos(frame, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RECT inside;
    GetClientRect(frame, &inside);
    if (mdi_client())
        MoveWindow(mdi_client(), 0, 0, inside.right, inside.bottom, TRUE);
    s_frame.saved = false;
}

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
        const RECT placed = view->is_mdi_child() ? screen_of_mdi_child(content) : content;
        MONITORINFO monitor{sizeof monitor, {}, {}, 0};
        if (!GetMonitorInfoW(MonitorFromRect(&placed, MONITOR_DEFAULTTONEAREST), &monitor))
            return;
        if (!w->fullScreen) {
            w->savedBounds = w->bounds;
            view->SetProperty("SavedStyle", GetWindowLongW(handle, GWL_STYLE));
        }
        const RECT& r = monitor.rcMonitor;
        w->fullScreen = 1;
        if (view->is_mdi_child()) {
            frame_full_screen(handle, r);
            view->RefreshCachedContent();
            w->bounds = bounds_of(view->cached_content());
            return;
        }
        SetWindowLongW(handle, GWL_STYLE, GetWindowLongW(handle, GWL_STYLE) & ~kFrameStyles);
        w->bounds = bounds_of(r);
        SetWindowPos(handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    }
    if (!w->fullScreen)
        return;
    // The native changes report sizes of their own: the saved bounds are set after them.
    if (view->is_mdi_child()) {
        frame_back();
    } else {
        SetWindowLongW(handle, GWL_STYLE, view->Property("SavedStyle"));
        SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    }
    w->fullScreen = 0;
    w->bounds = w->savedBounds;
    view->MoveContentTo(rect_of(w->bounds));
}

}  // namespace qv::ui
