// ObjectDefinition: a built-in class as the runtime describes it (properties with accessors,
// methods, events, interfaces), the static records definitions are built from, and the nodes
// a built definition links in table order. Definitions and their nodes live for the process.
#pragma once

#include <span>

#include "core/types.h"
#include "runtime/definitions/type_descriptor.h"
#include "sdk/quaver.h"

namespace qv {

// Method userFlags bit that no method may carry (it marks virtual property accessors).
inline constexpr u32 kSystemPropertyVirtual = 1u << 8;
// Properties of this kind are left out of the class's property table.
inline constexpr i32 kPropertyKindOutsideTable = 3;
// PropertyRecord flag of a built-in property whose setter takes (self, value), with no
// parameter (runtime/definitions/parameterless_setters.h). It does not reach the node.
inline constexpr u32 kPropertySetterWithoutParameter = 1u << 31;

// ---- Static source records ------------------------------------------------------------

struct ParameterRecord {
    const char* name;
    const TypeDescriptor* type;
    u8 byReference;
};

struct PropertyRecord {
    u32 flags;
    const char* name;
    const TypeDescriptor* type;
    void* getter;
    const char* getterExportName;
    void* setter;
    const char* setterExportName;
    i32 parameter;  // for the generic accessors: the field's byte offset in the object
    i32 kind;       // beyond the record proper: 3 keeps the property out of the table
};

struct MethodRecord {
    const char* name;
    const TypeDescriptor* result;  // null: no result
    const ParameterRecord* parameters;
    i32 parameterCount;
    void* routine;
    const char* exportName;
    void* secondRoutine;  // the setter of an assignable method
    const char* secondExportName;
    u32 flags;  // beyond the record proper: the node's userFlags
};

struct EventRecord {
    const char* name;
    const char* resultTypeName;  // "Boolean", or null for none
    const ParameterRecord* parameters;
    i32 parameterCount;
};

// An inherited event that the class handles itself.
struct EventImplementationRecord {
    const char* name;
    void* handler;
};

// ---- Nodes of a built definition ------------------------------------------------------

struct PropertyNode {
    PropertyNode* next;
    RuntimeString* name;
    const TypeDescriptor* type;
    u32 userFlags;
    void* getter;
    const char* getterExportName;
    void* setter;
    const char* setterExportName;
    i32 parameter;
    i32 mPropertyTableIndex;
    i32 kind;
};

struct MethodNode {
    MethodNode* next;
    RuntimeString* name;
    u32 userFlags;
    const TypeDescriptor* result;
    const ParameterRecord* parameters;
    i32 parameterCount;
    void* routine;
    const char* exportName;
    void* secondRoutine;
    const char* secondExportName;
};

struct EventNode {
    EventNode* next;
    RuntimeString* name;
    const char* resultTypeName;
    const ParameterRecord* parameters;
    i32 parameterCount;
    i32 index;  // in the class's event table, once converted; -1 before
};

struct EventImplementationNode {
    EventImplementationNode* next;
    RuntimeString* name;
    void* handler;
};

}  // namespace qv

// (In the global namespace: image code passes definitions to CreateInstance as an opaque type.)
struct ObjectDefinition;

namespace qv {

struct InterfaceNode {
    InterfaceNode* next;
    ObjectDefinition* definition;
    void** routines;  // slot k (1-based) holds the routine of the interface's k-th method
    i32 tableSize;    // interface methods + 1
};

}  // namespace qv

struct ObjectDefinition {
    i32 kind;  // 3 for a class definition
    ObjectDefinition* superDefinition;
    void* const* virtualRoutines;
    u32 resolvedGeneration;
    i32 virtualCount;
    RuntimeString* name;
    u8 resolveSuperFirst;  // 0: resolving this definition's interfaces resolves the super's too
    u8 secondFlag;
    i32 mPropertyTableSize;
    i32 instanceSize;
    qv::PropertyNode* properties;
    qv::MethodNode* methods;
    qv::EventNode* events;
    qv::EventImplementationNode* eventImplementations;
    qv::InterfaceNode* interfaces;
    u8 isAnInterface;
    QvObjectRoutine initializer;
    QvObjectRoutine finalizer;
    // Beyond the record proper: set while the definition is being made into a class, so that a
    // definition that is its own ancestor is refused instead of recursing.
    u8 converting;
};

namespace qv {

inline constexpr i32 kClassDefinitionKind = 3;

// What a built-in class's definition builder starts from.
struct DefinitionSource {
    const char* name;
    ObjectDefinition* super_definition;  // built before this one
    i32 instance_size;
    std::span<const PropertyRecord> properties;
    std::span<const MethodRecord> methods;
    std::span<const EventRecord> events;
    std::span<const EventImplementationRecord> event_implementations;
    std::span<ObjectDefinition* const> interfaces;
    std::span<void* const> virtual_routines;  // the whole method table, inherited entries included
    bool is_an_interface = false;
    bool resolve_super_first = false;
    QvObjectRoutine initializer = nullptr;
    QvObjectRoutine finalizer = nullptr;
};

// Fills `out` from the source: one node per record, linked in table order, each table
// property numbered after the superclass's (mPropertyTableIndex), mPropertyTableSize the total.
void build_definition(ObjectDefinition& out, const DefinitionSource& source);
// Links nodes for more members after a built definition's own, numbering table properties
// after its last, and gives the first new node of each list (null when none was added).
// Subclasses number their table after the class's, so properties added to a class that has any
// are kept out of the table (kPropertyKindOutsideTable).
struct AppendedMembers {
    PropertyNode* properties;
    MethodNode* methods;
};
AppendedMembers append_members(ObjectDefinition& out, std::span<const PropertyRecord> properties,
                               std::span<const MethodRecord> methods);

}  // namespace qv
