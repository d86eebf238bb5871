// The runtime's periodic tasks: each runs every `interval` ticks (1/60 s), polled at the end
// of every loop iteration and by the background-task routines, and also driven by a Win32
// timer on the hidden "WinTimerClass" window, so that tasks keep running inside system modal
// loops (a menu being tracked, a window being dragged).
#pragma once

#include "core/types.h"

namespace qv {

using PeriodicAction = void (*)(void* context);

// Creates the hidden timer window; start-up calls it once, on the user-interface thread.
void create_timer_window();
void destroy_timer_window();

// Returns the task's identifier (never 0), or 0 when the timer cannot be made.
u32 add_periodic_task(u32 interval_ticks, PeriodicAction action, void* context);
void remove_periodic_task(u32 id);
// Runs every task that is due, last added first.
void run_due_periodic_tasks();

// Ticks of 1/60 second since the system started.
u32 runtime_ticks();

}  // namespace qv
