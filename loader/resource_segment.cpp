#include "loader/resource_segment.h"

#include <string>
#include <vector>

#include "loader/byte_reader.h"

namespace qv {

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
            return Error{"resource record at offset " + std::to_string(start) + " declares " + std::to_string(length) +
                         " data bytes but only " + std::to_string(segment.size() - offset) + " remain in the segment"};
        records.push_back({type_le, id, data, offset});
    }
    for (const Pending& r : records)
        index.Add(r.type, r.id, r.data.data(), static_cast<u32>(r.data.size()), segment_file_position + r.offset);
    return {};
}

}  // namespace qv
