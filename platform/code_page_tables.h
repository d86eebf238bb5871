// Character services of the system ANSI code page, which the string functions read once per
// code page into their tables: lead bytes, case mapping, character types, and the locale's
// number separators.
#pragma once

#include <string>

#include "core/types.h"

namespace platform {

// True when the byte starts a double-byte character in the system code page.
bool is_lead_byte(u8 byte);

enum class LetterCase { Upper, Lower };

// Maps one character of the system code page (one byte, or a lead byte and its trail byte) to
// the other case in place. False, with the bytes left alone, when the character has no such
// form of the same length in the code page or is not a character of it at all: a case change
// never turns an unknown code into a replacement character.
bool change_character_case(u8* character, i32 length, LetterCase target);

// True when the character's type is space or blank (tabs, line ends, the ideographic space).
bool is_space_character(const u8* character, i32 length);

// The user's decimal and thousands separators, in UTF-8.
struct NumberSeparators {
    std::string decimal;
    std::string thousands;
};
NumberSeparators number_separators();

}  // namespace platform
