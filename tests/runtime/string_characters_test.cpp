// Len, Asc and the substring functions in their byte and character forms: characters are
// UTF-8 sequences, UTF-16 units, or the double-byte characters of code page 932.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "runtime/strings/character_tables.h"
#include "runtime/strings/encoding_conversion.h"
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

// The text of a result, read back as UTF-8 whatever its encoding.
std::string utf8_of(RuntimeString* result)
{
    StringRef s = StringRef::adopt(result);
    if (s.encoding() == kEncodingUTF16)
        s = convert_encoding(s, kEncodingUTF8);
    return text_of(s);
}

struct SubstringCase {
    const char* name;
    RuntimeString* (*call)(RuntimeString*);
    const char* expected;  // nullptr: nil
};

// "aé日本" has four characters of 1, 2, 3 and 3 bytes in UTF-8.
const SubstringCase kCharacterCases[] = {
    {"Left 2", [](RuntimeString* s) { return StringDBCSLeft(s, 2); }, "aé"},
    {"Left beyond the end", [](RuntimeString* s) { return StringDBCSLeft(s, 9); }, "aé日本"},
    {"Left 0", [](RuntimeString* s) { return StringDBCSLeft(s, 0); }, nullptr},
    {"Right 2", [](RuntimeString* s) { return StringDBCSRight(s, 2); }, "日本"},
    {"Right 3", [](RuntimeString* s) { return StringDBCSRight(s, 3); }, "é日本"},
    {"Right beyond the start", [](RuntimeString* s) { return StringDBCSRight(s, INT_MAX); }, "aé日本"},
    {"Mid from 2", [](RuntimeString* s) { return StringDBCSMid2(s, 2); }, "é日本"},
    {"Mid from 0 is nil", [](RuntimeString* s) { return StringDBCSMid2(s, 0); }, nullptr},
    {"Mid from beyond the end", [](RuntimeString* s) { return StringDBCSMid2(s, 5); }, nullptr},
    {"Mid 2 for 2", [](RuntimeString* s) { return StringDBCSMid3(s, 2, 2); }, "é日"},
    {"Mid from 0 loses a place", [](RuntimeString* s) { return StringDBCSMid3(s, 0, 2); }, "a"},
    {"Mid from -1 for 2 is nil", [](RuntimeString* s) { return StringDBCSMid3(s, -1, 2); }, nullptr},
    {"Mid length 0", [](RuntimeString* s) { return StringDBCSMid3(s, 1, 0); }, nullptr},
    {"Mid past the end", [](RuntimeString* s) { return StringDBCSMid3(s, 4, INT_MAX); }, "本"},
    {"Mid from the lowest start", [](RuntimeString* s) { return StringDBCSMid3(s, INT_MIN, INT_MAX); }, nullptr},
};

TEST(StringCharacters, UnicodeSubstringsCountCharacters)
{
    for (const bool wide : {false, true}) {
        StringRef source = wide ? utf16("aé日本") : utf8("aé日本");
        for (const SubstringCase& c : kCharacterCases) {
            SCOPED_TRACE(std::string(c.name) + (wide ? " (UTF-16)" : " (UTF-8)"));
            RuntimeString* result = c.call(source.get());
            if (!c.expected) {
                EXPECT_EQ(result, nullptr);
                RuntimeUnlockString(result);
                continue;
            }
            ASSERT_NE(result, nullptr);
            EXPECT_EQ(result->encoding, source.encoding());
            EXPECT_EQ(utf8_of(result), c.expected);
        }
        EXPECT_EQ(StringDBCSLen(source.get()), 4);
    }
}

TEST(StringCharacters, WholeTextResultIsTheSourceRecord)
{
    StringRef source = utf8("日本");
    for (RuntimeString* result : {StringDBCSLeft(source.get(), 2), StringDBCSRight(source.get(), 5),
                                  StringDBCSMid2(source.get(), 1), StringDBCSMid3(source.get(), 1, 2)}) {
        EXPECT_EQ(result, source.get());
        RuntimeUnlockString(result);
    }
    EXPECT_EQ(source.get()->refCount, 1);
}

TEST(StringCharacters, ByteSubstringsFollowTheStringOffsets)
{
    StringRef s = ascii("abcdef");
    struct Case {
        const char* name;
        RuntimeString* result;
        const char* expected;
    };
    const Case cases[] = {
        {"MidB from 0 for 3 keeps 2", StringMid3(s.get(), 0, 3), "ab"},
        {"MidB from 5 for 10", StringMid3(s.get(), 5, 10), "ef"},
        {"MidB from the lowest start", StringMid3(s.get(), INT_MIN, INT_MAX), nullptr},
        {"MidB from the highest start", StringMid3(s.get(), INT_MAX, 1), nullptr},
        {"MidB from 3", StringMid2(s.get(), 3), "cdef"},
        {"MidB from 7", StringMid2(s.get(), 7), nullptr},
        {"LeftB 0", StringLeft(s.get(), 0), nullptr},
        {"RightB 2", StringRight(s.get(), 2), "ef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.expected) {
            EXPECT_EQ(text_of(c.result), c.expected);
            EXPECT_EQ(c.result->encoding, kEncodingASCII);
        } else {
            EXPECT_EQ(c.result, nullptr);
        }
        RuntimeUnlockString(c.result);
    }
    RuntimeString* same = StringMid2(s.get(), 0);
    EXPECT_EQ(same, s.get());
    RuntimeUnlockString(same);
    EXPECT_EQ(StringLen(s.get()), 6);
    EXPECT_EQ(StringLen(nullptr), 0);
}

