// The process's start-up and end as the runtime executable runs them: WinMain's steps around
// the runtime's own start-up and the load of the application image.
#pragma once

#include "platform/win32/windows_api.h"

#include <vector>

#include "core/types.h"
#include "runtime/registry/provided_routines.h"

namespace qv {

// Everything the runtime needs before image code runs: the unhandled-exception hook, OLE,
// every built-in class and exported routine.
void RuntimeStartup();

// Registers every exported routine and built-in class of the runtime and the framework (once;
// later calls do nothing). The program adds the routines of the layers above first.
void start_framework_runtime();

// The routines the framework's class tables name (start_framework_runtime adds them).
std::vector<ProvidedRoutine> framework_table_routines();

// Built-in classes of a layer above the framework (graphics, windows): registered by
// start_framework_runtime after the framework's own, once the registry is built, since
// registering a class enters its routines there. Add them before start-up, as the routines.
using ClassRegistrar = void (*)();
void add_class_registrar(ClassRegistrar registrar);

// WinMain's body; returns the process's exit code (0).
int run_runtime_executable(HINSTANCE instance, const char* command_line);

// 13 for a user whose default language is Japanese, 21 for Chinese, else 0.
i32 script_code();
u32 start_tick_count();

}  // namespace qv
