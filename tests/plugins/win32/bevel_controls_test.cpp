// The real BevelControls.dll carried as an embedded record: installed and loaded the way
// start-up does it, its QuavPluginMain registers the two controls, the image's 13 entry-point
// names resolve to working setters, and a BevelButton in a plain window gets a peer window
// that paints and fires Action on a click. Libraries that cannot serve are skipped quietly.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/class_layout.h"
#include "framework/application/event_firing.h"
#include "framework/embedded_library_records.h"
#include "framework/plugins/plugin_registry.h"
#include "framework/startup/embedded_plugins.h"
#include "framework/startup/plugin_loading.h"
#include "platform/win32/windows_api.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/memory/pool_allocator.h"
#include "tests/support/class_holder.h"
#include "ui/binding/builtin_interfaces.h"
#include "ui/controls/control_object.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_object.h"
#include "ui/windows/mouse_tracking.h"

namespace qv::ui {
namespace {

// The names the application's entry fills its plug-in table with, in its order.
const char* const kImageEntryPoints[] = {
    "BevelButton.addActionNotificationReceiver(receiver As actionNotificationReceiver)",
    "BevelButton.removeActionNotificationReceiver(receiver As actionNotificationReceiver)",
    "BevelButton.Caption.Set",
    "BevelButton.CaptionAlign.Set",
    "BevelButton.CaptionPlacement.Set",
    "BevelButton.CaptionDelta.Set",
    "BevelButton.Icon.Set",
    "BevelButton.IconAlign.Set",
    "BevelButton.IconDX.Set",
    "BevelButton.IconDY.Set",
    "BevelButton.Value.Set",
    "BevelButton.MenuValue.Set",
    "BevelButton.TextFont.Set",
};

std::string read_file(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        file.open("Z:" + path, std::ios::binary);  // under Wine the Unix root is drive Z:
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::wstring temp_folder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"qvbevel" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

RuntimeObject* new_receiver();
RuntimeObject* open_bevel_window(ClassHolder& holder);
extern RuntimeObject* g_window_button;

void* lookup(const char* name) { return RuntimeLookupPluginEntrypoint(StringRef::FromCString(name).get()); }

// Loaded plug-ins and their classes stay for the process, so the suite installs once, as
// start-up does, before the tests measure the allocator.
class BevelControls : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dll = new std::string(read_file(QUAVER_PLUGIN_DLL));
        s_record = new std::vector<u8>;
        s_record->push_back(static_cast<u8>(std::string("BevelControls.dll").size()));
        for (char c : std::string("BevelControls.dll"))
            s_record->push_back(static_cast<u8>(c));
        s_record->insert(s_record->end(), s_dll->begin(), s_dll->end());
        WindowsResourceManager resources;
        resources.Add(kEmbeddedLibraryType, 0xFFFF, s_record->data(), static_cast<u32>(s_record->size()), 0);
        s_installed =
            new std::vector<std::wstring>(install_embedded_plugins(resources, temp_folder(), &load_installed_plugins));
        s_button_class = RuntimeLookupClass(StringRef::FromCString("BevelButton").get());
        s_separator_class = RuntimeLookupClass(StringRef::FromCString("Separator").get());
        s_table = RuntimeAllocatePluginEntrypointsTable(13);
        for (int i = 0; i < 13; ++i)
            s_table[i] = lookup(kImageEntryPoints[i]);
        RuntimeUnlockObject(new_receiver());  // defines its class
        for (const char* name : {"Window", "EditField", "PushButton", "CheckBox", "StaticText", "GroupBox"})
            RuntimeLookupClass(StringRef::FromCString(name).get());  // what the application uses
        // A first window makes what windows keep for the process (classes, caches).
        ClassHolder holder;
        RuntimeObject* window = open_bevel_window(holder);
        g_window_button = nullptr;
        RuntimeCloseWindow(window);
        RuntimeUnlockObject(window);
    }

public:
    static ClassRecord* button_class() { return s_button_class; }

protected:
    static inline std::string* s_dll = nullptr;
    static inline std::vector<u8>* s_record = nullptr;
    static inline std::vector<std::wstring>* s_installed = nullptr;
    static inline ClassRecord* s_button_class = nullptr;
    static inline ClassRecord* s_separator_class = nullptr;
    static inline void** s_table = nullptr;
};

TEST_F(BevelControls, TheEmbeddedLibraryIsInstalledAndItsMainRegistersBothControls)
{
    ASSERT_GT(s_dll->size(), 2u) << QUAVER_PLUGIN_DLL;
    ASSERT_EQ(s_installed->size(), 1u);
    PluginRecord* record = plugin_list();
    ASSERT_NE(record, nullptr);
    EXPECT_NE(record->module, nullptr);
    EXPECT_EQ(record->module, GetModuleHandleW(s_installed->front().c_str()));
    EXPECT_EQ(record->flags, kPluginLoaded);
    std::vector<std::string> registered;
    for (const PluginClassEntry* entry : plugin_classes()) {
        registered.push_back(entry->description->name);
        EXPECT_EQ(entry->plugin, record);
        EXPECT_EQ(entry->kind, PluginClassKind::Control);
    }
    EXPECT_EQ(registered, (std::vector<std::string>{"BevelButton", "Separator"}));

    // Both are controls on the runtime's plug-in control base.
    for (ClassRecord* c : {s_button_class, s_separator_class}) {
        ASSERT_NE(c, nullptr);
        ASSERT_NE(c->superclass, nullptr);
        EXPECT_STREQ(StringRef::share(c->superclass->name).CText(), kPluginControlBaseName);
    }
}

TEST_F(BevelControls, TheImagesThirteenEntryPointsResolveToSettersThatStoreTheirValues)
{
    for (int i = 0; i < 13; ++i)
        EXPECT_NE(s_table[i], nullptr) << kImageEntryPoints[i];

    RuntimeObject* button = RuntimeNewObject(s_button_class);
    ASSERT_NE(button, nullptr);
    using IntSetter = void (*)(RuntimeObject*, i32, i32);
    using StringSetter = void (*)(RuntimeObject*, i32, RuntimeString*);
    using IntGetter = i32 (*)(RuntimeObject*, i32);
    using StringGetter = RuntimeString* (*)(RuntimeObject*, i32);
    // Compiled code passes each setter the property's parameter: its field in the instance.
    auto parameter = [](const char* property) {
        for (PropertyNode* p = plugin_classes()[0]->definition->properties; p; p = p->next)
            if (StringRef::share(p->name).CompareExact(StringRef::FromCString(property)) == 0)
                return p->parameter;
        return -1;
    };
    reinterpret_cast<IntSetter>(s_table[8])(button, parameter("IconDX"), 7);
    reinterpret_cast<IntSetter>(s_table[9])(button, parameter("IconDY"), -3);
    const StringRef font = StringRef::FromCString("Osaka");
    reinterpret_cast<StringSetter>(s_table[12])(button, parameter("TextFont"), font.get());
    EXPECT_EQ(reinterpret_cast<IntGetter>(lookup("BevelButton.IconDX.Get"))(button, parameter("IconDX")), 7);
    EXPECT_EQ(reinterpret_cast<IntGetter>(lookup("bevelbutton.icondy.get"))(button, parameter("IconDY")), -3);
    const StringRef got = StringRef::adopt(
        reinterpret_cast<StringGetter>(lookup("BevelButton.TextFont.Get"))(button, parameter("TextFont")));
    EXPECT_STREQ(got.CText(), "Osaka");
    // The generic setters the image uses for the plug-in's own fields.
    intSetter(button, parameter("TextSize"), 12);
    EXPECT_EQ(intGetter(button, parameter("TextSize")), 12);
    RuntimeUnlockObject(button);  // the finalizer lets go of the font
}

TEST_F(BevelControls, LibrariesThatCannotServeAreSkippedWithoutAMessage)
{
    const size_t before = plugin_classes().size();
    PluginRecord* head = plugin_list();
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    // Unexpected assertions fail the test; a message box would hang it.
    EXPECT_FALSE(load_plugin_library(std::wstring(system) + L"\\version.dll"));  // no QuavPluginMain
    EXPECT_FALSE(load_plugin_library(temp_folder() + L"\\NoSuchPlugin.dll"));
    EXPECT_EQ(plugin_list(), head);
    EXPECT_EQ(plugin_classes().size(), before);
}

// The click path of the window layer: the pane forwards its mouse messages to the window,
// which offers a down to the control under it and the rest to the control that took it.
RuntimeObject* g_control = nullptr;
bool g_tracking = false;

LRESULT CALLBACK test_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const i32 x = static_cast<short>(LOWORD(lparam)), y = static_cast<short>(HIWORD(lparam));
    SubPane* pane = g_control ? control_fields(g_control)->paneInstance : nullptr;
    if (message == WM_LBUTTONDOWN && pane)
        g_tracking = pane->DoMouseDown(x, y, 0);
    else if (message == WM_LBUTTONUP && pane && std::exchange(g_tracking, false))
        pane->DoMouseUp(x, y);
    return DefWindowProcW(window, message, wparam, lparam);
}

