#include "runtime/strings/character_functions.h"

#include <algorithm>
#include <cstring>

#include "runtime/strings/text_characters.h"
#include "runtime/text/utf.h"

namespace qv {
namespace {

i32 clamp_to_i32(i64 value) { return static_cast<i32>(std::clamp<i64>(value, INT32_MIN, INT32_MAX)); }

}  // namespace

StringRef left_b(const StringRef& s, i32 count) { return s.Left(count); }
StringRef right_b(const StringRef& s, i32 count) { return s.Right(count); }
StringRef mid_b(const StringRef& s, i32 start) { return s.MidFrom(clamp_to_i32(i64{start} - 1)); }
StringRef mid_b(const StringRef& s, i32 start, i32 length)
{
    i64 offset = i64{start} - 1;
    i64 count = length;
    if (offset < 0) {
        count += offset;  // the positions before the first byte are part of the count
        offset = 0;
    }
    return s.Mid(clamp_to_i32(offset), clamp_to_i32(count));
}

StringRef left_chars(const StringRef& s, i32 count)
{
    if (s.is_nil() || count < 1)
        return {};
    return s.Left(CharacterWalk(s).offset_of(count));
}

StringRef right_chars(const StringRef& s, i32 count)
{
    if (s.is_nil() || count < 1)
        return {};
    return s.MidFrom(CharacterWalk(s).offset_from_end(count));
}

StringRef mid_chars(const StringRef& s, i32 start)
{
    if (s.is_nil() || start < 1)
        return {};
    return s.MidFrom(CharacterWalk(s).offset_of(i64{start} - 1));
}

StringRef mid_chars(const StringRef& s, i32 start, i32 length)
{
    if (s.is_nil() || length < 1)
        return {};
    i64 first = start;
    i64 count = length;
    if (first < 1) {
        count -= 1 - first;
        first = 1;
    }
    if (count < 1)
        return {};
    const CharacterWalk walk(s);
    const i32 begin = walk.offset_of(first - 1);
    const i32 end = walk.offset_of(first - 1 + count);
    if (begin >= s.length())
        return {};
    return s.Mid(begin, end - begin);
}

i32 length_in_chars(const StringRef& s) { return CharacterWalk(s).count(); }

i32 asc_b(const StringRef& s) { return s.length() > 0 ? s.bytes()[0] : 0; }

i32 asc_char(const StringRef& s)
{
    if (s.length() == 0)
        return 0;
    const u8* text = s.bytes();
    switch (character_scheme(s.encoding())) {
    case CharacterScheme::Utf8: return static_cast<i32>(decode_utf8_lenient(text, s.length()).code_point);
    case CharacterScheme::Utf16: {
        u16 unit = 0;
        std::memcpy(&unit, text, s.length() >= 2 ? 2 : 1);
        return unit;
    }
    case CharacterScheme::Dbcs:
        if (s.length() > 1 && character_tables().lead[text[0]])
            return text[0] * 256 + text[1];
        return text[0];
    case CharacterScheme::Bytes: break;
    }
    return text[0];
}

}  // namespace qv
