// The value forms of the debugger protocol: little-endian values of 1 to 8 bytes as
// hexadecimal text (most significant byte first, two digits per byte, upper case), and
// strings as an encoding tag, a colon and the text bytes in hexadecimal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/types.h"

namespace qv::debugger {

// The 2n upper-case digits of the low n bytes of value (1 <= n <= 8).
std::string format_hex(u64 value, int bytes);
void append_hex(std::string& out, u64 value, int bytes);

// Decodes a value of n bytes (1 <= n <= 8). The text is padded on the left with zeros to 2n
// digits, and of a longer text only the rightmost 2n digits count, so "A" and "0000000A" and
// "FF0000000A" all read as 10 for n = 4. Every character must be a hexadecimal digit; upper
// case is what peers send, lower case is accepted as the same digit since it is unambiguous.
// An empty text or any other character makes the value malformed (nullopt): a command
// carrying it is ignored rather than acting on a guessed value.
std::optional<u64> decode_hex(std::string_view text, int bytes);

struct StringValue {
    u32 encoding = 0;
    std::string bytes;
};

// "TTTTTTTT:" + two digits per byte.
std::string format_string_value(u32 encoding, std::string_view bytes);
void append_string_value(std::string& out, u32 encoding, std::string_view bytes);

// The tag before the colon decodes as a 4-byte value; after it, an even number of hex digits
// (possibly none). No colon, a bad tag, an odd digit count or a non-digit: nullopt.
std::optional<StringValue> decode_string_value(std::string_view text);

}  // namespace qv::debugger
