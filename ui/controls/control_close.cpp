// Closing a control: its Close event, then its peer and every control inside it (depth first),
// then its entry in the window's map, after which the members of its array close ranks.
#include <utility>

#include "runtime/diagnostics/assertion.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/control_events.h"
#include "ui/controls/control_routines.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"

namespace qv::ui {
namespace {

void set_member_index(RuntimeObject* control, i32 index) { control_fields(control)->index = index; }

// The peer part of closing: focus, Close, then the peer and what lies inside it.
void close_peer(RuntimeObject* self)
{
    ControlObject* c = control_fields(self);
    SubPane* pane = c->paneInstance;
    if (!pane)
        return;
    if (focus_pane() == pane)
        move_focus(nullptr);
    fire_event_guarded(self, kControlClose);
    pane = std::exchange(c->paneInstance, nullptr);
    if (!pane)
        return;  // the Close handler closed it already
    if (!c->m_view)
        assertion_failed("RectControl", 0, "ctl->m_view");
    const std::vector<ObjectRef> inside = contained_controls(c->m_view, pane, false);
    for (const ObjectRef& control : inside)
        ControlClose(control.get());
    forget_focus_peer(c->m_view, pane);
    pane->Unlink();
    delete pane;
}

}  // namespace
}  // namespace qv::ui

extern "C" void ControlClose(RuntimeObject* self)
{
    using namespace qv::ui;
    ControlObject* c = control_or_raise(self);
    if (!c)
        return;
    const qv::ObjectRef held = qv::ObjectRef::share(self);  // the map's count may be the last one
    close_peer(self);
    if (ControlRegistry* registry = controls_of_control(self))
        registry->Remove(self, qv::StringRef::share(c->name), c->index, &set_member_index);
}
