// The control base inside real windows: containers pass Visible, Enabled and moves on to what
// they contain, Parent follows the peers, closing renumbers arrays and takes the contained
// controls along, and a window full of controls gives back everything it took.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/application/application_class.h"
#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/application/mouse_cursor.h"
#include "framework/event_loop/event_loop.h"
#include "framework/shortcut_registry.h"
#include "framework/startup/windows_startup.h"
#include "framework/window_services.h"
#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include "runtime/definitions/class_registry.h"
#include "runtime/exceptions/exception_classes.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "runtime/text/encoding_tags.h"
#include "tests/support/class_holder.h"
#include "ui/controls/canvas_control.h"
#include "ui/controls/control_classes.h"
#include "ui/controls/control_object.h"
#include "ui/controls/font_cache.h"
#include "ui/controls/startup/control_layer.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"
#include "ui/controls/window_object.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

StringRef text(const char* s) { return StringRef::FromCString(s); }

// What the test's window builds in its hidden CreateControls event.
std::function<void(RuntimeObject*)> g_build;

void on_create_controls(RuntimeObject* window)
{
    if (g_build)
        g_build(window);
}

// The window's Layout: a 300 x 200 content area with placement 0 (4 right, 100 down).
void on_layout(RuntimeObject* window)
{
    WindowObject* w = window_fields(window);
    w->bounds = ControlBounds{0, 0, 200, 300};
    w->frame = 0;
    w->visible = 1;
}

// A Canvas (of `canvas_class`, a subclass, if given) named `name` at (left, top) of size
// (width, height), optionally inside the control named `parent` and in an array; added to the
// window.
RuntimeObject* add_canvas(RuntimeObject* window, const char* name, i16 left, i16 top, i16 width, i16 height,
                          const char* parent = nullptr, i32 index = kNoArrayIndex, ClassRecord* of_class = nullptr)
{
    RuntimeObject* canvas = WindowAllocateObject(window, of_class ? of_class : canvas_class());
    ControlObject* c = control_fields(canvas);
    stringSetter(canvas, kControlNameOffset, text(name).get());
    c->index = index;
    c->bounds = ControlBounds{top, left, static_cast<i16>(top + height), static_cast<i16>(left + width)};
    if (parent)
        ControlInitialParentSetter(canvas, 0, text(parent).get());
    WindowAddControl(window, canvas);
    RuntimeUnlockObject(canvas);
    return canvas;
}

RuntimeObject* control(RuntimeObject* window, const char* key) { return RuntimeControlFetch(window, text(key).get()); }

HWND handle(RuntimeObject* control) { return control_fields(control)->paneInstance->handle(); }

