// WindowsResourceManager: the index over the image's resource segment, in record order. The
// data stays inside the loaded segment, which lives as long as the process. The loader fills
// the process's index; the runtime's typed lookups read it.
#pragma once

#include <vector>

#include "core/types.h"

namespace qv {
// A four-character code as the number whose big-endian bytes spell it: "BMP " is 0x424D5020.
constexpr u32 four_char_code(const char (&code)[5])
{
    return (u32{static_cast<u8>(code[0])} << 24) | (u32{static_cast<u8>(code[1])} << 16) |
        (u32{static_cast<u8>(code[2])} << 8) | u32{static_cast<u8>(code[3])};
}

struct ResourceEntry {
    u32 type = 0;
    u32 id = 0;  // 16 bits held in a 32-bit cell
    const u8* data = nullptr;
    u32 length = 0;
    u32 file_position = 0;  // where the data lies in the file it was read from
};

class WindowsResourceManager {
public:
    void Add(u32 type, u16 id, const u8* data, u32 length, u32 file_position);
    i32 GetCount() const { return static_cast<i32>(m_entries.size()); }
    // Asserts "index < GetCount()" and returns an all-zero entry for a bad index.
    ResourceEntry GetAt(i32 index) const;
    // The first entry of the type whose id matches in 16 bits; all zero when none does.
    ResourceEntry Find(u32 type, i32 id) const;

private:
    std::vector<ResourceEntry> m_entries;
};

// The process's resource index, filled once by the loader.
WindowsResourceManager& image_resources();

}  // namespace qv
