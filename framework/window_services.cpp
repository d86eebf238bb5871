#include "framework/window_services.h"

namespace qv {
namespace {

// The answers of a program without runtime windows.
const WindowServices kDefaults{
    .front_window = [] { return static_cast<RuntimeObject*>(nullptr); },
    .front_window_is_modal = [] { return false; },
    .window_menu_bar = [](RuntimeObject*) { return static_cast<RuntimeObject*>(nullptr); },
    .window_menu_handlers = [](RuntimeObject*) { return static_cast<MenuHandlerRegistry*>(nullptr); },
    .fire_window_enable_menu_items = [](RuntimeObject*) {},
    .focused_control = [] { return static_cast<RuntimeObject*>(nullptr); },
    .control_menu_handlers = [](RuntimeObject*) { return static_cast<MenuHandlerRegistry*>(nullptr); },
    .control_enable_menu_items = [](RuntimeObject*) {},
    .control_menu_command = [](RuntimeObject*, RuntimeObject*) { return false; },
    .for_each_window = [](bool (*)(RuntimeObject*, void*), void*) { return true; },
    .window_cancel_close = [](RuntimeObject*) { return false; },
    .close_window = [](RuntimeObject*) {},
    .close_all_windows = [] {},
    .window_count = [] { return 0; },
    .apply_pending_layout = [] {},
    .deliver_drops = [] {},
    .capture_active = [] { return false; },
    .track_mouse = [] {},
    .first_visible_modal = [] { return static_cast<void*>(nullptr); },
    .set_help_tips_visible = [](bool) {},
    .focus_idle = [] {},
    .act_on_control_shortcut = [](u32, u32) { return false; },
    .key_down = [](void*, void*, u32, u32, bool) { return false; },
};

}  // namespace

Seam<WindowServices>& window_services_seam()
{
    static Seam<WindowServices> s_seam(kDefaults);
    return s_seam;
}

}  // namespace qv
