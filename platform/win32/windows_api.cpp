#include "platform/win32/windows_api.h"

#include <cstring>

namespace platform::win32 {

std::wstring widen(const char* utf8)
{
    if (!utf8 || !*utf8)
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

}  // namespace platform::win32
