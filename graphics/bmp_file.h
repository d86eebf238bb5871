// Windows bitmap files as images carry them: the "BM" file header, an information header of
// 40 bytes or more, an optional colour table, then the rows. Decoded here into plain pixels so
// that GDI never reads a byte of a file whose sizes have not been checked.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "core/types.h"

namespace qv::graphics {

struct DecodedBitmap {
    i32 width = 0;
    i32 height = 0;
    i32 depth = 0;            // the file's bits per pixel
    std::vector<u32> pixels;  // top row first, each 0x00RRGGBB
};

// Larger sides are refused: no picture needs them, and a hostile header must not make the
// runtime allocate gigabytes.
inline constexpr i32 kMaxBitmapSide = 16384;
inline constexpr u32 kMaxBitmapPixels = 16u * 1024 * 1024;

// Uncompressed files of 1, 4, 8, 16, 24 or 32 bits per pixel, rows bottom-up (positive
// height) or top-down (negative); 16 and 32 bits may carry colour masks (BI_BITFIELDS).
// Nothing for anything else: a bad signature, a header or colour table or row data reaching
// past the end, a zero or oversized side, compression, other depths, a colour mask that is not
// one run of bits. A colour index past the colour table reads as black.
std::optional<DecodedBitmap> decode_bmp_file(std::span<const u8> file);

// A device-independent bitmap as the clipboard carries it (CF_DIB): the same information
// header, colour masks and table, and rows, without the file header; the rows follow the
// table directly. Read with the same rules and limits as a file.
std::optional<DecodedBitmap> decode_dib(std::span<const u8> dib);

// Pixels (top row first, 0x00RRGGBB) as such a block: a 40-byte header, 32 bits per pixel
// without masks, rows bottom-up, the form every reader of the clipboard takes. Empty for a
// side below 1 or pixels that do not match the size.
std::vector<u8> encode_dib(i32 width, i32 height, std::span<const u32> pixels);

}  // namespace qv::graphics
