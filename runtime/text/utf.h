// UTF-8 and UTF-16 coding. Conversions replace ill-formed input by U+FFFD, one replacement
// per maximal ill-formed subsequence, as the Windows code-page conversion does.
#pragma once

#include <vector>

#include "core/types.h"

namespace qv {

struct DecodedChar {
    u32 code_point;
    i32 size;  // bytes consumed, at least 1
};

// Decodes one code point at `text` (with `available` > 0 bytes). An ill-formed sequence
// decodes as its first byte's value with size 1, so every byte is visited.
DecodedChar decode_utf8_lenient(const u8* text, i32 available);

// Appends the UTF-8 form of a code point (1 to 4 bytes; surrogates and values above U+10FFFF
// become U+FFFD).
void append_utf8(std::vector<u8>& out, u32 code_point);
i32 encode_utf8(u32 code_point, u8 (&out)[4]);

// The runtime's own UTF-8 form, without checks: 1 to 4 bytes for code points up to U+1FFFFF
// (surrogates included), no bytes above.
i32 encode_utf8_unchecked(u32 code_point, u8 (&out)[4]);

std::vector<u16> utf8_to_utf16(const u8* text, i32 length);
std::vector<u8> utf16_to_utf8(const u16* units, i32 count);

}  // namespace qv
