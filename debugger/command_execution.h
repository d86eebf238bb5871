// Carrying out a parsed command against the debugged program, appending its reply lines,
// and the runtime's own lines for a stop.
#pragma once

#include <string>
#include <string_view>

#include "debugger/commands.h"
#include "debugger/debug_target.h"
#include "debugger/debugger_state.h"

namespace qv::debugger {

enum class Outcome {
    Stay,    // the program stays stopped
    Resume,  // the program goes on
    Quit,    // the connection closes and the process ends with exit code 1
};

// Longest string text sent for "DS" and for a class name; a longer (or negative) length is
// not taken for a string, and the value is omitted.
inline constexpr u32 kMaxStringValueBytes = 1u << 20;
inline constexpr u32 kMaxClassNameBytes = 1024;
// Most dimensions an array has (as the array routines allow) and most frames "SC" walks.
inline constexpr i32 kMaxArrayDimensions = 0x10000;
inline constexpr int kMaxStackFrames = 4096;

// Runs the command and appends its reply lines (each ending in CR) to `replies`. A read
// that fails answers with the value omitted: the reply word and the request's argument alone.
Outcome execute_command(const Command& command, DebuggerState& state, DebugMemory& memory, DebugHost& host,
                        std::string& replies);

// "BREAK LLLLLLLL FFFFFFFF CCCCCCCC": line, frame position, code address minus the code base.
void append_break(std::string& out, u32 line, StopRecord stop, u32 code_base);
// "TRAP" with the raised exception's class name.
void append_trap(std::string& out, std::string_view class_name);

}  // namespace qv::debugger
