#include "framework/event_loop/periodic_tasks.h"

#include "platform/win32/failed_call.h"
#include "platform/win32/windows_api.h"
#include "runtime/exceptions/callback_guard.h"

#include <vector>

namespace qv {
namespace {

struct PeriodicTask {
    u32 id;
    u32 interval;
    u32 last_run;
    PeriodicAction action;
    void* context;
};

std::vector<PeriodicTask> s_tasks;
u32 s_next_id = 1;
bool s_clock_started = false;
HWND s_timer_window = nullptr;

// A task's action may add or remove tasks: find it again by identifier after it ran.
void run_task_at(size_t index)
{
    const u32 id = s_tasks[index].id;
    s_tasks[index].action(s_tasks[index].context);
    for (PeriodicTask& task : s_tasks) {
        if (task.id == id) {
            task.last_run = runtime_ticks();
            break;
        }
    }
}

LRESULT CALLBACK timer_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_TIMER) {
        guard_callback("periodic task timer", [wparam] {
            for (size_t i = 0; i < s_tasks.size(); ++i) {
                if (s_tasks[i].id == wparam) {
                    run_task_at(i);
                    break;
                }
            }
        });
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

void create_timer_window()
{
    if (s_timer_window)
        return;
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &timer_window_procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"WinTimerClass";
    if (!RegisterClassW(&window_class))
        platform::win32::note_failed_call("RegisterClassW", "WinTimerClass");
    s_timer_window =
        CreateWindowExW(0, L"WinTimerClass", L"", 0, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!s_timer_window)
        platform::win32::note_failed_call("CreateWindowExW", "WinTimerClass");
}

void destroy_timer_window()
{
    if (s_timer_window)
        DestroyWindow(s_timer_window);
    s_timer_window = nullptr;
}

u32 add_periodic_task(u32 interval_ticks, PeriodicAction action, void* context)
{
    if (!action)
        return 0;
    const u32 id = s_next_id++;
    if (s_timer_window) {
        const UINT period = static_cast<UINT>(u64{interval_ticks} * 1000 / 60);
        if (!SetTimer(s_timer_window, id, period ? period : 1, nullptr))
            return 0;
    }
    s_tasks.push_back({id, interval_ticks, runtime_ticks(), action, context});
    return id;
}

void remove_periodic_task(u32 id)
{
    for (size_t i = 0; i < s_tasks.size(); ++i) {
        if (s_tasks[i].id == id) {
            if (s_timer_window)
                KillTimer(s_timer_window, id);
            s_tasks.erase(s_tasks.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void run_due_periodic_tasks()
{
    if (!s_clock_started) {
        s_clock_started = true;
        for (PeriodicTask& task : s_tasks)
            task.last_run = runtime_ticks();
    }
    for (size_t i = s_tasks.size(); i-- > 0;) {
        if (i >= s_tasks.size())
            continue;  // an action removed tasks
        if (runtime_ticks() - s_tasks[i].last_run >= s_tasks[i].interval)
            run_task_at(i);
    }
}

u32 runtime_ticks() { return static_cast<u32>(GetTickCount() * 0.06 + 0.5); }

}  // namespace qv
