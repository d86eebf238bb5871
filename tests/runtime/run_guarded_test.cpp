// RunGuarded: an exception that nothing nearer handles stops at its landing record and is
// handed to the unhandled-exception path once everything between has returned.
#include <gtest/gtest.h>

#include "runtime/exceptions/run_guarded.h"
#include "runtime/objects/object_model.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/exception_helpers.h"
#include "tests/support/x86_code.h"

namespace {

using namespace qv;
using test::CodeBuilder;
using test::ExecutableCode;

u32 s_reached_end = 0;  // written by machine code too: a full word

void raise_and_carry_on(void* exception_class)
{
    RaiseNew(static_cast<ClassRecord*>(exception_class));
    s_reached_end = 1;
}

class RunGuardedTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::test_exception_class(); }
    void SetUp() override
    {
        s_reached_end = 0;
        m_live = live_object_count();
    }
    void TearDown() override { EXPECT_EQ(live_object_count(), m_live) << "exception count unbalanced"; }

    test::ExceptionHookRecorder m_hooks;
    i32 m_live = 0;
};

TEST_F(RunGuardedTest, RoutineThatReturnsNormallyCompletes)
{
    int calls = 0;
    EXPECT_TRUE(RunGuarded([](void* argument) { ++*static_cast<int*>(argument); }, &calls));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(m_hooks.unhandled().empty());
}

TEST_F(RunGuardedTest, EscapingExceptionGoesToTheUnhandledHookAfterTheRoutineReturns)
{
    // Image code that calls RuntimeNilObject behind an inactive record, so the exception
    // passes its frame on the way to RunGuarded.
    set_raise_slot(RaiseSlot::NilObject, test::test_exception_class());
    CodeBuilder b;
    const auto image_routine = b.label();
    const auto unused = b.label();
    b.bind(image_routine)
        .enter(0)
        .align_for_call(0)
        .call(reinterpret_cast<const void*>(&RuntimeNilObject))
        .landing_record(test::Marker::Inactive, 0, 0, unused)
        .store_imm(&s_reached_end, 1)
        .bind(unused)
        .leave_ret();
    ExecutableCode code(b);

    struct Case {
        const char* name;
        GuardedRoutine routine;
    };
    const Case cases[] = {
        {"runtime code", &raise_and_carry_on},
        {"image code", code.function<GuardedRoutine>(image_routine)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_reached_end = 0;
        const size_t before = m_hooks.unhandled().size();
        // Had the search not found RunGuarded's record, the hook would have run inside the
        // raise and the routine's return would not have been redirected (result true).
        EXPECT_FALSE(RunGuarded(c.routine, test::test_exception_class()));
        EXPECT_EQ(s_reached_end, 1u);
        ASSERT_EQ(m_hooks.unhandled().size(), before + 1);
        EXPECT_EQ(m_hooks.unhandled().back().exception_class, test::test_exception_class());
        EXPECT_EQ(m_hooks.unhandled().back().ref_count, 1) << "the slot's count, released afterwards";
        EXPECT_EQ(live_object_count(), m_live);
    }
}

TEST_F(RunGuardedTest, InnermostRunGuardedTakesTheException)
{
    struct Nested {
        bool inner_result = true;
        bool after_inner = false;
    } nested;
    const bool outer = RunGuarded(
        [](void* argument) {
            auto* n = static_cast<Nested*>(argument);
            n->inner_result = RunGuarded(&raise_and_carry_on, test::test_exception_class());
            n->after_inner = true;
        },
        &nested);
    EXPECT_TRUE(outer);
    EXPECT_FALSE(nested.inner_result);
    EXPECT_TRUE(nested.after_inner);
    EXPECT_EQ(m_hooks.unhandled().size(), 1u);
}

TEST_F(RunGuardedTest, NullRoutineIsAnAssertion)
{
    test::AssertionCapture capture;
    EXPECT_FALSE(RunGuarded(nullptr, nullptr));
    ASSERT_EQ(capture.count(), 1u);
    EXPECT_NE(capture.reports()[0].find("RunGuarded: 40\nFailure Condition: fp\n"), std::string::npos)
        << capture.reports()[0];
}

TEST_F(RunGuardedTest, CaughtNullExceptionIsAnAssertionAndReachesNoHook)
{
    test::AssertionCapture capture;
    EXPECT_FALSE(RunGuarded([](void*) { RuntimeRaiseException(nullptr); }, nullptr));
    ASSERT_EQ(capture.count(), 1u);
    EXPECT_NE(capture.reports()[0].find("Failure Condition: 0\n"), std::string::npos) << capture.reports()[0];
    EXPECT_TRUE(m_hooks.unhandled().empty());
}

}  // namespace
