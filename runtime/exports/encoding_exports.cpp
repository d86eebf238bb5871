// Exported encoding routines: the string library's Encoding, DefineEncoding and
// ConvertEncoding, the TextEncoding, TextConverter and _Encodings routines, and the plug-in
// interface's conversions. Arguments are borrowed; string and object results are new counts
// the caller owns.
#include <cstring>
#include <vector>

#include "runtime/encodings/text_encoding_objects.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/strings/encoding_conversion.h"
#include "runtime/strings/string_ref.h"
#include "runtime/text/encoding_tags.h"
#include "runtime/text/japanese_encodings.h"
#include "runtime/text/utf.h"

using qv::StringRef;
using qv::TextEncodingObject;

namespace {

RuntimeObject* as_object(TextEncodingObject* encoding) { return encoding ? &encoding->header : nullptr; }

const TextEncodingObject* encoding_fields(RuntimeObject* encoding)
{
    if (!encoding)
        qv::RaiseNilObject();
    return reinterpret_cast<const TextEncodingObject*>(encoding);
}

bool is_unicode_encoding_base(u32 base)
{
    const u32 low = base & 0xFFFF;
    return low == 256 || low == 257 || low == 259;
}

// The Unicode format of an encoding: the tag's format bits when it has them (the shared UTF-8
// object is made with format 0), else the stored format.
u32 unicode_format(const TextEncodingObject& encoding)
{
    const u32 from_tag = encoding.tag >> 26;
    return from_tag ? from_tag : encoding.format;
}

RuntimeString* tagged_bytes(const void* bytes, i32 n, u32 tag)
{
    StringRef s = StringRef::FromBytes(bytes, n);
    s.set_encoding(tag);
    return s.leak();
}

// The _Encodings properties, in order: a shared object for a tag, or a new one.
struct EncodingsEntry {
    enum Kind : u8 { Shared, New, SystemDefault } kind;
    u32 base;  // the tag for a shared entry
    u32 format;
};

// clang-format off
constexpr EncodingsEntry kEncodingsEntries[qv::kEncodingsPropertyCount] = {
    {EncodingsEntry::Shared, qv::kEncodingUTF8, 0}, {EncodingsEntry::Shared, qv::kEncodingUTF16, 0},
    {EncodingsEntry::New, 256, 3},
    // Mac OS
    {EncodingsEntry::New, 0, 0}, {EncodingsEntry::New, 1, 0}, {EncodingsEntry::New, 2, 0},
    {EncodingsEntry::New, 3, 0}, {EncodingsEntry::New, 4, 0}, {EncodingsEntry::New, 5, 0},
    {EncodingsEntry::New, 6, 0}, {EncodingsEntry::New, 7, 0}, {EncodingsEntry::New, 9, 0},
    {EncodingsEntry::New, 10, 0}, {EncodingsEntry::New, 11, 0}, {EncodingsEntry::New, 12, 0},
    {EncodingsEntry::New, 13, 0}, {EncodingsEntry::New, 14, 0}, {EncodingsEntry::New, 15, 0},
    {EncodingsEntry::New, 16, 0}, {EncodingsEntry::New, 17, 0}, {EncodingsEntry::New, 18, 0},
    {EncodingsEntry::New, 19, 0}, {EncodingsEntry::New, 20, 0}, {EncodingsEntry::New, 21, 0},
    {EncodingsEntry::New, 22, 0}, {EncodingsEntry::New, 23, 0}, {EncodingsEntry::New, 24, 0},
    {EncodingsEntry::New, 25, 0}, {EncodingsEntry::New, 26, 0}, {EncodingsEntry::New, 27, 0},
    {EncodingsEntry::New, 28, 0}, {EncodingsEntry::New, 29, 0}, {EncodingsEntry::New, 30, 0},
    {EncodingsEntry::New, 31, 0}, {EncodingsEntry::New, 33, 0}, {EncodingsEntry::New, 34, 0},
    {EncodingsEntry::New, 35, 0}, {EncodingsEntry::New, 36, 0}, {EncodingsEntry::New, 37, 0},
    {EncodingsEntry::New, 38, 0}, {EncodingsEntry::New, 39, 0}, {EncodingsEntry::New, 40, 0},
    // ISO 8859
    {EncodingsEntry::New, 513, 0}, {EncodingsEntry::New, 514, 0}, {EncodingsEntry::New, 515, 0},
    {EncodingsEntry::New, 516, 0}, {EncodingsEntry::New, 517, 0}, {EncodingsEntry::New, 518, 0},
    {EncodingsEntry::New, 519, 0}, {EncodingsEntry::New, 520, 0}, {EncodingsEntry::New, 521, 0},
    {EncodingsEntry::New, 522, 0}, {EncodingsEntry::New, 525, 0}, {EncodingsEntry::New, 526, 0},
    {EncodingsEntry::New, 527, 0},
    // DOS
    {EncodingsEntry::New, 1024, 0}, {EncodingsEntry::New, 1029, 0}, {EncodingsEntry::New, 1030, 0},
    {EncodingsEntry::New, 1040, 0}, {EncodingsEntry::New, 1041, 0}, {EncodingsEntry::New, 1042, 0},
    {EncodingsEntry::New, 1043, 0}, {EncodingsEntry::New, 1044, 0}, {EncodingsEntry::New, 1045, 0},
    {EncodingsEntry::New, 1046, 0}, {EncodingsEntry::New, 1047, 0}, {EncodingsEntry::New, 1048, 0},
    {EncodingsEntry::New, 1049, 0}, {EncodingsEntry::New, 1050, 0}, {EncodingsEntry::New, 1051, 0},
    {EncodingsEntry::New, 1052, 0}, {EncodingsEntry::New, 1053, 0}, {EncodingsEntry::New, 1056, 0},
    {EncodingsEntry::New, 1057, 0}, {EncodingsEntry::New, 1058, 0}, {EncodingsEntry::New, 1059, 0},
    // Windows
    {EncodingsEntry::New, 1280, 0}, {EncodingsEntry::New, 1280, 0}, {EncodingsEntry::New, 1281, 0},
    {EncodingsEntry::New, 1282, 0}, {EncodingsEntry::New, 1283, 0}, {EncodingsEntry::New, 1284, 0},
    {EncodingsEntry::New, 1285, 0}, {EncodingsEntry::New, 1286, 0}, {EncodingsEntry::New, 1287, 0},
    {EncodingsEntry::New, 1288, 0}, {EncodingsEntry::New, 1296, 0},
    // the rest
    {EncodingsEntry::Shared, qv::kEncodingASCII, 0}, {EncodingsEntry::New, 2561, 0},
    {EncodingsEntry::New, 2562, 0}, {EncodingsEntry::New, 2564, 0},
    {EncodingsEntry::SystemDefault, 0, 0},
};
// clang-format on

}  // namespace

