#include "debugger/debugger_state.h"

#include "runtime/diagnostics/assertion.h"

namespace qv::debugger {

namespace {

constexpr const char* kSource = "DebuggerSupport";
constexpr const char* kBreaklineCondition = "breakline >= 0 && breakline < sBreakpointsLen";
constexpr i32 kSetBreakpointLine = 217;
constexpr i32 kClearBreakpointLine = 232;

}  // namespace

bool Breakpoints::reset(u32 length)
{
    if (length > kMaxLines)
        return false;
    m_lines.assign(length, 0);
    m_present = true;
    return true;
}

bool Breakpoints::set(u32 line, bool on)
{
    // The line arrives as a 32-bit value: a "negative" one is above every length accepted.
    if (line >= m_lines.size()) {
        qv::assertion_failed(kSource, on ? kSetBreakpointLine : kClearBreakpointLine, kBreaklineCondition);
        return false;
    }
    m_lines[line] = on ? 1 : 0;
    return true;
}

bool should_stop(const DebuggerState& state, u32 line, u32 frame)
{
    // The x86 stack grows down: a function's callers have frames at higher addresses than it,
    // its callees at lower ones. Step over stops in the stepping function (frame equal) or
    // any caller (higher), never in a callee; step out only once the stepping function has
    // returned, in a frame strictly above it.
    switch (state.step_mode) {
    case StepMode::Step: return true;
    case StepMode::StepOver:
        if (frame >= state.step_frame)
            return true;
        break;
    case StepMode::StepOut:
        if (frame > state.step_frame)
            return true;
        break;
    case StepMode::None: break;
    }
    return state.breakpoints.present() && state.breakpoints.at(line);
}

void request_break(DebuggerState& state) { state.step_mode = StepMode::Step; }

bool enter_line(DebuggerState& state, u32 line, StopRecord stop)
{
    state.stop = stop;
    if (!should_stop(state, line, stop.frame))
        return false;
    state.step_mode = StepMode::None;
    return true;
}

}  // namespace qv::debugger
