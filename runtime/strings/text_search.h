// The search behind InStr, Replace, ReplaceAll, CountFields and NthField: on a double-byte
// system exact and aligned to characters, otherwise ignoring case (through the code page's
// byte table for code-page text, the Unicode upper-case mapping for UTF-8 and UTF-16 text).
//
// Ignoring case works on folded copies: the text and the pattern are upper-cased once and the
// byte searcher runs over the copies, so a search stays linear however many hits it makes.
// Upper-casing can change the length of a UTF-8 character, so the UTF-8 fold records where
// lengths differ and hits are mapped back through those checkpoints; a hit can then be longer
// or shorter in the text than the pattern is. UTF-8 text is first searched without a fold
// (see utf8_case_filter.h), and folded only when that stops paying.
#pragma once

#include <memory>
#include <vector>

#include "runtime/strings/byte_search.h"
#include "runtime/strings/case_functions.h"
#include "runtime/strings/text_characters.h"
#include "runtime/strings/utf8_case_filter.h"

namespace qv {

enum class SearchCase { Exact, Ignore };

// A hit as byte offsets into the text: [start, end).
struct TextHit {
    i32 start;
    i32 end;
    bool found() const { return start >= 0; }
    // Where the next non-overlapping hit may start.
    i32 resume() const { return end > start ? end : start + 1; }
};

class TextSearch {
public:
    // `text` and `find` must be in the same encoding, `encoding` (their common tag), and
    // outlive the search. With SearchCase::Ignore, case is still respected on a double-byte
    // system, whose search is always exact. `fold` upper-cases UTF-8 text (tests give their
    // own to make lengths change).
    TextSearch(const StringRef& text, const StringRef& find, u32 encoding, SearchCase mode,
               CodePointMap fold = upper_code_point);

    // The first hit that starts at or after byte `from` at a character start; hits are asked
    // for in increasing order. Not found: {-1, -1}.
    TextHit next(i32 from);

    bool ignores_case() const { return m_mode != Mode::Exact; }

private:
    enum class Mode { Exact, Filtered, Folded };

    void fold_text();
    bool aligned_exact(i32 offset);
    bool dbcs_boundary(i32 offset);
    TextHit next_exact(i32 from);
    TextHit next_filtered(i32 from);
    TextHit next_folded(i32 from);
    i32 folded_to_text(i32 folded_offset) const;
    i32 text_to_folded(i32 text_offset) const;

    const u8* m_text;
    i32 m_length;
    CharacterWalk m_walk;
    Mode m_mode = Mode::Exact;
    i32 m_dbcs_cursor = 0;  // a known character start, for aligning on double-byte text
    const u8* m_find;
    i32 m_find_length;
    CodePointMap m_fold;
    Utf8CaseFilter m_filter;

    // Folded copies and the checkpoints where a UTF-8 fold changed a character's length:
    // pairs of (offset in the fold, offset in the text), both just after that character.
    std::vector<u8> m_folded_text;
    std::vector<u8> m_folded_find;
    std::vector<std::pair<i32, i32>> m_checkpoints;

    std::unique_ptr<ByteSearcher> m_searcher;
};

}  // namespace qv
