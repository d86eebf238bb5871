#include "platform/locale_compare.h"
#include "platform/win32/windows_api.h"

#include <vector>

namespace platform {
namespace {

bool widen_ansi(const u8* text, i32 length, std::vector<wchar_t>& out)
{
    out.clear();
    if (length == 0)
        return true;
    const char* bytes = reinterpret_cast<const char*>(text);
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
    if (n <= 0)
        return false;
    out.resize(static_cast<size_t>(n));
    return MultiByteToWideChar(CP_ACP, 0, bytes, length, out.data(), n) == n;
}

}  // namespace

LocaleOrder compare_in_locale(const u8* a, i32 a_length, const u8* b, i32 b_length, CaseMode mode)
{
    std::vector<wchar_t> wa, wb;
    if (!widen_ansi(a, a_length, wa) || !widen_ansi(b, b_length, wb))
        return LocaleOrder::Failed;
    const DWORD flags = mode == CaseMode::Ignore ? NORM_IGNORECASE : 0;
    switch (CompareStringW(LOCALE_SYSTEM_DEFAULT, flags, wa.data(), static_cast<int>(wa.size()), wb.data(),
                           static_cast<int>(wb.size()))) {
    case CSTR_LESS_THAN: return LocaleOrder::Less;
    case CSTR_EQUAL:
        return wa.size() < wb.size() ? LocaleOrder::Less
            : wa.size() > wb.size()  ? LocaleOrder::Greater
                                     : LocaleOrder::Equal;
    case CSTR_GREATER_THAN: return LocaleOrder::Greater;
    default: return LocaleOrder::Failed;
    }
}

}  // namespace platform
