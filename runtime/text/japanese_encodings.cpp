// Shift-JIS, EUC-JP and ISO-2022-JP are three byte forms of the same character sets: ASCII
// (or JIS X 0201 Roman), the half-width katakana of JIS X 0201, and the 94 x 94 kanji table of
// JIS X 0208, whose codes are two bytes 0x21-0x7E ("row" and "cell").
//
//   JIS X 0208   EUC-JP: both bytes + 0x80        ISO-2022-JP: as they are, after ESC $ B
//                Shift-JIS: two rows share a lead byte (0x81-0x9F for rows 1-62, 0xE0-0xEF
//                for rows 63-94); the trail byte 0x40-0x9E (skipping 0x7F) is a cell of the
//                odd row, 0x9F-0xFC one of the even row
//   katakana     EUC-JP: 0x8E then the byte       ISO-2022-JP: byte - 0x80, after ESC ( I
//                Shift-JIS: one byte 0xA1-0xDF
//
// so converting between them is arithmetic, with no table. Shift-JIS lead bytes 0xF0-0xFC
// (user-defined characters and the IBM extensions of Windows' code page 932) lie beyond row 94
// and have no JIS code: their bytes are copied as they are, like any byte that is not part of a
// character. JIS X 0212 characters (EUC-JP 0x8F and ESC $ ( D) have no Shift-JIS code: each
// becomes the geta mark U+3013 (Shift-JIS 81 AC), the usual stand-in for a missing kanji.
#include "runtime/text/japanese_encodings.h"

#include "runtime/text/encoding_tags.h"