// The child window's rectangle in the content coordinates of its window.
RECT placed(RuntimeObject* window, RuntimeObject* control)
{
    RECT r;
    GetWindowRect(handle(control), &r);
    MapWindowPoints(nullptr, reinterpret_cast<HWND>(windowHWNDGetter(window, 0)), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void build_box(RuntimeObject* window)
{
    add_canvas(window, "Box", 10, 10, 200, 150);
    add_canvas(window, "Inner", 20, 30, 50, 20, "Box");
    RuntimeObject* hidden = add_canvas(window, "Hidden", 20, 60, 50, 20, "Box");
    control_fields(hidden)->visible = 0;
    add_canvas(window, "Outside", 220, 10, 50, 20);
}

class Controls : public ::testing::Test {
protected:
    // What a first window of controls makes once for the process (classes, caches).
    static void SetUpTestSuite()
    {
        ClassHolder classes;
        ClassRecord* window_class = make_window_class(classes);
        close_window(open_window(window_class, &build_box));
        g_build = nullptr;
        ClassFromDefinition(exception_definition(ExceptionClass::InvalidParentException));
    }

    static ClassRecord* make_window_class(ClassHolder& classes)
    {
        ClassRecord* base = RuntimeLookupClass(text("Window").get());
        ClassRecord* c = classes.make(base, "TestWindow", base->methodCount, base->interfaceCount, base->eventCount,
                                      base->staticMethodCount, base->propertyCount, base->instanceSize);
        c->eventTable[kWindowLayout].routine = reinterpret_cast<void*>(&on_layout);
        c->eventTable[kWindowCreateControls].routine = reinterpret_cast<void*>(&on_create_controls);
        return c;
    }

    // A new window of `window_class` whose CreateControls runs `build`; the caller closes and
    // releases it.
    static RuntimeObject* open_window(ClassRecord* window_class, std::function<void(RuntimeObject*)> build)
    {
        g_build = std::move(build);
        RuntimeObject* window = RuntimeNewObject(window_class);
        WindowDefaultConstructor(window);
        RuntimeShowWindow(window);
        return window;
    }

    void SetUp() override
    {
        ClassRecord* window_class = RuntimeLookupClass(text("Window").get());
        ASSERT_NE(window_class, nullptr);
        m_window_class =
            m_classes.make(window_class, "TestWindow", window_class->methodCount, window_class->interfaceCount,
                           window_class->eventCount, window_class->staticMethodCount, window_class->propertyCount,
                           window_class->instanceSize);
        m_window_class->eventTable[kWindowLayout].routine = reinterpret_cast<void*>(&on_layout);
        m_window_class->eventTable[kWindowCreateControls].routine = reinterpret_cast<void*>(&on_create_controls);
    }

    void TearDown() override { g_build = nullptr; }

    ClassRecord* canvas_subclass(const char* name)
    {
        ClassRecord* base = canvas_class();
        return m_classes.make(base, name, base->methodCount, base->interfaceCount, base->eventCount,
                              base->staticMethodCount, base->propertyCount, base->instanceSize);
    }

    RuntimeObject* open_window(std::function<void(RuntimeObject*)> build)
    {
        return open_window(m_window_class, std::move(build));
    }

    static void close_window(RuntimeObject* window)
    {
        RuntimeCloseWindow(window);
        RuntimeUnlockObject(window);
    }

    ClassHolder m_classes;
    ClassRecord* m_window_class = nullptr;
};

TEST_F(Controls, AContainerPassesVisibleAndEnabledOnWithoutChangingTheirOwn)
{
    RuntimeObject* window = open_window(&build_box);
    RuntimeObject* box = control(window, "Box");
    RuntimeObject* inner = control(window, "Inner");
    RuntimeObject* hidden = control(window, "Hidden");
    ASSERT_TRUE(box && inner && hidden);
    EXPECT_TRUE(IsWindowVisible(handle(inner)));
    EXPECT_FALSE(IsWindowVisible(handle(hidden)));

    ControlVisibleSetter(box, 0, 0);
    EXPECT_FALSE(IsWindowVisible(handle(inner)));
    EXPECT_EQ(controlVisibleGetter(inner, 0), 1);  // its own setting stays
    ControlVisibleSetter(box, 0, 1);
    EXPECT_TRUE(IsWindowVisible(handle(inner)));
    EXPECT_FALSE(IsWindowVisible(handle(hidden)));  // hidden by its own setting

    controlEnabledSetter(inner, 0, 0);
    controlEnabledSetter(box, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(handle(box)));
    controlEnabledSetter(box, 0, 1);
    EXPECT_TRUE(IsWindowEnabled(handle(hidden)));
    EXPECT_FALSE(IsWindowEnabled(handle(inner)));  // disabled by its own setting
    EXPECT_TRUE(IsWindowEnabled(handle(control(window, "Outside"))));
    close_window(window);
}

TEST_F(Controls, MovingAContainerMovesWhatItContainsAndResizingItDoesNot)
{
    RuntimeObject* window = open_window(&build_box);
    RuntimeObject* box = control(window, "Box");
    RuntimeObject* inner = control(window, "Inner");
    ctlPosSetter(box, 0, 15);  // Left 10 -> 15
    ctlPosSetter(box, 1, 7);   // Top 10 -> 7
    EXPECT_EQ(ctlPosGetter(inner, 0), 25);
    EXPECT_EQ(ctlPosGetter(inner, 1), 27);
    EXPECT_EQ(ctlPosGetter(control(window, "Outside"), 0), 220);
    const RECT r = placed(window, inner);
    EXPECT_EQ(r.left, 25);
    EXPECT_EQ(r.top, 27);
    EXPECT_EQ(r.right - r.left, 50);

    ctlPosSetter(box, 2, 100);  // Width: nothing inside moves
    EXPECT_EQ(ctlPosGetter(box, 2), 100);
    EXPECT_EQ(ctlPosGetter(inner, 0), 25);
    EXPECT_EQ(placed(window, box).right - placed(window, box).left, 100);
    close_window(window);
}

TEST_F(Controls, ParentFollowsThePeersAndRefusesAnotherWindow)
{
    RuntimeObject* window = open_window(&build_box);
    RuntimeObject* other = open_window(&build_box);
    RuntimeObject* box = control(window, "Box");
    RuntimeObject* inner = control(window, "Inner");

    RuntimeObject* parent = ControlParentGetter(inner, 0);
    EXPECT_EQ(parent, box);
    RuntimeUnlockObject(parent);
    EXPECT_EQ(ControlParentGetter(box, 0), nullptr);  // placed directly on the window

    ControlParentSetter(inner, 0, nullptr);
    EXPECT_EQ(ControlParentGetter(inner, 0), nullptr);
    EXPECT_EQ(placed(window, inner).left, 20);  // still where its bounds say
    ControlVisibleSetter(box, 0, 0);
    EXPECT_TRUE(IsWindowVisible(handle(inner)));  // no longer inside

    ControlParentSetter(inner, 0, box);  // the box is hidden: so is the control put in it
    EXPECT_FALSE(IsWindowVisible(handle(inner)));

    static RuntimeObject* s_caught = nullptr;
    const ExceptionHook previous = set_unhandled_exception_hook([](RuntimeObject* e) {
        RuntimeLockObject(e);
        s_caught = e;
    });
    RuntimeObject* foreign = control(other, "Box");
    run_guarded([inner, foreign] { ControlParentSetter(inner, 0, foreign); });
    set_unhandled_exception_hook(previous);
    ASSERT_NE(s_caught, nullptr);
    EXPECT_EQ(s_caught->classRecord, ClassFromDefinition(exception_definition(ExceptionClass::InvalidParentException)));
    RuntimeUnlockObject(std::exchange(s_caught, nullptr));
    EXPECT_EQ(ControlParentGetter(inner, 0), box);  // left where it was
    RuntimeUnlockObject(box);
    close_window(other);
    close_window(window);
}

TEST_F(Controls, ClosingAnArrayMemberMovesTheLaterOnesDown)
{
    RuntimeObject* window = open_window([](RuntimeObject* w) {
        for (i32 i = 0; i < 3; ++i)
            add_canvas(w, "Check", static_cast<i16>(10 + 30 * i), 10, 20, 20, nullptr, i);
        add_canvas(w, "Check", 10, 50, 20, 20);  // no member: filed under its name
    });
    RuntimeObject* second = control(window, "Check$1");
    RuntimeObject* third = control(window, "Check$2");
    ASSERT_TRUE(second && third && control(window, "Check"));
    RuntimeLockObject(second);
    ControlClose(second);
    EXPECT_EQ(control_fields(second)->paneInstance, nullptr);
    EXPECT_EQ(control(window, "Check$1"), third);
    EXPECT_EQ(control_fields(third)->index, 1);
    EXPECT_EQ(control(window, "Check$2"), nullptr);
    EXPECT_EQ(RuntimeControlArrayItemReference(window, text("Check").get(), 2), nullptr);
    EXPECT_NE(control(window, "Check"), nullptr);
    EXPECT_EQ(second->refCount, 1);  // the map let go of it
    RuntimeUnlockObject(second);
    close_window(window);
}

TEST_F(Controls, ClosingAContainerClosesWhatItContains)
{
    RuntimeObject* window = open_window(&build_box);
    RuntimeObject* inner = control(window, "Inner");
    RuntimeLockObject(inner);
    ControlClose(control(window, "Box"));
    EXPECT_EQ(control_fields(inner)->paneInstance, nullptr);
    EXPECT_EQ(control(window, "Inner"), nullptr);
    EXPECT_EQ(control(window, "Box"), nullptr);
    EXPECT_NE(control(window, "Outside"), nullptr);
    RuntimeUnlockObject(inner);
    close_window(window);
}

TEST_F(Controls, AWindowOfControlsGivesBackItsObjectsAndMemory)
{
    close_window(open_window(&build_box));  // classes and caches made on first use
    const i32 objects = RuntimeDebugObjectCount(nullptr);
    const i32 bytes = RuntimeDebugMemoryUsed();
    close_window(open_window(&build_box));
    EXPECT_EQ(RuntimeDebugObjectCount(nullptr), objects);
    EXPECT_EQ(RuntimeDebugMemoryUsed(), bytes);
}

// Paint draws through a Graphics object on the canvas's own window: a red square at (5, 5).
void paint_red_square(RuntimeObject*, RuntimeObject* g)
{
    graphicsForeColorSetter(g, 0, 0xFF0000);
    RuntimeGraphicsFillRect(g, 5, 5, 10, 10);
}

TEST_F(Controls, ACanvasPaintsThroughAGraphicsObjectOnItsOwnWindow)
{
    ClassRecord* painted = canvas_subclass("Painted");
    painted->eventTable[kCanvasPaint].routine = reinterpret_cast<void*>(&paint_red_square);
    RuntimeObject* window = open_window([painted](RuntimeObject* w) {
        RuntimeObject* canvas = WindowAllocateObject(w, painted);
        stringSetter(canvas, kControlNameOffset, text("Art").get());
        control_fields(canvas)->bounds = ControlBounds{20, 20, 60, 60};
        WindowAddControl(w, canvas);
        RuntimeUnlockObject(canvas);
    });
    HWND art = handle(control(window, "Art"));
    RedrawWindow(art, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(art);
    const COLORREF inside = GetPixel(dc, 10, 10);
    const COLORREF outside = GetPixel(dc, 30, 30);
    ReleaseDC(art, dc);
    EXPECT_EQ(inside, RGB(255, 0, 0));
    EXPECT_NE(outside, RGB(255, 0, 0));
    close_window(window);
}

std::vector<std::string> g_clicks;

u32 on_pad_down(RuntimeObject*, i32 x, i32 y)
{
    g_clicks.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
    return 1;
}

void on_pad_up(RuntimeObject*, i32 x, i32 y)
{
    g_clicks.push_back("MouseUp " + std::to_string(x) + "," + std::to_string(y));
}

// Control shortcuts of the mouse's kind: kind 3 clicks the control at its own top-left corner
// and leaves nothing holding the mouse; kind 2 makes its tab the current one, once, focusing
// the panel. Neither acts on a disabled control.
TEST_F(Controls, ShortcutsClickAMouseControlAndSelectATab)
{
    ClassRecord* clicked = canvas_subclass("Clicked");
    clicked->eventTable[kCanvasMouseDown].routine = reinterpret_cast<void*>(&on_pad_down);
    clicked->eventTable[kCanvasMouseUp].routine = reinterpret_cast<void*>(&on_pad_up);
    RuntimeObject* window = open_window([clicked](RuntimeObject* w) {
        add_canvas(w, "Pad", 30, 20, 60, 40, nullptr, kNoArrayIndex, clicked);
        add_canvas(w, "Tabs", 100, 10, 150, 100);
    });
    HWND top = GetAncestor(handle(control(window, "Pad")), GA_ROOT);
    SetForegroundWindow(top);
    SetActiveWindow(top);
    const auto target = [](HWND h) { return static_cast<u32>(reinterpret_cast<uintptr_t>(h)); };
    const auto act = window_services().act_on_control_shortcut;
    g_clicks.clear();

    EXPECT_TRUE(act(target(handle(control(window, "Pad"))), kShortcutClickControl));
    EXPECT_EQ(g_clicks, (std::vector<std::string>{"MouseDown 0,0", "MouseUp 0,0"}));
    EXPECT_EQ(GetCapture(), nullptr);

    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    HWND panel = handle(control(window, "Tabs"));
    HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 150, 100, panel, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(tabs, nullptr);
    for (const wchar_t* caption : {L"One", L"Two"}) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(caption);
        SendMessageW(tabs, TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
    }
    const u32 second_tab = kShortcutTab | (1u << 16);
    EXPECT_TRUE(act(target(panel), second_tab));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(focus_pane(), control_fields(control(window, "Tabs"))->paneInstance);
    EXPECT_FALSE(act(target(panel), second_tab)) << "already the current tab";

    controlEnabledSetter(control(window, "Pad"), 0, 0);
    g_clicks.clear();
    EXPECT_FALSE(act(target(handle(control(window, "Pad"))), kShortcutClickControl));
    EXPECT_TRUE(g_clicks.empty());
    close_window(window);
}

// The loop's idle turn goes to the peer holding the focus, and to none when none holds it.
TEST_F(Controls, TheLoopGivesTheFocusedPeerItsIdleTurn)
{
    struct IdlePane : SubPane {
        using SubPane::SubPane;
        void DoIdle() override { ++idles; }
        int idles = 0;
    };
    RuntimeObject* window = open_window([](RuntimeObject* w) { add_canvas(w, "Pad", 10, 10, 50, 50); });
    RuntimeObject* pad = control(window, "Pad");
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 70, 10, 20, 20,
                                 GetAncestor(handle(pad), GA_ROOT), nullptr, GetModuleHandleW(nullptr), nullptr);
    {
        IdlePane pane(pad);
        pane.Attach(child, true);
        const auto iterate = [] {
            PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
            run_guarded_loop_iteration();
        };
        move_focus(&pane);
        iterate();
        EXPECT_EQ(pane.idles, 1);
        move_focus(nullptr);
        iterate();
        EXPECT_EQ(pane.idles, 1);
    }
    close_window(window);
}

struct CursorCase {
    const char* what;
    POINT at;  // content coordinates
    HCURSOR expected;
    LRESULT handled;
};

// WM_SETCURSOR: the application's cursor over everything, else the cursor of the control under
// the mouse, else the window's; the arrow, left to the default procedure, when none has one.
TEST_F(Controls, TheCursorIsTheApplicationsElseTheControlsUnderTheMouseElseTheWindows)
{
    const ObjectRef ibeam = ObjectRef::adopt(getIBeamCursor());
    const ObjectRef watch = ObjectRef::adopt(getWatchCursor());
    const ObjectRef hand = ObjectRef::adopt(new_mouse_cursor(LoadCursorW(nullptr, IDC_HAND), false));
    const ObjectRef cross = ObjectRef::adopt(new_mouse_cursor(LoadCursorW(nullptr, IDC_CROSS), false));
    constexpr i32 kCursorField = offsetof(ControlObject, mouseCursor);
    RuntimeObject* window = open_window([&](RuntimeObject* w) {
        // Its cursor is set while it has no peer yet, as a property table would.
        RuntimeObject* early = WindowAllocateObject(w, canvas_class());
        stringSetter(early, kControlNameOffset, text("Early").get());
        control_fields(early)->bounds = ControlBounds{10, 10, 60, 110};
        controlMouseCursorSetter(early, kCursorField, ibeam.get());
        WindowAddControl(w, early);
        RuntimeUnlockObject(early);
        add_canvas(w, "Late", 150, 10, 100, 50);
        add_canvas(w, "Plain", 10, 100, 100, 50);
    });
    controlMouseCursorSetter(control(window, "Late"), kCursorField, hand.get());
    HWND native = reinterpret_cast<HWND>(windowHWNDGetter(window, 0));
    const ObjectRef app = ObjectRef::adopt(new_plain_application());
    RuntimeObject* const previous_app = std::exchange(gApplicationObject, app.get());
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);

    const auto check = [&](const CursorCase& c) {
        POINT on_screen = c.at;
        ClientToScreen(native, &on_screen);
        SetCursorPos(on_screen.x, on_screen.y);
        SetCursor(nullptr);
        const LRESULT handled =
            SendMessageW(native, WM_SETCURSOR, reinterpret_cast<WPARAM>(native), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), c.expected) << c.what;
        EXPECT_EQ(handled, c.handled) << c.what;
    };

    formMouseCursorSetter(window, 0, watch.get());
    const CursorCase window_cases[] = {
        {"a control's cursor set before its peer", {30, 30}, LoadCursorW(nullptr, IDC_IBEAM), TRUE},
        {"a control's cursor set after", {200, 30}, LoadCursorW(nullptr, IDC_HAND), TRUE},
        {"a control without one: the window's", {30, 120}, LoadCursorW(nullptr, IDC_WAIT), TRUE},
        {"no control: the window's", {250, 150}, LoadCursorW(nullptr, IDC_WAIT), TRUE},
    };
    for (const CursorCase& c : window_cases)
        check(c);

    appMouseCursorSetter(app.get(), cross.get());
    for (const CursorCase& c : window_cases)
        check({c.what, c.at, LoadCursorW(nullptr, IDC_CROSS), TRUE});

    appMouseCursorSetter(app.get(), nullptr);
    formMouseCursorSetter(window, 0, nullptr);
    controlMouseCursorSetter(control(window, "Early"), kCursorField, nullptr);
    check({"nil everywhere: the arrow", {30, 120}, arrow, FALSE});
    check({"a control's cursor set to nil", {30, 30}, arrow, FALSE});
    check({"a control keeps its cursor", {200, 30}, LoadCursorW(nullptr, IDC_HAND), TRUE});

    gApplicationObject = previous_app;
    close_window(window);
}

