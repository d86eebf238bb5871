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
    .focus_idle = [] {},
    .act_on_control_shortcut = [](u32, u32) { return false; },
    .key_down = [](void*, void*, u32, u32, bool) { return false; },
};

WindowServices s_services = kDefaults;

template <typename T>
void take(T& slot, T offered, T fallback)
{
    if (offered)
        slot = offered;
    else if (!slot)
        slot = fallback;
}

}  // namespace

const WindowServices& window_services() { return s_services; }

void install_window_services(const WindowServices& s)
{
    take(s_services.front_window, s.front_window, kDefaults.front_window);
    take(s_services.front_window_is_modal, s.front_window_is_modal, kDefaults.front_window_is_modal);
    take(s_services.window_menu_bar, s.window_menu_bar, kDefaults.window_menu_bar);
    take(s_services.window_menu_handlers, s.window_menu_handlers, kDefaults.window_menu_handlers);
    take(s_services.fire_window_enable_menu_items, s.fire_window_enable_menu_items,
         kDefaults.fire_window_enable_menu_items);
    take(s_services.focused_control, s.focused_control, kDefaults.focused_control);
    take(s_services.control_menu_handlers, s.control_menu_handlers, kDefaults.control_menu_handlers);
    take(s_services.control_enable_menu_items, s.control_enable_menu_items, kDefaults.control_enable_menu_items);
    take(s_services.control_menu_command, s.control_menu_command, kDefaults.control_menu_command);
    take(s_services.for_each_window, s.for_each_window, kDefaults.for_each_window);
    take(s_services.window_cancel_close, s.window_cancel_close, kDefaults.window_cancel_close);
    take(s_services.close_window, s.close_window, kDefaults.close_window);
    take(s_services.close_all_windows, s.close_all_windows, kDefaults.close_all_windows);
    take(s_services.window_count, s.window_count, kDefaults.window_count);
    take(s_services.apply_pending_layout, s.apply_pending_layout, kDefaults.apply_pending_layout);
    take(s_services.deliver_drops, s.deliver_drops, kDefaults.deliver_drops);
    take(s_services.capture_active, s.capture_active, kDefaults.capture_active);
    take(s_services.track_mouse, s.track_mouse, kDefaults.track_mouse);
    take(s_services.focus_idle, s.focus_idle, kDefaults.focus_idle);
    take(s_services.act_on_control_shortcut, s.act_on_control_shortcut, kDefaults.act_on_control_shortcut);
    take(s_services.key_down, s.key_down, kDefaults.key_down);
}

}  // namespace qv
