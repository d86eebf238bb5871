#include "framework/event_loop/event_loop.h"

#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/event_loop/key_pretranslation.h"
#include "framework/event_loop/periodic_tasks.h"
#include "framework/event_loop/socket_service.h"
#include "framework/window_services.h"

namespace qv {
namespace {

MSG s_current{};
HWND s_mdi_client = nullptr;
bool s_user_cancelled = false;

// Fetches one message and dispatches it unless the pre-translation took it. False when there
// was nothing to do (polling found no message) or the quit message arrived.
void fetch_and_dispatch()
{
    const WindowServices& windows = window_services();
    MSG message;
    if (windows.capture_active()) {
        windows.track_mouse();
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            return;
    } else {
        // Outside MDI mode a program whose last window has gone has nothing left to wait for.
        if (!s_mdi_client && windows.window_count() == 0) {
            gQuitRequested = true;
            return;
        }
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            gQuitRequested = true;
            return;
        }
        windows.track_mouse();
    }
    if (pretranslate_message(message))
        return;
    if (s_mdi_client && TranslateMDISysAccel(s_mdi_client, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void loop_iteration()
{
    const WindowServices& windows = window_services();
    windows.deliver_drops();
    windows.apply_pending_layout();
    fetch_and_dispatch();
    if (gQuitRequested)
        return;
    windows.focus_idle();
    s_user_cancelled = false;
    if (!s_mdi_client && windows.window_count() == 0)
        gQuitRequested = true;
    run_due_periodic_tasks();
    poll_served_socket();
}

}  // namespace

void run_guarded_loop_iteration()
{
    RunGuarded([](void*) { loop_iteration(); }, nullptr);
}

void run_event_loop()
{
    while (!gQuitRequested)
        run_guarded_loop_iteration();
    window_services().close_all_windows();
}

const MSG& current_message() { return s_current; }

void record_current_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    s_current.hwnd = window;
    s_current.message = message;
    s_current.wParam = wparam;
    s_current.lParam = lparam;
    s_current.time = static_cast<DWORD>(GetMessageTime());
    GetCursorPos(&s_current.pt);
}

void set_mdi_client(HWND client) { s_mdi_client = client; }
HWND mdi_client() { return s_mdi_client; }

bool user_cancelled() { return s_user_cancelled; }
void sample_user_cancelled() { s_user_cancelled = platform::win32::key_held(VK_ESCAPE); }

}  // namespace qv
