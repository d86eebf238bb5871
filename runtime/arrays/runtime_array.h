// The array record shared with image code, pinned to its offsets, and what the array
// routines share among themselves: element sizes, counts, and the array-freed hook.
#pragma once

#include <cstddef>

#include "core/types.h"
#include "sdk/quaver.h"

static_assert(sizeof(RuntimeArray) == 24);
static_assert(offsetof(RuntimeArray, refCount) == 0);
static_assert(offsetof(RuntimeArray, elementType) == 4);
static_assert(offsetof(RuntimeArray, dimensions) == 8);
static_assert(offsetof(RuntimeArray, data) == 12);
static_assert(offsetof(RuntimeArray, bufferLength) == 16);
static_assert(offsetof(RuntimeArray, growthIncrement) == 20);
static_assert(offsetof(RuntimeArray, upperBounds) == 24);

namespace qv {

inline constexpr i32 kInitialGrowthIncrement = 16;
// The growth increment doubles after each growth while it is below this.
inline constexpr i32 kGrowthIncrementLimit = 131072;

inline i32 element_size(const RuntimeArray* array) { return array->elementType == QV_ARRAY_DOUBLE ? 8 : 4; }

inline bool holds_counts(const RuntimeArray* array)
{
    return array->elementType == QV_ARRAY_STRING || array->elementType == QV_ARRAY_OBJECT;
}

// Elements the bounds describe: the product of (bound + 1), 0 when any bound is below 0.
// -1 when the product does not fit in 32 bits.
i64 element_count(const RuntimeArray* array);

// Called with every array about to be freed (the debugger support sets it).
using ArrayFreedHook = void (*)(RuntimeArray* array);
ArrayFreedHook set_array_freed_hook(ArrayFreedHook hook);

// Checks shared by the routines that work on one dimension: reports "1 == array->dimensions"
// and answers false for an array of more, which those routines then leave alone.
bool check_one_dimension(const RuntimeArray* array);

}  // namespace qv
