// Variants as keys: the hash and the equality that dictionaries find entries by. Strings are
// equal ignoring case, so the hash must not tell case apart either: it folds every byte through
// the same upper-casing table the comparison uses (for 7-bit text, a-z to A-Z), and hashes
// UTF-16 text, and text of other encodings that the comparison would convert, in its UTF-8
// form. Consequently "Key" tagged UTF-16 and "KEY" tagged ASCII hash alike, as they compare
// alike. Not caught: text tagged unknown compares by its raw bytes against text of any
// encoding, so unknown bytes that spell UTF-16 equal a UTF-16 string but hash differently.
#include <cstring>

#include "runtime/objects/exception_foundation.h"
#include "runtime/strings/string_compare.h"
#include "runtime/variants/variant_object.h"

namespace qv {
namespace {

StringRef hash_form(const StringRef& text)
{
    const u32 tag = text.encoding();
    const bool converted = tag == kEncodingUTF16 ||
        (tag != kEncodingUTF8 && tag != kEncodingASCII && tag != kEncodingUnknown && !text.IsSevenBit());
    if (!converted)
        return text;
    StringRef utf8 = text.ToUTF8();
    return utf8.is_nil() ? text : utf8;  // unconvertible text compares by its bytes too
}

u32 hash_text(const StringRef& text)
{
    const StringRef form = hash_form(text);
    const u8* bytes = form.bytes();
    u32 h = 0;
    for (i32 i = 0; i < form.length(); ++i)
        h = (h << 2) ^ static_cast<u32>(static_cast<i32>(static_cast<i8>(upper_case_byte(bytes[i]))));
    return h;
}

}  // namespace
}  // namespace qv

using namespace qv;

extern "C" {

uint32_t VariantHash(RuntimeObject* v)
{
    if (!v) {
        RaiseNilObject();
        return 0;
    }
    if (type_of(v) == QV_VARIANT_STRING)
        return hash_text(StringRef::share(string_of(v)));
    const u32* words = as_variant(v)->value;
    return ((words[0] << 16) | (words[0] >> 16)) ^ words[1] ^ words[2];
}

int32_t VariantEqual(RuntimeObject* a, RuntimeObject* b)
{
    if (a == b)
        return 1;
    if (!a || !b || type_of(a) != type_of(b))
        return 0;
    if (type_of(a) == QV_VARIANT_STRING)
        return StringRef::share(string_of(a)).CompareNoCase(StringRef::share(string_of(b))) == 0;
    return std::memcmp(as_variant(a)->value, as_variant(b)->value, sizeof as_variant(a)->value) == 0;
}

}  // extern "C"
