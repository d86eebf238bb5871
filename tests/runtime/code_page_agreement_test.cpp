// The runtime's conversions agree with an independent codec, Python's (the expected files in
// tests/fixtures/encodings were written once by generate_expected.py there): every character
// of code pages 932 and 1252 and of the Japanese pseudo pages, and real Japanese text through
// Shift-JIS, EUC-JP and ISO-2022-JP and back. Where Windows' code pages and Python part, the
// difference is named here and the runtime follows Windows, in both builds.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/strings/encoding_conversion.h"
#include "runtime/text/encoding_tags.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::bytes_of;
using test::text_of;

std::string read_fixture(const char* name)
{
    const std::string path = std::string(QUAVER_SOURCE_DIR) + "/tests/fixtures/encodings/" + name;
    std::string out;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            out.append(buffer, n);
        std::fclose(f);
    }
    return out;
}

std::string utf16le(const std::vector<u32>& code_points)
{
    std::string out;
    for (u32 cp : code_points) {
        out.push_back(static_cast<char>(cp & 0xFF));
        out.push_back(static_cast<char>(cp >> 8));
    }
    return out;
}

std::string hex(const std::string& bytes)
{
    std::string out;
    char digits[4];
    for (unsigned char b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        out += digits;
    }
    return out.empty() ? "(nil)" : out;
}

std::string code_bytes(u32 code)
{
    return code > 0xFF ? std::string{char(code >> 8), char(code & 0xFF)} : std::string(1, char(code));
}

// Text through the runtime's general conversion, tag to tag.
std::string convert(const std::string& text, u32 from, u32 to)
{
    return text_of(convert_encoding(bytes_of(text, from), to));
}

// ---- cp932_table.txt --------------------------------------------------------------------

struct Cp932Table {
    std::map<u32, u32> character;           // code -> code point, for every code Python reads
    std::map<u32, u32> python_encoding;     // code -> the code cp932 writes its character as, where not itself
    std::map<u32, std::string> python_euc;  // code -> euc_jp bytes ("" none), where not the arithmetic form
};

u32 parse_hex(const std::string& s) { return static_cast<u32>(std::stoul(s, nullptr, 16)); }

const Cp932Table& cp932_table()
{
    static const Cp932Table s_table = [] {
        Cp932Table t;
        std::istringstream lines(read_fixture("cp932_table.txt"));
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            std::string first;
            words >> first;
            std::string a, b;
            if (first == "B") {
                words >> a >> b;
                t.python_encoding[parse_hex(a)] = parse_hex(b);
            } else if (first == "E") {
                words >> a >> b;
                std::string euc;
                for (size_t i = 0; b != "-" && i + 1 < b.size(); i += 2)
                    euc.push_back(static_cast<char>(parse_hex(b.substr(i, 2))));
                t.python_euc[parse_hex(a)] = euc;
            } else {
                const bool singles = first == "S";
                const u32 lead = singles ? 0 : parse_hex(first);
                u32 index = 0;
                std::string word;
                while (words >> word) {
                    const u32 trail = singles ? index : (index < 63 ? 0x40 + index : 0x41 + index);
                    if (word != "-")
                        t.character[singles ? trail : (lead << 8 | trail)] = parse_hex(word);
                    ++index;
                }
            }
        }
        return t;
    }();
    return s_table;
}

// The code page 932 code that Windows writes a character as, where Python writes another: for
// the NEC-selected IBM extensions (Shift-JIS ED40-EEFC, duplicates of the IBM extensions
// FA40-FC4B), Python's cp932 writes the NEC-selected code and Windows the IBM code.
u32 windows_encoding(u32 code, u32 python_encoding, const Cp932Table& t)
{
    const u32 lead = python_encoding >> 8;
    if (lead != 0xED && lead != 0xEE)
        return python_encoding;
    const u32 character = t.character.at(code);
    for (u32 ibm = 0xFA40; ibm <= 0xFCFC; ++ibm) {
        auto it = t.character.find(ibm);
        if (it != t.character.end() && it->second == character)
            return ibm;
    }
    return python_encoding;
}

