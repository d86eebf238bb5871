// The arithmetic behind Timer and Thread that needs no window: the millisecond clock, how a
// Period change re-arms a running timer, and the stack size a thread is started with.
#pragma once

#include "core/types.h"

namespace qv {

enum TimerMode : i32 {
    kTimerOff = 0,
    kTimerSingle = 1,
    kTimerMultiple = 2,
};

inline constexpr i32 kDefaultTimerPeriod = 1000;
inline constexpr i32 kDefaultThreadStackSize = 925696;  // 0xE2000

// A tick count in milliseconds reduced so that it always fits a signed 32-bit integer.
i32 millisecond_clock(u32 tick_count);

// What a Period change does to a timer whose Win32 timer is set.
struct TimerRearm {
    bool kill_first;  // kill the current Win32 timer before setting it again
    i32 delay;        // milliseconds until the next firing
};

// The new delay counts from the last arming, firing or reset: what is left of the new period
// (at once, for a single timer that is overdue; a whole period for an overdue repeating one).
TimerRearm rearm_after_period_change(i32 mode, i32 period, i32 last_time, i32 now);

// The stored period: at least 1 millisecond.
inline i32 clamp_timer_period(i32 period) { return period < 1 ? 1 : period; }

// The stack size a thread is started with and reports.
inline i32 effective_stack_size(i32 stored) { return stored <= 0 ? kDefaultThreadStackSize : stored; }

}  // namespace qv
