// The plug-in records, the registration routines a plug-in resolves, and the resolver.
#include "framework/plugins/plugin_registry.h"

#include "framework/plugins/plugin_state.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/registry/entry_point_registry.h"
#include "runtime/registry/provided_routines.h"

namespace qv {

PluginState& plugin_state()
{
    // Plug-ins stay loaded until the process ends, and so does what they registered.
    static auto* s_state = new PluginState;
    return *s_state;
}

PluginRecord* plugin_list() { return plugin_state().plugins; }
PluginRecord* loading_plugin() { return plugin_state().loading; }

PluginRecord* begin_plugin_load(void* module, const StringRef& path, i32 argument)
{
    PluginState& state = plugin_state();
    auto* record = new PluginRecord{state.plugins, module, path, kPluginLoaded | kPluginDefinitionsPending, argument};
    state.plugins = record;
    if (state.loading) {
        assertion_failed("plugin", 4843, "!loadingPlugin");
        return record;
    }
    state.loading = record;
    return record;
}

void end_plugin_load() { plugin_state().loading = nullptr; }

void run_plugin_main(QvPluginMainRoutine main, void* module, const StringRef& path)
{
    begin_plugin_load(module, path, 0);
    main(&resolve_plugin_routine);
    end_plugin_load();
}

void* resolve_plugin_routine(const char* name)
{
    if (!name)
        return nullptr;
    const EntryPoint* entry = FindEntryPoint(std::string_view(name));
    return entry ? entry->code : nullptr;
}

std::span<PluginClassEntry* const> plugin_classes() { return plugin_state().classes; }
std::span<const QvPluginMethod* const> plugin_global_methods() { return plugin_state().global_methods; }

PluginClassEntry* plugin_class_entry(const QvPluginClass* description)
{
    for (PluginClassEntry* entry : plugin_state().classes)
        if (entry->description == description)
            return entry;
    return nullptr;
}

void reset_plugins_for_testing()
{
    PluginState& state = plugin_state();
    while (PluginRecord* record = state.plugins) {
        state.plugins = record->next;
        delete record;
    }
    for (PluginClassEntry* entry : state.classes)
        delete entry;  // built definitions stay registered: the class cache may hold them
    delete state.entry_map;
    state = PluginState{};
}

namespace {

void add_class(const QvPluginClass* description, const QvPluginControl* control, PluginClassKind kind)
{
    if (!description || !description->name)
        return;
    auto* entry = new PluginClassEntry{};
    entry->description = description;
    entry->control = control;
    entry->kind = kind;
    entry->plugin = plugin_state().loading;
    plugin_state().classes.push_back(entry);
}

}  // namespace

}  // namespace qv

using namespace qv;

extern "C" {

void PluginRegisterClass(const QvPluginClass* description) { add_class(description, nullptr, PluginClassKind::Class); }

void PluginRegisterInterface(const QvPluginClass* description)
{
    add_class(description, nullptr, PluginClassKind::Interface);
}

void PluginRegisterControl(const QvPluginControl* description)
{
    if (description)
        add_class(&description->classInfo, description, PluginClassKind::Control);
}

void PluginRegisterMethod(const QvPluginMethod* description)
{
    if (description && description->declaration)
        plugin_state().global_methods.push_back(description);
}

void PluginRegisterClassExtension(const QvPluginClass* description)
{
    add_class(description, nullptr, PluginClassKind::Extension);
}

void PluginRegisterDBEngine(const void* description)
{
    if (description)
        plugin_state().database_engines.push_back(description);
}

void PluginRegisterDBCursor(const void* description)
{
    if (description)
        plugin_state().database_cursors.push_back(description);
}

}  // extern "C"

namespace qv {

std::span<const ProvidedRoutine> plugin_routines()
{
    static const ProvidedRoutine kRoutines[] = {
        QV_PROVIDED(RuntimeAllocatePluginEntrypointsTable),
        QV_PROVIDED(RuntimeLookupPluginEntrypoint),
        QV_PROVIDED(PluginRegisterClass),
        QV_PROVIDED(PluginRegisterInterface),
        QV_PROVIDED(PluginRegisterControl),
        QV_PROVIDED(PluginRegisterMethod),
        QV_PROVIDED(PluginRegisterClassExtension),
        QV_PROVIDED(PluginRegisterDBEngine),
        QV_PROVIDED(PluginRegisterDBCursor),
        QV_PROVIDED(PluginInstanceData),
        QV_PROVIDED(PluginFireEvent),
    };
    return kRoutines;
}

}  // namespace qv
