// Converting a string to another encoding: the general conversion every part of the runtime
// uses (with its one-entry cache), and the code-page conversion beneath it.
#pragma once

#include "runtime/strings/string_ref.h"

namespace qv {

// s converted to the tag `target`. Nothing to do (the same string) when the target is unknown,
// s is nil or s already carries the tag. UTF-16 targets, text that is not plain 7-bit, and
// text in ISO-2022-JP or UTF-7 (7-bit encodings that shift with escapes) go through the
// code-page conversion; other text is copied and relabelled (7-bit text reads the same in
// every encoding this covers). Nil when the code-page conversion is impossible.
// The last conversion is remembered: converting the same record to the same tag again
// returns the same result record.
StringRef convert_encoding(const StringRef& s, u32 target);

// The code-page conversion of s's bytes, read in encoding `from` whatever s's own tag says, to
// encoding `to`. Nil when either tag has no usable code page, or the text cannot be decoded or
// encoded. EUC-JP and ISO-2022-JP are reached only from Shift-JIS text (and their results are
// tagged ASCII when every byte is 7-bit, else unknown: the tags byte-by-byte appending gives).
StringRef convert_code_pages(const StringRef& s, u32 from, u32 to);

// Lets go of the conversion cache's two strings: at process exit, and in tests between tests.
void release_conversion_cache();

}  // namespace qv
