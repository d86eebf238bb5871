#include "ui/controls/startup/control_layer.h"

#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include "core/once.h"
#include "framework/application/event_firing.h"
#include "framework/shortcut_registry.h"
#include "framework/startup/windows_startup.h"
#include "framework/window_services.h"
#include "runtime/definitions/class_tables.h"
#include "ui/controls/buttons/button_classes.h"
#include "ui/controls/buttons/button_objects.h"
#include "ui/controls/buttons/static_text_pane.h"
#include "ui/controls/control_classes.h"
#include "ui/controls/control_object.h"
#include "ui/controls/edit_field/edit_field_class.h"
#include "ui/controls/help_tips.h"
#include "ui/controls/pane_windows.h"
#include "ui/controls/plugin_control.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"

namespace qv::ui {
namespace {

RuntimeObject* focused_control()
{
    SubPane* pane = focus_pane();
    return pane ? pane->control() : nullptr;
}

MenuHandlerRegistry* control_menu_handlers(RuntimeObject* control)
{
    return is_control(control) ? control_fields(control)->mMenuHandlers : nullptr;
}

SubPane* peer_of(RuntimeObject* control)
{
    return is_control(control) ? control_fields(control)->paneInstance : nullptr;
}

void control_enable_menu_items(RuntimeObject* control)
{
    if (SubPane* pane = peer_of(control))
        pane->EnableMenuItems();
}

bool control_menu_command(RuntimeObject* control, RuntimeObject* item)
{
    SubPane* pane = peer_of(control);
    return pane && pane->DoMenuCommand(item);
}

// The tab control of a tab panel's peer: its own window, or the tab control inside it.
HWND tab_control_of(HWND window)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (lstrcmpiW(name, WC_TABCONTROLW) == 0)
        return window;
    return FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
}

// Kind 2: the tab of that index becomes the current one, as a click on it would make it: the
// panel takes the focus and its parent hears of the change.
bool select_tab(SubPane* pane, HWND window, i32 index)
{
    HWND tab = tab_control_of(window);
    if (!tab || SendMessageW(tab, TCM_GETCURSEL, 0, 0) == index)
        return false;
    move_focus(pane);
    SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR header{tab, static_cast<UINT_PTR>(GetDlgCtrlID(tab)), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(GetParent(tab), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    return true;
}

// Kind 3: a click at the control's own top-left corner, for controls that act on the mouse
// (canvases, plug-in buttons). Nothing holds the mouse after it.
void click_control(SubPane* pane)
{
    const ControlBounds& b = control_fields(pane->control())->bounds;
    pane->DoMouseDown(b.left, b.top, 0);
    pane->DoMouseUp(b.left, b.top);
    ReleaseCapture();
}

// Alt plus a mnemonic: kind 1 presses the button or check box, kind 2 selects a tab, kind 3
// clicks a click-on-mouse control, kind 4 runs a static text's AcceleratorKey. Only controls of
// the active window answer.
bool act_on_control_shortcut(u32 target, u32 kind)
{
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(target));
    SubPane* pane = SubPane::FromHandle(window);
    if (!pane || !pane->control() || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
        GetAncestor(window, GA_ROOT) != GetAncestor(GetActiveWindow(), GA_ROOT))
        return false;
    switch (kind & 0xFFFF) {
    case kShortcutControl: pane->Push(); return true;
    case kShortcutTab: return select_tab(pane, window, static_cast<i32>(kind >> 16));
    case kShortcutClickControl: click_control(pane); return true;
    case kShortcutLabel: fire_event(pane->control(), kStaticAcceleratorKey); return true;
    default: return false;
    }
}

void focus_idle()
{
    if (SubPane* pane = focus_pane())
        pane->DoIdle();
}

void register_classes()
{
    WindowServices services{};
    services.focus_idle = &focus_idle;
    services.set_help_tips_visible = &set_help_tips_active;
    services.act_on_control_shortcut = &act_on_control_shortcut;
    services.focused_control = &focused_control;
    services.control_menu_handlers = &control_menu_handlers;
    services.control_enable_menu_items = &control_enable_menu_items;
    services.control_menu_command = &control_menu_command;
    window_services_seam().install(services);
    register_control_classes();
    register_edit_field_class();
    register_button_classes();
    register_plugin_control_class();
    register_pane_classes();
}

}  // namespace

std::span<const ProvidedRoutine> control_routines()
{
    // The classes' own routines come from their tables; these are the ones no table names.
    static const ProvidedRoutine kRoutines[] = {
        QV_PROVIDED(RuntimeControlFetch),
        QV_PROVIDED(RuntimeControlReference),
        QV_PROVIDED(RuntimeControlArrayItemReference),
        QV_PROVIDED(intInvalidateSetter),
        QV_PROVIDED(boolInvalidateSetter),
        QV_PROVIDED(paneStringGetter),
        QV_PROVIDED(paneStringSetter),
        QV_PROVIDED(paneBoolGetter),
        QV_PROVIDED(paneBoolSetter),
        QV_PROVIDED(paneIntGetter),
        QV_PROVIDED(paneIntSetter),
        QV_PROVIDED(paneObjGetter),
        QV_PROVIDED(paneObjSetter),
        QV_PROVIDED(paneShortGetter),
        QV_PROVIDED(paneShortSetter),
        QV_PROVIDED(FolderItemOpenStyledEditField),
        QV_PROVIDED(FolderItemSaveStyledEditField),
    };
    return kRoutines;
}

std::vector<ProvidedRoutine> control_table_routines()
{
    return table_routines({control_class_tables(), edit_field_class_tables(), button_class_tables()});
}

void register_control_layer()
{
    static Once s_once;
    s_once([] {
        add_provided_routines(control_routines());
        add_provided_routines(plugin_control_routines());
        add_table_routines(control_table_routines());
        add_class_registrar(&register_classes);
    });
}

}  // namespace qv::ui
