// Small helpers for building and reading strings in tests.
#pragma once

#include <string>
#include <vector>

#include "runtime/strings/string_ref.h"
#include "runtime/text/utf.h"

namespace qv::test {

inline StringRef bytes_of(const std::string& text, u32 encoding = kEncodingUnknown)
{
    StringRef s = StringRef::FromBytes(text.data(), static_cast<i32>(text.size()));
    s.set_encoding(encoding);
    return s;
}

inline StringRef ascii(const std::string& text) { return bytes_of(text, kEncodingASCII); }
inline StringRef utf8(const std::string& text) { return bytes_of(text, kEncodingUTF8); }

// The UTF-16 form of UTF-8 text.
inline StringRef utf16(const std::string& text)
{
    const std::vector<u16> units =
        utf8_to_utf16(reinterpret_cast<const u8*>(text.data()), static_cast<i32>(text.size()));
    return StringRef::FromWide(units.data(), static_cast<i32>(units.size()));
}

inline std::string text_of(const StringRef& s)
{
    return std::string(reinterpret_cast<const char*>(s.bytes()), static_cast<size_t>(s.length()));
}

inline std::string text_of(RuntimeString* s) { return text_of(StringRef::share(s)); }

}  // namespace qv::test
