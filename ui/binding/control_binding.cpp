#include "ui/binding/control_binding.h"

#include <utility>

#include "runtime/objects/object_ref.h"
#include "ui/binding/interface_methods.h"

namespace qv::ui {
namespace {

bool can_notify(RuntimeObject* control)
{
    return control_binding_hooks().can_notify && control_binding_hooks().can_notify(control);
}

ControlReceivers* receivers_of(RuntimeObject* control)
{
    return control && control_binding_hooks().receivers ? control_binding_hooks().receivers(control) : nullptr;
}

}  // namespace

void clear_control_receivers(ControlReceivers& receivers)
{
    clear_receivers(receivers.action);
    clear_receivers(receivers.data);
    clear_receivers(receivers.checked_part);
    clear_receivers(receivers.unchecked_part);
}

Seam<ControlBindingHooks>& control_binding_seam()
{
    static Seam<ControlBindingHooks> s_seam;
    return s_seam;
}

// The control is held across the calls: a receiver or handler may close it, and its lists live
// in its object.
void notify_button_pressed(RuntimeObject* button)
{
    ControlReceivers* receivers = receivers_of(button);
    if (!receivers)
        return;
    const ObjectRef held = ObjectRef::share(button);
    notify_action_receivers(receivers->action);
    if (control_binding_hooks().fire_action)
        control_binding_hooks().fire_action(button);
}

// Each check that finds the window gone stops here and leaves the guard set: the box is closing.
void notify_check_box_changed(RuntimeObject* box)
{
    ControlReceivers* receivers = receivers_of(box);
    if (!receivers || receivers->notifying || !can_notify(box))
        return;
    const ObjectRef held = ObjectRef::share(box);
    receivers->notifying = 1;
    notify_data_receivers(receivers->data);
    if (can_notify(box)) {
        if (control_binding_hooks().fire_action)
            control_binding_hooks().fire_action(box);
        if (can_notify(box)) {
            const bool checked =
                control_binding_hooks().check_box_value && control_binding_hooks().check_box_value(box);
            notify_action_receivers(checked ? receivers->checked_part : receivers->unchecked_part);
            if (can_notify(box))
                receivers->notifying = 0;
        }
    }
}

void notify_radio_changed(RuntimeObject* button, bool checked)
{
    ControlReceivers* receivers = receivers_of(button);
    if (!receivers || !can_notify(button))
        return;
    const ObjectRef held = ObjectRef::share(button);
    notify_action_receivers(checked ? receivers->checked_part : receivers->unchecked_part);
}

void switch_field_data_source(RuntimeObject* field, RuntimeObject* previous, RuntimeObject* source)
{
    if (!field || previous == source)
        return;
    call_interface_method(previous, BuiltInInterface::DataNotifier, "removeDataNotificationReceiver", field);
    call_interface_method(source, BuiltInInterface::DataNotifier, "addDataNotificationReceiver", field);
}

bool push_text_to_source(RuntimeObject* source, RuntimeString* text)
{
    return call_interface_method(source, BuiltInInterface::StringInterface, "setString", text);
}

}  // namespace qv::ui
