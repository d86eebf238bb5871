// Pieces of the messages that refuse images and objects. Names come from untrusted files, so
// they are shown escaped: a NUL must not cut the message short, and control bytes must not
// reach the terminal.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "core/types.h"

namespace qv {

inline std::string hex(u32 value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

// Length of the well-formed UTF-8 sequence of a printable character (U+00A0 and up) starting
// at text[0], or 0: overlong forms, surrogates, values above U+10FFFF and C1 controls are not.
inline size_t printable_utf8_length(std::string_view text)
{
    const auto b0 = static_cast<u8>(text[0]);
    const size_t length = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 ? 2 : 0;
    if (length == 0 || b0 > 0xF4 || text.size() < length)
        return 0;
    u32 code_point = b0 & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto b = static_cast<u8>(text[i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        code_point = (code_point << 6) | (b & 0x3F);
    }
    static constexpr u32 kSmallest[5] = {0, 0, 0xA0, 0x800, 0x10000};
    if (code_point < kSmallest[length] || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF))
        return 0;
    return length;
}

// Printable ASCII and well-formed UTF-8 text (a file name in Japanese) as they are, a
// backslash doubled; every other byte as \xHH.
inline std::string escaped(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size();) {
        const auto byte = static_cast<u8>(name[i]);
        if (byte == '\\') {
            out += "\\\\";
            ++i;
        } else if (byte >= 0x20 && byte < 0x7f) {
            out += name[i++];
        } else if (const size_t length = printable_utf8_length(name.substr(i))) {
            out.append(name.substr(i, length));
            i += length;
        } else {
            char text[8];
            std::snprintf(text, sizeof text, "\\x%02x", byte);
            out += text;
            ++i;
        }
    }
    return out;
}

}  // namespace qv
