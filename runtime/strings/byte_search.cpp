#include "runtime/strings/byte_search.h"

#include <cstring>
#include <new>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define QV_HAVE_SSE2_PATH 1
#endif

namespace qv {
namespace {

// How common a byte is in mixed Japanese/English UTF-8 text, 0 (rare) to 255 (frequent).
// Only the order matters: the filter picks the two rarest bytes of a needle.
u8 byte_frequency(u8 b)
{
    if (b == 0xE3)
        return 255;  // lead byte of kana and CJK punctuation
    if (b == ' ')
        return 200;
    if (b >= 0x80 && b <= 0x83)
        return 170;  // second bytes of kana and CJK punctuation, frequent third bytes
    if (b >= 0xE4 && b <= 0xE9)
        return 150;  // lead bytes of kanji
    if (b >= 'a' && b <= 'z')
        return 130;
    if (b >= 0x84 && b <= 0xBF)
        return 90;  // continuation bytes, spread evenly
    if (b == '\r' || b == '\n')
        return 70;
    if ((b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9'))
        return 60;
    if (b >= 0x21 && b <= 0x7E)
        return 40;  // ASCII punctuation
    if (b == 0xEF || b == 0xE2)
        return 35;  // full-width forms, box drawing and general punctuation
    if (b >= 0xC2 && b <= 0xDF)
        return 20;
    return 5;
}

// GNU libc's memchr compares a vector at a time; other C libraries (the Windows build's)
// may compare byte by byte, slower than the two-byte filter.
#if defined(__GLIBC__)
constexpr bool kVectorMemchr = true;
#else
constexpr bool kVectorMemchr = false;
#endif

bool cpu_has_sse2()
{
#if defined(QV_HAVE_SSE2_PATH)
    static const bool s_sse2 = __builtin_cpu_supports("sse2");
    return s_sse2;
#else
    return false;
#endif
}

}  // namespace

ByteSearcher::ByteSearcher(const u8* needle, i32 length) : m_needle(needle), m_length(length)
{
    if (length < 2)
        return;
    // Rarest byte first, then the rarest at another position; ties go to the later byte,
    // which in UTF-8 is a continuation byte with more spread than a lead byte.
    for (i32 i = 1; i < length; ++i)
        if (byte_frequency(needle[i]) <= byte_frequency(needle[m_rare1]))
            m_rare1 = i;
    m_rare2 = m_rare1 == 0 ? 1 : 0;
    for (i32 i = 0; i < length; ++i)
        if (i != m_rare1 && byte_frequency(needle[i]) <= byte_frequency(needle[m_rare2]))
            m_rare2 = i;
    m_use_memchr = kVectorMemchr && byte_frequency(needle[m_rare1]) <= 40;
}

bool ByteSearcher::matches_at(const u8* candidate)
{
    m_verify_budget -= m_length;
    return std::memcmp(candidate, m_needle, static_cast<size_t>(m_length)) == 0;
}

i32 ByteSearcher::find(const u8* text, i32 text_length, i32 from)
{
    if (from < 0)
        from = 0;
    if (m_length <= 0)
        return from <= text_length ? from : -1;
    if (from > text_length - m_length)
        return -1;
    if (m_length == 1) {
        if (text[from] == m_needle[0])
            return from;  // dense hits: no call per hit
        const void* hit = std::memchr(text + from, m_needle[0], static_cast<size_t>(text_length - from));
        return hit ? static_cast<i32>(static_cast<const u8*>(hit) - text) : -1;
    }
    if (m_use_kmp)
        return find_kmp(text, text_length, from);
    return find_filtered(text, text_length, from);
}

i32 ByteSearcher::find_filtered(const u8* text, i32 text_length, i32 from)
{
    const i32 last = text_length - m_length;  // last position where the needle fits
    i32 pos = from;
    const u8 rare1 = m_needle[m_rare1], rare2 = m_needle[m_rare2];
    if (m_use_memchr) {
        const i32 hit = scan_memchr(text, pos, last);
        if (hit != kKeepScanning)
            return hit;
        if (m_use_kmp)
            return find_kmp(text, text_length, pos);
    }
#if defined(QV_HAVE_SSE2_PATH)
    if (cpu_has_sse2()) {
        const i32 hit = scan_sse2(text, pos, last);
        if (hit != kKeepScanning)
            return hit;
        if (m_use_kmp)
            return find_kmp(text, text_length, pos);
    }
#endif
    for (; pos <= last; ++pos) {
        m_verify_budget += 1;
        if (text[pos + m_rare1] == rare1 && text[pos + m_rare2] == rare2 && matches_at(text + pos))
            return pos;
        if (m_verify_budget < -4096) {
            m_use_kmp = true;
            return find_kmp(text, text_length, pos + 1);
        }
    }
    return -1;
}

// Finds the rarer byte with memchr. Returns a hit, -1 when none is left, or kKeepScanning with
// `pos_io` at the first position not examined, when stops became too frequent (back to the
// filter for good) or verification too costly (on to KMP, as the filter does). Verification
// draws on the filter's budget: each position passed over earns one byte of comparing.
i32 ByteSearcher::scan_memchr(const u8* text, i32& pos_io, i32 last)
{
    const u8 rare1 = m_needle[m_rare1], rare2 = m_needle[m_rare2];
    i32 pos = pos_io;
    while (pos <= last) {
        const auto* at =
            static_cast<const u8*>(std::memchr(text + pos + m_rare1, rare1, static_cast<size_t>(last - pos + 1)));
        if (!at)
            return -1;
        const i32 candidate = static_cast<i32>(at - text) - m_rare1;
        const i32 passed = candidate - pos + 1;
        m_verify_budget += passed;
        if (text[candidate + m_rare2] == rare2 && matches_at(text + candidate))
            return candidate;
        m_memchr_credit += passed - 64;
        pos = candidate + 1;
        if (m_verify_budget >= -4096 && m_memchr_credit >= -4096)
            continue;
        m_use_kmp = m_verify_budget < -4096;
        m_use_memchr = false;
        pos_io = pos;
        return kKeepScanning;
    }
    return -1;
}

#if defined(QV_HAVE_SSE2_PATH)
// Filters 32 positions at a time on the two rare bytes. Returns a hit, -1 when none is left,
// or kKeepScanning with `pos_io` at the first position it did not examine (near the end of the
// text, or when verification became too costly and the searcher switched to KMP).
__attribute__((target("sse2"))) i32 ByteSearcher::scan_sse2(const u8* text, i32& pos_io, i32 last)
{
    // The loop works on locals only: through the reference and the members the compiler would
    // store and reload the position, the budget and the offsets on every block.
    const __m128i b1 = _mm_set1_epi8(static_cast<char>(m_needle[m_rare1]));
    const __m128i b2 = _mm_set1_epi8(static_cast<char>(m_needle[m_rare2]));
    const u8* p1 = text + m_rare1;
    const u8* p2 = text + m_rare2;
    const u8* needle = m_needle;
    const size_t length = static_cast<size_t>(m_length);
    i64 budget = m_verify_budget;
    i32 pos = pos_io;
    i32 result = kKeepScanning;
    while (result == kKeepScanning && pos + 31 <= last) {
        const __m128i low =
            _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p1 + pos)), b1),
                          _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p2 + pos)), b2));
        const __m128i high =
            _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p1 + pos + 16)), b1),
                          _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p2 + pos + 16)), b2));
        // Verification may cost at most about as much as the scan itself.
        budget += 32;
        if (__builtin_expect(_mm_movemask_epi8(_mm_or_si128(low, high)) != 0, 0)) {
            u32 mask = static_cast<u32>(_mm_movemask_epi8(low)) | (static_cast<u32>(_mm_movemask_epi8(high)) << 16);
            for (; mask; mask &= mask - 1) {
                const i32 candidate = pos + __builtin_ctz(mask);
                budget -= static_cast<i64>(length);
                if (std::memcmp(text + candidate, needle, length) == 0) {
                    result = candidate;
                    break;
                }
            }
            if (result == kKeepScanning && budget < -4096) {
                m_use_kmp = true;
                pos += 32;
                break;
            }
        }
        if (result == kKeepScanning)
            pos += 32;
    }
    m_verify_budget = budget;
    pos_io = pos;
    return result;
}
#endif