// The user makes the window 100 x 50 larger: a control locked left, right and bottom widens by
// 100 and moves down by 50; one locked left and top only stays; one locked right only moves.
TEST_F(Controls, LockedControlsFollowAResizeByTheUser)
{
    RuntimeObject* window = open_window([](RuntimeObject* w) {
        RuntimeObject* stretch = add_canvas(w, "Stretch", 10, 10, 100, 40);
        control_fields(stretch)->lockLeft = control_fields(stretch)->lockRight = 1;
        control_fields(stretch)->lockBottom = 1;
        RuntimeObject* still = add_canvas(w, "Still", 10, 60, 50, 20);
        control_fields(still)->lockLeft = control_fields(still)->lockTop = 1;
        RuntimeObject* mover = add_canvas(w, "Mover", 200, 60, 50, 20);
        control_fields(mover)->lockRight = 1;
    });
    HWND native = reinterpret_cast<HWND>(windowHWNDGetter(window, 0));
    RECT outer;
    GetWindowRect(native, &outer);
    SetWindowPos(native, nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top + 50,
                 SWP_NOMOVE | SWP_NOZORDER);
    // One loop turn without waiting: the layout step, then the queued messages.
    window_services().apply_pending_layout();
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&message);
    const RECT stretch = placed(window, control(window, "Stretch"));
    EXPECT_EQ(stretch.left, 10);
    EXPECT_EQ(stretch.right - stretch.left, 200);
    EXPECT_EQ(stretch.top, 60);
    EXPECT_EQ(stretch.bottom - stretch.top, 40);
    const RECT still = placed(window, control(window, "Still"));
    EXPECT_EQ(still.left, 10);
    EXPECT_EQ(still.top, 60);
    EXPECT_EQ(still.right - still.left, 50);
    const RECT mover = placed(window, control(window, "Mover"));
    EXPECT_EQ(mover.left, 300);
    EXPECT_EQ(mover.right - mover.left, 50);
    EXPECT_EQ(ctlPosGetter(control(window, "Mover"), 0), 300);
    close_window(window);
}

