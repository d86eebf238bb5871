// Trim, LTrim and RTrim: white space removed from the ends of a text, by the rule of its
// encoding and the system code page.
#pragma once

#include "runtime/strings/string_ref.h"

namespace qv {

enum class TrimEnds { Left, Right, Both };

// Unicode text loses whole white-space characters (see is_unicode_space); code-page text on a
// double-byte system loses characters of type space, the ideographic space among them, and on
// a single-byte system the bytes the separator table flags. The source record itself when
// nothing is removed.
StringRef trim_text(const StringRef& s, TrimEnds ends);

}  // namespace qv
