// The system code page's character services from Windows: lead bytes, case mapping and
// character types of the ANSI code page, and the user's number separators.
#include "platform/code_page_tables.h"
#include "platform/win32/windows_api.h"

#include <cstring>

namespace platform {
namespace {

// The one wide character that the bytes stand for, or false for an incomplete or unknown code.
bool to_wide(const u8* character, i32 length, WCHAR& out)
{
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(character), length, &out,
                               1) == 1;
}

std::string utf8_locale_info(LCTYPE type, const char* fallback)
{
    WCHAR wide[8] = {};
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, wide, 8);
    if (n <= 1)
        return fallback;
    char utf8[32];
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, n - 1, utf8, sizeof utf8, nullptr, nullptr);
    return bytes > 0 ? std::string(utf8, static_cast<size_t>(bytes)) : std::string(fallback);
}

}  // namespace

bool is_lead_byte(u8 byte) { return IsDBCSLeadByte(byte) != 0; }

// What CharUpperBuffA does (widen, map, narrow), one character at a time, so that a code the
// code page does not define, or a case form it cannot hold, leaves the bytes as they were
// instead of becoming a default character.
bool change_character_case(u8* character, i32 length, LetterCase target)
{
    WCHAR wide;
    if (length < 1 || length > 2 || !to_wide(character, length, wide))
        return false;
    WCHAR mapped = wide;
    if (target == LetterCase::Upper)
        CharUpperBuffW(&mapped, 1);
    else
        CharLowerBuffW(&mapped, 1);
    if (mapped == wide)
        return false;
    char narrow[4];
    BOOL used_default = FALSE;
    const int n =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &mapped, 1, narrow, sizeof narrow, nullptr, &used_default);
    if (n != length || used_default)
        return false;
    std::memcpy(character, narrow, static_cast<size_t>(length));
    return true;
}

bool is_space_character(const u8* character, i32 length)
{
    WCHAR wide;
    WORD type = 0;
    if (!to_wide(character, length, wide) || !GetStringTypeW(CT_CTYPE1, &wide, 1, &type))
        return false;
    return (type & (C1_SPACE | C1_BLANK)) != 0;
}

NumberSeparators number_separators()
{
    return {utf8_locale_info(LOCALE_SDECIMAL, "."), utf8_locale_info(LOCALE_STHOUSAND, ",")};
}

}  // namespace platform
