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

}  // namespace
}  // namespace qv::ui::test
