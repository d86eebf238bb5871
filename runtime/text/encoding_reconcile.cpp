#include "runtime/text/encoding_reconcile.h"

#include <cstring>
#include <vector>

#include "runtime/diagnostics/assertion.h"
#include "runtime/text/utf.h"

namespace qv {
namespace {

bool is_ascii_or_utf8(u32 tag) { return tag == kEncodingASCII || tag == kEncodingUTF8; }

StringRef retagged_copy(const StringRef& s, u32 tag)
{
    StringRef copy = StringRef::FromBytes(s.bytes(), s.length());
    copy.set_encoding(tag);
    return copy;
}

std::vector<u16> wide_units(const StringRef& s)
{
    std::vector<u16> units(static_cast<size_t>(s.length() / 2));
    if (!units.empty())
        std::memcpy(units.data(), s.bytes(), units.size() * 2);
    return units;
}

StringRef utf8_from_units(const std::vector<u16>& units)
{
    std::vector<u8> bytes = utf16_to_utf8(units.data(), static_cast<i32>(units.size()));
    StringRef out = StringRef::FromBytes(bytes.data(), static_cast<i32>(bytes.size()));
    out.set_encoding(kEncodingUTF8);
    return out;
}

}  // namespace

u32 Combine(u32 a, u32 b, bool allowUnicode)
{
    if (a == b)
        return a;
    if (is_ascii_or_utf8(a) && is_ascii_or_utf8(b))
        return kEncodingUTF8;
    if (a == kEncodingASCII && !is_unicode_base(b))
        return b;
    if (b == kEncodingASCII && !is_unicode_base(a))
        return a;
    if (!allowUnicode)
        return kEncodingUnknown;
    if ((a == kEncodingUTF16 || b == kEncodingUTF16) && a != kEncodingUTF8 && b != kEncodingUTF8)
        return kEncodingUTF16;
    return kEncodingUTF8;
}

u32 Reconcile(StringRef* s1, StringRef* s2)
{
    if (!s1 || !s2) {
        assertion_failed("TextEncodingUtil", 1118, "s1 and s2");
        return kEncodingUnknown;
    }
    if (s1->is_nil())
        return s2->encoding();  // ASCII when both are nil
    if (s2->is_nil())
        return s1->encoding();
    const u32 a = s1->encoding();
    const u32 b = s2->encoding();
    if (a == b)
        return a;
    if (a == kEncodingUnknown || b == kEncodingUnknown)
        return kEncodingUnknown;
    const u32 combined = Combine(a, b, false);
    if (combined != kEncodingUnknown)
        return combined;
    const u32 target = ((a == kEncodingUTF16 || b == kEncodingUTF16) && a != kEncodingUTF8 &&
                        b != kEncodingUTF8)
                           ? kEncodingUTF16
                           : kEncodingUTF8;
    StringRef converted1 = *s1;
    if (a != target) {
        converted1 = convert_encoding(*s1, target);
        if (converted1.is_nil())
            return kEncodingUnknown;
    }
    StringRef converted2 = *s2;
    if (b != target) {
        converted2 = convert_encoding(*s2, target);
        if (converted2.is_nil())
            return kEncodingUnknown;
    }
    *s1 = std::move(converted1);
    *s2 = std::move(converted2);
    return target;
}

StringRef convert_encoding(const StringRef& s, u32 target)
{
    if (s.is_nil())
        return {};
    const u32 source = s.encoding();
    if (source == target)
        return s;
    if (source == kEncodingUnknown || target == kEncodingUnknown)
        return {};
    const bool source_is_8bit_unicode = is_ascii_or_utf8(source);
    if (source_is_8bit_unicode && is_ascii_or_utf8(target)) {
        if (target == kEncodingASCII && !s.IsSevenBit())
            return {};
        return retagged_copy(s, target);
    }
    if (source_is_8bit_unicode && target == kEncodingUTF16) {
        std::vector<u16> units = utf8_to_utf16(s.bytes(), s.length());
        return StringRef::FromWide(units.data(), static_cast<i32>(units.size()));
    }
    if (source == kEncodingUTF16 && target == kEncodingUTF8)
        return utf8_from_units(wide_units(s));
    if (source == kEncodingUTF16 && target == kEncodingASCII) {
        StringRef utf8 = utf8_from_units(wide_units(s));
        return utf8.IsSevenBit() ? retagged_copy(utf8, kEncodingASCII) : StringRef{};
    }
    // Code pages arrive with the platform conversions.
    return {};
}

}  // namespace qv
