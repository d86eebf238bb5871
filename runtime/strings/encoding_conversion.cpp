// The general conversion and the code-page conversion. Code pages 1200 (UTF-16) and 65001
// (UTF-8) are converted here the same way on every platform; every other code page goes to
// the platform, and the Japanese pseudo pages to japanese_encodings.cpp by way of Shift-JIS.
#include "runtime/strings/encoding_conversion.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/code_pages.h"
#include "runtime/memory/runtime_locks.h"
#include "runtime/text/encoding_tags.h"
#include "runtime/text/japanese_encodings.h"
#include "runtime/text/utf.h"

namespace qv {
namespace {

// The cache holds a count on both strings, so the source record cannot be freed and its
// address reused while it is remembered. The source's tag is remembered too: a holder may
// relabel a record in place (QuavSetStringEncoding), and the old result would then be wrong.
struct ConversionCache {
    StringRef source;
    u32 source_tag = 0;
    u32 target = 0;
    StringRef result;
    bool registered_exit = false;
};

ConversionCache& cache()
{
    static ConversionCache s_cache;
    return s_cache;
}

// 7-bit text reads the same in every encoding the shortcut is meant for, but not in the two
// that shift with escapes: ISO-2022-JP kanji and UTF-7 text are all 7-bit bytes. Text tagged
// with those is always converted (the rule as written would relabel it unread).
bool needs_code_pages(const StringRef& s, u32 target)
{
    if (target != kEncodingUTF8 && target >= 0x0100 && target <= 0x0200)
        return true;
    const u32 source_page = code_page_of_tag(s.encoding());
    if (source_page == kCodePageISO2022JP || source_page == kCodePageUTF7)
        return true;
    return s.encoding() != kEncodingASCII && !s.IsSevenBit();
}

StringRef string_of(const std::vector<u8>& bytes, u32 tag)
{
    StringRef out = StringRef::FromBytes(bytes.data(), static_cast<i32>(bytes.size()));
    out.set_encoding(tag);
    return out;
}

// The tag a string gets when it is built by appending these bytes one by one to nil.
u32 appended_bytes_tag(const std::vector<u8>& bytes)
{
    for (u8 b : bytes)
        if (b >= 0x80)
            return kEncodingUnknown;
    return kEncodingASCII;
}

bool decode(u32 code_page, const u8* bytes, i32 length, std::vector<u16>& units)
{
    if (code_page == kCodePageUTF8) {
        units = utf8_to_utf16(bytes, length);
        return true;
    }
    return platform::decode_code_page(code_page, bytes, length, units);
}

bool encode(u32 code_page, const std::vector<u16>& units, std::vector<u8>& bytes)
{
    if (code_page == kCodePageUTF8) {
        bytes = utf16_to_utf8(units.data(), static_cast<i32>(units.size()));
        return true;
    }
    if (code_page == kCodePageEUCJP || code_page == kCodePageISO2022JP)
        return false;  // reached only from Shift-JIS, never from UTF-16
    return platform::encode_code_page(code_page, units.data(), static_cast<i32>(units.size()), bytes);
}

}  // namespace

StringRef convert_code_pages(const StringRef& s, u32 from, u32 to)
{
    if (from == to)
        return s;
    u32 from_page = code_page_of_tag(from);
    const u32 to_page = code_page_of_tag(to);
    if (!is_usable_code_page(from_page) || !is_usable_code_page(to_page))
        return {};

    const u8* bytes = s.bytes();
    i32 length = s.length();
    std::vector<u8> shift_jis;
    if (from_page == kCodePageEUCJP || from_page == kCodePageISO2022JP) {
        shift_jis =
            from_page == kCodePageEUCJP ? euc_jp_to_shift_jis(bytes, length) : iso2022_jp_to_shift_jis(bytes, length);
        bytes = shift_jis.data();
        length = static_cast<i32>(shift_jis.size());
        from_page = kCodePageShiftJIS;
    }
    if (from_page == kCodePageShiftJIS && to_page == kCodePageEUCJP) {
        const std::vector<u8> out = shift_jis_to_euc_jp(bytes, length);
        return string_of(out, appended_bytes_tag(out));
    }
    if (from_page == kCodePageShiftJIS && to_page == kCodePageISO2022JP) {
        const std::vector<u8> out = shift_jis_to_iso2022_jp(bytes, length);
        return string_of(out, appended_bytes_tag(out));
    }

    std::vector<u16> units;
    if (from_page == kCodePageUTF16) {
        units.resize(static_cast<size_t>(length / 2));
        if (!units.empty())
            std::memcpy(units.data(), bytes, units.size() * 2);
    } else if (!decode(from_page, bytes, length, units)) {
        return {};
    }
    if (to_page == kCodePageUTF16) {
        StringRef out = StringRef::FromWide(units.data(), static_cast<i32>(units.size()));
        out.set_encoding(to);
        return out;
    }
    std::vector<u8> out;
    if (!encode(to_page, units, out))
        return {};
    return string_of(out, to);
}

StringRef convert_encoding(const StringRef& s, u32 target)
{
    if (target == kEncodingUnknown || s.is_nil() || s.encoding() == target)
        return s;
    LockGuard guard(string_lock());
    ConversionCache& c = cache();
    if (c.source.get() == s.get() && c.source_tag == s.encoding() && c.target == target)
        return c.result;

    StringRef result;
    if (needs_code_pages(s, target)) {
        result = convert_code_pages(s, s.encoding(), target);
    } else {
        result = StringRef::FromBytes(s.bytes(), s.length());
        result.set_encoding(target);
    }
    if (!c.registered_exit) {
        c.registered_exit = true;
        std::atexit(&release_conversion_cache);
    }
    c.source = s;
    c.source_tag = s.encoding();
    c.target = target;
    c.result = result;
    return result;
}

void release_conversion_cache()
{
    LockGuard guard(string_lock());
    ConversionCache& c = cache();
    c.source = StringRef();
    c.result = StringRef();
    c.source_tag = c.target = 0;
}

}  // namespace qv
