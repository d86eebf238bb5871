#include "debugger/hex_values.h"

#include <gtest/gtest.h>

namespace qv::debugger {
namespace {

TEST(HexValues, FormatsMostSignificantByteFirstInUpperCase)
{
    EXPECT_EQ(format_hex(0xAB, 1), "AB");
    EXPECT_EQ(format_hex(0x0040A000, 4), "0040A000");
    EXPECT_EQ(format_hex(0xDEADBEEFu, 4), "DEADBEEF");
    EXPECT_EQ(format_hex(0x0123456789ABCDEFull, 8), "0123456789ABCDEF");
    // Only the low n bytes.
    EXPECT_EQ(format_hex(0x1234, 1), "34");
}

TEST(HexValues, DecodesWithLeftPaddingAndRejectsMalformedText)
{
    const struct {
        std::string_view text;
        int bytes;
        std::optional<u64> value;
    } cases[] = {
        {"0040A000", 4, 0x0040A000},
        {"A", 4, 0xA},
        {"FF", 1, 0xFF},
        {"0123456789ABCDEF", 8, 0x0123456789ABCDEFull},
        // Of a longer text only the rightmost 2n digits count.
        {"FF0000000A", 4, 0xA},
        {"1FF", 1, 0xFF},
        // Lower case reads as the same digit.
        {"dead", 2, 0xDEAD},
        // Malformed: nothing to decode, or a character that is no digit, even among the
        // digits a long text drops.
        {"", 4, std::nullopt},
        {"0040A00G", 4, std::nullopt},
        {"G0040A000", 4, std::nullopt},
        {" 12", 4, std::nullopt},
        {"12 ", 4, std::nullopt},
        {"-1", 4, std::nullopt},
        {"0x10", 4, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decode_hex(c.text, c.bytes), c.value) << '"' << c.text << "\" as " << c.bytes;
}

TEST(StringValues, RoundTripTagAndBytes)
{
    EXPECT_EQ(format_string_value(0x08000100, "A\r\xff"), "08000100:410DFF");
    EXPECT_EQ(format_string_value(0x0600, ""), "00000600:");

    const std::optional<StringValue> decoded = decode_string_value("08000100:410DFF");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->encoding, 0x08000100u);
    EXPECT_EQ(decoded->bytes, std::string("A\r\xff"));

    const std::optional<StringValue> empty = decode_string_value("600:");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->encoding, 0x0600u);
    EXPECT_TRUE(empty->bytes.empty());
}

TEST(StringValues, RejectMalformedForms)
{
    for (const std::string_view text :
         {"", "00000600", ":41", "00000600:4", "00000600:4G", "0000060X:41", "00000600:41:42"})
        EXPECT_FALSE(decode_string_value(text)) << text;
}

}  // namespace
}  // namespace qv::debugger
