// Colours as image code passes them (0x00RRGGBB) and as a port keeps them: three 16-bit
// components, each 8-bit value c stored as c * 257 so that it spans the full 16-bit range.
#pragma once

#include "core/types.h"
#include "platform/colorref.h"

namespace qv::graphics {

struct ColorComponents {
    u16 red = 0;
    u16 green = 0;
    u16 blue = 0;
    bool operator==(const ColorComponents&) const = default;
};

ColorComponents components_from_color(u32 color);
// Back to 0x00RRGGBB: the high byte of each component.
u32 color_from_components(const ColorComponents& components);

// GDI's COLORREF order, 0x00BBGGRR, and back.
using platform::color_from_colorref;
using platform::colorref_from_color;

}  // namespace qv::graphics
