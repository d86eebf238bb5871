// The global function table: one method record per built-in global (intrinsic) function, in
// registration order, each routine also entered into the EntryPointRegistry.
#pragma once

#include <span>

#include "core/once.h"
#include "runtime/definitions/object_definition.h"

namespace qv {

// Appends the record (the record must outlive the process's use of the table) and registers
// its routine and second routine under their export names. A null record is an assertion.
void RegisterGlobalFunction(const MethodRecord* item);

// Registers records[order[0]], records[order[1]], ... the first time `once` is passed: a
// family's records in the table's order, names listed twice included.
void register_global_functions_once(std::span<const MethodRecord> records, std::span<const int> order, Once& once);

i32 global_function_count();
// Null outside 0..count-1.
const MethodRecord* global_function_at(i32 index);

}  // namespace qv
