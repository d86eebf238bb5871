#include "debugger/hex_values.h"

namespace qv::debugger {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int digit_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

void append_hex(std::string& out, u64 value, int bytes)
{
    for (int shift = bytes * 8 - 4; shift >= 0; shift -= 4)
        out.push_back(kDigits[(value >> shift) & 0xF]);
}

std::string format_hex(u64 value, int bytes)
{
    std::string out;
    append_hex(out, value, bytes);
    return out;
}

std::optional<u64> decode_hex(std::string_view text, int bytes)
{
    if (text.empty() || bytes < 1 || bytes > 8)
        return std::nullopt;
    u64 value = 0;
    const size_t digits = static_cast<size_t>(bytes) * 2;
    const size_t first_kept = text.size() > digits ? text.size() - digits : 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const int digit = digit_value(text[i]);
        if (digit < 0)
            return std::nullopt;
        if (i >= first_kept)
            value = (value << 4) | static_cast<u64>(digit);
    }
    return value;
}

void append_string_value(std::string& out, u32 encoding, std::string_view bytes)
{
    append_hex(out, encoding, 4);
    out.push_back(':');
    for (const char c : bytes)
        append_hex(out, static_cast<u8>(c), 1);
}

std::string format_string_value(u32 encoding, std::string_view bytes)
{
    std::string out;
    append_string_value(out, encoding, bytes);
    return out;
}

std::optional<StringValue> decode_string_value(std::string_view text)
{
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const std::optional<u64> tag = decode_hex(text.substr(0, colon), 4);
    const std::string_view digits = text.substr(colon + 1);
    if (!tag || digits.size() % 2 != 0)
        return std::nullopt;
    StringValue value;
    value.encoding = static_cast<u32>(*tag);
    value.bytes.reserve(digits.size() / 2);
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int high = digit_value(digits[i]);
        const int low = digit_value(digits[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        value.bytes.push_back(static_cast<char>(high << 4 | low));
    }
    return value;
}

}  // namespace qv::debugger
