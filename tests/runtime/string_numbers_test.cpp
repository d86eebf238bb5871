// Val and CDbl, Str and CStr, Format, Hex, Oct and Bin: numbers read and written by the
// runtime itself, the same in both builds.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "runtime/strings/number_format.h"
#include "runtime/strings/number_text.h"
#include "sdk/quaver.h"
#include "tests/support/string_helpers.h"

namespace {

using namespace qv;
using test::ascii;
using test::text_of;
using test::utf8;

constexpr double kInfinity = std::numeric_limits<double>::infinity();
const platform::NumberSeparators kEnglish{".", ","};
const platform::NumberSeparators kGerman{",", "."};

struct ValCase {
    const char* text;
    double expected;
};

TEST(StringNumbers, ValReadsPrefixedIntegersAndDecimalNumbers)
{
    const ValCase cases[] = {
        {"&hFF", 255},
        {"&HfF", 255},
        {"&hFFFFFFFF", -1},
        {"&h100000001", 1},  // wraps at 32 bits
        {"&o17", 15},
        {"&o19", 1},  // 9 is no octal digit: skipped
        {"&b1 0 1", 5},
        {"&h1G", 32},  // every letter is a hexadecimal digit: G is 16
        {"&x12", 0},
        {"&", 0},
        {"  12.5abc", 12.5},
        {"-3e2", -300},
        {"+.5", 0.5},
        {"1e", 1},
        {"2e+", 2},
        {"1,5", 1},  // no locale: a comma ends the number
        {"abc", 0},
        {".", 0},
        {"0.1", 0.1},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"4.9e-324", 4.9e-324},
        {"1e999", kInfinity},
        {"-1e999", -kInfinity},
        {"1e-999", 0},
        {"0x1A", 26},
        {"0x1.8p1", 3},
        {"-Infinity", -kInfinity},
    };
    for (const ValCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StringVal(ascii(c.text).get()), c.expected);
    }
    EXPECT_TRUE(std::isnan(StringVal(ascii("nan").get())));
    EXPECT_EQ(StringVal(nullptr), 0);
    const u16 wide[] = {'4', '2', '.', '5'};
    EXPECT_EQ(StringVal(StringRef::FromWide(wide, 4).get()), 42.5);
}

TEST(StringNumbers, CDblUsesTheLocaleSeparators)
{
    EXPECT_EQ(cdbl(ascii("1,234,567.5"), kEnglish), 1234567.5);
    EXPECT_EQ(cdbl(ascii("1.234.567,5"), kGerman), 1234567.5);
    EXPECT_EQ(cdbl(ascii("-0,25"), kGerman), -0.25);
    EXPECT_EQ(cdbl(ascii("&hFF"), kGerman), 255);
    EXPECT_EQ(cdbl(utf8("1\u00a0234,5"), {",", "\u00a0"}), 1234.5);
    EXPECT_EQ(cdbl(StringRef(), kEnglish), 0);
}

struct StrCase {
    double value;
    const char* expected;
};

TEST(StringNumbers, StrShowsSevenSignificantDigits)
{
    const StrCase cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-2.5, "-2.5"},
        {1234567, "1234567"},
        {12345678, "1.234568e+07"},
        {9999999.5, "1e+07"},
        {123.456789, "123.4568"},
        {1.0 / 3, "0.3333333"},
        {2.0 / 3, "0.6666667"},
        {0.0001, "0.0001"},
        {0.00001, "1e-05"},
        {-1.5e-10, "-1.5e-10"},
        {1e100, "1e+100"},
        {0.1 + 0.2, "0.3"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"},
        {-kInfinity, "-Inf"},
    };
    for (const StrCase& c : cases) {
        SCOPED_TRACE(c.expected);
        RuntimeString* s = StringStr(c.value);
        EXPECT_EQ(text_of(s), c.expected);
        EXPECT_EQ(s->encoding, kEncodingASCII);
        RuntimeUnlockString(s);
    }
    EXPECT_EQ(text_of(cstr(1234.5, kGerman)), "1234,5");
    EXPECT_EQ(text_of(cstr(2, kGerman)), "2");
}

struct FormatCase {
    double value;
    const char* format;
    const char* expected;
};

TEST(StringNumbers, FormatLaysOutNumbers)
{
    const FormatCase cases[] = {
        {1234.5, "#,##0.00", "1,234.50"},
        {-1234.5, "#,##0.00", "-1,234.50"},
        {1234567.891, "#,##0.###", "1,234,567.891"},
        {0.5, "#,##0", "1"},
        {3.14159, "0.00", "3.14"},
        {2.5, "0", "3"},          // half away from zero
        {0.125, "0.00", "0.13"},  // as the digits read, not as the binary value lies
        {99.999, "0.00", "100.00"},
        {-0.001, "0.00", "0.00"},  // no minus sign when nothing but zeros shows
        {5, "#.##", "5."},
        {0.5, "#.00", ".50"},
        {42, "000", "042"},
        {42, "#", "42"},
        {0, "#", ""},
        {0.256, "0%", "26%"},
        {5551234567, "(###) ###-####", "(555) 123-4567"},
        {-5, "0;(0)", "(5)"},
        {0, "0;(0);\"zero\"", "zero"},
        {-5, "0;;z", "-5"},
        {7, "\"Total: \"0", "Total: 7"},
        {1, "\\#0", "#1"},
        {123456, "0.00E+00", "1.23E+05"},
        {0.000123, "0.0e-0", "1.2e-4"},
        {9.999, "0.0E+0", "1.0E+1"},
        {12, "0 ;x", "12 "},
        {1.5, "", "1.5"},
        {1.5, "円0.0", "円1.5"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " of " + std::to_string(c.value));
        EXPECT_EQ(text_of(format_number(c.value, utf8(c.format), kEnglish)), c.expected);
    }
    EXPECT_EQ(format_number_text(1234.5, "#,##0.00", kGerman), "1.234,50");
    RuntimeString* yen = StringFormat(1, utf8("0円").get());
    EXPECT_EQ(text_of(yen), "1円");
    EXPECT_EQ(yen->encoding, kEncodingUTF8);
    RuntimeUnlockString(yen);
    RuntimeString* plain = StringFormat(2.5, nullptr);
    EXPECT_EQ(text_of(plain), "2.5");
    EXPECT_EQ(plain->encoding, kEncodingASCII);
    RuntimeUnlockString(plain);
}

TEST(StringNumbers, HexOctBinShowTheUnsignedValue)
{
    struct Case {
        RuntimeString* result;
        const char* expected;
    };
    const Case cases[] = {
        {RuntimeHex(255), "FF"},
        {RuntimeHex(0), "0"},
        {RuntimeHex(-1), "FFFFFFFF"},
        {RuntimeOct(8), "10"},
        {RuntimeOct(-1), "37777777777"},
        {RuntimeBin(5), "101"},
        {RuntimeBin(INT32_MIN), "10000000000000000000000000000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(text_of(c.result), c.expected);
        EXPECT_EQ(c.result->encoding, kEncodingASCII);
        RuntimeUnlockString(c.result);
    }
}

}  // namespace
