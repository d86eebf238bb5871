// runtime.exe: the Windows runtime that runs the application image attached to it. qvimage
// --attach makes any application program from it by appending an image and patching the
// "PICKLE" locator resource.
#include "debugger/debugger_support.h"
#include "framework/startup/windows_startup.h"
#include "graphics/graphics_class.h"
#include "graphics/graphics_routines.h"
#include "graphics/window_graphics.h"
#include "ui/ui_routines.h"
#include "ui/windows/window_graphics_hooks.h"
#include "ui/windows/window_layer.h"

namespace {

// The window layer lies below graphics: it gets its windows' Graphics objects through these.
RuntimeObject* make_graphics(HWND window, HDC paint_dc, bool has_background, COLORREF background)
{
    qv::graphics::WindowSurfaceOptions options;
    options.paint_dc = paint_dc;
    if (has_background)
        options.background = background;
    return qv::graphics::make_window_graphics(window, options);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int)
{
    qv::register_debugger_routines();  // before the registry is built by the start-up
    qv::ui::register_ui_routines();
    qv::graphics::register_graphics();
    qv::ui::register_window_layer();
    qv::ui::install_window_graphics({&make_graphics, &qv::graphics::detach_graphics_surface});
    return qv::run_runtime_executable(instance, command_line);
}
