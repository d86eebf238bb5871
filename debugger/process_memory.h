// DebugMemory over this process's own memory: every access is checked with the platform's
// memory probe first, and strings are the runtime's records.
#pragma once

#include "debugger/debug_target.h"

namespace qv::debugger {

class ProcessMemory final : public DebugMemory {
public:
    bool read(u32 address, void* out, u32 size) override;
    bool write(u32 address, const void* data, u32 size) override;
    u32 new_string(u32 encoding, std::string_view bytes) override;
    void release_string(u32 address) override;
};

}  // namespace qv::debugger
