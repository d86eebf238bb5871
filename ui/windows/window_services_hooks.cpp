// The window layer's answers to the framework (window_services.h): the front window and its
// menus, the list of windows and closing them, the loop's layout and mouse steps, and the
// keys no shortcut took: KeyDown, focus navigation, default and cancel buttons.
#include <algorithm>

#include "framework/application/event_firing.h"
#include "framework/key_names.h"
#include "framework/window_services.h"
#include "ui/control_registry.h"
#include "ui/controls/control_object.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"
#include "ui/windows/mouse_tracking.h"
#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

RuntimeViewWindow* view_from_handle(void* handle)
{
    NativeWindow* native = NativeWindow::FromHandle(static_cast<HWND>(handle));
    return native && native->IsRuntimeViewWindow() ? static_cast<RuntimeViewWindow*>(native) : nullptr;
}

bool is_rich_edit(HWND window)
{
    wchar_t name[32];
    if (!GetClassNameW(window, name, 32))
        return false;
    return _wcsicmp(name, L"RICHEDIT") == 0 || _wcsicmp(name, L"RICHEDIT20W") == 0;
}

// Moves the focus one step forward or back in the tab order, wrapping at the ends.
void move_focus_step(RuntimeObject* window, bool forward)
{
    const std::vector<SubPane*> panes = focus_order(window);
    if (panes.empty())
        return;
    const auto current = std::find(panes.begin(), panes.end(), focus_pane());
    size_t next = 0;
    if (current == panes.end())
        next = forward ? 0 : panes.size() - 1;
    else if (forward)
        next = (static_cast<size_t>(current - panes.begin()) + 1) % panes.size();
    else
        next = (static_cast<size_t>(current - panes.begin()) + panes.size() - 1) % panes.size();
    SubPane* target = panes[next];
    run_guarded([target] { move_focus(target); });
}

bool key_down(void* message_window, void* runtime_window, u32 virtual_key, u32 modifiers, bool named)
{
    RuntimeViewWindow* view = view_from_handle(runtime_window);
    if (!view || !view->window())
        return false;
    RuntimeObject* window = view->window();
    HWND target = static_cast<HWND>(message_window);
    SubPane* focus = focus_pane();
    if (named) {
        bool consumed = false;
        if (focus && focus->handle() != view->handle())
            run_guarded(
                [&consumed, focus, virtual_key, modifiers] { consumed = focus->DoKeyDown(virtual_key, modifiers); });
        if (consumed)
            return true;
        if (!is_rich_edit(target))
            run_guarded(
                [&consumed, view, virtual_key, modifiers] { consumed = view->DoKeyDown(virtual_key, modifiers); });
        if (consumed)
            return true;
        if (!view_of(window))
            return true;  // closed by its KeyDown
    }
    focus = focus_pane();
    const bool focus_owns_target = focus && focus->handle() == target && is_rich_edit(target);
    switch (virtual_key) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (!focus || !focus->AcceptsArrows())
            return false;
        move_focus_step(window, virtual_key == VK_RIGHT || virtual_key == VK_DOWN);
        return true;
    case VK_TAB:
        if (modifiers & kModifierCtrl)
            return false;
        if (!(modifiers & kModifierShift) && focus_owns_target && focus->AcceptsTab())
            return false;
        move_focus_step(window, !(modifiers & kModifierShift));
        return true;
    case VK_RETURN:
    case kVirtualKeyKeypadEnter: {
        SubPane* default_button = window_default_button(window);
        SubPane* candidate = default_button ? default_button : (focus && focus->IsButton() ? focus : nullptr);
        const bool to_edit =
            focus_owns_target && focus->AcceptsReturn() && !(default_button && virtual_key == kVirtualKeyKeypadEnter);
        if (candidate && !to_edit)
            run_guarded([candidate] { candidate->Push(); });
        return false;
    }
    case VK_ESCAPE: {
        SubPane* cancel = window_cancel_button(window);
        if (!cancel)
            return false;
        run_guarded([cancel] { cancel->Push(); });
        return true;
    }
    default: return false;
    }
}

bool for_each_window(bool (*visit)(RuntimeObject*, void*), void* context)
{
    std::vector<ObjectRef> windows;
    for (bool children : {false, true}) {
        for (NativeWindow* native : runtime_windows()) {
            auto* view = static_cast<RuntimeViewWindow*>(native);
            if (view->is_mdi_child() == children && view->window())
                windows.push_back(ObjectRef::share(view->window()));
        }
    }
    bool completed = true;
    for (ObjectRef& window : windows) {
        if (completed && !visit(window.get(), context))
            completed = false;
        window = ObjectRef();  // each window is let go of once visited
    }
    return completed;
}

}  // namespace

void install_window_layer_services()
{
    WindowServices services;
    services.front_window = [] { return front_window_by_z_order(); };
    services.front_window_is_modal = [] {
        RuntimeViewWindow* view = view_of(front_window_by_z_order());
        return view && is_modal_frame(view->frame_type());
    };
    services.window_menu_bar = [](RuntimeObject* window) {
        return window ? window_fields(window)->menuBar : static_cast<RuntimeObject*>(nullptr);
    };
    services.window_menu_handlers = [](RuntimeObject* window) {
        return window ? window_fields(window)->mMenuHandlers : static_cast<MenuHandlerRegistry*>(nullptr);
    };
    services.fire_window_enable_menu_items = [](RuntimeObject* window) { fire_event(window, kWindowEnableMenuItems); };
    services.focused_control = [] {
        SubPane* pane = focus_pane();
        return pane ? pane->control() : static_cast<RuntimeObject*>(nullptr);
    };
    services.for_each_window = &for_each_window;
    services.window_cancel_close = [](RuntimeObject* window) {
        return view_of(window) && fire_boolean_event(window, kWindowCancelClose, false);
    };
    services.close_window = [](RuntimeObject* window) {
        if (RuntimeViewWindow* view = view_of(window))
            view->DoClose();
    };
    services.close_all_windows = &close_all_windows;
    services.window_count = [] { return static_cast<i32>(runtime_windows().size()); };
    services.apply_pending_layout = &apply_pending_layout;
    services.capture_active = [] { return capture_active(); };
    services.track_mouse = &track_mouse;
    services.first_visible_modal = [] { return static_cast<void*>(first_visible_modal()); };
    services.key_down = &key_down;
    window_services_seam().install(services);
}

}  // namespace qv::ui
