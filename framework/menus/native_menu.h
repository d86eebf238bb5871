// The Win32 menu calls behind menu items: creating and destroying native menus, and the
// entries of one native menu, found by position, by identifier or by their text. Texts are
// UTF-8 and cross into the wide calls as UTF-16.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/types.h"

namespace qv {

// An HMENU.
using NativeMenu = void*;

// What an entry answers to when found by command: its command identifier, or, for an entry
// that opens a submenu, the submenu's handle.
using NativeEntryId = std::uintptr_t;

NativeMenu create_native_menu();
NativeMenu create_native_popup_menu();
void destroy_native_menu(NativeMenu menu);

struct NativeEntry {
    bool separator = false;
    NativeMenu submenu = nullptr;  // non-null: the entry opens this menu
    u32 command_id = 0;            // used when there is no submenu
    std::string_view text;
};

void insert_native_entry(NativeMenu menu, i32 position, const NativeEntry& entry);
i32 native_entry_count(NativeMenu menu);
// The position of the entry whose identifier is `command_id`, or -1.
i32 native_position_of_command(NativeMenu menu, u32 command_id);
// The text of the entry at `position`, empty for none.
std::string native_entry_text(NativeMenu menu, i32 position);
void delete_native_entry_at(NativeMenu menu, i32 position);
// Takes the entry out of the menu without destroying the submenu it may open.
void remove_native_entry(NativeMenu menu, NativeEntryId id);
// Takes every entry out, submenus left alive (their items own them).
void remove_all_native_entries(NativeMenu menu);

// Changes an entry's type and text: a separator, or a string entry with `text`.
void set_native_entry_text(NativeMenu menu, NativeEntryId id, bool separator, std::string_view text);
void set_native_entry_text_at(NativeMenu menu, i32 position, bool separator, std::string_view text);
void enable_native_entry(NativeMenu menu, NativeEntryId id, bool enable);
void check_native_entry(NativeMenu menu, NativeEntryId id, bool check);
// Whether the entry is grayed; false when the menu has no such entry.
bool native_entry_grayed(NativeMenu menu, NativeEntryId id, bool& grayed);

// Redraws the menu bar of the foreground window after an entry of it changed.
void redraw_foreground_menu_bar();

}  // namespace qv
