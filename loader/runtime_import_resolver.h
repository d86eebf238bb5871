// Binding the image's imports in this process: runtime routines through the EntryPointRegistry,
// external procedures through the loaded-library list, and stand-ins for routines the runtime
// does not export.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "loader/import_linker.h"
#include "platform/exec_memory.h"
#include "platform/modules.h"
#include "runtime/strings/string_ref.h"

namespace qv {

// LoadedLibraryList: the external libraries the linker loaded, newest first, never unloaded.
// A library whose load failed stays listed with a null handle.
class LoadedLibraryList {
public:
    struct Node {
        StringRef file_name;
        platform::ModuleHandle module;
    };
    // The library by file name (ASCII letters compared without case), loading it on first use.
    const Node& find_or_load(std::string_view file_name);
    size_t size() const { return m_nodes.size(); }

private:
    std::deque<Node> m_nodes;  // oldest first, searched newest first; a deque keeps nodes in place
};

LoadedLibraryList& loaded_libraries();

class RuntimeImportResolver : public ImportResolver {
public:
    const void* runtime_routine(std::string_view name) override;
    const void* unbound_import(std::string_view name) override;
    const void* library_procedure(std::string_view library, std::string_view procedure, std::string& message) override;
};

// What a stand-in for an unexported routine does when the image calls it: reports the name
// and ends the application. Replaceable for tests.
using UnboundImportHandler = void (*)(const char* name);
void set_unbound_import_handler(UnboundImportHandler handler);

}  // namespace qv
