// The plug-in libraries an image carries as "QVPl" resources: each record is a one-byte name
// length, the library's file name, then the library's bytes.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/types.h"
#include "runtime/resources/resource_manager.h"

namespace qv {

inline constexpr u32 kEmbeddedLibraryType = four_char_code("QVPl");

struct EmbeddedLibrary {
    std::string file_name;
    std::span<const u8> bytes;  // inside the record, which lives as long as the process
};

// The library a record describes, or nothing when the record is unusable: empty, a name
// length that runs past the data, or a name that is empty, "." or "..", or holds a path
// separator, a drive colon or a zero byte (it must stay a plain child of the folder).
std::optional<EmbeddedLibrary> parse_embedded_library(std::span<const u8> record);

// Every usable "QVPl" record of the index, in reverse index order.
std::vector<EmbeddedLibrary> collect_embedded_libraries(const WindowsResourceManager& resources);

}  // namespace qv