int g_performed = 0;
void perform_action(RuntimeObject*) { ++g_performed; }
const MethodRecord kReceiverMethods[] = {
    {"PerformAction", nullptr, nullptr, 0, reinterpret_cast<void*>(&perform_action), nullptr, nullptr, nullptr, 0}};
ObjectDefinition s_receiver;

// An action receiver as image code makes one: a class implementing actionNotificationReceiver.
RuntimeObject* new_receiver()
{
    static const bool s_defined = [] {
        static ObjectDefinition* const s_interfaces[] = {
            interface_definition(BuiltInInterface::ActionNotificationReceiver)};
        DefinitionSource source{};
        source.name = "BevelTestReceiver";
        source.instance_size = sizeof(RuntimeObject);
        source.methods = kReceiverMethods;
        source.interfaces = s_interfaces;
        build_definition(s_receiver, source);
        RegisterDefinition(&s_receiver);
        return true;
    }();
    (void)s_defined;
    return CreateInstance(&s_receiver);
}

int g_actions = 0;
void on_action(RuntimeObject* self)
{
    EXPECT_EQ(self, g_control);
    ++g_actions;
}

struct PlainWindow {
    HWND handle = nullptr;
    SubPane* content = nullptr;
    PlainWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &test_window_procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QvBevelTestWindow";
        RegisterClassW(&wc);
        handle = CreateWindowExW(0, L"QvBevelTestWindow", L"bevel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        content = new SubPane(nullptr);
        content->Attach(handle, false);
    }
    ~PlainWindow()
    {
        delete content;
        DestroyWindow(handle);
    }
};

