// As start-up does: the window and control layers' routines join the registry before it is
// built, then every class is registered, once for the whole suite.
#include <gtest/gtest.h>

#include "framework/startup/windows_startup.h"
#include "graphics/graphics_routines.h"
#include "runtime/strings/string_ref.h"
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
        graphics::register_graphics();
        register_ui_win32_services();
        start_framework_runtime();
        // The graphics port's first font and surfaces live for the process: made here, they are
        // no test's leak.
        RuntimeObject* picture = newPicture(4, 4, 32);
        RuntimeObject* g = pictureGraphicsGetter(picture, 0);
        RuntimeGraphicsFillRect(g, 0, 0, 1, 1);
        RuntimeGraphicsDrawString(g, StringRef::FromCString("x").get(), 0, 2, 0);
        RuntimeUnlockObject(g);
        RuntimeUnlockObject(picture);
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new UiEnvironment);

}  // namespace
}  // namespace qv::ui
