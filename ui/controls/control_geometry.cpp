// Left, Top, Width and Height of a control: a move carries the controls inside it along.
#include "ui/controls/control_routines.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"

using qv::ui::ControlBounds;
using qv::ui::ControlObject;

namespace {

i16 clamp16(int32_t value) { return static_cast<i16>(value < -32768 ? -32768 : value > 32767 ? 32767 : value); }

void shift(ControlBounds& b, int32_t dx, int32_t dy)
{
    b.left = clamp16(b.left + dx);
    b.right = clamp16(b.right + dx);
    b.top = clamp16(b.top + dy);
    b.bottom = clamp16(b.bottom + dy);
}

}  // namespace

extern "C" {

int32_t ctlPosGetter(RuntimeObject* self, int32_t param)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    if (!c)
        return 0;
    const ControlBounds& b = c->bounds;
    switch (param) {
    case 0: return b.left;
    case 1: return b.top;
    case 2: return b.right - b.left;
    case 3: return b.bottom - b.top;
    default: return 0;
    }
}

void ctlPosSetter(RuntimeObject* self, int32_t param, int32_t value)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    if (!c)
        return;
    const ControlBounds old = c->bounds;
    ControlBounds b = old;
    switch (param) {
    case 0: shift(b, value - b.left, 0); break;
    case 1: shift(b, 0, value - b.top); break;
    case 2: b.right = clamp16(b.left + value); break;
    case 3: b.bottom = clamp16(b.top + value); break;
    default: return;
    }
    c->bounds = b;
    if (b == old)
        return;
    // The container's peer moves first: the peers inside are placed relative to it.
    if (c->paneInstance)
        c->paneInstance->SetBounds(b, true);
    const int32_t dx = b.left - old.left;
    const int32_t dy = b.top - old.top;
    if ((dx || dy) && c->paneInstance && c->m_view) {
        for (const qv::ObjectRef& control : qv::ui::contained_controls(c->m_view, c->paneInstance, true)) {
            ControlBounds moved = qv::ui::control_fields(control.get())->bounds;
            shift(moved, dx, dy);
            qv::ui::set_control_bounds(control.get(), moved);
        }
    }
}

}  // extern "C"
