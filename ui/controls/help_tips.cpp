#include "ui/controls/help_tips.h"
#include "platform/win32/failed_call.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace qv::ui {
namespace {

constexpr wchar_t kTipProperty[] = L"QVHelpTips";

bool s_active = true;
std::vector<HWND> s_tip_windows;  // every tip window made, for switching them all

TTTOOLINFOW tool_for(HWND control_window)
{
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetAncestor(control_window, GA_ROOT);
    tool.uId = reinterpret_cast<UINT_PTR>(control_window);
    return tool;
}

// The tip window of the top-level window, made on first use; it goes with its owner.
HWND tips_of(HWND top, bool create)
{
    auto tips = static_cast<HWND>(GetPropW(top, kTipProperty));
    if (tips || !create)
        return tips;
    tips =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, top, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tips) {
        SetPropW(top, kTipProperty, tips);
        std::erase_if(s_tip_windows, [](HWND w) { return !IsWindow(w); });
        s_tip_windows.push_back(tips);
        SendMessageW(tips, TTM_ACTIVATE, s_active ? TRUE : FALSE, 0);
    } else
        platform::win32::note_failed_call("CreateWindowExW", "tool tips");
    return tips;
}

}  // namespace

void set_help_tip(HWND control_window, const char* utf8)
{
    remove_help_tip(control_window);
    if (!control_window || !utf8 || !*utf8)
        return;
    TTTOOLINFOW tool = tool_for(control_window);
    HWND tips = tips_of(tool.hwnd, true);
    if (!tips)
        return;
    std::wstring text = platform::win32::widen(utf8);
    tool.lpszText = text.data();
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void remove_help_tip(HWND control_window)
{
    if (!control_window)
        return;
    TTTOOLINFOW tool = tool_for(control_window);
    if (HWND tips = tips_of(tool.hwnd, false))
        SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void set_disabled_help_tip(HWND control_window, const char* utf8)
{
    HWND parent = control_window ? GetParent(control_window) : nullptr;
    if (!parent)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(control_window);
    HWND tips = tips_of(GetAncestor(control_window, GA_ROOT), utf8 && *utf8);
    if (!tips)
        return;
    SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!utf8 || !*utf8)
        return;
    GetWindowRect(control_window, &tool.rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&tool.rect), 2);
    std::wstring text = platform::win32::widen(utf8);
    tool.lpszText = text.data();
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void set_help_tips_active(bool on)
{
    s_active = on;
    std::erase_if(s_tip_windows, [](HWND w) { return !IsWindow(w); });
    for (HWND tips : s_tip_windows)
        SendMessageW(tips, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

void follow_window_help_tips(HWND window)
{
    if (HWND tips = window ? tips_of(GetAncestor(window, GA_ROOT), false) : nullptr)
        SendMessageW(tips, TTM_POP, 0, 0);
}

}  // namespace qv::ui
