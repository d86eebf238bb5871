// The menu-enabling cycle, choosing an item, and the exported routines that reach the bar in
// front (enableMenuItems, RuntimeMenuReference).
//
// Events and handlers are image code, which may change the tree: items and their children are
// re-read from it after each call.
#include "framework/menus/menu_dispatch.h"

#include <vector>

#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/menus/menu_classes.h"
#include "framework/menus/menu_item_imp.h"
#include "framework/window_services.h"

namespace qv {
namespace {

RuntimeObject* application_menu_bar()
{
    return gApplicationObject ? application_fields(gApplicationObject)->menuBar : nullptr;
}

// The front window's MenuBar when it has one, else the application's.
RuntimeObject* chosen_menu_bar(RuntimeObject* front)
{
    if (front)
        if (RuntimeObject* bar = window_services().window_menu_bar(front))
            return bar;
    return application_menu_bar();
}

// The handler filed under the item's Name, borrowed; the name is read at the call so that a
// handler that renamed the item is seen.
RuntimeObject* handler_for(const MenuHandlerRegistry* handlers, RuntimeObject* item)
{
    MenuItemImp* imp = menu_imp(item);
    if (!handlers || !imp || imp->name.is_nil())
        return nullptr;
    return handlers->Find(imp->name);
}

MenuHandlerRegistry* application_handlers()
{
    return gApplicationObject ? application_fields(gApplicationObject)->mMenuHandlers : nullptr;
}

bool served(RuntimeObject* item, RuntimeObject* front, RuntimeObject* focused)
{
    const WindowServices& services = window_services();
    if (focused && handler_for(services.control_menu_handlers(focused), item))
        return true;
    if (front && handler_for(services.window_menu_handlers(front), item))
        return true;
    if (handler_for(application_handlers(), item))
        return true;
    return event_implemented(item, kMenuItemAction);
}

// Breadth-first, parents before children. Only registries and event tables are read: no
// image code runs here.
void auto_enable(RuntimeObject* bar, RuntimeObject* front)
{
    RuntimeObject* focused = window_services().focused_control();
    std::vector<RuntimeObject*> queue(menu_imp(bar)->children);
    for (size_t next = 0; next < queue.size(); ++next) {
        MenuItemImp* imp = menu_imp(queue[next]);
        if (!imp)
            continue;
        if (imp->auto_enable && served(queue[next], front, focused))
            set_menu_enabled(imp, true);
        queue.insert(queue.end(), imp->children.begin(), imp->children.end());
    }
}

// Depth-first. The children are read by position after every event, which may change them.
void fire_enable_menu_below(RuntimeObject* item)
{
    for (size_t i = 0;; ++i) {
        MenuItemImp* imp = menu_imp(item);
        if (!imp || i >= imp->children.size())
            return;
        RuntimeObject* child = imp->children[i];
        fire_event(child, kMenuItemEnableMenu);
        fire_enable_menu_below(child);
    }
}

bool handled_by(RuntimeObject* handler, RuntimeObject* item)
{
    MenuItemImp* imp = menu_imp(item);
    return handler && imp && call_menu_handler(handler, imp->index);
}

}  // namespace

RuntimeObject* current_menu_bar() { return chosen_menu_bar(window_services().front_window()); }

void run_menu_enabling_cycle(bool skip)
{
    const WindowServices& services = window_services();
    RuntimeObject* front = services.front_window();
    RuntimeObject* bar = chosen_menu_bar(front);
    // A bar other than the chosen one is not in use (in MDI mode the frame shows the chosen
    // one): it stays disabled until it is chosen again, which runs this cycle anew.
    if (RuntimeObject* app_bar = application_menu_bar(); app_bar && app_bar != bar)
        if (MenuItemImp* imp = menu_imp(app_bar))
            set_menu_enabled(imp, false);
    if (MenuItemImp* imp = menu_imp(bar)) {
        set_menu_enabled(imp, false);
        if (!skip) {
            auto_enable(bar, front);
            fire_enable_menu_below(bar);
        }
    }
    if (RuntimeObject* focused = services.focused_control())
        services.control_enable_menu_items(focused);
    if (RuntimeObject* window = services.front_window())
        services.fire_window_enable_menu_items(window);
    if (!skip && gApplicationObject)
        fire_event(gApplicationObject, kApplicationEnableMenuItems);
}

bool dispatch_menu_command(u32 command_id)
{
    if (command_id == 0)
        return false;
    const WindowServices& services = window_services();
    RuntimeObject* front = services.front_window();
    RuntimeObject* item = find_menu_item_by_command(chosen_menu_bar(front), command_id);
    if (!item)
        return false;
    RuntimeObject* focused = services.focused_control();
    if (front && focused && handled_by(handler_for(services.control_menu_handlers(focused), item), item))
        return true;
    if (front && handled_by(handler_for(services.window_menu_handlers(front), item), item))
        return true;
    if (handled_by(handler_for(application_handlers(), item), item))
        return true;
    if (fire_boolean_event(item, kMenuItemAction, false))
        return true;
    focused = services.focused_control();
    return focused && services.control_menu_command(focused, item);
}

bool act_on_menu_shortcut(u32 target, bool modal_front)
{
    run_menu_enabling_cycle(modal_front);
    const u32 command_id = target & 0xFFFF;
    RuntimeObject* item = find_menu_item_by_command(chosen_menu_bar(window_services().front_window()), command_id);
    MenuItemImp* imp = menu_imp(item);
    if (!imp || command_id == 0)
        return false;
    // The native state decides where there is one: titles are never grayed there.
    bool grayed = !imp->enabled;
    if (imp->parent)
        native_entry_grayed(imp->parent->menu, menu_native_entry_id(*imp), grayed);
    if (grayed)
        return false;
    dispatch_menu_command(command_id);
    return true;
}

void* menu_native_handle(RuntimeObject* item)
{
    MenuItemImp* imp = menu_imp(item);
    return imp ? imp->menu : nullptr;
}

bool call_menu_handler(RuntimeObject* handler, i32 index)
{
    MethodEntry* table = RuntimeLookupInterfaceVtable(handler, menu_class(MenuClass::MenuHandler));
    if (!table || !table[0].routine)
        return false;
    const u32 result = reinterpret_cast<u32 (*)(RuntimeObject*, i32)>(table[0].routine)(handler, index);
    return (result & 0xFF) != 0;
}

}  // namespace qv

extern "C" {

void enableMenuItems(void) { qv::run_menu_enabling_cycle(false); }

RuntimeObject* RuntimeMenuReference(RuntimeString* name)
{
    return RuntimeMenuItemLookup(qv::chosen_menu_bar(qv::window_services().front_window()), name);
}

}  // extern "C"
