#include "runtime/strings/text_characters.h"

#include <cstring>

namespace qv {
namespace {

// Bytes of text[0, end) that start UTF-8 characters (are not continuation bytes), four at a
// time: a continuation byte has its top bit set and the next bit clear.
i32 utf8_starts(const u8* text, i32 end)
{
    i32 continuations = 0, i = 0;
    for (; i + 4 <= end; i += 4) {
        u32 word;
        std::memcpy(&word, text + i, 4);
        continuations += __builtin_popcount(word & ~(word << 1) & 0x80808080u);
    }
    for (; i < end; ++i)
        continuations += is_utf8_continuation(text[i]);
    return end - continuations;
}

// Double-byte characters that start before `end`.
i32 dbcs_starts(const u8* text, const u8* lead, i32 end)
{
    i32 n = 0;
    for (i32 at = 0; at < end; ++n)
        at += 1 + lead[text[at]];
    return n;
}

}  // namespace

CharacterScheme character_scheme(u32 encoding)
{
    if (encoding == kEncodingUTF8)
        return CharacterScheme::Utf8;
    if (encoding == kEncodingUTF16)
        return CharacterScheme::Utf16;
    if (encoding != kEncodingASCII && is_dbcs_system())
        return CharacterScheme::Dbcs;
    return CharacterScheme::Bytes;
}

i32 CharacterWalk::next(i32 offset) const
{
    if (offset >= m_length)
        return m_length;
    i32 at = offset + 1;
    switch (m_scheme) {
    case CharacterScheme::Bytes: break;
    case CharacterScheme::Utf8:
        while (at < m_length && is_utf8_continuation(m_text[at]))
            ++at;
        break;
    case CharacterScheme::Utf16: ++at; break;
    case CharacterScheme::Dbcs:
        if (m_lead[m_text[offset]])
            ++at;
        break;
    }
    return at < m_length ? at : m_length;
}

i32 CharacterWalk::previous(i32 offset) const
{
    if (offset <= 0)
        return 0;
    switch (m_scheme) {
    case CharacterScheme::Bytes: return offset - 1;
    case CharacterScheme::Utf8: {
        i32 at = offset - 1;
        while (at > 0 && is_utf8_continuation(m_text[at]))
            --at;
        return at;
    }
    case CharacterScheme::Utf16: return offset >= 2 ? offset - 2 : 0;
    case CharacterScheme::Dbcs: {
        // The byte before `offset` is a trail byte exactly when an odd number of bytes with
        // lead-byte values precede it without a break; trail bytes can look like lead bytes,
        // so only the parity of the run tells.
        i32 run_start = offset - 1;
        while (run_start > 0 && m_lead[m_text[run_start - 1]])
            --run_start;
        return (offset - 1 - run_start) % 2 == 1 ? offset - 2 : offset - 1;
    }
    }
    return offset - 1;
}

i32 CharacterWalk::count() const
{
    switch (m_scheme) {
    case CharacterScheme::Bytes: return m_length;
    case CharacterScheme::Utf16: return m_length / 2;
    case CharacterScheme::Utf8: return utf8_starts(m_text, m_length);
    case CharacterScheme::Dbcs: return dbcs_starts(m_text, m_lead, m_length);
    }
    return m_length;
}

i32 CharacterWalk::offset_of(i64 index) const
{
    if (index <= 0)
        return 0;
    switch (m_scheme) {
    case CharacterScheme::Bytes: return index < m_length ? static_cast<i32>(index) : m_length;
    case CharacterScheme::Utf16: return 2 * index < m_length ? static_cast<i32>(2 * index) : m_length;
    case CharacterScheme::Utf8: {
        // Characters are counted by their first bytes, so bytes before the first one (a
        // broken text) belong to character 0. Whole words are skipped while they cannot hold
        // the start looked for.
        i64 seen = 0;
        i32 i = 0;
        for (; i + 4 <= m_length; i += 4) {
            u32 word;
            std::memcpy(&word, m_text + i, 4);
            const i32 starts = 4 - __builtin_popcount(word & ~(word << 1) & 0x80808080u);
            if (seen + starts > index)
                break;
            seen += starts;
        }
        for (; i < m_length; ++i)
            if (!is_utf8_continuation(m_text[i]) && seen++ == index)
                return i;
        return m_length;
    }
    case CharacterScheme::Dbcs: {
        i32 at = 0;
        for (i64 n = 0; n < index && at < m_length; ++n)
            at += 1 + m_lead[m_text[at]];
        return at < m_length ? at : m_length;
    }
    }
    return m_length;
}

i32 CharacterWalk::index_of(i32 offset) const
{
    if (offset > m_length)
        offset = m_length;
    switch (m_scheme) {
    case CharacterScheme::Bytes: return offset;
    case CharacterScheme::Utf16: return offset / 2;
    case CharacterScheme::Utf8: return utf8_starts(m_text, offset);
    case CharacterScheme::Dbcs: return dbcs_starts(m_text, m_lead, offset);
    }
    return offset;
}

i32 CharacterWalk::offset_from_end(i64 count) const
{
    if (count <= 0)
        return m_length;
    switch (m_scheme) {
    case CharacterScheme::Bytes: return count < m_length ? m_length - static_cast<i32>(count) : 0;
    case CharacterScheme::Utf16: return 2 * count < m_length ? m_length - static_cast<i32>(2 * count) : 0;
    case CharacterScheme::Utf8: {
        i64 seen = 0;
        for (i32 i = m_length - 1; i >= 0; --i)
            if (!is_utf8_continuation(m_text[i]) && ++seen == count)
                return i;
        return 0;
    }
    case CharacterScheme::Dbcs: {
        const i32 total = this->count();
        return count < total ? offset_of(total - count) : 0;
    }
    }
    return 0;
}

}  // namespace qv
