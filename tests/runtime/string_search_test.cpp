// InStr, Replace, ReplaceAll, CountFields and NthField: case-insensitive on a Western system
// (code points for Unicode text), exact and aligned to characters on a Japanese one.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/strings/case_functions.h"
#include "runtime/strings/encoding_conversion.h"
#include "runtime/strings/search_functions.h"
#include "runtime/strings/text_search.h"
#include "runtime/text/utf.h"
#include "sdk/quaver.h"
#include "tests/support/code_page_guard.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::ascii;
using test::bytes_of;
using test::text_of;
using test::utf16;
using test::utf8;

struct InStrCase {
    const char* name;
    i32 start;
    StringRef source;
    StringRef find;
    i32 expected;
};

TEST(StringSearch, InStrIgnoresCaseAndCountsCharactersOnAWesternSystem)
{
    QV_REQUIRE_CODE_PAGE(1252);
    const InStrCase cases[] = {
        {"ASCII ignoring case", 1, ascii("Hello World"), ascii("WORLD"), 7},
        {"start below 1", -5, ascii("abc"), ascii("A"), 1},
        {"start past the hit", 2, ascii("abcabc"), ascii("a"), 4},
        {"start beyond the end", 4, ascii("abc"), ascii("c"), 0},
        {"empty find gives start", 3, ascii("abc"), StringRef(), 3},
        {"empty source", 1, StringRef(), ascii("a"), 0},
        {"code page letters through the byte table", 1,
         bytes_of("stra\xdf"
                  "e \xc9t\xc9"),
         bytes_of("\xe9t\xe9"), 8},
        {"UTF-8 positions in characters", 1, utf8("日本語テキスト"), utf8("テ"), 4},
        {"UTF-8 start in characters", 3, utf8("日本日本"), utf8("日"), 3},
        {"UTF-8 accented letters ignoring case", 1, utf8("aÜnïcode"), utf8("üNÏ"), 2},
        {"UTF-8 full-width letters ignoring case", 1, utf8("ファイルＡＢＣ"), utf8("ａｂｃ"), 5},
        // With the code page's byte table instead of code points, 亚 (E4 BA 9A) would find
        // 亊 (E4 BA 8A): 1252 pairs the bytes 9A and 8A as a lower- and upper-case letter.
        {"UTF-8 bytes are not code-page letters", 1, utf8("亊"), utf8("亚"), 0},
        {"UTF-16 positions in units", 1, utf16("日本ａｂ"), utf16("ＡＢ"), 3},
        {"UTF-16 hits start on a unit", 1, utf16("\u3042\u4130"), utf16("\u3030"), 0},
        {"UTF-8 against an ASCII find", 1, utf8("ÅSA"), ascii("sa"), 2},
        {"UTF-16 against a UTF-8 find", 1, utf16("日本語"), utf8("語"), 3},
    };
    for (const InStrCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StringInStr(c.start, c.source.get(), c.find.get()), c.expected);
        EXPECT_EQ(StringDBCSInStr(c.start, c.source.get(), c.find.get()), c.expected);
    }
}

// Shift-JIS: あ 82A0, い 82A2, ｂ 8282, Ａ 8260.
TEST(StringSearch, InStrIsExactAndAlignedOnAJapaneseSystem)
{
    QV_REQUIRE_CODE_PAGE(932);
    const InStrCase cases[] = {
        {"byte position of a double-byte character", 1, bytes_of("\x82\xa0\x82\xa2"), bytes_of("\x82\xa2"), 3},
        {"a match across two characters is none", 1, bytes_of("\x82\xa0\x82\xa0"), bytes_of("\xa0\x82"), 0},
        {"trail bytes that look like lead bytes", 1, bytes_of("\x82\x82\x82\xa0"), bytes_of("\x82\xa0"), 3},
        {"case matters", 1, ascii("ABC"), ascii("b"), 0},
        {"start on a trail byte resumes at the next character", 2, bytes_of("\x82\xa0\x82\xa0"), bytes_of("\x82\xa0"),
         3},
        {"empty find gives start", 5, bytes_of("\x82\xa0"), StringRef(), 5},
        // The lead-byte rule would walk E3 81 | 84 E3 | 81 84 and miss い (E3 81 84) at byte 4.
        {"UTF-8 text steps by UTF-8 characters", 1, utf8("あい"), utf8("い"), 4},
    };
    for (const InStrCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StringInStr(c.start, c.source.get(), c.find.get()), c.expected);
    }
    // DBCSInStr counts characters instead: 日 本 語 in Shift-JIS.
    StringRef nihongo = bytes_of("\x93\xfa\x96\x7b\x8c\xea");
    EXPECT_EQ(StringDBCSInStr(1, nihongo.get(), bytes_of("\x8c\xea").get()), 3);
    EXPECT_EQ(StringDBCSInStr(3, nihongo.get(), bytes_of("\x93\xfa").get()), 0);
    EXPECT_EQ(StringDBCSInStr(2, utf8("あいう").get(), utf8("う").get()), 3);
}

