// What notifications and binders need of the controls, which the control layer provides: the
// receiver lists each control keeps in its object, its Value, Enabled and text setters, and
// the control's Action event. The control layer installs the hooks at start-up and calls
// notify_button_pressed and notify_check_box_changed from its native notifications.
//
// A control class takes part by naming the interfaces (interface_definition) in its definition
// and the routines under the interfaces' method names: PushButton "addActionNotificationReceiver"
// and "removeActionNotificationReceiver" (pbAdd.../pbRemove...); CheckBox "getBoolean",
// "setBoolean", "addDataNotificationReceiver", "removeDataNotificationReceiver", "getBoundPart"
// (checkBox...); RadioButton "getBoundPart" (radioGetBoundPart); EditField "setString"
// (editSetString). Its finalizer calls clear_control_receivers.
#pragma once

#include "core/seam.h"
#include "core/types.h"
#include "runtime/definitions/class_tables.h"
#include "sdk/quaver.h"
#include "ui/binding/receiver_list.h"

namespace qv::ui {

// A control's receiver lists, kept in its object (zeroed memory: all empty). A push button uses
// `action`; a check box `data` and both part lists; a radio button the part lists.
struct ControlReceivers {
    ReceiverList action;
    ReceiverList data;
    ReceiverList checked_part;
    ReceiverList unchecked_part;
    u8 notifying;  // a check box's user change is being told (guards re-entry)
    u8 reserved[3];
};

// Lets go of every receiver; the control's destruction calls it.
void clear_control_receivers(ControlReceivers& receivers);

struct ControlBindingHooks {
    // The object's lists, or null when it is no control that keeps them.
    ControlReceivers* (*receivers)(RuntimeObject* control);
    // A check box's Value, read and set as its property accessors do (setting tells no one).
    bool (*check_box_value)(RuntimeObject* box);
    void (*set_check_box_value)(RuntimeObject* box, bool value);
    // Enabled, as the control's property setter sets it.
    void (*set_enabled)(RuntimeObject* control, bool enabled);
    // An edit field's text (its StringInterface setString), and its data source: the field
    // unsubscribes from the previous source and subscribes to the new one as a data receiver.
    void (*set_edit_text)(RuntimeObject* field, RuntimeString* text);
    void (*set_edit_data_source)(RuntimeObject* field, RuntimeObject* source);
    bool (*is_control)(RuntimeObject* object);
    bool (*is_edit_field)(RuntimeObject* object);
    // The control still has its window and the window is not closing.
    bool (*can_notify)(RuntimeObject* control);
    // Runs the control's Action event handler.
    void (*fire_action)(RuntimeObject* control);
};

// The control classes install their hooks here (each fills its own slots); any left null does
// nothing or answers no.
Seam<ControlBindingHooks>& control_binding_seam();
inline const ControlBindingHooks& control_binding_hooks() { return control_binding_seam().get(); }

// An edit field's data source changes from `previous` to `source` (either may be nil): the
// field leaves the data receivers of the one and joins those of the other, where they are
// dataNotifiers. Nothing happens when both are the same object, so a binder reloading from
// the same source does not subscribe the field twice.
void switch_field_data_source(RuntimeObject* field, RuntimeObject* previous, RuntimeObject* source);

// What the user wrote into a bound edit field goes to its data source's setString; false when
// the source has none (or there is no source).
bool push_text_to_source(RuntimeObject* source, RuntimeString* text);

// A push button was pressed: its action receivers are told, then its Action event runs.
void notify_button_pressed(RuntimeObject* button);

// The user changed a check box, whose new value the control has stored: its data receivers are
// told, its Action event runs, then the receivers of its checked or unchecked part, as long as
// its window stays open; a change made meanwhile by one of them tells no one again.
void notify_check_box_changed(RuntimeObject* box);
// A radio button the user checked (`checked`), or unchecked by checking another of its group:
// the receivers of its checked or unchecked part.
void notify_radio_changed(RuntimeObject* button, bool checked);

// The check box's and the radio button's bound parts, and their classes.
inline constexpr const char* kCheckedPartName = "getCheckedAction";
inline constexpr const char* kUncheckedPartName = "getUncheckedAction";
ObjectDefinition* check_box_part_definition();
ObjectDefinition* radio_button_part_definition();

// Registers the part classes; safe to call more than once.
void register_bound_part_classes();
// The bound parts' tables, which name their exported routines.
ClassTableList bound_part_class_tables();

}  // namespace qv::ui
