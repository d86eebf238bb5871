// What a character is in a string, by its encoding tag and the system code page: UTF-8
// sequences, UTF-16 units, double-byte characters of the system code page, or bytes. The
// character-counting string functions turn character positions into byte offsets here.
#pragma once

#include "runtime/strings/character_tables.h"
#include "runtime/strings/string_ref.h"

namespace qv {

enum class CharacterScheme : u8 {
    Bytes,  // one byte each
    Utf8,   // a byte that is not a continuation byte starts a character
    Utf16,  // two bytes each
    Dbcs,   // one byte, or two when the first is a lead byte of the system code page
};

// UTF-8 and UTF-16 by their tags; any other text except ASCII is double-byte on a DBCS system.
CharacterScheme character_scheme(u32 encoding);

inline bool is_utf8_continuation(u8 byte) { return (byte & 0xC0) == 0x80; }

// Text with its scheme, for walking it character by character.
class CharacterWalk {
public:
    CharacterWalk(const u8* text, i32 length, CharacterScheme scheme)
        : m_text(text), m_length(length), m_scheme(scheme), m_lead(character_tables().lead)
    {
    }
    explicit CharacterWalk(const StringRef& s)
        : CharacterWalk(s.bytes(), s.length(), character_scheme(s.encoding())) { }

    CharacterScheme scheme() const { return m_scheme; }

    // Start of the character after the one at `offset` (never beyond the end).
    i32 next(i32 offset) const;
    // Start of the character that ends at `offset` (> 0); assumes the text is walked from
    // character starts, as a double-byte text can only be read forwards for certain.
    i32 previous(i32 offset) const;
    // Byte count of the character at `offset`.
    i32 size_at(i32 offset) const { return next(offset) - offset; }

    i32 count() const;
    // Byte offset where character `index` (0-based) starts; the length when the text has fewer.
    i32 offset_of(i64 index) const;
    // Number of characters that start before `offset`.
    i32 index_of(i32 offset) const;
    // Offset of the start of the `count`-th character from the end; 0 when there are fewer.
    i32 offset_from_end(i64 count) const;

private:
    const u8* m_text;
    i32 m_length;
    CharacterScheme m_scheme;
    const u8* m_lead;
};

}  // namespace qv