TEST(CodePageAgreement, EveryCharacterOfCodePage932)
{
    const Cp932Table& t = cp932_table();
    ASSERT_EQ(t.character.size(), 9800u) << "the fixture is missing or truncated";
    i32 ibm_preferred = 0;
    for (const auto& [code, character] : t.character) {
        SCOPED_TRACE(testing::Message() << "code " << std::hex << code << " U+" << character);
        EXPECT_EQ(hex(convert(code_bytes(code), kEncodingShiftJIS, kEncodingUTF16)), hex(utf16le({character})));
        auto found = t.python_encoding.find(code);
        const u32 python_back = found == t.python_encoding.end() ? code : found->second;
        const u32 windows_back = windows_encoding(code, python_back, t);
        ibm_preferred += windows_back != python_back;
        EXPECT_EQ(hex(convert(utf16le({character}), kEncodingUTF16, kEncodingShiftJIS)), hex(code_bytes(windows_back)));
    }
    EXPECT_EQ(ibm_preferred, 746) << "373 NEC-selected IBM extensions and their 373 IBM duplicates";
}

// Where Python's cp1252 has no character, Windows reads the five unassigned bytes as the C1
// control characters of the same value, and writes them back.
TEST(CodePageAgreement, EveryByteOfCodePage1252)
{
    std::istringstream lines(read_fixture("cp1252_table.txt"));
    std::string byte, character;
    i32 count = 0, unassigned = 0;
    while (lines >> byte >> character) {
        const u32 b = parse_hex(byte);
        SCOPED_TRACE(testing::Message() << "byte " << byte);
        u32 expected = b;  // Windows, for Python's "-"
        if (character != "-")
            expected = parse_hex(character);
        else
            ++unassigned;
        EXPECT_EQ(hex(convert(code_bytes(b), kEncodingWindowsLatin1, kEncodingUTF16)), hex(utf16le({expected})));
        EXPECT_EQ(hex(convert(utf16le({expected}), kEncodingUTF16, kEncodingWindowsLatin1)), hex(code_bytes(b)));
        ++count;
    }
    EXPECT_EQ(count, 256);
    EXPECT_EQ(unassigned, 5) << "81, 8D, 8F, 90, 9D";
}

// The EUC-JP form of a Shift-JIS code of JIS X 0208 rows 1-94, by the JIS arithmetic.
std::string arithmetic_euc(u32 code)
{
    const u32 lead = code >> 8, trail = code & 0xFF;
    const u32 row = (lead - (lead >= 0xE0 ? 0xB0 : 0x70)) * 2 - (trail < 0x9F ? 1 : 0);
    const u32 cell = trail >= 0x9F ? trail - 0x7E : trail - (trail >= 0x80 ? 0x20 : 0x1F);
    return {char(row | 0x80), char(cell | 0x80)};
}

std::string iso_from_runtime(std::string iso)
{
    // Named difference: the runtime returns to Roman with ESC ( J (JIS X 0201 Roman), Python's
    // iso2022_jp to ASCII with ESC ( B. Both read the bytes that follow alike here.
    for (size_t at = 0; (at = iso.find("\x1B(J", at)) != std::string::npos; at += 3)
        iso[at + 2] = 'B';
    return iso;
}

