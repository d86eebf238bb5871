// The "CURS" resource as a Win32 cursor: a 16x16 one-bit image and its mask, placed in the
// top-left corner of a 32x32 monochrome cursor whose other pixels are transparent.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "core/types.h"

namespace qv {

inline constexpr i32 kCursorResourceSize = 68;  // image 32, mask 32, hot spot 4
inline constexpr i32 kCursorSide = 32;
inline constexpr i32 kCursorPlaneBytes = kCursorSide * kCursorSide / 8;

// The two planes CreateCursor takes (rows of 4 bytes, top row first, most significant bit
// leftmost) and the hot spot in the cursor's pixels.
struct CursorPlanes {
    std::array<u8, kCursorPlaneBytes> and_plane;
    std::array<u8, kCursorPlaneBytes> xor_plane;
    i32 hot_x;
    i32 hot_y;

    bool operator==(const CursorPlanes&) const = default;
};

// Per pixel: AND = NOT mask, XOR = image XOR mask, so a masked-in pixel is black where the
// image is set and white where it is clear, and a masked-out one is transparent (inverted
// where the image is set). The hot spot (big-endian vertical, then horizontal) is kept inside
// the cursor. Bytes past the 68th are not read; fewer than 68 are no cursor.
std::optional<CursorPlanes> decode_cursor_resource(std::span<const u8> data);

}  // namespace qv
