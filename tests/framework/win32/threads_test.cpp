// Thread, Semaphore and CriticalSection on real operating-system threads: Run on its own
// thread with its own stack bounds, the running state and its rules, runtime strings and
// objects built concurrently, and the exclusion the two locks give.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

#include "framework/stack_bounds.h"
#include "framework/startup/runtime_entry_points.h"
#include "framework/startup/windows_startup.h"
#include "framework/timer_rules.h"
#include "framework/timers/thread_classes.h"
#include "framework/timers/thread_records.h"
#include "platform/win32/windows_api.h"
#include "runtime/definitions/class_registry.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/class_holder.h"
#include "tests/support/string_helpers.h"
#include "tests/support/value_fixture.h"

namespace qv::test {
namespace {

// What the Run handler saw, per Thread object.
struct RunSeen {
    RuntimeObject* thread;
    DWORD thread_id;
    i32 id_property;
    ThreadRecord record;  // a copy, taken inside Run
    uintptr_t local;      // an address on the running stack
};

CRITICAL_SECTION g_seen_lock;
std::vector<RunSeen> g_seen;
std::function<void(RuntimeObject*)> g_body;

void record_run(RuntimeObject* self)
{
    int here = 0;
    RunSeen seen{self, GetCurrentThreadId(), ThreadGetID(self), {}, reinterpret_cast<uintptr_t>(&here)};
    if (auto* record = reinterpret_cast<ThreadRecord*>(static_cast<uintptr_t>(seen.id_property)))
        seen.record = *record;
    EnterCriticalSection(&g_seen_lock);
    g_seen.push_back(seen);
    LeaveCriticalSection(&g_seen_lock);
    if (g_body)
        g_body(self);
}

bool wait_until(const std::function<bool()>& done, DWORD timeout_ms = 10000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeout_ms)
            return false;
        Sleep(2);
    }
    return true;
}

bool threads_finished()
{
    return wait_until([] { return running_thread_count() == 0; });
}

class Threads : public ValueTest {
protected:
    static void SetUpTestSuite()
    {
        start_framework_runtime();
        ValueTest::SetUpTestSuite();
        InitializeCriticalSection(&g_seen_lock);
        ClassRecord* base = ClassFromDefinition(thread_definition(ThreadClass::Thread));
        s_thread_class = s_holder.make(base, "TestThread", base->methodCount, base->interfaceCount, 1,
                                       base->staticMethodCount, base->propertyCount, base->instanceSize);
        s_thread_class->eventTable[kThreadRun].routine = reinterpret_cast<void*>(&record_run);
        s_semaphore_class = ClassFromDefinition(thread_definition(ThreadClass::Semaphore));
        s_section_class = ClassFromDefinition(thread_definition(ThreadClass::CriticalSection));
        s_plain_class = s_holder.make(nullptr, "Plain");
        keep_thread_records(4);
    }
    void SetUp() override
    {
        ValueTest::SetUp();
        g_seen.clear();
        g_body = nullptr;
    }
    void TearDown() override
    {
        EXPECT_TRUE(threads_finished());
        g_body = nullptr;
        ValueTest::TearDown();
    }

    static Held new_thread() { return Held(RuntimeNewObject(s_thread_class)); }

    // Thread records are kept for reuse once their threads end, never freed: have as many as
    // the tests run at once made before any test measures the allocator.
    static void keep_thread_records(int count)
    {
        static std::atomic<int> s_started;
        static int s_wanted;
        static HANDLE s_all_started;
        s_started = 0;
        s_wanted = count;
        s_all_started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        g_body = [](RuntimeObject*) {
            if (++s_started == s_wanted)
                SetEvent(s_all_started);
            WaitForSingleObject(s_all_started, 10000);
        };
        std::vector<Held> threads;
        for (int i = 0; i < count; ++i) {
            threads.push_back(new_thread());
            threadRun(threads.back().get());
        }
        EXPECT_TRUE(threads_finished());
        CloseHandle(s_all_started);
        g_body = nullptr;
        g_seen.clear();
    }
    static std::vector<RunSeen> seen()
    {
        EnterCriticalSection(&g_seen_lock);
        std::vector<RunSeen> copy = g_seen;
        LeaveCriticalSection(&g_seen_lock);
        return copy;
    }

    static inline ClassHolder s_holder;
    static inline ClassRecord* s_thread_class = nullptr;
    static inline ClassRecord* s_semaphore_class = nullptr;
    static inline ClassRecord* s_section_class = nullptr;
    static inline ClassRecord* s_plain_class = nullptr;
};

