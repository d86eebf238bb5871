// Turning a definition into a ClassRecord: counts checked against what the definition
// declares, then the header, method, event, interface, static-method and property tables.
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/member_signature.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/objects/object_model.h"

namespace qv {
namespace {

constexpr const char* kSource = "ObjectDefinitionConverter";

template <typename Node>
i32 count_nodes(const Node* node)
{
    i32 n = 0;
    for (; node; node = node->next)
        ++n;
    return n;
}

bool names_match(RuntimeString* a, RuntimeString* b)
{
    return StringRef::share(a).CompareNoCase(StringRef::share(b)) == 0;
}

// The signature of the method that owns `routine`, searching the definition and then its
// ancestors; nil when none does.
StringRef owner_signature(const ObjectDefinition* definition, void* routine)
{
    if (!routine)
        return {};
    for (const ObjectDefinition* owner = definition; owner; owner = owner->superDefinition)
        for (const MethodNode* node = owner->methods; node; node = node->next)
            if (node->routine == routine)
                return method_signature(*node, owner);
    return {};
}

struct Counts {
    i32 interfaces;
    i32 events;
    i32 static_methods;
    i32 properties;
};

// Also numbers each newly declared event with its index in the class's event table.
Counts count_tables(ObjectDefinition* definition, const ClassRecord* base)
{
    Counts counts{base ? base->interfaceCount : 0, base ? base->eventCount : 0, base ? base->staticMethodCount : 0,
                  base ? base->propertyCount : 0};
    counts.interfaces += count_nodes(definition->interfaces);
    for (EventNode* node = definition->events; node; node = node->next)
        node->index = counts.events++;
    for (const MethodNode* item = definition->methods; item; item = item->next) {
        if (item->userFlags & kSystemPropertyVirtual)
            assertion_failed(kSource, 95, "0 == (item->userFlags & kSystemPropertyVirtual)");
        counts.static_methods += (item->routine ? 1 : 0) + (item->secondRoutine ? 1 : 0);
    }
    i32& propertyCount = counts.properties;
    for (const PropertyNode* item = definition->properties; item; item = item->next) {
        if (item->kind == kPropertyKindOutsideTable)
            continue;
        if (item->mPropertyTableIndex != propertyCount)
            assertion_failed(kSource, 110, "item->mPropertyTableIndex == propertyCount");
        ++propertyCount;
    }
    if (propertyCount != definition->mPropertyTableSize)
        assertion_failed(kSource, 115, "propertyCount == defn->mPropertyTableSize");
    return counts;
}

void fill_event_implementations(const ObjectDefinition* definition, ClassRecord* out)
{
    for (const EventImplementationNode* node = definition->eventImplementations; node; node = node->next) {
        for (const ObjectDefinition* ancestor = definition->superDefinition; ancestor;
             ancestor = ancestor->superDefinition) {
            for (const EventNode* event = ancestor->events; event; event = event->next) {
                if (!names_match(event->name, node->name) || event->index < 0 || event->index >= out->eventCount)
                    continue;
                out->eventTable[event->index] = {node->handler, StringRef::share(node->name).leak()};
            }
        }
    }
}

void fill_interfaces(const ObjectDefinition* definition, ClassRecord* out, i32 itableCtr)
{
    for (const InterfaceNode* node = definition->interfaces; node; node = node->next, ++itableCtr) {
        if (itableCtr >= out->interfaceCount) {
            assertion_failed(kSource, 160, "itableCtr < out->interfaceCount");
            return;
        }
        const i32 method_count = node->tableSize > 1 ? node->tableSize - 1 : 0;
        MethodEntry* table = RuntimeNewVtable(method_count);
        for (i32 k = 0; k < method_count; ++k) {
            void* routine = node->routines ? node->routines[k + 1] : nullptr;
            table[k] = {routine, owner_signature(definition, routine).leak()};
        }
        interface_table(out)[itableCtr] = {ClassFromDefinition(node->definition), method_count, table};
    }
}

void fill_static_methods(const ObjectDefinition* definition, ClassRecord* out, i32 index)
{
    for (const MethodNode* node = definition->methods; node; node = node->next) {
        if (node->routine && index < out->staticMethodCount)
            out->staticMethodTable[index++] = {node->routine, method_signature(*node, definition).leak()};
        if (node->secondRoutine && index < out->staticMethodCount)
            out->staticMethodTable[index++] = {node->secondRoutine, nullptr};
    }
}

void fill_properties(const ObjectDefinition* definition, ClassRecord* out, i32 propertyCtr)
{
    for (const PropertyNode* ivar = definition->properties; ivar; ivar = ivar->next) {
        if (ivar->kind == kPropertyKindOutsideTable)
            continue;
        if (propertyCtr >= out->propertyCount) {
            assertion_failed(kSource, 200, "propertyCtr < out->propertyCount");
            return;
        }
        if (propertyCtr != ivar->mPropertyTableIndex)
            assertion_failed(kSource, 202, "propertyCtr == ivar->mPropertyTableIndex");
        out->propertyTable[propertyCtr++] = {property_signature(*ivar).leak(), ivar->parameter, ivar->getter,
                                             ivar->setter};
    }
}

}  // namespace

ClassRecord* convert_definition(ObjectDefinition* definition)
{
    if (!definition) {
        assertion_failed(kSource, 60, "defn");
        return nullptr;
    }
    if (definition->converting) {
        // Reached again through its own superclass chain or interfaces.
        assertion_failed(kSource, 64, "!defn->converting");
        return nullptr;
    }
    definition->converting = 1;
    ClassRecord* base = nullptr;
    if (definition->superDefinition) {
        base = ClassFromDefinition(definition->superDefinition);
        if (!base)
            assertion_failed(kSource, 72, "super");
    }
    resolve_interfaces(definition);
    const Counts counts = count_tables(definition, base);
    const i32 virtual_count = definition->virtualCount > 0 ? definition->virtualCount : 0;

    ClassRecord* out = RuntimeNewClass(base, virtual_count, counts.interfaces, counts.events, counts.static_methods,
                                       counts.properties);
    if (!out) {
        assertion_failed(kSource, 130, "out");
        definition->converting = 0;
        return nullptr;
    }
    out->name = StringRef::share(definition->name).leak();
    out->initializer = definition->initializer;
    out->finalizer = definition->finalizer;
    out->instanceSize = definition->instanceSize;
    if (definition->isAnInterface)
        out->isAnInterface = 1;
    for (i32 i = 0; definition->virtualRoutines && i < virtual_count; ++i)
        out->methodTable[i].routine = definition->virtualRoutines[i];

    fill_event_implementations(definition, out);
    fill_interfaces(definition, out, base ? base->interfaceCount : 0);
    fill_static_methods(definition, out, base ? base->staticMethodCount : 0);
    fill_properties(definition, out, base ? base->propertyCount : 0);
    definition->converting = 0;
    return out;
}

}  // namespace qv
