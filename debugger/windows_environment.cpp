#include "debugger/windows_environment.h"

#include <cstdint>

#include "debugger/debugger_environment.h"
#include "debugger/debugger_support.h"
#include "framework/event_loop/runtime_windows.h"
#include "framework/event_loop/socket_service.h"
#include "framework/startup/mdi_frame.h"
#include "framework/window_services.h"
#include "platform/win32/windows_api.h"
#include "ui/controls/window_access.h"

namespace qv::debugger {
namespace {

u32 handle_number(HWND window) { return static_cast<u32>(reinterpret_cast<uintptr_t>(window)); }

// The debugger brings our windows forward from its own process's requests: allow any
// process to hand us the foreground. Looked up by name, as older systems lack it.
void allow_foreground()
{
    using Allow = BOOL(WINAPI*)(DWORD);
    HMODULE user32 = GetModuleHandleW(L"user32");
    if (!user32)
        return;
    if (auto allow =
            reinterpret_cast<Allow>(reinterpret_cast<void*>(GetProcAddress(user32, "AllowSetForegroundWindow"))))
        allow(static_cast<DWORD>(-1));
}

// Paints what became invalid while the program was stopped; nothing else runs at a stop.
void paint_once()
{
    MSG message;
    if (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageW(&message);
}

u32 front_window()
{
    HWND frame = mdi_frame();
    if (frame && IsWindowVisible(frame))
        return handle_number(frame);
    if (RuntimeObject* window = window_services().front_window()) {
        HWND handle = ui::window_handle(window);
        if (handle && IsWindowVisible(handle))
            return handle_number(handle);
    }
    // Not in the foreground (the debugger may be): the topmost of our visible windows.
    const DWORD self = GetCurrentProcessId();
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == self && IsWindowVisible(window) && is_runtime_window(window))
            return handle_number(window);
    }
    return 0;
}

void bring_to_front(u32 number)
{
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
    if (IsWindow(window))
        SetForegroundWindow(window);
}

}  // namespace

void install_windows_debugger_environment()
{
    DebuggerEnvironment environment;
    environment.before_connect = &allow_foreground;
    environment.serve_socket = [](platform::SocketHandle socket, void (*poll)()) { serve_socket(socket, poll); };
    environment.stop_serving_socket = [] { stop_serving_socket(); };
    environment.pump_once = &paint_once;
    environment.front_window = &front_window;
    environment.bring_to_front = &bring_to_front;
    install_debugger_environment(environment);
    set_served_socket_break(&request_debugger_break);
}

}  // namespace qv::debugger
