// Colours as image code passes them, 0x00RRGGBB, and as GDI takes them (COLORREF, 0x00BBGGRR).
// Plain arithmetic, so both builds share and test it.
#pragma once

#include <cstdint>

namespace platform {

// Swaps red and blue; the top byte is dropped. Its own inverse.
constexpr std::uint32_t colorref_from_color(std::uint32_t color)
{
    return (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
}

constexpr std::uint32_t color_from_colorref(std::uint32_t colorref) { return colorref_from_color(colorref); }

}  // namespace platform
