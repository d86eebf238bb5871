// What the debugger support remembers between lines: the breakpoint array, the step mode
// and its frame, the stop record of the current line, the watch lists; and the decision
// whether the program stops at a line.
#pragma once

#include <vector>

#include "core/types.h"
#include "debugger/watch_list.h"

namespace qv::debugger {

// Where the program is: the frame pointer of the debug-compiled function and the code
// address it will continue at.
struct StopRecord {
    u32 frame = 0;
    u32 code = 0;
};

enum class StepMode : u8 { None = 0, Step = 1, StepOver = 2, StepOut = 3 };

// One byte per source line, set by the debugger; absent until the first "BRLA".
class Breakpoints {
public:
    // Longest array accepted: more source lines than any image has, and a bound on what a
    // peer can make the program allocate.
    static constexpr u32 kMaxLines = 1u << 24;

    // Replaces the array by a zeroed one of `length` lines; false (nothing changed) above
    // kMaxLines.
    bool reset(u32 length);
    // Sets or clears the line's byte. A line outside the array is reported as a failed
    // assertion and ignored; false then.
    bool set(u32 line, bool on);
    bool at(u32 line) const { return line < m_lines.size() && m_lines[line] != 0; }
    bool present() const { return m_present; }
    u32 length() const { return static_cast<u32>(m_lines.size()); }

private:
    std::vector<u8> m_lines;
    bool m_present = false;
};

struct DebuggerState {
    Breakpoints breakpoints;
    StepMode step_mode = StepMode::None;
    u32 step_frame = 0;
    StopRecord stop;
    WatchList watched_objects;
    WatchList watched_arrays;
};

// Whether the program stops at `line` when it runs in `frame`.
bool should_stop(const DebuggerState& state, u32 line, u32 frame);

// The user asked the running program to stop: it stops at the next line it runs, in whatever
// frame, as a step would; a step over or out under way gives way to it.
void request_break(DebuggerState& state);

// Before a line: makes its stop record current and decides. A stop ends the step that led to
// it, so "RUN" from there runs to the next breakpoint.
bool enter_line(DebuggerState& state, u32 line, StopRecord stop);

}  // namespace qv::debugger