TEST_F(Threads, StackSizesOfZeroOrLessReportTheDefault)
{
    Held thread = new_thread();
    EXPECT_EQ(ThreadGetStackSize(thread.get()), 925696);
    EXPECT_EQ(ThreadGetID(thread.get()), 0);
    const struct {
        i32 set, reads;
    } cases[] = {{0, 925696}, {-7, 925696}, {65536, 65536}, {2 * 1024 * 1024, 2 * 1024 * 1024}};
    for (const auto& c : cases) {
        ThreadSetStackSize(thread.get(), c.set);
        EXPECT_EQ(ThreadGetStackSize(thread.get()), c.reads) << c.set;
    }
    EXPECT_TRUE(nothing_raised());
}

TEST_F(Threads, ANilThreadAssertsAndNilLocksRaise)
{
    {
        AssertionCapture capture;
        EXPECT_EQ(ThreadGetStackSize(nullptr), 0);
        ThreadSetStackSize(nullptr, 4096);
        EXPECT_EQ(ThreadGetID(nullptr), 0);
        threadRun(nullptr);
        ASSERT_EQ(capture.count(), 4u);
        for (const std::string& report : capture.reports())
            EXPECT_NE(report.find("Failure Condition: thread"), std::string::npos) << report;
    }
    EXPECT_EQ(running_thread_count(), 0);
    for (void (*routine)(RuntimeObject*) :
         {&semaphore_signal, &semaphore_release, &criticalsection_enter, &criticalsection_leave})
        routine(nullptr);
    EXPECT_TRUE(raised_count_is(4));
}

TEST_F(Threads, RunFiresOnANewThreadWithItsOwnStackBoundsAndMayRunAgain)
{
    const StackBounds main_bounds = current_stack_bounds();
    Held thread = new_thread();
    ThreadSetStackSize(thread.get(), 262144);
    threadRun(thread.get());
    ASSERT_TRUE(threads_finished());
    EXPECT_EQ(ThreadGetID(thread.get()), 0) << "the record is detached once Run returned";
    EXPECT_EQ(thread.get()->refCount, 1) << "the runtime let go of its count";

    threadRun(thread.get());
    ASSERT_TRUE(threads_finished());
    const std::vector<RunSeen> runs = seen();
    ASSERT_EQ(runs.size(), 2u);
    for (const RunSeen& run : runs) {
        EXPECT_EQ(run.thread, thread.get());
        EXPECT_NE(run.thread_id, GetCurrentThreadId());
        EXPECT_NE(run.id_property, 0) << "ThreadID is set while Run runs";
        EXPECT_EQ(run.record.thread, thread.get());
        EXPECT_EQ(run.record.thread_id, run.thread_id);
        EXPECT_EQ(run.record.stack_top - run.record.stack_limit, 262144u);
        EXPECT_GT(run.local, run.record.stack_limit);
        EXPECT_LT(run.local, run.record.stack_top);
    }
    const StackBounds after = current_stack_bounds();
    EXPECT_EQ(after.top, main_bounds.top) << "each thread keeps its own stack checker";
    EXPECT_EQ(after.limit, main_bounds.limit);
}

TEST_F(Threads, WhileRunningRunIsIgnoredAndStackSizeCannotChange)
{
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    static HANDLE s_go;
    s_go = go;
    g_body = [](RuntimeObject*) { WaitForSingleObject(s_go, 10000); };
    Held thread = new_thread();
    threadRun(thread.get());
    ASSERT_TRUE(wait_until([] { return seen().size() == 1; }));
    EXPECT_NE(ThreadGetID(thread.get()), 0);
    threadRun(thread.get());
    ThreadSetStackSize(thread.get(), 65536);
    EXPECT_TRUE(raised_once(ExceptionClass::ThreadAlreadyRunningException));
    EXPECT_EQ(ThreadGetStackSize(thread.get()), 925696);
    SetEvent(go);
    ASSERT_TRUE(threads_finished());
    EXPECT_EQ(seen().size(), 1u);
    ThreadSetStackSize(thread.get(), 65536);
    EXPECT_EQ(ThreadGetStackSize(thread.get()), 65536);
    EXPECT_TRUE(nothing_raised());
    CloseHandle(go);
}

// Each thread builds, joins, searches and releases strings, and makes and releases objects.
std::atomic<int> g_wrong_results{0};
ClassRecord* g_plain_class = nullptr;

