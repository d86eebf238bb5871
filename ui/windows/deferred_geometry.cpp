// The loop's layout step: geometry changes asked for since the last iteration reach the native
// windows, and windows marked to be shown appear.
#include <algorithm>

#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {

void apply_pending_layout()
{
    // A copy: the events fired here may open or close windows.
    const std::vector<NativeWindow*> windows = runtime_windows();
    for (NativeWindow* native : windows) {
        auto& list = runtime_windows();
        if (std::find(list.begin(), list.end(), native) == list.end())
            continue;  // closed by an event of an earlier window
        auto* view = static_cast<RuntimeViewWindow*>(native);
        if (view->window())
            view->ApplyPendingGeometry(rect_of(window_fields(view->window())->bounds));
        if (view->handle() && view->shown() && !view->closing() && !IsWindowVisible(view->handle()))
            ShowWindow(view->handle(), SW_SHOW);
    }
}

}  // namespace qv::ui
