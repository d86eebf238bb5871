#include "platform/memory_probe.h"

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