std::string replaced_all(StringRef source, StringRef find, StringRef replacement)
{
    return text_of(replace_text(source, find, replacement, ReplaceCount::All));
}

TEST(StringSearch, ReplaceAllIgnoresCaseOnAWesternSystem)
{
    QV_REQUIRE_CODE_PAGE(1252);
    EXPECT_EQ(replaced_all(ascii("Apple apple APPLE"), ascii("apple"), ascii("pear")), "pear pear pear");
    EXPECT_EQ(replaced_all(utf8("Ｒｅｄ ｒｅｄ"), utf8("ＲＥＤ"), utf8("青")), "青 青");
    // Hits do not overlap, and the replacement is not searched again.
    EXPECT_EQ(replaced_all(ascii("aAaA"), ascii("aa"), ascii("b")), "bb");
    EXPECT_EQ(replaced_all(ascii("ab"), ascii("A"), ascii("aa")), "aab");

    RuntimeString* first = StringReplace(ascii("xXx").get(), ascii("X").get(), ascii("-").get());
    EXPECT_EQ(text_of(first), "-Xx");
    RuntimeUnlockString(first);
}

TEST(StringSearch, ReplaceAllWorksInTheSourcesEncoding)
{
    // An ASCII find and a UTF-8 replacement in UTF-16 text: both are converted to UTF-16.
    StringRef result = replace_text(utf16("a-b"), ascii("-"), utf8("・"), ReplaceCount::All);
    EXPECT_EQ(result.encoding(), kEncodingUTF16);
    EXPECT_EQ(text_of(convert_encoding(result, kEncodingUTF8)), "a・b");
    // A UTF-16 find in UTF-8 text.
    EXPECT_EQ(replaced_all(utf8("日本語"), utf16("本"), ascii("-")), "日-語");
    EXPECT_EQ(replace_text(utf8("日本"), ascii("x"), ascii("y"), ReplaceCount::All).encoding(), kEncodingUTF8);
}

TEST(StringSearch, ReplaceAllReturnsTheSourceWhenNothingChanges)
{
    StringRef source = utf8("日本");
    for (RuntimeString* find : {static_cast<RuntimeString*>(nullptr), utf8("語").get()}) {
        RuntimeString* result = StringReplaceAll(source.get(), find, ascii("x").get());
        EXPECT_EQ(result, source.get());
        RuntimeUnlockString(result);
    }
    EXPECT_EQ(StringReplaceAll(nullptr, ascii("a").get(), ascii("b").get()), nullptr);
    EXPECT_TRUE(replace_text(ascii("aaa"), ascii("a"), StringRef(), ReplaceCount::All).is_nil());
}

TEST(StringSearch, ReplaceAllIsExactAndAlignedOnAJapaneseSystem)
{
    QV_REQUIRE_CODE_PAGE(932);
    // あい: replacing "A0 82" must not cut into the two characters.
    StringRef sjis = bytes_of("\x82\xa0\x82\xa2\x82\xa0");
    EXPECT_EQ(replaced_all(sjis, bytes_of("\xa0\x82"), ascii("x")), text_of(sjis));
    EXPECT_EQ(replaced_all(sjis, bytes_of("\x82\xa0"), ascii("x")), "x\x82\xa2x");
    EXPECT_EQ(replaced_all(ascii("Apple apple"), ascii("apple"), ascii("pear")), "Apple pear");
    // 7-bit text cannot hold a double-byte find: the source itself.
    StringRef plain = ascii("abc");
    RuntimeString* same = StringReplaceAll(plain.get(), bytes_of("\x82\xa0").get(), ascii("x").get());
    EXPECT_EQ(same, plain.get());
    RuntimeUnlockString(same);
    EXPECT_EQ(replaced_all(utf8("あいあ"), utf8("あ"), utf8("ア")), "アいア");
}

