// Code pages on Windows: the system's own conversions, with flags 0 (bad input is replaced,
// never refused; characters a code page lacks get a best-fit look-alike or "?").
#include "platform/code_pages.h"
#include "platform/win32/windows_api.h"

namespace platform {
namespace {

// UTF-16 and UTF-8 belong to the portable runtime (see code_pages.h); IsValidCodePage says
// no to 1200 anyway.
bool convertible(u32 code_page)
{
    return code_page != kCodePageUTF16 && code_page != kCodePageUTF8 && IsValidCodePage(code_page);
}

}  // namespace

bool is_valid_code_page(u32 code_page) { return convertible(code_page); }

bool decode_code_page(u32 code_page, const u8* bytes, i32 length, std::vector<u16>& out)
{
    out.clear();
    if (!convertible(code_page))
        return false;
    if (length <= 0)
        return true;
    const char* text = reinterpret_cast<const char*>(bytes);
    const int n = MultiByteToWideChar(code_page, 0, text, length, nullptr, 0);
    if (n <= 0)
        return false;
    out.resize(static_cast<size_t>(n));
    if (MultiByteToWideChar(code_page, 0, text, length, reinterpret_cast<wchar_t*>(out.data()), n) != n) {
        out.clear();
        return false;
    }
    return true;
}

bool encode_code_page(u32 code_page, const u16* units, i32 count, std::vector<u8>& out)
{
    out.clear();
    if (!convertible(code_page))
        return false;
    if (count <= 0)
        return true;
    const wchar_t* text = reinterpret_cast<const wchar_t*>(units);
    const int n = WideCharToMultiByte(code_page, 0, text, count, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return false;
    out.resize(static_cast<size_t>(n));
    if (WideCharToMultiByte(code_page, 0, text, count, reinterpret_cast<char*>(out.data()), n, nullptr, nullptr) != n) {
        out.clear();
        return false;
    }
    return true;
}

u16 user_default_language() { return GetUserDefaultLangID(); }

}  // namespace platform
