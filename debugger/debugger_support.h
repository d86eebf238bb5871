// The runtime's side of debugging: the exported routines that a debug-compiled image calls
// (connecting, the check before every line, shutting down) and the hooks that report raised
// exceptions and freed watched objects and arrays.
#pragma once

#include <span>

#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"

extern "C" {
void DebugRuntimeInit(void);
void RuntimeDebuggerEntry(int32_t line);
void RuntimeDebuggerShutdown(void);
}

namespace qv {

// The three routines above under their export names.
std::span<const ProvidedRoutine> debugger_routines();

// Ctrl+C while the program runs: with a debugger attached and the program not already
// stopped, it stops at the next line it runs.
void request_debugger_break();

// Adds them to the registry's routines, so that images can import them. A program that runs
// images calls it at start-up, before anything uses the registry.
void register_debugger_routines();

}  // namespace qv
