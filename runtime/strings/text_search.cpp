#include "runtime/strings/text_search.h"

#include <algorithm>
#include <cstring>

#include "runtime/strings/case_functions.h"
#include "runtime/text/unicode_case.h"
#include "runtime/text/utf.h"

namespace qv {
namespace {

bool has_unicode_case(u32 code_point)
{
    return code_point <= 0xFFFF &&
        (unicode_to_upper(code_point) != code_point || unicode_to_lower(code_point) != code_point);
}

u16 unit_at(const u8* text, i32 index)
{
    u16 unit;
    std::memcpy(&unit, text + 2 * index, 2);
    return unit;
}

// True when folding can change whether `find` matches: it holds a character with another case
// form. Otherwise the exact search finds the same hits without a folded copy.
bool has_case(const u8* find, i32 length, CharacterScheme scheme, const CharacterTables& tables)
{
    switch (scheme) {
    case CharacterScheme::Utf8:
        for (i32 i = 0; i < length;) {
            const DecodedChar c = decode_utf8_lenient(find + i, length - i);
            if ((c.size > 1 || c.code_point < 0x80) && has_unicode_case(c.code_point))
                return true;  // an ill-formed byte is compared as it is
            i += c.size;
        }
        return false;
    case CharacterScheme::Utf16:
        for (i32 i = 0; i < length / 2; ++i)
            if (has_unicode_case(unit_at(find, i)))
                return true;
        return false;
    default: {
        u8 upper_forms_of[256] = {};  // how many bytes upper-case to each value (saturating)
        for (int b = 0; b < 256; ++b)
            if (upper_forms_of[tables.upper[b]] < 2)
                ++upper_forms_of[tables.upper[b]];
        for (i32 i = 0; i < length; ++i)
            if (tables.upper[find[i]] != find[i] || upper_forms_of[find[i]] > 1)
                return true;
        return false;
    }
    }
}

void fold_bytes(const u8* text, i32 length, const u8* upper, std::vector<u8>& out)
{
    out.resize(static_cast<size_t>(length));
    for (i32 i = 0; i < length; ++i)
        out[i] = upper[text[i]];
}

void fold_utf16(const u8* text, i32 length, std::vector<u8>& out)
{
    out.assign(text, text + length);
    for (i32 i = 0; i < length / 2; ++i) {
        const u16 folded = static_cast<u16>(unicode_to_upper(unit_at(text, i)));
        std::memcpy(out.data() + 2 * i, &folded, 2);
    }
}

}  // namespace

TextSearch::TextSearch(const StringRef& text, const StringRef& find, u32 encoding, SearchCase mode, CodePointMap fold)
    : m_text(text.bytes()),
      m_length(text.length()),
      m_walk(text.bytes(), text.length(), character_scheme(encoding)),
      m_find(find.bytes()),
      m_find_length(find.length()),
      m_fold(fold)
{
    const CharacterTables& tables = character_tables();
    const CharacterScheme scheme = m_walk.scheme();
    if (mode == SearchCase::Exact || tables.dbcs || !has_case(m_find, m_find_length, scheme, tables)) {
        m_searcher = std::make_unique<ByteSearcher>(m_find, m_find_length);
        return;
    }
    const bool filter = scheme == CharacterScheme::Utf8 && fold == upper_code_point;
    if (filter && m_filter.prepare(m_find, m_find_length, m_text, m_length)) {
        m_mode = Mode::Filtered;
        return;
    }
    fold_text();
}

void TextSearch::fold_text()
{
    m_mode = Mode::Folded;
    m_checkpoints.assign(1, {0, 0});
    switch (m_walk.scheme()) {
    case CharacterScheme::Utf8:
        map_utf8_code_points(m_text, m_length, m_fold, m_folded_text, &m_checkpoints);
        map_utf8_code_points(m_find, m_find_length, m_fold, m_folded_find);
        break;
    case CharacterScheme::Utf16:
        fold_utf16(m_text, m_length, m_folded_text);
        fold_utf16(m_find, m_find_length, m_folded_find);
        break;
    default:
        fold_bytes(m_text, m_length, character_tables().upper, m_folded_text);
        fold_bytes(m_find, m_find_length, character_tables().upper, m_folded_find);
        break;
    }
    m_searcher = std::make_unique<ByteSearcher>(m_folded_find.data(), static_cast<i32>(m_folded_find.size()));
}

TextHit TextSearch::next(i32 from)
{
    if (from < 0)
        from = 0;
    switch (m_mode) {
    case Mode::Exact: return next_exact(from);
    case Mode::Filtered: return next_filtered(from);
    case Mode::Folded: return next_folded(from);
    }
    return {-1, -1};
}

TextHit TextSearch::next_filtered(i32 from)
{
    i32 start = -1, end = -1;
    bool gave_up = false;
    m_filter.next(m_text, m_length, from, start, end, gave_up);
    if (!gave_up)
        return {start, end};
    fold_text();
    return next_folded(from);
}

// Whether a double-byte text has a character start at `offset`. The byte before a run of
// bytes with lead-byte values always ends a character, so the start is a character start
// exactly when that run (counted from the last known start, if the run reaches back to it) is
// even. The scan back stops at the known start and the known start then moves up to here, so
// the scans together read each byte once at most.
bool TextSearch::dbcs_boundary(i32 offset)
{
    if (offset < m_dbcs_cursor)
        m_dbcs_cursor = 0;  // asked out of order: start again from the text's start
    const u8* lead = character_tables().lead;
    i32 run_start = offset;
    while (run_start > m_dbcs_cursor && lead[m_text[run_start - 1]])
        --run_start;
    const bool boundary = (offset - run_start) % 2 == 0;
    m_dbcs_cursor = boundary ? offset : offset + 1;
    return boundary;
}

bool TextSearch::aligned_exact(i32 offset)
{
    switch (m_walk.scheme()) {
    case CharacterScheme::Bytes: return true;
    case CharacterScheme::Utf16: return offset % 2 == 0;
    case CharacterScheme::Utf8: return offset == 0 || !is_utf8_continuation(m_text[offset]);
    case CharacterScheme::Dbcs:
        // Characters are counted from the start of the text, so a start position on a trail
        // byte (one past an earlier double-byte hit) resumes at the next real character.
        return dbcs_boundary(offset);
    }
    return true;
}

TextHit TextSearch::next_exact(i32 from)
{
    const i32 length = m_searcher->needle_length();
    for (i32 at = from;;) {
        const i32 candidate = m_searcher->find(m_text, m_length, at);
        if (candidate < 0)
            return {-1, -1};
        if (aligned_exact(candidate))
            return {candidate, candidate + length};
        at = m_walk.scheme() == CharacterScheme::Dbcs ? m_dbcs_cursor : candidate + 1;
    }
}

i32 TextSearch::folded_to_text(i32 folded_offset) const
{
    auto after = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), folded_offset,
                                  [](i32 value, const std::pair<i32, i32>& point) { return value < point.first; });
    const auto& point = *(after - 1);
    return std::min(point.second + (folded_offset - point.first), m_length);
}

i32 TextSearch::text_to_folded(i32 text_offset) const
{
    auto after = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), text_offset,
                                  [](i32 value, const std::pair<i32, i32>& point) { return value < point.second; });
    const auto& point = *(after - 1);
    return point.first + (text_offset - point.second);
}

TextHit TextSearch::next_folded(i32 from)
{
    const u8* folded = m_folded_text.data();
    const i32 folded_length = static_cast<i32>(m_folded_text.size());
    const i32 length = m_searcher->needle_length();
    const CharacterScheme scheme = m_walk.scheme();
    for (i32 at = text_to_folded(from);;) {
        const i32 candidate = m_searcher->find(folded, folded_length, at);
        if (candidate < 0)
            return {-1, -1};
        const bool aligned = scheme == CharacterScheme::Utf16 ? candidate % 2 == 0
            : scheme == CharacterScheme::Utf8 ? candidate == 0 || !is_utf8_continuation(folded[candidate])
                                              : true;
        if (aligned)
            return {folded_to_text(candidate), folded_to_text(candidate + length)};
        at = candidate + 1;
    }
}

}  // namespace qv
