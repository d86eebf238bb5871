#include "ui/controls/control_routines.h"

#include "runtime/objects/exception_foundation.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"
#include "ui/controls/window_object.h"

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

std::vector<ObjectRef> window_control_list(RuntimeObject* window)
{
    std::vector<ObjectRef> out;
    ControlRegistry* registry = controls_of_window(window);
    if (!registry)
        return out;
    StringMap<RuntimeObject*>::Iterator it(registry->controls());
    for (RuntimeObject* control; it.Next(nullptr, &control);)
        out.push_back(ObjectRef::share(control));
    return out;
}

std::vector<ObjectRef> contained_controls(RuntimeObject* window, const SubPane* container, bool any_depth)
{
    std::vector<ObjectRef> out;
    ControlRegistry* registry = controls_of_window(window);
    if (!registry || !container)
        return out;
    StringMap<RuntimeObject*>::Iterator it(registry->controls());
    for (RuntimeObject* control; it.Next(nullptr, &control);) {
        if (!is_control(control))
            continue;
        SubPane* pane = control_fields(control)->paneInstance;
        if (pane && container->Contains(pane, any_depth))
            out.push_back(ObjectRef::share(control));
    }
    return out;
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
