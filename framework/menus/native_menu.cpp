#include "framework/menus/native_menu.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace qv {
namespace {

HMENU handle(NativeMenu menu) { return static_cast<HMENU>(menu); }

std::wstring wide(std::string_view text) { return platform::win32::widen(std::string(text).c_str()); }

UINT_PTR entry_identifier(const NativeEntry& entry)
{
    return entry.submenu ? reinterpret_cast<UINT_PTR>(entry.submenu) : static_cast<UINT_PTR>(entry.command_id);
}

void set_type(NativeMenu menu, UINT item, BOOL by_position, bool separator, std::string_view text)
{
    std::wstring chars = wide(text);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    info.fType = separator ? MFT_SEPARATOR : MFT_STRING;
    if (!separator) {
        info.dwTypeData = chars.data();
        info.cch = static_cast<UINT>(chars.size());
    }
    SetMenuItemInfoW(handle(menu), item, by_position, &info);
}

}  // namespace

NativeMenu create_native_menu() { return CreateMenu(); }
NativeMenu create_native_popup_menu() { return CreatePopupMenu(); }

void destroy_native_menu(NativeMenu menu)
{
    if (menu)
        DestroyMenu(handle(menu));
}

void insert_native_entry(NativeMenu menu, i32 position, const NativeEntry& entry)
{
    UINT flags = MF_BYPOSITION;
    if (entry.separator)
        flags |= MF_SEPARATOR;
    if (entry.submenu)
        flags |= MF_POPUP;
    const std::wstring text = wide(entry.text);
    InsertMenuW(handle(menu), static_cast<UINT>(position), flags, entry_identifier(entry), text.c_str());
}

i32 native_entry_count(NativeMenu menu) { return GetMenuItemCount(handle(menu)); }

i32 native_position_of_command(NativeMenu menu, u32 command_id)
{
    const i32 count = native_entry_count(menu);
    for (i32 i = 0; i < count; ++i)
        if (GetMenuItemID(handle(menu), i) == command_id)
            return i;
    return -1;
}

std::string native_entry_text(NativeMenu menu, i32 position)
{
    const int length = GetMenuStringW(handle(menu), static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
    if (length <= 0)
        return {};
    std::vector<wchar_t> chars(static_cast<size_t>(length) + 1);
    GetMenuStringW(handle(menu), static_cast<UINT>(position), chars.data(), length + 1, MF_BYPOSITION);
    return platform::win32::narrow(std::wstring_view(chars.data(), static_cast<size_t>(length)));
}

void delete_native_entry_at(NativeMenu menu, i32 position)
{
    DeleteMenu(handle(menu), static_cast<UINT>(position), MF_BYPOSITION);
}

void remove_native_entry(NativeMenu menu, NativeEntryId id) { RemoveMenu(handle(menu), id, MF_BYCOMMAND); }

void remove_all_native_entries(NativeMenu menu)
{
    while (GetMenuItemCount(handle(menu)) > 0)
        if (!RemoveMenu(handle(menu), 0, MF_BYPOSITION))
            break;
}

void set_native_entry_text(NativeMenu menu, NativeEntryId id, bool separator, std::string_view text)
{
    set_type(menu, static_cast<UINT>(id), FALSE, separator, text);
}

void set_native_entry_text_at(NativeMenu menu, i32 position, bool separator, std::string_view text)
{
    set_type(menu, static_cast<UINT>(position), TRUE, separator, text);
}

void enable_native_entry(NativeMenu menu, NativeEntryId id, bool enable)
{
    EnableMenuItem(handle(menu), static_cast<UINT>(id), MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void check_native_entry(NativeMenu menu, NativeEntryId id, bool check)
{
    CheckMenuItem(handle(menu), static_cast<UINT>(id), MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED));
}

bool native_entry_grayed(NativeMenu menu, NativeEntryId id, bool& grayed)
{
    const UINT state = GetMenuState(handle(menu), static_cast<UINT>(id), MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1))
        return false;
    grayed = (state & MF_GRAYED) != 0;
    return true;
}

void redraw_foreground_menu_bar()
{
    if (HWND window = GetForegroundWindow())
        DrawMenuBar(window);
}

}  // namespace qv
