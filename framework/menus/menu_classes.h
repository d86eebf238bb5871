// The built-in menu classes: MenuItem, MenuBar, the special items (QuitMenuItem,
// PrefsMenuItem, AppleMenuItem) and the _MenuHandler interface, with their event indices.
#pragma once

#include "core/types.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/object_definition.h"
#include "sdk/quaver.h"

namespace qv {

// Event indices of MenuItem, in declaration order.
enum MenuItemEvent : i32 {
    kMenuItemAction = 0,
    kMenuItemEnableMenu = 1,
};
// QuitMenuItem and PrefsMenuItem each declare their own Action after MenuItem's events.
inline constexpr i32 kSpecialItemAction = 2;

enum class MenuClass : i32 { MenuItem, MenuBar, QuitMenuItem, PrefsMenuItem, AppleMenuItem, MenuHandler };

// The definitions, built on first use.
ObjectDefinition* menu_definition(MenuClass which);
// The classes' tables, which name their exported routines.
ClassTableList menu_class_tables();
ClassRecord* menu_class(MenuClass which);

}  // namespace qv
