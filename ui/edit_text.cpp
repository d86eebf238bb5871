#include "ui/edit_text.h"

namespace qv::ui {

void to_runtime_line_ends(std::u16string& text)
{
    size_t out = 0;
    for (size_t in = 0; in < text.size(); ++in) {
        const char16_t c = text[in];
        if (c == u'\r' && in + 1 < text.size() && text[in + 1] == u'\n')
            ++in;
        text[out++] = c == u'\n' ? u'\r' : c;
    }
    text.resize(out);
}

std::u16string masked_text(std::u16string_view text)
{
    std::u16string masked(text);
    for (char16_t& c : masked) {
        if (c >= 32)
            c = u'*';
    }
    return masked;
}

void replace_range(std::u16string& text, i32 start, i32 length, std::u16string_view insert)
{
    const size_t size = text.size();
    const size_t from = start < 0 ? 0 : static_cast<size_t>(start) > size ? size : static_cast<size_t>(start);
    size_t count = length < 0 ? 0 : static_cast<size_t>(length);
    if (count > size - from)
        count = size - from;
    text.replace(from, count, insert);
}

}  // namespace qv::ui
