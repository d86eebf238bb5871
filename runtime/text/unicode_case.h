// Simple Unicode case mapping over the Basic Multilingual Plane, from one table of
// (upper, lower) pairs. Code points above U+FFFF are looked up by their low 16 bits.
#pragma once

#include <span>

#include "core/types.h"

namespace qv {

struct CasePair {
    u16 upper;
    u16 lower;
};

std::span<const CasePair> unicode_case_pairs();

u32 unicode_to_upper(u32 code_point);
u32 unicode_to_lower(u32 code_point);

}  // namespace qv
