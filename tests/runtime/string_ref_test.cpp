// StringRef: construction, counting, substrings, trimming, joining across encodings,
// copy on write and the Unicode forms.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/memory/pool_allocator.h"
#include "runtime/strings/encoding_conversion.h"
#include "runtime/strings/string_ref.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::ascii;
using test::bytes_of;
using test::text_of;
using test::utf8;

TEST(StringRef, EmptyTextIsNilEverywhere)
{
    EXPECT_TRUE(StringRef::FromCString("").is_nil());
    EXPECT_TRUE(StringRef::FromBytes("x", 0).is_nil());
    EXPECT_TRUE(StringRef::FromWide(nullptr, 0).is_nil());
    StringRef nil;
    EXPECT_STREQ(nil.CText(), "");
    EXPECT_EQ(nil.PText()[0], 0);
    EXPECT_EQ(nil.encoding(), kEncodingASCII);
    EXPECT_TRUE(nil.IsSevenBit());
}

TEST(StringRef, RecordLayoutOfMadeText)
{
    StringRef s = StringRef::FromCString("abc");
    RuntimeString* r = s.get();
    EXPECT_EQ(r->refCount, 1);
    EXPECT_EQ(r->length, 3);
    EXPECT_EQ(r->capacity, 5u);
    EXPECT_EQ(r->encoding, kEncodingASCII);
    EXPECT_EQ(r->buffer[0], 3);
    EXPECT_EQ(std::memcmp(r->buffer + 1, "abc", 4), 0);  // terminator included
}

TEST(StringRef, LongTextHas255InItsLengthByte)
{
    StringRef s = StringRef::FromBytes(std::string(300, 'x').data(), 300);
    EXPECT_EQ(s.get()->buffer[0], 255);
    EXPECT_EQ(s.length(), 300);
}

TEST(StringRef, FromWideKeepsTwoZeroBytesAndLengthModulo256)
{
    std::u16string wide(130, u'あ');  // 260 bytes
    StringRef s = StringRef::FromWide(reinterpret_cast<const u16*>(wide.data()), 130);
    EXPECT_EQ(s.length(), 260);
    EXPECT_EQ(s.encoding(), kEncodingUTF16);
    EXPECT_EQ(s.get()->buffer[0], 260 % 256);
    EXPECT_EQ(s.get()->buffer[1 + 260], 0);
    EXPECT_EQ(s.get()->buffer[2 + 260], 0);
}

TEST(StringRef, FromIntegerIsDecimalAscii)
{
    EXPECT_EQ(text_of(StringRef::FromInteger(-2147483647 - 1)), "-2147483648");
    EXPECT_EQ(StringRef::FromInteger(0).encoding(), kEncodingASCII);
}

TEST(StringRef, CopiesCountAndReleasesFree)
{
    const i64 before = pool_bytes_in_use();
    {
        StringRef a = StringRef::FromCString("shared");
        StringRef b = a;
        EXPECT_EQ(a.get(), b.get());
        EXPECT_EQ(a.get()->refCount, 2);
        b = StringRef();
        EXPECT_EQ(a.get()->refCount, 1);
    }
    EXPECT_EQ(pool_bytes_in_use(), before);
}

TEST(StringRef, AssignToItselfKeepsTheCount)
{
    StringRef a = StringRef::FromCString("self");
    a.Assign(a);
    EXPECT_EQ(a.get()->refCount, 1);
    StringRef b = a;
    a.Assign(b);  // same record through another handle
    EXPECT_EQ(a.get()->refCount, 2);
    a = std::move(a);
    EXPECT_EQ(text_of(a), "self");
}

struct SubstringCase {
    const char* name;
    const char* text;
    StringRef (*op)(const StringRef&);
    const char* expected;  // nullptr: nil
    bool same_record;
};

