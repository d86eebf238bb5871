// Exception classes for tests and the hook recorder.
#include "tests/support/exception_helpers.h"

#include "runtime/strings/string_ref.h"

namespace qv::test {
namespace {

ExceptionHookRecorder* s_active = nullptr;

ExceptionHookRecorder::Call call_of(RuntimeObject* exception)
{
    if (!exception)
        return {nullptr, nullptr, 0};
    return {exception, exception->classRecord, exception->refCount};
}

}  // namespace

ClassRecord* test_exception_class()
{
    static ClassRecord* s_class = [] {
        ClassRecord* c = RuntimeNewClass(nullptr, 0, 0, 0, 0, 0);
        c->instanceSize = sizeof(ExceptionObject);
        c->name = StringRef::FromCString("TestException").leak();
        return c;
    }();
    return s_class;
}

ExceptionHookRecorder::ExceptionHookRecorder()
    : m_previous_unhandled(set_unhandled_exception_hook(&on_unhandled)),
      m_previous_raise(set_raise_hook(&on_raise)),
      m_previous(s_active)
{
    s_active = this;
}

ExceptionHookRecorder::~ExceptionHookRecorder()
{
    s_active = m_previous;
    set_unhandled_exception_hook(m_previous_unhandled);
    set_raise_hook(m_previous_raise);
}

void ExceptionHookRecorder::on_unhandled(RuntimeObject* exception)
{
    s_active->m_unhandled.push_back(call_of(exception));
}

void ExceptionHookRecorder::on_raise(RuntimeObject* exception) { s_active->m_raised.push_back(call_of(exception)); }

}  // namespace qv::test
