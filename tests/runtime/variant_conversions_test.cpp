// Variants: wrapping values, inspecting them, and converting every type to every other, with
// the text of Doubles and dates both ways.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "runtime/strings/number_text.h"
#include "runtime/variants/variant_text.h"
#include "tests/support/string_helpers.h"
#include "tests/support/value_fixture.h"

namespace {

using namespace qv;
using test::Held;
using test::plain_object;
using test::text_of;

constexpr i32 kMaxInt = std::numeric_limits<i32>::max();

RuntimeObject* text_variant(const char* text) { return stringToVariant(test::ascii(text).get()); }

class Variants : public test::ValueTest { };

TEST_F(Variants, WrappingSetsTheTypeAndHoldsACount)
{
    StringRef text = test::ascii("held");
    Held object = plain_object();
    Held date(new_date(86400));
    {
        struct Case {
            const char* name;
            Held variant;
            i32 type;
            bool numeric;
            bool null;
        };
        Case cases[] = {
            {"Integer", Held(intToVariant(-5)), 2, true, false},
            {"Double", Held(doubleToVariant(0.5)), 5, true, false},
            {"String", Held(stringToVariant(text.get())), 8, false, false},
            {"Object", Held(objectToVariant(object.get())), 9, false, false},
            {"Object nil", Held(objectToVariant(nullptr)), 9, false, true},
            {"Date object", Held(objectToVariant(date.get())), 7, false, false},
            {"Date", Held(DateToVariant(date.get())), 7, false, false},
            {"Date nil", Held(DateToVariant(nullptr)), 7, false, false},
            {"Boolean", Held(booleanToVariant(7)), 11, false, false},
            {"Color", Held(colorToVariant(0xFF)), 16, false, false},
            {"Nil", Held(getNilVariant()), 1, false, true},
            {"no variant", Held(), 0, false, true},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(VarType(c.variant.get()), c.type);
            EXPECT_EQ(IsNumeric(c.variant.get()), c.numeric);
            EXPECT_EQ(IsNull(c.variant.get()), c.null);
        }
        EXPECT_EQ(text.get()->refCount, 2);
        EXPECT_EQ(object.get()->refCount, 2);
        EXPECT_EQ(date.get()->refCount, 1) << "a Date becomes a value";
        EXPECT_EQ(cases[8].variant.variant()->value[0], 1u) << "Booleans are 0 or 1";
        EXPECT_EQ(double_of(cases[5].variant.get()), 86400.0);
        EXPECT_EQ(double_of(cases[7].variant.get()), 0.0);
        const u32* words = cases[1].variant.variant()->value;
        EXPECT_EQ(words[2], 0u) << "unused value bytes stay zero";
    }
    EXPECT_EQ(text.get()->refCount, 1) << "the finalizer lets go of the string";
    EXPECT_EQ(object.get()->refCount, 1) << "and of the object";

    EXPECT_EQ(DateToVariant(object.get()), nullptr) << "only Dates";
    EXPECT_TRUE(raised_once(ExceptionClass::typeMismatchException));
}

struct ConversionCase {
    const char* name;
    RuntimeObject* (*make)();
    std::optional<i32> integer;  // no value: every conversion raises `failure`
    double real;
    bool boolean;
    const char* text;
    ExceptionClass failure = ExceptionClass::typeMismatchException;
};

const ConversionCase kConversions[] = {
    {"Integer -7", [] { return intToVariant(-7); }, -7, -7.0, true, "-7"},
    {"Integer 0", [] { return intToVariant(0); }, 0, 0.0, false, "0"},
    {"Color", [] { return colorToVariant(0xFF); }, 255, 255.0, true, "&h0000FF"},
    {"Color with every bit", [] { return colorToVariant(0xFFFFFFFF); }, -1, 4294967295.0, true, "&hFFFFFFFF"},
    {"Double 2.75", [] { return doubleToVariant(2.75); }, 2, 2.75, true, "2.75"},
    {"Double -2.75 truncates up", [] { return doubleToVariant(-2.75); }, -2, -2.75, true, "-2.75"},
    {"Double too large saturates", [] { return doubleToVariant(1e20); }, kMaxInt, 1e20, true, "1e+20"},
    {"Double NaN", [] { return doubleToVariant(std::nan("")); }, 0, std::nan(""), true, "NaN"},
    {"Double 0", [] { return doubleToVariant(0.0); }, 0, 0.0, false, "0"},
    {"Date", [] { return DateToVariant(Held(new_date(86400.5)).get()); }, 86400, 86400.5, true, "1904-01-02 00:00:00"},
    {"String number", [] { return text_variant(" 42.9abc"); }, 42, 42.9, false, " 42.9abc"},
    {"String hexadecimal", [] { return text_variant("&hFFFFFFFF"); }, -1, -1.0, false, "&hFFFFFFFF"},
    {"String TRUE", [] { return text_variant("TRUE"); }, 0, 0.0, true, "TRUE"},
    {"String 1", [] { return text_variant("1"); }, 1, 1.0, true, "1"},
    {"String yes", [] { return text_variant("yes"); }, 0, 0.0, false, "yes"},
    {"String true with a space", [] { return text_variant("true "); }, 0, 0.0, false, "true "},
    {"String empty", [] { return stringToVariant(nullptr); }, 0, 0.0, false, ""},
    {"Boolean true", [] { return booleanToVariant(1); }, 1, 1.0, true, "True"},
    {"Boolean false", [] { return booleanToVariant(0); }, 0, 0.0, false, "False"},
    {"Object", [] { return objectToVariant(plain_object().get()); }, std::nullopt, 0, false, ""},
    {"Nil variant", [] { return getNilVariant(); }, std::nullopt, 0, false, ""},
    {"no variant", []() -> RuntimeObject* { return nullptr; }, std::nullopt, 0, false, "",
     ExceptionClass::NilObjectException},
};

TEST_F(Variants, ConversionsFollowTheTypeOrRaise)
{
    for (const ConversionCase& c : kConversions) {
        SCOPED_TRACE(c.name);
        Held v(c.make());
        const i32 integer = variantToInt(v.get());
        const u32 color = variantToColor(v.get());
        const double real = variantToDouble(v.get());
        const i32 boolean = variantToBoolean(v.get());
        const StringRef text = StringRef::adopt(variantToString(v.get()));
        if (!c.integer) {
            EXPECT_TRUE(raised_count_is(5));
            variantToInt(v.get());
            EXPECT_TRUE(raised_once(c.failure));
            EXPECT_EQ(integer, 0);
            EXPECT_EQ(color, 0u);
            EXPECT_EQ(real, 0.0);
            EXPECT_EQ(boolean, 0);
            EXPECT_TRUE(text.is_nil());
            continue;
        }
        EXPECT_TRUE(nothing_raised());
        EXPECT_EQ(integer, *c.integer);
        EXPECT_EQ(color, static_cast<u32>(*c.integer));
        if (std::isnan(c.real))
            EXPECT_TRUE(std::isnan(real));
        else
            EXPECT_EQ(real, c.real);
        EXPECT_EQ(boolean, c.boolean ? 1 : 0);
        EXPECT_EQ(text_of(text), c.text);
        EXPECT_EQ(text.encoding(), kEncodingASCII);
    }
}

TEST_F(Variants, DoublesPrintTheShortestTextThatValReadsBack)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.1, "0.1"},
        {1.0 / 3, "0.3333333333333333"},
        {0.30000000000000004, "0.30000000000000004"},
        {100, "100"},
        {-123456.789, "-123456.789"},
        {1e16, "10000000000000000"},
        {12345678901234567.0, "12345678901234568"},
        {1e17, "1e+17"},
        {0.00001, "0.00001"},
        {1.5e-7, "1.5e-07"},
        {-0.0, "0"},
        {5e-324, "5e-324"},
        {DBL_MAX, "1.7976931348623157e+308"},
        {std::numeric_limits<double>::infinity(), "Inf"},
        {-std::numeric_limits<double>::infinity(), "-Inf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text_of(double_variant_text(c.value)), c.text);
    }
    // Any finite double survives the trip through its text.
    std::mt19937 random(3);
    for (i32 i = 0; i < 20000; ++i) {
        const u64 bits = (u64{random()} << 32) | random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        const double back = val(double_variant_text(value));
        ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text_of(double_variant_text(value));
    }
}

