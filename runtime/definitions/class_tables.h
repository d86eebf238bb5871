// Writing a built-in class's tables. QV_ROUTINE names a routine in a property or method record
// (its address and its export name); the registry takes the routines the tables name from the
// tables themselves, so that no hand-written list repeats them.
#pragma once

#include <initializer_list>
#include <span>
#include <vector>

#include "runtime/definitions/object_definition.h"
#include "runtime/registry/provided_routines.h"

#define QV_ROUTINE(name) reinterpret_cast<void*>(&name), #name

namespace qv {

// The records of one built-in class that name routines.
struct ClassTables {
    std::span<const PropertyRecord> properties;
    std::span<const MethodRecord> methods;
};

// A class file's tables, one entry per class.
using ClassTableList = std::span<const ClassTables>;

// Every routine the tables name (getters, setters, methods and the setters of assignable
// methods) under its export name, each name once, in table order.
std::vector<ProvidedRoutine> table_routines(std::initializer_list<ClassTableList> lists);

// Hands a layer's table_routines to the registry (add_provided_routines), kept for the process:
// a layer calls it before the registry is built, beside its list of the routines that no table
// names.
void add_table_routines(std::vector<ProvidedRoutine> routines);

}  // namespace qv
