// DebugHost over the running runtime: the process, the loaded image's code segment, and
// properties read through their getters.
#pragma once

#include "debugger/debug_target.h"

namespace qv::debugger {

class RuntimeHost final : public DebugHost {
public:
    u32 process_id() override;
    u32 code_base() override;
    u32 code_size() override;
    // The runtime keeps no windows of its own in this build: no front window (0), and
    // bringing a window forward does nothing.
    u32 front_window() override { return 0; }
    void bring_to_front(u32) override { }
    bool read_property(u32 object, std::string_view name, PropertyType type, PropertyValue& out) override;
};

}  // namespace qv::debugger
