// The global function records of the string functions (Left, Mid, InStr, Format, ...): each
// language name with its parameters, result and exported routine.
#pragma once

#include <span>

#include "runtime/definitions/object_definition.h"

namespace qv {

// One record per language name and parameter count, in the order the names first appear in
// the global function table.
std::span<const MethodRecord> string_function_records();

// Registers them in the global function table, in its order: most names once, and the ones
// the table lists a second time (Mid, Trim, Replace, Left, Val, ...) again with the same
// record. Only the first call registers.
void register_string_functions();

}  // namespace qv
