// Properties that reach the native window (Title, the background colour, full-screen mode) and
// the window's menu handlers.
#include <utility>

#include "framework/menu_handler_registry.h"
#include "tests/support/assertion_capture.h"
#include "tests/ui/win32/window_fixture.h"

namespace qv::ui::test {
namespace {

using Properties = WindowTest;

TEST_F(Properties, TitleReachesTheNativeWindowAsUnicode)
{
    RuntimeObject* window = open_window();
    StringRef title = StringRef::FromCString("変換 ウィンドウ");
    windowTitleSetter(window, 0, title.get());
    wchar_t text[64] = {};
    GetWindowTextW(handle_of(window), text, 64);
    EXPECT_STREQ(text, L"変換 ウィンドウ");
    StringRef back = StringRef::adopt(windowTitleGetter(window, 0));
    EXPECT_EQ(back.CompareExact(title), 0);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Properties, ANilWindowsTitleIsTheViewAssertion)
{
    qv::test::AssertionCapture capture;
    windowTitleSetter(nullptr, 0, nullptr);
    ASSERT_EQ(capture.count(), 1u);
    EXPECT_NE(capture.reports()[0].find("Trying to set the window's title, but there was no window"),
              std::string::npos);
}

TEST_F(Properties, HasBackColorPaintsTheBackgroundInBackColor)
{
    RuntimeObject* window = open_window();
    turn();
    HWND handle = handle_of(window);
    windowBackColorSetter(window, 0, 0x00FF00);  // stored only until HasBackColor
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(handle);
    EXPECT_EQ(GetPixel(dc, 100, 100), GetSysColor(COLOR_BTNFACE));
    windowHasBackColorSetter(window, 0, 1);
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(GetPixel(dc, 100, 100), RGB(0, 255, 0));
    windowBackColorSetter(window, 0, 0x0000FF);  // 0x00RRGGBB: blue
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(GetPixel(dc, 100, 100), RGB(0, 0, 255));
    ReleaseDC(handle, dc);
    EXPECT_EQ(windowBackColorGetter(window, 0), 0x0000FF);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Properties, FullScreenCoversTheScreenAndGivesTheBoundsBack)
{
    g_log.setup.grow_icon = true;
    RuntimeObject* window = open_window();
    turn();
    HWND handle = handle_of(window);
    const ControlBounds before = window_fields(window)->bounds;
    windowFullScreenSetter(window, 0, 1);
    EXPECT_TRUE(windowFullScreenGetter(window, 0));
    EXPECT_FALSE(GetWindowLongW(handle, GWL_STYLE) & WS_CAPTION);
    RECT outer;
    GetWindowRect(handle, &outer);
    EXPECT_EQ(outer.right - outer.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(outer.bottom - outer.top, GetSystemMetrics(SM_CYSCREEN));
    windowPosSetter(window, 2, 100);  // ignored while full screen
    EXPECT_EQ(windowPosGetter(window, 2), GetSystemMetrics(SM_CXSCREEN));

    windowFullScreenSetter(window, 0, 0);
    EXPECT_FALSE(windowFullScreenGetter(window, 0));
    EXPECT_TRUE(GetWindowLongW(handle, GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(window_fields(window)->bounds, before);
    const RECT content = client_on_screen(handle);
    EXPECT_EQ(content.left, before.left);
    EXPECT_EQ(content.right - content.left, before.right - before.left);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Properties, FullScreenAskedForInLayoutIsOnOnceTheWindowExists)
{
    // Requested before the native window exists: recorded, then switched on at construction.
    m_class->eventTable[kWindowLayout].routine = reinterpret_cast<void*>(+[](RuntimeObject* self) {
        on_layout(self);
        windowFullScreenSetter(self, 0, 1);
    });
    RuntimeObject* window = open_window();
    EXPECT_TRUE(window_fields(window)->fullScreenRequested);
    EXPECT_TRUE(windowFullScreenGetter(window, 0));
    EXPECT_EQ(windowPosGetter(window, 2), GetSystemMetrics(SM_CXSCREEN));
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

// MenuBarVisible False takes the menu off the window in front and True puts it back, the client
// area keeping its size both ways; a window not in front waits for its activation.
TEST_F(Properties, MenuBarVisibleTakesTheMenuOffAndBackKeepingTheClientSize)
{
    RuntimeObject* window = open_window();
    RuntimeObject* other = open_window();
    turn();
    HWND handle = handle_of(window);
    HMENU menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, 1, L"File");
    SetMenu(handle, menu);
    SetForegroundWindow(handle);
    turn();
    ASSERT_EQ(GetForegroundWindow(), handle);
    const auto client_size = [handle] {
        RECT r;
        GetClientRect(handle, &r);
        return std::pair{r.right, r.bottom};
    };
    const auto before = client_size();

    windowMenusVisibleSetter(window, 0, 0);
    EXPECT_EQ(GetMenu(handle), nullptr);
    EXPECT_EQ(client_size(), before);
    windowMenusVisibleSetter(window, 0, 1);
    EXPECT_EQ(GetMenu(handle), menu);
    EXPECT_EQ(client_size(), before);

    SetForegroundWindow(handle_of(other));
    turn();
    windowMenusVisibleSetter(window, 0, 0);
    EXPECT_EQ(GetMenu(handle), menu) << "changed while another window was in front";
    SetForegroundWindow(handle);
    turn();
    EXPECT_EQ(GetMenu(handle), nullptr);
    EXPECT_EQ(client_size(), before);

    windowMenusVisibleSetter(window, 0, 1);
    EXPECT_EQ(GetMenu(handle), menu);
    EXPECT_EQ(client_size(), before);
    RuntimeCloseWindow(other);
    RuntimeUnlockObject(other);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
    DestroyMenu(menu);
}

TEST_F(Properties, MenuHandlersAreFiledByNameAndNilsAreAssertions)
{
    RuntimeObject* window = open_window();
    RuntimeObject* handler = RuntimeNewObject(m_classes.make(nullptr, "Handler"));
    StringRef name = StringRef::FromCString("FileSave");
    WindowAddMenuHandler(window, name.get(), handler);
    MenuHandlerRegistry* handlers = window_services().window_menu_handlers(window);
    ASSERT_NE(handlers, nullptr);
    EXPECT_EQ(handlers->Find(StringRef::FromCString("filesave")), handler);
    EXPECT_EQ(handler->refCount, 2);
    {
        qv::test::AssertionCapture capture;
        WindowAddMenuHandler(nullptr, name.get(), handler);
        WindowAddMenuHandler(window, nullptr, handler);
        WindowAddControl(nullptr, handler);
        ASSERT_EQ(capture.count(), 3u);
        EXPECT_NE(capture.reports()[0].find("Failure Condition: self"), std::string::npos);
        EXPECT_NE(capture.reports()[1].find("Failure Condition: name"), std::string::npos);
        EXPECT_NE(capture.reports()[2].find("Failure Condition: self"), std::string::npos);
    }
    RuntimeCloseWindow(window);
    EXPECT_EQ(handler->refCount, 1) << "the closed window still holds its handler";
    RuntimeUnlockObject(handler);
    RuntimeUnlockObject(window);
}

}  // namespace
}  // namespace qv::ui::test
