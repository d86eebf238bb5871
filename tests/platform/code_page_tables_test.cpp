// The system code page's character services. The same expectations run against Windows (under
// Wine, with LC_ALL=ja_JP.UTF-8 for 932) and against the Linux stand-ins, which keeps the
// stand-ins honest about what Windows reports.
#include <gtest/gtest.h>

#include <string>

#include "platform/code_page_tables.h"
#include "tests/support/code_page_guard.h"

namespace {

using platform::LetterCase;

std::string changed(std::string character, LetterCase target)
{
    platform::change_character_case(reinterpret_cast<u8*>(character.data()), static_cast<i32>(character.size()),
                                    target);
    return character;
}

bool space(const std::string& character)
{
    return platform::is_space_character(reinterpret_cast<const u8*>(character.data()),
                                        static_cast<i32>(character.size()));
}

TEST(CodePageTables, Japanese932)
{
    QV_REQUIRE_CODE_PAGE(932);
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(platform::is_lead_byte(static_cast<u8>(b)), (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
    }
    struct Pair {
        const char* lower;
        const char* upper;
    };
    const Pair pairs[] = {
        {"a", "A"},
        {"z", "Z"},
        {"\x82\x81", "\x82\x60"},
        {"\x82\x9a", "\x82\x79"},  // ａ Ａ, ｚ Ｚ
        {"\x83\xbf", "\x83\x9f"},
        {"\x84\x70", "\x84\x40"},
        {"\x84\x91", "\x84\x60"},  // α Α, а А, я Я
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.lower);
        EXPECT_EQ(changed(p.lower, LetterCase::Upper), p.upper);
        EXPECT_EQ(changed(p.upper, LetterCase::Lower), p.lower);
    }
    // Kana, half-width katakana and a lone lead byte have no other case.
    for (std::string same : {"\x82\xa0", "\x83\x41", "\xb1", "\x82"}) {
        SCOPED_TRACE(same);
        EXPECT_FALSE(platform::change_character_case(reinterpret_cast<u8*>(same.data()), static_cast<i32>(same.size()),
                                                     LetterCase::Upper));
    }
    EXPECT_TRUE(space("\x81\x40"));  // the ideographic space
    EXPECT_TRUE(space(" ") && space("\t") && space("\r"));
    EXPECT_FALSE(space("\x82\xa0") || space("a") || space("\x81\x41"));
}

TEST(CodePageTables, Western1252)
{
    QV_REQUIRE_CODE_PAGE(1252);
    for (int b = 0; b < 256; ++b)
        EXPECT_FALSE(platform::is_lead_byte(static_cast<u8>(b))) << b;
    EXPECT_EQ(changed("\xe9", LetterCase::Upper), "\xc9");
    EXPECT_EQ(changed("\xff", LetterCase::Upper), "\x9f");
    EXPECT_EQ(changed("\x8a", LetterCase::Lower), "\x9a");
    EXPECT_EQ(changed("\xf7", LetterCase::Upper), "\xf7");  // the division sign
    EXPECT_EQ(changed("\xdf", LetterCase::Upper), "\xdf");  // sharp s has no single capital here
    EXPECT_TRUE(space("\xa0") && space(" ") && space("\n"));
    EXPECT_FALSE(space("a") || space("\x85"));
}

TEST(CodePageTables, NumberSeparatorsAreSet)
{
    const platform::NumberSeparators separators = platform::number_separators();
    EXPECT_FALSE(separators.decimal.empty());
    EXPECT_NE(separators.decimal, separators.thousands);
}

}  // namespace
