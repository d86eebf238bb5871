#include "debugger/wire_lines.h"

#include <gtest/gtest.h>

namespace qv::debugger {
namespace {

std::vector<std::string> feed_all(LineSplitter& splitter, std::initializer_list<std::string_view> chunks)
{
    std::vector<std::string> lines;
    for (const std::string_view chunk : chunks)
        splitter.feed(chunk, lines);
    return lines;
}

TEST(LineSplitter, SplitsAtCarriageReturnsAndKeepsTheTailForTheNextRead)
{
    LineSplitter splitter;
    EXPECT_EQ(feed_all(splitter, {"RUN\rDW 004", "0A000\r\rST", "EP"}),
              (std::vector<std::string>{"RUN", "DW 0040A000", ""}));
    EXPECT_EQ(splitter.pending(), 4u);
    EXPECT_EQ(feed_all(splitter, {"\r"}), std::vector<std::string>{"STEP"});
    // A line feed is an ordinary byte: only CR ends a line.
    EXPECT_EQ(feed_all(splitter, {"PID\n\r"}), std::vector<std::string>{"PID\n"});
}

TEST(LineSplitter, DropsLinesOverTheBoundAndRecoversAtTheNextCarriageReturn)
{
    LineSplitter splitter;
    const std::string longest(kMaxLineBytes, 'A');
    EXPECT_EQ(feed_all(splitter, {longest, "\r"}), std::vector<std::string>{longest});

    // One byte too many, arriving in pieces: nothing of it is kept or delivered.
    const std::string half(kMaxLineBytes / 2, 'B');
    EXPECT_TRUE(feed_all(splitter, {half, half, "B"}).empty());
    EXPECT_EQ(splitter.pending(), 0u);
    EXPECT_TRUE(feed_all(splitter, {half, half}).empty());
    EXPECT_EQ(splitter.pending(), 0u);
    EXPECT_EQ(feed_all(splitter, {"tail\rPID\r"}), std::vector<std::string>{"PID"});

    // Over the bound within one read.
    EXPECT_EQ(feed_all(splitter, {std::string(kMaxLineBytes + 1, 'C') + "\rTOC\r"}), std::vector<std::string>{"TOC"});
}

TEST(CommandLine, SplitsAtTheFirstSpace)
{
    const struct {
        std::string_view line, word, argument;
    } cases[] = {
        {"DW 0040A000", "DW", "0040A000"},
        {"SW 0040A000 00000001", "SW", "0040A000 00000001"},
        {"RUN", "RUN", ""},
        {"DW ", "DW", ""},
        {" DW", "", "DW"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const CommandLine parts = split_command_line(c.line);
        EXPECT_EQ(parts.word, c.word) << c.line;
        EXPECT_EQ(parts.argument, c.argument) << c.line;
    }
}

TEST(CommandLine, WordsCompareIgnoringAsciiCase)
{
    EXPECT_TRUE(same_command_word("GetHWND", "gethwnd"));
    EXPECT_TRUE(same_command_word("GETHWND", "GetHwnd"));
    EXPECT_FALSE(same_command_word("GetHWND", "GetHWN"));
    EXPECT_FALSE(same_command_word("BR", "BRC"));
    // Only ASCII letters fold: '@' is not '`' though they differ by the case bit.
    EXPECT_FALSE(same_command_word("@", "`"));
}

TEST(CommandLine, FormatsOutgoingLines)
{
    EXPECT_EQ(format_line("SC"), "SC\r");
    EXPECT_EQ(format_line("PID", "00001234"), "PID 00001234\r");
}

}  // namespace
}  // namespace qv::debugger
