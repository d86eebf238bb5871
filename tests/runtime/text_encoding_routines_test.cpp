// The exported encoding routines: Encoding, DefineEncoding and ConvertEncoding of the string
// library, the TextEncoding, TextConverter and _Encodings classes, the shared objects per tag,
// and the plug-in interface's conversions.
#include <gtest/gtest.h>

#include <string>

#include "platform/code_pages.h"
#include "platform/system_code_page.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/encoding_function_records.h"
#include "runtime/definitions/global_functions.h"
#include "runtime/encodings/text_encoding_objects.h"
#include "runtime/objects/object_model.h"
#include "runtime/text/encoding_tags.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::ascii;
using test::bytes_of;
using test::text_of;
using test::utf8;

// Holds a routine's result object (one count) and lets go of it at the end of the scope.
class Held {
public:
    explicit Held(RuntimeObject* object) : m_object(object) { }
    ~Held() { RuntimeUnlockObject(m_object); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    RuntimeObject* get() const { return m_object; }
    const TextEncodingObject* encoding() const { return reinterpret_cast<const TextEncodingObject*>(m_object); }

private:
    RuntimeObject* m_object;
};

StringRef adopt(RuntimeString* s) { return StringRef::adopt(s); }

class TextEncodingRoutines : public ::testing::Test {
protected:
    // Classes are never freed: make them before the allocator balance of the first test.
    static void SetUpTestSuite()
    {
        register_encoding_classes();
        text_encoding_class();
        text_converter_class();
        encodings_class();
        register_encoding_functions();  // the global function table only grows
    }
};

TEST_F(TextEncodingRoutines, ClassesAreRegisteredUnderTheirNames)
{
    for (const char* name : {"TextEncoding", "TextConverter", "_Encodings"}) {
        SCOPED_TRACE(name);
        ClassRecord* c = RuntimeLookupClass(ascii(name).get());
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(text_of(c->name), name);
    }
    EXPECT_EQ(RuntimeLookupClass(ascii("TextEncoding").get())->instanceSize, 48);
    EXPECT_EQ(RuntimeLookupClass(ascii("TextConverter").get())->instanceSize, 36);
    ClassRecord* encodings = RuntimeLookupClass(ascii("_Encodings").get());
    ASSERT_EQ(encodings->propertyCount, kEncodingsPropertyCount);
    EXPECT_EQ(text_of(encodings->propertyTable[0].name), "UTF8%o<TextEncoding>");
    EXPECT_EQ(text_of(encodings->propertyTable[91].name), "SystemDefault%o<TextEncoding>");
    EXPECT_EQ(encodings->propertyTable[91].parameter, 92);
    EXPECT_EQ(encodings->propertyTable[91].getter, reinterpret_cast<void*>(&EncodingsGetter));
}

TEST_F(TextEncodingRoutines, GetTextEncodingTagsUtf8OnlyForBase256Format2)
{
    Held utf8_encoding(getTextEncoding(256, 0, 2));
    EXPECT_EQ(utf8_encoding.encoding()->tag, kEncodingUTF8);
    EXPECT_EQ(textEncodingBaseGetter(utf8_encoding.get(), 0), 256);
    EXPECT_EQ(textEncodingFormatGetter(utf8_encoding.get(), 0), 2);
    EXPECT_EQ(utf8_encoding.encoding()->valid, 1u);
    Held utf16_encoding(getTextEncoding(256, 0, 0));
    EXPECT_EQ(utf16_encoding.encoding()->tag, 256u);
    Held with_variant(getTextEncoding(1280, 3, 0));
    EXPECT_EQ(textEncodingVariantGetter(with_variant.get(), 0), 3);
    EXPECT_EQ(GetEncodingFromTEObject(with_variant.get()), 1280u);
    EXPECT_EQ(GetEncodingFromTEObject(nullptr), kEncodingUnknown);
    EXPECT_EQ(getInternetTextEncoding(ascii("utf-8").get()), nullptr);
    EXPECT_EQ(textEncodingInternetName(with_variant.get(), 0), nullptr);
}

TEST_F(TextEncodingRoutines, SharedObjectsPerTag)
{
    Held first(EncodingsGetFromCode(nullptr, kEncodingShiftJIS));
    Held second(EncodingsGetFromCode(nullptr, kEncodingShiftJIS));
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(first.get()->refCount, 3) << "the map's count and ours";
    EXPECT_EQ(first.encoding()->base, kEncodingShiftJIS);
    EXPECT_EQ(EncodingsGetFromCode(nullptr, static_cast<i32>(kEncodingUnknown)), nullptr);

    Held of_string(StringGetEncoding(bytes_of("x", kEncodingShiftJIS).get()));
    EXPECT_EQ(of_string.get(), first.get());
    Held of_nil(StringGetEncoding(nullptr));
    EXPECT_EQ(of_nil.encoding()->tag, kEncodingASCII);
    EXPECT_EQ(StringGetEncoding(bytes_of("x", kEncodingUnknown).get()), nullptr);

    Held utf8_object(StringGetEncoding(utf8("x").get()));
    EXPECT_EQ(utf8_object.encoding()->base, kEncodingUTF8) << "made with base = tag";
}

TEST_F(TextEncodingRoutines, DefineEncodingRelabelsInPlaceOnlyForASingleHolder)
{
    Held sjis(EncodingsGetFromCode(nullptr, kEncodingShiftJIS));
    StringRef alone = ascii("abc");
    StringRef result = adopt(StringSetEncoding(alone.get(), sjis.get()));
    EXPECT_EQ(result.get(), alone.get());
    EXPECT_EQ(alone.encoding(), kEncodingShiftJIS);

    StringRef shared = ascii("abc");
    StringRef other_holder = shared;
    StringRef copy = adopt(StringSetEncoding(shared.get(), sjis.get()));
    EXPECT_NE(copy.get(), shared.get());
    EXPECT_EQ(copy.encoding(), kEncodingShiftJIS);
    EXPECT_EQ(text_of(copy), "abc");
    EXPECT_EQ(shared.encoding(), kEncodingASCII) << "the first record keeps its tag";

    StringRef same = adopt(StringSetEncoding(alone.get(), sjis.get()));
    EXPECT_EQ(same.get(), alone.get());
    EXPECT_EQ(StringSetEncoding(nullptr, sjis.get()), nullptr);
    StringRef unknown = adopt(StringSetEncoding(alone.get(), nullptr));
    EXPECT_EQ(unknown.encoding(), kEncodingUnknown) << "nil encoding is the unknown tag";
}

TEST_F(TextEncodingRoutines, ConvertEncoding)
{
    Held sjis(EncodingsGetFromCode(nullptr, kEncodingShiftJIS));
    Held utf8_encoding(EncodingsGetFromCode(nullptr, static_cast<i32>(kEncodingUTF8)));
    StringRef text = utf8("\xE6\x97\xA5");  // 日
    StringRef converted = adopt(StringConvertEncoding(text.get(), sjis.get()));
    EXPECT_EQ(text_of(converted), "\x93\xFA");
    EXPECT_EQ(converted.encoding(), kEncodingShiftJIS);

    StringRef same = adopt(StringConvertEncoding(text.get(), utf8_encoding.get()));
    EXPECT_EQ(same.get(), text.get());
    StringRef unchanged = adopt(StringConvertEncoding(text.get(), nullptr));
    EXPECT_EQ(unchanged.get(), text.get());
    EXPECT_EQ(StringConvertEncoding(nullptr, sjis.get()), nullptr);

    StringRef latin = adopt(StringConvertEncoding(bytes_of("\xE9", kEncodingUnknown).get(), utf8_encoding.get()));
    EXPECT_EQ(text_of(latin), "\xC3\xA9") << "unknown text reads as code page 1252";

    StringRef plugin = adopt(QuavConvertString(text.get(), kEncodingShiftJIS));
    EXPECT_EQ(text_of(plugin), "\x93\xFA");
}

struct ChrCase {
    const char* name;
    u32 base;
    u32 format;
    i32 code;
    std::string want;
    u32 want_tag;
};

const ChrCase kChrCases[] = {
    {"one byte", 1280, 0, 0x41, "A", 1280},
    {"zero is one zero byte", 1280, 0, 0, std::string(1, '\0'), 1280},
    {"two bytes, most significant first", 2561, 0, 0x82A0, "\x82\xA0", 2561},
    {"three bytes", 2336, 0, 0x8FB0A1, "\x8F\xB0\xA1", 2336},
    {"four bytes", 0, 0, 0x01020304, "\x01\x02\x03\x04", 0},
    {"UTF-8 (format 2)", 256, 2, 0x65E5, "\xE6\x97\xA5", kEncodingUTF8},
    {"UTF-7 (format 1) stores UTF-8 too", 256, 1, 0xE9, "\xC3\xA9", 256},
    {"UTF-16 (format 0): one unit", 256, 0, 0x65E5, "\xE5\x65", 256},
    {"UTF-16 drops bits above 16", 256, 0, 0x1F600, std::string("\x00\xF6", 2), 256},
    {"UCS-4 (format 3): the four bytes in memory", 256, 3, 0x1F600, std::string("\x00\xF6\x01\x00", 4), 256},
    {"UTF-8 beyond U+1FFFFF gives nothing", 256, 2, 0x200000, "", kEncodingUTF8},
};

TEST_F(TextEncodingRoutines, ChrMakesOneCharacterInTheEncoding)
{
    for (const ChrCase& c : kChrCases) {
        SCOPED_TRACE(c.name);
        Held encoding(getTextEncoding(static_cast<i32>(c.base), 0, static_cast<i32>(c.format)));
        StringRef s = adopt(TextEncodingChr(encoding.get(), c.code));
        EXPECT_EQ(text_of(s), c.want);
        if (!c.want.empty()) {
            EXPECT_EQ(s.encoding(), c.want_tag);
        }
    }
    Held shared_utf8(EncodingsGetFromCode(nullptr, static_cast<i32>(kEncodingUTF8)));
    EXPECT_EQ(text_of(adopt(TextEncodingChr(shared_utf8.get(), 0xE9))), "\xC3\xA9") << "the tag's format counts";
}

TEST_F(TextEncodingRoutines, EqualityComparesTags)
{
    Held a(getTextEncoding(1280, 0, 0));
    Held b(getTextEncoding(1280, 1, 2));
    Held c(getTextEncoding(2561, 0, 0));
    EXPECT_TRUE(TextEncodingEquals(a.get(), a.get()));
    EXPECT_TRUE(TextEncodingEquals(a.get(), b.get()));
    EXPECT_FALSE(TextEncodingEquals(a.get(), c.get()));
    EXPECT_FALSE(TextEncodingEquals(a.get(), nullptr));
    EXPECT_TRUE(TextEncodingEquals(nullptr, nullptr));
}

TEST_F(TextEncodingRoutines, TextConverters)
{
    Held sjis(getTextEncoding(2561, 0, 0));
    Held euc(getTextEncoding(2336, 0, 0));
    Held iso(getTextEncoding(2080, 0, 0));
    Held utf8_encoding(getTextEncoding(256, 0, 2));
    Held latin1_iso(getTextEncoding(513, 0, 0));  // no code page
    Held koi8(getTextEncoding(2562, 0, 0));       // no code page

    EXPECT_EQ(getTextConverter(utf8_encoding.get(), latin1_iso.get()), nullptr);
    Held no_pages_but_equal(getTextConverter(latin1_iso.get(), koi8.get()));
    EXPECT_NE(no_pages_but_equal.get(), nullptr) << "equal pages (none) make a converter";

    Held to_euc(getTextConverter(sjis.get(), euc.get()));
    ASSERT_NE(to_euc.get(), nullptr);
    StringRef from_sjis = adopt(textConverterConvert(to_euc.get(), bytes_of("\x93\xFA", kEncodingUTF8).get()));
    EXPECT_EQ(text_of(from_sjis), "\xC6\xFC") << "read as the converter's input, whatever the tag";

    Held euc_to_iso(getTextConverter(euc.get(), iso.get()));
    StringRef jis = adopt(textConverterConvert(euc_to_iso.get(), bytes_of("\xC6\xFC", kEncodingUnknown).get()));
    EXPECT_EQ(text_of(jis), "\x1B$BF|\x1B(J");

    Held same(getTextConverter(sjis.get(), sjis.get()));
    StringRef tagged = bytes_of("\x93\xFA", kEncodingShiftJIS);
    StringRef kept = adopt(textConverterConvert(same.get(), tagged.get()));
    EXPECT_EQ(kept.get(), tagged.get());
    StringRef untagged = bytes_of("\x93\xFA", kEncodingUnknown);
    StringRef relabelled = adopt(textConverterConvert(same.get(), untagged.get()));
    EXPECT_NE(relabelled.get(), untagged.get());
    EXPECT_EQ(relabelled.encoding(), kEncodingShiftJIS);
    EXPECT_EQ(untagged.encoding(), kEncodingUnknown);

    EXPECT_EQ(textConverterConvert(same.get(), nullptr), nullptr);
    textConverterClear(same.get());
}

TEST_F(TextEncodingRoutines, GuessJapaneseEncoding)
{
    EXPECT_EQ(guessJapaneseEncoding(ascii("plain").get()), nullptr);
    EXPECT_EQ(guessJapaneseEncoding(nullptr), nullptr);
    Held sjis(guessJapaneseEncoding(bytes_of("\x82\xA0").get()));
    ASSERT_NE(sjis.get(), nullptr);
    EXPECT_EQ(sjis.encoding()->base, kEncodingShiftJIS);
    Held iso(guessJapaneseEncoding(bytes_of("\x1B$B$\"\x1B(B").get()));
    EXPECT_EQ(iso.encoding()->base, kEncodingISO2022JP);
    Held euc(guessJapaneseEncoding(bytes_of("\xB0\xA1\xC6\xFC").get()));
    EXPECT_EQ(euc.encoding()->base, kEncodingEUCJP);
}

struct EncodingsCase {
    i32 index;
    const char* name;
    u32 base;
    u32 format;
    u32 tag;
};

constexpr EncodingsCase kEncodingsCases[] = {
    {1, "UTF8", kEncodingUTF8, 0, kEncodingUTF8},
    {2, "UTF16", 256, 0, 256},
    {3, "UCS4", 256, 3, 256},
    {4, "MacRoman", 0, 0, 0},
    {12, "MacDevanagari", 9, 0, 9},
    {35, "MacSymbol", 33, 0, 33},
    {42, "MacGaelic", 40, 0, 40},
    {43, "ISOLatin1", 513, 0, 513},
    {55, "ISOLatin9", 527, 0, 527},
    {56, "DOSLatinUS", 1024, 0, 1024},
    {73, "DOSJapanese", 1056, 0, 1056},
    {76, "DOSChineseTrad", 1059, 0, 1059},
    {77, "WindowsLatin1", 1280, 0, 1280},
    {78, "WindowsANSI", 1280, 0, 1280},
    {87, "WindowsKoreanJohab", 1296, 0, 1296},
    {88, "ASCII", kEncodingASCII, 0, kEncodingASCII},
    {89, "ShiftJIS", 2561, 0, 2561},
    {90, "KOI8_R", 2562, 0, 2562},
    {91, "MacRomanLatin1", 2564, 0, 2564},
};

TEST_F(TextEncodingRoutines, EncodingsProperties)
{
    ClassRecord* encodings = RuntimeLookupClass(ascii("_Encodings").get());
    Held object(GetEncodingsObject());
    ASSERT_NE(object.get(), nullptr);
    EXPECT_EQ(object.get()->classRecord, encodings);
    for (const EncodingsCase& c : kEncodingsCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text_of(encodings->propertyTable[c.index - 1].name), std::string(c.name) + "%o<TextEncoding>");
        Held e(EncodingsGetter(object.get(), c.index));
        ASSERT_NE(e.get(), nullptr);
        EXPECT_EQ(e.encoding()->base, c.base);
        EXPECT_EQ(e.encoding()->format, c.format);
        EXPECT_EQ(e.encoding()->tag, c.tag);
    }
    Held utf8_first(EncodingsGetter(object.get(), 1));
    Held utf8_again(EncodingsGetter(object.get(), 1));
    EXPECT_EQ(utf8_first.get(), utf8_again.get()) << "UTF8, UTF16 and ASCII are shared";
    Held roman_first(EncodingsGetter(object.get(), 4));
    Held roman_again(EncodingsGetter(object.get(), 4));
    EXPECT_NE(roman_first.get(), roman_again.get()) << "the others are new each time";
    EXPECT_EQ(EncodingsGetter(object.get(), 0), nullptr);
    EXPECT_EQ(EncodingsGetter(object.get(), 93), nullptr);
}

