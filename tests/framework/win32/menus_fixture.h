// Shared by the menu tests: the menu classes made before any test measures the allocator,
// items built through the exported routines, and reading the real native menus back.
#pragma once

#include <string>

#include "framework/menus/menu_classes.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/shortcut_registry.h"
#include "framework/startup/windows_startup.h"
#include "platform/win32/windows_api.h"
#include "tests/support/class_holder.h"
#include "tests/support/string_helpers.h"
#include "tests/support/value_fixture.h"

namespace qv::test {

class MenuTest : public ValueTest {
protected:
    static void SetUpTestSuite()
    {
        start_framework_runtime();  // the menus' routines and classes as start-up registers them
        ValueTest::SetUpTestSuite();
        for (MenuClass which : {MenuClass::MenuItem, MenuClass::MenuBar, MenuClass::QuitMenuItem,
                                MenuClass::PrefsMenuItem, MenuClass::AppleMenuItem, MenuClass::MenuHandler})
            menu_class(which);
    }
    // The fixtures keep their trees in members, which outlive TearDown: live objects are
    // counted from construction to destruction instead, after the derived members have gone.
    MenuTest() : m_live_at_start(live_object_count()) { }
    ~MenuTest() override
    {
        EXPECT_EQ(live_object_count(), m_live_at_start) << "live objects do not balance";
        EXPECT_TRUE(shortcut_registry().entries().empty()) << "shortcuts outlived their items";
    }
    void SetUp() override { }
    void TearDown() override { }

    // A class an image would derive from a built-in one, with `events` event slots in all.
    static ClassRecord* subclass_of(ClassHolder& holder, ClassRecord* base, const char* name, i32 events)
    {
        return holder.make(base, name, base->methodCount, base->interfaceCount, events, base->staticMethodCount,
                           base->propertyCount, base->instanceSize);
    }

    static Held new_item(const char* text, const char* name = nullptr, MenuClass which = MenuClass::MenuItem)
    {
        return new_item_of(menu_class(which), text, name);
    }
    static Held new_item_of(ClassRecord* c, const char* text, const char* name = nullptr)
    {
        Held item(RuntimeNewObject(c));
        RuntimeMenuItemTextSetter(item.get(), ascii(text).get());
        if (name)
            RuntimeMenuItemNameSetter(item.get(), ascii(name).get());
        return item;
    }
    static Held new_bar() { return Held(RuntimeNewObject(menu_class(MenuClass::MenuBar))); }

    static HMENU hmenu(const Held& item) { return static_cast<HMENU>(menu_native_handle(item.get())); }

    static std::wstring entry_text(HMENU menu, int position)
    {
        wchar_t chars[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), chars, 256, MF_BYPOSITION);
        return chars;
    }
    static UINT entry_state(HMENU menu, int position)
    {
        return GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    }
    static bool grayed(HMENU menu, int position) { return (entry_state(menu, position) & MF_GRAYED) != 0; }

private:
    i32 m_live_at_start;
};

}  // namespace qv::test
