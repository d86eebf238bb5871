// The import stream as qvimage writes it: one record per imported name and mode, whose sites
// are chained through the code, followed by the data, code and string fixups.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/types.h"
#include "loader/image_format.h"

namespace qvimage {

using qv::ImportMode;
using qv::ImportTag;
using qv::kMaxNameLength;

class ImportStreamBuilder {
public:
    // `name` is at most kMaxNameLength bytes and `site` is not 0.
    void add_import_site(std::string_view name, ImportMode mode, u32 site);
    void add_fixup(ImportTag tag, u32 site);

    // Writes each import's chain into `code` (every site holds the next site's offset, the
    // last holds 0) and returns the stream: the imports in order of first use, then the
    // fixups in the order they were added.
    std::vector<u8> finish(std::vector<u8>& code) const;

private:
    struct Import {
        std::string name;
        ImportMode mode;
        std::vector<u32> sites;
    };
    struct Fixup {
        ImportTag tag;
        u32 site;
    };

    std::vector<Import> m_imports;
    std::unordered_map<std::string, size_t> m_index;  // mode byte + name -> m_imports index
    std::vector<Fixup> m_fixups;
};

}  // namespace qvimage
