// Length, Asc and the substring functions, in their byte-counting (LeftB, MidB, ...) and
// character-counting (Left, Mid, ...) forms. Positions are 1-based; results keep the
// source's encoding and are the source record itself when they cover all of it.
#pragma once

#include "runtime/strings/string_ref.h"

namespace qv {

StringRef left_b(const StringRef& s, i32 count);
StringRef right_b(const StringRef& s, i32 count);
StringRef mid_b(const StringRef& s, i32 start);
StringRef mid_b(const StringRef& s, i32 start, i32 length);

StringRef left_chars(const StringRef& s, i32 count);
StringRef right_chars(const StringRef& s, i32 count);
StringRef mid_chars(const StringRef& s, i32 start);
StringRef mid_chars(const StringRef& s, i32 start, i32 length);

i32 length_in_chars(const StringRef& s);
// First byte, or 0 for nil.
i32 asc_b(const StringRef& s);
// Code of the first character: its code point (UTF-8), its unit (UTF-16), lead byte x 256 +
// trail byte for a double-byte character, else its byte; 0 for nil.
i32 asc_char(const StringRef& s);

}  // namespace qv
