// Definitions by name and the classes made from them: registration (which also enters every
// routine a definition names into the EntryPointRegistry), class lookup with its cache,
// conversion of a definition into a ClassRecord, and interface resolution.
#pragma once

#include <span>

#include "runtime/definitions/object_definition.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv {

// Enters the definition under its name (ignoring case; a later one replaces an earlier one)
// and registers its method and property routines under their export names.
void RegisterDefinition(ObjectDefinition* definition);

// Adds members to a definition (append_members) and registers their routines under their
// export names. A class already made from the definition keeps the tables it was made with.
void extend_definition(ObjectDefinition* definition, std::span<const PropertyRecord> properties,
                       std::span<const MethodRecord> methods);

// The registered definition of that name, or null.
ObjectDefinition* find_registered_definition(const StringRef& name);

// The class of a definition, registering the definition first if its name is not registered.
ClassRecord* ClassFromDefinition(ObjectDefinition* definition);

// Where plug-in classes are found when no built-in definition has the name: the classes that
// plug-ins registered, then the plug-in class definitions (first match ignoring case). Either
// may be null.
using PluginDefinitionLookup = ObjectDefinition* (*)(const StringRef& name);
void set_plugin_definition_lookups(PluginDefinitionLookup registered_classes, PluginDefinitionLookup class_definitions);

// Makes a new ClassRecord from the definition (not cached; RuntimeLookupClass caches). Every
// inconsistency between the definition and its declared counts is an assertion, after which
// the conversion goes on.
ClassRecord* convert_definition(ObjectDefinition* definition);

// Interface resolution is redone for a definition whose stamp differs from the current
// generation; advancing the generation makes every definition stale.
u32 current_definition_generation();
void advance_definition_generation();
// Fills each interface node's routine table from the methods of the definition and its
// ancestors, by name ignoring case. False when a method is missing (after an assertion).
bool resolve_interfaces(ObjectDefinition* definition);

}  // namespace qv
