// String comparisons: the runtime's internal exact and case-insensitive byte orders, the
// case-insensitive order that RuntimeStringCompare exports, and the byte upper-casing table.
#pragma once

#include "runtime/strings/string_ref.h"

namespace qv {

// Upper-cases a byte: a-z and the Mac OS Roman lower-case letters; identity otherwise.
u8 upper_case_byte(u8 byte);

// Case-insensitive comparison of two C strings through the same table.
int compare_cstrings_nocase(const char* a, const char* b);

// -1, 0, 1: nil before everything else, then by common encoding (code points for UTF-8,
// units for UTF-16, the locale otherwise), ignoring case.
int compare_strings_nocase(const StringRef& a, const StringRef& b);

// StrComp: -1, 0, 1, respecting case. Mode 0 compares bytes; any other mode compares code
// points (UTF-8), units (UTF-16) or in the locale (other text), after reconciling encodings.
// Empty text, nil or not, is smaller than any other and equal to empty text.
int compare_strings_strcomp(const StringRef& a, const StringRef& b, i32 mode);

}  // namespace qv
