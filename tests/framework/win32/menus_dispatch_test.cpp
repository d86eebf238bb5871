// The menu-enabling cycle and choosing an item: AutoEnable from registered handlers and
// Action events, the modal skip, the order in which a chosen item's handlers are tried, the
// special items, and keyboard shortcuts acted on through the shortcut registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/application/application_object.h"
#include "framework/window_services.h"
#include "runtime/memory/pool_allocator.h"
#include "tests/framework/win32/menus_fixture.h"

namespace qv::test {
namespace {

std::vector<std::string> g_calls;

// Handler objects answer with their own result and record their label and the index.
struct HandlerObject {
    RuntimeObject header;
    const char* label;
    u32 result;
};

u32 handler_action(RuntimeObject* self, i32 index)
{
    auto* handler = reinterpret_cast<HandlerObject*>(self);
    g_calls.push_back(std::string(handler->label) + ":" + std::to_string(index));
    return handler->result;
}

u32 g_action_result = 0;
u32 item_action(RuntimeObject*)
{
    g_calls.push_back("Action");
    return g_action_result;
}
void item_enable_menu(RuntimeObject* self)
{
    g_calls.push_back("EnableMenu:" + test::text_of(StringRef::adopt(RuntimeMenuItemTextGetter(self))));
}
u32 quit_own_action(RuntimeObject*)
{
    g_calls.push_back("Quit.Action");
    return g_action_result;
}

RuntimeObject* g_enable_in_app = nullptr;
void app_close(RuntimeObject*) { g_calls.push_back("App.Close"); }
void app_enable_menu_items(RuntimeObject*)
{
    g_calls.push_back("App.EnableMenuItems");
    RuntimeEnableMenu(g_enable_in_app);
}

// The window layer's answers for a test window in front.
RuntimeObject* g_front = nullptr;
bool g_front_modal = false;
MenuHandlerRegistry* g_window_handlers = nullptr;
RuntimeObject* g_enable_in_window = nullptr;
RuntimeObject* g_focused = nullptr;
MenuHandlerRegistry* g_control_handlers = nullptr;
bool g_do_menu_command_result = false;

class MenuDispatch : public MenuTest {
protected:
    MenuDispatch()
    {
        auto* fields = application_fields(app);
        fields->mMenuHandlers = &app_handlers;
        fields->menuBar = bar.get();
        RuntimeLockObject(bar.get());
        app_class->eventTable[kApplicationEnableMenuItems].routine = reinterpret_cast<void*>(&app_enable_menu_items);
        app_class->eventTable[kApplicationClose].routine = reinterpret_cast<void*>(&app_close);
        gApplicationObject = app;

        interface_table(handler_class)[0] = {menu_class(MenuClass::MenuHandler), 1, handler_table};
        handler_table[0].routine = reinterpret_cast<void*>(&handler_action);
        action_class->eventTable[kMenuItemAction].routine = reinterpret_cast<void*>(&item_action);
        action_class->eventTable[kMenuItemEnableMenu].routine = reinterpret_cast<void*>(&item_enable_menu);
        own_quit_class->eventTable[kSpecialItemAction].routine = reinterpret_cast<void*>(&quit_own_action);

        // Bar > Edit > {Copy, Paste, Cut, Find}; Find has an Action event, Cut no AutoEnable.
        RuntimeMenuItemAppend(bar.get(), edit.get());
        for (const Held* item : {&copy, &paste, &cut, &find})
            RuntimeMenuItemAppend(edit.get(), item->get());
        RuntimeMenuItemAutoEnableSetter(cut.get(), 0);
        RuntimeMenuItemCommandKeySetter(copy.get(), ascii("C").get());

        g_calls.clear();
        gQuitRequested = false;
        g_action_result = 0;
        g_enable_in_app = g_enable_in_window = nullptr;
    }
    ~MenuDispatch() override
    {
        window_services_seam().install(WindowServices{});
        g_front = g_focused = nullptr;
        g_window_handlers = g_control_handlers = nullptr;
        gApplicationObject = nullptr;
        gQuitRequested = false;
        RuntimeUnlockObject(application_fields(app)->menuBar);
        RuntimeUnlockObject(app);
        for (RuntimeObject* h : handlers)
            RuntimeUnlockObject(h);
        GuardedDelete(handler_table);
    }

