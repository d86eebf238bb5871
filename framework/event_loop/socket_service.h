// The socket a layer above (the debugger connection) has the event loop serve while the
// program runs: bytes arriving on it post a socket message (1024) to a hidden window, so the
// loop, asleep in GetMessage, wakes up and runs the layer's poll; every loop iteration also
// polls once, so lines already there are never left waiting. One socket at a time.
#pragma once

#include "platform/sockets.h"
#include "platform/win32/windows_api.h"

namespace qv {

inline constexpr UINT kSocketMessage = WM_USER;  // 1024

using SocketPoll = void (*)();

// Starts serving `socket` with `poll`, which reads and handles what has arrived without
// waiting. False when the socket cannot be watched (it is then polled by the loop only).
bool serve_socket(platform::SocketHandle socket, SocketPoll poll);
// Stops serving it; call before the socket is closed.
void stop_serving_socket();

// Runs the poll once, if a socket is served (the loop's turn).
void poll_served_socket();

// What the served socket's layer does when the user asks the running program to stop
// (Ctrl+C held down while long-running code calls RuntimeBackgroundTask).
void set_served_socket_break(SocketPoll request_break);
// Requests that break, if a socket is served.
void request_served_socket_break();

// True for the socket message to the hidden window (a wait that dispatches only some
// messages lets these through).
bool is_socket_message(const MSG& message);

}  // namespace qv
