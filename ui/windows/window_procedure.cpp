// The top-level filter: every message of a runtime window ("QVWindow" or an MDI child) is
// recorded, reflected to the control it concerns, then turned into the window's Do*
// operations before the default procedure sees it. Everything that may run image code runs
// through run_guarded: a raise must never cross DispatchMessage.
#include <optional>

#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/application/mouse_cursor.h"
#include "framework/application/quit_protocol.h"
#include "framework/application/screens.h"
#include "framework/event_loop/event_loop.h"
#include "framework/event_loop/key_pretranslation.h"
#include "framework/event_loop/runtime_windows.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/startup/mdi_frame.h"
#include "framework/startup/program_icon.h"
#include "framework/window_services.h"
#include "platform/win32/failed_call.h"
#include "runtime/exceptions/callback_guard.h"
#include "ui/controls/help_tips.h"
#include "ui/controls/pane_windows.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"
#include "ui/mouse_wheel.h"
#include "ui/windows/mouse_tracking.h"
#include "ui/windows/native_window.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {

extern NativeWindow* g_creating_window;

namespace {

// Window geometry messages count from the first activation of any window on: before it,
// Win32's own sizing of a window being built is no user's move.
bool s_geometry_live = false;
HBRUSH s_control_brush = nullptr;

// The window's peer; a window being created is adopted by the peer creating it, whose handle is
// not known before its first message.
NativeWindow* native_of(HWND window)
{
    NativeWindow* native = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, 0));
    if (!native && g_creating_window) {
        native = g_creating_window;
        native->Adopt(window);
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(native));
    }
    return native;
}

LRESULT window_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    NativeWindow* native = native_of(window);
    LRESULT result = 0;
    if (native && native->Filter(message, wparam, lparam, &result))
        return result;
    result = DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCDESTROY && native) {
        SetWindowLongPtrW(window, 0, 0);
        delete native;
    }
    return result;
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guard_callback("window procedure", LRESULT{0},
                          [&] { return window_message(window, message, wparam, lparam); });
}

// The MDI child procedure (guarded there) asks this first.
bool child_filter(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result)
{
    NativeWindow* native = native_of(window);
    if (message == WM_NCDESTROY && native) {
        SetWindowLongPtrW(window, 0, 0);
        *result = DefMDIChildProcW(window, message, wparam, lparam);
        delete native;
        return true;
    }
    return native && native->Filter(message, wparam, lparam, result);
}

}  // namespace

