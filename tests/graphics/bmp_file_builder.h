// Writes small bitmap files for the decoding and picture tests: the file header, a 40-byte
// information header, colour masks when given, the colour table, then the rows as given (or
// zero rows of the right size when none are).
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "core/types.h"

namespace qv::graphics::test {

struct BmpLayout {
    i32 width = 1;
    i32 height = 1;  // negative: rows top-down
    u16 bits = 24;
    u32 colours_used = 0;
    std::vector<u32> palette;                 // 0x00RRGGBB
    std::optional<std::array<u32, 3>> masks;  // red, green, blue: BI_BITFIELDS
    std::vector<std::vector<u8>> rows;        // in file order, padding included
};

inline void put_u32(std::vector<u8>& out, u32 value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<u8>(value >> (8 * i)));
}

inline void put_u16(std::vector<u8>& out, u16 value)
{
    out.push_back(static_cast<u8>(value));
    out.push_back(static_cast<u8>(value >> 8));
}

inline std::vector<u8> build_bmp(const BmpLayout& layout)
{
    std::vector<u8> data;
    if (layout.rows.empty()) {
        const u64 stride = (u64(layout.width) * layout.bits + 31) / 32 * 4;
        const u64 rows = layout.height < 0 ? u64(-i64{layout.height}) : u64(layout.height);
        data.resize(static_cast<size_t>(stride * rows));
    }
    for (const std::vector<u8>& row : layout.rows)
        data.insert(data.end(), row.begin(), row.end());
    const u32 offset = 14 + 40 + (layout.masks ? 12 : 0) + 4 * static_cast<u32>(layout.palette.size());

    std::vector<u8> file = {'B', 'M'};
    put_u32(file, offset + static_cast<u32>(data.size()));
    put_u32(file, 0);
    put_u32(file, offset);
    put_u32(file, 40);
    put_u32(file, static_cast<u32>(layout.width));
    put_u32(file, static_cast<u32>(layout.height));
    put_u16(file, 1);
    put_u16(file, layout.bits);
    put_u32(file, layout.masks ? 3 : 0);
    put_u32(file, static_cast<u32>(data.size()));
    put_u32(file, 2835);
    put_u32(file, 2835);
    put_u32(file, layout.colours_used);
    put_u32(file, 0);
    if (layout.masks)
        for (u32 mask : *layout.masks)
            put_u32(file, mask);
    for (u32 colour : layout.palette)
        put_u32(file, colour);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

}  // namespace qv::graphics::test