u32 expected_default_encoding()
{
    switch (platform::user_default_language()) {
    case 1028:
    case 2052:
    case 3076:
    case 4100: return 1059;
    case 1041: return 2561;
    default: return 1280;
    }
}

TEST_F(TextEncodingRoutines, SystemDefaultFollowsTheUserLanguage)
{
    Held object(GetEncodingsObject());
    Held system_default(EncodingsGetter(object.get(), 92));
    EXPECT_EQ(system_default.encoding()->tag, expected_default_encoding());
    EXPECT_EQ(system_default_text_encoding(), expected_default_encoding());
}

TEST_F(TextEncodingRoutines, JapaneseSystemDefaultIsShiftJis)
{
    if (!platform::select_system_code_page_for_tests(932))
        GTEST_SKIP() << "the system decides its code page here";
    EXPECT_EQ(platform::user_default_language(), 0x0411);
    EXPECT_EQ(system_default_text_encoding(), kEncodingShiftJIS);
    platform::select_system_code_page_for_tests(0);
    EXPECT_EQ(platform::user_default_language(), 0x0409);
    EXPECT_EQ(system_default_text_encoding(), kEncodingWindowsLatin1);
}

TEST_F(TextEncodingRoutines, FontEncodingRepeatsThePreviousAnswerForANilName)
{
    Held with_name(getFontTextEncoding(ascii("MS UI Gothic").get()));
    ASSERT_NE(with_name.get(), nullptr);
    EXPECT_EQ(with_name.encoding()->tag, expected_default_encoding());
    Held without_name(getFontTextEncoding(nullptr));
    EXPECT_EQ(without_name.encoding()->tag, expected_default_encoding());
    EXPECT_EQ(QuavGetFontEncoding(ascii("Arial").get()), expected_default_encoding());
    EXPECT_EQ(QuavGetFontEncoding(nullptr), expected_default_encoding());
}

