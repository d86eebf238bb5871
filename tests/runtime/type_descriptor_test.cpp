// Built-in type descriptors: signature codes and the text conversions of each value type.
#include <gtest/gtest.h>

#include <string>

#include "runtime/definitions/type_descriptor.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::ascii;
using test::text_of;

std::string code_of(const TypeDescriptor& type)
{
    std::string out;
    append_type_code(out, &type);
    return out;
}

template <typename T>
std::string to_text(const TypeDescriptor& type, T value)
{
    return text_of(StringRef::adopt(type.toText(&value)));
}

template <typename T>
T from_text(const TypeDescriptor& type, const std::string& text)
{
    T value{};
    type.fromText(ascii(text).get(), &value);
    return value;
}

TEST(TypeDescriptor, CodesOfBuiltInArrayAndObjectTypes)
{
    EXPECT_EQ(code_of(kStringType) + code_of(kIntegerType) + code_of(kBooleanType) + code_of(kSingleType) +
                  code_of(kDoubleType) + code_of(kColorType),
              "sibfdc");
    static const TypeDescriptor window = object_type("Window");
    static const TypeDescriptor windows = array_type(window);
    static const TypeDescriptor row = array_type(kIntegerType);
    static const TypeDescriptor grid = array_type(row);
    EXPECT_EQ(code_of(window), "o<Window>");
    EXPECT_EQ(code_of(windows), "ao<Window>");
    EXPECT_EQ(code_of(grid), "aai");
    std::string none;
    append_type_code(none, nullptr);
    EXPECT_EQ(none, "");
}

TEST(TypeDescriptor, IntegerAndColorText)
{
    struct Case {
        const char* text;
        i32 value;
    };
    const Case cases[] = {
        {"42", 42},
        {"  -17", -17},
        {"+8x", 8},
        {"12 34", 12},
        {"", 0},
        {"abc", 0},
        {"- 5", 0},
        {"\t5", 0},
        {"2147483647", 2147483647},
        {"2147483648", -2147483647 - 1},  // wraps like 32-bit arithmetic
    };
    for (const Case& c : cases) {
        EXPECT_EQ(from_text<i32>(kIntegerType, c.text), c.value) << '"' << c.text << '"';
        EXPECT_EQ(from_text<i32>(kColorType, c.text), c.value) << '"' << c.text << '"';
    }
    EXPECT_EQ(to_text(kIntegerType, i32{-2147483647 - 1}), "-2147483648");
    EXPECT_EQ(to_text(kColorType, i32{0xFF8000}), "16744448");
}

TEST(TypeDescriptor, BooleanText)
{
    EXPECT_EQ(to_text(kBooleanType, i32{1}), "True");
    EXPECT_EQ(to_text(kBooleanType, i32{0}), "False");
    for (const char* text : {"True", "true", "TRUE", "tRuE"})
        EXPECT_EQ(from_text<i32>(kBooleanType, text), 1) << text;
    for (const char* text : {"False", "", "1", "True ", "yes", "Tru"})
        EXPECT_EQ(from_text<i32>(kBooleanType, text), 0) << text;
}

TEST(TypeDescriptor, SingleTextReadsBack)
{
    for (float value : {0.0f, 1.5f, -0.1f, 3.4028235e38f, 1e-7f})
        EXPECT_EQ(from_text<float>(kSingleType, to_text(kSingleType, value)), value) << value;
    EXPECT_EQ(to_text(kSingleType, 2.25f), "2.25");
    EXPECT_EQ(from_text<float>(kSingleType, "  +2.5"), 2.5f);
    EXPECT_EQ(from_text<float>(kSingleType, "x"), 0.0f);
    EXPECT_EQ(kDoubleType.toText, nullptr);
    EXPECT_EQ(kDoubleType.fromText, nullptr);
}

TEST(TypeDescriptor, OnlyStringIsCountedAndItsTextIsItself)
{
    for (const TypeDescriptor* type : {&kIntegerType, &kBooleanType, &kSingleType, &kDoubleType, &kColorType}) {
        EXPECT_EQ(type->retain, nullptr) << type->name;
        EXPECT_EQ(type->release, nullptr) << type->name;
    }
    StringRef s = ascii("hello");
    RuntimeString* record = s.get();
    const i32 count = record->refCount;
    kStringType.retain(&record);
    EXPECT_EQ(record->refCount, count + 1);
    kStringType.release(&record);
    EXPECT_EQ(record->refCount, count);

    RuntimeString* text = kStringType.toText(&record);
    EXPECT_EQ(text, record);  // the same record, with a count for the caller
    RuntimeUnlockString(text);
    RuntimeString* stored = nullptr;
    kStringType.fromText(record, &stored);
    EXPECT_EQ(stored, record);
    EXPECT_EQ(record->refCount, count + 1);
    RuntimeUnlockString(stored);
}

}  // namespace
