// Shared libraries that image code imports procedures from.
#pragma once

#include <string>

namespace platform {

using ModuleHandle = void*;

// Loads a library by file name; null when it cannot be loaded.
ModuleHandle load_module(const std::string& file_name);
// A procedure of a loaded library by name; null when it has none.
void* find_procedure(ModuleHandle module, const std::string& name);

}  // namespace platform
