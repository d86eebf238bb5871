// As runtime.exe's WinMain: every layer's routines join the registry before the start-up
// builds it, then every class is registered, once for the whole suite.
#include <gtest/gtest.h>

#include "framework/startup/windows_startup.h"
#include "graphics/graphics_routines.h"
#include "ui/controls/control_layer.h"
#include "ui/ui_routines.h"
#include "ui/win32/ui_win32_services.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

class PluginsEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        register_ui_routines();
        register_control_layer();
        register_window_layer();
        graphics::register_graphics();
        register_ui_win32_services();
        start_framework_runtime();
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new PluginsEnvironment);

}  // namespace
}  // namespace qv::ui
