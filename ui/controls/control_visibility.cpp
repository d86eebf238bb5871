// Visible and Enabled: a container passes its state on to what it contains, without touching
// their own settings, so showing it again restores each to its own.
#include "ui/controls/control_routines.h"
#include "ui/controls/sub_pane.h"

using qv::ui::ControlObject;
using qv::ui::SubPane;

namespace {

void apply(RuntimeObject* self, int32_t value, u8 ControlObject::*field, i32 on_state, i32 off_state)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    if (!c)
        return;
    const bool on = (value & 0xFF) != 0;
    c->*field = on;
    if (!c->paneInstance)
        return;
    c->paneInstance->SetState(on ? on_state : off_state);
    if (!c->m_view)
        return;
    for (const qv::ObjectRef& control : qv::ui::contained_controls(c->m_view, c->paneInstance, true)) {
        ControlObject* inner = qv::ui::control_fields(control.get());
        if (inner->paneInstance)
            inner->paneInstance->SetState(on && inner->*field ? on_state : off_state);
    }
}

}  // namespace

extern "C" {

int32_t controlVisibleGetter(RuntimeObject* self, int32_t)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    return c && c->visible;
}

void ControlVisibleSetter(RuntimeObject* self, int32_t, int32_t on)
{
    apply(self, on, &ControlObject::visible, SubPane::kShow, SubPane::kHide);
}

int32_t controlEnabledGetter(RuntimeObject* self, int32_t)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    return c && c->enabled;
}

void controlEnabledSetter(RuntimeObject* self, int32_t, int32_t on)
{
    apply(self, on, &ControlObject::enabled, SubPane::kEnable, SubPane::kDisable);
}

}  // extern "C"