// The index of the property named `name` in the object's flattened table, or -1.
i32 property_index(RuntimeObject* object, const char* name)
{
    const ClassRecord* c = object->classRecord;
    const std::string prefix = std::string(name) + "%";
    for (i32 i = 0; i < c->propertyCount; ++i) {
        StringRef entry = StringRef::share(c->propertyTable[i].name);
        if (std::string(entry.CText()).rfind(prefix, 0) == 0)
            return i;
    }
    return -1;
}

// A window's stored properties come from a mass table, as compiled window code sets them:
// every setter takes the property's param before the value.
TEST_F(Controls, AMassTableSetsAWindowsTitleSizeAndFlags)
{
    RuntimeObject* window = open_window(nullptr);
    const i32 title = property_index(window, "Title");
    const i32 width = property_index(window, "Width");
    const i32 close_box = property_index(window, "CloseBox");
    const i32 min_width = property_index(window, "MinWidth");
    ASSERT_TRUE(title >= 0 && width >= 0 && close_box >= 0 && min_width >= 0);
    std::string table;
    auto index = [&table](i32 i) {
        table += static_cast<char>(i >> 8);
        table += static_cast<char>(i & 0xFF);
    };
    auto integer = [&table](i32 v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            table += static_cast<char>((v >> shift) & 0xFF);
    };
    const std::string name = "窓の名前";
    index(title);
    integer(static_cast<i32>(name.size()));
    table += name;
    index(width);
    integer(250);
    index(close_box);
    table += '\0';
    index(min_width);
    integer(120);
    StringRef bytes = StringRef::FromBytes(table.data(), static_cast<i32>(table.size()));
    RuntimeMassPropertySetter(window, bytes.get());

    StringRef got = StringRef::adopt(windowTitleGetter(window, 0));
    EXPECT_EQ(std::string(got.CText()), name);
    EXPECT_EQ(windowPosGetter(window, 2), 250);
    EXPECT_EQ(windowCloseBoxGetter(window, 0), 0);
    EXPECT_EQ(shortGetter(window, 92), 120);
    wchar_t native[16] = {};
    GetWindowTextW(reinterpret_cast<HWND>(windowHWNDGetter(window, 0)), native, 16);
    EXPECT_EQ(std::wstring(native), L"窓の名前");
    close_window(window);
}