// Every character of the pseudo pages: the characters of JIS X 0208 rows 1-94 (Shift-JIS lead
// bytes 81-9F, E0-EF), half-width katakana and 7-bit text. Through Shift-JIS each code gets
// its EUC-JP and ISO-2022-JP forms and comes back, and each character comes back through
// UTF-16 -> Shift-JIS -> EUC-JP or ISO-2022-JP -> UTF-16.
//
// Named difference: the cp932 extension rows (NEC row 13, lead 87; NEC-selected IBM rows
// 89-92, leads ED and EE) get their arithmetic EUC-JP codes in rows 13 and 89-92, as
// Microsoft's EUC-JP (CP51932, eucJP-ms) gives them. Python's euc_jp has none of these: it
// writes the duplicates of row 2 by their row-2 code, the IBM kanji by their JIS X 0212 code
// (8F ...), and the rest not at all.
TEST(CodePageAgreement, EveryCharacterOfTheJapanesePseudoPages)
{
    const Cp932Table& t = cp932_table();
    i32 checked = 0, named = 0;
    for (const auto& [code, character] : t.character) {
        const bool katakana = code >= 0xA1 && code <= 0xDF;
        const u32 lead = code >> 8;
        const bool jis_rows = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF);
        if (!(code < 0x80 || katakana || jis_rows))
            continue;
        SCOPED_TRACE(testing::Message() << "code " << std::hex << code << " U+" << character);
        const std::string sjis = code_bytes(code);
        std::string want_euc, want_iso;
        if (code < 0x80) {
            want_euc = want_iso = sjis;
        } else if (katakana) {
            want_euc = std::string{'\x8E', char(code)};
            want_iso = std::string("\x1B(I") + char(code - 0x80) + "\x1B(J";  // Python's iso2022_jp has no katakana
        } else {
            want_euc = arithmetic_euc(code);
            auto found = t.python_euc.find(code);
            if (found != t.python_euc.end()) {
                EXPECT_TRUE(lead == 0x87 || lead == 0xED || lead == 0xEE)
                    << "an unnamed difference from Python's euc_jp";
                ++named;
            }
            want_iso = std::string("\x1B$B") + char(want_euc[0] & 0x7F) + char(want_euc[1] & 0x7F) + "\x1B(J";
        }
        // ESC, SO and SI are ISO-2022-JP's own controls, not characters of it.
        const bool iso_control = code == 0x1B || code == 0x0E || code == 0x0F;
        const std::string euc = convert(sjis, kEncodingShiftJIS, kEncodingEUCJP);
        const std::string iso = iso_control ? want_iso : convert(sjis, kEncodingShiftJIS, kEncodingISO2022JP);
        EXPECT_EQ(hex(euc), hex(want_euc));
        EXPECT_EQ(hex(iso), hex(want_iso));
        // Back to Shift-JIS the text passes through UTF-16 (only the pseudo pages are reached
        // without it), so a duplicate comes back as the code Windows writes its character as.
        auto python_back = t.python_encoding.find(code);
        const std::string windows_code =
            code_bytes(windows_encoding(code, python_back == t.python_encoding.end() ? code : python_back->second, t));
        EXPECT_EQ(hex(convert(euc, kEncodingEUCJP, kEncodingShiftJIS)), hex(windows_code));
        if (!iso_control) {
            EXPECT_EQ(hex(convert(iso, kEncodingISO2022JP, kEncodingShiftJIS)), hex(windows_code));
        }

        const std::string wide = utf16le({character});
        const std::string canonical = convert(wide, kEncodingUTF16, kEncodingShiftJIS);
        if (canonical.size() == 2 && (u8(canonical[0]) >= 0xF0))
            continue;  // a duplicate whose code page 932 code is an IBM extension, beyond row 94
        const std::string via_euc = convert(canonical, kEncodingShiftJIS, kEncodingEUCJP);
        const std::string via_iso = convert(canonical, kEncodingShiftJIS, kEncodingISO2022JP);
        EXPECT_EQ(hex(convert(via_euc, kEncodingEUCJP, kEncodingUTF16)), hex(wide));
        if (!iso_control) {
            EXPECT_EQ(hex(convert(via_iso, kEncodingISO2022JP, kEncodingUTF16)), hex(wide));
        }
        ++checked;
    }
    EXPECT_EQ(named, 457) << "NEC row 13 and the NEC-selected IBM rows";
    EXPECT_GT(checked, 7000);
}

