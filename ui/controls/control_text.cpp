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
    if (utf8.is_nil())
        return {};
    return platform::win32::widen_u16(std::string_view(utf8.CText(), static_cast<size_t>(utf8.length())));
}

std::u16string utf16_of(RuntimeString* text) { return utf16_of(StringRef::share(text)); }

StringRef utf8_string(const std::u16string& text)
{
    const std::string utf8 = platform::win32::narrow(std::u16string_view(text));
    StringRef s = StringRef::FromBytes(utf8.data(), static_cast<i32>(utf8.size()));
    if (s.is_nil())
        s = StringRef::FromCString("");
    s.set_encoding(kEncodingUTF8);
    return s;
}

}  // namespace qv::ui