void churn_strings_and_objects(RuntimeObject*)
{
    // Many quick objects: the live list is where unguarded threads collide.
    for (int i = 0; i < 50000; ++i)
        RuntimeUnlockObject(RuntimeNewObject(g_plain_class));
    for (int i = 0; i < 2000; ++i) {
        StringRef a = StringRef::FromCString("thread text ");
        StringRef b = StringRef::FromCString("built concurrently");
        RuntimeString* joined = RuntimeAddString(a.get(), b.get());
        RuntimeString* upper = StringUCase(joined);
        RuntimeLockString(upper);
        if (StringInStrB(1, joined, b.get()) != 13 || text_of(upper) != "THREAD TEXT BUILT CONCURRENTLY")
            ++g_wrong_results;
        RuntimeUnlockString(upper);
        RuntimeUnlockString(upper);
        RuntimeUnlockString(joined);
        RuntimeObject* object = RuntimeNewObject(g_plain_class);
        RuntimeObject* other = RuntimeNewObject(g_plain_class);
        RuntimeLockUnlockObjects(other, object);  // frees object
        RuntimeUnlockObject(other);
        RuntimeUnlockObject(other);
    }
}

TEST_F(Threads, ThreadsBuildAndReleaseStringsAndObjectsConcurrently)
{
    g_plain_class = s_plain_class;
    g_wrong_results = 0;
    std::vector<Held> threads;
    for (int i = 0; i < 4; ++i)
        threads.push_back(new_thread());
    g_body = &churn_strings_and_objects;
    const i32 live_before = live_object_count();
    const i32 memory_before = RuntimeDebugMemoryUsed();
    for (const Held& thread : threads)
        threadRun(thread.get());
    churn_strings_and_objects(nullptr);  // the user-interface thread joins in
    ASSERT_TRUE(threads_finished());
    EXPECT_EQ(seen().size(), 4u);
    EXPECT_EQ(g_wrong_results.load(), 0);
    EXPECT_EQ(live_object_count(), live_before);
    EXPECT_EQ(RuntimeDebugMemoryUsed(), memory_before);
}

// ---- Semaphore and CriticalSection ---------------------------------------------------------

struct LockKind {
    const char* name;
    ClassRecord** object_class;
    void (*acquire)(RuntimeObject*);
    void (*release)(RuntimeObject*);
};

const LockKind* g_lock_kind = nullptr;
RuntimeObject* g_lock = nullptr;
int g_shared_counter = 0;  // deliberately unprotected but by the lock under test
std::atomic<bool> g_waiter_through{false};

void increment_under_lock(RuntimeObject*)
{
    for (int i = 0; i < 300; ++i) {
        g_lock_kind->acquire(g_lock);
        const int read = g_shared_counter;
        SwitchToThread();  // invites another thread in between the read and the write
        g_shared_counter = read + 1;
        g_lock_kind->release(g_lock);
    }
}

void pass_the_lock(RuntimeObject*)
{
    g_lock_kind->acquire(g_lock);
    g_waiter_through = true;
    g_lock_kind->release(g_lock);
}

TEST_F(Threads, SemaphoreAndCriticalSectionAdmitOneHolderAtATime)
{
    const LockKind kinds[] = {
        {"Semaphore", &s_semaphore_class, &semaphore_signal, &semaphore_release},
        {"CriticalSection", &s_section_class, &criticalsection_enter, &criticalsection_leave},
    };
    for (const LockKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        Held lock(RuntimeNewObject(*kind.object_class));
        g_lock_kind = &kind;
        g_lock = lock.get();

        // Held here, the lock keeps another thread waiting until it is given back.
        g_waiter_through = false;
        g_body = &pass_the_lock;
        Held waiter = new_thread();
        kind.acquire(lock.get());
        threadRun(waiter.get());
        Sleep(200);
        EXPECT_FALSE(g_waiter_through.load());
        kind.release(lock.get());
        ASSERT_TRUE(threads_finished());
        EXPECT_TRUE(g_waiter_through.load());

        // No increment is lost between four threads that read, yield and write under it.
        g_shared_counter = 0;
        g_body = &increment_under_lock;
        std::vector<Held> threads;
        for (int i = 0; i < 4; ++i) {
            threads.push_back(new_thread());
            threadRun(threads.back().get());
        }
        ASSERT_TRUE(threads_finished());
        EXPECT_EQ(g_shared_counter, 4 * 300);
    }
}

}  // namespace
}  // namespace qv::test
