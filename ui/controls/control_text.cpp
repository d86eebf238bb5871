#include "ui/controls/control_text.h"

#include "platform/win32/windows_api.h"

#include "runtime/strings/runtime_string.h"
#include "runtime/text/encoding_tags.h"

namespace qv::ui {

std::string utf8_of(RuntimeString* text)
{
    StringRef utf8 = StringRef::share(text).ToUTF8();
    return utf8.is_nil() ? std::string() : std::string(utf8.CText(), static_cast<size_t>(utf8.length()));
}

std::u16string utf16_of(const StringRef& text)
{
    StringRef utf8 = text.ToUTF8();
    std::u16string wide;
    if (utf8.is_nil() || utf8.length() == 0)
        return wide;
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.CText(), utf8.length(), nullptr, 0);
    wide.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_UTF8, 0, utf8.CText(), utf8.length(), reinterpret_cast<wchar_t*>(wide.data()), n);
    return wide;
}

std::u16string utf16_of(RuntimeString* text) { return utf16_of(StringRef::share(text)); }

StringRef utf8_string(const std::u16string& text)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int n = static_cast<int>(text.size());
    const int bytes = n ? WideCharToMultiByte(CP_UTF8, 0, wide, n, nullptr, 0, nullptr, nullptr) : 0;
    StringRef s = StringRef::FromBytes(nullptr, bytes);
    if (s.is_nil())
        s = StringRef::FromCString("");
    else
        WideCharToMultiByte(CP_UTF8, 0, wide, n, reinterpret_cast<char*>(const_cast<u8*>(string_bytes(s.get()))), bytes,
                            nullptr, nullptr);
    s.set_encoding(kEncodingUTF8);
    return s;
}

}  // namespace qv::ui
