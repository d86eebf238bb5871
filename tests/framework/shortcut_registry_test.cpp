// The shortcut registry: order, replacement per (target, kind), and the walk over matching
// entries, including a walk whose actions change the registry.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/command_key_text.h"
#include "framework/key_names.h"
#include "framework/shortcut_registry.h"

namespace {

using namespace qv;
using Visit = std::pair<u32, u32>;  // target, kind

std::vector<Visit> walk_all(const ShortcutRegistry& registry, std::string_view text)
{
    std::vector<Visit> visits;
    EXPECT_FALSE(registry.Walk(text, [&](const ShortcutEntry& e) {
        visits.emplace_back(e.target, e.kind);
        return false;
    }));
    return visits;
}

TEST(ShortcutRegistry, WalksMatchesMostRecentFirstIgnoringCase)
{
    ShortcutRegistry registry;
    registry.Register(0x00010401, kShortcutMenuItem, "Ctrl+Q");
    registry.Register(0x2000, kShortcutControl, "Alt+o");
    registry.Register(0x3000, kShortcutControl, "ctrl+q");
    EXPECT_EQ(walk_all(registry, "CTRL+Q"), (std::vector<Visit>{{0x3000, 1}, {0x00010401, 0}}));
    EXPECT_EQ(walk_all(registry, "Alt+O"), (std::vector<Visit>{{0x2000, 1}}));
    EXPECT_TRUE(walk_all(registry, "Ctrl+Shift+Q").empty());
    EXPECT_TRUE(walk_all(registry, "Q").empty());
    EXPECT_TRUE(walk_all(registry, "").empty());
}

TEST(ShortcutRegistry, RegisteringAgainReplacesAndMovesToTheFront)
{
    ShortcutRegistry registry;
    registry.Register(7, kShortcutMenuItem, "Ctrl+A");
    registry.Register(8, kShortcutMenuItem, "Ctrl+B");
    registry.Register(7, kShortcutControl, "Ctrl+A");  // another kind: a separate entry
    registry.Register(7, kShortcutMenuItem, "Ctrl+B");
    ASSERT_EQ(registry.entries().size(), 3u);
    EXPECT_EQ(walk_all(registry, "Ctrl+A"), (std::vector<Visit>{{7, 1}}));
    EXPECT_EQ(walk_all(registry, "Ctrl+B"), (std::vector<Visit>{{7, 0}, {8, 0}}));
}

TEST(ShortcutRegistry, UnregisterRemovesOnlyThatPair)
{
    ShortcutRegistry registry;
    registry.Register(7, kShortcutMenuItem, "Ctrl+A");
    registry.Register(7, kShortcutControl, "Ctrl+A");
    registry.Unregister(7, kShortcutMenuItem);
    registry.Unregister(9, kShortcutMenuItem);  // never registered
    EXPECT_EQ(walk_all(registry, "Ctrl+A"), (std::vector<Visit>{{7, 1}}));
}

TEST(ShortcutRegistry, WalkStopsAtTheFirstActionThatTakesPlace)
{
    ShortcutRegistry registry;
    registry.Register(1, kShortcutMenuItem, "Ctrl+S");
    registry.Register(2, kShortcutMenuItem, "Ctrl+S");  // say, grayed
    registry.Register(3, kShortcutMenuItem, "Ctrl+S");
    std::vector<u32> offered;
    EXPECT_TRUE(registry.Walk("Ctrl+S", [&](const ShortcutEntry& e) {
        offered.push_back(e.target);
        return e.target != 3 && e.target != 2;
    }));
    EXPECT_EQ(offered, (std::vector<u32>{3, 2, 1}));
}

// An action runs image code (the menu-enabling cycle), which may change command keys.
TEST(ShortcutRegistry, WalkSurvivesActionsThatChangeTheRegistry)
{
    ShortcutRegistry registry;
    registry.Register(1, kShortcutMenuItem, "Ctrl+S");
    registry.Register(2, kShortcutMenuItem, "Ctrl+S");
    registry.Register(3, kShortcutMenuItem, "Ctrl+S");
    for (u32 i = 10; i < 40; ++i)
        registry.Register(i, kShortcutMenuItem, "Ctrl+X");
    std::vector<u32> offered;
    registry.Walk("ctrl+s", [&](const ShortcutEntry& e) {
        offered.push_back(e.target);
        if (e.target == 3) {
            registry.Unregister(2, kShortcutMenuItem);          // gone before its turn
            registry.Register(1, kShortcutMenuItem, "Ctrl+T");  // no longer this shortcut
            registry.Register(4, kShortcutMenuItem, "Ctrl+S");  // came after the walk began
        }
        return false;
    });
    EXPECT_EQ(offered, (std::vector<u32>{3}));
}

// A menu item's command key and a key press meet in the registry: Q chooses the item with
// Ctrl held only; F10 pressed produces "F:", so only a command key written "F:" matches it.
TEST(ShortcutRegistry, CommandKeysMatchTheKeyPressesThatChooseThem)
{
    ShortcutRegistry registry;
    registry.Register(100, kShortcutMenuItem, command_key_shortcut_text("Q"));
    registry.Register(101, kShortcutMenuItem, command_key_shortcut_text("Shift-S"));
    registry.Register(102, kShortcutMenuItem, command_key_shortcut_text("F:"));
    registry.Register(103, kShortcutMenuItem, command_key_shortcut_text("F10"));
    const std::string q = key_name('Q', 'q'), s = key_name('S', 's'), f10 = key_name(121, 0);
    const auto chosen = [&](u32 modifiers, const std::string& name) {
        return walk_all(registry, key_press_shortcut_text(modifiers, name));
    };
    EXPECT_EQ(chosen(kModifierCtrl, q), (std::vector<Visit>{{100, 0}}));
    EXPECT_TRUE(chosen(0, q).empty());
    EXPECT_TRUE(chosen(kModifierCtrl | kModifierShift, q).empty());
    EXPECT_EQ(chosen(kModifierCtrl | kModifierShift, s), (std::vector<Visit>{{101, 0}}));
    EXPECT_TRUE(chosen(kModifierCtrl, s).empty());
    EXPECT_EQ(chosen(kModifierCtrl, f10), (std::vector<Visit>{{102, 0}}));
}

}  // namespace
