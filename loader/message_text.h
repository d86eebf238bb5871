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

// Printable ASCII as it is (a backslash doubled); every other byte as \xHH.
inline std::string escaped(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<u8>(c);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7f) {
            out += c;
        } else {
            char text[8];
            std::snprintf(text, sizeof text, "\\x%02x", byte);
            out += text;
        }
    }
    return out;
}

}  // namespace qv
