// Case-insensitive search in UTF-8 text without folding the text. One character of the
// pattern is the anchor: the one whose possible first bytes (those of every character folding
// to it) are rarest in a sample of the text. Those bytes are found with memchr; from each, the text is read
// back to where the pattern would start and compared character by character through the
// fold. In text with few such places (an ASCII word in Japanese text) this runs at memchr
// speed. When comparing costs more than
// scanning (a pattern like "aaab" in a run of a's), the filter gives up and the caller folds
// the whole text instead, which is linear whatever the text.
#pragma once

#include <vector>

#include "runtime/strings/case_functions.h"

namespace qv {

class Utf8CaseFilter {
public:
    // Prepares the pattern for searching the text; false when the filter cannot serve it (it
    // has no well-formed character), and the caller folds instead.
    bool prepare(const u8* find, i32 length, const u8* text, i32 text_length);

    // The first match starting at or after `from` (a character start) as [start, end), or
    // start -1. Sets `gave_up` instead when matching has grown too costly; `from` then still
    // needs searching.
    void next(const u8* text, i32 length, i32 from, i32& start, i32& end, bool& gave_up);

private:
    struct FoldedChar {
        u32 code_point;
        bool ill_formed;  // a byte that begins no well-formed character, compared as it is
    };
    i32 match_end(const u8* text, i32 length, i32 at, i32& compared) const;
    void restart();
    // The first bytes of every character that folds to `code_point`, into `out` (256 flags).
    static void first_bytes_folding_to(u32 code_point, bool (&out)[256]);
    i32 next_candidate(const u8* text, i32 length, i32 from);

    std::vector<FoldedChar> m_find;
    u8 m_ascii_fold[128] = {};  // the fold of each ASCII character that stays ASCII, else 0
    i32 m_anchor = 0;           // index of the anchor character in m_find
    u8 m_first_bytes[4] = {};   // bytes that can begin the anchor; more than 4 use the table
    i32 m_first_count = 0;
    bool m_first_table[256] = {};
    i32 m_next[4] = {};  // memchr's last answers, one per first byte (-1: none left)
    i32 m_scanned_to = 0;
    i32 m_last_from = 0;
    i64 m_budget = 0;
};

}  // namespace qv
