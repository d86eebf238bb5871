#include "framework/timers/thread_classes.h"

#include <utility>

#include "core/once.h"
#include "framework/event_loop/periodic_tasks.h"
#include "framework/timer_rules.h"
#include "framework/timers/thread_records.h"
#include "platform/win32/windows_api.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/exceptions/raise_builtin.h"
#include "runtime/objects/exception_foundation.h"

namespace qv {
namespace {

constexpr const char* kSource = "RuntimeThread";

struct SemaphoreObject {
    RuntimeObject header;
    HANDLE handle;
};
static_assert(offsetof(SemaphoreObject, handle) == 28 && sizeof(SemaphoreObject) == 32);

struct CriticalSectionObject {
    RuntimeObject header;
    CRITICAL_SECTION section;
};
static_assert(offsetof(CriticalSectionObject, section) == 28 && sizeof(CriticalSectionObject) == 52);

// clang-format off
const PropertyRecord kThreadProperties[] = {
    {kPropertySetterWithoutParameter, "StackSize", &kIntegerType, QV_ROUTINE(ThreadGetStackSize), QV_ROUTINE(ThreadSetStackSize), 0, 0},
    {0, "ThreadID", &kIntegerType, QV_ROUTINE(ThreadGetID), nullptr, nullptr, 0, 0},
};
const MethodRecord kThreadMethods[] = {
    {"Run", nullptr, nullptr, 0, QV_ROUTINE(threadRun), nullptr, nullptr, 0},
};
const EventRecord kThreadEvents[] = {{"Run", nullptr, nullptr, 0}};
const MethodRecord kSemaphoreMethods[] = {
    {"Signal", nullptr, nullptr, 0, QV_ROUTINE(semaphore_signal), nullptr, nullptr, 0},
    {"Release", nullptr, nullptr, 0, QV_ROUTINE(semaphore_release), nullptr, nullptr, 0},
};
const MethodRecord kCriticalSectionMethods[] = {
    {"Enter", nullptr, nullptr, 0, QV_ROUTINE(criticalsection_enter), nullptr, nullptr, 0},
    {"Leave", nullptr, nullptr, 0, QV_ROUTINE(criticalsection_leave), nullptr, nullptr, 0},
};
// clang-format on

const ClassTables kTables[] = {
    {kThreadProperties, kThreadMethods}, {{}, kSemaphoreMethods}, {{}, kCriticalSectionMethods}};

ObjectDefinition s_definitions[3];

ObjectDefinition& definition(ThreadClass which) { return s_definitions[static_cast<i32>(which)]; }

ThreadObject* thread_or_assert(RuntimeObject* self)
{
    if (!self)
        assertion_failed(kSource, 0, "thread");
    return reinterpret_cast<ThreadObject*>(self);
}

SemaphoreObject* semaphore(RuntimeObject* self) { return reinterpret_cast<SemaphoreObject*>(self); }
CriticalSectionObject* critical_section(RuntimeObject* self) { return reinterpret_cast<CriticalSectionObject*>(self); }

void initialize_semaphore(RuntimeObject* object)
{
    semaphore(object)->handle = CreateSemaphoreW(nullptr, 1, 1, nullptr);
}

void finalize_semaphore(RuntimeObject* object)
{
    if (HANDLE handle = std::exchange(semaphore(object)->handle, nullptr))
        CloseHandle(handle);
}

void initialize_critical_section(RuntimeObject* object)
{
    InitializeCriticalSection(&critical_section(object)->section);
}
void finalize_critical_section(RuntimeObject* object) { DeleteCriticalSection(&critical_section(object)->section); }

// Threads need no periodic work on this platform; the task only keeps the loop's clock going.
void idle_thread_task(void*) { }

void ensure_built()
{
    static Once s_once;
    s_once([&] {
        DefinitionSource thread{};
        thread.name = "Thread";
        thread.instance_size = sizeof(ThreadObject);
        thread.properties = kThreadProperties;
        thread.methods = kThreadMethods;
        thread.events = kThreadEvents;
        build_definition(definition(ThreadClass::Thread), thread);

        DefinitionSource semaphore_source{};
        semaphore_source.name = "Semaphore";
        semaphore_source.instance_size = sizeof(SemaphoreObject);
        semaphore_source.methods = kSemaphoreMethods;
        semaphore_source.initializer = &initialize_semaphore;
        semaphore_source.finalizer = &finalize_semaphore;
        build_definition(definition(ThreadClass::Semaphore), semaphore_source);

        DefinitionSource section{};
        section.name = "CriticalSection";
        section.instance_size = sizeof(CriticalSectionObject);
        section.methods = kCriticalSectionMethods;
        section.initializer = &initialize_critical_section;
        section.finalizer = &finalize_critical_section;
        build_definition(definition(ThreadClass::CriticalSection), section);
    });
}

}  // namespace

void register_thread_classes()
{
    ensure_built();
    static Once s_once;
    s_once([&] {
        for (ObjectDefinition& d : s_definitions)
            RegisterDefinition(&d);
    });
}

ObjectDefinition* thread_definition(ThreadClass which)
{
    ensure_built();
    return &definition(which);
}

ClassTableList thread_class_tables() { return kTables; }

}  // namespace qv

using namespace qv;

extern "C" {

void threadRun(RuntimeObject* self)
{
    ThreadObject* thread = thread_or_assert(self);
    if (!thread || thread->record)
        return;
    static Once s_once;
    s_once([&] { add_periodic_task(1, &idle_thread_task, nullptr); });
    const i32 stack_size = effective_stack_size(thread->stack_size);
    ThreadRecord* record = begin_thread_record(self, stack_size);
    HANDLE handle = CreateThread(nullptr, static_cast<SIZE_T>(stack_size), &thread_start_routine, record, 0, nullptr);
    if (handle)
        CloseHandle(handle);  // the thread runs on; nothing here waits for it
    else
        abandon_thread_record(record);
}

int32_t ThreadGetStackSize(RuntimeObject* self)
{
    ThreadObject* thread = thread_or_assert(self);
    return thread ? effective_stack_size(thread->stack_size) : 0;
}

void ThreadSetStackSize(RuntimeObject* self, int32_t size)
{
    ThreadObject* thread = thread_or_assert(self);
    if (!thread)
        return;
    if (thread->record) {
        raise_builtin(ExceptionClass::ThreadAlreadyRunningException);
        return;
    }
    thread->stack_size = effective_stack_size(size);
}

int32_t ThreadGetID(RuntimeObject* self)
{
    ThreadObject* thread = thread_or_assert(self);
    return thread ? static_cast<int32_t>(reinterpret_cast<uintptr_t>(thread->record)) : 0;
}

void semaphore_signal(RuntimeObject* self)
{
    if (!self)
        RaiseNilObject();
    else
        WaitForSingleObject(semaphore(self)->handle, INFINITE);
}

void semaphore_release(RuntimeObject* self)
{
    if (!self)
        RaiseNilObject();
    else
        ReleaseSemaphore(semaphore(self)->handle, 1, nullptr);
}

void criticalsection_enter(RuntimeObject* self)
{
    if (!self)
        RaiseNilObject();
    else
        EnterCriticalSection(&critical_section(self)->section);
}

void criticalsection_leave(RuntimeObject* self)
{
    if (!self)
        RaiseNilObject();
    else
        LeaveCriticalSection(&critical_section(self)->section);
}

}  // extern "C"
