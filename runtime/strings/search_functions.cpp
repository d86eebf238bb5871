#include "runtime/strings/search_functions.h"

#include <cstring>
#include <vector>

#include "runtime/strings/encoding_reconcile.h"
#include "runtime/strings/text_search.h"

namespace qv {
namespace {

// Both strings in one encoding for searching; returns that encoding (the source's when no
// common one could be made).
u32 reconcile_for_search(StringRef& source, StringRef& find)
{
    if (source.encoding() == find.encoding() || find.is_nil())
        return source.encoding();
    const u32 common = Reconcile(&source, &find);
    return common != kEncodingUnknown ? common : source.encoding();
}

StringRef build_replaced(const StringRef& source, const std::vector<TextHit>& hits, const StringRef& replacement)
{
    const i32 length = source.length();
    const i32 replacement_length = replacement.length();
    i64 result_length = length;
    for (const TextHit& hit : hits)
        result_length += replacement_length - (hit.end - hit.start);
    if (result_length <= 0 || result_length > 0x7FFFFFF0)
        return {};  // empty, or too long for one string: nil like any failed allocation
    StringRef result = StringRef::adopt(allocate_string(static_cast<i32>(result_length)));
    if (result.is_nil())
        return result;
    u8* out = result.get()->buffer + 1;
    const u8* text = source.bytes();
    i32 copied_to = 0;
    for (const TextHit& hit : hits) {
        std::memcpy(out, text + copied_to, static_cast<size_t>(hit.start - copied_to));
        out += hit.start - copied_to;
        std::memcpy(out, replacement.bytes(), static_cast<size_t>(replacement_length));
        out += replacement_length;
        copied_to = hit.end;
    }
    std::memcpy(out, text + copied_to, static_cast<size_t>(length - copied_to));
    result.set_encoding(source.encoding());
    return result;
}

}  // namespace

StringRef text_in_encoding(const StringRef& s, u32 target)
{
    const u32 own = s.encoding();
    if (s.is_nil() || own == target || own == kEncodingUnknown || target == kEncodingUnknown)
        return s;
    if (target != kEncodingUTF16 && s.IsSevenBit())
        return s;
    return convert_encoding(s, target);
}

i32 in_str(i32 start, const StringRef& source_in, const StringRef& find_in)
{
    if (source_in.length() == 0)
        return 0;
    StringRef source = source_in, find = find_in;
    const u32 encoding = reconcile_for_search(source, find);
    if (find.length() == 0)
        return start;
    const i32 first = start < 1 ? 0 : start - 1;
    if (is_dbcs_system()) {
        if (first >= source.length())
            return 0;
        const TextHit hit = TextSearch(source, find, encoding, SearchCase::Exact).next(first);
        return hit.found() ? hit.start + 1 : 0;
    }
    const CharacterWalk walk(source.bytes(), source.length(), character_scheme(encoding));
    const i32 from = walk.offset_of(first);
    if (from >= source.length())
        return 0;
    const TextHit hit = TextSearch(source, find, encoding, SearchCase::Ignore).next(from);
    return hit.found() ? walk.index_of(hit.start) + 1 : 0;
}

i32 dbcs_in_str(i32 start, const StringRef& source_in, const StringRef& find_in)
{
    if (!is_dbcs_system())
        return in_str(start, source_in, find_in);
    if (source_in.length() == 0)
        return 0;
    StringRef source = source_in, find = find_in;
    const u32 encoding = reconcile_for_search(source, find);
    if (find.length() == 0)
        return start;
    const CharacterWalk walk(source.bytes(), source.length(), character_scheme(encoding));
    const i32 from = walk.offset_of(start < 1 ? 0 : i64{start} - 1);
    if (from >= source.length())
        return 0;
    const TextHit hit = TextSearch(source, find, encoding, SearchCase::Exact).next(from);
    return hit.found() ? walk.index_of(hit.start) + 1 : 0;
}

StringRef replace_text(const StringRef& source, const StringRef& find_in, const StringRef& replacement_in,
                       ReplaceCount count)
{
    if (find_in.length() == 0 || source.length() == 0)
        return source;
    const u32 encoding = source.encoding();
    const StringRef find = text_in_encoding(find_in, encoding);
    if (find.length() == 0)
        return source;  // find cannot be written in the source's encoding, so it is not there
    StringRef replacement = text_in_encoding(replacement_in, encoding);
    if (replacement.is_nil())
        replacement = replacement_in;  // no form in the source's encoding: its bytes as they are
    if (is_dbcs_system() && source.IsSevenBit() && !find.IsSevenBit())
        return source;

    TextSearch search(source, find, encoding, SearchCase::Ignore);
    std::vector<TextHit> hits;
    for (TextHit hit = search.next(0); hit.found(); hit = search.next(hit.resume())) {
        hits.push_back(hit);
        if (count == ReplaceCount::First)
            break;
    }
    if (hits.empty())
        return source;
    return build_replaced(source, hits, replacement);
}

i32 count_fields(const StringRef& s, const StringRef& separator_in)
{
    if (s.length() == 0)
        return 0;
    if (separator_in.length() == 0)
        return 1;
    const StringRef separator = text_in_encoding(separator_in, s.encoding());
    if (separator.length() == 0)
        return 1;
    TextSearch search(s, separator, s.encoding(), SearchCase::Ignore);
    i32 fields = 1;
    for (TextHit hit = search.next(0); hit.found(); hit = search.next(hit.resume()))
        ++fields;
    return fields;
}

StringRef nth_field(const StringRef& s, const StringRef& separator_in, i32 index)
{
    if (s.length() == 0 || separator_in.length() == 0 || index < 1)
        return {};
    const StringRef separator = text_in_encoding(separator_in, s.encoding());
    if (separator.length() == 0)
        return index == 1 ? s : StringRef();
    TextSearch search(s, separator, s.encoding(), SearchCase::Ignore);
    i32 field_start = 0;
    for (i32 field = 1; field < index; ++field) {
        const TextHit hit = search.next(field_start);
        if (!hit.found())
            return {};
        field_start = hit.end;
    }
    const TextHit end = search.next(field_start);
    const i32 field_end = end.found() ? end.start : s.length();
    return s.Mid(field_start, field_end - field_start);
}

}  // namespace qv
