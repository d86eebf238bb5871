// The debugger's requests, parsed from received lines into typed commands with their
// arguments decoded and checked. A line that names no known command, or whose argument is
// missing or malformed, parses to nothing and is ignored.
#pragma once

#include <optional>
#include <string_view>

#include "core/types.h"
#include "debugger/hex_values.h"

namespace qv::debugger {

enum class CommandKind {
    Run,               // RUN
    Quit,              // QUIT
    BreakpointArray,   // BRLA length
    SetBreakpoint,     // BR line
    ClearBreakpoint,   // BRC line
    Step,              // STEP
    StepOver,          // STEPOVER
    StepOut,           // STEPOUT
    ReadByte,          // DB address
    ReadWord,          // DW address
    ReadLong,          // DL address
    ReadString,        // DS variable
    ReadObject,        // DO object
    ReadObjectClass,   // DOC object
    ReadArrayBounds,   // DABB array
    WriteWord,         // SW address value
    WriteLong,         // SL address value
    WriteString,       // SS variable tag:bytes
    ProcessId,         // PID
    CodeBase,          // TOC
    StackCrawl,        // SC
    WatchObject,       // OWLS object
    UnwatchObject,     // OWLR object
    WatchArray,        // AWLS array
    UnwatchArray,      // AWLR array
    PropertyBoolean,   // DPVB object name
    PropertyInteger,   // DPVI object name
    PropertySingle,    // DPVF object name
    PropertyDouble,    // DPVD object name
    PropertyObject,    // DPVO object name
    PropertyString,    // DPVS object name
    SwitchToDebugger,  // SwitchToDebugger window (decimal)
    GetWindow,         // GetHWND
};

// A parsed command. The views point into the line it was parsed from.
struct Command {
    CommandKind kind = CommandKind::Run;
    std::string_view argument;  // as received; replies echo it
    // The address, line, length or window the command names (hex; decimal for a window).
    u32 number = 0;
    u64 value = 0;              // SW, SL: the value to write
    StringValue string;         // SS: the string to store
    std::string_view property;  // DPV*: the property's name
};

// The property commands name the object and the property as "OOOOOOOO Name": the object's
// address in hex, one space, and the property's name (the rest of the argument, not empty).
std::optional<Command> parse_command(std::string_view line);

// True for the commands after which the stopped program goes on.
bool resumes(CommandKind kind);

}  // namespace qv::debugger