struct FieldCase {
    const char* name;
    StringRef text;
    StringRef separator;
    i32 count;
    i32 index;
    const char* field;  // nullptr: nil
};

TEST(StringSearch, FieldsOnAnySystem)
{
    const FieldCase cases[] = {
        {"third of four fields is empty", ascii("a,b,,d"), ascii(","), 4, 3, nullptr},
        {"last field", ascii("a,b,,d"), ascii(","), 4, 4, "d"},
        {"beyond the last field", ascii("a,b,,d"), ascii(","), 4, 5, nullptr},
        {"index 0", ascii("a,b"), ascii(","), 2, 0, nullptr},
        {"empty separator", ascii("a,b"), StringRef(), 1, 1, nullptr},
        {"empty text", StringRef(), ascii(","), 0, 1, nullptr},
        {"a separator of several bytes", ascii("a--b--c"), ascii("--"), 3, 2, "b"},
        {"separators do not overlap", ascii("a---b"), ascii("--"), 2, 2, "-b"},
        {"UTF-8 text", utf8("一、二、三"), utf8("、"), 3, 2, "二"},
        {"UTF-8 text, ASCII separator", utf8("日本 語"), ascii(" "), 2, 2, "語"},
        {"UTF-16 separator in UTF-8 text", utf8("一、二"), utf16("、"), 2, 1, "一"},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StringCountFields(c.text.get(), c.separator.get()), c.count);
        RuntimeString* field = StringNthField(c.text.get(), c.separator.get(), c.index);
        if (c.field)
            EXPECT_EQ(text_of(field), c.field);
        else
            EXPECT_EQ(field, nullptr);
        RuntimeUnlockString(field);
    }
    StringRef whole = ascii("abc");
    EXPECT_EQ(nth_field(whole, ascii(","), 1).get(), whole.get());
}

TEST(StringSearch, FieldSeparatorsIgnoreCaseOnAWesternSystem)
{
    QV_REQUIRE_CODE_PAGE(1252);
    EXPECT_EQ(count_fields(ascii("aXbxc"), ascii("x")), 3);
    EXPECT_EQ(text_of(nth_field(utf8("éÉè"), utf8("é"), 3)), "è");
}

TEST(StringSearch, FieldSeparatorsRespectCaseOnAJapaneseSystem)
{
    QV_REQUIRE_CODE_PAGE(932);
    EXPECT_EQ(count_fields(ascii("aXbxc"), ascii("x")), 2);
    EXPECT_EQ(count_fields(bytes_of("\x82\xa0\x82\xa0"), bytes_of("\xa0\x82")), 1);
}

// The folded search maps hits back to the text where folding changed a character's length.
// The case table has no upper-case form of another length, so a fold of our own makes one:
// "ß" (2 bytes) folds to "S" (1 byte), and "k" to the Kelvin sign (3 bytes).
u32 fold_with_length_changes(u32 c)
{
    if (c == 0xDF)
        return 'S';
    if (c == 'k')
        return 0x212A;
    return upper_code_point(c);
}

TEST(StringSearch, FoldedHitsMapBackThroughLengthChanges)
{
    QV_REQUIRE_CODE_PAGE(1252);
    StringRef text = utf8("aßkßxk");  // a ß k ß x k at bytes 0 1 3 4 6 7
    TextSearch search(text, ascii("sks"), kEncodingUTF8, SearchCase::Ignore, fold_with_length_changes);
    const TextHit hit = search.next(0);
    EXPECT_EQ(hit.start, 1);
    EXPECT_EQ(hit.end, 6);
    const TextHit second =
        TextSearch(text, ascii("xk"), kEncodingUTF8, SearchCase::Ignore, fold_with_length_changes).next(0);
    EXPECT_EQ(second.start, 6);
    EXPECT_EQ(second.end, 8);
    EXPECT_FALSE(search.next(hit.resume()).found());
}