const SubstringCase kSubstrings[] = {
    {"Left(0)", "abcde", [](const StringRef& s) { return s.Left(0); }, nullptr, false},
    {"Left(-1)", "abcde", [](const StringRef& s) { return s.Left(-1); }, nullptr, false},
    {"Left(2)", "abcde", [](const StringRef& s) { return s.Left(2); }, "ab", false},
    {"Left(10) of abc is the same record", "abc", [](const StringRef& s) { return s.Left(10); }, "abc", true},
    {"Right(2)", "abcde", [](const StringRef& s) { return s.Right(2); }, "de", false},
    {"Right(5)", "abcde", [](const StringRef& s) { return s.Right(5); }, "abcde", true},
    {"MidFrom(-3)", "abcde", [](const StringRef& s) { return s.MidFrom(-3); }, "abcde", true},
    {"MidFrom(2)", "abcde", [](const StringRef& s) { return s.MidFrom(2); }, "cde", false},
    {"MidFrom(5)", "abcde", [](const StringRef& s) { return s.MidFrom(5); }, nullptr, false},
    {"Mid(5, 3) of five bytes", "abcde", [](const StringRef& s) { return s.Mid(5, 3); }, nullptr, false},
    {"Mid(-2, 4)", "abcdef", [](const StringRef& s) { return s.Mid(-2, 4); }, "ab", false},
    {"Mid(0, length)", "abcdef", [](const StringRef& s) { return s.Mid(0, 6); }, "abcdef", true},
    {"Mid(4, 100)", "abcdef", [](const StringRef& s) { return s.Mid(4, 100); }, "ef", false},
    {"Mid(1, 0)", "abcdef", [](const StringRef& s) { return s.Mid(1, 0); }, nullptr, false},
    {"Mid with huge negative start", "abcdef", [](const StringRef& s) { return s.Mid(-2147483647 - 1, 5); }, nullptr,
     false},
    {"Trim", " \t a b \t ", [](const StringRef& s) { return s.Trim(); }, "a b", false},
    {"TrimLeft", "\t x ", [](const StringRef& s) { return s.TrimLeft(); }, "x ", false},
    {"TrimRight", " x \t", [](const StringRef& s) { return s.TrimRight(); }, " x", false},
    {"Trim of untouched text is the same record", "ab", [](const StringRef& s) { return s.Trim(); }, "ab", true},
    {"Trim of blanks only is nil", " \t ", [](const StringRef& s) { return s.Trim(); }, nullptr, false},
    {"Trim keeps other white space", "\r\nx\n", [](const StringRef& s) { return s.Trim(); }, "\r\nx\n", true},
};

TEST(StringRef, SubstringsAndTrims)
{
    for (const SubstringCase& c : kSubstrings) {
        SCOPED_TRACE(c.name);
        StringRef source = bytes_of(c.text, kEncodingUTF8);
        StringRef result = c.op(source);
        if (!c.expected) {
            EXPECT_TRUE(result.is_nil());
            continue;
        }
        EXPECT_EQ(text_of(result), c.expected);
        EXPECT_EQ(result.encoding(), kEncodingUTF8);
        EXPECT_EQ(result.get() == source.get(), c.same_record);
    }
}

struct ConcatCase {
    const char* name;
    u32 a_encoding;
    std::string a;
    u32 b_encoding;
    std::string b;
    u32 expected_encoding;
    std::string expected;
};

