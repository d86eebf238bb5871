#include "platform/memory_probe.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include <sys/uio.h>
#include <unistd.h>

namespace platform {

bool is_readable(const void* address, size_t size)
{
    if (!address)
        return false;
    // The kernel copies from the address on our behalf and reports EFAULT instead of
    // delivering a fault, so an unmapped or unreadable range is simply a failed call.
    char buffer[64];
    while (size > 0) {
        const size_t n = size < sizeof buffer ? size : sizeof buffer;
        iovec local{buffer, n};
        iovec remote{const_cast<void*>(address), n};
        if (process_vm_readv(getpid(), &local, 1, &remote, 1, 0) != static_cast<ssize_t>(n))
            return false;
        address = static_cast<const char*>(address) + n;
        size -= n;
    }
    return true;
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
