// The window's side of its controls: building their peers, their Open and Close, the Lock
// rule's new bounds, and the mouse the window routes to them.
#include "ui/controls/window_controls.h"
#include "ui/controls/control_text.h"

#include <utility>

#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/application/mouse_cursor.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/control_classes.h"
#include "ui/controls/control_events.h"
#include "ui/controls/control_object.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_access.h"

namespace qv::ui {
namespace {

}  // namespace

void fire_event_guarded(RuntimeObject* control, i32 index)
{
    if (!event_implemented(control, index))
        return;
    if (gEventLoopRunning)
        fire_event(control, index);
    else
        run_guarded([control, index] { fire_event(control, index); });
}

bool is_control(RuntimeObject* object) { return object && RuntimeObjectIsa(object, control_class()); }

bool is_rect_control(RuntimeObject* object) { return object && RuntimeObjectIsa(object, rect_control_class()); }

void* peer_parent_window(RuntimeObject* control)
{
    if (!is_control(control))
        return nullptr;
    ControlObject* c = control_fields(control);
    SubPane* parent = nullptr;
    if (c->initialParent && is_control(c->initialParent))
        parent = control_fields(c->initialParent)->paneInstance;
    if (!parent)
        parent = c->windowRootPeer ? c->windowRootPeer : window_content_pane(c->m_view);
    return parent ? parent->handle() : nullptr;
}

void create_control_pane(RuntimeObject* control)
{
    if (!is_control(control))
        return;
    fire_event_guarded(control, kControlCreatePane);
    ControlObject* c = control_fields(control);
    SubPane* pane = c->paneInstance;
    if (!pane)
        return;
    pane->SetBounds(c->bounds, false);
    pane->set_auto_deactivate(c->autoDeactivate != 0);
    pane->SetState(c->enabled ? SubPane::kEnable : SubPane::kDisable);
    pane->SetCursor(mouse_cursor_handle(c->mouseCursor));
    if (c->helpTag)
        pane->SetHelpTag(utf8_of(c->helpTag).c_str());
    else if (c->balloonHelp)
        pane->SetBalloonHelp(utf8_of(c->balloonHelp).c_str());
    if (c->disabledBalloonHelp)
        pane->SetDisabledBalloonHelp(utf8_of(c->disabledBalloonHelp).c_str());
    // A control inside a hidden container stays hidden until the container shows.
    bool shown = c->visible != 0;
    if (c->initialParent && is_control(c->initialParent))
        shown = shown && control_fields(c->initialParent)->visible;
    pane->SetState(shown ? SubPane::kShow : SubPane::kHide);
}

void fire_control_open(RuntimeObject* control)
{
    if (is_control(control))
        fire_event_guarded(control, kControlOpen);
}

void fire_control_close(RuntimeObject* control)
{
    if (!is_control(control))
        return;
    ControlObject* c = control_fields(control);
    if (c->paneInstance && focus_pane() == c->paneInstance)
        move_focus(nullptr);
    fire_event_guarded(control, kControlClose);
    // The window goes, and its child windows with it: the peer goes now, while its window is
    // still there to let go of.
    if (SubPane* pane = std::exchange(c->paneInstance, nullptr)) {
        forget_focus_peer(c->m_view, pane);
        window_cursor_changed(c->m_view, pane->cursor(), nullptr);  // its cursor may go with it
        pane->Unlink();
        delete pane;
    }
}

void set_control_bounds(RuntimeObject* control, const ControlBounds& bounds)
{
    if (!is_control(control))
        return;
    ControlObject* c = control_fields(control);
    c->bounds = bounds;
    if (c->paneInstance)
        c->paneInstance->SetBounds(bounds, true);
}

bool control_accepts_point(RuntimeObject* control, i32 x, i32 y)
{
    if (!is_rect_control(control))
        return false;
    const ControlObject* c = control_fields(control);
    const ControlBounds& b = c->bounds;
    return c->visible && c->enabled && x >= b.left && x < b.right && y >= b.top && y < b.bottom;
}

bool control_mouse_down(RuntimeObject* control, i32 x, i32 y, u32 modifiers, bool secondary)
{
    if (!is_rect_control(control))
        return false;
    SubPane* pane = control_fields(control)->paneInstance;
    if (!pane)
        return false;
    return secondary ? pane->DoRightMouseDown(x, y, modifiers) : pane->DoMouseDown(x, y, modifiers);
}

void control_mouse_enter(RuntimeObject* control)
{
    if (!is_rect_control(control))
        return;
    if (SubPane* pane = control_fields(control)->paneInstance)
        pane->DoMouseEnter();
    fire_event(control, kRectControlMouseEnter);
}

void control_mouse_exit(RuntimeObject* control)
{
    if (!is_rect_control(control))
        return;
    if (SubPane* pane = control_fields(control)->paneInstance)
        pane->DoMouseExit();
    fire_event(control, kRectControlMouseExit);
}

void control_mouse_moved(RuntimeObject* control, i32 x, i32 y)
{
    if (!is_rect_control(control))
        return;
    const ControlBounds& b = control_fields(control)->bounds;
    if (SubPane* pane = control_fields(control)->paneInstance)
        pane->DoMouseMoved(x - b.left, y - b.top);
    fire_event(control, kRectControlMouseMove, x - b.left, y - b.top);
}

}  // namespace qv::ui
