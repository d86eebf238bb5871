#include "ui/graphics_bridge.h"

namespace qv::ui {
namespace {

GraphicsFactory s_factory{};

}  // namespace

void set_graphics_factory(const GraphicsFactory& factory) { s_factory = factory; }

RuntimeObject* make_graphics(const GraphicsSurface& surface)
{
    return s_factory.make ? s_factory.make(surface) : nullptr;
}

void detach_graphics(RuntimeObject* graphics)
{
    if (graphics && s_factory.detach)
        s_factory.detach(graphics);
}

}  // namespace qv::ui
