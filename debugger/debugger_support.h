// The runtime's side of debugging: the exported routines that a debug-compiled image calls
// (connecting, the check before every line, shutting down) and the hooks that report raised
// exceptions and freed watched objects and arrays.
#pragma once

#include "sdk/quaver.h"

extern "C" {
void DebugRuntimeInit(void);
void RuntimeDebuggerEntry(int32_t line);
void RuntimeDebuggerShutdown(void);
}
