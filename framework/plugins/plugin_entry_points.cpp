// The plug-in entry-point map and the table compiled code fills from it.
#include "framework/plugins/plugin_registry.h"
#include "framework/plugins/plugin_state.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/registry/entry_point_registry.h"

namespace qv {
namespace {

constexpr u32 kEntryMapBuckets = 256;

void* routine_or_null(void* routine) { return routine == QV_PLUGIN_NONE ? nullptr : routine; }

// Every key of one class description's members, in description order.
void add_class_pairs(const QvPluginClass& d, std::vector<std::pair<std::string, void*>>& out)
{
    const std::string prefix = std::string(d.name) + ".";
    for (i32 i = 0; i < d.propertyCount && d.properties; ++i) {
        const QvPluginProperty& p = d.properties[i];
        if (void* getter = routine_or_null(p.getter))
            out.emplace_back(prefix + p.name + ".Get", getter);
        if (void* setter = routine_or_null(p.setter))
            out.emplace_back(prefix + p.name + ".Set", setter);
    }
    for (i32 i = 0; i < d.methodCount && d.methods; ++i) {
        const QvPluginMethod& m = d.methods[i];
        if (!m.declaration)
            continue;
        out.emplace_back(prefix + m.declaration, routine_or_null(m.routine));
        if (void* setter = routine_or_null(m.setter))
            out.emplace_back(prefix + m.declaration + ".Set", setter);
    }
}

StringMap<void*>& entry_map()
{
    PluginState& state = plugin_state();
    if (!state.entry_map) {
        state.entry_map = new StringMap<void*>(kEntryMapBuckets);
        ++state.entry_map_builds;
        for (const auto& [key, routine] : plugin_entry_point_pairs()) {
            const StringRef name = StringRef::FromCString(key.c_str());
            void* existing = nullptr;
            if (!state.entry_map->Find(name, &existing))  // the first registration of a name wins
                state.entry_map->Insert(name, routine);
        }
    }
    return *state.entry_map;
}

}  // namespace

std::vector<std::pair<std::string, void*>> plugin_entry_point_pairs()
{
    std::vector<std::pair<std::string, void*>> pairs;
    for (const PluginClassEntry* entry : plugin_state().classes)
        add_class_pairs(*entry->description, pairs);
    for (const QvPluginMethod* method : plugin_state().global_methods)
        pairs.emplace_back(method->declaration, routine_or_null(method->routine));
    return pairs;
}

i32 plugin_entry_map_builds() { return plugin_state().entry_map_builds; }

}  // namespace qv

using namespace qv;

extern "C" {

void** RuntimeAllocatePluginEntrypointsTable(int32_t count)
{
    if (count <= 0)
        return nullptr;
    // Compiled code calls through the table for as long as it runs: never freed.
    return static_cast<void**>(GuardedNew(count * static_cast<i32>(sizeof(void*))));
}

void* RuntimeLookupPluginEntrypoint(RuntimeString* name)
{
    void* routine = nullptr;
    const StringRef key = StringRef::share(name);
    if (!entry_map().Find(key, &routine)) {
        const std::string message = std::string("can't find plugin method ") + key.CText();
        assertion_failed("plugin", 4985, "pluginEntryTable.GetEntry( entrypointName, out )", message.c_str());
        return nullptr;
    }
    return routine;
}

}  // extern "C"
