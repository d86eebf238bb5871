#include "ui/graphics_bridge.h"

namespace qv::ui {
namespace {

GraphicsFactory s_factory = nullptr;

}  // namespace

void set_graphics_factory(GraphicsFactory factory) { s_factory = factory; }

RuntimeObject* make_graphics(void* window, void* device_context)
{
    return s_factory ? s_factory(window, device_context) : nullptr;
}

}  // namespace qv::ui
