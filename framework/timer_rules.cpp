#include "framework/timer_rules.h"

namespace qv {

i32 millisecond_clock(u32 tick_count) { return static_cast<i32>(tick_count % 2147483647u); }

TimerRearm rearm_after_period_change(i32 mode, i32 period, i32 last_time, i32 now)
{
    // The clock wraps at 2^31 - 1: elapsed time is taken modulo that, never negative.
    i64 elapsed = i64{now} - i64{last_time};
    if (elapsed < 0)
        elapsed += 2147483647;
    const i64 remaining = i64{period} - elapsed;
    if (mode == kTimerMultiple)
        return {false, remaining < 0 ? period : static_cast<i32>(remaining)};
    const i32 delay = remaining < 0 ? 1 : static_cast<i32>(remaining);
    return {delay != period, delay};
}

}  // namespace qv
