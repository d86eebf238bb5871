#include "framework/menus/menu_item_imp.h"

#include <algorithm>
#include <utility>

#include "framework/command_id_table.h"
#include "framework/command_key_text.h"
#include "framework/shortcut_registry.h"

namespace qv {
namespace {

// One table for the process: an identifier must name one item whichever bar it is in.
CommandIdTable& command_ids()
{
    static CommandIdTable s_table;
    return s_table;
}

std::string utf8_text(const StringRef& text)
{
    if (text.is_nil())
        return {};
    const StringRef utf8 = text.ToUTF8();
    if (utf8.is_nil())
        return {};
    return std::string(reinterpret_cast<const char*>(utf8.bytes()), static_cast<size_t>(utf8.length()));
}

bool is_separator_text(const StringRef& text) { return text.length() == 1 && text.bytes()[0] == '-'; }

bool is_top_level_title(const MenuItemImp& imp) { return imp.parent && imp.parent->is_menu_bar; }

void register_shortcut(const MenuItemImp& imp)
{
    const std::string shortcut = menu_item_shortcut_text(imp);
    if (shortcut.empty())
        shortcut_registry().Unregister(menu_shortcut_target(imp), kShortcutMenuItem);
    else
        shortcut_registry().Register(menu_shortcut_target(imp), kShortcutMenuItem, shortcut);
}

// A menu that receives its first child while it sits in its parent as a plain entry becomes a
// popup in the same place.
void convert_to_popup(MenuItemImp* imp)
{
    NativeMenu parent_menu = imp->parent->menu;
    const i32 position = native_position_of_command(parent_menu, imp->command_id);
    if (position >= 0)
        delete_native_entry_at(parent_menu, position);
    destroy_native_menu(imp->menu);
    imp->menu = create_native_popup_menu();
    const std::string text = menu_item_displayed_text(*imp);
    insert_native_entry(parent_menu, position >= 0 ? position : native_entry_count(parent_menu),
                        {is_separator_text(imp->text), imp->menu, 0, text});
}

// Takes the child out of the parent's native menu and the shortcut registry; the count on it
// is the caller's to give back.
void detach_child(MenuItemImp* parent, MenuItemImp* child)
{
    if (!child || child->parent != parent)
        return;
    shortcut_registry().Unregister(menu_shortcut_target(*child), kShortcutMenuItem);
    remove_native_entry(parent->menu, menu_native_entry_id(*child));
    if (parent->inserted > 0)
        --parent->inserted;
    child->parent = nullptr;
}

}  // namespace

MenuItemImp* create_menu_imp(RuntimeObject* owner)
{
    auto* imp = new MenuItemImp;
    imp->owner = owner;
    imp->command_id = command_ids().Acquire();
    imp->menu = create_native_menu();
    return imp;
}

void destroy_menu_imp(MenuItemImp* imp)
{
    if (!imp)
        return;
    // Submenus belong to their own items: take the entries out before anything is destroyed,
    // so that DestroyMenu below does not destroy a child's menu as well.
    std::vector<RuntimeObject*> children = std::move(imp->children);
    remove_all_native_entries(imp->menu);
    for (RuntimeObject* child : children) {
        if (MenuItemImp* c = menu_imp(child); c && c->parent == imp) {
            shortcut_registry().Unregister(menu_shortcut_target(*c), kShortcutMenuItem);
            c->parent = nullptr;
        }
    }
    for (RuntimeObject* child : children)
        RuntimeUnlockObject(child);
    command_ids().Release(imp->command_id);
    destroy_native_menu(imp->menu);
    delete imp;
}

void insert_menu_child(MenuItemImp* parent, i32 position, RuntimeObject* child)
{
    MenuItemImp* c = menu_imp(child);
    if (!c)
        return;
    RuntimeLockObject(child);
    const auto at = std::min(static_cast<size_t>(position), parent->children.size());
    parent->children.insert(parent->children.begin() + static_cast<std::ptrdiff_t>(at), child);
    if (!parent->is_submenu && parent->parent && !parent->is_menu_bar)
        convert_to_popup(parent);
    parent->is_submenu = true;
    c->parent = parent;

    const std::string text = menu_item_displayed_text(*c);
    if (!menu_item_shortcut_text(*c).empty())
        register_shortcut(*c);
    insert_native_entry(parent->menu, position,
                        {is_separator_text(c->text), c->is_submenu ? c->menu : nullptr, c->command_id, text});
    ++parent->inserted;

    if (!c->enabled && !is_top_level_title(*c))
        enable_native_entry(parent->menu, menu_native_entry_id(*c), false);
    if (c->checked)
        check_native_entry(parent->menu, menu_native_entry_id(*c), true);
}

void remove_menu_child(MenuItemImp* parent, i32 position)
{
    RuntimeObject* child = parent->children[static_cast<size_t>(position)];
    parent->children.erase(parent->children.begin() + position);
    detach_child(parent, menu_imp(child));
    RuntimeUnlockObject(child);
}

void set_menu_text(MenuItemImp* imp, StringRef text)
{
    if (!imp->parent) {
        imp->text = std::move(text);
        return;
    }
    const std::string old_text = menu_item_displayed_text(*imp);
    imp->text = std::move(text);
    const bool separator = is_separator_text(imp->text);
    const std::string new_text = menu_item_displayed_text(*imp);
    NativeMenu parent_menu = imp->parent->menu;
    if (is_top_level_title(*imp)) {
        // A title's entry opens its popup and has no command identifier: find it by its text.
        const i32 count = native_entry_count(parent_menu);
        for (i32 i = 0; i < count; ++i) {
            if (native_entry_text(parent_menu, i) == old_text) {
                set_native_entry_text_at(parent_menu, i, separator, new_text);
                break;
            }
        }
    } else {
        set_native_entry_text(parent_menu, menu_native_entry_id(*imp), separator, new_text);
    }
    redraw_foreground_menu_bar();
}

void set_menu_command_key(MenuItemImp* imp, StringRef key)
{
    imp->command_key = std::move(key);
    if (!imp->parent)
        return;
    register_shortcut(*imp);
    // A separator stays a separator: its shortcut text is never shown.
    if (!is_separator_text(imp->text))
        set_native_entry_text(imp->parent->menu, menu_native_entry_id(*imp), false, menu_item_displayed_text(*imp));
    redraw_foreground_menu_bar();
}

void set_menu_enabled(MenuItemImp* imp, bool enabled)
{
    imp->enabled = enabled;
    for (RuntimeObject* child : imp->children)
        if (MenuItemImp* c = menu_imp(child))
            set_menu_enabled(c, enabled);
    if (!imp->parent)
        return;
    // A grayed title could not even be opened to show which items are available.
    if (enabled || (!imp->is_menu_bar && !is_top_level_title(*imp)))
        enable_native_entry(imp->parent->menu, menu_native_entry_id(*imp), enabled);
}

void set_menu_checked(MenuItemImp* imp, bool checked)
{
    imp->checked = checked;
    if (imp->parent)
        check_native_entry(imp->parent->menu, menu_native_entry_id(*imp), checked);
}

std::string menu_item_shortcut_text(const MenuItemImp& imp)
{
    return command_key_shortcut_text(utf8_text(imp.command_key));
}

std::string menu_item_displayed_text(const MenuItemImp& imp)
{
    return menu_displayed_text(utf8_text(imp.text), menu_item_shortcut_text(imp));
}

u32 menu_shortcut_target(const MenuItemImp& imp)
{
    const auto handle = static_cast<u32>(reinterpret_cast<std::uintptr_t>(imp.parent ? imp.parent->menu : nullptr));
    return (handle << 16) | (imp.command_id & 0xFFFF);
}

NativeEntryId menu_native_entry_id(const MenuItemImp& imp)
{
    // An entry that opens a submenu carries the submenu's handle as its identifier.
    if (imp.is_submenu && imp.parent)
        return reinterpret_cast<NativeEntryId>(imp.menu);
    return imp.command_id;
}

RuntimeObject* find_menu_item_by_command(RuntimeObject* root, u32 id)
{
    MenuItemImp* imp = menu_imp(root);
    if (!imp)
        return nullptr;
    if (imp->command_id == id)
        return root;
    for (RuntimeObject* child : imp->children)
        if (RuntimeObject* found = find_menu_item_by_command(child, id))
            return found;
    return nullptr;
}

}  // namespace qv
