// The definition map, the class cache behind RuntimeLookupClass, and CreateInstance.
#include "runtime/definitions/class_registry.h"

#include <cstdlib>

#include "runtime/collections/string_map.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/registry/entry_point_registry.h"

namespace qv {
namespace {

struct PluginLookups {
    PluginDefinitionLookup registered_classes = nullptr;
    PluginDefinitionLookup class_definitions = nullptr;
};

PluginLookups& plugin_lookups()
{
    static PluginLookups s_lookups;
    return s_lookups;
}

StringMap<ObjectDefinition*>& definition_map()
{
    // Definitions live as long as the process, and so does their map.
    static auto* s_map = new StringMap<ObjectDefinition*>(256);
    return *s_map;
}

StringMap<ClassRecord*>* s_class_cache = nullptr;

void dispose_class_cache()
{
    delete s_class_cache;
    s_class_cache = nullptr;
}

StringMap<ClassRecord*>& class_cache()
{
    if (!s_class_cache) {
        s_class_cache = new StringMap<ClassRecord*>(256);
        std::atexit(&dispose_class_cache);
    }
    return *s_class_cache;
}

void register_pair(const char* export_name, void* routine)
{
    if (export_name && routine)
        RegisterEntryPoint(export_name, routine);
}

// The export names of the properties and methods from these nodes to the ends of their lists.
void register_exports(const PropertyNode* properties, const MethodNode* methods)
{
    for (const MethodNode* node = methods; node; node = node->next) {
        register_pair(node->exportName, node->routine);
        register_pair(node->secondExportName, node->secondRoutine);
    }
    for (const PropertyNode* node = properties; node; node = node->next) {
        register_pair(node->getterExportName, node->getter);
        register_pair(node->setterExportName, node->setter);
    }
}

ObjectDefinition* find_any_definition(const StringRef& name)
{
    if (ObjectDefinition* definition = find_registered_definition(name))
        return definition;
    if (plugin_lookups().registered_classes)
        if (ObjectDefinition* definition = plugin_lookups().registered_classes(name))
            return definition;
    if (plugin_lookups().class_definitions)
        return plugin_lookups().class_definitions(name);
    return nullptr;
}

}  // namespace

void RegisterDefinition(ObjectDefinition* definition)
{
    if (!definition) {
        assertion_failed("ObjectDefinition", 120, "defn");
        return;
    }
    definition_map().Insert(StringRef::share(definition->name), definition);
    register_exports(definition->properties, definition->methods);
}

void extend_definition(ObjectDefinition* definition, std::span<const PropertyRecord> properties,
                       std::span<const MethodRecord> methods)
{
    if (!definition)
        return;
    const AppendedMembers appended = append_members(*definition, properties, methods);
    register_exports(appended.properties, appended.methods);
}

ObjectDefinition* find_registered_definition(const StringRef& name)
{
    ObjectDefinition* definition = nullptr;
    return definition_map().Find(name, &definition) ? definition : nullptr;
}

ClassRecord* ClassFromDefinition(ObjectDefinition* definition)
{
    if (!definition) {
        assertion_failed("ObjectDefinitionConverter", 40, "defn");
        return nullptr;
    }
    StringRef name = StringRef::share(definition->name);
    if (!find_registered_definition(name))
        RegisterDefinition(definition);
    return RuntimeLookupClass(name.get());
}

void set_plugin_definition_lookups(PluginDefinitionLookup registered_classes, PluginDefinitionLookup class_definitions)
{
    plugin_lookups() = {registered_classes, class_definitions};
}

}  // namespace qv

extern "C" {

ClassRecord* RuntimeLookupClass(RuntimeString* name)
{
    using namespace qv;
    StringRef key = StringRef::share(name);
    ClassRecord* found = nullptr;
    if (class_cache().Find(key, &found))
        return found;
    ObjectDefinition* definition = find_any_definition(key);
    if (!definition)
        return nullptr;
    found = convert_definition(definition);
    if (found)
        class_cache().Insert(key, found);
    return found;
}

RuntimeObject* CreateInstance(ObjectDefinition* definition)
{
    if (!definition) {
        qv::assertion_failed("ObjectDefinitionConverter", 51, "defn");
        return nullptr;
    }
    return RuntimeNewObject(qv::ClassFromDefinition(definition));
}

}  // extern "C"
