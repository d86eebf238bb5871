#include "runtime/strings/case_functions.h"

#include <cstring>

#include "platform/code_page_tables.h"
#include "runtime/strings/text_characters.h"
#include "runtime/text/unicode_case.h"
#include "runtime/text/utf.h"

namespace qv {
namespace {

StringRef from_bytes(const std::vector<u8>& bytes, u32 encoding)
{
    StringRef s = StringRef::FromBytes(bytes.data(), static_cast<i32>(bytes.size()));
    s.set_encoding(encoding);
    return s;
}

u16 unit_at(const u8* text, i32 index)
{
    u16 unit;
    std::memcpy(&unit, text + 2 * index, 2);
    return unit;
}

// A copy of UTF-16 text with each unit mapped.
template <typename MapUnit>
StringRef map_utf16(const StringRef& s, MapUnit map)
{
    const i32 units = s.length() / 2;
    std::vector<u16> out(static_cast<size_t>(units));
    for (i32 i = 0; i < units; ++i)
        out[i] = static_cast<u16>(map(unit_at(s.bytes(), i)));
    return StringRef::FromWide(out.data(), units);
}

// Case change of one code-page character. ASCII is the same in every double-byte code page,
// so its letters are mapped here; everything else is asked of the platform.
void change_case_in_code_page(u8* character, i32 size, platform::LetterCase target)
{
    if (size == 1 && character[0] < 0x80) {
        const u8 b = character[0];
        if (target == platform::LetterCase::Upper && b >= 'a' && b <= 'z')
            character[0] = static_cast<u8>(b - 0x20);
        else if (target == platform::LetterCase::Lower && b >= 'A' && b <= 'Z')
            character[0] = static_cast<u8>(b + 0x20);
        return;
    }
    platform::change_character_case(character, size, target);
}

// Copy of code-page text with every character's case changed, keeping the source's tag.
StringRef change_case_of_code_page_text(const StringRef& s, platform::LetterCase target)
{
    StringRef copy = StringRef::FromBytes(s.bytes(), s.length());
    if (copy.is_nil())
        return copy;
    copy.set_encoding(s.encoding());
    u8* text = copy.get()->buffer + 1;
    const CharacterTables& tables = character_tables();
    if (!tables.dbcs) {
        const u8* table = target == platform::LetterCase::Upper ? tables.upper : tables.lower;
        for (i32 i = 0; i < copy.length(); ++i)
            text[i] = table[text[i]];
        return copy;
    }
    const CharacterWalk walk(text, copy.length(), character_scheme(s.encoding()));
    for (i32 at = 0; at < copy.length(); at = walk.next(at))
        change_case_in_code_page(text + at, walk.size_at(at), target);
    return copy;
}

StringRef change_case(const StringRef& s, platform::LetterCase target)
{
    if (s.is_nil())
        return {};
    const CodePointMap map = target == platform::LetterCase::Upper ? upper_code_point : lower_code_point;
    switch (s.encoding()) {
    case kEncodingUTF8: {
        std::vector<u8> out;
        map_utf8_code_points(s.bytes(), s.length(), map, out);
        return from_bytes(out, kEncodingUTF8);
    }
    case kEncodingUTF16: return map_utf16(s, [map](u16 unit) { return map(unit); });
    default: return change_case_of_code_page_text(s, target);
    }
}

// For the case mappings: which 3-byte lead bytes (E0 to EF) begin only characters that the
// mapping leaves alone (kana and kanji among them), so folding copies them without decoding.
// Null for other mappings.
const bool* unchanged_3_byte_blocks(CodePointMap map)
{
    auto build = [](CodePointMap m) {
        auto* blocks = new bool[16];
        blocks[0] = false;  // E0 also begins overlong forms, which decode to other characters
        for (u32 block = 1; block < 16; ++block) {
            blocks[block] = true;
            for (u32 c = block << 12; c < (block + 1) << 12 && blocks[block]; ++c)
                blocks[block] = m(c) == c;
        }
        return static_cast<const bool*>(blocks);
    };
    if (map == upper_code_point) {
        static const bool* s_upper = build(upper_code_point);
        return s_upper;
    }
    if (map == lower_code_point) {
        static const bool* s_lower = build(lower_code_point);
        return s_lower;
    }
    return nullptr;
}

bool is_space_in_code_page(const u8* character, i32 size, const CharacterTables& tables)
{
    return tables.dbcs ? platform::is_space_character(character, size) : (tables.separator[character[0]] & 1) != 0;
}

}  // namespace

u32 upper_code_point(u32 code_point) { return code_point <= 0xFFFF ? unicode_to_upper(code_point) : code_point; }
u32 lower_code_point(u32 code_point) { return code_point <= 0xFFFF ? unicode_to_lower(code_point) : code_point; }

bool is_unicode_space(u32 c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
        (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

void map_utf8_code_points(const u8* text, i32 length, CodePointMap map, std::vector<u8>& out,
                          std::vector<std::pair<i32, i32>>* checkpoints)
{
    // ASCII goes through a table; a byte whose mapping leaves ASCII (none in the case table)
    // is marked 0 there and takes the general path.
    u8 ascii[128];
    bool ascii_grows = false;
    for (u32 b = 0; b < 128; ++b) {
        const u32 mapped = map(b);
        ascii[b] = static_cast<u8>(mapped < 0x80 ? mapped : 0);
        ascii_grows |= mapped >= 0x80;
    }
    // Other case forms are at most half as long again as their characters (2 bytes to 3).
    const size_t n = static_cast<size_t>(length);
    out.resize((ascii_grows ? 3 * n : n + n / 2) + 4);
    const bool* unchanged = unchanged_3_byte_blocks(map);
    u8* o = out.data();
    for (i32 i = 0; i < length;) {
        const u8 b = text[i];
        if (b < 0x80 && (ascii[b] != 0 || b == 0)) {
            *o++ = ascii[b];
            ++i;
            continue;
        }
        if (unchanged && (b & 0xF0) == 0xE0 && unchanged[b & 0x0F] && i + 2 < length && (text[i + 1] & 0xC0) == 0x80 &&
            (text[i + 2] & 0xC0) == 0x80) {
            o[0] = b;
            o[1] = text[i + 1];
            o[2] = text[i + 2];
            o += 3;
            i += 3;
            continue;
        }
        const DecodedChar c = decode_utf8_lenient(text + i, length - i);
        const u32 mapped = c.size > 1 || b < 0x80 ? map(c.code_point) : c.code_point;
        if (mapped == c.code_point) {
            std::memcpy(o, text + i, static_cast<size_t>(c.size));
            o += c.size;
        } else {
            u8 bytes[4];
            const i32 n = encode_utf8(mapped, bytes);
            std::memcpy(o, bytes, static_cast<size_t>(n));
            o += n;
            if (n != c.size && checkpoints)
                checkpoints->emplace_back(static_cast<i32>(o - out.data()), i + c.size);
        }
        i += c.size;
    }
    out.resize(static_cast<size_t>(o - out.data()));
}

StringRef upper_case(const StringRef& s) { return change_case(s, platform::LetterCase::Upper); }
StringRef lower_case(const StringRef& s) { return change_case(s, platform::LetterCase::Lower); }

StringRef title_case(const StringRef& s)
{
    if (s.is_nil())
        return {};
    bool word_start = true;
    auto title = [&word_start](u32 c) {
        if (is_unicode_space(c)) {
            word_start = true;
            return c;
        }
        const u32 mapped = word_start ? upper_code_point(c) : lower_code_point(c);
        word_start = false;
        return mapped;
    };
    if (s.encoding() == kEncodingUTF16)
        return map_utf16(s, [&title](u16 unit) { return title(unit); });
    if (s.encoding() == kEncodingUTF8) {
        // Decoded here rather than through map_utf8_code_points, whose map has no state.
        std::vector<u8> out;
        out.reserve(static_cast<size_t>(s.length()) + static_cast<size_t>(s.length()) / 2 + 4);
        for (i32 i = 0; i < s.length();) {
            const DecodedChar c = decode_utf8_lenient(s.bytes() + i, s.length() - i);
            const bool well_formed = c.size > 1 || c.code_point < 0x80;
            const u32 mapped = well_formed ? title(c.code_point) : c.code_point;
            if (mapped == c.code_point || !well_formed) {
                out.insert(out.end(), s.bytes() + i, s.bytes() + i + c.size);
                if (!well_formed)
                    word_start = false;
            } else {
                append_utf8(out, mapped);
            }
            i += c.size;
        }
        return from_bytes(out, kEncodingUTF8);
    }

    StringRef copy = StringRef::FromBytes(s.bytes(), s.length());
    if (copy.is_nil())
        return copy;
    copy.set_encoding(s.encoding());
    u8* text = copy.get()->buffer + 1;
    const CharacterTables& tables = character_tables();
    const CharacterWalk walk(text, copy.length(), character_scheme(s.encoding()));
    for (i32 at = 0; at < copy.length(); at = walk.next(at)) {
        const i32 size = walk.size_at(at);
        if (is_space_in_code_page(text + at, size, tables)) {
            word_start = true;
            continue;
        }
        const platform::LetterCase target = word_start ? platform::LetterCase::Upper : platform::LetterCase::Lower;
        if (tables.dbcs)
            change_case_in_code_page(text + at, size, target);
        else
            text[at] = (target == platform::LetterCase::Upper ? tables.upper : tables.lower)[text[at]];
        word_start = false;
    }
    return copy;
}

}  // namespace qv
