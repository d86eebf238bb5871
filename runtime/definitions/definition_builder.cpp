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
    PropertyNode** properties = &out.properties;
    for (const PropertyRecord& record : source.properties) {
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
    out.mPropertyTableSize = table_index;

    MethodNode** methods = &out.methods;
    for (const MethodRecord& record : source.methods) {
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

}  // namespace qv
