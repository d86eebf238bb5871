#include "platform/memory_probe.h"
#include "platform/win32/windows_api.h"

namespace platform {

bool is_readable(const void* address, size_t size)
{
    if (!address)
        return false;
    const auto* p = static_cast<const char*>(address);
    const char* end = p + size;
    while (p < end) {
        MEMORY_BASIC_INFORMATION info;
        if (VirtualQuery(p, &info, sizeof info) == 0 || info.State != MEM_COMMIT)
            return false;
        const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
            PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
        if (!(info.Protect & readable) || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)))
            return false;
        p = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

}  // namespace platform

namespace platform {

bool is_writable(const void* address, size_t size)
{
    if (!address)
        return false;
    const auto* p = static_cast<const char*>(address);
    const char* end = p + size;
    while (p < end) {
        MEMORY_BASIC_INFORMATION info;
        if (VirtualQuery(p, &info, sizeof info) == 0 || info.State != MEM_COMMIT)
            return false;
        const DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
        if (!(info.Protect & writable) || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)))
            return false;
        p = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

}  // namespace platform
