// Wheel messages to lines: whole notches only, toward the user scrolls down, and a system that
// scrolls no lines gets no wheel call at all.
#include <gtest/gtest.h>

#include "ui/mouse_wheel.h"

namespace qv::ui {
namespace {

TEST(MouseWheel, LinesFollowWholeNotchesAndTheirDirection)
{
    const struct {
        u32 lines_per_notch;
        i32 delta;
        i32 lines;
    } kCases[] = {
        {3, -120, 3},
        {3, 120, -3},
        {3, -240, 6},
        {1, -360, 3},
        {3, 119, 0},
        {3, -60, 0},
        {3, -180, 3},
        {3, 180, -3},
        {5, 0, 0},
        {kWheelPageScroll, -120, 3},
        {kWheelPageScroll, 240, -6},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(wheel_scroll_lines(c.lines_per_notch, c.delta), c.lines)
            << c.lines_per_notch << " lines a notch, delta " << c.delta;
}

TEST(MouseWheel, NoLinesPerNotchMeansNoScroll)
{
    EXPECT_EQ(wheel_scroll_lines(0, -120), std::nullopt);
    EXPECT_EQ(wheel_scroll_lines(0, 0), std::nullopt);
}

}  // namespace
}  // namespace qv::ui
