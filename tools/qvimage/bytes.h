// Little-endian reading and writing of the 32-bit fields that objects, images and executables
// share, plus the hex form used in messages.
#pragma once

#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "core/types.h"

namespace qvimage {

inline u16 load_u16(const u8* p)
{
    return static_cast<u16>(p[0] | (p[1] << 8));
}

inline u32 load_u32(const u8* p)
{
    return static_cast<u32>(p[0]) | (static_cast<u32>(p[1]) << 8) | (static_cast<u32>(p[2]) << 16) |
           (static_cast<u32>(p[3]) << 24);
}

inline void store_u32(u8* p, u32 value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<u8>(value >> (8 * i));
}

inline void append_u8(std::vector<u8>& out, u8 value)
{
    out.push_back(value);
}

inline void append_u16(std::vector<u8>& out, u16 value)
{
    out.push_back(static_cast<u8>(value));
    out.push_back(static_cast<u8>(value >> 8));
}

inline void append_u32(std::vector<u8>& out, u32 value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<u8>(value >> (8 * i)));
}

inline void append_bytes(std::vector<u8>& out, std::span<const u8> bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

inline std::string hex(u32 value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

}  // namespace qvimage
