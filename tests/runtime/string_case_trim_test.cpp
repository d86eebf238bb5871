// Uppercase, Lowercase, Titlecase, the trims and StrComp, for Unicode text and for the text of
// a Western (1252) and a Japanese (932) system code page.
#include <gtest/gtest.h>

#include <string>

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

using Routine = RuntimeString* (*)(RuntimeString*);

struct TextCase {
    const char* name;
    Routine routine;
    const char* source;
    const char* expected;  // nullptr: nil
};

// Runs each case on UTF-8 text and on the same text in UTF-16; results keep the encoding.
void expect_unicode(const TextCase& c)
{
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + (wide ? " (UTF-16)" : " (UTF-8)"));
        StringRef source = wide ? utf16(c.source) : utf8(c.source);
        StringRef result = StringRef::adopt(c.routine(source.get()));
        if (!c.expected) {
            EXPECT_TRUE(result.is_nil());
            continue;
        }
        ASSERT_FALSE(result.is_nil());
        EXPECT_EQ(result.encoding(), source.encoding());
        EXPECT_EQ(text_of(wide ? convert_encoding(result, kEncodingUTF8) : result), c.expected);
    }
}

TEST(StringCaseTrim, UnicodeCaseAndTrimOnAnySystem)
{
    const TextCase cases[] = {
        {"upper Latin, Greek and full-width", StringUCase, "straße σοφία ａｂ", "STRAßE ΣΟΦΊΑ ＡＢ"},
        {"kana have no case", StringUCase, "ひらがなカタカナ", "ひらがなカタカナ"},
        {"lower", StringLCase, "ÀÉÎ ΑΒΓ ＡＢ", "àéî αβγ ａｂ"},
        // The Kelvin sign lower-cases to a plain k: three bytes become one.
        {"lower across lengths", StringLCase, "\u212a\u212aX", "kkx"},
        {"title", StringTitleCase, "hELLO wORLD", "Hello World"},
        {"title after an ideographic space", StringTitleCase, "émile\u3000zOLA", "Émile\u3000Zola"},
        {"trim spaces, tabs and line ends", runTrim, " \t\r\nab c\r\n ", "ab c"},
        {"trim the ideographic and no-break spaces", runTrim, "\u3000\u00a0日本\u3000", "日本"},
        {"left trim", runLTrim, "  a  ", "a  "},
        {"right trim", runRTrim, "  a  ", "  a"},
        {"trim everything", runTrim, " \u3000 ", nullptr},
        // U+0920 is E0 A4 A0: its last byte is the no-break space of code page 1252.
        {"a character ending in A0 is no space", runRTrim, "\u0920", "\u0920"},
    };
    for (const TextCase& c : cases)
        expect_unicode(c);
    EXPECT_EQ(StringUCase(nullptr), nullptr);
    EXPECT_EQ(runTrim(nullptr), nullptr);
}

TEST(StringCaseTrim, TrimReturnsTheSourceWhenNothingIsRemoved)
{
    for (StringRef s : {utf8("日本"), utf16("日本"), ascii("a b")}) {
        RuntimeString* result = runTrim(s.get());
        EXPECT_EQ(result, s.get());
        RuntimeUnlockString(result);
    }
}

struct CodePageCase {
    const char* name;
    Routine routine;
    std::string source;
    std::string expected;
};

void expect_code_page(const CodePageCase& c)
{
    SCOPED_TRACE(c.name);
    const u32 tag = 0x0A01;  // a code-page tag, which the result keeps
    StringRef source = bytes_of(c.source, tag);
    StringRef result = StringRef::adopt(c.routine(source.get()));
    EXPECT_EQ(text_of(result), c.expected);
    if (!result.is_nil()) {
        EXPECT_EQ(result.encoding(), tag);
    }
}

