#include "runtime/text/utf.h"

namespace qv {
namespace {

constexpr u32 kReplacement = 0xFFFD;

bool is_continuation(u8 b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed sequence at text, or 0 with `consumed` set to the length of the
// maximal ill-formed subpart (at least 1).
i32 well_formed_length(const u8* text, i32 available, i32& consumed, u32& cp)
{
    const u8 b0 = text[0];
    consumed = 1;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    i32 need;
    u8 lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 3;
        cp = b0 & 0x0F;
        if (b0 == 0xE0)
            lo = 0xA0;
        else if (b0 == 0xED)
            hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 4;
        cp = b0 & 0x07;
        if (b0 == 0xF0)
            lo = 0x90;
        else if (b0 == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    for (i32 i = 1; i < need; ++i) {
        if (i >= available)
            return 0;
        const u8 b = text[i];
        if (b < (i == 1 ? lo : 0x80) || b > (i == 1 ? hi : 0xBF))
            return 0;
        cp = (cp << 6) | (b & 0x3F);
        consumed = i + 1;
    }
    return need;
}

}  // namespace

DecodedChar decode_utf8_lenient(const u8* text, i32 available)
{
    const u8 b0 = text[0];
    i32 need = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC0 ? 2 : 1;
    if (need == 1 || b0 > 0xF7 || need > available)
        return {b0, 1};
    u32 cp = b0 & (0x7F >> need);
    for (i32 i = 1; i < need; ++i) {
        if (!is_continuation(text[i]))
            return {b0, 1};
        cp = (cp << 6) | (text[i] & 0x3F);
    }
    return {cp, need};
}

i32 encode_utf8_unchecked(u32 cp, u8 (&out)[4])
{
    if (cp > 0x1FFFFF)
        return 0;
    if (cp < 0x10000) {
        if (cp < 0x80) {
            out[0] = static_cast<u8>(cp);
            return 1;
        }
        if (cp < 0x800) {
            out[0] = static_cast<u8>(0xC0 | (cp >> 6));
            out[1] = static_cast<u8>(0x80 | (cp & 0x3F));
            return 2;
        }
        out[0] = static_cast<u8>(0xE0 | (cp >> 12));
        out[1] = static_cast<u8>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<u8>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<u8>(0xF0 | (cp >> 18));
    out[1] = static_cast<u8>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<u8>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<u8>(0x80 | (cp & 0x3F));
    return 4;
}

i32 encode_utf8(u32 cp, u8 (&out)[4])
{
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        cp = kReplacement;
    return encode_utf8_unchecked(cp, out);
}

void append_utf8(std::vector<u8>& out, u32 code_point)
{
    u8 bytes[4];
    const i32 n = encode_utf8(code_point, bytes);
    out.insert(out.end(), bytes, bytes + n);
}

std::vector<u16> utf8_to_utf16(const u8* text, i32 length)
{
    std::vector<u16> out;
    out.reserve(static_cast<size_t>(length));
    i32 i = 0;
    while (i < length) {
        i32 consumed;
        u32 cp;
        if (well_formed_length(text + i, length - i, consumed, cp) == 0) {
            out.push_back(static_cast<u16>(kReplacement));
            i += consumed;
            continue;
        }
        i += consumed;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<u16>(0xD800 | (cp >> 10)));
            out.push_back(static_cast<u16>(0xDC00 | (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<u16>(cp));
        }
    }
    return out;
}

std::vector<u8> utf16_to_utf8(const u16* units, i32 count)
{
    std::vector<u8> out;
    out.reserve(static_cast<size_t>(count) * 3);
    for (i32 i = 0; i < count; ++i) {
        u32 cp = units[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        append_utf8(out, cp);  // a lone surrogate becomes U+FFFD
    }
    return out;
}

}  // namespace qv
