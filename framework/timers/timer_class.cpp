#include "framework/timers/timer_class.h"

#include "core/once.h"
#include "framework/application/event_firing.h"
#include "framework/timer_rules.h"
#include "platform/win32/failed_call.h"
#include "platform/win32/windows_api.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/exceptions/callback_guard.h"
#include "runtime/objects/exception_foundation.h"

namespace qv {
namespace {

// clang-format off
const PropertyRecord kProperties[] = {
    {kPropertySetterWithoutParameter, "Mode", &kIntegerType, QV_ROUTINE(intGetter), QV_ROUTINE(timerModeSetter), offsetof(TimerObject, mode), 0},
    {kPropertySetterWithoutParameter, "Period", &kIntegerType, QV_ROUTINE(intGetter), QV_ROUTINE(timerPeriodSetter), offsetof(TimerObject, period),
     0},
    {0, "Enabled", &kBooleanType, QV_ROUTINE(intGetter), QV_ROUTINE(intSetter), offsetof(TimerObject, enabled), 0},
};
const MethodRecord kMethods[] = {
    {"Reset", nullptr, nullptr, 0, QV_ROUTINE(RuntimeTimerReset), nullptr, nullptr, 0},
};
const EventRecord kEvents[] = {{"Action", nullptr, nullptr, 0}};
// clang-format on

const ClassTables kTables[] = {{kProperties, kMethods}};

ObjectDefinition s_timer;
HWND s_window = nullptr;
TimerObject* s_timers = nullptr;

TimerObject* fields(RuntimeObject* object) { return reinterpret_cast<TimerObject*>(object); }
UINT_PTR timer_id(TimerObject* timer) { return reinterpret_cast<UINT_PTR>(timer); }

void CALLBACK timer_procedure(HWND window, UINT message, UINT_PTR id, DWORD time);

void create_window()
{
    if (s_window)
        return;
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"QVTimer";
    if (!RegisterClassW(&window_class))
        platform::win32::note_failed_call("RegisterClassW", "QVTimer");
    s_window = CreateWindowExW(0, L"QVTimer", L"", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!s_window)
        platform::win32::note_failed_call("CreateWindowExW", "QVTimer");
}

void set_win32_timer(TimerObject* timer, i32 delay)
{
    SetTimer(s_window, timer_id(timer), static_cast<UINT>(delay), &timer_procedure);
}

void kill_win32_timer(TimerObject* timer) { KillTimer(s_window, timer_id(timer)); }

bool is_live_timer(TimerObject* candidate)
{
    for (TimerObject* timer = s_timers; timer; timer = timer->next_timer)
        if (timer == candidate)
            return true;
    return false;
}

// Action runs guarded: inside a system modal loop the frames between here and the event
// loop's own guard belong to the system and carry no landing records.
void fire_action(TimerObject* timer)
{
    RuntimeObject* object = &timer->header;
    run_guarded([object] { fire_event(object, kTimerAction); });
}

void fire_timer(UINT_PTR id, DWORD time)
{
    auto* timer = reinterpret_cast<TimerObject*>(id);
    if (!is_live_timer(timer)) {
        KillTimer(s_window, id);  // a message that outlived its timer
        return;
    }
    if (!timer->enabled)
        return;
    kill_win32_timer(timer);
    // The handler may let go of the last count on its timer: hold one until the firing is over.
    RuntimeLockObject(&timer->header);
    if (timer->mode != kTimerMultiple) {
        timer->armed = 0;
        timer->mode = kTimerOff;
        if (event_implemented(&timer->header, kTimerAction))
            fire_action(timer);
    } else {
        if (event_implemented(&timer->header, kTimerAction)) {
            set_win32_timer(timer, timer->period);
            fire_action(timer);
        }
        timer->last_time = millisecond_clock(time);
    }
    RuntimeUnlockObject(&timer->header);
}

void CALLBACK timer_procedure(HWND, UINT, UINT_PTR id, DWORD time)
{
    guard_callback("timer procedure", [id, time] { fire_timer(id, time); });
}

void initialize_timer(RuntimeObject* object)
{
    create_window();
    TimerObject* timer = fields(object);
    timer->period = kDefaultTimerPeriod;
    timer->enabled = 1;
    timer->next_timer = s_timers;
    s_timers = timer;
}

void finalize_timer(RuntimeObject* object)
{
    TimerObject* timer = fields(object);
    for (TimerObject** link = &s_timers; *link; link = &(*link)->next_timer) {
        if (*link == timer) {
            *link = timer->next_timer;
            break;
        }
    }
    timer->next_timer = nullptr;
    if (timer->armed)
        kill_win32_timer(timer);
}

void ensure_built()
{
    static Once s_once;
    s_once([&] {
        DefinitionSource source{};
        source.name = "Timer";
        source.instance_size = sizeof(TimerObject);
        source.properties = kProperties;
        source.methods = kMethods;
        source.events = kEvents;
        source.initializer = &initialize_timer;
        source.finalizer = &finalize_timer;
        build_definition(s_timer, source);
    });
}

TimerObject* timer_or_raise(RuntimeObject* self)
{
    if (!self)
        RaiseNilObject();
    return self ? fields(self) : nullptr;
}

}  // namespace

void register_timer_classes()
{
    static Once s_once;
    s_once([&] { RegisterDefinition(timer_definition()); });
}

ObjectDefinition* timer_definition()
{
    ensure_built();
    return &s_timer;
}

ClassTableList timer_class_tables() { return kTables; }

void* timer_window() { return s_window; }

i32 timer_clock_now() { return millisecond_clock(GetTickCount()); }

}  // namespace qv

using namespace qv;

extern "C" {

void timerModeSetter(RuntimeObject* self, int32_t mode)
{
    TimerObject* timer = timer_or_raise(self);
    if (!timer)
        return;
    timer->mode = mode;
    timer->last_time = timer_clock_now();
    if (mode != kTimerOff) {
        timer->armed = 1;
        set_win32_timer(timer, timer->period);
    } else if (timer->armed) {
        kill_win32_timer(timer);  // armed stays set: destruction kills once more, harmlessly
    }
}

void timerPeriodSetter(RuntimeObject* self, int32_t period)
{
    TimerObject* timer = timer_or_raise(self);
    if (!timer)
        return;
    timer->period = clamp_timer_period(period);
    if (timer->mode == kTimerOff)
        return;
    i32 delay = timer->period;
    if (timer->armed) {
        const TimerRearm rearm =
            rearm_after_period_change(timer->mode, timer->period, timer->last_time, timer_clock_now());
        if (rearm.kill_first)
            kill_win32_timer(timer);
        delay = rearm.delay;
    }
    set_win32_timer(timer, delay);
}

void RuntimeTimerReset(RuntimeObject* self)
{
    if (TimerObject* timer = timer_or_raise(self))
        timer->last_time = timer_clock_now();
}

}  // extern "C"
