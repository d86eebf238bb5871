// Building a window: the order of its events, when it becomes visible, the styles and
// placement its Frame gives it, implicit windows, and nothing left behind once it has closed.
#include "runtime/encodings/text_encoding_objects.h"
#include "runtime/memory/pool_allocator.h"
#include "tests/ui/win32/window_fixture.h"

namespace qv::ui::test {
namespace {

using Construction = WindowTest;

TEST_F(Construction, HiddenEventsRunInsideNewObjectThenOpenAndTheWindowShowsAtTheNextTurn)
{
    RuntimeObject* window = RuntimeNewObject(m_class);
    EXPECT_EQ(g_log.events, (std::vector<std::string>{"Layout", "CreateControls", "SetupBindings"}));
    HWND handle = handle_of(window);
    ASSERT_TRUE(IsWindow(handle));
    EXPECT_EQ(NativeWindow::FromHandle(handle), view_of(window));
    EXPECT_FALSE(IsWindowVisible(handle));

    WindowDefaultConstructor(window);
    EXPECT_EQ(g_log.events.back(), "Open");
    EXPECT_FALSE(IsWindowVisible(handle)) << "shown before the loop's turn";
    wchar_t title[64] = {};
    GetWindowTextW(handle, title, 64);
    EXPECT_STREQ(title, L"Window test");

    turn();
    EXPECT_TRUE(IsWindowVisible(handle));
    EXPECT_EQ(window_services().window_count(), 1);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Construction, ASubclassRepeatingTheClassConstructorStillBuildsOneWindow)
{
    m_class->initializer = &RuntimeCreateWindow;  // runs after the base's own
    RuntimeObject* window = open_window();
    EXPECT_EQ(g_log.count("Layout"), 1);
    EXPECT_EQ(g_log.count("CreateControls"), 1);
    EXPECT_EQ(window_services().window_count(), 1);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Construction, AnInvisibleWindowStaysHiddenUntilShow)
{
    g_log.setup.visible = false;
    RuntimeObject* window = open_window();
    turn();
    EXPECT_FALSE(IsWindowVisible(handle_of(window)));
    RuntimeShowWindow(window);
    EXPECT_TRUE(IsWindowVisible(handle_of(window)));
    RuntimeHideWindow(window);
    EXPECT_FALSE(IsWindowVisible(handle_of(window)));
    EXPECT_FALSE(WindowVisibleGetter(window, 0));
    turn();
    EXPECT_FALSE(IsWindowVisible(handle_of(window))) << "a hidden window came back at the loop's turn";
    EXPECT_EQ(g_log.count("Open"), 1);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Construction, AWindowClosedInItsOpenEventIsNeverShown)
{
    g_log.close_in_open = true;
    RuntimeObject* window = RuntimeNewObject(m_class);
    HWND handle = handle_of(window);
    WindowDefaultConstructor(window);
    EXPECT_EQ(g_log.events,
              (std::vector<std::string>{"Layout", "CreateControls", "SetupBindings", "Open", "CancelClose", "Close"}));
    EXPECT_EQ(windowHWNDGetter(window, 0), 0);
    EXPECT_EQ(window_services().window_count(), 0);
    EXPECT_FALSE(IsWindowVisible(handle));
    turn();
    EXPECT_FALSE(IsWindow(handle)) << "the native window outlived its close";
    RuntimeUnlockObject(window);
}

struct StyleCase {
    i32 frame;
    bool close_box, grow_icon, zoom_icon;
    DWORD style;     // the frame bits expected among kStyleBits
    DWORD ex_style;  // among kExStyleBits
};
constexpr DWORD kStyleBits = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kExStyleBits = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE;

class FrameStyles : public WindowTest, public ::testing::WithParamInterface<StyleCase> { };

TEST_P(FrameStyles, FrameCloseBoxGrowIconAndZoomIconGiveTheseStyles)
{
    const StyleCase& c = GetParam();
    g_log.setup.frame = c.frame;
    g_log.setup.close_box = c.close_box;
    g_log.setup.grow_icon = c.grow_icon;
    g_log.setup.zoom_icon = c.zoom_icon;
    g_log.setup.visible = false;
    RuntimeObject* window = open_window();
    HWND handle = handle_of(window);
    ASSERT_TRUE(handle);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(handle, GWL_STYLE)) & kStyleBits, c.style) << "Frame " << c.frame;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(handle, GWL_EXSTYLE)) & kExStyleBits, c.ex_style)
        << "Frame " << c.frame;
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FrameStyles,
    ::testing::Values(
        StyleCase{0, true, true, true, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0},
        StyleCase{0, false, false, false, WS_CAPTION, 0}, StyleCase{0, true, false, false, WS_CAPTION | WS_SYSMENU, 0},
        StyleCase{1, true, false, false, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME},
        StyleCase{2, false, false, false, WS_POPUP | WS_DLGFRAME, 0},
        StyleCase{3, true, true, false, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW},
        StyleCase{4, false, false, false, WS_POPUP | WS_BORDER, 0},
        StyleCase{5, false, false, false, WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE},
        StyleCase{7, false, false, false, WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW | WS_EX_TOPMOST},
        StyleCase{9, false, false, false, WS_CAPTION, 0},
        StyleCase{10, false, false, false, WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW}));

