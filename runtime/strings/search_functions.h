// InStr, Replace, ReplaceAll, CountFields and NthField: the searching string functions that
// count characters and, on a single-byte system, ignore case (see text_search.h).
#pragma once

#include "runtime/strings/byte_functions.h"

namespace qv {

// Position of find in source at or after start, or 0. On a double-byte system positions are
// bytes and the search is exact; otherwise they count UTF-16 units for UTF-16 text,
// characters for UTF-8 text and bytes for other text, and case is ignored. An empty find
// gives start.
i32 in_str(i32 start, const StringRef& source, const StringRef& find);

// As in_str, with character positions on a double-byte system too.
i32 dbcs_in_str(i32 start, const StringRef& source, const StringRef& find);

// source with the first (or every non-overlapping) hit of find replaced; find and
// replacement are first brought to the source's encoding. The source record itself when
// nothing is found.
StringRef replace_text(const StringRef& source, const StringRef& find, const StringRef& replacement,
                       ReplaceCount count);

i32 count_fields(const StringRef& s, const StringRef& separator);
// Field `index` (1-based) of s between separators; nil when there are fewer fields.
StringRef nth_field(const StringRef& s, const StringRef& separator, i32 index);

// s in the encoding `target` for searching in or inserting into text of that encoding: the
// same record when no conversion is needed (same tag, 7-bit text into an 8-bit encoding, or
// either tag unknown, where the bytes are all there is), else a converted copy, nil when the
// conversion fails.
StringRef text_in_encoding(const StringRef& s, u32 target);

}  // namespace qv
