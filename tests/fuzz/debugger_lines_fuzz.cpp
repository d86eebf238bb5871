// Fuzz target over everything the debugger connection does with received bytes: the line
// splitter (fed in pieces the input chooses), the command parser, and the execution of each
// command against a simulated memory holding a string variable, an object and an array.
// Nothing may read or write outside a buffer, hang or crash, and every reply must be
// complete lines.
#include <string>
#include <vector>

#include "debugger/command_execution.h"
#include "debugger/wire_lines.h"
#include "runtime/diagnostics/assertion.h"
#include "tests/debugger/fake_target.h"

namespace {

using namespace qv::debugger;

qv::AssertionAnswer answer_ok(const char*) { return qv::AssertionAnswer::Ok; }

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Reply text must be whole lines: not empty, ending in CR.
void check_replies(const std::string& replies) { check(replies.empty() || replies.back() == '\r'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::set_assertion_responder(&answer_ok);
    if (size < 1)
        return 0;
    test::FakeMemory memory;
    test::FakeHost host;
    DebuggerState state;
    // Fixed places the seed inputs name: a string variable at 0040A000 holding 00408000, the
    // class at 0040801C, its object at 0040807C, an array at 00408098, a frame chain at
    // 0040E000 that loops back on itself.
    memory.put32(0x0040A000, memory.make_string(0x0600, "hello"));
    const u32 object = memory.make_object(memory.make_class("Window1"));
    memory.make_array(object, {3, 4});
    memory.put32(0x0040E000, 0x0040E020);
    memory.put32(0x0040E004, test::FakeHost::kCodeBase + 0x10);
    memory.put32(0x0040E020, 0x0040E000);
    state.stop = {0x0040E000, test::FakeHost::kCodeBase};

    // The first byte chooses how the rest arrives: in pieces of 1 to 256 bytes.
    const size_t piece = static_cast<size_t>(data[0]) + 1;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    LineSplitter splitter;
    std::vector<std::string> lines;
    std::string replies;
    u32 line_number = 0;
    for (size_t at = 0; at < input.size(); at += piece) {
        lines.clear();
        splitter.feed(input.substr(at, piece), lines);
        check(splitter.pending() <= kMaxLineBytes);
        for (const std::string& line : lines) {
            check(line.size() <= kMaxLineBytes);
            const std::optional<Command> command = parse_command(line);
            if (!command)
                continue;
            replies.clear();
            const Outcome outcome = execute_command(*command, state, memory, host, replies);
            check((outcome != Outcome::Stay) == resumes(command->kind));
            check_replies(replies);
            // Let the program run a line and free what the debugger may watch.
            replies.clear();
            ++line_number;
            if (enter_line(state, line_number % 64, {0x0040E000, test::FakeHost::kCodeBase + line_number}))
                append_break(replies, line_number % 64, state.stop, host.code_base());
            object_freed(state.watched_objects, command->number, replies);
            array_freed(state.watched_arrays, command->number, replies);
            check_replies(replies);
        }
    }
    return 0;
}
