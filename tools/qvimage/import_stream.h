// The import stream as qvimage writes it: one record per imported name and mode, whose sites
// are chained through the code, followed by the data, code and string fixups.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/types.h"

namespace qvimage {

constexpr size_t kMaxNameLength = 255;  // names are counted by one byte

enum class ImportMode : u8 { Absolute = 0, Relative = 1 };

enum class StreamTag : u8 { RuntimeImport = 1, DataFixup = 2, CodeFixup = 3, StringFixup = 5 };

class ImportStreamBuilder {
public:
    // `name` is at most kMaxNameLength bytes and `site` is not 0.
    void add_import_site(std::string_view name, ImportMode mode, u32 site);
    void add_fixup(StreamTag tag, u32 site);

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
        StreamTag tag;
        u32 site;
    };

    std::vector<Import> m_imports;
    std::unordered_map<std::string, size_t> m_index;  // mode byte + name -> m_imports index
    std::vector<Fixup> m_fixups;
};

}  // namespace qvimage
