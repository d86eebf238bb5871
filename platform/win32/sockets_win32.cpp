#include <winsock2.h>
#include <ws2tcpip.h>

#include <mutex>

#include "platform/sockets.h"
#include "platform/ticks.h"

namespace platform {

namespace {

constexpr std::uint32_t kRetryPauseMs = 50;

// The library is started by the first socket and stays until the program unloads it; a
// socket still open then (the debugger's connection outlives the event loop) keeps it until
// that socket closes.
struct Library {
    std::mutex mutex;
    bool started = false;
    bool unload_pending = false;
    int open_sockets = 0;
};

Library& library()
{
    static Library s_library;
    return s_library;
}

bool start_winsock()
{
    Library& l = library();
    std::lock_guard lock(l.mutex);
    l.unload_pending = false;
    if (!l.started) {
        WSADATA data;
        l.started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    return l.started;
}

void count_open_socket(int change)
{
    Library& l = library();
    std::lock_guard lock(l.mutex);
    l.open_sockets += change;
    if (l.open_sockets == 0 && l.unload_pending && l.started) {
        WSACleanup();
        l.started = false;
        l.unload_pending = false;
    }
}

timeval as_timeval(std::uint32_t ms)
{
    timeval t;
    t.tv_sec = static_cast<long>(ms / 1000);
    t.tv_usec = static_cast<long>((ms % 1000) * 1000);
    return t;
}

SOCKET try_connect(std::uint16_t port, std::uint32_t wait_ms)
{
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return INVALID_SOCKET;
    u_long non_blocking = 1;
    ::ioctlsocket(s, FIONBIO, &non_blocking);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return s;
    if (WSAGetLastError() == WSAEWOULDBLOCK) {
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        timeval wait = as_timeval(wait_ms);
        if (::select(0, nullptr, &writable, &failed, &wait) > 0 && FD_ISSET(s, &writable))
            return s;
    }
    ::closesocket(s);
    return INVALID_SOCKET;
}

}  // namespace

SocketHandle connect_loopback(std::uint16_t port, std::uint32_t timeout_ms)
{
    if (!start_winsock())
        return kNoSocket;
    const std::uint32_t start = tick_count_ms();
    for (;;) {
        const std::uint32_t spent = tick_count_ms() - start;
        if (spent >= timeout_ms)
            return kNoSocket;
        const SOCKET s = try_connect(port, timeout_ms - spent);
        if (s != INVALID_SOCKET) {
            BOOL on = TRUE;
            ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
            count_open_socket(1);
            return static_cast<SocketHandle>(s);
        }
        const std::uint32_t left = timeout_ms - (tick_count_ms() - start);
        if (static_cast<std::int32_t>(left) <= 0)
            return kNoSocket;
        ::Sleep(left < kRetryPauseMs ? left : kRetryPauseMs);
    }
}

bool send_all(SocketHandle socket, const void* data, std::size_t size)
{
    const auto s = static_cast<SOCKET>(socket);
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const int chunk = size > 0x10000 ? 0x10000 : static_cast<int>(size);
        const int sent = ::send(s, bytes, chunk, 0);
        if (sent > 0) {
            bytes += sent;
            size -= static_cast<std::size_t>(sent);
        } else if (sent == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
            fd_set writable;
            FD_ZERO(&writable);
            FD_SET(s, &writable);
            if (::select(0, nullptr, &writable, nullptr, nullptr) == SOCKET_ERROR)
                return false;
        } else {
            return false;
        }
    }
    return true;
}

std::ptrdiff_t receive_some(SocketHandle socket, void* buffer, std::size_t capacity, std::uint32_t wait_ms)
{
    const auto s = static_cast<SOCKET>(socket);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval wait = as_timeval(wait_ms);
    const int ready = ::select(0, &readable, nullptr, nullptr, &wait);
    if (ready == SOCKET_ERROR)
        return -1;
    if (ready == 0)
        return 0;
    const int chunk = capacity > 0x10000 ? 0x10000 : static_cast<int>(capacity);
    const int got = ::recv(s, static_cast<char*>(buffer), chunk, 0);
    if (got > 0)
        return got;
    if (got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK)
        return 0;
    return -1;
}

void close_socket(SocketHandle socket)
{
    if (socket == kNoSocket)
        return;
    ::closesocket(static_cast<SOCKET>(socket));
    count_open_socket(-1);
}

void unload_socket_library()
{
    Library& l = library();
    std::lock_guard lock(l.mutex);
    if (!l.started)
        return;
    if (l.open_sockets > 0) {
        l.unload_pending = true;
        return;
    }
    WSACleanup();
    l.started = false;
}

bool post_on_arrival(SocketHandle socket, void* window, unsigned message)
{
    // The socket stays non-blocking, as it already is; receive_some and send_all keep working.
    return ::WSAAsyncSelect(static_cast<SOCKET>(socket), static_cast<HWND>(window), message, FD_READ | FD_CLOSE) == 0;
}

}  // namespace platform
