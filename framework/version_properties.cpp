#include "framework/version_properties.h"

#include "framework/nocase_text.h"

namespace qv {
namespace {

std::string_view dot_field(std::string_view text, int index)
{
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const size_t dot = text.find('.', start);
        if (dot == std::string_view::npos)
            return {};
        start = dot + 1;
    }
    const size_t end = text.find('.', start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

i32 stage_code(std::string_view release)
{
    constexpr std::string_view kStages[] = {"Development", "Alpha", "Beta", "Final"};
    for (i32 i = 0; i < 4; ++i)
        if (equal_nocase(release, kStages[i]))
            return i;
    return -1;
}

}  // namespace

std::string version_value_path(std::string_view value_name)
{
    std::string path = "\\StringFileInfo\\040904E4\\";
    path += value_name;
    return path;
}

i32 leading_integer(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    u32 value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + static_cast<u32>(text[i] - '0');
    return static_cast<i32>(negative ? 0u - value : value);
}

i32 version_integer(i32 selector, std::string_view file_version, std::string_view release)
{
    switch (selector) {
    case 0:
    case 1:
    case 2: return leading_integer(dot_field(file_version, selector));
    case 3: return stage_code(release);
    case 4: return leading_integer(dot_field(file_version, 3));
    default:  // 5, RegionCode, and anything else
        return -1;
    }
}

std::string_view version_string_value_name(i32 selector)
{
    switch (selector) {
    case 0: return "Product Version";
    case 1: return "LegalCopyright";
    case 2: return "FileDescription";
    default: return {};
    }
}

}  // namespace qv
