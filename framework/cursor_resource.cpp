#include "framework/cursor_resource.h"

#include <algorithm>

namespace qv {
namespace {

constexpr i32 kImageSide = 16;
constexpr i32 kImageRowBytes = kImageSide / 8;
constexpr i32 kCursorRowBytes = kCursorSide / 8;

// A hot spot outside the cursor makes CreateCursor fail on some systems; the edge is nearest.
i32 hot_coordinate(u8 high, u8 low)
{
    const i32 value = static_cast<i16>(static_cast<u16>(high << 8 | low));
    return std::clamp(value, 0, kCursorSide - 1);
}

}  // namespace

std::optional<CursorPlanes> decode_cursor_resource(std::span<const u8> data)
{
    if (data.size() < static_cast<size_t>(kCursorResourceSize))
        return std::nullopt;
    const u8* image = data.data();
    const u8* mask = image + kImageSide * kImageRowBytes;
    const u8* hot = mask + kImageSide * kImageRowBytes;
    CursorPlanes planes{};
    planes.and_plane.fill(0xFF);  // transparent everywhere the image does not reach
    planes.xor_plane.fill(0x00);
    for (i32 row = 0; row < kImageSide; ++row) {
        for (i32 column = 0; column < kImageRowBytes; ++column) {
            const i32 from = row * kImageRowBytes + column;
            const i32 to = row * kCursorRowBytes + column;
            planes.and_plane[static_cast<size_t>(to)] = static_cast<u8>(~mask[from]);
            planes.xor_plane[static_cast<size_t>(to)] = static_cast<u8>(image[from] ^ mask[from]);
        }
    }
    planes.hot_y = hot_coordinate(hot[0], hot[1]);
    planes.hot_x = hot_coordinate(hot[2], hot[3]);
    return planes;
}

}  // namespace qv
