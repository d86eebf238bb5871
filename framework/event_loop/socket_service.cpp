#include "framework/event_loop/socket_service.h"

#include "platform/win32/failed_call.h"
#include "runtime/exceptions/callback_guard.h"

namespace qv {
namespace {

HWND s_window = nullptr;
platform::SocketHandle s_socket = platform::kNoSocket;
SocketPoll s_poll = nullptr;
SocketPoll s_request_break = nullptr;

LRESULT CALLBACK socket_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == kSocketMessage) {
        // Messages queued before the socket was given up may still come: they name it.
        if (s_poll && static_cast<platform::SocketHandle>(wparam) == s_socket)
            guard_callback("socket window procedure", [] { s_poll(); });
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// A message-only window: never shown, never a runtime window, but GetMessage fetches for it.
HWND socket_window()
{
    if (!s_window) {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = &socket_window_procedure;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = L"QuavSocketWindow";
        if (!RegisterClassW(&window_class))
            platform::win32::note_failed_call("RegisterClassW", "QuavSocketWindow");
        s_window = CreateWindowExW(0, L"QuavSocketWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        if (!s_window)
            platform::win32::note_failed_call("CreateWindowExW", "QuavSocketWindow");
    }
    return s_window;
}

}  // namespace

bool serve_socket(platform::SocketHandle socket, SocketPoll poll)
{
    s_socket = socket;
    s_poll = poll;
    HWND window = socket_window();
    return window && platform::post_on_arrival(socket, window, kSocketMessage);
}

void stop_serving_socket()
{
    s_socket = platform::kNoSocket;
    s_poll = nullptr;
}

void poll_served_socket()
{
    if (s_poll)
        s_poll();
}

void set_served_socket_break(SocketPoll request_break) { s_request_break = request_break; }

void request_served_socket_break()
{
    if (s_poll && s_request_break)
        s_request_break();
}

bool is_socket_message(const MSG& message) { return message.message == kSocketMessage && message.hwnd == s_window; }

}  // namespace qv