TEST(StringCharacters, AscReadsTheFirstCharacter)
{
    EXPECT_EQ(StringDBCSAsc(utf8("日本").get()), 0x65E5);
    EXPECT_EQ(StringDBCSAsc(utf8("\xf0\x9f\x98\x80").get()), 0x1F600);
    EXPECT_EQ(StringDBCSAsc(utf16("é").get()), 0xE9);
    EXPECT_EQ(StringDBCSAsc(nullptr), 0);
    EXPECT_EQ(StringAsc(utf8("日本").get()), 0xE6);
    EXPECT_EQ(StringAsc(nullptr), 0);
}

// Shift-JIS: 日 93FA, 本 967B, ｱ B1 (one byte), ｂ 8282, あ 82A0. Trail bytes reach into
// the lead-byte range, so ｂ is two bytes that both look like lead bytes.
TEST(StringCharacters, DoubleByteTextCountsCharactersOnAJapaneseSystem)
{
    QV_REQUIRE_CODE_PAGE(932);
    StringRef nihongo = bytes_of("\x93\xfa\x96\x7b\x8c\xea");
    EXPECT_EQ(StringDBCSLen(nihongo.get()), 3);
    EXPECT_EQ(StringLen(nihongo.get()), 6);

    StringRef mixed = bytes_of("A\xb1\x82\x82\x82\xa0");  // A ｱ ｂ あ
    struct Case {
        const char* name;
        RuntimeString* result;
        std::string expected;
    };
    const Case cases[] = {
        {"Left 3", StringDBCSLeft(mixed.get(), 3), "A\xb1\x82\x82"},
        {"Right 1", StringDBCSRight(mixed.get(), 1), "\x82\xa0"},
        {"Right 2", StringDBCSRight(mixed.get(), 2), "\x82\x82\x82\xa0"},
        {"Mid from 3", StringDBCSMid2(mixed.get(), 3), "\x82\x82\x82\xa0"},
        {"Mid 2 for 2", StringDBCSMid3(mixed.get(), 2, 2), "\xb1\x82\x82"},
        {"Left 3 of a text cut inside its last character", StringDBCSLeft(bytes_of("A\x82").get(), 3), "A\x82"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text_of(c.result), c.expected);
        RuntimeUnlockString(c.result);
    }
    EXPECT_EQ(StringDBCSLen(mixed.get()), 4);
    EXPECT_EQ(StringDBCSAsc(bytes_of("\x82\xa0").get()), 0x82A0);
    EXPECT_EQ(StringDBCSAsc(bytes_of("\x82").get()), 0x82);  // a lead byte alone
    // Text tagged ASCII is counted by bytes whatever it holds.
    EXPECT_EQ(StringDBCSLen(bytes_of("\x82\xa0", kEncodingASCII).get()), 2);
}

TEST(StringCharacters, CodePageTextIsBytesOnAWesternSystem)
{
    QV_REQUIRE_CODE_PAGE(1252);
    StringRef s = bytes_of("\x82\xa0\xe9");
    EXPECT_EQ(StringDBCSLen(s.get()), 3);
    EXPECT_EQ(StringDBCSAsc(s.get()), 0x82);
    RuntimeString* right = StringDBCSRight(s.get(), 1);
    EXPECT_EQ(text_of(right), "\xe9");
    RuntimeUnlockString(right);
}

TEST(StringCharacters, TablesOfAJapaneseSystem)
{
    QV_REQUIRE_CODE_PAGE(932);
    const CharacterTables& t = character_tables();
    EXPECT_EQ(t.dbcs, 1);
    EXPECT_EQ(t.lead[0x81] + t.lead[0xFC], 2);
    EXPECT_EQ(t.lead['A'] + t.lead[0xA0] + t.lead[0xFD], 0);
    EXPECT_EQ(t.upper['a'], 0);  // a double-byte system asks the platform per character
}

TEST(StringCharacters, TablesOfAWesternSystem)
{
    QV_REQUIRE_CODE_PAGE(1252);
    const CharacterTables& t = character_tables();
    EXPECT_EQ(t.dbcs, 0);
    EXPECT_EQ(t.upper['a'], 'A');
    EXPECT_EQ(t.lower[0xC9], 0xE9);
    EXPECT_EQ(t.separator[0xA0] & 1, 1);
    EXPECT_EQ(t.separator['x'] & 1, 0);
    EXPECT_LT(t.collation_rank['a'], t.collation_rank['b']);
    for (int rank = 0; rank < 256; ++rank)
        EXPECT_EQ(t.collation_rank[t.collation_order[rank]], rank);
}

}  // namespace
