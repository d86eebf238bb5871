// The built-in Timer class: Win32 timers on one hidden "QVTimer" window, each identified by
// its Timer object's address, firing the Action event from DispatchMessage and from any
// system modal loop (a menu being tracked, a window being dragged) on the user-interface thread.
#pragma once

#include <cstddef>
#include <span>

#include "core/types.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/object_definition.h"
#include "sdk/quaver.h"  // declares the routines listed here

namespace qv {

// The instance layout image code reads through the generic accessors.
struct TimerObject {
    RuntimeObject header;
    TimerObject* next_timer;  // the list of all timers
    i32 mode;                 // TimerMode
    i32 period;               // milliseconds, at least 1
    i32 last_time;            // millisecond clock at the last arming, firing or reset
    i32 enabled;              // 0: firings are ignored, the Win32 timer stays set
    i32 armed;                // a Win32 timer was set
    u32 reserved[2];
};
static_assert(offsetof(TimerObject, mode) == 32);
static_assert(offsetof(TimerObject, period) == 36);
static_assert(offsetof(TimerObject, last_time) == 40);
static_assert(offsetof(TimerObject, enabled) == 44);
static_assert(offsetof(TimerObject, armed) == 48);
static_assert(sizeof(TimerObject) == 60);

// Timer's only event.
inline constexpr i32 kTimerAction = 0;

void register_timer_classes();
ObjectDefinition* timer_definition();
// The class's tables, which name its exported routines.
ClassTableList timer_class_tables();

// The hidden window every Timer uses; null until the first Timer is made.
void* timer_window();
// The millisecond clock timers keep their times in.
i32 timer_clock_now();

}  // namespace qv
