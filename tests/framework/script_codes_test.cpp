// Script codes from the user's default language, and their font character sets.
#include <gtest/gtest.h>

#include "framework/script_codes.h"

namespace {

using namespace qv;

TEST(ScriptCodes, FromTheDefaultLanguage)
{
    const struct {
        u32 language;
        i32 script;
    } cases[] = {{1041, 13}, {1028, 21}, {2052, 21}, {3076, 21}, {4100, 21},
                 {1031, 0},  {1033, 0},  {1042, 0},  {5124, 0},  {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(script_code_for_language(c.language), c.script) << "language " << c.language;
}

TEST(ScriptCodes, ToFontCharacterSets)
{
    const struct {
        i32 script;
        u32 charset;
    } cases[] = {{13, 128}, {21, 136}, {12, 177}, {14, 178}, {16, 161}, {19, 162},
                 {24, 222}, {34, 204}, {0, 1},    {1, 1},    {-1, 1},   {128, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(font_charset_for_script(c.script), c.charset) << "script " << c.script;
}

TEST(ScriptCodes, JapaneseUserGetsShiftJisFontsAndGermanTheDefault)
{
    EXPECT_EQ(font_charset_for_script(script_code_for_language(1041)), 128u);
    EXPECT_EQ(font_charset_for_script(script_code_for_language(1031)), 1u);
}

}  // namespace
