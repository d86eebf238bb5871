// Executable memory on POSIX: anonymous private mappings and mprotect.
#include "platform/exec_memory.h"

#include <sys/mman.h>

#include <cerrno>

namespace platform {

ExecStatus allocate_writable_region(size_t size, ExecRegion& region)
{
    region = {};
    void* base = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return {"mmap", static_cast<unsigned long>(errno)};
    region = {static_cast<std::uint8_t*>(base), size};
    return {};
}

ExecStatus make_executable(ExecRegion& region)
{
    if (!region.base)
        return {"make_executable", EINVAL};  // mprotect would accept an empty range
    if (mprotect(region.base, region.size, PROT_READ | PROT_EXEC) != 0)
        return {"mprotect", static_cast<unsigned long>(errno)};
    return {};
}

ExecStatus free_region(ExecRegion& region)
{
    if (!region.base)
        return {};
    if (munmap(region.base, region.size) != 0)
        return {"munmap", static_cast<unsigned long>(errno)};
    region = {};
    return {};
}

}  // namespace platform
