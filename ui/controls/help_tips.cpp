#include "ui/controls/help_tips.h"
#include "platform/win32/failed_call.h"

#include <commctrl.h>

#include <string>

namespace qv::ui {
namespace {

constexpr wchar_t kTipProperty[] = L"QVHelpTips";

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
    if (tips)
        SetPropW(top, kTipProperty, tips);
    else
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

}  // namespace qv::ui
