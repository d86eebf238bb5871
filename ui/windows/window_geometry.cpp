// A window's position and size: Left, Top, Width and Height, the Lock rule that makes its
// controls follow a resize, and moving the native window for new bounds.
#include "framework/application/event_firing.h"
#include "framework/event_loop/event_loop.h"
#include "ui/controls/control_object.h"
#include "ui/controls/window_controls.h"
#include "ui/windows/runtime_view_window.h"

namespace qv::ui {
namespace {

ContentSize size_of(const ControlBounds& b) { return {b.right - b.left, b.bottom - b.top}; }

// Frames 3 and 7 carry the small caption.
bool has_small_caption(i32 frame) { return frame == 3 || frame == 7; }

// Moves the native window at once for the stored bounds: the content grown by the frame, the
// caption and (outside MDI mode) the menu bar.
void move_native_now(RuntimeObject* window, RuntimeViewWindow* view)
{
    const WindowObject* w = window_fields(window);
    const SIZE border = frame_border(w->growIcon != 0);
    const i32 caption = GetSystemMetrics(has_small_caption(w->frame) ? SM_CYSMCAPTION : SM_CYCAPTION);
    const i32 menu = !view->is_mdi_child() && GetMenu(view->handle()) ? GetSystemMetrics(SM_CYMENU) : 0;
    const RECT c = rect_of(w->bounds);
    MoveWindow(view->handle(), c.left - border.cx, c.top - border.cy - caption - menu, c.right - c.left + 2 * border.cx,
               c.bottom - c.top + 2 * border.cy + caption + menu, TRUE);
}

}  // namespace

void layout_controls(RuntimeObject* window)
{
    WindowObject* w = window_fields(window);
    LayoutSize layout(size_of(w->layoutBounds));
    const LayoutSize::Change change = layout.resize_to(size_of(w->bounds));
    w->layoutBounds = w->bounds;
    if (change.dh == 0 && change.dv == 0)
        return;
    for (const ObjectRef& held : window_controls(window, true)) {
        RuntimeObject* control = held.get();
        const ControlObject* c = control_fields(control);
        const ControlLocks locks{c->lockLeft != 0, c->lockTop != 0, c->lockRight != 0, c->lockBottom != 0};
        if (follows_resize(locks))
            set_control_bounds(control, bounds_after_resize(c->bounds, locks, change.dh, change.dv));
    }
}

void NativeWindow::ApplyPendingGeometry(const RECT& wanted)
{
    if (!m_window || m_closing)
        return;
    RECT now = NativeContentRect();
    if ((m_pending_move || m_pending_resize) && !EqualRect(&now, &wanted)) {
        MoveContentTo(wanted);
        now = NativeContentRect();
    }
    // Read after the move: a WM_SIZE it caused has already refreshed the cache and fired.
    const RECT before = m_content;
    m_content = now;
    const bool moved = before.left != now.left || before.top != now.top;
    const bool resized =
        before.right - before.left != now.right - now.left || before.bottom - before.top != now.bottom - now.top;
    // A change nobody asked for is the user's, and is always reported.
    const bool notify_move = m_notify_move || !m_pending_move;
    const bool notify_resize = m_notify_resize || !m_pending_resize;
    m_pending_move = m_notify_move = m_pending_resize = m_notify_resize = false;
    NativeWindow* self = this;
    if (moved && notify_move)
        run_guarded([self] { self->DoMoved(); });
    if (resized && notify_resize && !m_closing)
        run_guarded([self] { self->DoResized(); });
}

}  // namespace qv::ui

using namespace qv::ui;

extern "C" {

int32_t windowPosGetter(RuntimeObject* self, int32_t selector)
{
    if (!self)
        return 0;
    const ControlBounds& b = window_fields(self)->bounds;
    switch (selector) {
    case 0: return b.left;
    case 1: return b.top;
    case 2: return b.right - b.left;
    case 3: return b.bottom - b.top;
    default: return 0;
    }
}

void windowPosSetter(RuntimeObject* self, int32_t selector, int32_t value)
{
    if (!self)
        return;
    WindowObject* w = window_fields(self);
    if (w->fullScreen)
        return;
    ControlBounds& b = w->bounds;
    const i16 v = static_cast<i16>(value);
    switch (selector) {
    case 0:
        b.right = static_cast<i16>(b.right + v - b.left);
        b.left = v;
        break;
    case 1:
        b.bottom = static_cast<i16>(b.bottom + v - b.top);
        b.top = v;
        break;
    case 2: b.right = static_cast<i16>(b.left + v); break;
    case 3: b.bottom = static_cast<i16>(b.top + v); break;
    default: return;
    }
    RuntimeViewWindow* view = view_of(self);
    if (!view)
        return;
    if (selector < 2)
        view->RequestMove(true);
    else
        view->RequestResize(true);
    if (w->placement != 0) {
        view->ApplyPendingGeometry(rect_of(b));
        return;
    }
    // Frames 2 and 4 wait for the loop's next iteration.
    if (w->frame != 2 && w->frame != 4)
        move_native_now(self, view);
}

}  // extern "C"
