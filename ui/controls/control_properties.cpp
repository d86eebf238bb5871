// The RectControl properties that store a value and pass it to the peer: help texts, cursor,
// AutoDeactivate, the Lock flags, and the read-only views of the peer.
#include <utility>

#include "framework/application/mouse_cursor.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/control_routines.h"
#include "ui/controls/control_text.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_access.h"

using qv::ui::control_or_raise;
using qv::ui::ControlObject;
using qv::ui::utf8_of;

namespace {

using PaneText = void (qv::ui::SubPane::*)(const char*);

void set_text(RuntimeObject* self, int32_t param, RuntimeString* text, PaneText pass_on)
{
    ControlObject* c = control_or_raise(self);
    if (!c)
        return;
    stringSetter(self, param, text);
    if (c->paneInstance)
        (c->paneInstance->*pass_on)(utf8_of(text).c_str());
}

// The cursor position in the content coordinates of the control's window.
POINT mouse_in_window(RuntimeObject* self)
{
    POINT at{0, 0};
    ControlObject* c = control_or_raise(self);
    if (!c || !c->paneInstance)
        return at;
    HWND content = qv::ui::window_handle(c->m_view);
    if (!content || !GetCursorPos(&at))
        return POINT{0, 0};
    ScreenToClient(content, &at);
    return at;
}

int32_t flag(RuntimeObject* self, u8 ControlObject::*field)
{
    ControlObject* c = control_or_raise(self);
    return c && c->*field;
}

void set_flag(RuntimeObject* self, u8 ControlObject::*field, int32_t on)
{
    if (ControlObject* c = control_or_raise(self))
        c->*field = (on & 0xFF) != 0;
}

}  // namespace

extern "C" {

void controlHelpTagSetter(RuntimeObject* self, int32_t param, RuntimeString* text)
{
    set_text(self, param, text, &qv::ui::SubPane::SetHelpTag);
}

void controlBalloonHelpSetter(RuntimeObject* self, int32_t param, RuntimeString* text)
{
    set_text(self, param, text, &qv::ui::SubPane::SetBalloonHelp);
}

void controlDisabledBalloonHelpSetter(RuntimeObject* self, int32_t param, RuntimeString* text)
{
    set_text(self, param, text, &qv::ui::SubPane::SetDisabledBalloonHelp);
}

void controlMouseCursorSetter(RuntimeObject* self, int32_t param, RuntimeObject* cursor)
{
    ControlObject* c = control_or_raise(self);
    if (!c)
        return;
    // The old cursor's native cursor must outlive the peer's and the window's use of it.
    const qv::ObjectRef old = qv::ObjectRef::share(c->mouseCursor);
    objSetter(self, param, cursor);
    HCURSOR handle = qv::mouse_cursor_handle(cursor);
    if (c->paneInstance)
        c->paneInstance->SetCursor(handle);
    qv::ui::window_cursor_changed(c->m_view, qv::mouse_cursor_handle(old.get()), handle);
}

int32_t controlAutoDeactivateGetter(RuntimeObject* self, int32_t) { return flag(self, &ControlObject::autoDeactivate); }

void controlAutoDeactivateSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_flag(self, &ControlObject::autoDeactivate, on);
    if (ControlObject* c = self ? qv::ui::control_fields(self) : nullptr; c && c->paneInstance)
        c->paneInstance->set_auto_deactivate(c->autoDeactivate != 0);
}

int32_t controlLockLeftGetter(RuntimeObject* self, int32_t) { return flag(self, &ControlObject::lockLeft); }
void controlLockLeftSetter(RuntimeObject* self, int32_t, int32_t on) { set_flag(self, &ControlObject::lockLeft, on); }
int32_t controlLockTopGetter(RuntimeObject* self, int32_t) { return flag(self, &ControlObject::lockTop); }
void controlLockTopSetter(RuntimeObject* self, int32_t, int32_t on) { set_flag(self, &ControlObject::lockTop, on); }
int32_t controlLockRightGetter(RuntimeObject* self, int32_t) { return flag(self, &ControlObject::lockRight); }
void controlLockRightSetter(RuntimeObject* self, int32_t, int32_t on) { set_flag(self, &ControlObject::lockRight, on); }
int32_t controlLockBottomGetter(RuntimeObject* self, int32_t) { return flag(self, &ControlObject::lockBottom); }
void controlLockBottomSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_flag(self, &ControlObject::lockBottom, on);
}

int32_t controlMouseXGetter(RuntimeObject* self, int32_t) { return mouse_in_window(self).x; }
int32_t controlMouseYGetter(RuntimeObject* self, int32_t) { return mouse_in_window(self).y; }

RuntimeObject* controlWindowGetter(RuntimeObject* self, int32_t)
{
    ControlObject* c = control_or_raise(self);
    if (!c)
        return nullptr;
    return qv::ObjectRef::share(c->m_view).leak();
}

int32_t controlMacControlHandleGetter(RuntimeObject* self, int32_t)
{
    ControlObject* c = control_or_raise(self);
    return c && c->paneInstance ? static_cast<int32_t>(reinterpret_cast<uintptr_t>(c->paneInstance->handle())) : 0;
}

int32_t controlActiveGetter(RuntimeObject* self, int32_t)
{
    ControlObject* c = control_or_raise(self);
    if (!c)
        return 0;
    if (!c->paneInstance) {
        qv::assertion_failed("RectControl", 0, "ctl->paneInstance");
        return 0;
    }
    return c->paneInstance->active();
}

void ControlTabPanelIndexSetter(RuntimeObject* self, int32_t param, int32_t index)
{
    ControlObject* c = control_or_raise(self);
    if (!c)
        return;
    intSetter(self, param, index);
    if (!c->paneInstance)
        return;
    // The controls inside take the same panel, the same way.
    for (const qv::ObjectRef& control : qv::ui::contained_controls(c->m_view, c->paneInstance, false))
        ControlTabPanelIndexSetter(control.get(), param, index);
}

}  // extern "C"