    RuntimeObject* handler(const char* label, bool result)
    {
        RuntimeObject* h = RuntimeNewObject(handler_class);
        reinterpret_cast<HandlerObject*>(h)->label = label;
        reinterpret_cast<HandlerObject*>(h)->result = result ? 1 : 0;
        handlers.push_back(h);
        return h;
    }

    // The front window's layer: a window with its own handlers, modal or not.
    void put_window_in_front(bool modal)
    {
        g_front = window.get();
        g_front_modal = modal;
        g_window_handlers = &window_handlers;
        WindowServices services{};
        services.front_window = [] { return g_front; };
        services.front_window_is_modal = [] { return g_front_modal; };
        services.window_menu_handlers = [](RuntimeObject*) { return g_window_handlers; };
        services.fire_window_enable_menu_items = [](RuntimeObject*) {
            g_calls.push_back("Window.EnableMenuItems");
            RuntimeEnableMenu(g_enable_in_window);
        };
        services.focused_control = [] { return g_focused; };
        services.control_menu_handlers = [](RuntimeObject*) { return g_control_handlers; };
        services.control_menu_command = [](RuntimeObject*, RuntimeObject*) {
            g_calls.push_back("DoMenuCommand");
            return g_do_menu_command_result;
        };
        services.control_enable_menu_items = [](RuntimeObject*) { g_calls.push_back("Control.EnableMenuItems"); };
        window_services_seam().install(services);
    }

    static u32 id_of(const Held& parent, int position) { return GetMenuItemID(hmenu(parent), position); }
    static bool enabled(const Held& item) { return RuntimeMenuItemEnabledGetter(item.get()) != 0; }

    ClassHolder holder;
    ClassRecord* app_class = holder.make(nullptr, "TestApp", 0, 0, 9, 0, 0, sizeof(ApplicationObject));
    ClassRecord* handler_class = holder.make(nullptr, "TestMenuHandler", 0, 1, 0, 0, 0, sizeof(HandlerObject));
    ClassRecord* action_class = subclass_of(holder, menu_class(MenuClass::MenuItem), "TestActionItem", 2);
    ClassRecord* own_quit_class = subclass_of(holder, menu_class(MenuClass::QuitMenuItem), "TestQuitItem", 3);
    MethodEntry* handler_table = RuntimeNewVtable(1);
    RuntimeObject* app = RuntimeNewObject(app_class);
    MenuHandlerRegistry app_handlers;
    MenuHandlerRegistry window_handlers;
    std::vector<RuntimeObject*> handlers;
    Held window = plain_object();

    Held bar = new_bar();
    Held edit = new_item("Edit");
    Held copy = new_item("Copy", "EditCopy");
    Held paste = new_item("Paste", "EditPaste");
    Held cut = new_item("Cut", "EditCut");
    Held find = new_item_of(action_class, "Find", "EditFind");
};

TEST_F(MenuDispatch, CycleEnablesWhatAHandlerOrActionServes)
{
    app_handlers.Add(ascii("editcopy"), handler("app", true));
    app_handlers.Add(ascii("EditCut"), handler("app", true));
    run_menu_enabling_cycle(false);
    EXPECT_TRUE(enabled(copy));
    EXPECT_FALSE(grayed(hmenu(edit), 0));
    EXPECT_TRUE(grayed(hmenu(edit), 1)) << "nothing serves Paste";
    EXPECT_TRUE(grayed(hmenu(edit), 2)) << "Cut does not AutoEnable";
    EXPECT_FALSE(grayed(hmenu(edit), 3)) << "Find's Action serves it";
    EXPECT_EQ(g_calls, (std::vector<std::string>{"EnableMenu:Find", "App.EnableMenuItems"}));
    EXPECT_FALSE(gQuitRequested);

    // The application's EnableMenuItems comes last and may enable more.
    g_enable_in_app = paste.get();
    run_menu_enabling_cycle(false);
    EXPECT_FALSE(grayed(hmenu(edit), 1));
    EXPECT_FALSE(grayed(hmenu(bar), 0)) << "a title is never grayed";
}

TEST_F(MenuDispatch, CycleAsksTheFocusedControlAndTheFrontWindowToo)
{
    Held control = plain_object();
    MenuHandlerRegistry control_registry;
    put_window_in_front(false);
    g_focused = control.get();
    g_control_handlers = &control_registry;
    control_registry.Add(ascii("EditCopy"), handler("control", true));
    window_handlers.Add(ascii("EditPaste"), handler("window", true));
    run_menu_enabling_cycle(false);
    EXPECT_TRUE(enabled(copy));
    EXPECT_TRUE(enabled(paste));
    EXPECT_FALSE(enabled(cut));
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"EnableMenu:Find", "Control.EnableMenuItems", "Window.EnableMenuItems",
                                        "App.EnableMenuItems"}));
}