// ---- Real text --------------------------------------------------------------------------

class JapaneseText : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_text = read_fixture("ja_manpages.txt");
        s_cp932 = read_fixture("ja_manpages.cp932");
        s_euc = read_fixture("ja_manpages.euc-jp");
        s_iso = read_fixture("ja_manpages.iso-2022-jp");
    }
    void SetUp() override
    {
        ASSERT_GT(s_text.size(), 40000u) << "fixture missing";
        ASSERT_FALSE(s_cp932.empty());
    }
    static inline std::string s_text, s_cp932, s_euc, s_iso;
};

// Man pages of Debian's manpages-ja (ls, chmod, dmesg and part of xz, whose ranges use
// FULLWIDTH TILDE U+FF5E: "2 ～ 273").
TEST_F(JapaneseText, ToShiftJisAndBackAsPythonsCp932)
{
    const std::string sjis = convert(s_text, kEncodingUTF8, kEncodingShiftJIS);
    EXPECT_EQ(sjis.size(), s_cp932.size());
    EXPECT_TRUE(sjis == s_cp932) << "first difference at byte "
                                 << std::mismatch(sjis.begin(), sjis.end(), s_cp932.begin(), s_cp932.end()).first -
            sjis.begin();
    EXPECT_TRUE(convert(s_cp932, kEncodingShiftJIS, kEncodingUTF8) == s_text);
    EXPECT_NE(s_text.find("\xEF\xBD\x9E"), std::string::npos) << "the text holds U+FF5E";
}

// Named difference: Python's euc_jp reads A1C1 as WAVE DASH U+301C and has no code for U+FF5E;
// Windows' 932 reads the same JIS code (8160) as U+FF5E, and the runtime's EUC-JP is Shift-JIS
// rearranged. The expected file is Python's euc_jp of the text with U+FF5E written as U+301C.
TEST_F(JapaneseText, ToEucJpAndBackAsPythonsEucJp)
{
    const std::string sjis = convert(s_text, kEncodingUTF8, kEncodingShiftJIS);
    const std::string euc = convert(sjis, kEncodingShiftJIS, kEncodingEUCJP);
    EXPECT_TRUE(euc == s_euc) << "first difference at byte "
                              << std::mismatch(euc.begin(), euc.end(), s_euc.begin(), s_euc.end()).first - euc.begin();
    EXPECT_TRUE(convert(s_euc, kEncodingEUCJP, kEncodingShiftJIS) == sjis);
    EXPECT_TRUE(convert(s_euc, kEncodingEUCJP, kEncodingUTF8) == s_text);
}

// Named differences: ESC ( J for ESC ( B (see iso_from_runtime), and U+FF5E as for EUC-JP.
TEST_F(JapaneseText, ToIso2022JpAndBackAsPythonsIso2022Jp)
{
    const std::string sjis = convert(s_text, kEncodingUTF8, kEncodingShiftJIS);
    const std::string iso = convert(sjis, kEncodingShiftJIS, kEncodingISO2022JP);
    const std::string as_python = iso_from_runtime(iso);
    EXPECT_TRUE(as_python == s_iso)
        << "first difference at byte "
        << std::mismatch(as_python.begin(), as_python.end(), s_iso.begin(), s_iso.end()).first - as_python.begin();
    EXPECT_TRUE(convert(iso, kEncodingISO2022JP, kEncodingShiftJIS) == sjis);
    EXPECT_TRUE(convert(s_iso, kEncodingISO2022JP, kEncodingUTF8) == s_text) << "Python's own bytes read back";
}

// ---- The wave-dash family ---------------------------------------------------------------

struct FamilyCase {
    const char* name;
    u32 character;
    std::string windows;  // what code page 932 writes ("?" when it has no code)
    std::string python;   // what Python's cp932 writes ("" when it has none)
};