TEST(FontCache, ClassicNamesMapAndEqualDescriptionsShareOneFont)
{
    const struct {
        const wchar_t* name;
        const wchar_t* face;
    } kCases[] = {{L"system", L"MS Sans Serif"},  {L"Geneva", L"MS Sans Serif"}, {L"COURIER", L"Courier New"},
                  {L"Times", L"Times New Roman"}, {L"Helvetica", L"Arial"},      {L"osaka", L"MS UI Gothic"},
                  {L"MS Gothic", L"MS Gothic"}};
    for (const auto& c : kCases)
        EXPECT_EQ(face_name_for(c.name), c.face);
    EXPECT_EQ(charset_for_language(0x411), SHIFTJIS_CHARSET);
    EXPECT_EQ(charset_for_language(0xC04), CHINESEBIG5_CHARSET);
    EXPECT_EQ(charset_for_language(0x409), DEFAULT_CHARSET);

    const i32 before = cached_font_count();
    FontRef a = acquire_font({L"System", 0, false, false, false});
    FontRef b = acquire_font({L"SYSTEM", 0, false, false, false});  // names compare ignoring case
    FontRef bold = acquire_font({L"System", 0, true, false, false});
    ASSERT_NE(a.get(), nullptr);
    EXPECT_EQ(a.get(), b.get());
    EXPECT_NE(a.get(), bold.get());
    EXPECT_EQ(cached_font_count(), before + 2);
    a = FontRef();
    EXPECT_EQ(cached_font_count(), before + 2);  // one user left
    b = FontRef();
    bold = FontRef();
    EXPECT_EQ(cached_font_count(), before);
}