TEST(StringCaseTrim, WesternCodePageText)
{
    QV_REQUIRE_CODE_PAGE(1252);
    const CodePageCase cases[] = {
        {"upper", StringUCase, "\xe0\xff\x9a-z", "\xc0\x9f\x8a-Z"},  // à ÿ š
        {"lower", StringLCase, "\xc0\x9f\x8a-Z", "\xe0\xff\x9a-z"},
        {"no upper form in the code page", StringUCase, "\xb5\xdf", "\xb5\xdf"},  // µ ß
        {"title", StringTitleCase, "\xe9LAN \xc9T\xc9", "\xc9lan \xc9t\xe9"},
        {"trim the no-break space", runTrim, "\xa0 x\t\xa0", "x"},
    };
    for (const CodePageCase& c : cases)
        expect_code_page(c);
}

// Shift-JIS: ａ 8281, Ａ 8260, Ｂ 8261 (trail byte 'a'), ア 8341 (trail byte 'A'), ideographic
// space 8140, ａ followed by "@" is 82 81 40.
TEST(StringCaseTrim, JapaneseCodePageText)
{
    QV_REQUIRE_CODE_PAGE(932);
    const CodePageCase cases[] = {
        {"upper full-width and ASCII letters", StringUCase,
         "\x82\x81"
         "b",
         "\x82\x60"
         "B"},
        {"upper leaves a trail byte 'a' alone", StringUCase, "\x82\x61", "\x82\x61"},
        {"lower leaves a trail byte 'A' alone", StringLCase, "\x83\x41Z", "\x83\x41z"},
        {"lower full-width", StringLCase, "\x82\x60", "\x82\x81"},
        {"title", StringTitleCase, "\x82\x81\x82\x60\x81\x40\x82\x81", "\x82\x60\x82\x81\x81\x40\x82\x60"},
        {"trim ideographic spaces", runTrim, "\x81\x40 \x83\x41\x81\x40", "\x83\x41"},
        {"a trail byte 40 after a lead byte 81 is no space", runRTrim, "\x82\x81\x40", "\x82\x81\x40"},
    };
    for (const CodePageCase& c : cases)
        expect_code_page(c);
    // Text tagged ASCII is trimmed by character type too.
    RuntimeString* trimmed = runTrim(ascii(" a ").get());
    EXPECT_EQ(text_of(trimmed), "a");
    RuntimeUnlockString(trimmed);
}

struct CompareCase {
    const char* name;
    StringRef a;
    StringRef b;
    i32 mode;
    i32 expected;
};

TEST(StringCaseTrim, StrCompRespectsCase)
{
    StringRef empty_constant = StringRef::share(QV_STR(""));
    const CompareCase cases[] = {
        {"bytes", ascii("a"), ascii("B"), 0, 1},
        {"bytes, shorter first", ascii("ab"), ascii("abc"), 0, -1},
        {"bytes are unsigned", bytes_of("\xe9"), ascii("z"), 0, 1},
        {"code points", utf8("a"), utf8("B"), 1, 1},
        {"code points respect case", utf8("É"), utf8("é"), 1, -1},
        {"UTF-16 units", utf16("日本"), utf16("日本語"), 1, -1},
        {"UTF-16 against UTF-8", utf16("abc"), utf8("abd"), 1, -1},
        {"locale order of equal texts", ascii("abc"), ascii("abc"), 1, 0},
        {"nil before text", StringRef(), ascii("a"), 0, -1},
        {"nil and an empty constant are both empty", StringRef(), empty_constant, 1, 0},
    };
    for (const CompareCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StringStrCompare(c.a.get(), c.b.get(), c.mode), c.expected);
        EXPECT_EQ(StringStrCompare(c.b.get(), c.a.get(), c.mode), -c.expected);
    }
    // Which case the locale sorts first is its own choice; that they differ is not.
    const i32 order = StringStrCompare(ascii("abc").get(), ascii("ABC").get(), 1);
    EXPECT_NE(order, 0);
    EXPECT_EQ(StringStrCompare(ascii("ABC").get(), ascii("abc").get(), 1), -order);
}

}  // namespace