TEST_F(Variants, DatesPrintAndParse)
{
    struct Case {
        const char* text;
        double seconds;
    };
    const Case cases[] = {
        {"1904-01-01 00:00:00", 0},
        {"1903-12-31 23:59:59", -1},
        {"1904-02-29 00:00:00", 59 * 86400.0},
        {"2000-03-01 12:34:56", 3034758896.0},
        {"2040-02-06 06:28:15", 4294967295.0},
        {"0001-01-01 00:00:00", -60052752000.0},
        {"9999-12-31 23:59:59", 255485145599.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(text_of(date_text(c.seconds)), c.text);
        double seconds = -42;
        EXPECT_TRUE(parse_date_text(test::ascii(c.text), seconds));
        EXPECT_EQ(seconds, c.seconds);
    }
    EXPECT_EQ(text_of(date_text(0.999)), "1904-01-01 00:00:00") << "seconds are cut, not rounded";
    EXPECT_EQ(text_of(date_text(1e300)), "1e+300") << "beyond the calendar";

    double seconds = 0;
    EXPECT_TRUE(parse_date_text(test::ascii(" 1904-01-02 "), seconds));
    EXPECT_EQ(seconds, 86400);
    EXPECT_TRUE(parse_date_text(test::ascii("1904-01-02 01:02"), seconds));
    EXPECT_EQ(seconds, 86400 + 3720);
    for (const char* bad : {"", "2023-02-29", "2023-13-01", "2023-00-10", "2023-01-01 24:00", "2023-01-01 10:60",
                            "2023-01-01x", "2023/01/01", "0000-01-01", "2023-01-01 10:00:"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parse_date_text(test::ascii(bad), seconds));
    }
}

TEST_F(Variants, ToDateMakesDatesFromEveryValueType)
{
    Held existing(new_date(12));
    struct Case {
        const char* name;
        Held variant;
        std::optional<double> seconds;  // no value: raises typeMismatchException
    };
    Case cases[] = {
        {"Integer", Held(intToVariant(86400)), 86400.0},
        {"negative Integer as unsigned", Held(intToVariant(-1)), 4294967295.0},
        {"Color", Held(colorToVariant(0x80000000u)), 2147483648.0},
        {"Double", Held(doubleToVariant(-1.5)), -1.5},
        {"Date", Held(DateToVariant(existing.get())), 12.0},
        {"Boolean", Held(booleanToVariant(1)), 1.0},
        {"String", Held(text_variant("1904-01-02 00:00:01")), 86401.0},
        {"String not a date", Held(text_variant("tomorrow")), std::nullopt},
        {"Object not a Date", Held(objectToVariant(plain_object().get())), std::nullopt},
        {"Nil", Held(getNilVariant()), std::nullopt},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        Held date(VariantToDate(c.variant.get()));
        if (!c.seconds) {
            EXPECT_EQ(date.get(), nullptr);
            EXPECT_TRUE(raised_once(ExceptionClass::typeMismatchException));
            continue;
        }
        ASSERT_NE(date.get(), nullptr);
        EXPECT_TRUE(is_date(date.get()));
        EXPECT_EQ(date_total_seconds(date.get()), *c.seconds);
        EXPECT_TRUE(nothing_raised());
    }
    // An Object variant that holds a Date hands out that Date, not a copy. (objectToVariant
    // would make a Date variant, so the Object variant is built by hand.)
    Held holder(make_object_variant(existing.get()));
    Held same(VariantToDate(holder.get()));
    EXPECT_EQ(same.get(), existing.get());
    EXPECT_EQ(existing.get()->refCount, 3);

    EXPECT_EQ(VariantToDate(nullptr), nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
}

TEST_F(Variants, ObjectsComeBackWithACountAndCastByClass)
{
    Held dictionary(RuntimeNewObject(dictionary_class()));
    Held object_variant(objectToVariant(dictionary.get()));
    Held double_variant(doubleToVariant(5));
    Held real_date(DateToVariant(Held(new_date(5)).get()));

    Held got(variantToObject(object_variant.get()));
    EXPECT_EQ(got.get(), dictionary.get());
    EXPECT_EQ(dictionary.get()->refCount, 3);
    Held made(variantToObject(real_date.get()));
    ASSERT_TRUE(is_date(made.get()));
    EXPECT_EQ(date_total_seconds(made.get()), 5.0);
    EXPECT_EQ(variantToObject(double_variant.get()), nullptr) << "a Double is no object";
    EXPECT_TRUE(raised_once(ExceptionClass::typeMismatchException));

    EXPECT_TRUE(VariantIsA(object_variant.get(), dictionary_class()));
    EXPECT_FALSE(VariantIsA(object_variant.get(), variant_class()));
    EXPECT_TRUE(VariantIsA(real_date.get(), date_class()));
    EXPECT_FALSE(VariantIsA(real_date.get(), dictionary_class()));
    EXPECT_FALSE(VariantIsA(double_variant.get(), date_class()));
    EXPECT_FALSE(VariantIsA(nullptr, date_class()));

    Held cast(VariantTypecast(object_variant.get(), dictionary_class()));
    EXPECT_EQ(cast.get(), dictionary.get());
    EXPECT_TRUE(nothing_raised());
    EXPECT_EQ(VariantTypecast(object_variant.get(), date_class()), nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::IllegalCastException));
    EXPECT_EQ(dictionary.get()->refCount, 4) << "the failed cast let go of its intermediate count";
}

}  // namespace