// Six JIS X 0208 codes have two Unicode readings: Microsoft's (which Windows' 932 reads and
// writes) and JIS's (which Python's euc_jp and iso2022_jp use). Python's cp932 reads them the
// Microsoft way but also writes the JIS characters to the same codes; Windows writes "?" for
// WAVE DASH, DOUBLE VERTICAL LINE and MINUS SIGN, and its best fit maps the cent, pound and not
// signs to their fullwidth forms' codes. Hollerpad's own text uses U+FF5E.
const FamilyCase kFamily[] = {
    {"FULLWIDTH TILDE", 0xFF5E, "\x81\x60", "\x81\x60"},
    {"WAVE DASH", 0x301C, "?", "\x81\x60"},
    {"PARALLEL TO", 0x2225, "\x81\x61", "\x81\x61"},
    {"DOUBLE VERTICAL LINE", 0x2016, "?", "\x81\x61"},
    {"FULLWIDTH HYPHEN-MINUS", 0xFF0D, "\x81\x7C", "\x81\x7C"},
    {"MINUS SIGN", 0x2212, "?", "\x81\x7C"},
    {"FULLWIDTH CENT SIGN", 0xFFE0, "\x81\x91", "\x81\x91"},
    {"CENT SIGN", 0x00A2, "\x81\x91", "\x81\x91"},
    {"FULLWIDTH POUND SIGN", 0xFFE1, "\x81\x92", "\x81\x92"},
    {"POUND SIGN", 0x00A3, "\x81\x92", "\x81\x92"},
    {"FULLWIDTH NOT SIGN", 0xFFE2, "\x81\xCA", "\x81\xCA"},
    {"NOT SIGN", 0x00AC, "\x81\xCA", "\x81\xCA"},
    {"HORIZONTAL BAR", 0x2015, "\x81\x5C", "\x81\x5C"},
    {"EM DASH", 0x2014, "?", ""},
    {"OVERLINE", 0x203E, "?", ""},
};

TEST(CodePageAgreement, WaveDashFamilyFollowsTheWindowsCodePage)
{
    for (const FamilyCase& c : kFamily) {
        SCOPED_TRACE(c.name);
        const std::string sjis = convert(utf16le({c.character}), kEncodingUTF16, kEncodingShiftJIS);
        EXPECT_EQ(hex(sjis), hex(c.windows));
        if (c.windows != c.python) {
            EXPECT_NE(hex(sjis), hex(c.python)) << "named: Windows and Python part here";
        }
    }
    // Reading: Windows' 932 gives the Microsoft characters, and so do the pseudo pages, whose
    // codes go through Shift-JIS; Python's euc_jp would give U+301C for A1C1.
    EXPECT_EQ(hex(convert("\x81\x60", kEncodingShiftJIS, kEncodingUTF16)), hex(utf16le({0xFF5E})));
    EXPECT_EQ(hex(convert("\xA1\xC1", kEncodingEUCJP, kEncodingUTF16)), hex(utf16le({0xFF5E})));
    EXPECT_EQ(hex(convert("\x1B$B!A\x1B(B", kEncodingISO2022JP, kEncodingUTF16)), hex(utf16le({0xFF5E})));
    EXPECT_EQ(hex(convert("\xA1\xDD", kEncodingEUCJP, kEncodingUTF16)), hex(utf16le({0xFF0D})));
}

// Windows' 932 also reads the single bytes 80, A0, FD, FE, FF (Python agrees; glibc's CP932
// does not, and the Linux build adds them).
TEST(CodePageAgreement, SingleBytesOfCodePage932BeyondShiftJis)
{
    const std::string bytes("\x80\xA0\xFD\xFE\xFF", 5);
    const std::string wide = utf16le({0x0080, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3});
    EXPECT_EQ(hex(convert(bytes, kEncodingShiftJIS, kEncodingUTF16)), hex(wide));
    EXPECT_EQ(hex(convert(wide, kEncodingUTF16, kEncodingShiftJIS)), hex(bytes));
}

}  // namespace
