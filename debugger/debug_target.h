// What the commands act on, behind two small interfaces so that the protocol runs the same
// against the program itself and against a fake in tests.
#pragma once

#include <string_view>

#include "core/types.h"
#include "debugger/hex_values.h"

namespace qv::debugger {

// The debugged program's memory at addresses the debugger names. Every access is checked:
// an address range that cannot be read (written) fails and leaves nothing touched.
class DebugMemory {
public:
    virtual ~DebugMemory() = default;
    virtual bool read(u32 address, void* out, u32 size) = 0;
    virtual bool write(u32 address, const void* data, u32 size) = 0;
    // A new string record holding one count, with these bytes and encoding; 0 (the empty
    // string) for no bytes or when the text cannot be had.
    virtual u32 new_string(u32 encoding, std::string_view bytes) = 0;
    // Gives back one count of the string record at the address (0: nothing).
    virtual void release_string(u32 address) = 0;
};

enum class PropertyType { Boolean, Integer, Single, Double, Object, String };

struct PropertyValue {
    u64 bits = 0;        // Boolean 0 or 1; Integer, Single (its bits), Object: 32 bits; Double: 64
    StringValue string;  // String
};

// The rest of the program the commands ask about or act on.
class DebugHost {
public:
    virtual ~DebugHost() = default;
    virtual u32 process_id() = 0;
    virtual u32 code_base() = 0;
    // Bytes of the image's code segment: the stack walk stops at a frame that returns outside.
    virtual u32 code_size() = 0;
    // The application's front visible window (the frame window in MDI mode); 0 for none.
    virtual u32 front_window() = 0;
    virtual void bring_to_front(u32 window) = 0;
    // Reads the named property of the object through its getter; false when the object has
    // no such property of that type or cannot be read.
    virtual bool read_property(u32 object, std::string_view name, PropertyType type, PropertyValue& out) = 0;
};

}  // namespace qv::debugger
