#include "loader/resource_manager.h"

#include <string>

#include "loader/byte_reader.h"
#include "runtime/diagnostics/assertion.h"

namespace qv {

void WindowsResourceManager::Add(u32 type, u16 id, const u8* data, u32 length, u32 file_position)
{
    m_entries.push_back({type, id, data, length, file_position});
}

ResourceEntry WindowsResourceManager::GetAt(i32 index) const
{
    if (index < 0 || index >= GetCount()) {
        assertion_failed("WindowsResourceManager", 60, "index < GetCount()");
        return {};
    }
    return m_entries[static_cast<size_t>(index)];
}

ResourceEntry WindowsResourceManager::Find(u32 type, i32 id) const
{
    // The segment holds a handful of records: a scan in record order is what "first match"
    // means, and costs nothing.
    const u16 wanted = static_cast<u16>(id);
    for (const ResourceEntry& entry : m_entries)
        if (entry.type == type && static_cast<u16>(entry.id) == wanted)
            return entry;
    return {};
}

Result<void> index_resource_segment(WindowsResourceManager& index, std::span<const u8> segment,
                                    u32 segment_file_position)
{
    struct Pending {
        u32 type;
        u16 id;
        std::span<const u8> data;
        u32 offset;
    };
    std::vector<Pending> records;
    ByteReader reader(segment);
    while (!reader.at_end()) {
        const size_t start = reader.position();
        u32 type_le, length;
        u16 id;
        if (!reader.read_u32(type_le) || !reader.read_u16(id) || !reader.skip(4) || !reader.read_u32(length))
            return Error{"resource record at offset " + std::to_string(start) +
                         " is cut off inside its 14-byte header"};
        // The type's bytes appear reversed in the file: reading them little-endian gives the
        // number whose big-endian bytes spell the code.
        const u32 offset = static_cast<u32>(reader.position());
        std::span<const u8> data;
        if (!reader.read_span(length, data))
            return Error{"resource record at offset " + std::to_string(start) + " declares " +
                         std::to_string(length) + " data bytes but only " +
                         std::to_string(segment.size() - offset) + " remain in the segment"};
        records.push_back({type_le, id, data, offset});
    }
    for (const Pending& r : records)
        index.Add(r.type, r.id, r.data.data(), static_cast<u32>(r.data.size()), segment_file_position + r.offset);
    return {};
}

WindowsResourceManager& image_resources()
{
    static auto* s_index = new WindowsResourceManager;
    return *s_index;
}

}  // namespace qv
