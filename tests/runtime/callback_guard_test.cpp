// Callbacks that system code makes stop C++ exceptions: out of memory takes the runtime's
// out-of-memory exit, anything else is named on the debug channel and answered with the
// callback's fallback. RunGuarded stops them too, before they reach its assembly frame.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "runtime/diagnostics/assertion.h"
#include "runtime/exceptions/callback_guard.h"
#include "runtime/exceptions/run_guarded.h"
#include "runtime/memory/pool_allocator.h"

namespace qv {
namespace {

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
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(guard_callback("test procedure", -1, c.body), c.answer);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.note ? c.note : "");
    }
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(guard_callback("timer", [] {}));
    EXPECT_FALSE(guard_callback("timer", [] { throw std::logic_error("x"); }));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("in timer: x"), std::string::npos);
}

AssertionAnswer print_and_continue(const char* text)
{
    std::fputs(text, stderr);
    return AssertionAnswer::Ok;
}

void say_released() { std::fputs("released\n", stderr); }

TEST(CallbackGuardDeathTest, OutOfMemoryReleasesReportsAndExitsWithZero)
{
    EXPECT_EXIT(
        {
            set_assertion_responder(&print_and_continue);
            set_out_of_memory_release_hook(&say_released);
            guard_callback("window procedure", 0, []() -> int { throw std::bad_alloc(); });
        },
        ::testing::ExitedWithCode(0), "^released\\s(.|\\s)*utility: 842\\sFailure Condition: 0\\s");
}

TEST(RunGuarded, StopsCxxExceptionsOfTheRoutineAndReportsFailure)
{
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(RunGuarded([](void*) { throw std::runtime_error("from a handler"); }, nullptr));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("C++ exception in RunGuarded: from a handler"),
              std::string::npos);
    int calls = 0;
    EXPECT_TRUE(RunGuarded([](void* argument) { ++*static_cast<int*>(argument); }, &calls));
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace qv
