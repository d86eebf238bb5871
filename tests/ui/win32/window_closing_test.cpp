// Closing: CancelClose keeps a window whole whichever way the close came, and the last window
// of a program without MDI ends the event loop.
#include "framework/event_loop/event_loop.h"
#include "tests/ui/win32/window_fixture.h"

namespace qv::ui::test {
namespace {

using Closing = WindowTest;

TEST_F(Closing, CancelCloseTrueKeepsTheWindowFromCloseAndFromTheCloseBox)
{
    g_log.cancel_close = true;
    RuntimeObject* window = open_window();
    turn();
    HWND handle = handle_of(window);
    RuntimeCloseWindow(window);
    SendMessageW(handle, WM_CLOSE, 0, 0);
    turn();
    EXPECT_EQ(g_log.count("CancelClose"), 2);
    EXPECT_EQ(g_log.count("Close"), 0);
    EXPECT_EQ(handle_of(window), handle);
    EXPECT_TRUE(IsWindowVisible(handle));
    EXPECT_EQ(window_services().window_count(), 1);
    EXPECT_TRUE(window_services().window_cancel_close(window)) << "a quit attempt is refused too";

    g_log.cancel_close = false;
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(g_log.count("Close"), 1);
    EXPECT_EQ(windowHWNDGetter(window, 0), 0);
    EXPECT_EQ(window->refCount, 1);
    turn();
    EXPECT_FALSE(IsWindow(handle));
    RuntimeCloseWindow(window);  // closed already: nothing
    EXPECT_EQ(g_log.count("CancelClose"), 4);
    RuntimeUnlockObject(window);
}

TEST_F(Closing, TheStoredValuesStayReadableAfterClose)
{
    RuntimeObject* window = open_window();
    RuntimeCloseWindow(window);
    RuntimeShowWindow(window);  // no native window: nothing happens
    formRefresh(window);
    EXPECT_EQ(windowMouseXGetter(window, 0), 0);
    EXPECT_EQ(windowPosGetter(window, 2), 300);
    RuntimeString* title = windowTitleGetter(window, 0);
    EXPECT_STREQ(StringRef::adopt(title).CText(), "Window test");
    RuntimeUnlockObject(window);
}

TEST_F(Closing, ClosingTheOnlyWindowEndsTheEventLoop)
{
    RuntimeObject* window = open_window();
    PostMessageW(handle_of(window), WM_CLOSE, 0, 0);
    gEventLoopRunning = true;
    run_event_loop();  // would block in GetMessage if the close did not end it
    gEventLoopRunning = false;
    EXPECT_TRUE(gQuitRequested);
    EXPECT_EQ(g_log.count("Close"), 1);
    EXPECT_EQ(window_services().window_count(), 0);
    RuntimeUnlockObject(window);
}

TEST_F(Closing, AModalRunEndsWhenItsWindowCloses)
{
    RuntimeObject* document = open_window();  // the program goes on after the dialog
    g_log.setup.frame = 1;
    g_log.setup.visible = false;
    RuntimeObject* window = open_window();
    PostMessageW(handle_of(window), WM_CLOSE, 0, 0);
    gEventLoopRunning = true;
    RuntimeShowModal(window);
    gEventLoopRunning = false;
    EXPECT_EQ(g_log.count("Close"), 1);
    EXPECT_FALSE(gQuitRequested);
    EXPECT_TRUE(handle_of(document));
    RuntimeCloseWindow(document);
    RuntimeUnlockObject(document);
    RuntimeUnlockObject(window);
}

TEST_F(Closing, AModalWindowRefusesActivationOfTheOthers)
{
    RuntimeObject* document = open_window();
    g_log.setup.frame = 1;
    RuntimeObject* dialog = open_window();
    turn();
    LRESULT answer = SendMessageW(handle_of(document), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(handle_of(document)),
                                  MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(answer, MA_NOACTIVATEANDEAT);
    answer = SendMessageW(handle_of(dialog), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(handle_of(dialog)),
                          MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_NE(answer, MA_NOACTIVATEANDEAT);
    RuntimeCloseWindow(dialog);
    answer = SendMessageW(handle_of(document), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(handle_of(document)),
                          MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_NE(answer, MA_NOACTIVATEANDEAT);
    RuntimeCloseWindow(document);
    RuntimeUnlockObject(dialog);
    RuntimeUnlockObject(document);
}

}  // namespace
}  // namespace qv::ui::test
