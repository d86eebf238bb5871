// Edit-field text rules: line ends as the runtime sees them and password masking.
#include <gtest/gtest.h>

#include "ui/edit_text.h"

namespace qv::ui {
namespace {

TEST(EditText, LineEndsBecomeALoneCarriageReturn)
{
    const struct {
        std::u16string in;
        std::u16string out;
    } kCases[] = {
        {u"one\r\ntwo", u"one\rtwo"},     {u"one\ntwo\n", u"one\rtwo\r"}, {u"a\r\r\nb", u"a\r\rb"},
        {u"\n\r\n\r", u"\r\r\r"},         {u"日本\r\n語", u"日本\r語"},     {u"", u""},
        {u"trailing\r", u"trailing\r"},
    };
    for (const auto& c : kCases) {
        std::u16string text = c.in;
        to_runtime_line_ends(text);
        EXPECT_EQ(text, c.out);
    }
}

TEST(EditText, MaskingKeepsControlCharactersAndPositions)
{
    EXPECT_EQ(masked_text(u"ab c\r日\td"), u"****\r*\t*");
    EXPECT_EQ(masked_text(u""), u"");
}

TEST(EditText, ReplaceRangeCutsTheRangeToTheText)
{
    std::u16string text = u"hello";
    replace_range(text, 1, 3, u"EY");
    EXPECT_EQ(text, u"hEYo");
    replace_range(text, 10, 5, u"!");  // past the end: appended
    EXPECT_EQ(text, u"hEYo!");
    replace_range(text, -3, 1, u">");  // before the start: at the start
    EXPECT_EQ(text, u">EYo!");
    replace_range(text, 3, 100, u"");
    EXPECT_EQ(text, u">EY");
}

}  // namespace
}  // namespace qv::ui
