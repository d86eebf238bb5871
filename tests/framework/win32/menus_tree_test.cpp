// Menu item trees built through the exported routines and the real Win32 menus they make:
// popups on the first child, separators, shortcut text and its registration, native Text,
// Enabled and Checked, removal, _Lookup over item arrays, and the errors of nil and bad
// indexes.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/framework/win32/menus_fixture.h"

namespace qv::test {
namespace {

class MenuTree : public MenuTest {
protected:
    // Bar > File > {Save, -}; the File menu appended to the bar before its children.
    void SetUp() override
    {
        MenuTest::SetUp();
        RuntimeMenuItemAppend(bar.get(), file.get());
        RuntimeMenuItemAppend(file.get(), save.get());
        RuntimeMenuItemAppend(file.get(), separator.get());
    }

    Held bar = new_bar();
    Held file = new_item("&File", "FileMenu");
    Held save = new_item("Save", "FileSave");
    Held separator = new_item("-");
};

TEST_F(MenuTree, AttachedMenuBecomesPopupOnItsFirstChild)
{
    HMENU native_bar = hmenu(bar);
    ASSERT_EQ(GetMenuItemCount(native_bar), 1);
    EXPECT_EQ(entry_text(native_bar, 0), L"&File");
    EXPECT_EQ(GetSubMenu(native_bar, 0), hmenu(file));
    EXPECT_EQ(GetMenuItemCount(hmenu(file)), 2);
    EXPECT_EQ(entry_text(hmenu(file), 0), L"Save");
    EXPECT_TRUE(entry_state(hmenu(file), 1) & MF_SEPARATOR);
    EXPECT_FALSE(entry_state(hmenu(file), 0) & MF_SEPARATOR);

    // A menu filled before it is attached goes in as a popup with the handle it already has.
    Held edit = new_item("Edit");
    Held copy = new_item("Copy");
    RuntimeMenuItemAppend(edit.get(), copy.get());
    HMENU before = hmenu(edit);
    RuntimeMenuItemInsert(bar.get(), 0, edit.get());
    EXPECT_EQ(hmenu(edit), before);
    EXPECT_EQ(GetSubMenu(hmenu(bar), 0), before);
    EXPECT_EQ(GetSubMenu(hmenu(bar), 1), hmenu(file));
    EXPECT_EQ(entry_text(before, 0), L"Copy");

    // A nested submenu converted after it was attached keeps its place among its siblings.
    Held recent = new_item("Open Recent");
    RuntimeMenuItemInsert(file.get(), 1, recent.get());
    RuntimeMenuItemAppend(recent.get(), new_item("a.txt").get());
    ASSERT_EQ(GetMenuItemCount(hmenu(file)), 3);
    EXPECT_EQ(GetSubMenu(hmenu(file), 1), hmenu(recent));
    EXPECT_EQ(entry_text(hmenu(file), 1), L"Open Recent");
    EXPECT_TRUE(entry_state(hmenu(file), 2) & MF_SEPARATOR);
}

TEST_F(MenuTree, CommandKeyShowsShortcutTextAndRegistersTheShortcut)
{
    RuntimeMenuItemCommandKeySetter(save.get(), ascii("Shift-S").get());
    EXPECT_EQ(entry_text(hmenu(file), 0), L"Save\tCtrl+Shift+S");
    ASSERT_EQ(shortcut_registry().entries().size(), 1u);
    const ShortcutEntry entry = shortcut_registry().entries()[0];
    EXPECT_EQ(entry.kind, kShortcutMenuItem);
    EXPECT_EQ(entry.text, "Ctrl+Shift+S");
    EXPECT_EQ(entry.target & 0xFFFF, GetMenuItemID(hmenu(file), 0));
    EXPECT_EQ(entry.target >> 16, reinterpret_cast<std::uintptr_t>(hmenu(file)) & 0xFFFF);

    // Changing the Text keeps the shortcut; a new key replaces the registration.
    RuntimeMenuItemTextSetter(save.get(), utf8("Save \xC3\xA9").get());
    EXPECT_EQ(entry_text(hmenu(file), 0), L"Save \u00E9\tCtrl+Shift+S");
    RuntimeMenuItemCommandKeySetter(save.get(), ascii("Option-Z").get());
    ASSERT_EQ(shortcut_registry().entries().size(), 1u);
    EXPECT_EQ(shortcut_registry().entries()[0].text, "Ctrl+Alt+Z");

    RuntimeMenuItemCommandKeySetter(save.get(), nullptr);
    EXPECT_TRUE(shortcut_registry().entries().empty());
    EXPECT_EQ(entry_text(hmenu(file), 0), L"Save \u00E9");
    EXPECT_EQ(test::text_of(StringRef::adopt(RuntimeMenuItemCommandKeyGetter(save.get()))), "");

    // A separator stays a separator, whatever its key.
    RuntimeMenuItemCommandKeySetter(separator.get(), ascii("K").get());
    EXPECT_TRUE(entry_state(hmenu(file), 1) & MF_SEPARATOR);
    RuntimeMenuItemCommandKeySetter(separator.get(), nullptr);
}

TEST_F(MenuTree, DetachedItemsStoreTheirStateAndShowItWhenInserted)
{
    Held print = new_item("Print");
    RuntimeMenuItemCommandKeySetter(print.get(), ascii("P").get());
    RuntimeMenuItemEnabledSetter(print.get(), 0);
    RuntimeMenuItemCheckedSetter(print.get(), 1);
    EXPECT_TRUE(shortcut_registry().entries().empty()) << "registered only once attached";

    RuntimeMenuItemInsert(file.get(), 0, print.get());
    EXPECT_EQ(entry_text(hmenu(file), 0), L"Print\tCtrl+P");
    EXPECT_TRUE(grayed(hmenu(file), 0));
    EXPECT_TRUE(entry_state(hmenu(file), 0) & MF_CHECKED);
    ASSERT_EQ(shortcut_registry().entries().size(), 1u);
    EXPECT_EQ(shortcut_registry().entries()[0].text, "Ctrl+P");

    RuntimeMenuItemCheckedSetter(print.get(), 0);
    EXPECT_FALSE(entry_state(hmenu(file), 0) & MF_CHECKED);
    RuntimeMenuItemRemoveIndex(file.get(), 0);
}

TEST_F(MenuTree, DisablingGraysItemsButNeverTheBarOrATitle)
{
    RuntimeMenuItemEnabledSetter(bar.get(), 0);
    EXPECT_FALSE(grayed(hmenu(bar), 0)) << "the title stays openable";
    EXPECT_TRUE(grayed(hmenu(file), 0));
    EXPECT_EQ(RuntimeMenuItemEnabledGetter(file.get()), 0);
    EXPECT_EQ(RuntimeMenuItemEnabledGetter(save.get()), 0);

    RuntimeEnableMenu(file.get());
    EXPECT_FALSE(grayed(hmenu(file), 0));
    EXPECT_EQ(RuntimeMenuItemEnabledGetter(save.get()), 1);
    EXPECT_EQ(RuntimeMenuItemEnabledGetter(bar.get()), 0) << "enabling goes down, not up";

    // A nested submenu's own entry is grayed through its handle.
    Held recent = new_item("Open Recent");
    RuntimeMenuItemAppend(file.get(), recent.get());
    RuntimeMenuItemAppend(recent.get(), new_item("a.txt").get());
    RuntimeMenuItemEnabledSetter(recent.get(), 0);
    EXPECT_TRUE(grayed(hmenu(file), 2));
    EXPECT_TRUE(grayed(hmenu(recent), 0));
}

TEST_F(MenuTree, SettingATitlesTextFindsItsEntryByTheOldText)
{
    RuntimeMenuItemAppend(bar.get(), new_item("Edit").get());
    RuntimeMenuItemTextSetter(file.get(), ascii("Fi&le").get());
    EXPECT_EQ(entry_text(hmenu(bar), 0), L"Fi&le");
    EXPECT_EQ(entry_text(hmenu(bar), 1), L"Edit");
    EXPECT_EQ(GetSubMenu(hmenu(bar), 0), hmenu(file)) << "still opens its menu";
    EXPECT_EQ(test::text_of(StringRef::adopt(RuntimeMenuItemTextGetter(file.get()))), "Fi&le");
}

TEST_F(MenuTree, RemovingTakesOutTheEntryAndTheShortcut)
{
    RuntimeMenuItemCommandKeySetter(save.get(), ascii("S").get());
    Held close = new_item("Close", "FileClose");
    RuntimeMenuItemInsert(file.get(), 1, close.get());
    ASSERT_EQ(RuntimeMenuItemCount(file.get()), 3);
    EXPECT_EQ(Held(RuntimeMenuItemItem(file.get(), 1)).get(), close.get());
    EXPECT_EQ(Held(RuntimeMenuItemChild(file.get(), ascii("fileclose").get())).get(), close.get());
    EXPECT_EQ(Held(RuntimeMenuItemChild(bar.get(), ascii("FileClose").get())).get(), nullptr) << "direct children only";

    RuntimeMenuItemRemoveIndex(file.get(), 0);
    EXPECT_TRUE(shortcut_registry().entries().empty());
    EXPECT_EQ(RuntimeMenuItemCount(file.get()), 2);
    ASSERT_EQ(GetMenuItemCount(hmenu(file)), 2);
    EXPECT_EQ(entry_text(hmenu(file), 0), L"Close");

    RuntimeMenuItemRemoveItem(file.get(), close.get());
    EXPECT_EQ(RuntimeMenuItemCount(file.get()), 1);
    ASSERT_EQ(GetMenuItemCount(hmenu(file)), 1);
    EXPECT_TRUE(entry_state(hmenu(file), 0) & MF_SEPARATOR);

    // A removed item is a detached one again: it can go elsewhere.
    RuntimeMenuItemAppend(bar.get(), save.get());
    EXPECT_EQ(entry_text(hmenu(bar), 1), L"Save\tCtrl+S");
    EXPECT_EQ(shortcut_registry().entries().size(), 1u);
    RuntimeMenuItemRemoveItem(bar.get(), save.get());
}

TEST_F(MenuTree, DestroyingATreeFreesItsMenusAndShortcuts)
{
    RuntimeMenuItemCommandKeySetter(save.get(), ascii("S").get());
    HMENU file_menu = hmenu(file);
    HMENU bar_menu = hmenu(bar);
    file = Held();
    save = Held();
    separator = Held();
    EXPECT_TRUE(IsMenu(file_menu)) << "the bar still holds its File menu";
    bar = Held();
    EXPECT_FALSE(IsMenu(file_menu));
    EXPECT_FALSE(IsMenu(bar_menu));
    EXPECT_TRUE(shortcut_registry().entries().empty());
}

TEST_F(MenuTree, LookupArrayFindsAnItemArrayMemberAnywhereAndLookupDoesNot)
{
    Held recent = new_item("Open Recent", "RecentMenu");
    RuntimeMenuItemAppend(file.get(), recent.get());
    std::vector<Held> docs;
    for (i32 i = 0; i < 3; ++i) {
        docs.push_back(new_item("doc", "RecentDoc"));
        RuntimeMenuItemIndexSetter(docs.back().get(), i);
        RuntimeMenuItemAppend(recent.get(), docs.back().get());
    }
    EXPECT_EQ(Held(RuntimeMenuItemLookupArray(bar.get(), ascii("recentdoc").get(), 2)).get(), docs[2].get());
    EXPECT_EQ(Held(RuntimeMenuItemLookupArray(bar.get(), ascii("RecentDoc").get(), 5)).get(), nullptr);
    EXPECT_EQ(Held(RuntimeMenuItemLookup(bar.get(), ascii("RecentDoc").get())).get(), nullptr);
    EXPECT_EQ(Held(RuntimeMenuItemLookup(bar.get(), ascii("FILESAVE").get())).get(), save.get());
    EXPECT_EQ(Held(RuntimeMenuItemLookup(bar.get(), nullptr)).get(), nullptr);
    EXPECT_EQ(Held(RuntimeMenuItemLookup(nullptr, ascii("FileSave").get())).get(), nullptr);
    EXPECT_TRUE(nothing_raised());

    Held found(RuntimeMenuItemLookupArray(bar.get(), ascii("RecentDoc").get(), 1));
    EXPECT_EQ(found.get()->refCount, 3) << "the caller's, the menu's and the test's counts";
}

TEST_F(MenuTree, StoredPropertiesReadBack)
{
    Held tag = plain_object();
    RuntimeMenuItemTagSetter(save.get(), tag.get());
    EXPECT_EQ(Held(RuntimeMenuItemTagGetter(save.get())).get(), tag.get());
    EXPECT_EQ(tag.get()->refCount, 2);
    RuntimeMenuItemTagSetter(save.get(), nullptr);
    EXPECT_EQ(tag.get()->refCount, 1);

    using Getter = int32_t (*)(RuntimeObject*);
    using Setter = void (*)(RuntimeObject*, int32_t);
    struct Flag {
        Getter get;
        Setter set;
        int32_t initial;
    };
    const Flag flags[] = {
        {&RuntimeMenuItemVisibleGetter, &RuntimeMenuItemVisibleSetter, 1},
        {&RuntimeMenuItemBoldGetter, &RuntimeMenuItemBoldSetter, 0},
        {&RuntimeMenuItemItalicsGetter, &RuntimeMenuItemItalicsSetter, 0},
        {&RuntimeMenuItemUnderlineGetter, &RuntimeMenuItemUnderlineSetter, 0},
        {&RuntimeMenuItemAutoEnableGetter, &RuntimeMenuItemAutoEnableSetter, 1},
        {&RuntimeMenuItemCheckedGetter, &RuntimeMenuItemCheckedSetter, 0},
    };
    for (const Flag& flag : flags) {
        EXPECT_EQ(flag.get(save.get()), flag.initial);
        flag.set(save.get(), !flag.initial);
        EXPECT_EQ(flag.get(save.get()), !flag.initial);
    }
    EXPECT_EQ(RuntimeMenuItemIndexGetter(save.get()), -1);
    RuntimeMenuItemBalloonHelpSetter(save.get(), ascii("Saves").get());
    RuntimeMenuItemDisabledHelpSetter(save.get(), ascii("Nothing to save").get());
    EXPECT_EQ(test::text_of(StringRef::adopt(RuntimeMenuItemBalloonHelpGetter(save.get()))), "Saves");
    EXPECT_EQ(test::text_of(StringRef::adopt(RuntimeMenuItemDisabledHelpGetter(save.get()))), "Nothing to save");
    EXPECT_EQ(test::text_of(StringRef::adopt(RuntimeMenuItemNameGetter(save.get()))), "FileSave");
    EXPECT_EQ(entry_text(hmenu(file), 0), L"Save") << "a Name is never shown";
}

TEST_F(MenuTree, NilSelfRaisesNilObjectAndGivesANeutralResult)
{
    const std::vector<std::function<int32_t()>> calls = {
        [] { return RuntimeMenuItemCount(nullptr); },
        [] { return static_cast<int32_t>(reinterpret_cast<std::uintptr_t>(RuntimeMenuItemItem(nullptr, 0))); },
        [] { return static_cast<int32_t>(reinterpret_cast<std::uintptr_t>(RuntimeMenuItemChild(nullptr, nullptr))); },
        [] { return static_cast<int32_t>(reinterpret_cast<std::uintptr_t>(RuntimeMenuItemTextGetter(nullptr))); },
        [] { return RuntimeMenuItemEnabledGetter(nullptr); },
        [] { return RuntimeMenuItemIndexGetter(nullptr); },
        [this] {
            RuntimeMenuItemAppend(nullptr, save.get());
            return 0;
        },
        [] {
            RuntimeMenuItemCommandKeySetter(nullptr, nullptr);
            return 0;
        },
        [] {
            RuntimeEnableMenu(nullptr);
            return 0;
        },
    };
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i](), 0) << "call " << i;
        EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException)) << "call " << i;
    }
}

TEST_F(MenuTree, IndexesOutsideTheChildrenRaiseOutOfBounds)
{
    EXPECT_EQ(RuntimeMenuItemItem(file.get(), 2), nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
    EXPECT_EQ(RuntimeMenuItemItem(file.get(), -1), nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
    RuntimeMenuItemRemoveIndex(file.get(), 2);
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
    Held extra = new_item("Extra");
    RuntimeMenuItemInsert(file.get(), 3, extra.get());
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
    EXPECT_EQ(RuntimeMenuItemCount(file.get()), 2);

    RuntimeMenuItemInsert(file.get(), 2, extra.get());  // at the end is in range
    EXPECT_TRUE(nothing_raised());
    EXPECT_EQ(entry_text(hmenu(file), 2), L"Extra");
    RuntimeMenuItemInsert(file.get(), 0, nullptr);
    RuntimeMenuItemAppend(file.get(), nullptr);
    EXPECT_TRUE(nothing_raised());
    EXPECT_EQ(RuntimeMenuItemCount(file.get()), 3);
}

}  // namespace
}  // namespace qv::test
