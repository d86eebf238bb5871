#include "framework/startup/mdi_frame.h"

#include <string>

#include "framework/application/application_class.h"
#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/application/quit_protocol.h"
#include "framework/application/screens.h"
#include "framework/event_loop/event_loop.h"
#include "framework/event_loop/runtime_windows.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/startup/program_icon.h"
#include "framework/window_services.h"
#include "platform/win32/failed_call.h"
#include "platform/win32/windows_api.h"
#include "runtime/exceptions/callback_guard.h"

namespace qv {
namespace {

constexpr wchar_t kFrameClass[] = L"QV_MDIFRAME";
constexpr wchar_t kChildClass[] = L"QV_MDICHILD";
constexpr UINT kFirstChildId = 10000;

HWND s_frame = nullptr;
HWND s_client = nullptr;

void put_menu_bar_on_frame(RuntimeObject* menu_bar)
{
    if (!s_frame)
        return;
    SetMenu(s_frame, menu_bar ? static_cast<HMENU>(menu_native_handle(menu_bar)) : nullptr);
    DrawMenuBar(s_frame);
}

LRESULT frame_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    record_current_message(window, message, wparam, lparam);
    switch (message) {
    case WM_CREATE: {
        CLIENTCREATESTRUCT client{};
        client.idFirstChild = kFirstChildId;
        s_client = CreateWindowExW(0, L"MDICLIENT", nullptr, 0x52300001, 0, 0, 0, 0, window, nullptr,
                                   GetModuleHandleW(nullptr), &client);
        if (!s_client)
            platform::win32::note_failed_call("CreateWindowExW", "MDICLIENT");
        set_mdi_client(s_client);
        return 0;
    }
    case WM_CLOSE: {
        bool may_quit = false;
        run_guarded([&may_quit] { may_quit = ApplicationTryQuit(); });
        if (!may_quit)
            return 0;
        gQuitRequested = true;
        break;
    }
    case WM_DESTROY:
        if (window == s_frame) {
            s_frame = nullptr;
            s_client = nullptr;
            set_mdi_client(nullptr);
        }
        break;
    case WM_QUERYENDSESSION: {
        bool may_quit = false;
        run_guarded([&may_quit] { may_quit = ApplicationTryQuit(); });
        return may_quit;
    }
    case WM_MOUSEACTIVATE:
        // A click on the frame or a document inside it while a modal window is up goes nowhere.
        if (HWND modal = static_cast<HWND>(window_services().first_visible_modal()); modal && modal != window) {
            MessageBeep(0);
            return MA_NOACTIVATEANDEAT;
        }
        break;
    case WM_DISPLAYCHANGE: clear_screen_cache(); break;
    case WM_ACTIVATEAPP: application_activation(wparam != 0); break;
    case WM_COMMAND:
        if (lparam == 0) {
            bool handled = false;
            const u32 id = LOWORD(wparam);
            run_guarded([&handled, id] { handled = dispatch_menu_command(id); });
            if (handled)
                return 0;
        }
        break;
    case WM_INITMENU: run_guarded([] { run_menu_enabling_cycle(window_services().front_window_is_modal()); }); return 0;
    default: break;
    }
    return DefFrameProcW(window, s_client, message, wparam, lparam);
}

LRESULT CALLBACK frame_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guard_callback("MDI frame procedure", LRESULT{0},
                          [&] { return frame_message(window, message, wparam, lparam); });
}

LRESULT CALLBACK child_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guard_callback("MDI child procedure", LRESULT{0}, [&] {
        record_current_message(window, message, wparam, lparam);
        LRESULT result = 0;
        const MdiChildFilter filter = mdi_child_filter_seam().get();
        if (filter && filter(window, message, wparam, lparam, &result))
            return result;
        return DefMDIChildProcW(window, message, wparam, lparam);
    });
}

ATOM register_class(const wchar_t* name, WNDPROC procedure, int extra_bytes)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW window_class{};
    window_class.style = CS_DBLCLKS | CS_OWNDC;
    window_class.lpfnWndProc = procedure;
    window_class.cbWndExtra = extra_bytes;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(QV_PROGRAM_ICON));
    if (!window_class.hIcon)
        window_class.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
    window_class.lpszClassName = name;
    const ATOM atom = RegisterClassW(&window_class);
    if (!atom)
        platform::win32::note_failed_call("RegisterClassW", "MDI frame or child class");
    return atom;
}

std::wstring wide(const StringRef& text)
{
    StringRef utf8 = text.ToUTF8();
    return utf8.is_nil() ? std::wstring() : platform::win32::widen(utf8.CText());
}

}  // namespace

HWND create_mdi_frame(const StringRef& title)
{
    if (s_frame)
        return s_frame;
    const ATOM frame_class = register_class(kFrameClass, &frame_procedure, 0);
    add_runtime_window_class(frame_class);
    add_runtime_window_class(register_class(kChildClass, &child_procedure, 4));
    set_menu_bar_presenter(&put_menu_bar_on_frame);
    HMENU menu = nullptr;
    if (gApplicationObject && application_fields(gApplicationObject)->menuBar)
        menu = static_cast<HMENU>(menu_native_handle(application_fields(gApplicationObject)->menuBar));
    const std::wstring text = wide(title);
    s_frame = CreateWindowExW(0, kFrameClass, text.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                              CW_USEDEFAULT, 640, 480, nullptr, menu, GetModuleHandleW(nullptr), nullptr);
    if (!s_frame)
        platform::win32::note_failed_call("CreateWindowExW", "MDI frame");
    return s_frame;
}

HWND mdi_frame() { return s_frame; }

Seam<MdiChildFilter>& mdi_child_filter_seam()
{
    static Seam<MdiChildFilter> s_seam;
    return s_seam;
}

void show_mdi_frame()
{
    if (s_frame && !IsWindowVisible(s_frame))
        ShowWindow(s_frame, SW_SHOW);
}

}  // namespace qv
