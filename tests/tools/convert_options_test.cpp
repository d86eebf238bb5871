// hollerpad-convert's command line: switches, clipboard form, and the errors that exit 2.
#include <gtest/gtest.h>

#include "tools/hollerpad-convert/options.h"

namespace {

using hollerpad::parse_convert_options;

TEST(ConvertOptions, DefaultsAreSwitchesOneToEightOn)
{
    const auto parsed = parse_convert_options({});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.options.switches, 0xFFu);
    EXPECT_FALSE(parsed.options.clipboard);
}

TEST(ConvertOptions, DigitKIsSwitchK)
{
    struct Case {
        std::vector<std::string> args;
        u32 switches;
    };
    const Case cases[] = {
        {{"--switches", "000000000"}, 0x000},
        {{"--switches", "111111111"}, 0x1FF},
        {{"--switches", "001000000"}, 0x004},  // switch 3 alone
        {{"--switches=000000001"}, 0x100},     // switch 9 alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const auto parsed = parse_convert_options(c.args);
        EXPECT_TRUE(parsed.error.empty()) << parsed.error;
        EXPECT_EQ(parsed.options.switches, c.switches);
    }
}

TEST(ConvertOptions, ClipboardFlag) { EXPECT_TRUE(parse_convert_options({"--clipboard"}).options.clipboard); }

TEST(ConvertOptions, RejectsMalformedCommandLines)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--switches"},                // value missing
        {"--switches", "11111111"},    // eight digits
        {"--switches", "1111111111"},  // ten digits
        {"--switches", "11111111x"},   // not a digit
        {"--switches", "111111112"},   // not 0 or 1
        {"--clip"},                    // unknown option
        {"input.txt"},                 // no file arguments: stdin only
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args.back());
        EXPECT_FALSE(parse_convert_options(args).error.empty());
    }
}

}  // namespace
