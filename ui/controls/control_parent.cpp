// Parent and InitialParent: containment is a matter of peers; the parent of a control is the
// control of the same window whose peer holds this control's peer as a direct child.
#include <utility>

#include "runtime/exceptions/raise_builtin.h"
#include "runtime/strings/string_compare.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/control_routines.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"

using qv::ui::ControlObject;
using qv::ui::SubPane;

extern "C" {

RuntimeObject* ControlParentGetter(RuntimeObject* self, int32_t)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    if (!c || !c->paneInstance || !c->m_view)
        return nullptr;
    for (const qv::ObjectRef& held : qv::ui::window_control_list(c->m_view)) {
        RuntimeObject* control = held.get();
        if (control == self || !qv::ui::is_rect_control(control))
            continue;
        SubPane* pane = qv::ui::control_fields(control)->paneInstance;
        if (pane && pane->Contains(c->paneInstance, false))
            return qv::ObjectRef(held).leak();
    }
    return nullptr;
}

void ControlParentSetter(RuntimeObject* self, int32_t, RuntimeObject* parent)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    if (!c || !c->paneInstance)
        return;
    SubPane* pane = c->paneInstance;
    ControlObject* p = parent && qv::ui::is_control(parent) ? qv::ui::control_fields(parent) : nullptr;
    if (!p || !p->paneInstance) {
        SubPane* top = c->windowRootPeer ? c->windowRootPeer : pane->WindowPane();
        if (top && top != pane && !top->Contains(pane, false))
            pane->Reparent(top);
        if (c->enabled)
            pane->SetState(SubPane::kEnable);
        if (c->visible)
            pane->SetState(SubPane::kShow);
        return;
    }
    if (p->m_view != c->m_view || p->paneInstance->WindowPane() != pane->WindowPane() || parent == self) {
        qv::raise_builtin(qv::ExceptionClass::InvalidParentException);
        return;
    }
    pane->Reparent(p->paneInstance);
    if (c->enabled)
        pane->SetState(p->enabled ? SubPane::kEnable : SubPane::kDisable);
    if (c->visible)
        pane->SetState(p->visible ? SubPane::kShow : SubPane::kHide);
}

void ControlInitialParentSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    if (!c || !c->m_view)
        return;
    for (const qv::ObjectRef& held : qv::ui::window_control_list(c->m_view)) {
        RuntimeObject* control = held.get();
        if (!qv::ui::is_control(control))
            continue;
        if (qv::compare_strings_nocase(qv::StringRef::share(qv::ui::control_fields(control)->name),
                                       qv::StringRef::share(name)) == 0) {
            // The field is a counted pointer of the record: it takes a count of its own.
            qv::ObjectRef::adopt(std::exchange(c->initialParent, qv::ObjectRef(held).leak()));
            return;
        }
    }
}

}  // extern "C"
