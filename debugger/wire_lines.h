// The debugger connection's line framing: incoming bytes become lines at each carriage
// return, a line splits into command word and argument, and outgoing lines are formatted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::debugger {

// Longest line kept, in bytes without its carriage return. A peer that sends more without a
// carriage return cannot grow memory past this: the whole line is dropped. 64 KB carries a
// string of 32 KB of text in one "SS" line.
inline constexpr size_t kMaxLineBytes = 65536;

// Turns a byte stream into lines; an incomplete tail waits for the next read.
class LineSplitter {
public:
    // Appends the complete lines found in `bytes` (without their carriage returns) to `lines`.
    // A line longer than kMaxLineBytes is dropped, up to and including its carriage return.
    void feed(std::string_view bytes, std::vector<std::string>& lines);

    // Bytes of the incomplete line held for the next read.
    size_t pending() const { return m_pending.size(); }

private:
    std::string m_pending;
    bool m_dropping = false;  // inside an over-long line: skip to its carriage return
};

struct CommandLine {
    std::string_view word;
    std::string_view argument;  // empty when the line has no space
};

// Splits at the first space; the argument is everything after it.
CommandLine split_command_line(std::string_view line);

// ASCII case-insensitive comparison of command words.
bool same_command_word(std::string_view a, std::string_view b);

// "command" + CR, or "command" + " " + argument + CR when the argument is not empty.
std::string format_line(std::string_view command, std::string_view argument = {});
void append_line(std::string& out, std::string_view command, std::string_view argument = {});

}  // namespace qv::debugger
