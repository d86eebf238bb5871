// Mnemonics of captions: doubled ampersands, the last mark winning, upper case.
#include <gtest/gtest.h>

#include "ui/caption_mnemonic.h"

namespace qv::ui {
namespace {

TEST(CaptionMnemonic, TheLastSingleAmpersandMarksTheKey)
{
    const struct {
        const char* caption;
        const char* shortcut;
    } kCases[] = {
        {"Save", ""},          {"&&Save", ""},        {"&Save", "Alt+S"},  {"Sa&ve", "Alt+V"},
        {"&a && &b", "Alt+B"}, {"R&&&D", "Alt+D"},    {"End&", ""},        {"&&&", ""},
        {"&1", "Alt+1"},       {"変換(&C)", "Alt+C"}, {"&変換", "Alt+変"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(mnemonic_shortcut(c.caption), c.shortcut) << c.caption;
}

}  // namespace
}  // namespace qv::ui
