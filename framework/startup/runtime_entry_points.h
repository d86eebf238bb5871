// The routines through which the image's entry hands control to the runtime: RuntimeInit,
// RuntimeRegisterAppObject (the application's start-up events and the command-line
// documents), RuntimeRun, RuntimeExit, and the small start-up services beside them.
#pragma once

#include <span>

#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"  // declares the routines listed here

namespace qv {

std::span<const ProvidedRoutine> startup_routines();

// The UTF-8 command line that document delivery splits; the process's own unless a test
// sets one (null restores it).
void set_command_line_for_documents(const char* utf8);

}  // namespace qv
