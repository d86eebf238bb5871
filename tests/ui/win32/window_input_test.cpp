// Mouse and keys on a window: a MouseDown that answers True takes the capture, so MouseDrag
// follows on every loop turn and one MouseUp at the release; KeyDown gets the key's character
// and consumes the key by answering True.
#include "framework/key_names.h"
#include "tests/ui/win32/window_fixture.h"

namespace qv::ui::test {
namespace {

bool g_take_mouse = false;
std::string g_consumed_keys;

u32 on_mouse_down(RuntimeObject*, i32 x, i32 y)
{
    g_log.events.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
    return g_take_mouse ? 1 : 0;
}
void on_mouse_drag(RuntimeObject*, i32, i32) { log_event("MouseDrag"); }
void on_mouse_up(RuntimeObject*, i32, i32) { log_event("MouseUp"); }

u32 on_key_down(RuntimeObject*, RuntimeString* key)
{
    const std::string text = StringRef::share(key).CText();
    g_log.events.push_back("KeyDown " + text);
    return g_consumed_keys.find(text) != std::string::npos ? 1 : 0;
}

class Input : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        g_take_mouse = false;
        g_consumed_keys.clear();
        set_event(m_class, kWindowMouseDown, &on_mouse_down);
        set_event(m_class, kWindowMouseDrag, &on_mouse_drag);
        set_event(m_class, kWindowMouseUp, &on_mouse_up);
        set_event(m_class, kWindowKeyDown, &on_key_down);
        m_window = open_window();
        turn();
        g_log.events.clear();
    }
    void TearDown() override
    {
        RuntimeCloseWindow(m_window);
        RuntimeUnlockObject(m_window);
        WindowTest::TearDown();
    }
    RuntimeObject* m_window = nullptr;
};

TEST_F(Input, AMouseDownAnsweringTrueTakesTheCaptureUntilTheButtonIsReleased)
{
    g_take_mouse = true;
    HWND handle = handle_of(m_window);
    SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30));
    EXPECT_EQ(g_log.events, std::vector<std::string>{"MouseDown 20,30"});
    EXPECT_TRUE(window_services().capture_active());
    window_services().track_mouse();
    window_services().track_mouse();  // the cursor did not move: a drag all the same
    EXPECT_EQ(g_log.count("MouseDrag"), 2);
    SendMessageW(handle, WM_LBUTTONUP, 0, MAKELPARAM(25, 35));
    EXPECT_EQ(g_log.count("MouseUp"), 1);
    EXPECT_FALSE(window_services().capture_active());
    SendMessageW(handle, WM_LBUTTONUP, 0, MAKELPARAM(25, 35));
    EXPECT_EQ(g_log.count("MouseUp"), 1) << "a second release without a capture";
}

TEST_F(Input, AMouseDownAnsweringFalseLeavesTheMouseFree)
{
    SendMessageW(handle_of(m_window), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    EXPECT_EQ(g_log.events, std::vector<std::string>{"MouseDown 5,6"});
    EXPECT_FALSE(window_services().capture_active());
    SendMessageW(handle_of(m_window), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    EXPECT_EQ(g_log.count("MouseUp"), 0);
}

TEST_F(Input, KeyDownGetsTheKeysCharacterAndTrueConsumesTheKey)
{
    g_consumed_keys = "a";
    HWND handle = handle_of(m_window);
    EXPECT_TRUE(window_services().key_down(handle, handle, 'A', 0, true));
    EXPECT_FALSE(window_services().key_down(handle, handle, 'A', kModifierShift, true));
    EXPECT_FALSE(window_services().key_down(handle, handle, VK_SHIFT, kModifierShift, false));
    EXPECT_EQ(g_log.events, (std::vector<std::string>{"KeyDown a", "KeyDown A"}));
}

TEST_F(Input, TabAndEscapeWithoutControlsOrCancelButton)
{
    HWND handle = handle_of(m_window);
    // Tab reaches the focus move and is consumed even with nothing to move to; Escape without
    // a cancel button is left to the window.
    EXPECT_TRUE(window_services().key_down(handle, handle, VK_TAB, 0, true));
    EXPECT_FALSE(window_services().key_down(handle, handle, VK_TAB, kModifierCtrl, true));
    EXPECT_FALSE(window_services().key_down(handle, handle, VK_ESCAPE, 0, true));
    EXPECT_EQ(g_log.count("KeyDown \t"), 2);
}

}  // namespace
}  // namespace qv::ui::test
