// As start-up does: the window and control layers' routines join the registry before it is
// built, then every class is registered, once for the whole suite.
#include <gtest/gtest.h>

#include "framework/startup/windows_startup.h"
#include "ui/controls/control_layer.h"
#include "ui/ui_routines.h"
#include "ui/win32/ui_win32_services.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

class UiEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        register_ui_routines();
        register_control_layer();
        register_window_layer();
        start_framework_runtime();
        start_ui_win32_services();
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new UiEnvironment);

}  // namespace
}  // namespace qv::ui
