#include "framework/timers/thread_records.h"

#include <mutex>

#include "framework/application/event_firing.h"
#include "framework/stack_bounds.h"
#include "framework/timers/thread_classes.h"
#include "platform/win32/windows_api.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"

namespace qv {
namespace {

// The lists are touched by the user-interface thread starting threads and by each thread as
// it ends; nothing else is locked here, the image's own data included.
std::mutex s_lists_mutex;
ThreadRecord* s_active = nullptr;
ThreadRecord* s_free = nullptr;
i32 s_running = 0;

// One process-wide variable, not per-thread storage: the thread that started last.
ThreadRecord* sCurrentThread = nullptr;

void unlink(ThreadRecord*& list, ThreadRecord* record)
{
    for (ThreadRecord** link = &list; *link; link = &(*link)->next) {
        if (*link == record) {
            *link = record->next;
            break;
        }
    }
    record->next = nullptr;
}

void retire(ThreadRecord* record)
{
    std::lock_guard<std::mutex> guard(s_lists_mutex);
    unlink(s_active, record);
    record->next = s_free;
    s_free = record;
    --s_running;
}

void detach(ThreadRecord* record)
{
    RuntimeObject* thread = record->thread;
    reinterpret_cast<ThreadObject*>(thread)->record = nullptr;  // Run may start it again
    record->thread = nullptr;
    RuntimeUnlockObject(thread);
}

}  // namespace

ThreadRecord* begin_thread_record(RuntimeObject* thread, i32 stack_size)
{
    ThreadRecord* record = nullptr;
    {
        std::lock_guard<std::mutex> guard(s_lists_mutex);
        if (s_free) {
            record = s_free;
            s_free = record->next;
        }
    }
    if (!record)
        record = static_cast<ThreadRecord*>(GuardedNew(sizeof(ThreadRecord)));
    *record = ThreadRecord{};
    record->thread = thread;
    record->stack_size = stack_size;
    RuntimeLockObject(thread);
    reinterpret_cast<ThreadObject*>(thread)->record = record;
    std::lock_guard<std::mutex> guard(s_lists_mutex);
    record->next = s_active;
    s_active = record;
    ++s_running;
    return record;
}

void abandon_thread_record(ThreadRecord* record)
{
    detach(record);
    retire(record);
}

unsigned long __stdcall thread_start_routine(void* parameter)
{
    auto* record = static_cast<ThreadRecord*>(parameter);
    sCurrentThread = record;
    if (!sCurrentThread)
        assertion_failed("RuntimeThread", 0, "sCurrentThread");
    record->thread_id = GetCurrentThreadId();
    QuavInitStackChecker(record->stack_size);
    const StackBounds bounds = current_stack_bounds();
    record->stack_limit = bounds.limit;
    record->stack_top = bounds.top;
    RuntimeObject* thread = record->thread;
    run_guarded([thread] { fire_event(thread, kThreadRun); });
    detach(record);
    retire(record);
    return 0;
}

i32 running_thread_count()
{
    std::lock_guard<std::mutex> guard(s_lists_mutex);
    return s_running;
}

}  // namespace qv
