#include "ui/controls/pane_windows.h"

#include "core/once.h"
#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/event_loop/key_pretranslation.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/window_services.h"
#include "platform/win32/failed_call.h"
#include "runtime/exceptions/callback_guard.h"
#include "ui/controls/sub_pane.h"

namespace qv::ui {
namespace {

using platform::win32::key_held_at_message;

// Mouse messages of a pane belong to its window: they go to the content window in its
// coordinates, where the window offers them to its controls first.
bool forward_mouse(HWND pane, UINT message, WPARAM wparam, LPARAM lparam)
{
    UINT as = message;
    switch (message) {
    case WM_MOUSEWHEEL: break;
    case WM_LBUTTONDBLCLK: as = WM_LBUTTONDOWN; break;
    case WM_RBUTTONDBLCLK: as = WM_RBUTTONDOWN; break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE: break;
    default: return false;
    }
    SubPane* peer = SubPane::FromHandle(pane);
    SubPane* top = peer ? peer->WindowPane() : nullptr;
    if (!top || !top->handle() || top == peer)
        return false;
    if (message == WM_MOUSEWHEEL) {
        // Its point is on the screen already.
        SendMessageW(top->handle(), message, wparam, lparam);
        return true;
    }
    POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    MapWindowPoints(pane, top->handle(), &at, 1);
    u32 keys = 0;
    if (key_held_at_message(VK_CONTROL))
        keys |= MK_CONTROL;
    if (key_held_at_message(VK_SHIFT))
        keys |= MK_SHIFT;
    SendMessageW(top->handle(), as, keys, MAKELPARAM(at.x, at.y));
    return true;
}

LRESULT pane_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    if (reflect_control_message(window, message, wparam, lparam, &result))
        return result;
    if (forward_mouse(window, message, wparam, lparam))
        return 0;
    if (message == WM_PAINT) {
        if (SubPane* peer = SubPane::FromHandle(window)) {
            run_guarded([peer] { peer->DoPaint(); });
            return 0;
        }
    }
    if (message == WM_PRINTCLIENT) {
        if (SubPane* peer = SubPane::FromHandle(window)) {
            HDC dc = reinterpret_cast<HDC>(wparam);
            run_guarded([peer, dc] { peer->PaintInto(dc); });
            return 0;
        }
    }
    if (message == WM_NCDESTROY) {
        if (SubPane* peer = SubPane::FromHandle(window))
            peer->ForgetWindow();
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK pane_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guard_callback("pane procedure", LRESULT{0}, [&] { return pane_message(window, message, wparam, lparam); });
}

LRESULT CALLBACK pane_procedure_ansi(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return pane_procedure(window, message, wparam, lparam);
}

void register_class(const wchar_t* name, const char* ansi_name)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wide{};
    wide.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wide.lpfnWndProc = &pane_procedure;
    wide.cbWndExtra = 4;
    wide.hInstance = instance;
    wide.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wide.lpszClassName = name;
    if (!RegisterClassW(&wide))
        platform::win32::note_failed_call("RegisterClassW", ansi_name);
    WNDCLASSA ansi{};
    ansi.style = wide.style;
    ansi.lpfnWndProc = &pane_procedure_ansi;
    ansi.cbWndExtra = 4;
    ansi.hInstance = instance;
    ansi.hCursor = wide.hCursor;
    ansi.lpszClassName = ansi_name;
    if (!RegisterClassA(&ansi))
        platform::win32::note_failed_call("RegisterClassA", ansi_name);
}

}  // namespace

void register_pane_classes()
{
    static Once s_once;
    s_once([&] {
        register_class(kPaneClass, "QV_PaneA");
        register_class(kCanvasPaneClass, "QV_CanvasPaneA");
    });
}

HWND create_pane_window(const wchar_t* class_name, HWND parent)
{
    register_pane_classes();
    HWND pane = CreateWindowExW(0, class_name, nullptr, WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!pane)
        platform::win32::note_failed_call("CreateWindowExW", "pane");
    return pane;
}

bool reflect_control_message(HWND /*window*/, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result)
{
    *result = 0;
    switch (message) {
    case WM_COMMAND:
        if (lparam) {
            SubPane* peer = SubPane::FromHandle(reinterpret_cast<HWND>(lparam));
            if (!peer)
                return false;
            gModifierState = held_modifiers(true);
            const u32 code = HIWORD(wparam);
            run_guarded([peer, code] { peer->DoCommand(code); });
            return true;
        }
        {
            const u32 id = LOWORD(wparam);
            bool found = false;
            run_guarded([id, &found] { found = dispatch_menu_command(id); });
            return found;
        }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lparam);
        if (SubPane* peer = header ? SubPane::FromHandle(header->hwndFrom) : nullptr)
            run_guarded([peer, header] { peer->DoNotify(header); });
        return false;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
        SubPane* peer = item ? SubPane::FromHandle(item->hwndItem) : nullptr;
        if (!peer)
            return false;
        run_guarded([peer, item] { peer->DoDrawItem(item); });
        *result = TRUE;
        return true;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
        SubPane* peer = SubPane::FromHandle(reinterpret_cast<HWND>(lparam));
        if (!peer)
            return false;
        const bool vertical = message == WM_VSCROLL;
        const u32 code = LOWORD(wparam);
        run_guarded([peer, vertical, code] { peer->DoScroll(vertical, code); });
        return true;
    }
    default: return false;
    }
}

}  // namespace qv::ui