struct PlacementCase {
    i32 frame;
    i32 placement;
    const char* expect;  // "4,100", "center" or "work"
};

class Placements : public WindowTest, public ::testing::WithParamInterface<PlacementCase> { };

TEST_P(Placements, TheStoredRectangleIsOffsetAndTheNativeContentLiesThere)
{
    const PlacementCase& c = GetParam();
    g_log.setup.frame = c.frame;
    g_log.setup.placement = c.placement;
    g_log.setup.bounds = {20, 30, 220, 330};  // 300 x 200 at (30, 20)
    g_log.setup.visible = false;
    RuntimeObject* window = open_window();
    i32 dx = 0;
    i32 dy = 0;
    if (std::string(c.expect) == "4,100") {
        dx = 4, dy = 100;
    } else if (std::string(c.expect) == "center") {
        dx = (GetSystemMetrics(SM_CXSCREEN) - 330) / 2;
        dy = (GetSystemMetrics(SM_CYSCREEN) - 220) / 4;
    } else {
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        dx = work.left + 10, dy = work.top + 50;
    }
    EXPECT_EQ(windowPosGetter(window, 0), 30 + dx);
    EXPECT_EQ(windowPosGetter(window, 1), 20 + dy);
    EXPECT_EQ(windowPosGetter(window, 2), 300);
    EXPECT_EQ(windowPosGetter(window, 3), 200);
    const RECT content = client_on_screen(handle_of(window));
    EXPECT_EQ(content.left, 30 + dx);
    EXPECT_EQ(content.top, 20 + dy);
    EXPECT_EQ(content.right - content.left, 300);
    EXPECT_EQ(content.bottom - content.top, 200);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

INSTANTIATE_TEST_SUITE_P(Table, Placements,
                         ::testing::Values(PlacementCase{0, 0, "work"},    // Frame 0's own: 4
                                           PlacementCase{3, 0, "4,100"},   // Frame 3's own: 0
                                           PlacementCase{1, 0, "center"},  // Frame 1's own: 2
                                           PlacementCase{0, 3, "center"}, PlacementCase{3, 4, "work"}));

TEST_F(Construction, AnImplicitWindowIsTheSameUntilItClosesThenANewOne)
{
    StringRef name = StringRef::FromCString("TestWindow");
    EXPECT_EQ(RuntimeGetImplicitWindow(name.get()), nullptr);  // the image then creates it
    RuntimeObject* first = open_window();
    RuntimeObject* again = RuntimeGetImplicitWindow(name.get());
    EXPECT_EQ(again, first);
    RuntimeObject* third = RuntimeGetImplicitWindow(name.get());
    EXPECT_EQ(third, first);
    EXPECT_EQ(first->refCount, 5) << "image, native window, registry and two references";
    RuntimeUnlockObject(again);
    RuntimeUnlockObject(third);

    RuntimeCloseWindow(first);
    EXPECT_EQ(first->refCount, 1) << "the registry and the native window let go on close";
    RuntimeUnlockObject(first);
    EXPECT_EQ(RuntimeGetImplicitWindow(name.get()), nullptr);
    RuntimeObject* second = open_window();
    RuntimeObject* found = RuntimeGetImplicitWindow(name.get());
    EXPECT_EQ(found, second);
    RuntimeUnlockObject(found);
    RuntimeCloseWindow(second);
    RuntimeUnlockObject(second);
}

TEST_F(Construction, AWindowNotAskedForImplicitlyIsNotFiled)
{
    RuntimeObject* window = open_window();
    StringRef name = StringRef::FromCString("TestWindow");
    EXPECT_EQ(RuntimeGetImplicitWindow(name.get()), nullptr);
    EXPECT_EQ(window->refCount, 2);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Construction, OpeningAndClosingAWindowGivesBackEveryObjectAndByte)
{
    ClassRecord* handler_class = m_classes.make(nullptr, "Handler");
    // The text conversions keep a cache for the whole run: not the window's to give back.
    release_text_encoding_state();
    const i64 bytes = pool_bytes_in_use();
    RuntimeObject* window = open_window();
    turn();
    StringRef handler_name = StringRef::FromCString("FileSave");
    RuntimeObject* handler = RuntimeNewObject(handler_class);
    WindowAddMenuHandler(window, handler_name.get(), handler);
    RuntimeUnlockObject(handler);
    EXPECT_GT(live_object_count(), m_objects_before);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
    turn();
    handler_name = StringRef();
    release_text_encoding_state();
    EXPECT_EQ(live_object_count(), m_objects_before);
    EXPECT_EQ(pool_bytes_in_use(), bytes);
}

}  // namespace
}  // namespace qv::ui::test
