// Timer on real Win32 timers: single and repeating firings and their order, Enabled, Mode and
// Period changes, Reset, release while armed, and firing inside a tracked popup menu. Times
// are wide bounds for a loaded machine; what the tests pin down is order and counts.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/application/application_object.h"
#include "framework/event_loop/event_loop.h"
#include "framework/startup/windows_startup.h"
#include "framework/timer_rules.h"
#include "framework/timers/timer_class.h"
#include "framework/window_services.h"
#include "platform/win32/windows_api.h"
#include "runtime/definitions/class_registry.h"
#include "tests/support/class_holder.h"
#include "tests/support/value_fixture.h"

namespace qv::test {
namespace {

struct Firing {
    RuntimeObject* timer;
    DWORD at;
    i32 mode;  // as the handler read it
};

std::vector<Firing> g_firings;
std::function<void(RuntimeObject*)> g_after_action;

void record_action(RuntimeObject* self)
{
    g_firings.push_back({self, GetTickCount(), intGetter(self, offsetof(TimerObject, mode))});
    if (g_after_action)
        g_after_action(self);
}

// Dispatches messages until `done` holds or the time is up; true when it holds.
bool pump_until(const std::function<bool()>& done, DWORD timeout_ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= timeout_ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void pump_for(DWORD ms)
{
    pump_until([] { return false; }, ms);
}

class Timers : public ValueTest {
protected:
    static void SetUpTestSuite()
    {
        start_framework_runtime();
        ValueTest::SetUpTestSuite();
        ClassRecord* base = ClassFromDefinition(timer_definition());
        s_plain = base;
        s_with_action = s_holder.make(base, "TestTimer", base->methodCount, base->interfaceCount, 1,
                                      base->staticMethodCount, base->propertyCount, base->instanceSize);
        s_with_action->eventTable[kTimerAction].routine = reinterpret_cast<void*>(&record_action);
    }
    void SetUp() override
    {
        ValueTest::SetUp();
        g_firings.clear();
        g_after_action = nullptr;
    }
    void TearDown() override
    {
        g_after_action = nullptr;
        ValueTest::TearDown();
    }

    static Held new_timer(i32 period, bool with_action = true)
    {
        Held timer(RuntimeNewObject(with_action ? s_with_action : s_plain));
        timerPeriodSetter(timer.get(), period);
        return timer;
    }
    static i32 mode(const Held& timer) { return intGetter(timer.get(), offsetof(TimerObject, mode)); }
    static std::vector<Firing> firings_of(const Held& timer)
    {
        std::vector<Firing> mine;
        for (const Firing& f : g_firings)
            if (f.timer == timer.get())
                mine.push_back(f);
        return mine;
    }
    static size_t count_of(const Held& timer) { return firings_of(timer).size(); }
    static size_t index_of_first(const Held& timer)
    {
        for (size_t i = 0; i < g_firings.size(); ++i)
            if (g_firings[i].timer == timer.get())
                return i;
        return g_firings.size();
    }

    static inline ClassHolder s_holder;
    static inline ClassRecord* s_plain = nullptr;
    static inline ClassRecord* s_with_action = nullptr;
};

TEST_F(Timers, ANewTimerIsOffWithASecondPeriodAndPeriodsBelowOneBecomeOne)
{
    Held timer(RuntimeNewObject(s_with_action));
    EXPECT_EQ(mode(timer), kTimerOff);
    EXPECT_EQ(intGetter(timer.get(), offsetof(TimerObject, period)), 1000);
    EXPECT_EQ(intGetter(timer.get(), offsetof(TimerObject, enabled)), 1);
    EXPECT_NE(timer_window(), nullptr);
    wchar_t class_name[32] = {};
    GetClassNameW(static_cast<HWND>(timer_window()), class_name, 32);
    EXPECT_STREQ(class_name, L"QVTimer");
    EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(timer_window())));
    for (i32 period : {0, -25}) {
        timerPeriodSetter(timer.get(), period);
        EXPECT_EQ(intGetter(timer.get(), offsetof(TimerObject, period)), 1) << period;
    }
}

TEST_F(Timers, ASingleTimerFiresOnceAfterItsPeriodAndReadsModeZero)
{
    Held timer = new_timer(500);
    const DWORD armed_at = GetTickCount();
    timerModeSetter(timer.get(), kTimerSingle);
    ASSERT_TRUE(pump_until([&] { return count_of(timer) >= 1; }, 5000));
    EXPECT_GE(g_firings[0].at - armed_at, 450u);
    EXPECT_EQ(g_firings[0].mode, kTimerOff) << "Mode is 0 already inside Action";
    EXPECT_EQ(mode(timer), kTimerOff);
    pump_for(700);
    EXPECT_EQ(count_of(timer), 1u);
}

TEST_F(Timers, TimersFireInTheOrderOfTheirPeriods)
{
    Held fast = new_timer(40), early = new_timer(300), late = new_timer(700);
    timerModeSetter(late.get(), kTimerSingle);
    timerModeSetter(fast.get(), kTimerMultiple);
    timerModeSetter(early.get(), kTimerSingle);
    ASSERT_TRUE(pump_until([&] { return count_of(late) >= 1; }, 5000));
    EXPECT_EQ(count_of(early), 1u);
    EXPECT_LT(index_of_first(early), index_of_first(late));
    EXPECT_GE(index_of_first(early), 3u) << "the 40 ms timer fired several times before the 300 ms one";
    for (const Firing& f : firings_of(fast))
        EXPECT_EQ(f.mode, kTimerMultiple);
    EXPECT_EQ(mode(fast), kTimerMultiple);

    timerModeSetter(fast.get(), kTimerOff);
    const size_t stopped_at = count_of(fast);
    pump_for(300);
    EXPECT_EQ(count_of(fast), stopped_at);
    EXPECT_EQ(count_of(early), 1u);
    EXPECT_EQ(count_of(late), 1u);
}

TEST_F(Timers, DisabledFiringsAreIgnoredAndTheTimerFiresAgainWhenEnabled)
{
    Held timer = new_timer(40);
    timerModeSetter(timer.get(), kTimerMultiple);
    ASSERT_TRUE(pump_until([&] { return count_of(timer) >= 2; }, 3000));
    intSetter(timer.get(), offsetof(TimerObject, enabled), 0);
    const size_t before = count_of(timer);
    pump_for(400);
    EXPECT_EQ(count_of(timer), before);
    EXPECT_EQ(mode(timer), kTimerMultiple);
    // Nothing re-arms the timer here: the Win32 timer was never killed.
    intSetter(timer.get(), offsetof(TimerObject, enabled), 1);
    EXPECT_TRUE(pump_until([&] { return count_of(timer) > before + 1; }, 3000));

    // A disabled single timer stays armed and fires once enabled.
    Held single = new_timer(60);
    intSetter(single.get(), offsetof(TimerObject, enabled), 0);
    timerModeSetter(single.get(), kTimerSingle);
    pump_for(300);
    EXPECT_EQ(count_of(single), 0u);
    EXPECT_EQ(mode(single), kTimerSingle);
    intSetter(single.get(), offsetof(TimerObject, enabled), 1);
    EXPECT_TRUE(pump_until([&] { return count_of(single) == 1; }, 3000));
    EXPECT_EQ(mode(single), kTimerOff);
}

TEST_F(Timers, ModeChangesStopRestartAndTurnARepeatingTimerIntoASingleOne)
{
    Held timer = new_timer(40);
    timerModeSetter(timer.get(), kTimerMultiple);
    ASSERT_TRUE(pump_until([&] { return count_of(timer) >= 2; }, 3000));
    timerModeSetter(timer.get(), kTimerOff);
    const size_t stopped = count_of(timer);
    pump_for(300);
    EXPECT_EQ(count_of(timer), stopped);

    timerModeSetter(timer.get(), kTimerMultiple);
    ASSERT_TRUE(pump_until([&] { return count_of(timer) >= stopped + 2; }, 3000));
    timerModeSetter(timer.get(), kTimerSingle);
    const size_t switched = count_of(timer);
    ASSERT_TRUE(pump_until([&] { return count_of(timer) > switched; }, 3000));
    pump_for(300);
    EXPECT_EQ(count_of(timer), switched + 1);
    EXPECT_EQ(mode(timer), kTimerOff);
}

TEST_F(Timers, ShorteningTheOverduePeriodOfASingleTimerFiresItAtOnce)
{
    Held timer = new_timer(1000);
    timerModeSetter(timer.get(), kTimerSingle);
    pump_for(600);
    ASSERT_EQ(count_of(timer), 0u);
    const DWORD changed_at = GetTickCount();
    timerPeriodSetter(timer.get(), 400);  // 200 ms overdue
    ASSERT_TRUE(pump_until([&] { return count_of(timer) == 1; }, 3000));
    EXPECT_LT(g_firings[0].at - changed_at, 250u) << "fired after a new period instead of at once";
    pump_for(300);
    EXPECT_EQ(count_of(timer), 1u);
}

TEST_F(Timers, APeriodChangeCountsFromTheLastResetWhileResetAloneMovesNothing)
{
    // Reset does not touch the Win32 timer: the firing stays where the arming put it.
    Held kept = new_timer(800);
    const DWORD armed_at = GetTickCount();
    timerModeSetter(kept.get(), kTimerSingle);
    pump_for(400);
    RuntimeTimerReset(kept.get());
    ASSERT_TRUE(pump_until([&] { return count_of(kept) == 1; }, 5000));
    EXPECT_LT(g_firings[0].at - armed_at, 1100u) << "Reset postponed the firing";

    // After a Reset 600 ms in, a change to 500 leaves about 500 ms, where without it the timer
    // would be overdue and fire at once.
    Held timer = new_timer(1000);
    timerModeSetter(timer.get(), kTimerSingle);
    pump_for(600);
    RuntimeTimerReset(timer.get());
    const DWORD changed_at = GetTickCount();
    timerPeriodSetter(timer.get(), 500);
    ASSERT_TRUE(pump_until([&] { return count_of(timer) == 1; }, 5000));
    EXPECT_GE(firings_of(timer)[0].at - changed_at, 350u);
}

// KillTimer tells whether the Win32 timer was still set.
bool win32_timer_was_set(const Held& timer)
{
    return KillTimer(static_cast<HWND>(timer_window()), reinterpret_cast<UINT_PTR>(timer.get())) != FALSE;
}

TEST_F(Timers, ARepeatingTimerWithoutActionIsKilledAtItsFirstFiringButKeepsItsMode)
{
    Held silent = new_timer(30, false), disabled = new_timer(30, false);
    intSetter(disabled.get(), offsetof(TimerObject, enabled), 0);
    timerModeSetter(silent.get(), kTimerMultiple);
    timerModeSetter(disabled.get(), kTimerMultiple);
    pump_for(200);
    EXPECT_EQ(mode(silent), kTimerMultiple);
    EXPECT_FALSE(win32_timer_was_set(silent));
    EXPECT_TRUE(win32_timer_was_set(disabled)) << "a disabled firing must leave the Win32 timer set";
}

TEST_F(Timers, ATimerReleasedWhileArmedOrFromItsOwnActionFiresNoMore)
{
    {
        Held doomed = new_timer(30);
        timerModeSetter(doomed.get(), kTimerMultiple);
        ASSERT_TRUE(pump_until([&] { return g_firings.size() >= 1; }, 3000));
    }
    const size_t after_release = g_firings.size();
    pump_for(200);
    EXPECT_EQ(g_firings.size(), after_release);

    // The handler lets go of the last count on its own timer.
    RuntimeObject* self_releasing = RuntimeNewObject(s_with_action);
    timerPeriodSetter(self_releasing, 30);
    timerModeSetter(self_releasing, kTimerMultiple);
    g_after_action = [](RuntimeObject* self) {
        g_after_action = nullptr;
        RuntimeUnlockObject(self);
    };
    ASSERT_TRUE(pump_until([&] { return g_firings.size() > after_release; }, 3000));
    pump_for(200);
    EXPECT_EQ(g_firings.size(), after_release + 1);
}

// Ends the loop should the timer never fire, so that the test fails rather than waits forever.
void CALLBACK loop_watchdog(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    gQuitRequested = true;
}

TEST_F(Timers, TheEventLoopDeliversFiringsUntilAnActionEndsIt)
{
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, &loop_watchdog);
    ASSERT_NE(watchdog, 0u);
    // One pretend runtime window keeps the loop from ending for want of windows.
    WindowServices services;
    services.window_count = [] { return 1; };
    window_services_seam().install(services);
    gQuitRequested = false;
    Held timer = new_timer(30);
    g_after_action = [](RuntimeObject*) {
        if (g_firings.size() == 3)
            gQuitRequested = true;
    };
    timerModeSetter(timer.get(), kTimerMultiple);
    const DWORD start = GetTickCount();
    run_event_loop();  // blocks in GetMessage: only the timer (or the watchdog) can wake it
    KillTimer(nullptr, watchdog);
    services.window_count = [] { return 0; };
    window_services_seam().install(services);
    gQuitRequested = false;
    EXPECT_EQ(count_of(timer), 3u);
    EXPECT_LT(GetTickCount() - start, 5000u);
}

