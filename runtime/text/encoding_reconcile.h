// Choosing a common encoding for two strings, and converting a string to another encoding.
#pragma once

#include "runtime/strings/string_ref.h"

namespace qv {

// The encoding of a text made by joining texts tagged a and b, without converting them;
// unknown when that needs a conversion and allowUnicode is false.
u32 Combine(u32 a, u32 b, bool allowUnicode);

// Brings two strings to a common encoding, replacing either handle by a converted copy where
// needed, and returns that encoding (unknown when no conversion could be made; the handles
// are then left as they were).
u32 Reconcile(StringRef* s1, StringRef* s2);

// s converted to the encoding `target`; nil when the conversion is impossible or empty.
// Handles ASCII, UTF-8 and UTF-16 (other code pages report failure for now).
StringRef convert_encoding(const StringRef& s, u32 target);

}  // namespace qv
