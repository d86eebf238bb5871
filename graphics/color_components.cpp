// Conversions between image colours and port components.
#include "graphics/color_components.h"

namespace qv::graphics {

ColorComponents components_from_color(u32 color)
{
    const auto spread = [](u32 byte) { return static_cast<u16>((byte & 0xFF) * 257); };
    return {spread(color >> 16), spread(color >> 8), spread(color)};
}

u32 color_from_components(const ColorComponents& components)
{
    // Red and green divide by 256, blue shifts right by 8: the same high byte either way.
    const u32 red = components.red / 256u;
    const u32 green = components.green / 256u;
    const u32 blue = static_cast<u32>(components.blue) >> 8;
    return red << 16 | green << 8 | blue;
}

}  // namespace qv::graphics
