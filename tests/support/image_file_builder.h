// Writes application images byte by byte from the container and import-stream layouts, with
// no compiler or qvimage involved: machine code as given, string constants and raw data in
// the data segment, import chains threaded through the code, and fixup records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "loader/image_format.h"

namespace qv::test {

struct ImageFileBuilder {
    std::vector<u8> code;
    std::vector<u8> data;
    std::vector<u8> imports;

    // A string constant (ASCII) at the next multiple of 4 in the data segment; its offset.
    u32 string_constant(std::string_view text)
    {
        data.resize((data.size() + 3) & ~size_t{3}, 0);
        const auto offset = static_cast<u32>(data.size());
        const auto length = static_cast<u32>(text.size());
        for (const u32 field : {1u, 0u, length + 2, length, u32{QV_ENCODING_ASCII}})
            append_u32(data, field);
        append_u8(data, static_cast<u8>(length > 255 ? 255 : length));
        data.insert(data.end(), text.begin(), text.end());
        append_u8(data, 0);
        return offset;
    }

    // Bytes in the data segment that are no string constant; their offset.
    u32 raw_data(std::string_view bytes)
    {
        const auto offset = static_cast<u32>(data.size());
        data.insert(data.end(), bytes.begin(), bytes.end());
        return offset;
    }

    // One runtime import whose chain runs through `sites` in order: each site gets the next
    // one's offset, the last a 0.
    void runtime_import(ImportMode mode, std::string_view name, const std::vector<u32>& sites)
    {
        for (size_t i = 0; i < sites.size(); ++i)
            store_u32(code.data() + sites[i], i + 1 < sites.size() ? sites[i + 1] : 0);
        append_u8(imports, static_cast<u8>(ImportTag::RuntimeImport));
        append_u8(imports, static_cast<u8>(mode));
        append_u32(imports, sites.empty() ? 0 : sites.front());
        append_u8(imports, static_cast<u8>(name.size()));
        imports.insert(imports.end(), name.begin(), name.end());
        append_u8(imports, 0);
    }

    // A data, code or string fixup; the site already holds the segment offset.
    void fixup(ImportTag tag, u32 site)
    {
        append_u8(imports, static_cast<u8>(tag));
        append_u32(imports, site);
    }

    // The packaged layout, with no resources and no options.
    std::vector<u8> packaged() const
    {
        std::vector<u8> out;
        for (const std::vector<u8>* segment : {&code, &data, &imports}) {
            append_u32(out, static_cast<u32>(segment->size()));
            append_bytes(out, *segment);
        }
        append_u32(out, 0);
        append_u32(out, 0);
        return out;
    }
};

}  // namespace qv::test
