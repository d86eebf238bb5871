// InStrB, ReplaceB, ReplaceAllB, ChrB and Chr at their edges, and against a plain reference
// implementation on random texts.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "runtime/strings/byte_functions.h"
#include "sdk/quaver.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::ascii;
using test::bytes_of;
using test::text_of;
using test::utf8;

struct InStrCase {
    const char* name;
    i32 start;
    const char* source;  // nullptr: nil
    const char* find;    // nullptr: nil
    i32 expected;
};

TEST(StringInStrB, Edges)
{
    const InStrCase cases[] = {
        {"empty find gives start", 1, "abc", nullptr, 1},
        {"empty find gives any start", 3, "abc", nullptr, 3},
        {"nil source gives 0", 1, nullptr, "a", 0},
        {"start beyond the source", 4, "abc", "c", 0},
        {"start below 1 counts as 1", -7, "abc", "a", 1},
        {"find longer than what remains", 2, "abc", "abc", 0},
        {"first match at or after start", 3, "abcabc", "bc", 5},
        {"match at the very end", 1, "abcdef", "ef", 5},
        {"case-sensitive", 1, "abcABC", "AB", 4},
        {"UTF-8 bytes", 1, "日本語", "語", 7},
        {"long needle over long text", 1,
         "................................................................................................xyz-long-"
         "needle!",
         "xyz-long-needle", 97},
    };
    for (const InStrCase& c : cases) {
        SCOPED_TRACE(c.name);
        StringRef source = c.source ? ascii(c.source) : StringRef();
        StringRef find = c.find ? ascii(c.find) : StringRef();
        EXPECT_EQ(StringInStrB(c.start, source.get(), find.get()), c.expected);
    }
}

TEST(StringReplaceAllB, ResultLengthAndEncodingFollowTheSource)
{
    // Each of the two hits grows by two bytes: four bytes become eight.
    StringRef source = utf8("a!b!");
    StringRef result =
        StringRef::adopt(StringReplaceAllB(source.get(), ascii("!").get(), bytes_of("\xef\xbc\x81").get()));
    EXPECT_EQ(result.length(), 8);
    EXPECT_EQ(text_of(result), "a！b！");
    EXPECT_EQ(result.encoding(), kEncodingUTF8);
}

TEST(StringReplaceAllB, NothingToDoReturnsTheSourceRecord)
{
    StringRef source = ascii("abc");
    for (RuntimeString* find : {static_cast<RuntimeString*>(nullptr), ascii("x").get()}) {
        RuntimeString* result = StringReplaceAllB(source.get(), find, ascii("y").get());
        EXPECT_EQ(result, source.get());
        RuntimeUnlockString(result);
    }
    EXPECT_EQ(StringReplaceAllB(nullptr, ascii("a").get(), ascii("b").get()), nullptr);
    EXPECT_EQ(source.get()->refCount, 1);
}

TEST(StringReplaceAllB, HitsDoNotOverlapAndAreNotRescanned)
{
    EXPECT_EQ(text_of(replace_b(ascii("aaaa"), ascii("aa"), ascii("b"), ReplaceCount::All)), "bb");
    EXPECT_EQ(text_of(replace_b(ascii("aaa"), ascii("aa"), ascii("b"), ReplaceCount::All)), "ba");
    // A replacement that contains the find text is not searched again.
    EXPECT_EQ(text_of(replace_b(ascii("ab"), ascii("a"), ascii("aa"), ReplaceCount::All)), "aab");
}

TEST(StringReplaceAllB, ReplacingEverythingByNothingGivesNil)
{
    EXPECT_TRUE(replace_b(ascii("xxxx"), ascii("x"), StringRef(), ReplaceCount::All).is_nil());
}

TEST(StringReplaceAllB, NulBytesAreOrdinaryBytes)
{
    StringRef source = bytes_of(std::string("a\0b\0c", 5));
    StringRef result = replace_b(source, bytes_of(std::string("\0", 1)), ascii("--"), ReplaceCount::All);
    EXPECT_EQ(text_of(result), "a--b--c");
}

TEST(StringReplaceB, ReplacesOnlyTheFirstHit)
{
    StringRef source = utf8("。と。");
    RuntimeString* result = StringReplaceB(source.get(), utf8("。").get(), utf8("ッ ").get());
    EXPECT_EQ(text_of(result), "ッ と。");
    RuntimeUnlockString(result);
}

// Plain non-overlapping replace-all, the obviously right way.
std::string reference_replace_all(const std::string& text, const std::string& find, const std::string& with)
{
    std::string out;
    size_t at = 0;
    for (size_t hit; (hit = text.find(find, at)) != std::string::npos; at = hit + find.size())
        out.append(text, at, hit - at).append(with);
    return out.append(text, at, std::string::npos);
}

TEST(StringReplaceAllB, AgreesWithAReferenceOnRandomTexts)
{
    std::mt19937 random(12345);
    // A small alphabet makes hits, near misses and runs frequent.
    const std::string alphabet[] = {"a", "b", "\xe3\x81\x82", "\xe3\x83\xbc", "\xe3", "\x81", " ", "\r"};
    auto random_text = [&](int pieces) {
        std::string s;
        for (int i = 0; i < pieces; ++i)
            s += alphabet[random() % std::size(alphabet)];
        return s;
    };
    for (int round = 0; round < 400; ++round) {
        const std::string text = random_text(static_cast<int>(random() % 300));
        const std::string find = random_text(1 + static_cast<int>(random() % 4));
        const std::string with = random_text(static_cast<int>(random() % 3));
        SCOPED_TRACE(round);
        StringRef result = replace_b(bytes_of(text), bytes_of(find), bytes_of(with), ReplaceCount::All);
        ASSERT_EQ(text_of(result), reference_replace_all(text, find, with));
        const size_t first = text.find(find);
        ASSERT_EQ(in_str_b(1, bytes_of(text), bytes_of(find)),
                  first == std::string::npos ? 0 : static_cast<i32>(first) + 1);
    }
}

TEST(StringChr, OneByteWithAsciiOnlyBelow128)
{
    struct Case {
        i32 value;
        std::string bytes;
        u32 encoding;
    };
    const Case cases[] = {
        {33, "!", kEncodingASCII},       {0, std::string("\0", 1), kEncodingASCII}, {127, "\x7f", kEncodingASCII},
        {128, "\x80", kEncodingUnknown}, {0x1241, "A", kEncodingUnknown},  // low 8 bits only
        {-1, "\xff", kEncodingUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        RuntimeString* s = StringChr(c.value);
        EXPECT_EQ(text_of(s), c.bytes);
        EXPECT_EQ(s->encoding, c.encoding);
        RuntimeUnlockString(s);
    }
}

TEST(StringDBCSChr, TwoBytesHighByteFirstAbove255)
{
    struct Case {
        i32 value;
        std::string bytes;
        u32 encoding;
    };
    const Case cases[] = {
        {33, "!", kEncodingASCII},
        {13, "\r", kEncodingASCII},
        {0x8362, "\x83\x62", kEncodingUnknown},
        {33376, "\x82\x60", kEncodingUnknown},
        {0x12345678, "\x56\x78", kEncodingUnknown},  // higher bits dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        RuntimeString* s = StringDBCSChr(c.value);
        EXPECT_EQ(text_of(s), c.bytes);
        EXPECT_EQ(s->encoding, c.encoding);
        RuntimeUnlockString(s);
    }
}

}  // namespace
