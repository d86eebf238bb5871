// The methods every RectControl has: refresh, menu handlers, the constructor, and drops.
#include "framework/menu_handler_registry.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/control_routines.h"
#include "ui/controls/sub_pane.h"

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

// Drag and drop between controls is not carried by this platform's runtime: accepting a kind
// of drop changes nothing, and no drag item can be made.
void controlAcceptTextDrop(RuntimeObject*) { }
void controlAcceptPictureDrop(RuntimeObject*) { }
void controlAcceptFileDrop(RuntimeObject*, RuntimeString*) { }
void controlAcceptMacDataDrop(RuntimeObject*, RuntimeString*) { }
RuntimeObject* controlNewDragItem(RuntimeObject*, int32_t, int32_t, int32_t, int32_t) { return nullptr; }

}  // extern "C"