TEST_F(BevelControls, AButtonInAPlainWindowGetsAPeerAndFiresActionOnAClick)
{
    PlainWindow window;
    ASSERT_NE(window.handle, nullptr);
    // The image's subclass, with a handler for the button's own Action event.
    ClassHolder holder;
    ClassRecord* sub =
        holder.make(s_button_class, "BevelButton1", s_button_class->methodCount, s_button_class->interfaceCount,
                    s_button_class->eventCount, s_button_class->staticMethodCount, s_button_class->propertyCount,
                    s_button_class->instanceSize);
    sub->eventTable[kRectControlEventCount].routine = reinterpret_cast<void*>(&on_action);
    RuntimeObject* button = RuntimeNewObject(sub);
    g_control = button;
    ControlObject* c = control_fields(button);
    c->windowRootPeer = window.content;
    c->bounds = ControlBounds{14, 5, 66, 57};
    fire_event(button, kControlCreatePane);
    SubPane* pane = c->paneInstance;
    ASSERT_NE(pane, nullptr);
    ASSERT_NE(pane->handle(), nullptr);
    EXPECT_EQ(GetParent(pane->handle()), window.handle);
    pane->SetBounds(c->bounds, true);
    pane->SetState(SubPane::kShow);
    RECT r;
    GetClientRect(pane->handle(), &r);
    EXPECT_EQ(r.right, 52);
    EXPECT_EQ(r.bottom, 52);
    UpdateWindow(pane->handle());

    // A receiver added through the image's table slot is told of each click after Action.
    using ReceiverMethod = void (*)(RuntimeObject*, RuntimeObject*);
    RuntimeObject* receiver = new_receiver();
    reinterpret_cast<ReceiverMethod>(s_table[0])(button, receiver);
    auto click = [&](int up_x) {
        SendMessageW(pane->handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        SendMessageW(pane->handle(), WM_LBUTTONUP, 0, MAKELPARAM(up_x, 20));
    };
    g_actions = g_performed = 0;
    click(20);
    EXPECT_EQ(g_actions, 1);
    EXPECT_EQ(g_performed, 1);
    click(200);  // released outside the button: nothing
    EXPECT_EQ(g_actions, 1);
    EXPECT_EQ(g_performed, 1);
    reinterpret_cast<ReceiverMethod>(s_table[1])(button, receiver);
    click(51);
    EXPECT_EQ(g_actions, 2);
    EXPECT_EQ(g_performed, 1);

    g_control = nullptr;
    RuntimeUnlockObject(button);  // destroys the peer and its window
    RuntimeUnlockObject(receiver);
    EXPECT_EQ(GetWindow(window.handle, GW_CHILD), nullptr);
}

// The same button in a real Window, driven through the window layer: a click on its peer
// reaches Action, and the cursor leaving it gives the image's MouseExit.
RuntimeObject* g_window_button = nullptr;
ClassRecord* g_window_button_class = nullptr;
int g_exits = 0;
void on_exit(RuntimeObject*) { ++g_exits; }

void on_window_layout(RuntimeObject* window)
{
    WindowObject* w = window_fields(window);
    w->bounds = ControlBounds{100, 100, 300, 400};  // 300 x 200 content area
    w->visible = 1;
}

void on_window_create_controls(RuntimeObject* window)
{
    RuntimeObject* button = WindowAllocateObject(window, g_window_button_class);
    stringSetter(button, kControlNameOffset, StringRef::FromCString("BevelButton1").get());
    control_fields(button)->bounds = ControlBounds{14, 5, 66, 57};
    WindowAddControl(window, button);
    g_window_button = button;
    RuntimeUnlockObject(button);
}

// The image's window and button subclasses, and the window opened with the button in it.
RuntimeObject* open_bevel_window(ClassHolder& holder)
{
    ClassRecord* base = RuntimeLookupClass(StringRef::FromCString("Window").get());
    ClassRecord* window_class =
        holder.make(base, "BevelTestWindow", base->methodCount, base->interfaceCount, base->eventCount,
                    base->staticMethodCount, base->propertyCount, base->instanceSize);
    window_class->eventTable[kWindowLayout].routine = reinterpret_cast<void*>(&on_window_layout);
    window_class->eventTable[kWindowCreateControls].routine = reinterpret_cast<void*>(&on_window_create_controls);
    ClassRecord* button_class = BevelControls::button_class();
    g_window_button_class =
        holder.make(button_class, "BevelButton1Class", button_class->methodCount, button_class->interfaceCount,
                    button_class->eventCount, button_class->staticMethodCount, button_class->propertyCount,
                    button_class->instanceSize);
    g_window_button_class->eventTable[kRectControlEventCount].routine = reinterpret_cast<void*>(&on_action);
    g_window_button_class->eventTable[kRectControlMouseExit].routine = reinterpret_cast<void*>(&on_exit);
    RuntimeObject* window = RuntimeNewObject(window_class);
    WindowDefaultConstructor(window);
    RuntimeShowWindow(window);
    return window;
}

TEST_F(BevelControls, InAWindowAClickGivesActionAndTheCursorLeavingGivesMouseExit)
{
    ClassHolder holder;
    RuntimeObject* window = open_bevel_window(holder);
    RuntimeObject* button = g_window_button;
    ASSERT_NE(button, nullptr);
    g_control = button;
    SubPane* pane = control_fields(button)->paneInstance;
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(IsWindowVisible(pane->handle()));
    const HWND content = reinterpret_cast<HWND>(windowHWNDGetter(window, 0));
    UpdateWindow(content);

    auto screen = [&](int x, int y) {
        POINT p{x, y};
        ClientToScreen(content, &p);
        return p;
    };
    g_actions = g_exits = 0;
    // The layer ends a click where the cursor is: put it on the button first.
    const POINT on_button = screen(25, 30);
    SetCursorPos(on_button.x, on_button.y);
    SendMessageW(pane->handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 16));
    SendMessageW(pane->handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 16));
    EXPECT_EQ(g_actions, 1);

    track_mouse();  // the cursor is over the button
    EXPECT_EQ(g_exits, 0);
    const POINT away = screen(200, 150);
    SetCursorPos(away.x, away.y);
    track_mouse();
    EXPECT_EQ(g_exits, 1);

    g_control = nullptr;
    g_window_button = nullptr;
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(BevelControls, ASeparatorPaintsAnEtchedLineAcrossItsMiddle)
{
    PlainWindow window;
    RuntimeObject* separator = RuntimeNewObject(s_separator_class);
    ControlObject* c = control_fields(separator);
    c->windowRootPeer = window.content;
    c->bounds = ControlBounds{20, 10, 24, 210};  // 200 x 4
    fire_event(separator, kControlCreatePane);
    SubPane* pane = c->paneInstance;
    ASSERT_NE(pane, nullptr);
    pane->SetBounds(c->bounds, true);
    pane->SetState(SubPane::kShow);
    UpdateWindow(pane->handle());
    HDC dc = GetDC(pane->handle());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (int x : {0, 100, 199}) {
        EXPECT_EQ(GetPixel(dc, x, 0), face) << x;
        EXPECT_EQ(GetPixel(dc, x, 1), shadow) << x;
        EXPECT_EQ(GetPixel(dc, x, 2), highlight) << x;
        EXPECT_EQ(GetPixel(dc, x, 3), face) << x;
    }
    ReleaseDC(pane->handle(), dc);
    RuntimeUnlockObject(separator);
}

