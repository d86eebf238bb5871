// Callbacks that system code makes stop C++ exceptions: out of memory takes the runtime's
// out-of-memory exit, anything else is named on the debug channel and answered with the
// callback's fallback. RunGuarded stops them too, before they reach its assembly frame.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/debug_channel.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/exceptions/callback_guard.h"
#include "runtime/exceptions/run_guarded.h"
#include "runtime/memory/pool_allocator.h"

namespace qv {
namespace {

// The notes on the debug channel while alive, one line each (on Windows the channel is the
// debugger's output, which a test cannot read back).
class NoteCapture {
public:
    NoteCapture() : m_previous(platform::set_debug_note_sink(&take)) { s_notes.clear(); }
    ~NoteCapture() { platform::set_debug_note_sink(m_previous); }
    NoteCapture(const NoteCapture&) = delete;
    NoteCapture& operator=(const NoteCapture&) = delete;
    const std::string& text() const { return s_notes; }

private:
    static void take(const char* text) { s_notes.append(text).append("\n"); }
    static inline std::string s_notes;
    platform::DebugNoteSink m_previous;
};

TEST(CallbackGuard, AnswersWithTheBodyOrItsFallbackAndNamesWhatWasThrown)
{
    struct Case {
        const char* name;
        int (*body)();
        int answer;
        const char* note;  // on the debug channel, or null for none
    };
    const Case cases[] = {
        {"returns", [] { return 7; }, 7, nullptr},
        {"std::exception", []() -> int { throw std::runtime_error("bad geometry"); }, -1,
         "C++ exception in test procedure: bad geometry; the callback gave its default answer\n"},
        {"something else", []() -> int { throw 42; }, -1,
         "C++ exception in test procedure: an exception of unknown type; the callback gave its default answer\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const NoteCapture notes;
        EXPECT_EQ(guard_callback("test procedure", -1, c.body), c.answer);
        EXPECT_EQ(notes.text(), c.note ? c.note : "");
    }
    const NoteCapture notes;
    EXPECT_TRUE(guard_callback("timer", [] {}));
    EXPECT_FALSE(guard_callback("timer", [] { throw std::logic_error("x"); }));
    EXPECT_NE(notes.text().find("in timer: x"), std::string::npos);
}

bool s_released = false;

// Prints where the report stands against the release hook, and the report's last lines.
AssertionAnswer print_and_continue(const char* text)
{
    const char* tail = std::strstr(text, "utility:");
    std::fprintf(stderr, "%s release: %s", s_released ? "after" : "before", tail ? tail : text);
    return AssertionAnswer::Ok;
}

void say_released() { s_released = true; }

TEST(CallbackGuardDeathTest, OutOfMemoryReleasesReportsAndExitsWithZero)
{
    EXPECT_EXIT(
        {
            set_assertion_responder(&print_and_continue);
            set_out_of_memory_release_hook(&say_released);
            guard_callback("window procedure", 0, []() -> int { throw std::bad_alloc(); });
        },
        ::testing::ExitedWithCode(0), "after release: utility: 842\\sFailure Condition: 0\\s");
}

TEST(RunGuarded, StopsCxxExceptionsOfTheRoutineAndReportsFailure)
{
    const NoteCapture notes;
    EXPECT_FALSE(RunGuarded([](void*) { throw std::runtime_error("from a handler"); }, nullptr));
    EXPECT_NE(notes.text().find("C++ exception in RunGuarded: from a handler"), std::string::npos);
    int calls = 0;
    EXPECT_TRUE(RunGuarded([](void* argument) { ++*static_cast<int*>(argument); }, &calls));
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace qv
