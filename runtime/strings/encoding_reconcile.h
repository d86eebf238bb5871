// Choosing a common encoding for two strings (converting them where that needs it).
#pragma once

#include "runtime/strings/encoding_conversion.h"
#include "runtime/strings/string_ref.h"

namespace qv {

// The encoding of a text made by joining texts tagged a and b, without converting them;
// unknown when that needs a conversion and allowUnicode is false.
u32 Combine(u32 a, u32 b, bool allowUnicode);

// Brings two strings to a common encoding, replacing either handle by a converted copy where
// needed, and returns that encoding (unknown when no conversion could be made; the handles
// are then left as they were).
u32 Reconcile(StringRef* s1, StringRef* s2);

}  // namespace qv
