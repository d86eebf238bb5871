// A menu item's implementation object (the MenuItem's mImp) and the tree operations that keep
// the native menus in step with it: inserting and removing children, and the Text,
// CommandKey, Enabled and Checked changes that show natively once an item is attached.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/types.h"
#include "framework/menus/native_menu.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv {

struct MenuItemImp {
    RuntimeObject* owner = nullptr;        // the MenuItem this implements (no count: it owns us)
    std::vector<RuntimeObject*> children;  // one count each
    i32 index = -1;                        // -1 outside an item array
    StringRef text;
    StringRef name;
    StringRef command_key;
    u32 command_id = 0;
    ObjectRef tag;
    StringRef balloon_help;
    StringRef disabled_help;
    bool enabled = true;
    bool checked = false;
    bool visible = true;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool auto_enable = true;

    MenuItemImp* parent = nullptr;
    i32 inserted = 0;  // native entries inserted so far: where Append puts the next one
    bool is_submenu = false;
    bool is_menu_bar = false;
    NativeMenu menu = nullptr;  // CreateMenu at creation; a popup once attached and given children
};

// The MenuItem object as image code lays it out.
struct MenuItemObject {
    RuntimeObject header;
    MenuItemImp* mImp;
};
static_assert(offsetof(MenuItemObject, mImp) == 28);
static_assert(sizeof(MenuItemObject) == 32);

// The implementation of a MenuItem object; null for nil.
inline MenuItemImp* menu_imp(RuntimeObject* item)
{
    return item ? reinterpret_cast<MenuItemObject*>(item)->mImp : nullptr;
}

// A new implementation with a command identifier and a CreateMenu handle, not attached.
MenuItemImp* create_menu_imp(RuntimeObject* owner);
// Lets go of the children, the command identifier and the native menu.
void destroy_menu_imp(MenuItemImp* imp);

// Inserts `child` (which must not be nil) at `position` (0..count) and attaches it natively.
void insert_menu_child(MenuItemImp* parent, i32 position, RuntimeObject* child);
// Detaches and releases the child at `position` (0..count-1).
void remove_menu_child(MenuItemImp* parent, i32 position);

void set_menu_text(MenuItemImp* imp, StringRef text);
void set_menu_command_key(MenuItemImp* imp, StringRef key);
// Recursive over the children; menu bars and top-level titles are never grayed natively.
void set_menu_enabled(MenuItemImp* imp, bool enabled);
void set_menu_checked(MenuItemImp* imp, bool checked);

// Text, a tab and the command key's shortcut text (UTF-8).
std::string menu_item_displayed_text(const MenuItemImp& imp);
// The command key's shortcut text ("Ctrl+Shift+S"), empty for none.
std::string menu_item_shortcut_text(const MenuItemImp& imp);
// The kind-0 shortcut target of an attached item: its parent's menu handle in the high 16
// bits, its command identifier in the low 16.
u32 menu_shortcut_target(const MenuItemImp& imp);
// What the item's entry in its parent answers to when found by command.
NativeEntryId menu_native_entry_id(const MenuItemImp& imp);

// The item under `root` (root included) whose command identifier is `id`, depth-first;
// borrowed, or nil.
RuntimeObject* find_menu_item_by_command(RuntimeObject* root, u32 id);

}  // namespace qv