// Face names are text: a Japanese face reaches GDI as the same characters, whatever the
// encoding the image's string has.
TEST(FontCache, JapaneseFaceNamesReachGdiAsText)
{
    const std::wstring face = L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF";  // "ＭＳ Ｐゴシック"
    const u8 shift_jis[] = {0x82, 0x6C, 0x82, 0x72, 0x20, 0x82, 0x6F, 0x83, 0x53, 0x83, 0x56, 0x83, 0x62, 0x83, 0x4E};
    StringRef utf8 = StringRef::FromCString("ＭＳ Ｐゴシック");
    utf8.set_encoding(kEncodingUTF8);
    StringRef sjis = StringRef::FromBytes(shift_jis, sizeof shift_jis);
    sjis.set_encoding(kEncodingShiftJIS);
    for (const StringRef& name : {utf8, sjis}) {
        const FontDescription description = control_font(name, 12, false, false, false);
        EXPECT_EQ(description.name, face);
        FontRef font = acquire_font(description);
        ASSERT_NE(font.get(), nullptr);
        LOGFONTW made{};
        ASSERT_NE(GetObjectW(font.get(), sizeof made, &made), 0);
        EXPECT_EQ(std::wstring(made.lfFaceName), face);
        EXPECT_EQ(made.lfHeight, -12);
    }
}

// A control whose record names no font gets start-up's default control font.
TEST(FontCache, ControlsWithoutAFontGetTheDefaultControlFont)
{
    const struct {
        const char* name;  // null for a nil TextFont
        i32 size;
        const wchar_t* want_name;
        i32 want_size;
    } kCases[] = {{nullptr, 0, L"System", 10}, {"", 0, L"System", 10}, {nullptr, 14, L"System", 14},
                  {"Osaka", 0, L"Osaka", 0}};
    for (const auto& c : kCases) {
        const StringRef name = c.name ? StringRef::FromCString(c.name) : StringRef();
        const FontDescription description = control_font(name, c.size, true, false, true);
        EXPECT_EQ(description.name, c.want_name) << (c.name ? c.name : "nil");
        EXPECT_EQ(description.size, c.want_size) << (c.name ? c.name : "nil");
        EXPECT_TRUE(description.bold && description.underline && !description.italic);
    }
}

}  // namespace
}  // namespace qv::ui
