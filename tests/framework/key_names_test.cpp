// Key translation, key names and the shortcut text of a key press, against a small fake
// keyboard layout.
#include <gtest/gtest.h>

#include <string>

#include "framework/key_names.h"

namespace {

using namespace qv;

// Letters and digits as usual; Shift+1 types "!"; Ctrl+Alt+Q types "@"; the comma key (188)
// types ";" and Shift+comma "<", so the comma rule's own answer is told apart from the layout's.
i16 fake_layout(u8 c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<i16>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z')
        return static_cast<i16>(0x100 | c);
    if (c >= '0' && c <= '9')
        return c;
    switch (c) {
    case '!': return 0x100 | '1';
    case '@': return 0x600 | 'Q';
    case ';': return 188;
    case '<': return 0x100 | 188;
    default: return -1;
    }
}

struct TranslationCase {
    const char* name;
    u32 virtual_key;
    KeyTranslationState state;
    u32 expected;
};

void PrintTo(const TranslationCase& c, std::ostream* os) { *os << c.name; }

class TranslateKey : public testing::TestWithParam<TranslationCase> { };

TEST_P(TranslateKey, Gives)
{
    const TranslationCase& c = GetParam();
    EXPECT_EQ(translate_key(c.virtual_key, c.state, fake_layout), c.expected);
}

constexpr KeyTranslationState kPlain{};
constexpr KeyTranslationState kShiftFlag{true, false, true, false, false};
constexpr KeyTranslationState kCapsLock{false, true, false, false, false};
constexpr KeyTranslationState kCtrl{false, false, false, true, false};
constexpr KeyTranslationState kCtrlAlt{false, false, false, true, true};

INSTANTIATE_TEST_SUITE_P(
    Keys, TranslateKey,
    testing::Values(
        TranslationCase{"F1", 112, kPlain, 200}, TranslationCase{"F24", 135, kPlain, 223},
        TranslationCase{"Keypad0", 96, kPlain, '0'}, TranslationCase{"Keypad9", 105, kPlain, '9'},
        TranslationCase{"PgUp", 33, kPlain, 11}, TranslationCase{"Home", 36, kPlain, 1},
        TranslationCase{"Down", 40, kPlain, 31}, TranslationCase{"Del", 46, kPlain, 127},
        TranslationCase{"KeypadDecimal", 110, kPlain, 46},
        TranslationCase{"KeypadEnter", kVirtualKeyKeypadEnter, kPlain, 3},
        TranslationCase{"CommaUnmodified", 188, kPlain, ','},
        TranslationCase{"CommaWithCtrlAsksTheLayout", 188, kCtrl, ';'},
        TranslationCase{"CommaWithShiftAsksTheLayout", 188, kShiftFlag, '<'},
        TranslationCase{"PeriodUnmodified", 190, kPlain, '.'}, TranslationCase{"LetterLowerCase", 'Q', kPlain, 'q'},
        TranslationCase{"LetterWithShift", 'Q', kShiftFlag, 'Q'},
        TranslationCase{"LetterWithCapsLock", 'Q', kCapsLock, 'Q'}, TranslationCase{"LetterWithCtrl", 'Q', kCtrl, 'q'},
        TranslationCase{"CtrlAltLayer", 'Q', kCtrlAlt, '@'}, TranslationCase{"DigitWithShift", '1', kShiftFlag, '!'},
        TranslationCase{"ControlCodeItself", 8, kPlain, 8}, TranslationCase{"UnknownKeyItself", 0xE5, kPlain, 0xE5}),
    [](const testing::TestParamInfo<TranslationCase>& info) { return std::string(info.param.name); });

struct NameCase {
    u32 virtual_key;
    const char* name;
};

class KeyName : public testing::TestWithParam<NameCase> { };

TEST_P(KeyName, Is)
{
    EXPECT_EQ(key_name(GetParam().virtual_key, '?'), GetParam().name) << "virtual key " << GetParam().virtual_key;
}

INSTANTIATE_TEST_SUITE_P(Table, KeyName,
                         testing::Values(NameCase{8, "Bsp"}, NameCase{9, "Tab"}, NameCase{12, "Clr"},
                                         NameCase{13, "Enter"}, NameCase{27, "Esc"}, NameCase{32, "Space"},
                                         NameCase{33, "PgUp"}, NameCase{34, "PgDn"}, NameCase{35, "End"},
                                         NameCase{36, "Home"}, NameCase{37, "Left"}, NameCase{38, "Up"},
                                         NameCase{39, "Right"}, NameCase{40, "Down"}, NameCase{41, "Select"},
                                         NameCase{42, "Print"}, NameCase{43, "Execute"}, NameCase{44, "Snapshot"},
                                         NameCase{45, "Ins"}, NameCase{46, "Del"}, NameCase{47, "Help"},
                                         NameCase{112, "F1"}, NameCase{120, "F9"}, NameCase{121, "F:"},
                                         NameCase{122, "F;"}, NameCase{123, "F<"}, NameCase{135, "FH"},
                                         NameCase{111, "?"}, NameCase{136, "?"}, NameCase{'Q', "?"}));

TEST(KeyNameOfOtherKeys, IsTheCharacterTheKeyTypesWithoutShift)
{
    const u32 typed = translate_key('Q', kPlain, fake_layout);
    EXPECT_EQ(key_name('Q', typed), "q");
    EXPECT_EQ(key_name(188, translate_key(188, kPlain, fake_layout)), ",");
    EXPECT_EQ(key_name(0xE5, translate_key(0xE5, kPlain, fake_layout)), std::string(1, '\xE5'));
}

TEST(KeyPressShortcutText, PutsModifiersInFixedOrder)
{
    EXPECT_EQ(key_press_shortcut_text(0, "q"), "q");
    EXPECT_EQ(key_press_shortcut_text(kModifierCtrl, "q"), "Ctrl+q");
    EXPECT_EQ(key_press_shortcut_text(kModifierAlt | kModifierShift | kModifierCtrl, "x"), "Ctrl+Shift+Alt+x");
    EXPECT_EQ(key_press_shortcut_text(kModifierAlt | kModifierCtrl, "F:"), "Ctrl+Alt+F:");
    EXPECT_EQ(key_press_shortcut_text(0x100, "q"), "q");  // the Windows keys name no modifier
}

}  // namespace
