#include "platform/memory_probe.h"

#include <cstdint>

#include "platform/win32/windows_api.h"

namespace platform {
namespace {

// Every page of the range is committed, carries one of the `allowed` protections and is
// neither a guard page nor inaccessible.
bool pages_allow(const void* address, size_t size, DWORD allowed)
{
    // A range that runs past the end of the address space is never readable (its end would
    // wrap below its start and the walk below would check nothing).
    if (!address || size > UINTPTR_MAX - reinterpret_cast<uintptr_t>(address))
        return false;
    const auto* p = static_cast<const char*>(address);
    const char* end = p + size;
    while (p < end) {
        MEMORY_BASIC_INFORMATION info;
        if (VirtualQuery(p, &info, sizeof info) == 0 || info.State != MEM_COMMIT)
            return false;
        if (!(info.Protect & allowed) || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)))
            return false;
        p = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

}  // namespace

bool is_readable(const void* address, size_t size)
{
    return pages_allow(address, size,
                       PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                           PAGE_EXECUTE_WRITECOPY);
}

bool is_writable(const void* address, size_t size)
{
    return pages_allow(address, size,
                       PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY);
}

}  // namespace platform