std::string utf16le(const std::u16string& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

const ConcatCase kConcats[] = {
    {"ASCII and UTF-8 join as UTF-8 without conversion", kEncodingASCII, "ab", kEncodingUTF8, "日本", kEncodingUTF8,
     "ab日本"},
    {"ASCII and Shift-JIS give Shift-JIS", kEncodingASCII, "ab", 0x0A01, "\x93\xfa", 0x0A01, "ab\x93\xfa"},
    {"UTF-16 and ASCII convert to UTF-16", kEncodingUTF16, utf16le(u"日"), kEncodingASCII, "a", kEncodingUTF16,
     utf16le(u"日a")},
    {"UTF-16 and UTF-8 convert to UTF-8", kEncodingUTF16, utf16le(u"日"), kEncodingUTF8, "本", kEncodingUTF8, "日本"},
    {"unknown and UTF-8 join unconverted as unknown", kEncodingUnknown, "\xff", kEncodingUTF8, "本", kEncodingUnknown,
     "\xff本"},
    {"same encodings join", 0x0A01, "\x93", 0x0A01, "\xfa", 0x0A01, "\x93\xfa"},
};

TEST(StringRef, ConcatChoosesTheCommonEncoding)
{
    for (const ConcatCase& c : kConcats) {
        SCOPED_TRACE(c.name);
        StringRef result = StringRef::Concat(bytes_of(c.a, c.a_encoding), bytes_of(c.b, c.b_encoding));
        EXPECT_EQ(text_of(result), c.expected);
        EXPECT_EQ(result.encoding(), c.expected_encoding);
    }
}

TEST(StringRef, ConcatWithAnEmptySideSharesTheOther)
{
    StringRef a = ascii("abc");
    EXPECT_EQ(StringRef::Concat(a, StringRef()).get(), a.get());
    EXPECT_EQ(StringRef::Concat(StringRef(), a).get(), a.get());
    EXPECT_TRUE(StringRef::Concat(StringRef(), StringRef()).is_nil());
}

TEST(StringRef, AppendKeepsTheReceiversEncoding)
{
    StringRef s;
    s.Append("ab");
    EXPECT_EQ(s.encoding(), kEncodingUnknown);  // a nil receiver takes raw bytes
    StringRef t = utf8("日");
    t.Append("x");
    EXPECT_EQ(text_of(t), "日x");
    EXPECT_EQ(t.encoding(), kEncodingUTF8);
    t.Append(ascii("y"));  // differing encodings go through Concat
    EXPECT_EQ(text_of(t), "日xy");
    EXPECT_EQ(t.encoding(), kEncodingUTF8);
    StringRef u;
    u.Append(utf8("本"));
    EXPECT_EQ(u.encoding(), kEncodingUTF8);
}

TEST(StringRef, AppendByteEncoding)
{
    StringRef s;
    s.AppendByte('a');
    EXPECT_EQ(s.encoding(), kEncodingASCII);
    StringRef t = utf8("日");
    t.AppendByte('!');
    EXPECT_EQ(t.encoding(), kEncodingUTF8);
    t.AppendByte(0x80);
    EXPECT_EQ(t.encoding(), kEncodingUnknown);
    EXPECT_EQ(text_of(t), "日!\x80");
}

TEST(StringRef, WritableAtCopiesASharedRecord)
{
    StringRef a = ascii("abc");
    StringRef b = a;
    *b.WritableAt(1) = 'X';
    EXPECT_EQ(text_of(a), "abc");
    EXPECT_EQ(text_of(b), "aXc");
    EXPECT_EQ(b.encoding(), kEncodingUnknown);  // the copy's encoding is for the caller to set
    u8* again = b.WritableAt(0);                // now held alone: written in place
    EXPECT_EQ(again, b.get()->buffer + 1);
}

TEST(StringRef, WritableAtOutOfRangeReportsAndGivesScratch)
{
    test::AssertionCapture capture;
    StringRef a = ascii("abc");
    *a.WritableAt(3) = 'Z';
    EXPECT_TRUE(capture.saw("string", 706));
    StringRef nil;
    *nil.WritableAt(2) = 'Z';
    EXPECT_TRUE(capture.saw("string", 716));
    EXPECT_EQ(text_of(a), "abc");
    EXPECT_EQ(capture.count(), 2u);
}

TEST(StringRef, WideTextOfNonUtf16Reports)
{
    test::AssertionCapture capture;
    StringRef a = ascii("abc");
    const void* wide = a.WideText();
    EXPECT_TRUE(capture.saw("string", 584));
    u16 first;
    std::memcpy(&first, wide, 2);
    EXPECT_EQ(first, 0);
}

TEST(StringRef, UnicodeFormsRoundTrip)
{
    StringRef text = utf8("漢字とかな😀");
    StringRef wide = text.ToUTF16();
    EXPECT_EQ(wide.encoding(), kEncodingUTF16);
    EXPECT_EQ(wide.length(), 2 * 7);  // the emoji is a surrogate pair
    StringRef back = wide.ToUTF8();
    EXPECT_EQ(text_of(back), "漢字とかな😀");
    EXPECT_EQ(back.encoding(), kEncodingUTF8);
    EXPECT_EQ(text.ToUTF8().get(), text.get());  // already UTF-8: shared
    EXPECT_EQ(wide.ToUTF16().get(), wide.get());
}

TEST(StringRef, IsSevenBit)
{
    EXPECT_TRUE(ascii("plain").IsSevenBit());
    EXPECT_FALSE(utf8("é").IsSevenBit());
    EXPECT_FALSE(bytes_of("ab", kEncodingUTF16).IsSevenBit());  // Unicode forms never are
}

TEST(StringRef, FailedBufferAllocationGivesNil)
{
    pool_fail_after(0);
    EXPECT_TRUE(StringRef::FromCString("lost").is_nil());
}

TEST(StringRef, ManyOperationsGiveBackEveryByte)
{
    const i64 before = pool_bytes_in_use();
    {
        StringRef total;
        for (int i = 0; i < 2000; ++i) {
            StringRef piece = StringRef::FromInteger(i);
            StringRef joined = StringRef::Concat(piece, utf8("・漢字"));
            total.Append(joined.Mid(1, 4));
            total = total.Right(500);
            StringRef copy = total;
            *copy.WritableAt(0) = 'x';
            copy = copy.ToUTF16().ToUTF8().Trim();
        }
        EXPECT_GT(total.length(), 0);
    }
    release_conversion_cache();  // it keeps the last conversion until the process ends
    EXPECT_EQ(pool_bytes_in_use(), before);
}

}  // namespace
