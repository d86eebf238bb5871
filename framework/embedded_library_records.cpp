#include "framework/embedded_library_records.h"

#include <string_view>

namespace qv {

std::optional<EmbeddedLibrary> parse_embedded_library(std::span<const u8> record)
{
    if (record.empty())
        return std::nullopt;
    const size_t name_length = record[0];
    if (name_length == 0 || name_length > record.size() - 1)
        return std::nullopt;
    const std::string_view name(reinterpret_cast<const char*>(record.data() + 1), name_length);
    if (name == "." || name == ".." || name.find_first_of(std::string_view("\\/:\0", 4)) != std::string_view::npos)
        return std::nullopt;
    return EmbeddedLibrary{std::string(name), record.subspan(1 + name_length)};
}

std::vector<EmbeddedLibrary> collect_embedded_libraries(const WindowsResourceManager& resources)
{
    std::vector<EmbeddedLibrary> libraries;
    for (i32 i = resources.GetCount() - 1; i >= 0; --i) {
        const ResourceEntry entry = resources.GetAt(i);
        if (entry.type != kEmbeddedLibraryType || !entry.data)
            continue;
        if (auto library = parse_embedded_library({entry.data, entry.length}))
            libraries.push_back(std::move(*library));
    }
    return libraries;
}

}  // namespace qv
