// The global function records of the encoding functions (Encodings, Encoding, DefineEncoding,
// ConvertEncoding, GetTextEncoding, ...): each language name with its parameters, result and
// exported routine.
#pragma once

#include <span>

#include "runtime/definitions/object_definition.h"

namespace qv {

// One record per language name, in the order the names first appear in the global function
// table.
std::span<const MethodRecord> encoding_function_records();

// Registers them in the global function table, in its order, with Encoding, DefineEncoding
// and ConvertEncoding a second time (the table lists them twice). Only the first call
// registers.
void register_encoding_functions();

}  // namespace qv