namespace qv {
namespace {

constexpr u8 kEscape = 0x1B;
constexpr u8 kShiftOut = 0x0E;  // katakana on (JIS7)
constexpr u8 kShiftIn = 0x0F;   // katakana off
constexpr u8 kGeta[2] = {0x81, 0xAC};

bool in_range(u8 b, u8 low, u8 high) { return b >= low && b <= high; }

bool is_shift_jis_lead(u8 b) { return in_range(b, 0x81, 0x9F) || in_range(b, 0xE0, 0xEF); }
bool is_shift_jis_trail(u8 b) { return in_range(b, 0x40, 0xFC); }
bool is_katakana_byte(u8 b) { return in_range(b, 0xA1, 0xDF); }

struct JisCode {
    u8 row;   // 0x21-0x7E
    u8 cell;  // 0x21-0x7E
};

JisCode jis_from_shift_jis(u8 lead, u8 trail)
{
    const u8 pair = static_cast<u8>(lead - (lead >= 0xE0 ? 0xB0 : 0x70));  // 0x11-0x3F
    if (trail >= 0x9F)
        return {static_cast<u8>(pair * 2), static_cast<u8>(trail - 0x7E)};
    return {static_cast<u8>(pair * 2 - 1), static_cast<u8>(trail - (trail >= 0x80 ? 0x20 : 0x1F))};
}

void append_shift_jis(std::vector<u8>& out, JisCode jis)
{
    const u8 lead = static_cast<u8>(((jis.row + 1) >> 1) + (jis.row <= 0x5E ? 0x70 : 0xB0));
    u8 trail;
    if (jis.row & 1)
        trail = static_cast<u8>(jis.cell + (jis.cell <= 0x5F ? 0x1F : 0x20));
    else
        trail = static_cast<u8>(jis.cell + 0x7E);
    out.push_back(lead);
    out.push_back(trail);
}

void append_geta(std::vector<u8>& out) { out.insert(out.end(), kGeta, kGeta + 2); }

// ISO-2022-JP's character sets, and the escape sequence that selects each when writing.
enum class JisMode { Roman, Kanji, Katakana, Supplementary };

void switch_mode(std::vector<u8>& out, JisMode& mode, JisMode wanted)
{
    if (mode == wanted)
        return;
    static const u8 kKanji[] = {kEscape, '$', 'B'};
    static const u8 kKatakana[] = {kEscape, '(', 'I'};
    static const u8 kRoman[] = {kEscape, '(', 'J'};
    const u8* sequence = wanted == JisMode::Kanji ? kKanji : wanted == JisMode::Katakana ? kKatakana : kRoman;
    out.insert(out.end(), sequence, sequence + 3);
    mode = wanted;
}

// The mode an escape sequence at `text` selects, with its length; 0 when it is none of them.
i32 read_escape(const u8* text, i32 available, JisMode& mode)
{
    if (available >= 3 && text[1] == '$' && (text[2] == 'B' || text[2] == '@')) {
        mode = JisMode::Kanji;
        return 3;
    }
    if (available >= 4 && text[1] == '$' && text[2] == '(') {
        if (text[3] == 'B' || text[3] == '@' || text[3] == 'Q') {
            mode = JisMode::Kanji;
            return 4;
        }
        if (text[3] == 'D') {
            mode = JisMode::Supplementary;
            return 4;
        }
    }
    if (available >= 3 && text[1] == '(') {
        if (text[2] == 'B' || text[2] == 'J' || text[2] == 'H') {
            mode = JisMode::Roman;
            return 3;
        }
        if (text[2] == 'I') {
            mode = JisMode::Katakana;
            return 3;
        }
    }
    if (available >= 3 && text[1] == '&' && text[2] == '@')  // announces JIS X 0208-1990
        return 3;
    return 0;
}

}  // namespace

std::vector<u8> shift_jis_to_euc_jp(const u8* text, i32 length)
{
    std::vector<u8> out;
    out.reserve(static_cast<size_t>(length) + length / 4);
    for (i32 i = 0; i < length; ++i) {
        const u8 b = text[i];
        if (is_shift_jis_lead(b) && i + 1 < length && is_shift_jis_trail(text[i + 1])) {
            const JisCode jis = jis_from_shift_jis(b, text[++i]);
            out.push_back(static_cast<u8>(jis.row | 0x80));
            out.push_back(static_cast<u8>(jis.cell | 0x80));
        } else if (is_katakana_byte(b)) {
            out.push_back(0x8E);
            out.push_back(b);
        } else {
            out.push_back(b);
        }
    }
    return out;
}

std::vector<u8> shift_jis_to_iso2022_jp(const u8* text, i32 length)
{
    std::vector<u8> out;
    out.reserve(static_cast<size_t>(length) + length / 4 + 8);
    JisMode mode = JisMode::Roman;
    for (i32 i = 0; i < length; ++i) {
        const u8 b = text[i];
        if (is_shift_jis_lead(b) && i + 1 < length && is_shift_jis_trail(text[i + 1])) {
            const JisCode jis = jis_from_shift_jis(b, text[++i]);
            switch_mode(out, mode, JisMode::Kanji);
            out.push_back(jis.row);
            out.push_back(jis.cell);
        } else if (is_katakana_byte(b)) {
            switch_mode(out, mode, JisMode::Katakana);
            out.push_back(static_cast<u8>(b - 0x80));
        } else {
            // Every other byte, line ends included, is written in Roman.
            switch_mode(out, mode, JisMode::Roman);
            out.push_back(b);
        }
    }
    switch_mode(out, mode, JisMode::Roman);
    return out;
}

std::vector<u8> euc_jp_to_shift_jis(const u8* text, i32 length)
{
    std::vector<u8> out;
    out.reserve(static_cast<size_t>(length));
    for (i32 i = 0; i < length; ++i) {
        const u8 b = text[i];
        const u8 next = i + 1 < length ? text[i + 1] : 0;
        if (b == 0x8E && is_katakana_byte(next)) {
            out.push_back(next);
            ++i;
        } else if (b == 0x8F && i + 2 < length && in_range(next, 0xA1, 0xFE) && in_range(text[i + 2], 0xA1, 0xFE)) {
            append_geta(out);
            i += 2;
        } else if (in_range(b, 0xA1, 0xFE) && in_range(next, 0xA1, 0xFE)) {
            append_shift_jis(out, {static_cast<u8>(b & 0x7F), static_cast<u8>(next & 0x7F)});
            ++i;
        } else {
            out.push_back(b);
        }
    }
    return out;
}

std::vector<u8> iso2022_jp_to_shift_jis(const u8* text, i32 length)
{
    std::vector<u8> out;
    out.reserve(static_cast<size_t>(length));
    JisMode mode = JisMode::Roman;
    JisMode before_shift_out = JisMode::Roman;
    for (i32 i = 0; i < length; ++i) {
        const u8 b = text[i];
        if (b == kEscape) {
            if (const i32 n = read_escape(text + i, length - i, mode)) {
                i += n - 1;
                continue;
            }
        } else if (b == kShiftOut) {
            if (mode != JisMode::Katakana)
                before_shift_out = mode;
            mode = JisMode::Katakana;
            continue;
        } else if (b == kShiftIn) {
            if (mode == JisMode::Katakana)
                mode = before_shift_out;
            continue;
        }
        const bool two_byte_set = mode == JisMode::Kanji || mode == JisMode::Supplementary;
        if (two_byte_set && in_range(b, 0x21, 0x7E) && i + 1 < length && in_range(text[i + 1], 0x21, 0x7E)) {
            if (mode == JisMode::Kanji)
                append_shift_jis(out, {b, text[i + 1]});
            else
                append_geta(out);
            ++i;
        } else if (mode == JisMode::Katakana && in_range(b, 0x21, 0x5F)) {
            out.push_back(static_cast<u8>(b + 0x80));
        } else {
            out.push_back(b);  // line ends and other controls pass in any mode
        }
    }
    return out;
}

// Ken Lunde's detector: reads until one of the byte patterns only one encoding can produce.
u32 guess_japanese_encoding(const u8* text, i32 length)
{
    enum class Guess { Undecided, EucOrShiftJis, Iso2022, Euc, ShiftJis };
    Guess guess = Guess::Undecided;
    i32 i = 0;
    // The byte at i, or -1 past the end (every range test fails for it).
    auto at = [&](i32 k) -> i32 { return k < length ? text[k] : -1; };
    auto within = [](i32 c, i32 low, i32 high) { return c >= low && c <= high; };
    while ((guess == Guess::Undecided || guess == Guess::EucOrShiftJis) && i < length) {
        i32 c = at(i);
        if (c == kEscape) {
            c = at(++i);
            if (c == '$') {
                c = at(++i);
                if (c == 'B' || c == '@')
                    guess = Guess::Iso2022;
            } else if (c == 'K') {
                guess = Guess::Iso2022;
            }
        } else if (within(c, 0x81, 0x8D) || within(c, 0x8F, 0x9F)) {
            guess = Guess::ShiftJis;
        } else if (c == 0x8E) {
            c = at(++i);
            if (within(c, 0x40, 0x7E) || within(c, 0x80, 0xA0) || within(c, 0xE0, 0xFC))
                guess = Guess::ShiftJis;
            else if (within(c, 0xA1, 0xDF))
                guess = Guess::EucOrShiftJis;
        } else if (within(c, 0xA1, 0xDF)) {
            c = at(++i);
            if (within(c, 0xF0, 0xFE)) {
                guess = Guess::Euc;
            } else if (within(c, 0xA1, 0xDF)) {
                guess = Guess::EucOrShiftJis;
            } else if (within(c, 0xE0, 0xEF)) {
                guess = Guess::EucOrShiftJis;
                while (c >= 0x40 && guess == Guess::EucOrShiftJis) {
                    if (c >= 0x81) {
                        if (c <= 0x8D || within(c, 0x8F, 0x9F))
                            guess = Guess::ShiftJis;
                        else if (within(c, 0xFD, 0xFE))
                            guess = Guess::Euc;
                    }
                    c = at(++i);
                }
            } else if (within(c, 0x00, 0x9F)) {
                guess = Guess::ShiftJis;
            }
        } else if (within(c, 0xF0, 0xFE)) {
            guess = Guess::Euc;
        } else if (within(c, 0xE0, 0xEF)) {
            c = at(++i);
            if (within(c, 0x40, 0x7E) || within(c, 0x80, 0xA0))
                guess = Guess::ShiftJis;
            else if (within(c, 0xFD, 0xFE))
                guess = Guess::Euc;
            else if (within(c, 0xA1, 0xFC))
                guess = Guess::EucOrShiftJis;
        }
        ++i;
    }
    switch (guess) {
    case Guess::Iso2022: return kEncodingISO2022JP;
    case Guess::Euc: return kEncodingEUCJP;
    case Guess::ShiftJis: return kEncodingShiftJIS;
    default: return 0;
    }
}

}  // namespace qv
