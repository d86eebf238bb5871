#include "framework/event_loop/runtime_windows.h"

#include <algorithm>
#include <vector>

#include "framework/event_loop/event_loop.h"

namespace qv {
namespace {

std::vector<ATOM>& classes()
{
    static std::vector<ATOM> s_classes;
    return s_classes;
}

}  // namespace

void add_runtime_window_class(ATOM window_class)
{
    if (window_class && std::find(classes().begin(), classes().end(), window_class) == classes().end())
        classes().push_back(window_class);
}

bool is_runtime_window(HWND window)
{
    if (!window)
        return false;
    const ATOM atom = static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM));
    return std::find(classes().begin(), classes().end(), atom) != classes().end();
}

HWND message_box_owner()
{
    HWND front = runtime_window_containing(GetForegroundWindow());
    if (front && IsWindowVisible(front))
        return GetAncestor(front, GA_ROOT);
    HWND client = mdi_client();
    HWND frame = client ? GetParent(client) : nullptr;
    return frame && IsWindowVisible(frame) ? frame : nullptr;
}

HWND runtime_window_containing(HWND window)
{
    for (HWND w = window; w; w = GetParent(w)) {
        if (is_runtime_window(w))
            return w;
    }
    return nullptr;
}

}  // namespace qv
