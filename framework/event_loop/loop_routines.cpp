#include "framework/event_loop/loop_routines.h"

#include "platform/win32/windows_api.h"

#include "framework/event_loop/event_loop.h"
#include "framework/event_loop/periodic_tasks.h"
#include "framework/event_loop/socket_service.h"

namespace qv {
namespace {

DWORD s_last_background_tick = 0;
i32 s_wait_cursor_disabled = 0;  // no wait cursor is ever shown here; the count is kept

const ProvidedRoutine kRoutines[] = {
    QV_PROVIDED(RuntimeBackgroundTask), QV_PROVIDED(QuavYieldToQV),    QV_PROVIDED(RuntimeTicks),
    QV_PROVIDED(RuntimeMicroseconds),   QV_PROVIDED(RuntimeBeep),      QV_PROVIDED(DisableAutoWaitCursor),
    QV_PROVIDED(EnableAutoWaitCursor),  QV_PROVIDED(getUserCancelled),
};

bool key_down(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

}  // namespace

std::span<const ProvidedRoutine> loop_routines() { return kRoutines; }

}  // namespace qv

extern "C" {

// Cheap enough for tight loops: nothing happens until the millisecond clock moves. Never
// dispatches messages, so image code cannot be re-entered from here.
void RuntimeBackgroundTask(void)
{
    const DWORD now = GetTickCount();
    if (now == qv::s_last_background_tick)
        return;
    qv::s_last_background_tick = now;
    qv::run_due_periodic_tasks();
    qv::sample_user_cancelled();
    // A debugged program busy in a long loop still answers its debugger, and Ctrl+C held
    // down stops it at its next line.
    qv::poll_served_socket();
    if (qv::key_down(VK_CONTROL) && qv::key_down('C'))
        qv::request_served_socket_break();
}

void QuavYieldToQV(void) { qv::run_due_periodic_tasks(); }

int32_t RuntimeTicks(void) { return static_cast<int32_t>(qv::runtime_ticks()); }

double RuntimeMicroseconds(void) { return GetTickCount() * 1000.0; }

void RuntimeBeep(void) { MessageBeep(0); }

void DisableAutoWaitCursor(void) { ++qv::s_wait_cursor_disabled; }
void EnableAutoWaitCursor(void) { --qv::s_wait_cursor_disabled; }

int32_t getUserCancelled(void) { return qv::user_cancelled(); }

}  // extern "C"
