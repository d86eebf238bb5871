// The general conversion (when it relabels and when it converts, its one-entry cache), the
// code-page conversion with the Japanese pseudo pages, and Reconcile converting for real.
#include <gtest/gtest.h>

#include <string>

#include "runtime/strings/encoding_conversion.h"
#include "runtime/strings/encoding_reconcile.h"
#include "runtime/text/encoding_tags.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::ascii;
using test::bytes_of;
using test::text_of;
using test::utf8;

std::string utf16le(const std::u16string& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

const std::string kNihonUTF8 = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本
const std::string kNihonShiftJIS = "\x93\xFA\x96\x7B";
const std::string kNihonEUCJP = "\xC6\xFC\xCB\xDC";
const std::string kNihonISO2022JP = "\x1B$BF|K\\\x1B(J";

struct ConversionCase {
    const char* name;
    u32 from;
    std::string text;
    u32 to;
    std::string want;  // empty: nil
    u32 want_tag;
};

const ConversionCase kConversions[] = {
    {"7-bit ASCII to Shift-JIS is relabelled", kEncodingASCII, "abc", kEncodingShiftJIS, "abc", kEncodingShiftJIS},
    {"7-bit UTF-8 to Shift-JIS is relabelled", kEncodingUTF8, "abc", kEncodingShiftJIS, "abc", kEncodingShiftJIS},
    {"7-bit unknown to UTF-8 is relabelled", kEncodingUnknown, "abc", kEncodingUTF8, "abc", kEncodingUTF8},
    {"ASCII-tagged bytes above 7F are copied as they are", kEncodingASCII, "\xE9", kEncodingUTF8, "\xE9",
     kEncodingUTF8},
    {"UTF-8 kanji to Shift-JIS through code pages 65001 and 932", kEncodingUTF8, kNihonUTF8, kEncodingShiftJIS,
     kNihonShiftJIS, kEncodingShiftJIS},
    {"Shift-JIS to UTF-8", kEncodingShiftJIS, kNihonShiftJIS, kEncodingUTF8, kNihonUTF8, kEncodingUTF8},
    {"DOS Japanese (1056) is code page 932 too", 1056, kNihonShiftJIS, kEncodingUTF8, kNihonUTF8, kEncodingUTF8},
    {"unknown text with high bytes reads as 1252", kEncodingUnknown, "caf\xE9", kEncodingUTF8, "caf\xC3\xA9",
     kEncodingUTF8},
    {"Windows Latin 1 to UTF-16", kEncodingWindowsLatin1, "\x80", kEncodingUTF16, utf16le(u"\u20AC"), kEncodingUTF16},
    {"7-bit text to UTF-16 is converted, not relabelled", kEncodingASCII, "ab", kEncodingUTF16, utf16le(u"ab"),
     kEncodingUTF16},
    {"UTF-16 to UTF-8", kEncodingUTF16, utf16le(u"日本"), kEncodingUTF8, kNihonUTF8, kEncodingUTF8},
    {"UTF-16 to Shift-JIS", kEncodingUTF16, utf16le(u"日本"), kEncodingShiftJIS, kNihonShiftJIS, kEncodingShiftJIS},
    {"UTF-16 base 257 keeps its tag", kEncodingShiftJIS, kNihonShiftJIS, 257, utf16le(u"日本"), 257},
    {"Shift-JIS to EUC-JP: tagged unknown (high bytes)", kEncodingShiftJIS, kNihonShiftJIS, kEncodingEUCJP, kNihonEUCJP,
     kEncodingUnknown},
    {"Shift-JIS to ISO-2022-JP: tagged ASCII (7-bit)", kEncodingShiftJIS, kNihonShiftJIS, kEncodingISO2022JP,
     kNihonISO2022JP, kEncodingASCII},
    {"EUC-JP to UTF-8 through Shift-JIS", kEncodingEUCJP, kNihonEUCJP, kEncodingUTF8, kNihonUTF8, kEncodingUTF8},
    {"ISO-2022-JP to UTF-8 through Shift-JIS", kEncodingISO2022JP, kNihonISO2022JP, kEncodingUTF8, kNihonUTF8,
     kEncodingUTF8},
    {"EUC-JP to ISO-2022-JP", kEncodingEUCJP, kNihonEUCJP, kEncodingISO2022JP, kNihonISO2022JP, kEncodingASCII},
    {"EUC-JP to Shift-JIS", kEncodingEUCJP, kNihonEUCJP, kEncodingShiftJIS, kNihonShiftJIS, kEncodingShiftJIS},
    {"UTF-8 to EUC-JP: only Shift-JIS reaches the pseudo pages", kEncodingUTF8, kNihonUTF8, kEncodingEUCJP, "", 0},
    {"UTF-16 to ISO-2022-JP: the same", kEncodingUTF16, utf16le(u"日本"), kEncodingISO2022JP, "", 0},
    {"ISO Latin 1 (513) has no code page", 513, "caf\xE9", kEncodingUTF8, "", 0},
    {"to UTF-32 (format 3): no code page", kEncodingUTF8, kNihonUTF8, 256 | (3u << 26), "", 0},
};

TEST(EncodingConversion, ConvertsOrRelabelsByTheRules)
{
    for (const ConversionCase& c : kConversions) {
        SCOPED_TRACE(c.name);
        release_conversion_cache();
        StringRef result = convert_encoding(bytes_of(c.text, c.from), c.to);
        EXPECT_EQ(text_of(result), c.want);
        if (!c.want.empty()) {
            EXPECT_EQ(result.encoding(), c.want_tag);
        } else {
            EXPECT_TRUE(result.is_nil());
        }
    }
}

TEST(EncodingConversion, NothingToDoGivesTheSameRecord)
{
    StringRef s = utf8(kNihonUTF8);
    EXPECT_EQ(convert_encoding(s, kEncodingUTF8).get(), s.get());
    EXPECT_EQ(convert_encoding(s, kEncodingUnknown).get(), s.get());
    EXPECT_TRUE(convert_encoding(StringRef(), kEncodingShiftJIS).is_nil());
}

TEST(EncodingConversion, RemembersTheLastConversion)
{
    StringRef source = utf8(kNihonUTF8);
    StringRef first = convert_encoding(source, kEncodingShiftJIS);
    ASSERT_FALSE(first.is_nil());
    EXPECT_EQ(convert_encoding(source, kEncodingShiftJIS).get(), first.get()) << "the same record again";
    EXPECT_EQ(source.get()->refCount, 2) << "the cache holds the source";

    StringRef to_utf16 = convert_encoding(source, kEncodingUTF16);
    EXPECT_NE(to_utf16.get(), first.get()) << "another target refills the cache";
    EXPECT_NE(convert_encoding(source, kEncodingShiftJIS).get(), first.get());

    StringRef same_text = utf8(kNihonUTF8);
    EXPECT_NE(convert_encoding(same_text, kEncodingUTF16).get(), to_utf16.get()) << "the record counts, not the text";
}

TEST(EncodingConversion, ARecordRelabelledInPlaceIsConvertedAfresh)
{
    StringRef source = bytes_of("\xC9", kEncodingWindowsLatin1);
    StringRef latin = convert_encoding(source, kEncodingUTF8);
    EXPECT_EQ(text_of(latin), "\xC3\x89");
    source.get()->encoding = kEncodingShiftJIS;  // what QuavSetStringEncoding does
    StringRef katakana = convert_encoding(source, kEncodingUTF8);
    EXPECT_EQ(text_of(katakana), "\xEF\xBE\x89");  // half-width katakana NO, U+FF89
}

TEST(EncodingConversion, CodePageConversionReadsTheGivenEncodingWhateverTheTag)
{
    StringRef s = bytes_of(kNihonShiftJIS, kEncodingUnknown);
    StringRef converted = convert_code_pages(s, kEncodingShiftJIS, kEncodingUTF8);
    EXPECT_EQ(text_of(converted), kNihonUTF8);
    EXPECT_EQ(convert_code_pages(s, kEncodingUTF8, kEncodingUTF8).get(), s.get());
}

TEST(EncodingConversion, ReleasingTheCacheLetsGoOfBothStrings)
{
    StringRef source = utf8(kNihonUTF8);
    {
        StringRef result = convert_encoding(source, kEncodingShiftJIS);
        EXPECT_EQ(result.get()->refCount, 2);
    }
    EXPECT_EQ(source.get()->refCount, 2);
    release_conversion_cache();
    EXPECT_EQ(source.get()->refCount, 1);
}

struct ReconcileCase {
    const char* name;
    u32 a_tag;
    std::string a;
    u32 b_tag;
    std::string b;
    u32 want;
    std::string want_a;
    std::string want_b;
};

const ReconcileCase kReconciles[] = {
    {"ASCII and UTF-8: UTF-8, nothing converted", kEncodingASCII, "a", kEncodingUTF8, kNihonUTF8, kEncodingUTF8, "a",
     kNihonUTF8},
    {"ASCII and Shift-JIS: Shift-JIS", kEncodingASCII, "a", kEncodingShiftJIS, kNihonShiftJIS, kEncodingShiftJIS, "a",
     kNihonShiftJIS},
    {"Shift-JIS and UTF-8: both in UTF-8", kEncodingShiftJIS, kNihonShiftJIS, kEncodingUTF8, "x", kEncodingUTF8,
     kNihonUTF8, "x"},
    {"Shift-JIS and Latin 1: both in UTF-8", kEncodingShiftJIS, kNihonShiftJIS, kEncodingWindowsLatin1, "\xE9",
     kEncodingUTF8, kNihonUTF8, "\xC3\xA9"},
    {"UTF-16 and Shift-JIS: both in UTF-16", kEncodingUTF16, utf16le(u"a"), kEncodingShiftJIS, kNihonShiftJIS,
     kEncodingUTF16, utf16le(u"a"), utf16le(u"日本")},
    {"UTF-16 and ASCII: UTF-16", kEncodingUTF16, utf16le(u"a"), kEncodingASCII, "b", kEncodingUTF16, utf16le(u"a"),
     utf16le(u"b")},
    {"unknown is never converted", kEncodingUnknown, "\xE9", kEncodingUTF8, kNihonUTF8, kEncodingUnknown, "\xE9",
     kNihonUTF8},
    {"a side that cannot be converted leaves both", 513, "\xE9", kEncodingShiftJIS, kNihonShiftJIS, kEncodingUnknown,
     "\xE9", kNihonShiftJIS},
};

TEST(EncodingConversion, ReconcileConvertsToTheCommonEncoding)
{
    for (const ReconcileCase& c : kReconciles) {
        SCOPED_TRACE(c.name);
        StringRef a = bytes_of(c.a, c.a_tag);
        StringRef b = bytes_of(c.b, c.b_tag);
        EXPECT_EQ(Reconcile(&a, &b), c.want);
        EXPECT_EQ(text_of(a), c.want_a);
        EXPECT_EQ(text_of(b), c.want_b);
    }
}

TEST(EncodingConversion, ConcatenationOfShiftJisAndUtf8IsUtf8)
{
    StringRef joined = StringRef::Concat(bytes_of(kNihonShiftJIS, kEncodingShiftJIS), utf8("!"));
    EXPECT_EQ(joined.encoding(), kEncodingUTF8);
    EXPECT_EQ(text_of(joined), kNihonUTF8 + "!");
}

}  // namespace
