#include "ui/graphics_bridge.h"

namespace qv::ui {

Seam<GraphicsFactory>& graphics_factory_seam()
{
    static Seam<GraphicsFactory> s_seam;
    return s_seam;
}

RuntimeObject* make_graphics(const GraphicsSurface& surface)
{
    const GraphicsFactory& factory = graphics_factory_seam().get();
    return factory.make ? factory.make(surface) : nullptr;
}

void detach_graphics(RuntimeObject* graphics)
{
    const GraphicsFactory& factory = graphics_factory_seam().get();
    if (graphics && factory.detach)
        factory.detach(graphics);
}

void draw_picture(RuntimeObject* graphics, RuntimeObject* picture, i32 x, i32 y)
{
    const GraphicsFactory& factory = graphics_factory_seam().get();
    if (graphics && picture && factory.draw_picture)
        factory.draw_picture(graphics, picture, x, y);
}

void draw_bitmap_into(RuntimeObject* graphics, void* bitmap, i32 width, i32 height, i32 x, i32 y)
{
    const GraphicsFactory& factory = graphics_factory_seam().get();
    if (graphics && bitmap && factory.draw_bitmap)
        factory.draw_bitmap(graphics, bitmap, width, height, x, y);
}

}  // namespace qv::ui
