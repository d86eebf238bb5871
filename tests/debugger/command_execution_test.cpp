#include "debugger/command_execution.h"

#include <gtest/gtest.h>

#include "debugger/wire_lines.h"
#include "tests/debugger/fake_target.h"
#include "tests/support/assertion_capture.h"

namespace qv::debugger {
namespace {

using test::FakeHost;
using test::FakeMemory;

// Bytes in from the debugger, reply bytes out: the splitter, the parser and the execution.
class DebuggerSession : public ::testing::Test {
protected:
    std::string send(std::string_view bytes)
    {
        std::vector<std::string> lines;
        splitter.feed(bytes, lines);
        std::string replies;
        for (const std::string& line : lines) {
            if (const std::optional<Command> command = parse_command(line))
                last_outcome = execute_command(*command, state, memory, host, replies);
        }
        return replies;
    }

    LineSplitter splitter;
    DebuggerState state;
    FakeMemory memory;
    FakeHost host;
    Outcome last_outcome = Outcome::Stay;
};

TEST_F(DebuggerSession, ReadsValuesMostSignificantDigitFirst)
{
    const u8 bytes[8] = {0x78, 0x56, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x90};
    memory.put(0x0040A000, bytes, sizeof bytes);
    EXPECT_EQ(send("DW 0040A000\r"), "VAL32 0040A000 12345678\r");
    EXPECT_EQ(send("DB 0040A000\r"), "VAL8 0040A000 78\r");
    EXPECT_EQ(send("DL 0040A000\r"), "VAL64 0040A000 90ABCDEF12345678\r");
    // The reply echoes the argument as it came.
    EXPECT_EQ(send("dw 40a000\r"), "VAL32 40a000 12345678\r");
    // Read-only memory reads.
    memory.put32(FakeMemory::kReadOnly, 7);
    EXPECT_EQ(send("DW 0040F000\r"), "VAL32 0040F000 00000007\r");
}

TEST_F(DebuggerSession, WritesWordsAndLongsWhereWritable)
{
    EXPECT_EQ(send("SW 0040A000 DEADBEEF\rSL 0040A004 0123456789ABCDEF\r"), "");
    EXPECT_EQ(memory.get32(0x0040A000), 0xDEADBEEFu);
    EXPECT_EQ(memory.get32(0x0040A004), 0x89ABCDEFu);
    EXPECT_EQ(memory.get32(0x0040A008), 0x01234567u);
    // Read-only and straddling the end: nothing written.
    send("SW 0040F000 00000001\rSL 0040EFFC 1111111111111111\r");
    EXPECT_EQ(memory.get32(FakeMemory::kReadOnly), 0u);
    EXPECT_EQ(memory.get32(0x0040EFFC), 0u);
}

TEST_F(DebuggerSession, ReadsAndReplacesStringVariables)
{
    const u32 variable = 0x0040A000;
    const u32 old_string = memory.make_string(0x08000100, "h\xC3\xA9");
    memory.put32(variable, old_string);
    EXPECT_EQ(send("DS 0040A000\r"), "VALS 0040A000 08000100:68C3A9\r");

    EXPECT_EQ(send("SS 0040A000 00000600:4869\r"), "");
    EXPECT_NE(memory.get32(variable), old_string);
    EXPECT_EQ(memory.released, std::vector<u32>{old_string});
    EXPECT_EQ(send("DS 0040A000\r"), "VALS 0040A000 00000600:4869\r");

    // The empty string is nil, read as ASCII.
    send("SS 0040A000 00000600:\r");
    EXPECT_EQ(memory.get32(variable), 0u);
    EXPECT_EQ(send("DS 0040A000\r"), "VALS 0040A000 00000600:\r");
}

TEST_F(DebuggerSession, NamesObjectClassesAndArrayBounds)
{
    const u32 object = memory.make_object(memory.make_class("Window1"));
    const std::string address = format_hex(object, 4);
    EXPECT_EQ(send("DO " + address + "\r"), "VALO " + address + " " + address + " Window1\r");
    EXPECT_EQ(send("DOC " + address + "\r"), "VALOC " + address + " Window1\r");

    const u32 array = memory.make_array(0x00412340, {4, 0xFFFFFFFF});
    const std::string array_address = format_hex(array, 4);
    EXPECT_EQ(send("DABB " + array_address + "\r"), "VALABB " + array_address + " 00412340 00000004 FFFFFFFF\r");

    const std::string no_bounds = format_hex(memory.make_array(0, {}), 4);
    EXPECT_EQ(send("DABB " + no_bounds + "\r"), "VALABB " + no_bounds + " 00000000\r");

    // Address 0 is no object and no array: no reply at all.
    EXPECT_EQ(send("DO 0\rDOC 00000000\rDABB 0\r"), "");
}

TEST_F(DebuggerSession, AnswersProcessCodeBaseAndWindow)
{
    EXPECT_EQ(send("PID\rTOC\r"), "PID 00001234\rTOC 00401000\r");
    EXPECT_EQ(send("GetHWND\rgethwnd\rGETHWND\r"), "HWND 42\rHWND 42\rHWND 42\r");
    host.window = 0;
    EXPECT_EQ(send("GetHWND\r"), "HWND 0\r");
    EXPECT_EQ(send("SwitchToDebugger 131090\r"), "");
    EXPECT_EQ(host.fronted, std::vector<u32>{131090});
}

TEST_F(DebuggerSession, BreakpointsStopAndClear)
{
    send("BRLA 00000020\rBR 0000000A\r");
    const StopRecord at_line{0x0040E000, FakeHost::kCodeBase + 0x123};
    ASSERT_TRUE(enter_line(state, 10, at_line));
    std::string line;
    append_break(line, 10, state.stop, host.code_base());
    EXPECT_EQ(line, "BREAK 0000000A 0040E000 00000123\r");
    EXPECT_FALSE(enter_line(state, 9, at_line));

    send("BRC 0000000A\r");
    EXPECT_FALSE(enter_line(state, 10, at_line));

    // A line outside the array: reported, and nothing changes.
    qv::test::AssertionCapture capture;
    send("BR 00000020\rBR FFFFFFFF\r");
    EXPECT_EQ(capture.count(), 2u);
    EXPECT_FALSE(enter_line(state, 0x20, at_line));
}

TEST_F(DebuggerSession, StepCommandsRecordTheCurrentFrameAndResume)
{
    enter_line(state, 3, {0x0040E000, FakeHost::kCodeBase});
    const struct {
        const char* line;
        StepMode mode;
    } cases[] = {{"STEP\r", StepMode::Step}, {"STEPOVER\r", StepMode::StepOver}, {"stepout\r", StepMode::StepOut}};
    for (const auto& c : cases) {
        last_outcome = Outcome::Stay;
        EXPECT_EQ(send(c.line), "");
        EXPECT_EQ(last_outcome, Outcome::Resume) << c.line;
        EXPECT_EQ(state.step_mode, c.mode) << c.line;
        EXPECT_EQ(state.step_frame, 0x0040E000u) << c.line;
    }
    // Step over from line 3: a callee's line passes, the next line in the same frame stops.
    send("STEPOVER\r");
    EXPECT_FALSE(enter_line(state, 20, {0x0040DF00, FakeHost::kCodeBase + 0x300}));
    EXPECT_TRUE(enter_line(state, 4, {0x0040E000, FakeHost::kCodeBase + 0x10}));

    send("RUN\r");
    EXPECT_EQ(last_outcome, Outcome::Resume);
    EXPECT_EQ(host.fronted, std::vector<u32>{42});
    send("QUIT\r");
    EXPECT_EQ(last_outcome, Outcome::Quit);
}

TEST_F(DebuggerSession, StackCrawlFollowsFramesWithinTheImageCode)
{
    // Three frames of image code, then one that returns into the runtime.
    memory.put32(0x0040E000, 0x0040E020);
    memory.put32(0x0040E004, FakeHost::kCodeBase + 0x234);
    memory.put32(0x0040E020, 0x0040E040);
    memory.put32(0x0040E024, FakeHost::kCodeBase + 0x500);
    memory.put32(0x0040E040, 0x0040E060);
    memory.put32(0x0040E044, 0x08049000);
    enter_line(state, 1, {0x0040E000, FakeHost::kCodeBase + 0x100});
    EXPECT_EQ(send("SC\r"), "SFR 0040E000 00000100\rSFR 0040E020 00000234\rSFR 0040E040 00000500\rSC\r");

    // A chain that points back at itself ends instead of looping.
    memory.put32(0x0040E020, 0x0040E000);
    EXPECT_EQ(send("SC\r"), "SFR 0040E000 00000100\rSFR 0040E020 00000234\rSC\r");
    // Not stopped anywhere: the empty list.
    state.stop = {};
    EXPECT_EQ(send("SC\r"), "SC\r");
}

TEST_F(DebuggerSession, PropertyValuesInTheirForms)
{
    const u32 object = 0x0040A000;
    host.properties[{object, "Visible"}] = {PropertyType::Boolean, {1, {}}};
    host.properties[{object, "Left"}] = {PropertyType::Integer, {0xFFFFFFF6, {}}};
    host.properties[{object, "Ratio"}] = {PropertyType::Single, {0x3FC00000, {}}};
    host.properties[{object, "Scale"}] = {PropertyType::Double, {0x3FF8000000000000ull, {}}};
    host.properties[{object, "Parent"}] = {PropertyType::Object, {0x00400100, {}}};
    host.properties[{object, "Title"}] = {PropertyType::String, {0, {0x0600, "Go"}}};
    EXPECT_EQ(send("DPVB 0040A000 Visible\r"), "VALPVB 0040A000 Visible 01\r");
    EXPECT_EQ(send("DPVI 0040A000 Left\r"), "VALPVI 0040A000 Left FFFFFFF6\r");
    EXPECT_EQ(send("DPVF 0040A000 Ratio\r"), "VALPVF 0040A000 Ratio 3FC00000\r");
    EXPECT_EQ(send("DPVD 0040A000 Scale\r"), "VALPVD 0040A000 Scale 3FF8000000000000\r");
    EXPECT_EQ(send("DPVO 0040A000 Parent\r"), "VALPVO 0040A000 Parent 00400100\r");
    EXPECT_EQ(send("DPVS 0040A000 Title\r"), "VALPVS 0040A000 Title 00000600:476F\r");
    // Unknown property, or the wrong type: the value is omitted.
    EXPECT_EQ(send("DPVS 0040A000 Left\r"), "VALPVS 0040A000 Left\r");
}

TEST_F(DebuggerSession, WatchedObjectGivesExactlyOneNotice)
{
    send("OWLS 0040A000\rOWLS 0040A000\rOWLS 0040A100\rAWLS 0040B000\r");
    std::string notices;
    object_freed(state.watched_objects, 0x0040A000, notices);
    object_freed(state.watched_objects, 0x0040A000, notices);
    object_freed(state.watched_objects, 0x0040C000, notices);
    EXPECT_EQ(notices, "ODN 0040A000\r");

    send("OWLR 0040A100\r");
    notices.clear();
    object_freed(state.watched_objects, 0x0040A100, notices);
    EXPECT_EQ(notices, "");

    array_freed(state.watched_arrays, 0x0040B000, notices);
    array_freed(state.watched_arrays, 0x0040B004, notices);
    EXPECT_EQ(notices, "ADN 0040B000\r");
    send("AWLR 0040B000\r");
    notices.clear();
    array_freed(state.watched_arrays, 0x0040B000, notices);
    EXPECT_EQ(notices, "");
}

// Whatever the debugger sends, nothing outside the simulated memory is touched and the reply
// is what the table says.
TEST_F(DebuggerSession, HostileCommandsAreIgnoredOrAnsweredWithoutValue)
{
    const u32 broken_string = memory.allocate(20);
    const u32 header[5] = {1, 0x00000010, 0, 0x7FFFFFFF, 0x0600};  // unreadable buffer, huge length
    memory.put(broken_string, header, sizeof header);
    memory.put32(0x0040A010, broken_string);
    memory.put32(0x0040A014, 0xFFFFFFF0);  // a "string" near the end of the address space
    const u32 dangling_object = memory.allocate(28);
    memory.put32(dangling_object + 8, 0x12345678);
    const u32 control_class = memory.make_class("Bad\rName");
    const u32 control_object = memory.make_object(control_class);
    const u32 huge_array = memory.allocate(24);
    memory.put32(huge_array + 8, 0x7FFFFFFF);
    const u32 tail_array = FakeMemory::kBase + FakeMemory::kSize - 24;
    memory.put32(tail_array + 8, 2);  // bounds would lie past the end

    const struct {
        std::string line;
        std::string reply;
    } cases[] = {
        {"DW 00000000", "VAL32 00000000"},
        {"DW FFFFFFFE", "VAL32 FFFFFFFE"},
        {"DL 0040FFFC", "VAL64 0040FFFC"},
        {"DB 00410000", "VAL8 00410000"},
        {"DS 00000010", "VALS 00000010"},
        {"DS 0040A010", "VALS 0040A010"},
        {"DS 0040A014", "VALS 0040A014"},
        {"DO 00000010", "VALO 00000010"},
        {"DO " + format_hex(dangling_object, 4), "VALO " + format_hex(dangling_object, 4)},
        {"DOC " + format_hex(control_object, 4), "VALOC " + format_hex(control_object, 4)},
        {"DABB " + format_hex(huge_array, 4), "VALABB " + format_hex(huge_array, 4)},
        {"DABB " + format_hex(tail_array, 4), "VALABB " + format_hex(tail_array, 4)},
        {"DABB FFFFFFFC", "VALABB FFFFFFFC"},
        {"DPVI 00000000 Left", "VALPVI 00000000 Left"},
        {"SW 00000000 00000001", ""},
        {"SS 00000000 00000600:41", ""},
        {"SS 0040F000 00000600:41", ""},
        {"BRLA FFFFFFFF", ""},
        {"DW", ""},
        {"DW 0040A00G", ""},
        {"SW 0040A000", ""},
        {"SS 0040A000 0600", ""},
        {"DPVB 0040A000", ""},
        {"BOGUS 0040A000", ""},
        {std::string(kMaxLineBytes + 1, 'D'), ""},
        {"DW " + std::string(kMaxLineBytes, '0'), ""},
    };
    for (const auto& c : cases) {
        const std::string expected = c.reply.empty() ? "" : c.reply + "\r";
        EXPECT_EQ(send(c.line + "\r"), expected) << c.line.substr(0, 40);
    }
    // The store into the read-only variable gave its new string back and left the variable
    // alone; the one at address 0 made no string at all.
    EXPECT_EQ(memory.released.size(), 1u);
    EXPECT_NE(memory.released[0], 0u);
    EXPECT_EQ(memory.get32(FakeMemory::kReadOnly), 0u);
    // The session still works afterwards.
    EXPECT_EQ(send("PID\r"), "PID 00001234\r");
}

}  // namespace
}  // namespace qv::debugger
