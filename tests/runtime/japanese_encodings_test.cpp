// The tag-to-code-page table, the arithmetic conversions between Shift-JIS, EUC-JP and
// ISO-2022-JP, and the guess at a text's Japanese encoding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/text/encoding_tags.h"
#include "runtime/text/japanese_encodings.h"

namespace {

using namespace qv;

struct TagCase {
    const char* name;
    u32 tag;
    u32 code_page;
};

constexpr TagCase kTagCases[] = {
    {"Mac Roman", 0, 10000},
    {"Mac Japanese", 1, 10001},
    {"Mac Cyrillic", 7, 10007},
    {"Mac Turkish", 35, 10081},
    {"Mac Icelandic", 37, 10079},
    {"UTF-16", kEncodingUTF16, 1200},
    {"UTF-8", kEncodingUTF8, 65001},
    {"base 257, format 0", 257, 1200},
    {"base 259, format 1 (UTF-7)", 259 | (1u << 26), 65000},
    {"base 256, format 2", 256 | (2u << 26), 65001},
    {"base 256, format 3 (UTF-32): none", 256 | (3u << 26), 0},
    {"ISO Arabic", 518, 708},
    {"ISO Latin 1: none", 513, 0},
    {"DOS Latin US", 1024, 437},
    {"DOS Thai", 1053, 874},
    {"DOS Japanese", 1056, 932},
    {"DOS Chinese traditional", 1059, 950},
    {"Windows Latin 1", 1280, 1252},
    {"Windows Vietnamese", 1288, 1258},
    {"Windows Korean Johab", 1296, 1361},
    {"ASCII", kEncodingASCII, 1252},
    {"GB 2312 (1585)", 1585, 936},
    {"ISO-2022-JP", kEncodingISO2022JP, kCodePageISO2022JP},
    {"EUC-JP", kEncodingEUCJP, kCodePageEUCJP},
    {"Shift-JIS", kEncodingShiftJIS, 932},
    {"KOI8-R: none", 2562, 0},
    {"EBCDIC 3073", 3073, 37},
    {"EBCDIC 3074", 3074, 37},
    {"unknown reads as 1252", kEncodingUnknown, 1252},
    {"only the low 16 bits count", 0x00010500, 1252},
};

TEST(EncodingTags, MapToTheirCodePages)
{
    for (const TagCase& c : kTagCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(code_page_of_tag(c.tag), c.code_page);
    }
}

TEST(EncodingTags, UsableCodePages)
{
    EXPECT_TRUE(is_usable_code_page(kCodePageEUCJP));
    EXPECT_TRUE(is_usable_code_page(kCodePageISO2022JP));
    EXPECT_TRUE(is_usable_code_page(65001));
    EXPECT_TRUE(is_usable_code_page(1200));
    EXPECT_TRUE(is_usable_code_page(932));
    EXPECT_TRUE(is_usable_code_page(1252));
    EXPECT_FALSE(is_usable_code_page(0));
    EXPECT_FALSE(is_usable_code_page(4242));
}

std::vector<u8> bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<u8> to_euc(const std::string& s)
{
    return shift_jis_to_euc_jp(reinterpret_cast<const u8*>(s.data()), static_cast<i32>(s.size()));
}
std::vector<u8> to_iso(const std::string& s)
{
    return shift_jis_to_iso2022_jp(reinterpret_cast<const u8*>(s.data()), static_cast<i32>(s.size()));
}
std::vector<u8> from_euc(const std::string& s)
{
    return euc_jp_to_shift_jis(reinterpret_cast<const u8*>(s.data()), static_cast<i32>(s.size()));
}
std::vector<u8> from_iso(const std::string& s)
{
    return iso2022_jp_to_shift_jis(reinterpret_cast<const u8*>(s.data()), static_cast<i32>(s.size()));
}

struct JapaneseCase {
    const char* name;
    std::string shift_jis;
    std::string euc_jp;
    std::string iso2022_jp;
};

// Both directions hold for every row.
const JapaneseCase kJapaneseCases[] = {
    {"ASCII only", "abc\r\n", "abc\r\n", "abc\r\n"},
    {"first JIS code (ideographic space)", "\x81\x40", "\xA1\xA1", "\x1B$B!!\x1B(J"},
    {"even row (U+3041, row 4)", "\x82\x9F", "\xA4\xA1", "\x1B$B$!\x1B(J"},
    {"odd row after the 7F gap", "\x81\x80", "\xA1\xE0", "\x1B$B!`\x1B(J"},
    {"wave dash / fullwidth tilde", "\x81\x60", "\xA1\xC1", "\x1B$B!A\x1B(J"},
    {"kanji rows 16 and 47", "\x88\x9F\x98\x72", "\xB0\xA1\xCF\xD3", "\x1B$B0!OS\x1B(J"},
    {"lead E0 (row 63)", "\xE0\x40", "\xDF\xA1", "\x1B$B_!\x1B(J"},
    {"last JIS code", "\xEF\xFC", "\xFE\xFE", "\x1B$B~~\x1B(J"},
    {"NEC row 13 (circled one)", "\x87\x40", "\xAD\xA1", "\x1B$B-!\x1B(J"},
    {"half-width katakana", "\xB1\xDF", "\x8E\xB1\x8E\xDF", "\x1B(I1_\x1B(J"},
    {"mixed, one switch per run",
     "A\x82\xA0\x82\xA2"
     "B\xB1\r\n",
     "A\xA4\xA2\xA4\xA4"
     "B\x8E\xB1\r\n",
     "A\x1B$B$\"$$\x1B(JB\x1B(I1\x1B(J\r\n"},
    {"kanji then line end", "\x93\xFA\n\x96\x7B", "\xC6\xFC\n\xCB\xDC", "\x1B$BF|\x1B(J\n\x1B$BK\\\x1B(J"},
};

TEST(JapaneseEncodings, ShiftJisToEucJpAndIso2022JpAndBack)
{
    for (const JapaneseCase& c : kJapaneseCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(to_euc(c.shift_jis), bytes(c.euc_jp));
        EXPECT_EQ(to_iso(c.shift_jis), bytes(c.iso2022_jp));
        EXPECT_EQ(from_euc(c.euc_jp), bytes(c.shift_jis));
        EXPECT_EQ(from_iso(c.iso2022_jp), bytes(c.shift_jis));
    }
}

TEST(JapaneseEncodings, EveryJisCodeRoundTripsThroughAllThreeForms)
{
    for (u8 lead = 0x81; lead <= 0xEF; ++lead) {
        if (lead == 0xA0)
            lead = 0xE0;
        for (u32 trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const std::string sjis{static_cast<char>(lead), static_cast<char>(trail)};
            const std::vector<u8> euc = to_euc(sjis);
            ASSERT_EQ(euc.size(), 2u);
            EXPECT_EQ(from_euc(std::string(euc.begin(), euc.end())), bytes(sjis))
                << std::hex << int(lead) << " " << trail;
            const std::vector<u8> iso = to_iso(sjis);
            EXPECT_EQ(from_iso(std::string(iso.begin(), iso.end())), bytes(sjis))
                << std::hex << int(lead) << " " << trail;
        }
    }
}

struct OneWayCase {
    const char* name;
    std::string input;
    std::string output;
};

// What has no counterpart: copied byte for byte, or the geta mark 81 AC for JIS X 0212.
const OneWayCase kToEucCases[] = {
    {"user-defined lead F0 has no JIS row", "\xF0\x40", "\xF0\x40"},
    {"IBM extension lead FA", "\xFA\x40", "\xFA\x40"},
    {"lone lead byte at the end", "a\x81", "a\x81"},
    {"lead byte before a byte that is no trail", "\x81\x20", "\x81\x20"},
    {"single bytes 80 and A0", "\x80\xA0", "\x80\xA0"},
};
const OneWayCase kToIsoCases[] = {
    {"user-defined lead F0: bytes in Roman", "\x82\xA0\xF0\x40", "\x1B$B$\"\x1B(J\xF0\x40"},
    {"lone lead byte at the end", "\x82\xA0\x81", "\x1B$B$\"\x1B(J\x81"},
};
const OneWayCase kFromEucCases[] = {
    {"JIS X 0212 becomes the geta mark", "a\x8F\xB0\xA1z", "a\x81\xACz"},
    {"lone 8E",
     "\x8E"
     "a",
     "\x8E"
     "a"},
    {"lone byte A1 at the end", "a\xA1", "a\xA1"},
};
const OneWayCase kFromIsoCases[] = {
    {"ESC $ @ (JIS C 6226)", "\x1B$@F|\x1B(B", "\x93\xFA"},
    {"ESC $ ( B", "\x1B$(BF|\x1B(B", "\x93\xFA"},
    {"JIS X 0212 becomes the geta mark", "\x1B$(D0!\x1B(B", "\x81\xAC"},
    {"SO and SI around katakana",
     "a\x0E"
     "1\x0F"
     "b",
     "a\xB1"
     "b"},
    {"line end inside kanji mode passes", "\x1B$BF|\nK\\\x1B(B", "\x93\xFA\n\x96\x7B"},
    {"ESC & @ announcer is dropped", "\x1B&@\x1B$BF|", "\x93\xFA"},
    {"unknown escape stays", "\x1B(Zx", "\x1B(Zx"},
    {"odd byte at the end of kanji", "\x1B$BF", "F"},
};

TEST(JapaneseEncodings, BytesWithoutACounterpart)
{
    for (const OneWayCase& c : kToEucCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(to_euc(c.input), bytes(c.output));
    }
    for (const OneWayCase& c : kToIsoCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(to_iso(c.input), bytes(c.output));
    }
    for (const OneWayCase& c : kFromEucCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(from_euc(c.input), bytes(c.output));
    }
    for (const OneWayCase& c : kFromIsoCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(from_iso(c.input), bytes(c.output));
    }
}

struct GuessCase {
    const char* name;
    std::string text;
    u32 tag;
};

const GuessCase kGuessCases[] = {
    {"empty", "", 0},
    {"pure ASCII", "plain text\r\n", 0},
    {"Shift-JIS hiragana 82 A0", "x\x82\xA0", kEncodingShiftJIS},
    {"ESC $ B", "a\x1B$B$\"\x1B(B", kEncodingISO2022JP},
    {"ESC $ @", "\x1B$@", kEncodingISO2022JP},
    {"ESC K", "\x1BK", kEncodingISO2022JP},
    {"ESC $ followed by something else", "\x1B$A", 0},
    {"8E then a Shift-JIS trail", "\x8E\x40", kEncodingShiftJIS},
    {"8E then katakana: undecided", "\x8E\xB1", 0},
    {"A1-DF then F0-FE: EUC-JP", "\xB0\xF0", kEncodingEUCJP},
    {"A1-DF then A1-DF: undecided", "\xB0\xB1", 0},
    {"A1-DF then below A0: Shift-JIS",
     "\xB1"
     "a",
     kEncodingShiftJIS},
    {"A1-DF at the end: undecided", "\xB1", 0},
    {"A1-DF, E0-EF, then a Shift-JIS lead", "\xB1\xE0\x89\x40", kEncodingShiftJIS},
    {"A1-DF, E0-EF, then FD", "\xB1\xE0\xFD", kEncodingEUCJP},
    {"A1-DF, E0-EF, scan stops below 40", "\xB1\xE0\x20\x89", kEncodingShiftJIS},
    {"F0-FE: EUC-JP", "\xF5\xA1", kEncodingEUCJP},
    {"E0-EF then 40-7E: Shift-JIS", "\xE0\x40", kEncodingShiftJIS},
    {"E0-EF then 80-A0: Shift-JIS", "\xE0\x80", kEncodingShiftJIS},
    {"E0-EF then FD: EUC-JP", "\xE0\xFD", kEncodingEUCJP},
    {"E0-EF then A1-FC: undecided", "\xE0\xA1", 0},
    {"EUC-JP kanji B0 A1 twice: undecided", "\xB0\xA1\xB0\xA1", 0},
    {"EUC-JP kanji C6 FC: FC decides", "\xB0\xA1\xC6\xFC", kEncodingEUCJP},
    {"EUC-JP kanji then F0", "\xB0\xA1\xF0\xA1", kEncodingEUCJP},
};

TEST(JapaneseEncodings, GuessesTheEncodingFromItsBytes)
{
    for (const GuessCase& c : kGuessCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(guess_japanese_encoding(reinterpret_cast<const u8*>(c.text.data()), static_cast<i32>(c.text.size())),
                  c.tag);
    }
}

}  // namespace
