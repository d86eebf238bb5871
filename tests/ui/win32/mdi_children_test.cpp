// In MDI mode document windows are MDI children: inside the client, measured in its
// coordinates, destroyed through it; the other frames stay top-level, owned by the MDI frame.
#include "framework/event_loop/event_loop.h"
#include "framework/startup/mdi_frame.h"
#include "tests/ui/win32/window_fixture.h"

namespace qv::ui::test {
namespace {

class Mdi : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_frame = create_mdi_frame(StringRef::FromCString("MDI test"));
        ShowWindow(m_frame, SW_SHOW);
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        DestroyWindow(m_frame);  // the program is no MDI program any more
        turn();
        gAppActive = false;
    }
    HWND m_frame = nullptr;
};

TEST_F(Mdi, ADocumentWindowIsAChildOfTheClientAndClosesThroughIt)
{
    ASSERT_TRUE(mdi_client());
    RuntimeObject* document = open_window();
    HWND child = handle_of(document);
    ASSERT_TRUE(child);
    EXPECT_EQ(GetParent(child), mdi_client());
    EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(NativeWindow::FromHandle(child), view_of(document));
    turn();
    EXPECT_TRUE(IsWindowVisible(child));
    RECT content;
    GetClientRect(child, &content);
    MapWindowPoints(child, mdi_client(), reinterpret_cast<POINT*>(&content), 2);
    EXPECT_EQ(content.left, windowPosGetter(document, 0));
    EXPECT_EQ(content.top, windowPosGetter(document, 1));
    EXPECT_EQ(content.right - content.left, 300);

    g_log.setup.frame = 1;  // a modal dialog frame: top-level, owned by the MDI frame
    RuntimeObject* dialog = open_window();
    EXPECT_EQ(GetParent(handle_of(dialog)), m_frame);
    EXPECT_FALSE(GetWindowLongW(handle_of(dialog), GWL_STYLE) & WS_CHILD);
    RuntimeCloseWindow(dialog);

    RuntimeCloseWindow(document);
    EXPECT_EQ(g_log.count("Close"), 2);
    turn();
    EXPECT_FALSE(IsWindow(child));
    RuntimeUnlockObject(dialog);
    RuntimeUnlockObject(document);
}

// While a modal window is up, a click on the frame (or on a document, which asks the frame too)
// is refused; once it is gone, clicks go through again.
TEST_F(Mdi, TheFrameRefusesClicksWhileAModalWindowIsUp)
{
    const auto click_on_frame = [this] {
        return SendMessageW(m_frame, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_frame),
                            MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    };
    EXPECT_NE(click_on_frame(), MA_NOACTIVATEANDEAT);
    g_log.setup.frame = 1;  // a modal dialog frame
    RuntimeObject* dialog = open_window();
    turn();
    ASSERT_TRUE(IsWindowVisible(handle_of(dialog)));
    EXPECT_EQ(click_on_frame(), MA_NOACTIVATEANDEAT);
    RuntimeCloseWindow(dialog);
    turn();
    EXPECT_NE(click_on_frame(), MA_NOACTIVATEANDEAT);
    RuntimeUnlockObject(dialog);
}

// A document going full screen takes the frame along: the frame loses its caption and border and
// covers the screen, its client reaches past it by the scroll bars, the document fills what the
// frame's menu leaves; switching off gives the frame and the document back their places.
TEST_F(Mdi, FullScreenTakesTheFrameAlongAndGivesEverythingBack)
{
    RuntimeObject* document = open_window();
    turn();
    HWND child = handle_of(document);
    RECT frame_before;
    GetWindowRect(m_frame, &frame_before);
    const LONG frame_styles = WS_CAPTION | WS_THICKFRAME;
    ASSERT_EQ(GetWindowLongW(m_frame, GWL_STYLE) & frame_styles, frame_styles);
    const ControlBounds bounds_before = window_fields(document)->bounds;

    windowFullScreenSetter(document, 0, 1);
    RECT frame;
    GetWindowRect(m_frame, &frame);
    EXPECT_EQ(frame.right - frame.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(frame.bottom - frame.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetWindowLongW(m_frame, GWL_STYLE) & frame_styles, 0);
    RECT inside;
    GetClientRect(m_frame, &inside);
    RECT client;
    GetWindowRect(mdi_client(), &client);
    EXPECT_EQ(client.right - client.left, inside.right + GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom - client.top, inside.bottom + GetSystemMetrics(SM_CYHSCROLL));
    RECT outer;
    GetWindowRect(child, &outer);
    EXPECT_EQ(outer.right - outer.left, inside.right);
    EXPECT_EQ(outer.bottom - outer.top, inside.bottom);

    windowFullScreenSetter(document, 0, 0);
    GetWindowRect(m_frame, &frame);
    EXPECT_TRUE(EqualRect(&frame, &frame_before));
    EXPECT_EQ(GetWindowLongW(m_frame, GWL_STYLE) & frame_styles, frame_styles);
    EXPECT_EQ(window_fields(document)->bounds, bounds_before);
    RuntimeCloseWindow(document);
    RuntimeUnlockObject(document);
}

}  // namespace
}  // namespace qv::ui::test
