// Quitting: every runtime window may refuse (CancelClose), then all close and the
// application's Close event fires.
#pragma once

#include "sdk/quaver.h"  // ApplicationQuit, the exported routine

namespace qv {

// Whether the program may quit; closes every runtime window when it may. A nested attempt
// (one already in progress) is refused.
bool ApplicationTryQuit();

}  // namespace qv
