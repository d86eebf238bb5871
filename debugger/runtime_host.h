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
    // As the program's debugger environment answers (no window in the console runner).
    u32 front_window() override;
    void bring_to_front(u32 window) override;
    bool read_property(u32 object, std::string_view name, PropertyType type, PropertyValue& out) override;
};

}  // namespace qv::debugger
