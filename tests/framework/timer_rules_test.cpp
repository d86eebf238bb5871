// The timer and thread arithmetic: the wrapped millisecond clock, re-arming after a Period
// change, and the stack size rule.
#include <gtest/gtest.h>

#include "framework/timer_rules.h"

namespace qv {
namespace {

TEST(TimerRules, TheClockStaysAPositiveSigned32BitValue)
{
    EXPECT_EQ(millisecond_clock(0), 0);
    EXPECT_EQ(millisecond_clock(2147483646u), 2147483646);
    EXPECT_EQ(millisecond_clock(2147483647u), 0);
    EXPECT_EQ(millisecond_clock(0xFFFFFFFFu), 1);
}

struct RearmCase {
    const char* what;
    i32 mode, period, last_time, now;
    bool kill_first;
    i32 delay;
};

TEST(TimerRules, APeriodChangeCountsFromTheLastArming)
{
    const RearmCase cases[] = {
        // 1000 -> 100 at 600 ms: overdue by 500, a single timer fires at once.
        {"single, overdue", kTimerSingle, 100, 10000, 10600, true, 1},
        {"single, time left", kTimerSingle, 1000, 10000, 10300, true, 700},
        {"single, nothing elapsed keeps the timer", kTimerSingle, 500, 10000, 10000, false, 500},
        {"single, due exactly now", kTimerSingle, 300, 10000, 10300, true, 0},
        {"multiple, overdue waits a whole period", kTimerMultiple, 100, 10000, 10600, false, 100},
        {"multiple, time left", kTimerMultiple, 1000, 10000, 10250, false, 750},
        {"clock wrapped since the arming", kTimerSingle, 1000, 2147483600, 53, true, 900},
    };
    for (const RearmCase& c : cases) {
        const TimerRearm rearm = rearm_after_period_change(c.mode, c.period, c.last_time, c.now);
        EXPECT_EQ(rearm.kill_first, c.kill_first) << c.what;
        EXPECT_EQ(rearm.delay, c.delay) << c.what;
    }
}

TEST(TimerRules, PeriodsAndStackSizesHaveFloors)
{
    EXPECT_EQ(clamp_timer_period(0), 1);
    EXPECT_EQ(clamp_timer_period(-50), 1);
    EXPECT_EQ(clamp_timer_period(250), 250);
    EXPECT_EQ(effective_stack_size(0), 925696);
    EXPECT_EQ(effective_stack_size(-1), 925696);
    EXPECT_EQ(effective_stack_size(65536), 65536);
}

}  // namespace
}  // namespace qv
