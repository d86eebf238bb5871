// The methods every RectControl has: refresh, menu handlers, the constructor, and drops.
#include "framework/menu_handler_registry.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/control_routines.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_access.h"
#include "ui/drag_drop/drag_item.h"

using qv::ui::ControlObject;

extern "C" {

// Everything is set up by CreatePane and the mass property table.
void RectControlDefaultConstructor(RuntimeObject*) { }

void RuntimeControlRefresh(RuntimeObject* self)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    if (!c || !c->visible || !c->paneInstance || !c->paneInstance->handle() ||
        !IsWindowVisible(c->paneInstance->handle()))
        return;
    c->paneInstance->Invalidate(true);
    c->paneInstance->UpdateNow();
}

void RuntimeControlRefreshRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    if (!c || !c->paneInstance)
        return;
    const RECT area{c->bounds.left + x, c->bounds.top + y, c->bounds.left + x + width, c->bounds.top + y + height};
    c->paneInstance->InvalidateRect(area, true);
    c->paneInstance->UpdateNow();
}

void ControlAddMenuHandler(RuntimeObject* self, RuntimeString* name, RuntimeObject* handler)
{
    if (!self) {
        qv::assertion_failed("RectControl", 0, "self");
        return;
    }
    if (!name) {
        qv::assertion_failed("RectControl", 0, "name");
        return;
    }
    if (!handler)
        return;
    ControlObject* c = qv::ui::control_fields(self);
    if (!c->mMenuHandlers)
        c->mMenuHandlers = new qv::MenuHandlerRegistry();
    c->mMenuHandlers->Add(qv::StringRef::share(name), handler);
}

// What the control accepts is kept on its peer: a control without one (closed) takes nothing.
static qv::ui::DropAcceptance* drop_acceptance_of(RuntimeObject* self)
{
    ControlObject* c = qv::ui::control_or_raise(self);
    if (!c || !c->paneInstance)
        return nullptr;
    qv::ui::window_control_accepts_drops(c->m_view, c->paneInstance->handle());
    return &c->paneInstance->drop_acceptance();
}

void controlAcceptTextDrop(RuntimeObject* self)
{
    if (qv::ui::DropAcceptance* acceptance = drop_acceptance_of(self))
        acceptance->text = true;
}

void controlAcceptPictureDrop(RuntimeObject* self)
{
    if (qv::ui::DropAcceptance* acceptance = drop_acceptance_of(self))
        acceptance->picture = true;
}

void controlAcceptFileDrop(RuntimeObject* self, RuntimeString* type)
{
    if (qv::ui::DropAcceptance* acceptance = drop_acceptance_of(self))
        acceptance->accept_file_type(qv::ui::type_name_of(type));
}

void controlAcceptMacDataDrop(RuntimeObject* self, RuntimeString* type)
{
    if (qv::ui::DropAcceptance* acceptance = drop_acceptance_of(self))
        acceptance->accept_mac_data(qv::ui::type_name_of(type));
}

// The rectangle is in window coordinates, as the control's own Left and Top are.
RuntimeObject* controlNewDragItem(RuntimeObject* self, int32_t left, int32_t top, int32_t width, int32_t height)
{
    if (!qv::ui::control_or_raise(self))
        return nullptr;
    return qv::ui::new_drag_item(left, top, width, height);
}

}  // extern "C"
