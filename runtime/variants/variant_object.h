// The Variant object shared with image code, pinned to its offsets, and the pieces the variant
// routines share: making variants, reading their values, and conversions that tell whether
// they raised, so that a routine built on several of them raises at most once.
#pragma once

#include <cstddef>
#include <cstring>

#include "runtime/definitions/object_definition.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

static_assert(sizeof(RuntimeVariant) == 44);
static_assert(offsetof(RuntimeVariant, type) == 28);
static_assert(offsetof(RuntimeVariant, value) == 32);

namespace qv {

ObjectDefinition* variant_definition();
ClassRecord* variant_class();

inline const RuntimeVariant* as_variant(const RuntimeObject* v) { return reinterpret_cast<const RuntimeVariant*>(v); }
inline u32 type_of(const RuntimeObject* v) { return as_variant(v)->type; }

// A Double or Date variant's double.
inline double double_of(const RuntimeObject* v)
{
    double value;
    std::memcpy(&value, as_variant(v)->value, sizeof value);
    return value;
}
inline u32 word_of(const RuntimeObject* v) { return as_variant(v)->value[0]; }
inline RuntimeString* string_of(const RuntimeObject* v) { return reinterpret_cast<RuntimeString*>(word_of(v)); }
inline RuntimeObject* object_of(const RuntimeObject* v) { return reinterpret_cast<RuntimeObject*>(word_of(v)); }

// New variants, count 1. The string and object makers add a count of their own.
RuntimeObject* make_word_variant(u32 type, u32 word);
RuntimeObject* make_double_variant(u32 type, double value);
RuntimeObject* make_string_variant(const StringRef& text);
RuntimeObject* make_object_variant(RuntimeObject* object);

// The conversion routines' rules. Each raises (NilObjectException for a nil reference,
// typeMismatchException where the rules say so) and answers false, leaving `out` zero.
bool convert_to_int(RuntimeObject* v, i32& out);
bool convert_to_double(RuntimeObject* v, double& out);
bool convert_to_text(RuntimeObject* v, StringRef& out);

// Saturating truncation toward zero; NaN gives 0.
i32 truncate_to_int(double value);

}  // namespace qv
