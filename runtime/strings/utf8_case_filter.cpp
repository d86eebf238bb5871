#include "runtime/strings/utf8_case_filter.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "runtime/text/utf.h"

namespace qv {
namespace {

// Every BMP character whose upper-case form differs from it, by that form: the characters a
// folded character can stand for. Built once from the case mapping.
const std::vector<std::pair<u16, u16>>& characters_by_upper_form()
{
    static const std::vector<std::pair<u16, u16>>* s_index = [] {
        auto* index = new std::vector<std::pair<u16, u16>>;
        for (u32 c = 0; c < 0x10000; ++c) {
            const u32 upper = upper_code_point(c);
            if (upper != c && upper <= 0xFFFF)
                index->emplace_back(static_cast<u16>(upper), static_cast<u16>(c));
        }
        std::sort(index->begin(), index->end());
        return index;
    }();
    return *s_index;
}

u8 first_byte_of(u32 code_point)
{
    u8 bytes[4];
    encode_utf8(code_point, bytes);
    return bytes[0];
}

bool is_ill_formed(const DecodedChar& c, u8 first) { return c.size == 1 && first >= 0x80; }

}  // namespace

// How common a byte is as a character's first byte in mixed Japanese and English text, to
// order bytes the sample of the text does not tell apart.
int frequency(u8 b)
{
    if (b == ' ' || b == 0xE3)
        return 100;  // spaces, and the lead byte of kana and CJK punctuation
    if (b >= 'a' && b <= 'z')
        return 40;
    if (b >= 0xE4 && b <= 0xE9)
        return 30;  // lead bytes of kanji
    if (b == '\r' || b == '\n' || b == '\t')
        return 20;
    if (b >= 'A' && b <= 'Z')
        return 10;
    return 5;
}

void Utf8CaseFilter::first_bytes_folding_to(u32 code_point, bool (&out)[256])
{
    std::memset(out, 0, sizeof out);
    if (upper_code_point(code_point) == code_point)
        out[first_byte_of(code_point)] = true;
    const auto& index = characters_by_upper_form();
    for (auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(static_cast<u16>(code_point), u16{0}));
         it != index.end() && it->first == code_point; ++it)
        out[first_byte_of(it->second)] = true;
}

bool Utf8CaseFilter::prepare(const u8* find, i32 length, const u8* text, i32 text_length)
{
    // Byte counts in four 1 KB samples spread over the text.
    u32 counts[256] = {};
    for (i32 part = 0; part < 4; ++part) {
        const i32 begin = static_cast<i32>(i64{text_length} * part / 4);
        const i32 end = std::min(begin + 1024, text_length);
        for (i32 i = begin; i < end; ++i)
            ++counts[text[i]];
    }
    for (u32 b = 1; b < 128; ++b) {
        const u32 folded = upper_code_point(b);
        m_ascii_fold[b] = static_cast<u8>(folded < 0x80 ? folded : 0);
    }
    for (i32 i = 0; i < length;) {
        const DecodedChar c = decode_utf8_lenient(find + i, length - i);
        const bool ill_formed = is_ill_formed(c, find[i]);
        m_find.push_back({ill_formed ? find[i] : upper_code_point(c.code_point), ill_formed});
        i += c.size;
    }
    // The anchor: the well-formed character whose first bytes are rarest, among the first 16
    // (which bounds the set-up for long patterns).
    i64 best = -1;
    for (i32 k = 0; k < static_cast<i32>(std::min<size_t>(m_find.size(), 16)); ++k) {
        if (m_find[static_cast<size_t>(k)].ill_formed)
            continue;
        bool bytes[256];
        first_bytes_folding_to(m_find[static_cast<size_t>(k)].code_point, bytes);
        i64 cost = 0;
        for (int b = 0; b < 256; ++b)
            cost += bytes[b] ? 128 * i64{counts[b]} + frequency(static_cast<u8>(b)) : 0;
        if (cost > 0 && (best < 0 || cost < best)) {
            best = cost;
            m_anchor = k;
            std::memcpy(m_first_table, bytes, sizeof bytes);
        }
    }
    if (best < 0)
        return false;
    for (int b = 0; b < 256; ++b) {
        if (m_first_table[b]) {
            if (m_first_count < 4)
                m_first_bytes[m_first_count] = static_cast<u8>(b);
            ++m_first_count;
        }
    }
    restart();
    return true;
}

void Utf8CaseFilter::restart()
{
    for (i32 k = 0; k < 4; ++k)
        m_next[k] = -2;  // not looked for yet
    m_scanned_to = 0;
}

// End of the match at `at`, or -1; `compared` counts the characters looked at.
i32 Utf8CaseFilter::match_end(const u8* text, i32 length, i32 at, i32& compared) const
{
    compared = 0;
    for (const FoldedChar& want : m_find) {
        ++compared;
        if (at >= length)
            return -1;
        const u8 b = text[at];
        if (b < 0x80 && m_ascii_fold[b]) {  // the common case, without decoding
            if (m_ascii_fold[b] != want.code_point || want.ill_formed)
                return -1;
            ++at;
            continue;
        }
        const DecodedChar c = decode_utf8_lenient(text + at, length - at);
        const bool ill_formed = is_ill_formed(c, text[at]);
        if (ill_formed != want.ill_formed)
            return -1;
        if ((ill_formed ? text[at] : upper_code_point(c.code_point)) != want.code_point)
            return -1;
        at += c.size;
    }
    return at;
}

i32 Utf8CaseFilter::next_candidate(const u8* text, i32 length, i32 from)
{
    if (m_first_count > 4) {
        while (from < length && !m_first_table[text[from]])
            ++from;
        return from < length ? from : -1;
    }
    // One memchr per first byte, each answer kept until it is passed: linear in the text.
    i32 best = -1;
    for (i32 k = 0; k < m_first_count; ++k) {
        if (m_next[k] == -1)
            continue;
        if (m_next[k] < from) {
            const void* hit = from < length
                ? std::memchr(text + from, m_first_bytes[k], static_cast<size_t>(length - from))
                : nullptr;
            m_next[k] = hit ? static_cast<i32>(static_cast<const u8*>(hit) - text) : -1;
            if (m_next[k] == -1)
                continue;
        }
        if (best < 0 || m_next[k] < best)
            best = m_next[k];
    }
    return best;
}

void Utf8CaseFilter::next(const u8* text, i32 length, i32 from, i32& start, i32& end, bool& gave_up)
{
    gave_up = false;
    if (from < m_last_from)
        restart();  // the remembered answers lie beyond this start
    m_last_from = from;
    for (i32 at = from;;) {
        const i32 candidate = next_candidate(text, length, at);
        if (candidate < 0) {
            start = end = -1;
            return;
        }
        // Comparing may cost about as much as the scan it saves, and a little more.
        m_budget += candidate - std::max(at, m_scanned_to) + 1;
        m_scanned_to = candidate + 1;
        if (m_budget < -4096) {
            gave_up = true;
            return;
        }
        // The pattern would start `m_anchor` characters before the candidate. Reading back
        // over continuation bytes finds them; the comparison then checks that they are whole
        // characters and fold as they should.
        i32 begin = candidate;
        for (i32 k = 0; k < m_anchor && begin > from; ++k) {
            --begin;
            while (begin > from && (text[begin] & 0xC0) == 0x80)
                --begin;
        }
        i32 compared = 0;
        const i32 match = match_end(text, length, begin, compared);
        m_budget -= m_anchor + compared;
        if (match >= 0) {
            start = begin;
            end = match;
            return;
        }
        at = candidate + 1;
    }
}

}  // namespace qv
