#include "runtime/strings/string_compare.h"

#include <array>
#include <cstring>

#include "platform/locale_compare.h"
#include "runtime/strings/encoding_reconcile.h"
#include "runtime/text/unicode_case.h"
#include "runtime/text/utf.h"

namespace qv {
namespace {

constexpr std::array<u8, 256> make_upper_table()
{
    std::array<u8, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<u8>(i);
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<u8>(c - 'a' + 'A');
    // Mac OS Roman lower-case letters and their capitals.
    constexpr u8 roman[][2] = {
        {0x87, 0xE7}, {0x88, 0xCB}, {0x89, 0xE5}, {0x8A, 0x80}, {0x8B, 0xCC}, {0x8C, 0x81}, {0x8D, 0x82}, {0x8E, 0x83},
        {0x8F, 0xE9}, {0x90, 0xE6}, {0x91, 0xE8}, {0x92, 0xEA}, {0x93, 0xED}, {0x94, 0xEB}, {0x95, 0xEC}, {0x96, 0x84},
        {0x97, 0xEE}, {0x98, 0xF1}, {0x99, 0xEF}, {0x9A, 0x85}, {0x9B, 0xCD}, {0x9C, 0xF2}, {0x9D, 0xF4}, {0x9E, 0xF3},
        {0x9F, 0x86}, {0xBE, 0xAE}, {0xBF, 0xAF}, {0xCF, 0xCE}, {0xD8, 0xD9}, {0xF5, 0x49},
    };
    for (const auto& pair : roman)
        table[pair[0]] = pair[1];
    return table;
}

constexpr std::array<u8, 256> kUpperTable = make_upper_table();

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

template <typename Map>
int compare_bytes(const StringRef& a, const StringRef& b, Map map)
{
    const u8* x = a.bytes();
    const u8* y = b.bytes();
    const i32 common = a.length() < b.length() ? a.length() : b.length();
    for (i32 i = 0; i < common; ++i) {
        const u8 cx = map(x[i]), cy = map(y[i]);
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    return sign(a.length() - b.length());
}

int compare_internal(const StringRef& a, const StringRef& b, bool ignore_case)
{
    if (a.get() == b.get())
        return 0;
    auto identity = [](u8 c) { return c; };
    auto upper = [](u8 c) { return kUpperTable[c]; };
    const u32 ea = a.encoding(), eb = b.encoding();
    if (ea == eb || ea == kEncodingUnknown || eb == kEncodingUnknown)
        return ignore_case ? compare_bytes(a, b, upper) : compare_bytes(a, b, identity);
    StringRef x = a, y = b;
    Reconcile(&x, &y);
    return ignore_case ? compare_bytes(x, y, upper) : compare_bytes(x, y, identity);
}

int compare_utf8_nocase(const StringRef& a, const StringRef& b)
{
    const u8* x = a.bytes();
    const u8* y = b.bytes();
    i32 i = 0, j = 0;
    while (i < a.length() && j < b.length()) {
        const DecodedChar cx = decode_utf8_lenient(x + i, a.length() - i);
        const DecodedChar cy = decode_utf8_lenient(y + j, b.length() - j);
        if (cx.code_point != cy.code_point) {
            const u32 ux = unicode_to_upper(cx.code_point), uy = unicode_to_upper(cy.code_point);
            if (ux != uy)
                return ux < uy ? -1 : 1;
        }
        i += cx.size;
        j += cy.size;
    }
    return sign(a.length() - b.length());
}

// UTF-16 units, optionally through the Unicode upper-case mapping; then the shorter first.
int compare_utf16(const StringRef& a, const StringRef& b, bool ignore_case)
{
    const i32 na = a.length() / 2, nb = b.length() / 2;
    const i32 common = na < nb ? na : nb;
    for (i32 k = 0; k < common; ++k) {
        u16 ux, uy;
        std::memcpy(&ux, a.bytes() + 2 * k, 2);
        std::memcpy(&uy, b.bytes() + 2 * k, 2);
        if (ux == uy)
            continue;
        const u32 mx = ignore_case ? unicode_to_upper(ux) : ux, my = ignore_case ? unicode_to_upper(uy) : uy;
        if (mx != my)
            return mx < my ? -1 : 1;
    }
    return sign(na - nb);
}

int compare_utf8_exact(const StringRef& a, const StringRef& b)
{
    i32 i = 0, j = 0;
    while (i < a.length() && j < b.length()) {
        const DecodedChar cx = decode_utf8_lenient(a.bytes() + i, a.length() - i);
        const DecodedChar cy = decode_utf8_lenient(b.bytes() + j, b.length() - j);
        if (cx.code_point != cy.code_point)
            return cx.code_point < cy.code_point ? -1 : 1;
        i += cx.size;
        j += cy.size;
    }
    return i < a.length() ? 1 : j < b.length() ? -1 : 0;
}

}  // namespace

u8 upper_case_byte(u8 byte) { return kUpperTable[byte]; }

int compare_cstrings_nocase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const u8 x = kUpperTable[static_cast<u8>(*a)], y = kUpperTable[static_cast<u8>(*b)];
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

// Code-page text: the locale's order; a failed comparison counts as equal.
static int compare_in_locale(const StringRef& x, const StringRef& y, platform::CaseMode mode)
{
    switch (platform::compare_in_locale(x.bytes(), x.length(), y.bytes(), y.length(), mode)) {
    case platform::LocaleOrder::Less: return -1;
    case platform::LocaleOrder::Greater: return 1;
    default: return 0;
    }
}

int compare_strings_nocase(const StringRef& a, const StringRef& b)
{
    if (a.get() == b.get())
        return 0;
    if (a.is_nil())
        return -1;
    if (b.is_nil())
        return 1;
    StringRef x = a, y = b;
    const u32 encoding = Reconcile(&x, &y);
    if (encoding == kEncodingUTF8)
        return compare_utf8_nocase(x, y);
    if (encoding == kEncodingUTF16)
        return compare_utf16(x, y, true);
    return compare_in_locale(x, y, platform::CaseMode::Ignore);
}

int compare_strings_strcomp(const StringRef& a, const StringRef& b, i32 mode)
{
    if (a.get() == b.get())
        return 0;
    if (a.length() == 0 || b.length() == 0)
        return sign(a.length() - b.length());
    if (mode == 0)
        return compare_bytes(a, b, [](u8 c) { return c; });
    StringRef x = a, y = b;
    const u32 encoding = Reconcile(&x, &y);
    if (encoding == kEncodingUTF8)
        return compare_utf8_exact(x, y);
    if (encoding == kEncodingUTF16)
        return compare_utf16(x, y, false);
    return compare_in_locale(x, y, platform::CaseMode::Sensitive);
}

int StringRef::CompareExact(const StringRef& other) const { return compare_internal(*this, other, false); }
int StringRef::CompareNoCase(const StringRef& other) const { return compare_internal(*this, other, true); }

}  // namespace qv
