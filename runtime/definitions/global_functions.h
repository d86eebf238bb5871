// The global function table: one method record per built-in global (intrinsic) function, in
// registration order, each routine also entered into the EntryPointRegistry.
#pragma once

#include "runtime/definitions/object_definition.h"

namespace qv {

// Appends the record (the record must outlive the process's use of the table) and registers
// its routine and second routine under their export names. A null record is an assertion.
void RegisterGlobalFunction(const MethodRecord* item);

i32 global_function_count();
// Null outside 0..count-1.
const MethodRecord* global_function_at(i32 index);

}  // namespace qv
