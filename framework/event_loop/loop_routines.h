// The exported routines of the event loop: ticks, the background-task and yield routines,
// the beep, the wait-cursor counter and UserCancelled.
#pragma once

#include <span>

#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"  // declares the routines listed here

namespace qv {

std::span<const ProvidedRoutine> loop_routines();

}  // namespace qv