i32 ByteSearcher::find_kmp(const u8* text, i32 text_length, i32 from)
{
    if (m_failure.empty()) {
        // The search runs inside exported routines, which no C++ exception may leave. Without
        // memory for the table it still answers, comparing at every position.
        try {
            m_failure.assign(static_cast<size_t>(m_length), 0);
        } catch (const std::bad_alloc&) {
            for (i32 i = from; i <= text_length - m_length; ++i) {
                if (std::memcmp(text + i, m_needle, static_cast<size_t>(m_length)) == 0)
                    return i;
            }
            return -1;
        }
        for (i32 i = 1, k = 0; i < m_length; ++i) {
            while (k > 0 && m_needle[i] != m_needle[k])
                k = m_failure[k - 1];
            if (m_needle[i] == m_needle[k])
                ++k;
            m_failure[i] = k;
        }
    }
    i32 matched = 0;
    for (i32 i = from; i < text_length; ++i) {
        while (matched > 0 && text[i] != m_needle[matched])
            matched = m_failure[matched - 1];
        if (text[i] == m_needle[matched])
            ++matched;
        if (matched == m_length)
            return i - m_length + 1;
    }
    return -1;
}

i32 find_bytes(const u8* text, i32 text_length, const u8* needle, i32 needle_length, i32 from)
{
    ByteSearcher searcher(needle, needle_length);
    return searcher.find(text, text_length, from);
}

}  // namespace qv
