// The process's start-up and end as the runtime executable runs them: WinMain's steps around
// the runtime's own start-up and the load of the application image.
#pragma once

#include "platform/win32/windows_api.h"

#include <iterator>
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

// The theme library's routines, looked up where start-up loads it (Windows NT 5.1 only).
enum class ThemeRoutine {
    OpenThemeData,
    CloseThemeData,
    GetThemeSysColor,
    GetThemeColor,
    IsAppThemed,
    IsThemeActive,
    IsThemePartDefined,
    DrawThemeBackground,
    GetCurrentThemeName,
    GetThemeMetric,
    GetThemePartSize,
    GetThemeSysSize,
    SetThemeAppProperties,
    GetThemeRect,
    DrawThemeText,
    DrawThemeParentBackground,
    DrawThemeBorder,
};
inline constexpr const char* kThemeRoutineNames[] = {
    "OpenThemeData",       "CloseThemeData",     "GetThemeSysColor", "GetThemeColor",
    "IsAppThemed",         "IsThemeActive",      "IsThemePartDefined", "DrawThemeBackground",
    "GetCurrentThemeName", "GetThemeMetric",     "GetThemePartSize", "GetThemeSysSize",
    "SetThemeAppProperties", "GetThemeRect",     "DrawThemeText",    "DrawThemeParentBackground",
    "DrawThemeBorder",
};
inline constexpr size_t kThemeRoutineCount = std::size(kThemeRoutineNames);
static_assert(kThemeRoutineCount == static_cast<size_t>(ThemeRoutine::DrawThemeBorder) + 1);

// Null where the library is not loaded or lacks the routine.
FARPROC theme_routine(ThemeRoutine which);

// 13 for a user whose default language is Japanese, 21 for Chinese, else 0.
i32 script_code();
u32 start_tick_count();

}  // namespace qv
