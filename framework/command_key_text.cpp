#include "framework/command_key_text.h"

#include "framework/nocase_text.h"

namespace qv {

std::string command_key_shortcut_text(std::string_view command_key)
{
    if (command_key.empty())
        return {};
    bool shift = false, alt = false;
    std::string_view key;
    size_t start = 0;
    for (;;) {
        size_t end = command_key.find_first_of("+-", start);
        const std::string_view field =
            command_key.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (equal_nocase(field, "Shift") || equal_nocase(field, "Shft"))
            shift = true;
        else if (equal_nocase(field, "Option") || equal_nocase(field, "Alt"))
            alt = true;
        // Control, Ctrl and Command name the Ctrl that every shortcut has anyway.
        key = field;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    std::string text = "Ctrl+";
    if (shift)
        text += "Shift+";
    if (alt)
        text += "Alt+";
    if (key.empty())
        text += '-';
    else
        text += key;
    return text;
}

std::string menu_displayed_text(std::string_view text, std::string_view shortcut_text)
{
    std::string displayed(text);
    if (!shortcut_text.empty()) {
        displayed += '\t';
        displayed += shortcut_text;
    }
    return displayed;
}

}  // namespace qv
