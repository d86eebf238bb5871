// The byte-counting string functions (InStrB, ReplaceB, ReplaceAllB, ChrB, Chr) on handles;
// the exported routines are thin wrappers over these.
#pragma once

#include "runtime/strings/string_ref.h"

namespace qv {

// 1-based byte position of find in source at or after start, or 0.
i32 in_str_b(i32 start, const StringRef& source, const StringRef& find);

enum class ReplaceCount { First, All };

// source with the first (or every non-overlapping) byte-exact occurrence of find replaced;
// the same record when nothing is found.
StringRef replace_b(const StringRef& source, const StringRef& find, const StringRef& replacement, ReplaceCount count);

StringRef chr_b(i32 value);
StringRef dbcs_chr(i32 value);

}  // namespace qv
