// The event loop on a real message queue: periodic tasks driven by the loop and by their
// timers, the quit flag ending the loop, and the tick clock.
#include <gtest/gtest.h>

#include "framework/application/application_object.h"
#include "framework/event_loop/event_loop.h"
#include "framework/event_loop/loop_routines.h"
#include "framework/event_loop/periodic_tasks.h"
#include "framework/event_loop/runtime_windows.h"
#include "framework/startup/windows_startup.h"
#include "framework/window_services.h"
#include "platform/win32/windows_api.h"

namespace qv {
namespace {

int g_runs = 0;
int g_quit_after = 0;

void count_run(void*)
{
    ++g_runs;
    if (g_quit_after && g_runs >= g_quit_after)
        gQuitRequested = true;
}

class EventLoop : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        start_framework_runtime();
        create_timer_window();
    }
    void SetUp() override
    {
        g_runs = 0;
        g_quit_after = 0;
        gQuitRequested = false;
        // One pretend runtime window keeps the loop from ending for want of windows.
        WindowServices services;
        services.window_count = [] { return 1; };
        window_services_seam().install(services);
    }
    void TearDown() override
    {
        WindowServices services;
        services.window_count = [] { return 0; };
        window_services_seam().install(services);
        gQuitRequested = false;
    }
};

TEST_F(EventLoop, PeriodicTasksRunFromTheirTimersUntilATaskEndsTheLoop)
{
    // Nothing is posted: only the task's Win32 timer wakes the blocked GetMessage.
    g_quit_after = 3;
    const u32 id = add_periodic_task(1, &count_run, nullptr);
    ASSERT_NE(id, 0u);
    const DWORD start = GetTickCount();
    run_event_loop();
    remove_periodic_task(id);
    EXPECT_GE(g_runs, 3);
    EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST_F(EventLoop, ARemovedTaskNoLongerRuns)
{
    const u32 id = add_periodic_task(1, &count_run, nullptr);
    remove_periodic_task(id);
    Sleep(40);
    run_due_periodic_tasks();
    EXPECT_EQ(g_runs, 0);
}

TEST_F(EventLoop, WithoutRuntimeWindowsTheLoopEndsAtOnce)
{
    WindowServices services;
    services.window_count = [] { return 0; };
    window_services_seam().install(services);
    run_event_loop();  // would block in GetMessage if it waited
    EXPECT_TRUE(gQuitRequested);
}

TEST_F(EventLoop, TheQuitMessageEndsTheLoop)
{
    PostQuitMessage(0);
    run_event_loop();
    EXPECT_TRUE(gQuitRequested);
}

TEST_F(EventLoop, TicksAreSixtiethsOfASecond)
{
    const double expected = GetTickCount() * 0.06;
    EXPECT_NEAR(RuntimeTicks(), expected, 2.0);
    EXPECT_NEAR(RuntimeMicroseconds(), GetTickCount() * 1000.0, 20000.0);
}

}  // namespace
}  // namespace qv
