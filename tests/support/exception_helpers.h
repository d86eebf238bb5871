// Exception classes for tests, and a recorder that stands in for the unhandled-exception hook
// (and optionally the raise hook) while it lives.
#pragma once

#include <vector>

#include "runtime/objects/exception_foundation.h"

namespace qv::test {

// A class of instance size 36 named "TestException", made on first use. Classes are never
// freed, so make it before the allocator balance of a test starts (SetUpTestSuite).
ClassRecord* test_exception_class();

class ExceptionHookRecorder {
public:
    struct Call {
        RuntimeObject* exception;
        ClassRecord* exception_class;  // these two as they were at the time of the call
        i32 ref_count;
    };

    ExceptionHookRecorder();
    ~ExceptionHookRecorder();
    ExceptionHookRecorder(const ExceptionHookRecorder&) = delete;
    ExceptionHookRecorder& operator=(const ExceptionHookRecorder&) = delete;

    const std::vector<Call>& unhandled() const { return m_unhandled; }
    const std::vector<Call>& raised() const { return m_raised; }

private:
    static void on_unhandled(RuntimeObject* exception);
    static void on_raise(RuntimeObject* exception);

    std::vector<Call> m_unhandled;
    std::vector<Call> m_raised;
    ExceptionHook m_previous_unhandled;
    ExceptionHook m_previous_raise;
    ExceptionHookRecorder* m_previous;
};

}  // namespace qv::test
