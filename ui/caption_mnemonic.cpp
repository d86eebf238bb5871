#include "ui/caption_mnemonic.h"

namespace qv::ui {
namespace {

// Bytes of the UTF-8 character starting with `lead`.
size_t character_length(unsigned char lead)
{
    if (lead < 0xC0)
        return 1;
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0)
        return 3;
    return 4;
}

}  // namespace

std::string mnemonic_shortcut(std::string_view caption)
{
    std::string marked;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&' || i + 1 >= caption.size())
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        const size_t n = character_length(static_cast<unsigned char>(caption[i + 1]));
        marked.assign(caption.substr(i + 1, n));
        if (marked.size() == 1 && marked[0] >= 'a' && marked[0] <= 'z')
            marked[0] = static_cast<char>(marked[0] - 'a' + 'A');
    }
    return marked.empty() ? std::string() : "Alt+" + marked;
}

}  // namespace qv::ui
