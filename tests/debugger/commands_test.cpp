#include "debugger/commands.h"

#include <gtest/gtest.h>

namespace qv::debugger {
namespace {

TEST(ParseCommand, KnowsEveryCommandWordWithItsArgument)
{
    const struct {
        std::string_view line;
        CommandKind kind;
        u32 number;
    } cases[] = {
        {"RUN", CommandKind::Run, 0},
        {"QUIT", CommandKind::Quit, 0},
        {"BRLA 00000020", CommandKind::BreakpointArray, 0x20},
        {"BR 0000000A", CommandKind::SetBreakpoint, 10},
        {"BRC 0000000A", CommandKind::ClearBreakpoint, 10},
        {"STEP", CommandKind::Step, 0},
        {"STEPOVER", CommandKind::StepOver, 0},
        {"STEPOUT", CommandKind::StepOut, 0},
        {"DB 0040A000", CommandKind::ReadByte, 0x0040A000},
        {"DW 0040A000", CommandKind::ReadWord, 0x0040A000},
        {"DL 0040A000", CommandKind::ReadLong, 0x0040A000},
        {"DS 0040A000", CommandKind::ReadString, 0x0040A000},
        {"DO 0040A000", CommandKind::ReadObject, 0x0040A000},
        {"DOC 0040A000", CommandKind::ReadObjectClass, 0x0040A000},
        {"DABB 0040A000", CommandKind::ReadArrayBounds, 0x0040A000},
        {"PID", CommandKind::ProcessId, 0},
        {"TOC", CommandKind::CodeBase, 0},
        {"SC", CommandKind::StackCrawl, 0},
        {"OWLS 0040A000", CommandKind::WatchObject, 0x0040A000},
        {"OWLR 0040A000", CommandKind::UnwatchObject, 0x0040A000},
        {"AWLS 0040A000", CommandKind::WatchArray, 0x0040A000},
        {"AWLR 0040A000", CommandKind::UnwatchArray, 0x0040A000},
        {"SwitchToDebugger 4294967295", CommandKind::SwitchToDebugger, 0xFFFFFFFF},
        {"GetHWND", CommandKind::GetWindow, 0},
        {"gethwnd", CommandKind::GetWindow, 0},
        {"GETHWND", CommandKind::GetWindow, 0},
        {"switchtodebugger 12", CommandKind::SwitchToDebugger, 12},
        {"dw a", CommandKind::ReadWord, 0xA},
        // A command without one ignores what follows.
        {"RUN now", CommandKind::Run, 0},
    };
    for (const auto& c : cases) {
        const std::optional<Command> command = parse_command(c.line);
        ASSERT_TRUE(command) << c.line;
        EXPECT_EQ(command->kind, c.kind) << c.line;
        EXPECT_EQ(command->number, c.number) << c.line;
    }
}

TEST(ParseCommand, DecodesWritesAndPropertyNames)
{
    std::optional<Command> sw = parse_command("SW 0040A000 DEADBEEF");
    ASSERT_TRUE(sw);
    EXPECT_EQ(sw->kind, CommandKind::WriteWord);
    EXPECT_EQ(sw->number, 0x0040A000u);
    EXPECT_EQ(sw->value, 0xDEADBEEFu);

    std::optional<Command> sl = parse_command("SL 0040A000 0123456789ABCDEF");
    ASSERT_TRUE(sl);
    EXPECT_EQ(sl->value, 0x0123456789ABCDEFull);

    std::optional<Command> ss = parse_command("SS 0040A000 08000100:4869");
    ASSERT_TRUE(ss);
    EXPECT_EQ(ss->kind, CommandKind::WriteString);
    EXPECT_EQ(ss->string.encoding, 0x08000100u);
    EXPECT_EQ(ss->string.bytes, "Hi");

    std::optional<Command> dpv = parse_command("DPVS 0040A000 Text Size");
    ASSERT_TRUE(dpv);
    EXPECT_EQ(dpv->kind, CommandKind::PropertyString);
    EXPECT_EQ(dpv->number, 0x0040A000u);
    EXPECT_EQ(dpv->property, "Text Size");
    EXPECT_EQ(dpv->argument, "0040A000 Text Size");
}

TEST(ParseCommand, IgnoresUnknownAndMalformedLines)
{
    for (const std::string_view line :
         {"", " ", "NOPE", "DWX 0040A000", "BREAK 00000001",
          // missing arguments
          "BR", "BRLA", "DW", "DW ", "DS", "OWLS", "SW", "SW 0040A000", "SW 0040A000 ", "SL 0040A000", "SS 0040A000",
          "SS 0040A000 ", "DPVI", "DPVI 0040A000", "DPVI 0040A000 ", "SwitchToDebugger",
          // bad hexadecimal or decimal
          "DW 0040A00G", "DW 0x40A000", "DW -1", "DW 0040A000 ", "BR 1 2", "SW 0040A000 1 2", "SW 0040A00G 00000001",
          "SL 0040A000 0123456789ABCDEG", "SS 0040A000 0600:414", "SS 0040A000 41", "SwitchToDebugger 12a",
          "SwitchToDebugger 4294967296", "SwitchToDebugger -1",
          // the word must be followed by a space, not anything else
          "DW\t0040A000"}) {
        EXPECT_FALSE(parse_command(line)) << '"' << line << '"';
    }
}

TEST(ParseCommand, ResumingCommands)
{
    for (const CommandKind kind :
         {CommandKind::Run, CommandKind::Quit, CommandKind::Step, CommandKind::StepOver, CommandKind::StepOut})
        EXPECT_TRUE(resumes(kind));
    for (const CommandKind kind : {CommandKind::SetBreakpoint, CommandKind::ReadWord, CommandKind::GetWindow,
                                   CommandKind::SwitchToDebugger, CommandKind::StackCrawl})
        EXPECT_FALSE(resumes(kind));
}

}  // namespace
}  // namespace qv::debugger
