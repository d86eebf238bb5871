// Closing a window: the controls' and the window's Close events, then the window lets go of
// everything it holds and its native window is destroyed. Also the close routine image code
// calls and the loop's closing of every remaining window.
#include "framework/application/event_firing.h"
#include "framework/menu_handler_registry.h"
#include "ui/control_registry.h"
#include "ui/controls/control_object.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"
#include "ui/windows/mouse_tracking.h"
#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {

void RuntimeViewWindow::DoClose()
{
    if (m_closing)
        return;
    m_closing = true;
    const ObjectRef held = ObjectRef::share(m_object);  // alive until the end of this, whatever the events release
    RuntimeObject* object = held.get();
    for (const ObjectRef& listed : window_controls(object, false)) {
        RuntimeObject* control = listed.get();
        if (!is_rect_control(control))
            continue;
        SubPane* pane = control_fields(control)->paneInstance;
        if (pane && focus_pane() == pane)
            move_focus(nullptr);
        fire_control_close(control);
    }
    fire_event(object, kWindowClose);
    forget_implicit_window(object);
    if (object) {
        WindowObject* w = window_fields(object);
        delete std::exchange(w->controls, nullptr);
        delete std::exchange(w->mMenuHandlers, nullptr);
    }
    Unlink();
    clear_focus_within(m_window);
    if (m_focus_pane && focus_pane() == m_focus_pane)
        move_focus(nullptr);
    m_focus_pane = nullptr;
    forget_capture(this);
    forget_window_under_mouse(this);
    ReleaseGraphics();
    ReleaseDropTarget();
    Destroy();
}

// Closes every runtime window, the newest first, without asking them.
void close_all_windows()
{
    while (!runtime_windows().empty()) {
        NativeWindow* newest = runtime_windows().front();
        run_guarded([newest] { newest->DoClose(); });
        // A window that failed to leave the list (closed already) must not stop the loop.
        if (!runtime_windows().empty() && runtime_windows().front() == newest)
            runtime_windows().erase(runtime_windows().begin());
    }
}

}  // namespace qv::ui

using namespace qv;
using namespace qv::ui;

extern "C" void RuntimeCloseWindow(RuntimeObject* self)
{
    RuntimeViewWindow* view = view_of(self);
    if (!view || view->closing())
        return;
    if (fire_boolean_event(self, kWindowCancelClose, false))
        return;
    if (RuntimeViewWindow* still = view_of(self))
        still->DoClose();
}
