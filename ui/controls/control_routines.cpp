#include "ui/controls/control_routines.h"

#include "runtime/objects/exception_foundation.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"
#include "ui/windows/window_object.h"

namespace qv::ui {

ControlObject* control_or_raise(RuntimeObject* self)
{
    if (!self) {
        RaiseNilObject();
        return nullptr;
    }
    return control_fields(self);
}

ControlRegistry* controls_of_window(RuntimeObject* window)
{
    return window ? window_fields(window)->controls : nullptr;
}

ControlRegistry* controls_of_control(RuntimeObject* control)
{
    return control ? controls_of_window(control_fields(control)->m_view) : nullptr;
}

HeldControls::~HeldControls()
{
    for (RuntimeObject* control : m_items)
        RuntimeUnlockObject(control);
}

void HeldControls::add(RuntimeObject* control)
{
    RuntimeLockObject(control);
    m_items.push_back(control);
}

void window_control_list(RuntimeObject* window, HeldControls& out)
{
    ControlRegistry* registry = controls_of_window(window);
    if (!registry)
        return;
    StringMap<RuntimeObject*>::Iterator it(registry->controls());
    for (RuntimeObject* control; it.Next(nullptr, &control);)
        out.add(control);
}

void contained_controls(RuntimeObject* window, const SubPane* container, bool any_depth, HeldControls& out)
{
    ControlRegistry* registry = controls_of_window(window);
    if (!registry || !container)
        return;
    StringMap<RuntimeObject*>::Iterator it(registry->controls());
    for (RuntimeObject* control; it.Next(nullptr, &control);) {
        if (!is_control(control))
            continue;
        SubPane* pane = control_fields(control)->paneInstance;
        if (pane && container->Contains(pane, any_depth))
            out.add(control);
    }
}

void forget_linked_control(RuntimeObject* control)
{
    ControlRegistry* registry = controls_of_control(control);
    if (!registry)
        return;
    StringMap<RuntimeObject*>::Iterator it(registry->controls());
    for (RuntimeObject* other; it.Next(nullptr, &other);) {
        if (is_control(other) && control_fields(other)->linkedControl == control)
            control_fields(other)->linkedControl = nullptr;
    }
}

}  // namespace qv::ui
