// The Lock rule on window resize: every lock combination for one resize, shrinking, the
// 16-bit edge range, and the layout size a window keeps between resizes.
#include <gtest/gtest.h>

#include "ui/control_locks.h"

namespace qv::ui {
namespace {

struct LockCase {
    ControlLocks locks;
    ControlBounds after;  // top, left, bottom, right
};

// A control at top 10, left 20, bottom 40, right 120 in a window that grows by 100 x 50.
const ControlBounds kBefore{10, 20, 40, 120};
const LockCase kGrowBy100x50[] = {
    // left   top    right  bottom
    {{false, false, false, false}, {10, 20, 40, 120}},
    {{true, false, false, false}, {10, 20, 40, 120}},
    {{false, true, false, false}, {10, 20, 40, 120}},
    {{true, true, false, false}, {10, 20, 40, 120}},    // the default: stays
    {{false, false, true, false}, {10, 120, 40, 220}},  // moves right
    {{true, false, true, false}, {10, 20, 40, 220}},    // stretches
    {{false, true, true, false}, {10, 120, 40, 220}},
    {{true, true, true, false}, {10, 20, 40, 220}},
    {{false, false, false, true}, {60, 20, 90, 120}},  // moves down
    {{true, false, false, true}, {60, 20, 90, 120}},
    {{false, true, false, true}, {10, 20, 90, 120}},  // grows down
    {{true, true, false, true}, {10, 20, 90, 120}},
    {{false, false, true, true}, {60, 120, 90, 220}},
    {{true, false, true, true}, {60, 20, 90, 220}},  // widens by 100, moves down by 50
    {{false, true, true, true}, {10, 120, 90, 220}},
    {{true, true, true, true}, {10, 20, 90, 220}},
};

TEST(ControlLocks, EveryLockCombinationForAGrowthOf100By50)
{
    for (const LockCase& c : kGrowBy100x50) {
        SCOPED_TRACE(testing::Message() << "left " << c.locks.left << " top " << c.locks.top << " right "
                                        << c.locks.right << " bottom " << c.locks.bottom);
        const ControlBounds after = bounds_after_resize(kBefore, c.locks, 100, 50);
        EXPECT_EQ(after.top, c.after.top);
        EXPECT_EQ(after.left, c.after.left);
        EXPECT_EQ(after.bottom, c.after.bottom);
        EXPECT_EQ(after.right, c.after.right);
        EXPECT_EQ(follows_resize(c.locks), c.after != kBefore);
    }
}

TEST(ControlLocks, ShrinkingMovesBackAndCanInvertAStretchedControl)
{
    const ControlLocks stretch{true, true, true, true};
    EXPECT_EQ(bounds_after_resize(kBefore, stretch, -30, -20), (ControlBounds{10, 20, 20, 90}));
    // The rule does not keep a width positive: a window narrower than the control's margins
    // leaves the right edge left of the left one, as the window lays out.
    EXPECT_EQ(bounds_after_resize(kBefore, stretch, -150, 0), (ControlBounds{10, 20, 40, -30}));
    // Resizing back restores the control exactly.
    const ControlBounds there = bounds_after_resize(kBefore, {false, false, true, true}, 77, -13);
    EXPECT_EQ(bounds_after_resize(there, {false, false, true, true}, -77, 13), kBefore);
}

TEST(ControlLocks, EdgesStopAtTheSixteenBitRange)
{
    const ControlBounds far{-32000, 32000, 32000, 32700};
    EXPECT_EQ(bounds_after_resize(far, {false, false, true, true}, 1000, -1000),
              (ControlBounds{-32768, 32767, 31000, 32767}));
    EXPECT_EQ(bounds_after_resize(far, {false, false, true, false}, -2000000000, 0),
              (ControlBounds{-32000, -32768, 32000, -32768}));
}

TEST(ControlLocks, TheLayoutSizeGivesEachChangeOnce)
{
    LayoutSize layout({400, 300});
    LayoutSize::Change change = layout.resize_to({500, 350});
    EXPECT_EQ(change.dh, 100);
    EXPECT_EQ(change.dv, 50);
    change = layout.resize_to({500, 350});  // a second report of the same size moves nothing
    EXPECT_EQ(change.dh, 0);
    EXPECT_EQ(change.dv, 0);
    change = layout.resize_to({380, 360});
    EXPECT_EQ(change.dh, -120);
    EXPECT_EQ(change.dv, 10);
    EXPECT_EQ(layout.size(), (ContentSize{380, 360}));
}

}  // namespace
}  // namespace qv::ui
