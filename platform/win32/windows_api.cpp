#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 units");

template <typename Wide>
Wide to_utf16(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int bytes = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, nullptr, 0);
    if (n <= 0)
        return {};
    Wide out(static_cast<size_t>(n), 0);
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

}  // namespace

std::wstring widen(const char* utf8) { return utf8 ? to_utf16<std::wstring>(utf8) : std::wstring(); }

std::wstring widen(std::string_view utf8) { return to_utf16<std::wstring>(utf8); }

std::u16string widen_u16(std::string_view utf8) { return to_utf16<std::u16string>(utf8); }

std::string narrow(std::wstring_view utf16)
{
    if (utf16.empty())
        return {};
    const int units = static_cast<int>(utf16.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), units, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::string narrow(std::u16string_view utf16)
{
    return narrow(std::wstring_view(reinterpret_cast<const wchar_t*>(utf16.data()), utf16.size()));
}

bool key_held(int virtual_key) { return (GetAsyncKeyState(virtual_key) & 0x8000) != 0; }

bool key_held_at_message(int virtual_key) { return (GetKeyState(virtual_key) & 0x8000) != 0; }

}  // namespace platform::win32
