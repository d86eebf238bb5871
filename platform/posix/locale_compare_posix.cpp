#include "platform/locale_compare.h"

#include <cwchar>
#include <cwctype>
#include <string>

namespace platform {
namespace {

std::wstring latin1_to_wide(const u8* text, i32 length, CaseMode mode)
{
    std::wstring out;
    out.reserve(static_cast<size_t>(length));
    for (i32 i = 0; i < length; ++i) {
        wchar_t c = text[i];
        out.push_back(mode == CaseMode::Ignore ? static_cast<wchar_t>(std::towupper(c)) : c);
    }
    return out;
}

}  // namespace

LocaleOrder compare_in_locale(const u8* a, i32 a_length, const u8* b, i32 b_length, CaseMode mode)
{
    const std::wstring wa = latin1_to_wide(a, a_length, mode);
    const std::wstring wb = latin1_to_wide(b, b_length, mode);
    // wcscoll stops at a zero character; texts with embedded zeros compare by their prefix.
    const int order = std::wcscoll(wa.c_str(), wb.c_str());
    if (order != 0)
        return order < 0 ? LocaleOrder::Less : LocaleOrder::Greater;
    return a_length < b_length ? LocaleOrder::Less : a_length > b_length ? LocaleOrder::Greater : LocaleOrder::Equal;
}

}  // namespace platform