// Case-insensitive non-overlapping search over code points, the plain way.
std::vector<std::pair<i32, i32>> reference_hits(const std::u32string& text, const std::u32string& find)
{
    std::vector<std::pair<i32, i32>> hits;  // in characters
    auto fold = [](char32_t c) { return upper_code_point(c); };
    for (size_t i = 0; i + find.size() <= text.size();) {
        size_t k = 0;
        while (k < find.size() && fold(text[i + k]) == fold(find[k]))
            ++k;
        if (k == find.size()) {
            hits.emplace_back(static_cast<i32>(i), static_cast<i32>(i + find.size()));
            i += find.size();
        } else {
            ++i;
        }
    }
    return hits;
}

std::string utf8_of(const std::u32string& text)
{
    std::vector<u8> bytes;
    for (char32_t c : text)
        append_utf8(bytes, c);
    return std::string(bytes.begin(), bytes.end());
}

TEST(StringSearch, AgreesWithAReferenceOnRandomUnicodeTexts)
{
    QV_REQUIRE_CODE_PAGE(1252);
    std::mt19937 random(2024);
    const std::u32string alphabet = U"aAbBéÉあアＡａ ";
    auto random_text = [&](int n) {
        std::u32string s;
        for (int i = 0; i < n; ++i)
            s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const std::u32string text = random_text(static_cast<int>(random() % 60));
        const std::u32string find = random_text(1 + static_cast<int>(random() % 3));
        const auto hits = reference_hits(text, find);
        StringRef text8 = utf8(utf8_of(text));
        StringRef find8 = utf8(utf8_of(find));
        ASSERT_EQ(in_str(1, text8, find8), hits.empty() ? 0 : hits[0].first + 1);
        ASSERT_EQ(in_str(1, utf16(utf8_of(text)), find8), hits.empty() ? 0 : hits[0].first + 1);
        ASSERT_EQ(count_fields(text8, find8), text.empty() ? 0 : static_cast<i32>(hits.size()) + 1);
        std::u32string expected;
        size_t at = 0;
        for (const auto& [start, end] : hits) {
            expected += text.substr(at, static_cast<size_t>(start) - at) + U"-";
            at = static_cast<size_t>(end);
        }
        expected += text.substr(std::min(at, text.size()));
        ASSERT_EQ(text_of(replace_text(text8, find8, ascii("-"), ReplaceCount::All)), utf8_of(expected));
    }
}

// Shift-JIS search over characters, the plain way: compare whole characters at each start.
TEST(StringSearch, AgreesWithACharacterReferenceOnRandomShiftJisTexts)
{
    QV_REQUIRE_CODE_PAGE(932);
    std::mt19937 random(77);
    // Single bytes, and double-byte characters whose trail bytes look like lead bytes or ASCII.
    const std::vector<std::string> alphabet = {"a", "\xb1", "\x82\xa0", "\x82\x82", "\x81\x40", "\x83\x41", "A"};
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::vector<int> text_chars, find_chars;
        for (int n = static_cast<int>(random() % 40); n > 0; --n)
            text_chars.push_back(static_cast<int>(random() % alphabet.size()));
        for (int n = 1 + static_cast<int>(random() % 2); n > 0; --n)
            find_chars.push_back(static_cast<int>(random() % alphabet.size()));
        std::string text, find;
        std::vector<i32> offsets;
        for (int c : text_chars) {
            offsets.push_back(static_cast<i32>(text.size()));
            text += alphabet[static_cast<size_t>(c)];
        }
        for (int c : find_chars)
            find += alphabet[static_cast<size_t>(c)];
        i32 expected = 0;
        for (size_t i = 0; i + find_chars.size() <= text_chars.size() && expected == 0; ++i)
            if (std::equal(find_chars.begin(), find_chars.end(), text_chars.begin() + static_cast<long>(i)))
                expected = offsets[i] + 1;
        ASSERT_EQ(in_str(1, bytes_of(text), bytes_of(find)), expected);
    }
}

}  // namespace