extern "C" {

// ---- String library ------------------------------------------------------------------

RuntimeObject* StringGetEncoding(RuntimeString* s)
{
    return as_object(qv::shared_text_encoding(qv::string_encoding(s)));
}

RuntimeString* StringSetEncoding(RuntimeString* s, RuntimeObject* encoding)
{
    if (!s)
        return nullptr;
    const u32 tag = qv::tag_of(encoding);
    if (tag != s->encoding) {
        if (s->refCount > 1)
            return tagged_bytes(qv::string_bytes(s), s->length, tag);
        s->encoding = tag;  // the caller is the only holder
    }
    qv::retain_string(s);
    return s;
}

RuntimeString* StringConvertEncoding(RuntimeString* s, RuntimeObject* encoding)
{
    if (!s)
        return nullptr;
    return qv::convert_encoding(StringRef::share(s), qv::tag_of(encoding)).leak();
}

RuntimeString* QuavConvertString(RuntimeString* s, uint32_t encoding)
{
    return qv::convert_encoding(StringRef::share(s), encoding).leak();
}

// ---- TextEncoding --------------------------------------------------------------------

RuntimeObject* getTextEncoding(int32_t base, int32_t variant, int32_t format)
{
    return as_object(
        qv::new_text_encoding(static_cast<u32>(base), static_cast<u32>(variant), static_cast<u32>(format)));
}

RuntimeObject* getInternetTextEncoding(RuntimeString*)
{
    return nullptr;  // no Internet names on this platform
}

RuntimeObject* getFontTextEncoding(RuntimeString* fontName)
{
    const u32 tag = qv::font_text_encoding(fontName != nullptr);
    return tag == qv::kEncodingUnknown ? nullptr : as_object(qv::new_text_encoding(tag, 0, 0));
}

uint32_t QuavGetFontEncoding(RuntimeString* fontName) { return qv::font_text_encoding(fontName != nullptr); }

RuntimeString* textEncodingInternetName(RuntimeObject*, int32_t)
{
    return nullptr;  // no Internet names on this platform
}

int32_t textEncodingBaseGetter(RuntimeObject* encoding, int32_t)
{
    const TextEncodingObject* e = encoding_fields(encoding);
    return e ? static_cast<int32_t>(e->base) : 0;
}

int32_t textEncodingVariantGetter(RuntimeObject* encoding, int32_t)
{
    const TextEncodingObject* e = encoding_fields(encoding);
    return e ? static_cast<int32_t>(e->variant) : 0;
}

int32_t textEncodingFormatGetter(RuntimeObject* encoding, int32_t)
{
    const TextEncodingObject* e = encoding_fields(encoding);
    return e ? static_cast<int32_t>(e->format) : 0;
}

RuntimeString* TextEncodingChr(RuntimeObject* encoding, int32_t code)
{
    const TextEncodingObject* e = encoding_fields(encoding);
    if (!e)
        return nullptr;
    const u32 value = static_cast<u32>(code);
    if (!is_unicode_encoding_base(e->base)) {
        // Most significant byte first, without leading zero bytes (one byte at least).
        u8 bytes[4] = {static_cast<u8>(value >> 24), static_cast<u8>(value >> 16), static_cast<u8>(value >> 8),
                       static_cast<u8>(value)};
        i32 skip = 0;
        while (skip < 3 && bytes[skip] == 0)
            ++skip;
        return tagged_bytes(bytes + skip, 4 - skip, e->tag);
    }
    switch (unicode_format(*e)) {
    case 3: return tagged_bytes(&value, 4, e->tag);
    case 1:
    case 2: {
        u8 bytes[4];
        return tagged_bytes(bytes, qv::encode_utf8_unchecked(value, bytes), e->tag);
    }
    default: {
        const u16 unit = static_cast<u16>(value);
        StringRef s = StringRef::FromWide(&unit, 1);
        s.set_encoding(e->tag);
        return s.leak();
    }
    }
}

int32_t TextEncodingEquals(RuntimeObject* a, RuntimeObject* b)
{
    if (a == b)
        return 1;
    return a && b && qv::tag_of(a) == qv::tag_of(b);
}

uint32_t GetEncodingFromTEObject(RuntimeObject* encoding) { return qv::tag_of(encoding); }

RuntimeObject* guessJapaneseEncoding(RuntimeString* s)
{
    const u32 tag = qv::guess_japanese_encoding(qv::string_bytes(s), qv::string_length(s));
    return tag ? as_object(qv::new_text_encoding(tag, 0, 0)) : nullptr;
}

// ---- TextConverter -------------------------------------------------------------------

RuntimeObject* getTextConverter(RuntimeObject* input, RuntimeObject* output)
{
    const u32 in_tag = qv::tag_of(input);
    const u32 out_tag = qv::tag_of(output);
    const u32 in_page = qv::code_page_of_tag(in_tag);
    const u32 out_page = qv::code_page_of_tag(out_tag);
    const bool possible = in_page == out_page ||
        (qv::is_japanese_code_page(in_page) && qv::is_japanese_code_page(out_page)) ||
        (qv::is_usable_code_page(in_page) && qv::is_usable_code_page(out_page));
    if (!possible)
        return nullptr;
    auto* converter = reinterpret_cast<qv::TextConverterObject*>(RuntimeNewObject(qv::text_converter_class()));
    if (!converter)
        return nullptr;
    converter->input = in_tag;
    converter->output = out_tag;
    return &converter->header;
}

RuntimeString* textConverterConvert(RuntimeObject* converter, RuntimeString* s)
{
    if (!converter) {
        qv::RaiseNilObject();
        return nullptr;
    }
    if (!s)
        return nullptr;
    const auto* c = reinterpret_cast<const qv::TextConverterObject*>(converter);
    if (c->input != c->output)
        return qv::convert_code_pages(StringRef::share(s), c->input, c->output).leak();
    if (s->encoding == c->output) {
        qv::retain_string(s);
        return s;
    }
    return tagged_bytes(qv::string_bytes(s), s->length, c->output);
}

void textConverterClear(RuntimeObject*) { }

// ---- _Encodings ----------------------------------------------------------------------

RuntimeObject* GetEncodingsObject(void) { return RuntimeNewObject(qv::encodings_class()); }

RuntimeObject* EncodingsGetter(RuntimeObject*, int32_t index)
{
    if (index < 1 || index > qv::kEncodingsPropertyCount)
        return nullptr;
    const EncodingsEntry& entry = kEncodingsEntries[index - 1];
    switch (entry.kind) {
    case EncodingsEntry::Shared: return as_object(qv::shared_text_encoding(entry.base));
    case EncodingsEntry::SystemDefault:
        return as_object(qv::new_text_encoding(qv::system_default_text_encoding(), 0, 0));
    default: return as_object(qv::new_text_encoding(entry.base, 0, entry.format));
    }
}

RuntimeObject* EncodingsGetFromCode(RuntimeObject*, int32_t tag)
{
    return as_object(qv::shared_text_encoding(static_cast<u32>(tag)));
}

}  // extern "C"