TEST_F(MenuDispatch, ModalSkipLeavesOnlyWhatTheWindowEnables)
{
    app_handlers.Add(ascii("EditCopy"), handler("app", true));
    put_window_in_front(true);
    g_enable_in_window = paste.get();
    g_enable_in_app = cut.get();
    run_menu_enabling_cycle(true);
    EXPECT_FALSE(enabled(copy));
    EXPECT_TRUE(grayed(hmenu(edit), 0));
    EXPECT_FALSE(grayed(hmenu(edit), 1)) << "the window's own EnableMenuItems still runs";
    EXPECT_TRUE(grayed(hmenu(edit), 3));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"Window.EnableMenuItems"}));

    // Ctrl+C is ignored while the modal window is in front, and chooses Copy otherwise.
    const auto press = [](bool modal) {
        return shortcut_registry().Walk(
            "ctrl+c", [modal](const ShortcutEntry& e) { return act_on_menu_shortcut(e.target, modal); });
    };
    g_calls.clear();
    EXPECT_FALSE(press(true));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"Window.EnableMenuItems"}));
    g_front_modal = false;
    g_calls.clear();
    EXPECT_TRUE(press(false));
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"EnableMenu:Find", "Window.EnableMenuItems", "App.EnableMenuItems", "app:-1"}));
}

