// runtime.exe: the Windows runtime that runs the application image attached to it. qvimage
// --attach makes any application program from it by appending an image and patching the
// "PICKLE" locator resource.
#include "debugger/debugger_support.h"
#include "debugger/windows_environment.h"
#include "framework/startup/windows_startup.h"
#include "graphics/graphics_routines.h"
#include "ui/controls/startup/control_layer.h"
#include "ui/ui_routines.h"
#include "ui/win32/ui_win32_services.h"
#include "ui/windows/window_layer.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int)
{
    qv::register_debugger_routines();  // before the registry is built by the start-up
    qv::debugger::install_windows_debugger_environment();
    qv::ui::register_ui_routines();
    qv::ui::register_control_layer();
    qv::ui::register_window_layer();
    qv::graphics::register_graphics();
    qv::ui::register_ui_win32_services();
    return qv::run_runtime_executable(instance, command_line);
}
