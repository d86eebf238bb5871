// Executable memory on Windows: committed VirtualAlloc regions and VirtualProtect.
#include "platform/exec_memory.h"
#include "platform/win32/windows_api.h"

namespace platform {

ExecStatus allocate_writable_region(size_t size, ExecRegion& region)
{
    region = {};
    void* base = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!base)
        return {"VirtualAlloc", GetLastError()};
    region = {static_cast<std::uint8_t*>(base), size};
    return {};
}

ExecStatus make_executable(ExecRegion& region)
{
    if (!region.base)
        return {"make_executable", ERROR_INVALID_PARAMETER};
    DWORD previous = 0;
    if (!VirtualProtect(region.base, region.size, PAGE_EXECUTE_READ, &previous))
        return {"VirtualProtect", GetLastError()};
    // x86 keeps its instruction cache coherent, but this is the documented contract for
    // code written through data pointers.
    FlushInstructionCache(GetCurrentProcess(), region.base, region.size);
    return {};
}

ExecStatus free_region(ExecRegion& region)
{
    if (!region.base)
        return {};
    if (!VirtualFree(region.base, 0, MEM_RELEASE))
        return {"VirtualFree", GetLastError()};
    region = {};
    return {};
}

}  // namespace platform