TEST_F(MenuDispatch, ChosenItemTriesHandlersInOrderUntilOneReturnsTrue)
{
    // Each participant: -1 absent, else the result it gives.
    struct Case {
        int control, window, app, action, do_menu_command;
        std::vector<std::string> calls;
        bool handled;
    };
    const Case cases[] = {
        {-1, -1, 1, 1, -1, {"app:3"}, true},
        {-1, -1, 0, 1, -1, {"app:3", "Action"}, true},
        {-1, -1, 0, 0, -1, {"app:3", "Action"}, false},
        {-1, -1, -1, 1, -1, {"Action"}, true},
        {-1, 1, 1, 1, -1, {"window:3"}, true},
        {-1, 0, 1, 1, -1, {"window:3", "app:3"}, true},
        {1, 1, 1, 1, 1, {"control:3"}, true},
        {0, 0, 0, 0, 1, {"control:3", "window:3", "app:3", "Action", "DoMenuCommand"}, true},
        {0, 0, 0, 0, 0, {"control:3", "window:3", "app:3", "Action", "DoMenuCommand"}, false},
    };
    RuntimeMenuItemIndexSetter(find.get(), 3);
    const u32 find_id = id_of(edit, 3);
    Held control = plain_object();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        MenuHandlerRegistry app_registry;
        MenuHandlerRegistry window_registry;
        MenuHandlerRegistry control_registry;
        application_fields(app)->mMenuHandlers = &app_registry;
        if (c.app >= 0)
            app_registry.Add(ascii("EditFind"), handler("app", c.app));
        if (c.window >= 0) {
            put_window_in_front(false);
            g_window_handlers = &window_registry;
            window_registry.Add(ascii("EditFind"), handler("window", c.window));
        }
        if (c.control >= 0) {
            g_focused = control.get();
            g_control_handlers = &control_registry;
            control_registry.Add(ascii("EditFind"), handler("control", c.control));
        }
        g_action_result = c.action;
        g_do_menu_command_result = c.do_menu_command > 0;
        g_calls.clear();
        EXPECT_EQ(dispatch_menu_command(find_id), c.handled) << "case " << i;
        EXPECT_EQ(g_calls, c.calls) << "case " << i;
        window_services_seam().install(WindowServices{});
        g_focused = nullptr;
        application_fields(app)->mMenuHandlers = &app_handlers;
    }
    g_calls.clear();
    EXPECT_FALSE(dispatch_menu_command(id_of(edit, 3) + 500)) << "no item has that identifier";
    EXPECT_FALSE(dispatch_menu_command(id_of(edit, 1))) << "nothing handles Paste";
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(MenuDispatch, SpecialItemsSupplyTheirInheritedAction)
{
    Held quit = new_item("Exit", "FileQuit", MenuClass::QuitMenuItem);
    Held own_quit = new_item_of(own_quit_class, "Exit too");
    Held prefs = new_item("Options", "EditPrefs", MenuClass::PrefsMenuItem);
    for (const Held* item : {&quit, &own_quit, &prefs})
        RuntimeMenuItemAppend(edit.get(), item->get());

    // Quitting closes the application and raises the EndException that ends the iteration.
    const auto quit_happened = [this] {
        const bool quit = gQuitRequested && g_calls == std::vector<std::string>{"App.Close"} &&
            raised_once(ExceptionClass::EndException);
        gQuitRequested = false;
        g_calls.clear();
        return quit;
    };
    EXPECT_TRUE(dispatch_menu_command(id_of(edit, 4)));
    EXPECT_TRUE(quit_happened());

    g_action_result = 1;
    EXPECT_TRUE(dispatch_menu_command(id_of(edit, 5)));
    EXPECT_EQ(g_calls, std::vector<std::string>{"Quit.Action"}) << "its own Action took the choice";
    EXPECT_FALSE(gQuitRequested);
    EXPECT_TRUE(nothing_raised());
    g_calls.clear();
    g_action_result = 0;
    EXPECT_TRUE(dispatch_menu_command(id_of(edit, 5)));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"Quit.Action", "App.Close"}));
    g_calls = {"App.Close"};
    EXPECT_TRUE(quit_happened());

    EXPECT_TRUE(dispatch_menu_command(id_of(edit, 6))) << "handled even with no Action of its own";
    EXPECT_FALSE(gQuitRequested);
    EXPECT_TRUE(nothing_raised());

    // The inherited handlers count as Action events for AutoEnable.
    run_menu_enabling_cycle(false);
    EXPECT_TRUE(enabled(quit));
    EXPECT_TRUE(enabled(prefs));
}

TEST_F(MenuDispatch, HandlerWithoutTheInterfaceRaisesIllegalCast)
{
    Held not_a_handler = plain_object();
    EXPECT_FALSE(call_menu_handler(not_a_handler.get(), 0));
    EXPECT_TRUE(raised_once(ExceptionClass::IllegalCastException));
    EXPECT_TRUE(call_menu_handler(handler("h", true), 7));
    EXPECT_EQ(g_calls, std::vector<std::string>{"h:7"});
}

TEST_F(MenuDispatch, MenuReferenceAndCloseUseTheBarsInUse)
{
    EXPECT_EQ(Held(RuntimeMenuReference(ascii("editpaste").get())).get(), paste.get());
    EXPECT_EQ(menu_native_handle(bar.get()), hmenu(bar));
    RuntimeCloseMenuItem(paste.get());
    EXPECT_EQ(RuntimeMenuItemCount(edit.get()), 3);
    EXPECT_EQ(entry_text(hmenu(edit), 1), L"Cut");
    EXPECT_EQ(Held(RuntimeMenuReference(ascii("EditPaste").get())).get(), nullptr);
}

}  // namespace
}  // namespace qv::test
