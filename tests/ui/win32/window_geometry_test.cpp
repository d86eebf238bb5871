// Window geometry: Width and Height reach the native window at once or at the loop's next turn
// by frame, with one Resized either way; size limits while the user drags an edge.
#include "tests/ui/win32/window_fixture.h"

namespace qv::ui::test {
namespace {

class Geometry : public WindowTest {
protected:
    RuntimeObject* shown_window(i32 frame)
    {
        g_log.setup.frame = frame;
        g_log.setup.grow_icon = true;
        RuntimeObject* window = open_window();
        turn();
        SetForegroundWindow(handle_of(window));
        turn();
        g_log.events.clear();
        return window;
    }

    static i32 client_width(RuntimeObject* window)
    {
        return client_on_screen(handle_of(window)).right - client_on_screen(handle_of(window)).left;
    }
};

TEST_F(Geometry, WidthOfADocumentWindowChangesTheNativeWindowAtOnceWithOneResized)
{
    RuntimeObject* window = shown_window(0);
    ASSERT_EQ(client_width(window), 300);
    windowPosSetter(window, 2, 360);
    EXPECT_EQ(client_width(window), 360) << "not resized at once";
    EXPECT_EQ(windowPosGetter(window, 2), 360);
    turn();
    turn();
    EXPECT_EQ(g_log.count("Resized"), 1);
    EXPECT_EQ(g_log.count("Moved"), 0);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Geometry, WidthOfAFrameTwoWindowWaitsForTheLoopWithOneResized)
{
    RuntimeObject* window = shown_window(2);
    ASSERT_EQ(client_width(window), 300);
    windowPosSetter(window, 2, 360);
    EXPECT_EQ(client_width(window), 300) << "resized before the loop's turn";
    EXPECT_EQ(windowPosGetter(window, 2), 360);
    EXPECT_EQ(g_log.count("Resized"), 0);
    turn();
    EXPECT_EQ(client_width(window), 360);
    turn();
    EXPECT_EQ(g_log.count("Resized"), 1);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Geometry, LeftMovesKeepingTheSizeAndFiresMoved)
{
    RuntimeObject* window = shown_window(0);
    const i32 left = windowPosGetter(window, 0);
    windowPosSetter(window, 0, left + 25);
    turn();
    const RECT content = client_on_screen(handle_of(window));
    EXPECT_EQ(content.left, left + 25);
    EXPECT_EQ(content.right - content.left, 300);
    EXPECT_EQ(windowPosGetter(window, 2), 300);
    EXPECT_EQ(g_log.count("Moved"), 1);
    EXPECT_EQ(g_log.count("Resized"), 0);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

TEST_F(Geometry, AResizeByTheUserUpdatesTheBoundsAndFiresResized)
{
    RuntimeObject* window = shown_window(0);
    RECT outer;
    GetWindowRect(handle_of(window), &outer);
    SetWindowPos(handle_of(window), nullptr, 0, 0, outer.right - outer.left + 40, outer.bottom - outer.top + 30,
                 SWP_NOMOVE | SWP_NOZORDER);
    turn();
    EXPECT_EQ(windowPosGetter(window, 2), 340);
    EXPECT_EQ(windowPosGetter(window, 3), 230);
    EXPECT_EQ(window_fields(window)->layoutBounds, window_fields(window)->bounds) << "controls not laid out";
    EXPECT_EQ(g_log.count("Resized"), 1);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

struct SizingCase {
    WPARAM edge;
    i32 width;  // of the dragged rectangle's client part
    i32 expect_width;
    bool left_moves;
};

class Sizing : public WindowTest, public ::testing::WithParamInterface<SizingCase> { };

TEST_P(Sizing, AMinimumWidthAloneHoldsTheDraggedEdgeAndLeavesTheWidthUnbounded)
{
    const SizingCase& c = GetParam();
    g_log.setup.grow_icon = true;
    g_log.setup.min_width = 200;
    RuntimeObject* window = open_window();
    turn();
    SetForegroundWindow(handle_of(window));
    turn();
    const i32 cx = GetSystemMetrics(SM_CXFRAME);
    const i32 cy = GetSystemMetrics(SM_CYFRAME);
    RECT drag{100, 100, 100 + c.width + 2 * cx, 100 + 150 + 2 * cy};
    SendMessageW(handle_of(window), WM_SIZING, c.edge, reinterpret_cast<LPARAM>(&drag));
    EXPECT_EQ(drag.right - drag.left - 2 * cx, c.expect_width);
    EXPECT_EQ(drag.bottom - drag.top - 2 * cy, 150) << "the height has no limit";
    if (c.left_moves)
        EXPECT_EQ(drag.right, 100 + c.width + 2 * cx);
    else
        EXPECT_EQ(drag.left, 100);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
}

INSTANTIATE_TEST_SUITE_P(Table, Sizing,
                         ::testing::Values(SizingCase{WMSZ_RIGHT, 120, 200, false},
                                           SizingCase{WMSZ_BOTTOMRIGHT, 199, 200, false},
                                           SizingCase{WMSZ_LEFT, 50, 200, true},
                                           SizingCase{WMSZ_TOPLEFT, 150, 200, true},
                                           SizingCase{WMSZ_RIGHT, 2000, 2000, false}));

TEST_F(Geometry, TheClampFollowsBothLimitsOnTheDraggedCorner)
{
    SizeLimits limits{100, 80, 300, 200};
    RECT r{0, 0, 500, 40};  // too wide and too low, frame 0
    ASSERT_TRUE(clamp_sizing_rect(r, WMSZ_TOPLEFT, limits, 0, 0));
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.right, 500);
    EXPECT_EQ(r.top, -40);
    EXPECT_EQ(r.bottom, 40);
    RECT untouched{0, 0, 10, 10};
    EXPECT_FALSE(clamp_sizing_rect(untouched, WMSZ_RIGHT, SizeLimits{}, 4, 4));
    EXPECT_EQ(untouched.right, 10);
}

}  // namespace
}  // namespace qv::ui::test
