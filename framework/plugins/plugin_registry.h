// Plug-in libraries as the runtime sees them: one record per loaded library, the static
// descriptions their QuavPluginMain registers (attributed to the library that is loading), the
// classes built from those descriptions, and the entry-point map compiled code fills its
// plug-in entry table from. Portable: loading a library is the Win32 framework's part
// (startup/plugin_loading.h).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/types.h"
#include "runtime/definitions/object_definition.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver_plugin.h"

namespace qv {

struct ProvidedRoutine;

inline constexpr u32 kPluginLoaded = 1u << 0;
inline constexpr u32 kPluginDefinitionsPending = 1u << 1;

struct PluginRecord {
    PluginRecord* next;
    void* module;
    StringRef path;
    u32 flags;
    i32 argument;
};

// The loaded libraries, newest first.
PluginRecord* plugin_list();
// The record whose QuavPluginMain is running, or null.
PluginRecord* loading_plugin();

// Puts a record for the library at the head of the list and makes it the loading plug-in; a
// library already loading is an assertion ("!loadingPlugin") and the new one is not made
// the loading one. end_plugin_load: no plug-in is loading any longer.
PluginRecord* begin_plugin_load(void* module, const StringRef& path, i32 argument);
void end_plugin_load();

// Runs a library's QuavPluginMain with the resolver, as the loading plug-in.
void run_plugin_main(QvPluginMainRoutine main, void* module, const StringRef& path);

// The resolver a plug-in gets: the exported routine of that name (ignoring case), or null.
void* resolve_plugin_routine(const char* name);

enum class PluginClassKind { Class, Interface, Control, Extension };

struct PluginConstant {
    std::string name, type, value;
};

// A registered class description and, once built, its definition.
struct PluginClassEntry {
    const QvPluginClass* description;
    const QvPluginControl* control;  // for a control
    PluginClassKind kind;
    PluginRecord* plugin;
    ObjectDefinition* definition;  // null until built (extensions never are)
    i32 data_offset;               // where the class's own instance data begins
    bool building;
    bool applied;  // an extension: its members were added to its class (or it was reported)
    std::vector<PluginConstant> constants;
};

// Registered class descriptions in registration order (classes, interfaces, controls and
// extensions alike), and the global methods.
std::span<PluginClassEntry* const> plugin_classes();
std::span<const QvPluginMethod* const> plugin_global_methods();

// Builds every registered class that has no definition yet: superclasses first (a plug-in
// superclass registered later is built before its subclass), then each definition is
// registered. A superclass or interface that is missing is left out; the text saying so goes
// to `report`, which shows nothing unless a test installs one. Then each extension not yet
// applied adds its properties and methods to the built-in or plug-in class it names ("SystemClass":
// "_SystemClass"), their accessors exported under their entry-point keys; an extension of a
// class that does not exist, or of an interface, is reported the same way and left out.
using PluginReport = void (*)(const char* text);
void build_plugin_classes();
PluginReport set_plugin_report(PluginReport report);

// The built class entry of a description, or null.
PluginClassEntry* plugin_class_entry(const QvPluginClass* description);
// The plug-in control an object is an instance of (through any subclass), or null.
const QvPluginControl* plugin_control_of(RuntimeObject* object);

// The superclass plug-in controls get when their description names none; the control layer
// registers it.
inline constexpr const char* kPluginControlBaseName = "_PluginControl";

// The key-to-routine pairs the entry-point map is built from, in the order added (tests read
// them); the map is built from them on the first lookup.
std::vector<std::pair<std::string, void*>> plugin_entry_point_pairs();
// The number of times the map has been built (at most once per process).
i32 plugin_entry_map_builds();

// Forgets every record, description, built class and the map: tests start from nothing.
void reset_plugins_for_testing();

// RuntimeAllocatePluginEntrypointsTable and the rest of the plug-in routines for the registry.
std::span<const ProvidedRoutine> plugin_routines();

}  // namespace qv
