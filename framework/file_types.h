// The process-wide list of file types the image registers at start-up (name, Mac creator and
// type codes, extensions), which open and save dialogs and file drops consult.
#pragma once

#include <span>
#include <string_view>

#include "runtime/strings/string_ref.h"

namespace qv {

struct FileType {
    StringRef name, creator, type, extensions;
};

// Appends a type; the list holds a count on each string.
void register_file_type(FileType type);
std::span<const FileType> file_types();

// Whether the file at `path` (UTF-8) is of the registered type named `type_name` (compared
// without regard to case): its extension is one of the type's, which are written ".txt;.text"
// (separated by semicolons, commas or spaces, the dot optional). A type that is not
// registered, or has no extensions, names no extension to check, and every file is of it.
bool file_is_of_type(std::string_view path, std::string_view type_name);

}  // namespace qv
