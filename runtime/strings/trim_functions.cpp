#include "runtime/strings/trim_functions.h"

#include "platform/code_page_tables.h"
#include "runtime/strings/case_functions.h"
#include "runtime/strings/encoding_reconcile.h"
#include "runtime/strings/text_characters.h"
#include "runtime/text/utf.h"

namespace qv {
namespace {

bool is_space_at(const u8* text, i32 length, i32 at, const CharacterWalk& walk, const CharacterTables& tables)
{
    switch (walk.scheme()) {
    case CharacterScheme::Utf8: {
        const DecodedChar c = decode_utf8_lenient(text + at, length - at);
        return (c.size > 1 || c.code_point < 0x80) && is_unicode_space(c.code_point);
    }
    case CharacterScheme::Utf16: return false;  // trimmed in UTF-8 form
    default:
        if (tables.dbcs)
            return platform::is_space_character(text + at, walk.size_at(at));
        return (tables.separator[text[at]] & 1) != 0;
    }
}

// Byte range [begin, end) left after trimming.
std::pair<i32, i32> trimmed_range(const StringRef& s, TrimEnds ends)
{
    const u8* text = s.bytes();
    const i32 length = s.length();
    // Code-page text on a double-byte system goes character by character whatever its tag,
    // so that ASCII-tagged text is trimmed there too.
    const CharacterScheme scheme = s.encoding() == kEncodingUTF8 ? CharacterScheme::Utf8
        : is_dbcs_system()                                       ? CharacterScheme::Dbcs
                                                                 : CharacterScheme::Bytes;
    const CharacterWalk walk(text, length, scheme);
    const CharacterTables& tables = character_tables();
    i32 begin = 0, end = length;
    if (ends != TrimEnds::Right)
        while (begin < end && is_space_at(text, length, begin, walk, tables))
            begin = walk.next(begin);
    if (ends != TrimEnds::Left) {
        while (end > begin) {
            const i32 last = walk.previous(end);
            if (last < begin || !is_space_at(text, length, last, walk, tables))
                break;
            end = last;
        }
    }
    return {begin, end};
}

}  // namespace

StringRef trim_text(const StringRef& s, TrimEnds ends)
{
    if (s.is_nil())
        return {};
    if (s.encoding() == kEncodingUTF16) {
        const StringRef utf8 = convert_encoding(s, kEncodingUTF8);
        const auto [begin, end] = trimmed_range(utf8, ends);
        if (begin == 0 && end == utf8.length())
            return s;
        return convert_encoding(utf8.Mid(begin, end - begin), kEncodingUTF16);
    }
    const auto [begin, end] = trimmed_range(s, ends);
    return s.Mid(begin, end - begin);
}

}  // namespace qv
