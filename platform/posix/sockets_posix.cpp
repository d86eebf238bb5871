#include "platform/sockets.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include "platform/ticks.h"

namespace platform {

namespace {

// Pause between attempts while nothing listens yet.
constexpr std::uint32_t kRetryPauseMs = 50;

// One non-blocking attempt, waiting at most `wait_ms` for it to complete.
int try_connect(std::uint16_t port, std::uint32_t wait_ms)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (errno == EINPROGRESS) {
        pollfd entry{fd, POLLOUT, 0};
        if (::poll(&entry, 1, static_cast<int>(wait_ms)) == 1) {
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
                return fd;
        }
    }
    ::close(fd);
    return -1;
}

void pause_ms(std::uint32_t ms)
{
    timespec pause{0, static_cast<long>(ms) * 1000000L};
    while (::nanosleep(&pause, &pause) != 0 && errno == EINTR) { }
}

}  // namespace

SocketHandle connect_loopback(std::uint16_t port, std::uint32_t timeout_ms)
{
    const std::uint32_t start = tick_count_ms();
    for (;;) {
        const std::uint32_t spent = tick_count_ms() - start;
        if (spent >= timeout_ms)
            return kNoSocket;
        const int fd = try_connect(port, timeout_ms - spent);
        if (fd >= 0) {
            // Lines are short and a stopped program waits for each answer: send at once.
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return fd;
        }
        const std::uint32_t left = timeout_ms - (tick_count_ms() - start);
        if (static_cast<std::int32_t>(left) <= 0)
            return kNoSocket;
        pause_ms(left < kRetryPauseMs ? left : kRetryPauseMs);
    }
}

bool send_all(SocketHandle socket, const void* data, std::size_t size)
{
    const int fd = static_cast<int>(socket);
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (sent > 0) {
            bytes += sent;
            size -= static_cast<std::size_t>(sent);
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            pollfd entry{fd, POLLOUT, 0};
            if (::poll(&entry, 1, -1) < 0 && errno != EINTR)
                return false;
        } else {
            return false;
        }
    }
    return true;
}

std::ptrdiff_t receive_some(SocketHandle socket, void* buffer, std::size_t capacity, std::uint32_t wait_ms)
{
    const int fd = static_cast<int>(socket);
    pollfd entry{fd, POLLIN, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(wait_ms));
    if (ready < 0)
        return errno == EINTR ? 0 : -1;
    if (ready == 0)
        return 0;
    const ssize_t got = ::recv(fd, buffer, capacity, 0);
    if (got > 0)
        return got;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return 0;
    return -1;  // orderly close (0) or a failure
}

void close_socket(SocketHandle socket)
{
    if (socket != kNoSocket)
        ::close(static_cast<int>(socket));
}

void unload_socket_library() { }

bool post_on_arrival(SocketHandle, void*, unsigned) { return false; }

}  // namespace platform
