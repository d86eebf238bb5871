#include "debugger/process_memory.h"

#include <cstdint>
#include <cstring>

#include "platform/memory_probe.h"
#include "runtime/strings/runtime_string.h"

namespace qv::debugger {

namespace {

// The range as a pointer, or null when it wraps past the end of the address space.
void* range_start(u32 address, u32 size)
{
    if (address == 0 || address + size < address)
        return nullptr;
    return reinterpret_cast<void*>(static_cast<uintptr_t>(address));
}

}  // namespace

bool ProcessMemory::read(u32 address, void* out, u32 size)
{
    if (size == 0)
        return true;
    const void* start = range_start(address, size);
    if (!start || !platform::is_readable(start, size))
        return false;
    std::memcpy(out, start, size);
    return true;
}

bool ProcessMemory::write(u32 address, const void* data, u32 size)
{
    if (size == 0)
        return true;
    void* start = range_start(address, size);
    if (!start || !platform::is_writable(start, size))
        return false;
    std::memcpy(start, data, size);
    return true;
}

u32 ProcessMemory::new_string(u32 encoding, std::string_view bytes)
{
    if (bytes.empty() || bytes.size() > 0x7FFFFFF0u)
        return 0;
    RuntimeString* s = allocate_string(static_cast<i32>(bytes.size()));
    if (!s)
        return 0;
    std::memcpy(s->buffer + 1, bytes.data(), bytes.size());
    s->encoding = encoding;
    return static_cast<u32>(reinterpret_cast<uintptr_t>(s));
}

void ProcessMemory::release_string(u32 address)
{
    void* start = range_start(address, sizeof(RuntimeString));
    if (!start || !platform::is_writable(start, sizeof(RuntimeString)))
        return;
    qv::release_string(static_cast<RuntimeString*>(start));
}

}  // namespace qv::debugger
