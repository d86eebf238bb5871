// As start-up does: the graphics routines join the registry before it is built, then every
// class is registered. Classes, registry entries and the first font live for the process, so
// they are made once before any test and no test sees them as a leak.
#include "framework/startup/windows_startup.h"
#include "graphics/graphics_routines.h"
#include "tests/graphics/win32/graphics_fixture.h"

namespace qv::graphics::test {
namespace {

class GraphicsEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        register_graphics();
        start_framework_runtime();
        Canvas warm_up(1, 1);
        RuntimeGraphicsFillRect(warm_up.g.get(), 0, 0, 1, 1);
        RuntimeGraphicsDrawPicture(warm_up.g.get(), nullptr, 0, 0, 0, 0, 0, 0, 0, 0);
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new GraphicsEnvironment);

}  // namespace
}  // namespace qv::graphics::test
