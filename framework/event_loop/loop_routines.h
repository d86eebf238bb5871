// The exported routines of the event loop: ticks, the background-task and yield routines,
// the beep, the wait-cursor counter and UserCancelled.
#pragma once

#include <span>

#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"

namespace qv {

std::span<const ProvidedRoutine> loop_routines();

}  // namespace qv

extern "C" {
void RuntimeBackgroundTask(void);
void QuavYieldToQV(void);
int32_t RuntimeTicks(void);
double RuntimeMicroseconds(void);
void RuntimeBeep(void);
void DisableAutoWaitCursor(void);
void EnableAutoWaitCursor(void);
int32_t getUserCancelled(void);
}
