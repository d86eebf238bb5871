// Building a definition from its static records: one node per record, linked in table order.
#include <cstring>

#include "runtime/definitions/object_definition.h"
#include "runtime/definitions/parameterless_setters.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/strings/string_ref.h"

namespace qv {
namespace {

template <typename Node>
Node* new_node()
{
    void* block = GuardedNew(sizeof(Node));
    std::memset(block, 0, sizeof(Node));
    return static_cast<Node*>(block);
}

RuntimeString* name_string(const char* name) { return name ? StringRef::FromCString(name).leak() : nullptr; }

// Appends to a list through its tail link.
template <typename Node>
void link(Node**& tail, Node* node)
{
    *tail = node;
    tail = &node->next;
}

// Links a node per property after the list's last one and gives the first of them; table
// properties are numbered from `table_index` on, which is advanced past them.
PropertyNode* append_properties(PropertyNode** properties, std::span<const PropertyRecord> records, i32& table_index)
{
    while (*properties)
        properties = &(*properties)->next;
    PropertyNode** first = properties;
    for (const PropertyRecord& record : records) {
        auto* node = new_node<PropertyNode>();
        node->name = name_string(record.name);
        node->type = record.type;
        node->userFlags = record.flags & ~kPropertySetterWithoutParameter;
        if (record.flags & kPropertySetterWithoutParameter)
            add_parameterless_setter(record.setter);
        node->getter = record.getter;
        node->getterExportName = record.getterExportName;
        node->setter = record.setter;
        node->setterExportName = record.setterExportName;
        node->parameter = record.parameter;
        node->kind = record.kind;
        node->mPropertyTableIndex = record.kind == kPropertyKindOutsideTable ? -1 : table_index++;
        link(properties, node);
    }
    return *first;
}

MethodNode* append_methods(MethodNode** methods, std::span<const MethodRecord> records)
{
    while (*methods)
        methods = &(*methods)->next;
    MethodNode** first = methods;
    for (const MethodRecord& record : records) {
        auto* node = new_node<MethodNode>();
        node->name = name_string(record.name);
        node->userFlags = record.flags;
        node->result = record.result;
        node->parameters = record.parameters;
        node->parameterCount = record.parameterCount;
        node->routine = record.routine;
        node->exportName = record.exportName;
        node->secondRoutine = record.secondRoutine;
        node->secondExportName = record.secondExportName;
        link(methods, node);
    }
    return *first;
}

}  // namespace

void build_definition(ObjectDefinition& out, const DefinitionSource& source)
{
    out = ObjectDefinition{};
    out.kind = kClassDefinitionKind;
    out.superDefinition = source.super_definition;
    out.virtualRoutines = source.virtual_routines.data();
    out.virtualCount = static_cast<i32>(source.virtual_routines.size());
    out.name = name_string(source.name);
    out.resolveSuperFirst = source.resolve_super_first ? 1 : 0;
    out.instanceSize = source.instance_size;
    out.isAnInterface = source.is_an_interface ? 1 : 0;
    out.initializer = source.initializer;
    out.finalizer = source.finalizer;

    i32 table_index = source.super_definition ? source.super_definition->mPropertyTableSize : 0;
    append_properties(&out.properties, source.properties, table_index);
    out.mPropertyTableSize = table_index;
    append_methods(&out.methods, source.methods);

    EventNode** events = &out.events;
    for (const EventRecord& record : source.events) {
        auto* node = new_node<EventNode>();
        node->name = name_string(record.name);
        node->resultTypeName = record.resultTypeName;
        node->parameters = record.parameters;
        node->parameterCount = record.parameterCount;
        node->index = -1;
        link(events, node);
    }

    EventImplementationNode** implementations = &out.eventImplementations;
    for (const EventImplementationRecord& record : source.event_implementations) {
        auto* node = new_node<EventImplementationNode>();
        node->name = name_string(record.name);
        node->handler = record.handler;
        link(implementations, node);
    }

    InterfaceNode** interfaces = &out.interfaces;
    for (ObjectDefinition* interface_definition : source.interfaces) {
        auto* node = new_node<InterfaceNode>();
        node->definition = interface_definition;
        link(interfaces, node);
    }
}

AppendedMembers append_members(ObjectDefinition& out, std::span<const PropertyRecord> properties,
                               std::span<const MethodRecord> methods)
{
    i32 table_index = out.mPropertyTableSize;
    AppendedMembers appended{append_properties(&out.properties, properties, table_index), nullptr};
    out.mPropertyTableSize = table_index;
    appended.methods = append_methods(&out.methods, methods);
    return appended;
}

}  // namespace qv
