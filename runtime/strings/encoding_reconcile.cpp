#include "runtime/strings/encoding_reconcile.h"

#include "runtime/diagnostics/assertion.h"

namespace qv {
namespace {

bool is_ascii_or_utf8(u32 tag) { return tag == kEncodingASCII || tag == kEncodingUTF8; }

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
    const u32 target = ((a == kEncodingUTF16 || b == kEncodingUTF16) && a != kEncodingUTF8 && b != kEncodingUTF8)
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

}  // namespace qv
