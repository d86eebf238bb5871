#include "debugger/debugger_state.h"

#include <gtest/gtest.h>

#include "tests/support/assertion_capture.h"

namespace qv::debugger {
namespace {

TEST(Breakpoints, OutOfRangeLinesAreReportedAndIgnored)
{
    Breakpoints breakpoints;
    test::AssertionCapture capture;
    EXPECT_FALSE(breakpoints.set(0, true));  // no array yet
    ASSERT_TRUE(breakpoints.reset(0x20));
    EXPECT_TRUE(breakpoints.set(0x1F, true));
    EXPECT_FALSE(breakpoints.set(0x20, true));
    EXPECT_FALSE(breakpoints.set(0xFFFFFFFF, false));  // -1 on the wire
    EXPECT_TRUE(breakpoints.at(0x1F));
    EXPECT_FALSE(breakpoints.at(0x20));
    ASSERT_EQ(capture.count(), 3u);
    EXPECT_TRUE(capture.saw("DebuggerSupport", 217));
    EXPECT_TRUE(capture.saw("DebuggerSupport", 232));
    EXPECT_NE(capture.reports()[0].find("breakline >= 0 && breakline < sBreakpointsLen"), std::string::npos);
}

TEST(Breakpoints, ResetReplacesTheArrayAndRefusesHugeLengths)
{
    Breakpoints breakpoints;
    ASSERT_TRUE(breakpoints.reset(16));
    breakpoints.set(3, true);
    ASSERT_TRUE(breakpoints.reset(8));
    EXPECT_FALSE(breakpoints.at(3));
    EXPECT_EQ(breakpoints.length(), 8u);
    EXPECT_FALSE(breakpoints.reset(0xFFFFFFFF));
    EXPECT_FALSE(breakpoints.reset(Breakpoints::kMaxLines + 1));
    EXPECT_EQ(breakpoints.length(), 8u);
}

// Frames: the stepping function at 0x1000, a caller above it, a callee below it.
constexpr u32 kCallee = 0x0F00;
constexpr u32 kSame = 0x1000;
constexpr u32 kCaller = 0x1100;

TEST(StopDecision, StepModesByFramePosition)
{
    const struct {
        StepMode mode;
        u32 frame;
        bool stop;
    } cases[] = {
        {StepMode::None, kSame, false},       {StepMode::Step, kCallee, true},   {StepMode::Step, kCaller, true},
        {StepMode::StepOver, kCallee, false}, {StepMode::StepOver, kSame, true}, {StepMode::StepOver, kCaller, true},
        {StepMode::StepOut, kCallee, false},  {StepMode::StepOut, kSame, false}, {StepMode::StepOut, kCaller, true},
    };
    for (const auto& c : cases) {
        DebuggerState state;
        state.step_mode = c.mode;
        state.step_frame = kSame;
        EXPECT_EQ(should_stop(state, 5, c.frame), c.stop)
            << "mode " << static_cast<int>(c.mode) << " frame " << std::hex << c.frame;
    }
}

TEST(StopDecision, BreakpointsStopInAnyFrameAndAStopEndsTheStep)
{
    DebuggerState state;
    EXPECT_FALSE(enter_line(state, 10, {kSame, 0x401234}));
    ASSERT_TRUE(state.breakpoints.reset(0x20));
    state.breakpoints.set(10, true);
    EXPECT_TRUE(enter_line(state, 10, {kCallee, 0x401234}));
    EXPECT_EQ(state.stop.frame, kCallee);
    EXPECT_EQ(state.stop.code, 0x401234u);
    EXPECT_FALSE(enter_line(state, 11, {kCallee, 0x401240}));
    EXPECT_FALSE(enter_line(state, 0x20, {kCallee, 0x401240}));  // beyond the array: no breakpoint

    state.step_mode = StepMode::Step;
    EXPECT_TRUE(enter_line(state, 12, {kCallee, 0x401250}));
    EXPECT_EQ(state.step_mode, StepMode::None);
    EXPECT_FALSE(enter_line(state, 13, {kCallee, 0x401260}));
}

TEST(StopDecision, ABreakRequestStopsAtTheNextLineInAnyFrameOnce)
{
    for (StepMode mode : {StepMode::None, StepMode::StepOver, StepMode::StepOut}) {
        DebuggerState state;
        state.step_mode = mode;
        state.step_frame = kSame;
        request_break(state);
        EXPECT_TRUE(enter_line(state, 7, {kCallee, 0x401000})) << static_cast<int>(mode);
        EXPECT_FALSE(enter_line(state, 8, {kCallee, 0x401010})) << static_cast<int>(mode);
    }
}

}  // namespace
}  // namespace qv::debugger
