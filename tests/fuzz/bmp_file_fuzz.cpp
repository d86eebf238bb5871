// Fuzz target for the bitmap decoder: arbitrary bytes as a bitmap file. Nothing may be read
// outside the file, and a file that decodes gives sides within the limits, one pixel for each
// place, and every pixel a colour 0x00RRGGBB.
#include <cstdint>

#include "graphics/bmp_file.h"

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<qv::graphics::DecodedBitmap> bitmap = qv::graphics::decode_bmp_file({data, size});
    if (!bitmap)
        return 0;
    check(bitmap->width >= 1 && bitmap->width <= qv::graphics::kMaxBitmapSide);
    check(bitmap->height >= 1 && bitmap->height <= qv::graphics::kMaxBitmapSide);
    check(bitmap->pixels.size() == size_t(bitmap->width) * size_t(bitmap->height));
    for (const u32 pixel : bitmap->pixels)
        check((pixel & 0xFF000000u) == 0);
    return 0;
}
