#include "ui/controls/wide_text.h"

#include <cstring>

namespace qv::ui {

std::wstring wide_text(const StringRef& text)
{
    const StringRef units = text.ToUTF16();
    std::wstring out(static_cast<size_t>(units.length() / 2), L'\0');
    if (!out.empty())
        std::memcpy(out.data(), units.WideText(), out.size() * sizeof(wchar_t));  // the units are not 2-aligned
    return out;
}

}  // namespace qv::ui
