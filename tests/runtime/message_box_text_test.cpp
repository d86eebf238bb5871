// RuntimeMsgBox's layout: message and explanation parted at the first blank line, and the
// text that reaches the presenter or the platform's message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message_box.h"
#include "runtime/exports/message_box_text.h"
#include "tests/support/string_helpers.h"

namespace qv {
namespace {

struct LayoutCase {
    const char* text;
    const char* message;
    const char* explanation;
    const char* shown;
};

TEST(MessageBoxText, PartsAtTheFirstBlankLineAfterTheFirstCharacter)
{
    const LayoutCase cases[] = {
        {"one line", "one line", "", "one line"},
        {"a\r\nb", "a\r\nb", "", "a\r\nb"},
        {"title\r\n\r\ndetails", "title", "details", "title\r\n\r\ndetails"},
        {"title\r\n\r\nmore\r\n\r\nstill more", "title", "more\r\n\r\nstill more",
         "title\r\n\r\nmore\r\n\r\nstill more"},
        {"\r\n\r\nstarts blank", "\r\n\r\nstarts blank", "", "\r\n\r\nstarts blank"},
        {"x\r\n\r\n", "x", "", "x"},  // an empty explanation leaves no blank line
        {"x\r\n\r\n\r\n\r\n", "x", "\r\n\r\n", "x\r\n\r\n\r\n\r\n"},
        {"lone\r\rCRs\n\nand LFs", "lone\r\rCRs\n\nand LFs", "", "lone\r\rCRs\n\nand LFs"},
        {"", "", "", ""},
    };
    for (const LayoutCase& c : cases) {
        const MessageBoxText parts = split_message_box_text(c.text);
        EXPECT_EQ(parts.message, c.message) << c.text;
        EXPECT_EQ(parts.explanation, c.explanation) << c.text;
        EXPECT_EQ(compose_message_box_text(parts), c.shown) << c.text;
    }
}

std::vector<std::string> s_seen;

TEST(MessageBoxText, RuntimeMsgBoxShowsTheComposedUTF8Text)
{
    s_seen.clear();
    const platform::MessageSink previous_sink = platform::set_message_sink(
        [](const char* title, const char* text) { s_seen.push_back(std::string(title) + "|" + text); });
    RuntimeMsgBox(test::utf8("保存しました\r\n\r\n").get());
    RuntimeMsgBox(test::bytes_of("caf\xE9\r\n\r\nok", kEncodingWindowsLatin1).get());
    RuntimeMsgBox(nullptr);

    // With a presenter installed, it shows the box instead.
    const MessageBoxPresenter previous =
        set_message_box_presenter([](const char* text) { s_seen.push_back(std::string("presenter|") + text); });
    RuntimeMsgBox(test::utf8("a\r\n\r\nb").get());
    set_message_box_presenter(previous);
    platform::set_message_sink(previous_sink);

    EXPECT_EQ(s_seen, (std::vector<std::string>{"|保存しました", "|café\r\n\r\nok", "|", "presenter|a\r\n\r\nb"}));
}

}  // namespace
}  // namespace qv
