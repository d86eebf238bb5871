// Exported string routines as image code calls them: counts, joining, comparing, accessors,
// and constants from the image's data segment.
#include <gtest/gtest.h>

#include "runtime/memory/pool_allocator.h"
#include "sdk/quaver.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::ascii;
using test::text_of;
using test::utf8;

TEST(StringExports, LockUnlockStringsIsAnAssignment)
{
    StringRef s = ascii("value");
    RuntimeString* r = s.get();
    RuntimeLockUnlockStrings(r, r);
    EXPECT_EQ(r->refCount, 1);  // same record: unchanged
    RuntimeLockUnlockStrings(r, nullptr);
    EXPECT_EQ(r->refCount, 2);  // only adds to the new value
    StringRef old = ascii("old");
    RuntimeString* o = old.leak();
    RuntimeLockString(o);
    RuntimeLockUnlockStrings(nullptr, o);  // releases the old value
    EXPECT_EQ(o->refCount, 1);
    RuntimeUnlockString(o);
    RuntimeUnlockString(r);
    RuntimeLockString(nullptr);
    RuntimeUnlockString(nullptr);
}

TEST(StringExports, AddStringReturnsNewCounts)
{
    EXPECT_EQ(RuntimeAddString(nullptr, nullptr), nullptr);
    StringRef a = ascii("abc");
    RuntimeString* same = RuntimeAddString(a.get(), nullptr);
    EXPECT_EQ(same, a.get());
    EXPECT_EQ(a.get()->refCount, 2);
    RuntimeUnlockString(same);
    RuntimeString* joined = RuntimeAddString(a.get(), utf8("日本").get());
    EXPECT_EQ(text_of(joined), "abc日本");
    EXPECT_EQ(QuavGetStringEncoding(joined), kEncodingUTF8);
    EXPECT_EQ(joined->refCount, 1);
    RuntimeUnlockString(joined);
}

struct CompareCase {
    const char* name;
    StringRef a;
    StringRef b;
    int expected;
};

TEST(StringExports, StringCompareIgnoresCase)
{
    const CompareCase cases[] = {
        {"ASCII ignoring case", ascii("abc"), ascii("ABC"), 0},
        {"nil before text", StringRef(), ascii("a"), -1},
        {"text after nil", ascii("a"), StringRef(), 1},
        {"both nil", StringRef(), StringRef(), 0},
        {"shorter prefix first", ascii("ab"), ascii("abc"), -1},
        {"ASCII order", ascii("abd"), ascii("ABC"), 1},
        {"UTF-8 Greek ignoring case", utf8("ΣΟΦΊΑ"), utf8("σοφία"), 0},
        {"UTF-8 full-width Latin", utf8("ＡＢ"), utf8("ａｂ"), 0},
        {"UTF-8 kana order", utf8("あ"), utf8("い"), -1},
        {"ASCII against UTF-8", ascii("abc"), utf8("ABC"), 0},
        {"UTF-8 fewer bytes first on equal prefix", utf8("日"), utf8("日本"), -1},
    };
    for (const CompareCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RuntimeStringCompare(c.a.get(), c.b.get()), c.expected);
        EXPECT_EQ(RuntimeStringCompare(c.b.get(), c.a.get()), -c.expected);
    }
}

TEST(StringExports, TextAccessors)
{
    StringRef s = ascii("hello");
    EXPECT_STREQ(StringGetCString(s.get()), "hello");
    EXPECT_STREQ(StringToCString(nullptr), "");
    EXPECT_EQ(StringGetPString(s.get())[0], 5);
    EXPECT_EQ(StringToPString(nullptr)[0], 0);
    EXPECT_EQ(s.get()->refCount, 1);  // the accessors' own counts are given back
}

TEST(StringExports, OSTypeTakesTheFirstFourBytesInMemoryOrder)
{
    EXPECT_EQ(StringToOSType(nullptr), 0x3F3F3F3Fu);
    EXPECT_EQ(StringToOSType(ascii("TEXTfile").get()), 0x54584554u);  // 'T','E','X','T'
    EXPECT_EQ(StringToOSType(ascii("ab").get()) & 0xFFFF, 0x6261u);
}

TEST(StringExports, BuildStringAndEncodingTags)
{
    RuntimeString* s = QuavBuildString("raw\0bytes", 9);
    EXPECT_EQ(s->length, 9);
    EXPECT_EQ(QuavGetStringEncoding(s), kEncodingUnknown);
    QuavSetStringEncoding(s, kEncodingUTF8);
    EXPECT_EQ(QuavGetStringEncoding(s), kEncodingUTF8);
    EXPECT_EQ(text_of(s), std::string("raw\0bytes", 9));
    QuavUnlockString(s);
    EXPECT_EQ(QuavGetStringEncoding(nullptr), kEncodingASCII);
    QuavSetStringEncoding(nullptr, kEncodingUTF8);
    EXPECT_EQ(QuavBuildString("x", 0), nullptr);
}

TEST(StringExports, ConstantLayoutAndSurvivalOfBalancedCounts)
{
    RuntimeString* c = QV_STR("定数");
    EXPECT_EQ(c->refCount, 1);
    EXPECT_EQ(c->length, 6);
    EXPECT_EQ(c->capacity, 8u);
    EXPECT_EQ(c->encoding, kEncodingUTF8);
    EXPECT_EQ(c->buffer, reinterpret_cast<u8*>(c) + 20);
    EXPECT_EQ(c->buffer[0], 6);
    EXPECT_EQ(QV_STR("plain")->encoding, kEncodingASCII);
    EXPECT_EQ(QV_BYTES("\x01\x02")->encoding, kEncodingUnknown);
    for (int i = 0; i < 10; ++i) {
        RuntimeLockString(c);
        RuntimeString* joined = RuntimeAddString(c, nullptr);
        RuntimeUnlockString(joined);
        RuntimeUnlockString(c);
    }
    EXPECT_EQ(c->refCount, 1);
    EXPECT_EQ(text_of(c), "定数");
}

}  // namespace
