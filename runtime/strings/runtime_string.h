// The RuntimeString record shared with image code and the primitive
// record operations (allocation, counting, release) every string routine builds on.
#pragma once

#include <cstddef>

#include "core/types.h"
#include "runtime/text/encoding_tags.h"
#include "sdk/quaver.h"

static_assert(sizeof(RuntimeString) == 20);
static_assert(offsetof(RuntimeString, refCount) == 0);
static_assert(offsetof(RuntimeString, buffer) == 4);
static_assert(offsetof(RuntimeString, capacity) == 8);
static_assert(offsetof(RuntimeString, length) == 12);
static_assert(offsetof(RuntimeString, encoding) == 16);

namespace qv {

// A record with count 1 for n bytes of (uninitialised) text, its terminator written and its
// encoding unknown; nil for n <= 0, and nil when the buffer cannot be had.
RuntimeString* allocate_string(i32 n);

// As allocate_string, for text of n bytes followed by `extra_zeros` zero bytes (2 for UTF-16).
RuntimeString* allocate_string_with_terminator(i32 n, i32 zero_bytes);

inline void retain_string(RuntimeString* s)
{
    if (s)
        ++s->refCount;
}

// Releases one count under the string lock and frees the record at zero.
void release_string(RuntimeString* s);

// String records allocated and not yet freed (the leak report at exit reads it).
i64 live_string_count();

// Text bytes of a record; a valid empty text for nil.
inline const u8* string_bytes(const RuntimeString* s)
{
    static const u8 empty[2] = {0, 0};
    return s ? s->buffer + 1 : empty + 1;
}
inline i32 string_length(const RuntimeString* s) { return s ? s->length : 0; }
inline u32 string_encoding(const RuntimeString* s) { return s ? s->encoding : kEncodingASCII; }

}  // namespace qv
