// The process-wide plug-in state the registry, the class builder and the entry-point map
// share. Internal to the plug-in files.
#pragma once

#include <vector>

#include "framework/plugins/plugin_registry.h"
#include "runtime/collections/string_map.h"

namespace qv {

struct PluginState {
    PluginRecord* plugins = nullptr;  // newest first
    PluginRecord* loading = nullptr;
    std::vector<PluginClassEntry*> classes;
    std::vector<const QvPluginMethod*> global_methods;
    std::vector<const void*> database_engines;
    std::vector<const void*> database_cursors;
    StringMap<void*>* entry_map = nullptr;  // built on the first lookup
    i32 entry_map_builds = 0;
    PluginReport report = nullptr;
};

PluginState& plugin_state();

}  // namespace qv