bool NativeWindow::Filter(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result)
{
    record_current_message(m_window, message, wparam, lparam);
    if (m_creating)
        return false;
    if (reflect_control_message(m_window, message, wparam, lparam, result))
        return true;
    const i32 x = static_cast<i16>(LOWORD(lparam));
    const i32 y = static_cast<i16>(HIWORD(lparam));
    NativeWindow* self = this;
    switch (message) {
    case WM_MOVE:
        if (s_geometry_live && !m_closing) {
            const RECT before = m_content;
            RefreshCachedContent();
            // Win32 also reports the place a window already had when it is first shown.
            if (before.left != m_content.left || before.top != m_content.top)
                run_guarded([self] { self->DoMoved(); });
        }
        follow_window_help_tips(m_window);
        return false;
    case WM_SIZE:
        if (s_geometry_live && !m_closing) {
            const RECT before = m_content;
            RefreshCachedContent();
            const bool changed = before.right - before.left != m_content.right - m_content.left ||
                before.bottom - before.top != m_content.bottom - m_content.top;
            if (m_maximize_or_restore) {
                m_maximize_or_restore = false;
                run_guarded([self] { self->DoResized(); });
            } else if (!changed) {
                return false;
            } else if (m_in_size_move) {
                m_resized_pending = true;
                run_guarded([self] { self->DoResizing(); });
            } else {
                run_guarded([self] { self->DoResized(); });
            }
        }
        return false;
    case WM_ENTERSIZEMOVE: m_in_size_move = true; return false;
    case WM_EXITSIZEMOVE:
        m_in_size_move = false;
        if (m_resized_pending) {
            m_resized_pending = false;
            run_guarded([self] { self->DoResized(); });
        }
        return false;
    case WM_SYSCOMMAND:
        if ((wparam & 0xFFF0) == SC_MAXIMIZE || (wparam & 0xFFF0) == SC_RESTORE)
            m_maximize_or_restore = true;
        return false;
    case WM_SIZING: {
        if (!s_geometry_live)
            return false;
        const SIZE border{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
        if (!clamp_sizing_rect(*reinterpret_cast<RECT*>(lparam), wparam, Limits(), border.cx, border.cy))
            return false;
        *result = TRUE;
        return true;
    }
    case WM_ACTIVATE:
        s_geometry_live = true;
        if (LOWORD(wparam) == WA_INACTIVE)
            run_guarded([self] { self->DoDeactivate(); });
        else
            run_guarded([self] { self->DoActivate(); });
        if (!m_closing)
            run_guarded([] { run_menu_enabling_cycle(window_services().front_window_is_modal()); });
        *result = 0;
        return true;
    case WM_ACTIVATEAPP:
        if (wparam)
            application_activation(true);
        else if (!m_closing)
            application_activation(false);
        return false;
    case WM_PAINT:
        run_guarded([self] { self->DoPaint(); });
        *result = 0;
        return true;
    case WM_PRINTCLIENT: {
        HDC dc = reinterpret_cast<HDC>(wparam);
        run_guarded([self, dc] { self->PaintInto(dc); });
        *result = 0;
        return true;
    }
    case WM_ERASEBKGND: {
        RECT area;
        GetClientRect(m_window, &area);
        COLORREF colour;
        if (back_color(&colour)) {
            HBRUSH brush = CreateSolidBrush(colour);
            FillRect(reinterpret_cast<HDC>(wparam), &area, brush);
            DeleteObject(brush);
        } else {
            FillRect(reinterpret_cast<HDC>(wparam), &area, GetSysColorBrush(COLOR_BTNFACE));
        }
        *result = 1;
        return true;
    }
    case WM_CLOSE:
        run_guarded([self] { self->DoCloseRequest(); });
        *result = 0;
        return true;
    case WM_QUERYENDSESSION: {
        bool may_quit = false;
        run_guarded([&may_quit] { may_quit = ApplicationTryQuit(); });
        *result = may_quit ? 1 : 0;
        return true;
    }
    case WM_SHOWWINDOW: SendMessageW(m_window, WM_CHANGEUISTATE, 0x10002, 0); return false;
    case WM_SETCURSOR: {
        if (LOWORD(lparam) != HTCLIENT)
            return false;
        POINT point;
        GetCursorPos(&point);
        ScreenToClient(m_window, &point);
        // The application's cursor wins over every window's and control's.
        HCURSOR cursor = application_cursor_handle();
        if (!cursor)
            cursor = CursorAt(point.x, point.y);
        if (!cursor)
            cursor = CursorOverride();
        SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
        *result = cursor ? TRUE : FALSE;
        return cursor != nullptr;
    }
    case WM_MOUSEACTIVATE: {
        HWND modal = first_visible_modal();
        if (!modal || modal == m_window)
            return false;
        MessageBeep(0);
        *result = MA_NOACTIVATEANDEAT;
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        gModifierState = held_modifiers();
        const u32 modifiers = gModifierState;
        if (message == WM_LBUTTONDOWN)
            run_guarded([self, x, y, modifiers] { self->DoMouseDown(x, y, modifiers); });
        else
            run_guarded([self, x, y, modifiers] { self->DoRightMouseDown(x, y, modifiers); });
        *result = 0;
        return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (capture_active()) {
            end_capture_with_mouse_up();
            *result = 0;
            return true;
        }
        return false;
    case WM_MOUSEMOVE:
        if (mdi_client())
            run_guarded([self, x, y] { self->DoMouseMoved(x, y); });
        return false;
    case WM_MOUSEWHEEL: {
        UINT lines_per_notch = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines_per_notch, 0);
        const std::optional<i32> lines = wheel_scroll_lines(lines_per_notch, static_cast<i16>(HIWORD(wparam)));
        POINT at{x, y};  // the wheel's point is on the screen
        ScreenToClient(m_window, &at);
        RECT area;
        GetClientRect(m_window, &area);
        if (!lines || !PtInRect(&area, at))
            return false;
        bool taken = false;
        const i32 amount = *lines;
        run_guarded([self, at, amount, &taken] { taken = self->DoMouseWheel(at.x, at.y, amount); });
        *result = 0;
        return taken;
    }
    case WM_MDIACTIVATE:
        if (reinterpret_cast<HWND>(lparam) == m_window)
            run_guarded([self] { self->DoActivate(); });
        else if (reinterpret_cast<HWND>(wparam) == m_window)
            run_guarded([self] { self->DoDeactivate(); });
        return false;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
        COLORREF colour;
        if (!back_color(&colour))
            return false;
        // One brush at a time: the previous answer's brush is no longer in use.
        if (s_control_brush)
            DeleteObject(s_control_brush);
        s_control_brush = CreateSolidBrush(colour);
        SetBkColor(reinterpret_cast<HDC>(wparam), colour);
        *result = reinterpret_cast<LRESULT>(s_control_brush);
        return true;
    }
    case WM_IME_CHAR: {
        const u32 character = static_cast<u32>(wparam);
        if (SubPane* focus = focus_pane())
            run_guarded([focus, character] { focus->DoKeyDown(character, 0); });
        else
            run_guarded([self, character] { self->DoKeyDown(character, 0); });
        *result = 0;
        return true;
    }
    case WM_DISPLAYCHANGE: clear_screen_cache(); return false;
    case WM_ENTERIDLE: follow_window_help_tips(m_window); return false;
    case WM_INITMENU:
        run_guarded([] { run_menu_enabling_cycle(window_services().front_window_is_modal()); });
        return false;
    case kDestroyWindowMessage:
        if (wparam == 1 && lparam == 2) {
            if (m_mdi_child && mdi_client())
                SendMessageW(mdi_client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_window), 0);
            else
                DestroyWindow(m_window);
            *result = 0;
            return true;
        }
        return false;
    default: return false;
    }
}

ATOM register_window_class()
{
    static ATOM s_atom = 0;
    if (s_atom)
        return s_atom;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW window_class{};
    window_class.style = CS_OWNDC;
    window_class.lpfnWndProc = &window_procedure;
    window_class.cbWndExtra = 4;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(QV_PROGRAM_ICON));
    window_class.hCursor = nullptr;  // WM_SETCURSOR chooses
    window_class.lpszClassName = L"QVWindow";
    s_atom = RegisterClassW(&window_class);
    if (!s_atom)
        platform::win32::note_failed_call("RegisterClassW", "QVWindow");
    add_runtime_window_class(s_atom);
    mdi_child_filter_seam().install(&child_filter);
    return s_atom;
}

void release_control_colour_brush()
{
    if (s_control_brush)
        DeleteObject(std::exchange(s_control_brush, nullptr));
}

}  // namespace qv::ui