TEST_F(TextEncodingRoutines, GlobalFunctionsAreRegisteredUnderTheirLanguageNames)
{
    const i32 before = global_function_count();
    register_encoding_functions();
    EXPECT_EQ(global_function_count(), before) << "only the first call registers";
    struct Expected {
        const char* language_name;
        const char* export_name;
        i32 parameters;
    };
    const Expected expected[] = {
        {"Encodings", "GetEncodingsObject", 0},
        {"Encoding", "StringGetEncoding", 1},
        {"DefineEncoding", "StringSetEncoding", 2},
        {"ConvertEncoding", "StringConvertEncoding", 2},
        {"GetTextEncoding", "getTextEncoding", 3},
        {"GetInternetTextEncoding", "getInternetTextEncoding", 1},
        {"GetFontTextEncoding", "getFontTextEncoding", 1},
        {"GetTextConverter", "getTextConverter", 2},
        {"GuessJapaneseEncoding", "guessJapaneseEncoding", 1},
    };
    const auto records = encoding_function_records();
    ASSERT_EQ(records.size(), std::size(expected));
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(expected[i].language_name);
        EXPECT_STREQ(records[i].name, expected[i].language_name);
        EXPECT_STREQ(records[i].exportName, expected[i].export_name);
        EXPECT_EQ(records[i].parameterCount, expected[i].parameters);
    }
    i32 convert_encoding_records = 0, registered = 0;
    for (i32 i = 0; i < global_function_count(); ++i) {
        const MethodRecord* record = global_function_at(i);
        convert_encoding_records += std::string(record->name) == "ConvertEncoding";
        registered += record >= records.data() && record < records.data() + records.size();
    }
    EXPECT_EQ(convert_encoding_records, 2) << "the table lists ConvertEncoding twice";
    EXPECT_EQ(registered, 12);
}

TEST_F(TextEncodingRoutines, OSTypeIsTakenInTheSystemEncoding)
{
    const std::string wide("T\0E\0X\0T\0", 8);
    EXPECT_EQ(StringToOSType(bytes_of(wide, kEncodingUTF16).get()), 0x54584554u);
}

}  // namespace
