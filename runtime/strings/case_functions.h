// Uppercase, Lowercase and Titlecase, and the Unicode helpers they share with the search:
// code-point mapping of UTF-8 text and the white space that separates words.
#pragma once

#include <utility>
#include <vector>

#include "runtime/strings/string_ref.h"

namespace qv {

StringRef upper_case(const StringRef& s);
StringRef lower_case(const StringRef& s);
// Each word's first character upper-cased, its other characters lower-cased; words are
// separated by characters of type space.
StringRef title_case(const StringRef& s);

// Unicode White_Space: the characters Trim removes from Unicode text and Titlecase starts
// words after.
bool is_unicode_space(u32 code_point);

using CodePointMap = u32 (*)(u32);

// UTF-8 text with each code point of the Basic Multilingual Plane mapped (astral code points
// stay, as their UTF-16 units would); ill-formed bytes are copied as they are. Where a
// character's length changed, `checkpoints` (when given) receives the pair (offset after it in
// `out`, offset after it in `text`).
void map_utf8_code_points(const u8* text, i32 length, CodePointMap map, std::vector<u8>& out,
                          std::vector<std::pair<i32, i32>>* checkpoints = nullptr);

// BMP-only forms of the Unicode case mapping.
u32 upper_code_point(u32 code_point);
u32 lower_code_point(u32 code_point);

}  // namespace qv
