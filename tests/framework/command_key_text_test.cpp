// Command keys as shortcut text, and the text of a menu entry.
#include <gtest/gtest.h>

#include <string>

#include "framework/command_key_text.h"

namespace {

using namespace qv;

struct KeyCase {
    const char* command_key;
    const char* shortcut_text;
};

class CommandKeyShortcutText : public testing::TestWithParam<KeyCase> { };

TEST_P(CommandKeyShortcutText, Is)
{
    EXPECT_EQ(command_key_shortcut_text(GetParam().command_key), GetParam().shortcut_text)
        << "command key \"" << GetParam().command_key << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CommandKeyShortcutText,
    testing::Values(KeyCase{"", ""}, KeyCase{"Q", "Ctrl+Q"}, KeyCase{"Shift-Q", "Ctrl+Shift+Q"},
                    KeyCase{"Ctrl+Alt+X", "Ctrl+Alt+X"}, KeyCase{"Option-Z", "Ctrl+Alt+Z"},
                    KeyCase{"Shft-S", "Ctrl+Shift+S"}, KeyCase{"sHiFt+oPtIoN+k", "Ctrl+Shift+Alt+k"},
                    KeyCase{"Alt-Shift-P", "Ctrl+Shift+Alt+P"}, KeyCase{"Control-W", "Ctrl+W"},
                    KeyCase{"Command-W", "Ctrl+W"}, KeyCase{"Ctrl-Ctrl-W", "Ctrl+W"},
                    KeyCase{"Option-Alt-V", "Ctrl+Alt+V"}, KeyCase{"Meta-M", "Ctrl+M"}, KeyCase{"-", "Ctrl+-"},
                    KeyCase{"Ctrl+-", "Ctrl+-"}, KeyCase{"Shift--", "Ctrl+Shift+-"}, KeyCase{"+", "Ctrl+-"},
                    KeyCase{"F:", "Ctrl+F:"}, KeyCase{"F10", "Ctrl+F10"}, KeyCase{"Del", "Ctrl+Del"}));

TEST(MenuDisplayedText, AddsATabAndTheShortcutOnlyWhenThereIsOne)
{
    EXPECT_EQ(menu_displayed_text("Quit", "Ctrl+Q"), "Quit\tCtrl+Q");
    EXPECT_EQ(menu_displayed_text("Quit", ""), "Quit");
    EXPECT_EQ(menu_displayed_text("", "Ctrl+Q"), "\tCtrl+Q");
}

}  // namespace
