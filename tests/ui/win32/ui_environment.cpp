// As start-up does: the window and graphics layers' routines join the registry before it is
// built, then every class is registered, once for the whole suite.
#include <gtest/gtest.h>

#include "framework/startup/windows_startup.h"
#include "graphics/graphics_class.h"
#include "graphics/graphics_routines.h"
#include "graphics/window_graphics.h"
#include "ui/windows/window_graphics_hooks.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

// The graphics layer's window surfaces, as runtime.exe hands them to the window layer.
RuntimeObject* make_graphics(HWND window, HDC paint_dc, bool has_background, COLORREF background)
{
    graphics::WindowSurfaceOptions options;
    options.paint_dc = paint_dc;
    if (has_background)
        options.background = background;
    return graphics::make_window_graphics(window, options);
}

class UiEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        register_window_layer();
        graphics::register_graphics();
        install_window_graphics({&make_graphics, &graphics::detach_graphics_surface});
        start_framework_runtime();
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new UiEnvironment);

}  // namespace
}  // namespace qv::ui
