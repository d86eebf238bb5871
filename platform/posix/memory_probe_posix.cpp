#include "platform/memory_probe.h"
#include "platform/posix/memory_probe_methods.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

namespace platform {
namespace {

// A read through process_vm_readv or a write into a pipe hands the range to the kernel, which
// reports EFAULT instead of delivering a fault. A chunk fits an empty pipe, so a write of it
// stops short only where the range stops being readable.
constexpr size_t kChunk = 4096;

bool refused(int error) { return error == ENOSYS || error == EPERM || error == EACCES; }

// The pipe is the process's own: a child after fork makes a new one, so two processes never
// drain each other's bytes.
struct ProbePipe {
    std::mutex mutex;
    pid_t owner = 0;
    int fds[2] = {-1, -1};

    bool ready()
    {
        const pid_t self = getpid();
        if (owner == self)
            return true;
        if (fds[0] >= 0 && owner != 0) {
            close(fds[0]);
            close(fds[1]);
        }
        fds[0] = fds[1] = -1;
        if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
            fds[0] = fds[1] = -1;
            return false;
        }
        owner = self;
        return true;
    }
};

ProbePipe& probe_pipe()
{
    static ProbePipe* pipe = new ProbePipe;  // never destroyed: probes may run during exit
    return *pipe;
}

// Which way this process probes, decided by the first probe.
enum class Decided : int { not_yet, vm_read, pipe_write };
std::atomic<Decided> g_method{Decided::not_yet};
std::atomic<bool> g_vm_read_refused_for_testing{false};

ProbeMethod decide_method()
{
    Decided method = g_method.load(std::memory_order_relaxed);
    if (method == Decided::not_yet) {
        const char here = 0;
        method = probe_by_vm_read(&here, 1) == ProbeResult::unavailable ? Decided::pipe_write : Decided::vm_read;
        g_method.store(method, std::memory_order_relaxed);
    }
    return method == Decided::vm_read ? ProbeMethod::vm_read : ProbeMethod::pipe_write;
}

}  // namespace

ProbeResult probe_by_vm_read(const void* address, size_t size)
{
    if (g_vm_read_refused_for_testing.load(std::memory_order_relaxed))
        return ProbeResult::unavailable;
    char buffer[256];
    while (size > 0) {
        const size_t n = size < sizeof buffer ? size : sizeof buffer;
        iovec local{buffer, n};
        iovec remote{const_cast<void*>(address), n};
        const ssize_t got = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
        if (got < 0 && refused(errno))
            return ProbeResult::unavailable;
        if (got != static_cast<ssize_t>(n))
            return ProbeResult::unreadable;
        address = static_cast<const char*>(address) + n;
        size -= n;
    }
    return ProbeResult::readable;
}

ProbeResult probe_by_pipe_write(const void* address, size_t size)
{
    ProbePipe& probe = probe_pipe();
    std::lock_guard<std::mutex> lock(probe.mutex);
    if (!probe.ready())
        return ProbeResult::unavailable;
    char drain[kChunk];
    while (size > 0) {
        const size_t n = size < kChunk ? size : kChunk;
        ssize_t written;
        do
            written = write(probe.fds[1], address, n);
        while (written < 0 && errno == EINTR);
        // A range that becomes unreadable part-way gives a short write; what did go in is
        // drained like a full chunk, so the pipe is empty for the next probe.
        if (written > 0) {
            ssize_t left = written;
            while (left > 0) {
                const ssize_t got = read(probe.fds[0], drain, static_cast<size_t>(left));
                if (got <= 0 && errno != EINTR)
                    break;
                if (got > 0)
                    left -= got;
            }
        }
        if (written != static_cast<ssize_t>(n))
            return written < 0 && errno != EFAULT ? ProbeResult::unavailable : ProbeResult::unreadable;
        address = static_cast<const char*>(address) + n;
        size -= n;
    }
    return ProbeResult::readable;
}

ProbeMethod current_probe_method() { return decide_method(); }

void refuse_vm_read_for_testing(bool refuse)
{
    g_vm_read_refused_for_testing.store(refuse, std::memory_order_relaxed);
    g_method.store(Decided::not_yet, std::memory_order_relaxed);
}

bool is_readable(const void* address, size_t size)
{
    if (!address)
        return false;
    if (reinterpret_cast<uintptr_t>(address) + size < reinterpret_cast<uintptr_t>(address))
        return false;  // the range wraps around the address space
    if (decide_method() == ProbeMethod::vm_read) {
        const ProbeResult result = probe_by_vm_read(address, size);
        if (result != ProbeResult::unavailable)
            return result == ProbeResult::readable;
        g_method.store(Decided::pipe_write,
                       std::memory_order_relaxed);  // refused later on (a sandbox changed its mind)
    }
    return probe_by_pipe_write(address, size) == ProbeResult::readable;
}

}  // namespace platform

namespace platform {

bool is_writable(const void* address, size_t size)
{
    if (!address)
        return false;
    // Writing to find out would race with the program's own writes, so the mappings are read
    // instead: the range must lie in consecutive mappings that all allow writing. They are
    // listed in ascending order.
    std::FILE* maps = std::fopen("/proc/self/maps", "r");
    if (!maps)
        return false;
    unsigned long long next = reinterpret_cast<uintptr_t>(address);
    const unsigned long long end = next + size;
    bool writable = false;
    bool line_start = true;
    char line[512];
    while (!writable && std::fgets(line, sizeof line, maps)) {
        const bool starts_line = line_start;
        line_start = std::strchr(line, '\n') != nullptr;
        unsigned long long low;
        unsigned long long high;
        char permissions[5];
        if (!starts_line || std::sscanf(line, "%llx-%llx %4s", &low, &high, permissions) != 3)
            continue;
        if (high <= next)
            continue;
        if (low > next || permissions[1] != 'w')
            break;
        next = high;
        writable = next >= end;
    }
    std::fclose(maps);
    return writable;
}

}  // namespace platform
