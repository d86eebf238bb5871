// Byte-exact substring search for large texts. A needle is prepared once and then searched
// for repeatedly (replace-all walks a text hit by hit).
//
// The common case in this system is a 3- to 14-byte UTF-8 pattern in Japanese text, where the
// pattern's first byte (0xE3 for kana) is among the most frequent bytes of the text, so a
// first-byte scan stops almost everywhere. Instead, two bytes of the needle that are rare in
// such text are picked, and 32 positions at a time (two 16-byte SSE2 compares per byte) are
// filtered on both; only positions that pass both are compared in full. If verification ever
// costs more than the scan (a degenerate text such as "aaaa...b" against "aaab"), the searcher
// switches for good to Knuth-Morris-Pratt, so a search never costs more than linear time.
// When the rarer of the two is rare in such text (ASCII punctuation, the lead bytes of
// full-width forms and symbols), GNU libc's memchr finds it instead, with one compare per
// byte instead of two; should it stop more often than once in 64 bytes, the searcher goes
// back to the filter. Its verifications count against the same budget as the filter's.
#pragma once

#include <vector>

#include "core/types.h"

namespace qv {

class ByteSearcher {
public:
    ByteSearcher(const u8* needle, i32 length);

    // Offset of the first occurrence at or after `from`, or -1.
    i32 find(const u8* text, i32 text_length, i32 from);

    i32 needle_length() const { return m_length; }

private:
    i32 find_filtered(const u8* text, i32 text_length, i32 from);
    static constexpr i32 kKeepScanning = -2;
    i32 scan_sse2(const u8* text, i32& pos, i32 last);
    i32 scan_memchr(const u8* text, i32& pos, i32 last);
    i32 find_kmp(const u8* text, i32 text_length, i32 from);
    bool matches_at(const u8* candidate);

    const u8* m_needle;
    i32 m_length;
    i32 m_rare1 = 0;  // positions in the needle of the two filter bytes
    i32 m_rare2 = 0;
    i64 m_verify_budget = 0;
    bool m_use_kmp = false;
    bool m_use_memchr = false;
    i64 m_memchr_credit = 0;     // bytes scanned per stop beyond the 1 in 64 allowed
    std::vector<i32> m_failure;  // KMP failure function, built on the switch
};

// One-shot form: offset of the first occurrence at or after `from`, or -1.
i32 find_bytes(const u8* text, i32 text_length, const u8* needle, i32 needle_length, i32 from);

}  // namespace qv
