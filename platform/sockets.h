// A TCP client socket on the loopback address, as the debugger connection needs it: connect
// with a bounded wait, send whole buffers, receive what has arrived without blocking longer
// than asked, close. One implementation per platform.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// An open socket, or kNoSocket. Wide enough for both systems' socket handles.
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kNoSocket = -1;

// Connects to 127.0.0.1:port, trying again while nothing listens there, until `timeout_ms`
// have passed; kNoSocket then. The socket returned never blocks the caller.
SocketHandle connect_loopback(std::uint16_t port, std::uint32_t timeout_ms);

// Sends every byte; false when the connection is gone.
bool send_all(SocketHandle socket, const void* data, std::size_t size);

// Waits at most `wait_ms` (0: not at all) for bytes and reads up to `capacity` of them.
// The count read; 0 when nothing arrived in time; -1 when the peer closed or the connection
// failed.
std::ptrdiff_t receive_some(SocketHandle socket, void* buffer, std::size_t capacity, std::uint32_t wait_ms);

void close_socket(SocketHandle socket);

// The program's shutdown: Windows unloads its socket library if a socket loaded it, at once
// or, while a socket is still open, when the last one closes. Nothing to unload elsewhere.
void unload_socket_library();

// Windows: from now on, bytes arriving on the socket and the peer's close post `message` to
// `window` (a window handle), so that a thread waiting for window messages wakes up for them.
// Elsewhere there are no window messages: false, nothing changes.
bool post_on_arrival(SocketHandle socket, void* window, unsigned message);

}  // namespace platform
