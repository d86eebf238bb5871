// The keyboard focus: one peer in the whole program holds it. A control asks for it through
// its window, which hands it on at once when it is the active window, or when it next
// becomes active. The peer that last held the focus in a window is the one it gets back.
#include "runtime/objects/exception_foundation.h"
#include "ui/controls/control_object.h"
#include "ui/controls/control_routines.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_access.h"
#include "ui/controls/window_controls.h"

namespace qv::ui {
namespace {

SubPane* s_holder = nullptr;

}  // namespace

SubPane* focus_pane() { return s_holder; }

void move_focus(SubPane* pane)
{
    if (pane == s_holder)
        return;
    if (SubPane* old = s_holder) {
        s_holder = nullptr;
        old->LoseFocus();
    }
    // LoseFocus runs image code, which may have moved the focus itself.
    if (!s_holder && pane) {
        s_holder = pane;
        if (RuntimeObject* control = pane->control())
            set_window_focus_pane(control_fields(control)->m_view, pane);
        pane->GainFocus();
    }
}

std::vector<SubPane*> focus_order(RuntimeObject* window)
{
    std::vector<SubPane*> panes;
    for (const ObjectRef& control : window_control_list(window)) {
        if (!is_rect_control(control.get()))
            continue;
        SubPane* pane = control_fields(control.get())->paneInstance;
        if (pane && pane->CanTakeFocus())
            panes.push_back(pane);
    }
    return panes;
}

SubPane* focus_on_activation(RuntimeObject* window)
{
    SubPane* recorded = window_focus_pane(window);
    if (recorded && recorded->CanTakeFocus())
        return recorded;
    const std::vector<SubPane*> panes = focus_order(window);
    return panes.empty() ? nullptr : panes.front();
}

void forget_focus_peer(RuntimeObject* window, SubPane* pane)
{
    if (s_holder == pane)
        move_focus(nullptr);
    if (window && window_focus_pane(window) == pane)
        set_window_focus_pane(window, nullptr);
}

void set_peers_active(RuntimeObject* window, bool active)
{
    for (const ObjectRef& control : window_control_list(window))
        if (is_rect_control(control.get()))
            if (SubPane* pane = control_fields(control.get())->paneInstance)
                pane->set_active(active);
}

void clear_focus_within(void* window_handle)
{
    HWND window = static_cast<HWND>(window_handle);
    if (s_holder && window && (s_holder->handle() == window || IsChild(window, s_holder->handle())))
        move_focus(nullptr);
}

}  // namespace qv::ui

extern "C" void RuntimeSetFocus(RuntimeObject* self)
{
    using namespace qv::ui;
    if (!self) {
        qv::RaiseNilObject();
        return;
    }
    ControlObject* c = control_fields(self);
    SubPane* pane = c->paneInstance;
    if (!pane || !pane->CanTakeFocus())
        return;
    set_window_focus_pane(c->m_view, pane);
    if (window_is_active(c->m_view))
        move_focus(pane);
}