// ---- Inside a system modal loop ------------------------------------------------------------

bool g_in_menu_loop = false;
bool g_watchdog_fired = false;
int g_firings_in_menu = 0;

LRESULT CALLBACK owner_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_ENTERMENULOOP)
        g_in_menu_loop = true;
    else if (message == WM_EXITMENULOOP)
        g_in_menu_loop = false;
    return DefWindowProcW(window, message, wparam, lparam);
}

void CALLBACK watchdog(HWND, UINT, UINT_PTR, DWORD)
{
    g_watchdog_fired = true;
    EndMenu();
}

TEST_F(Timers, ARepeatingTimerKeepsFiringWhileAPopupMenuIsTracked)
{
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &owner_procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"QVTimerTestOwner";
    RegisterClassW(&window_class);
    HWND owner = CreateWindowExW(0, L"QVTimerTestOwner", L"Timer owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                                 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    SetForegroundWindow(owner);
    pump_for(100);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"First");
    AppendMenuW(menu, MF_STRING, 2, L"Second");

    Held timer = new_timer(40);
    g_firings_in_menu = 0;
    g_watchdog_fired = false;
    g_after_action = [](RuntimeObject*) {
        if (g_in_menu_loop && ++g_firings_in_menu == 5)
            EndMenu();
    };
    timerModeSetter(timer.get(), kTimerMultiple);
    SetTimer(owner, 1, 8000, &watchdog);  // ends the menu should the timer never fire in it
    TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN, 100, 100, 0, owner, nullptr);
    KillTimer(owner, 1);
    timerModeSetter(timer.get(), kTimerOff);

    EXPECT_FALSE(g_watchdog_fired) << g_firings_in_menu << " firing(s) inside the menu loop";
    EXPECT_EQ(g_firings_in_menu, 5);
    EXPECT_FALSE(g_in_menu_loop);
    DestroyMenu(menu);
    DestroyWindow(owner);
    pump_for(50);
}

}  // namespace
}  // namespace qv::test
