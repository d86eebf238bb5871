// POSIX stand-ins for the system code page's character services: Western Latin (1252) by
// default, and the Japanese double-byte code page 932 when a test selects it. The tables
// follow what Windows reports for those code pages; 932 covers ASCII, the full-width Latin,
// Greek and Cyrillic letters and the ideographic space, which is what the tests rely on.
#include "platform/code_page_tables.h"

#include "platform/system_code_page.h"

namespace platform {
namespace {

bool japanese() { return system_code_page() == 932; }

bool is_ascii_space(u8 byte) { return byte == 0x20 || (byte >= 0x09 && byte <= 0x0D); }

// Upper-case partner of a 1252 byte, or the byte itself.
u8 upper_1252(u8 byte)
{
    if (byte >= 'a' && byte <= 'z')
        return static_cast<u8>(byte - 0x20);
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)
        return static_cast<u8>(byte - 0x20);
    switch (byte) {
    case 0x9A: return 0x8A;  // s with caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z with caron
    case 0xFF: return 0x9F;  // y with diaeresis
    default: return byte;
    }
}

u8 lower_1252(u8 byte)
{
    if (byte >= 'A' && byte <= 'Z')
        return static_cast<u8>(byte + 0x20);
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)
        return static_cast<u8>(byte + 0x20);
    switch (byte) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return byte;
    }
}

// Paired ranges of double-byte codes in 932: upper-case letters and their lower-case forms.
struct CaseRange {
    u16 upper_first;
    u16 lower_first;
    u16 count;
};
constexpr CaseRange kRanges932[] = {
    {0x8260, 0x8281, 26},  // full-width Latin A-Z
    {0x839F, 0x83BF, 24},  // Greek
    {0x8440, 0x8470, 15},  // Cyrillic up to the gap at 0x847F in the lower-case row
    {0x844F, 0x8480, 18},
};

u16 map_932(u16 code, LetterCase target)
{
    for (const CaseRange& range : kRanges932) {
        const u16 from = target == LetterCase::Upper ? range.lower_first : range.upper_first;
        const u16 to = target == LetterCase::Upper ? range.upper_first : range.lower_first;
        if (code >= from && code < from + range.count)
            return static_cast<u16>(to + (code - from));
    }
    return code;
}

}  // namespace

bool is_lead_byte(u8 byte) { return japanese() && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)); }

bool change_character_case(u8* character, i32 length, LetterCase target)
{
    if (length == 1) {
        const u8 byte = character[0];
        u8 mapped;
        if (japanese()) {
            const bool letter =
                target == LetterCase::Upper ? (byte >= 'a' && byte <= 'z') : (byte >= 'A' && byte <= 'Z');
            mapped = letter ? static_cast<u8>(byte ^ 0x20) : byte;
        } else {
            mapped = target == LetterCase::Upper ? upper_1252(byte) : lower_1252(byte);
        }
        character[0] = mapped;
        return mapped != byte;
    }
    if (length != 2 || !japanese() || !is_lead_byte(character[0]))
        return false;
    const u16 code = static_cast<u16>(character[0] << 8 | character[1]);
    const u16 mapped = map_932(code, target);
    character[0] = static_cast<u8>(mapped >> 8);
    character[1] = static_cast<u8>(mapped & 0xFF);
    return mapped != code;
}

bool is_space_character(const u8* character, i32 length)
{
    if (length == 1)
        return is_ascii_space(character[0]) || (character[0] == 0xA0 && !japanese());
    return length == 2 && japanese() && character[0] == 0x81 && character[1] == 0x40;
}

NumberSeparators number_separators() { return {".", ","}; }

}  // namespace platform
