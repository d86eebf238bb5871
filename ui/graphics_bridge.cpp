#include "ui/graphics_bridge.h"

namespace qv::ui {
namespace {

GraphicsFactory s_factory{};

}  // namespace

void set_graphics_factory(const GraphicsFactory& factory) { s_factory = factory; }

RuntimeObject* make_graphics(void* window, void* device_context, i32 left, i32 top, i32 width, i32 height)
{
    return s_factory.make ? s_factory.make(window, device_context, left, top, width, height) : nullptr;
}

void release_graphics(RuntimeObject* graphics)
{
    if (graphics && s_factory.release)
        s_factory.release(graphics);
}

}  // namespace qv::ui
