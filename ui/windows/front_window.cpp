// Which runtime window is in front: for the application (the foreground window, or the active
// visible MDI child) and for the menu cycle and the keyboard (down the Z order from the
// foreground window, skipping floating windows).
#include "framework/event_loop/event_loop.h"
#include "framework/startup/mdi_frame.h"
#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

RuntimeObject* window_of(HWND handle)
{
    NativeWindow* native = NativeWindow::FromHandle(handle);
    if (!native || !native->IsRuntimeViewWindow() || native->closing())
        return nullptr;
    return static_cast<RuntimeViewWindow*>(native)->window();
}

// The active MDI child, or the next visible one when it is hidden.
RuntimeObject* active_mdi_child()
{
    HWND client = mdi_client();
    if (!client)
        return nullptr;
    HWND start = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
    for (HWND child = start; child;) {
        if (IsWindowVisible(child))
            return window_of(child);
        child = GetWindow(child, GW_HWNDNEXT);
        if (child == start)
            break;
    }
    return nullptr;
}

}  // namespace

RuntimeObject* front_window_object()
{
    HWND foreground = GetForegroundWindow();
    if (foreground && foreground == mdi_frame())
        return active_mdi_child();
    return window_of(foreground);
}

RuntimeObject* front_window_by_z_order()
{
    for (HWND window = GetForegroundWindow(); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == mdi_frame())
            return active_mdi_child();
        if (!IsWindowVisible(window))
            continue;
        NativeWindow* native = NativeWindow::FromHandle(window);
        if (native && native->IsRuntimeViewWindow() && !is_floating_frame(native->frame_type()))
            return window_of(window);
    }
    return nullptr;
}

}  // namespace qv::ui