// The index of the class's event of that name in its flattened event table, or -1.
i32 event_index(const char* class_name, const std::string& event)
{
    ObjectDefinition* d = find_registered_definition(StringRef::FromCString(class_name));
    for (; d; d = d->superDefinition)
        for (EventNode* node = d->events; node; node = node->next) {
            const std::string name = StringRef::share(node->name).CText();
            if (name.substr(0, name.find('(')) == event)
                return node->index;
        }
    return -1;
}

// The application image knows the built-in and plug-in classes by number, as compiled code
// does: property indices with the declaration each must have (its type letter decides how a
// mass table encodes the value), event indices, and the fields BevelButton's setters write.
// A class that changes its tables breaks the image; this names the entry that moved.
TEST_F(BevelControls, TheApplicationsNumbersMatchTheClasses)
{
    struct Property {
        const char* class_name;
        i32 index;
        const char* declaration;
    };
    const Property properties[] = {
        {"Window", WINDOW_VISIBLE, "Visible%b"},
        {"Window", WINDOW_WIDTH, "Width%i"},
        {"Window", WINDOW_HEIGHT, "Height%i"},
        {"Window", WINDOW_TITLE, "Title%s"},
        {"Window", WINDOW_MENUBAR_VISIBLE, "MenuBarVisible%b"},
        {"Window", WINDOW_CLOSE_BOX, "CloseBox%b"},
        {"Window", WINDOW_GROW_ICON, "GrowIcon%b"},
        {"Window", WINDOW_ZOOM_ICON, "ZoomIcon%b"},
        {"Window", WINDOW_LIVE_RESIZE, "LiveResize%b"},
        {"Window", WINDOW_BACK_COLOR, "BackColor%c"},
        {"Window", WINDOW_MIN_WIDTH, "MinWidth%i"},
        {"Window", WINDOW_MIN_HEIGHT, "MinHeight%i"},
        {"Window", WINDOW_MAX_WIDTH, "MaxWidth%i"},
        {"Window", WINDOW_MAX_HEIGHT, "MaxHeight%i"},
        {"BevelButton", CONTROL_NAME, "Name%s"},
        {"BevelButton", CONTROL_VISIBLE, "Visible%b"},
        {"BevelButton", CONTROL_LEFT, "Left%i"},
        {"BevelButton", CONTROL_TOP, "Top%i"},
        {"BevelButton", CONTROL_WIDTH, "Width%i"},
        {"BevelButton", CONTROL_HEIGHT, "Height%i"},
        {"BevelButton", CONTROL_ENABLED, "Enabled%b"},
        {"BevelButton", CONTROL_AUTO_DEACTIVATE, "AutoDeactivate%b"},
        {"Separator", CONTROL_LOCK_LEFT, "LockLeft%b"},
        {"Separator", CONTROL_LOCK_TOP, "LockTop%b"},
        {"Separator", CONTROL_LOCK_RIGHT, "LockRight%b"},
        {"Separator", CONTROL_LOCK_BOTTOM, "LockBottom%b"},
        {"EditField", CONTROL_INITIAL_PARENT, "InitialParent%s"},
        {"EditField", EDIT_TEXT, "Text%s"},
        {"EditField", EDIT_BORDER, "Border%b"},
        {"EditField", EDIT_MULTILINE, "MultiLine%b"},
        {"EditField", EDIT_READ_ONLY, "ReadOnly%b"},
        {"EditField", EDIT_BACK_COLOR, "BackColor%c"},
        {"EditField", EDIT_SCROLLBAR_VERTICAL, "ScrollBarVertical%b"},
        {"EditField", EDIT_SCROLLBAR, "ScrollBar%b"},
        {"EditField", EDIT_TEXT_FONT, "TextFont%s"},
        {"EditField", EDIT_TEXT_SIZE, "TextSize%i"},
        {"EditField", EDIT_USE_FOCUS_RING, "UseFocusRing%b"},
        {"PushButton", BUTTON_CAPTION, "Caption%s"},
        {"PushButton", BUTTON_DEFAULT, "Default%b"},
        {"PushButton", BUTTON_TEXT_FONT, "TextFont%s"},
        {"PushButton", BUTTON_TEXT_SIZE, "TextSize%i"},
        {"CheckBox", CHECKBOX_CAPTION, "Caption%s"},
        {"CheckBox", CHECKBOX_VALUE, "Value%b"},
        {"CheckBox", CHECKBOX_TEXT_FONT, "TextFont%s"},
        {"CheckBox", CHECKBOX_TEXT_SIZE, "TextSize%i"},
        {"StaticText", STATIC_TEXT, "Text%s"},
        {"StaticText", STATIC_TEXT_FONT, "TextFont%s"},
        {"StaticText", STATIC_TEXT_SIZE, "TextSize%i"},
        {"StaticText", STATIC_MULTILINE, "MultiLine%b"},
        {"GroupBox", GROUP_CAPTION, "Caption%s"},
        {"GroupBox", GROUP_TEXT_FONT, "TextFont%s"},
        {"GroupBox", GROUP_TEXT_SIZE, "TextSize%i"},
    };
    auto find = [](const char* name) { return RuntimeLookupClass(StringRef::FromCString(name).get()); };
    for (const Property& p : properties) {
        ClassRecord* c = find(p.class_name);
        ASSERT_NE(c, nullptr) << p.class_name;
        ASSERT_LT(p.index, c->propertyCount) << p.class_name << " " << p.declaration;
        EXPECT_STREQ(StringRef::share(c->propertyTable[p.index].name).CText(), p.declaration)
            << p.class_name << " property " << p.index;
    }
    EXPECT_EQ(find("StaticText")->propertyTable[STATIC_TEXT].parameter, STATIC_TEXT_PARAM);

    struct Event {
        const char* class_name;
        i32 index;
        const char* name;
    };
    const Event events[] = {
        {"Window", WINDOW_EVENT_LAYOUT, "Layout"},     {"Window", WINDOW_EVENT_CREATE_CONTROLS, "CreateControls"},
        {"Window", WINDOW_EVENT_OPEN, "Open"},         {"BevelButton", CONTROL_EVENT_MOUSE_EXIT, "MouseExit"},
        {"BevelButton", BEVEL_EVENT_ACTION, "Action"}, {"PushButton", BUTTON_EVENT_ACTION, "Action"},
        {"CheckBox", BUTTON_EVENT_ACTION, "Action"},   {"EditField", EDIT_EVENT_TEXT_CHANGE, "TextChange"},
    };
    for (const Event& e : events)
        EXPECT_EQ(event_index(e.class_name, e.name), e.index) << e.class_name << " " << e.name;

    struct Field {
        const char* declaration;
        i32 offset;
    };
    const Field fields[] = {
        {"Caption%s", BEVEL_CAPTION},
        {"CaptionAlign%i", BEVEL_CAPTION_ALIGN},
        {"CaptionPlacement%i", BEVEL_CAPTION_PLACEMENT},
        {"CaptionDelta%i", BEVEL_CAPTION_DELTA},
        {"Icon%o<Picture>", BEVEL_ICON},
        {"IconAlign%i", BEVEL_ICON_ALIGN},
        {"IconDX%i", BEVEL_ICON_DX},
        {"IconDY%i", BEVEL_ICON_DY},
        {"Bevel%i", BEVEL_BEVEL},
        {"HasMenu%i", BEVEL_HAS_MENU},
        {"Value%b", BEVEL_VALUE},
        {"MenuValue%i", BEVEL_MENU_VALUE},
        {"ButtonType%i", BEVEL_BUTTON_TYPE},
        {"TextFont%s", BEVEL_TEXT_FONT},
        {"TextSize%i", BEVEL_TEXT_SIZE},
        {"Bold%b", BEVEL_BOLD},
        {"Italic%b", BEVEL_ITALIC},
        {"Underline%b", BEVEL_UNDERLINE},
    };
    ClassRecord* bevel = find("BevelButton");
    for (const Field& f : fields) {
        i32 found = -1;
        for (i32 i = 0; i < bevel->propertyCount; ++i)
            if (std::string(StringRef::share(bevel->propertyTable[i].name).CText()) == f.declaration)
                found = bevel->propertyTable[i].parameter;
        EXPECT_EQ(found, f.offset) << f.declaration;
    }
}

}  // namespace
}  // namespace qv::ui
