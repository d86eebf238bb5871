// The notification routines the controls carry in their interface tables, and the bound parts:
// a check box's or radio button's checked and unchecked actions, objects of their own whose
// receivers live in the control's lists, so that parts asked for at different times share them.
#include <cstring>
#include <utility>

#include "core/once.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/object_ref.h"
#include "ui/binding/control_binding.h"

namespace qv::ui {
namespace {

struct BoundPartObject {
    RuntimeObject header;
    RuntimeObject* control;  // counted
    i32 checked;             // 1 the checked part, 0 the unchecked part
};

ObjectDefinition s_check_box_part;
ObjectDefinition s_radio_part;

void finalize_part(RuntimeObject* object)
{
    ObjectRef::adopt(std::exchange(reinterpret_cast<BoundPartObject*>(object)->control, nullptr));  // its count ends
}

ControlReceivers* receivers_of(RuntimeObject* control)
{
    const ControlBindingHooks& hooks = control_binding_hooks();
    return control && hooks.receivers ? hooks.receivers(control) : nullptr;
}

ReceiverList* part_list(RuntimeObject* part)
{
    if (!part)
        return nullptr;
    const auto* fields = reinterpret_cast<BoundPartObject*>(part);
    ControlReceivers* receivers = receivers_of(fields->control);
    if (!receivers)
        return nullptr;
    return fields->checked ? &receivers->checked_part : &receivers->unchecked_part;
}

bool names_exactly(RuntimeString* name, const char* wanted)
{
    const size_t n = std::strlen(wanted);
    return name && name->length == static_cast<i32>(n) && std::memcmp(name->buffer + 1, wanted, n) == 0;
}

RuntimeObject* bound_part(ObjectDefinition& definition, RuntimeObject* control, RuntimeString* name)
{
    if (!control)
        return nullptr;
    i32 checked;
    if (names_exactly(name, kCheckedPartName))
        checked = 1;
    else if (names_exactly(name, kUncheckedPartName))
        checked = 0;
    else
        return nullptr;
    RuntimeObject* part = CreateInstance(&definition);
    if (!part)
        return nullptr;
    auto* fields = reinterpret_cast<BoundPartObject*>(part);
    fields->control = ObjectRef::share(control).leak();
    fields->checked = checked;
    return part;
}

void add_to(ReceiverList* list, RuntimeObject* receiver)
{
    if (list)
        add_receiver(*list, receiver);
}

void remove_from(ReceiverList* list, RuntimeObject* receiver)
{
    if (list)
        remove_receiver(*list, receiver);
}

constexpr TypeDescriptor kReceiverType = object_type("actionNotificationReceiver");
const ParameterRecord kReceiverParameter[] = {{"receiver", &kReceiverType, 0}};

// clang-format off
const MethodRecord kCheckBoxPartMethods[] = {
    {"addActionNotificationReceiver", nullptr, kReceiverParameter, 1,
     QV_ROUTINE(cbaAddActionNotificationReceiver), nullptr, nullptr, 0},
    {"removeActionNotificationReceiver", nullptr, kReceiverParameter, 1,
     QV_ROUTINE(cbaRemoveActionNotificationReceiver), nullptr, nullptr, 0},
};
const MethodRecord kRadioPartMethods[] = {
    {"addActionNotificationReceiver", nullptr, kReceiverParameter, 1,
     QV_ROUTINE(rbaAddActionNotificationReceiver), nullptr, nullptr, 0},
    {"removeActionNotificationReceiver", nullptr, kReceiverParameter, 1,
     QV_ROUTINE(rbaRemoveActionNotificationReceiver), nullptr, nullptr, 0},
};
// clang-format on

const ClassTables kTables[] = {{{}, kCheckBoxPartMethods}, {{}, kRadioPartMethods}};

void build_part(ObjectDefinition& out, const char* name, std::span<const MethodRecord> methods)
{
    static ObjectDefinition* const s_interfaces[] = {interface_definition(BuiltInInterface::ActionSource)};
    DefinitionSource source{};
    source.name = name;
    source.instance_size = sizeof(BoundPartObject);
    source.methods = methods;
    source.interfaces = s_interfaces;
    source.finalizer = &finalize_part;
    build_definition(out, source);
    RegisterDefinition(&out);
}

}  // namespace

ObjectDefinition* check_box_part_definition()
{
    register_bound_part_classes();
    return &s_check_box_part;
}

ObjectDefinition* radio_button_part_definition()
{
    register_bound_part_classes();
    return &s_radio_part;
}

ClassTableList bound_part_class_tables() { return kTables; }

void register_bound_part_classes()
{
    static Once s_once;
    s_once([&] {
        build_part(s_check_box_part, "Sys$CheckBoxAction", kCheckBoxPartMethods);
        build_part(s_radio_part, "Sys$RadioButtonAction", kRadioPartMethods);
    });
}

}  // namespace qv::ui

using namespace qv;
using namespace qv::ui;

extern "C" {

void pbAddActionNotificationReceiver(RuntimeObject* button, RuntimeObject* receiver)
{
    if (ControlReceivers* receivers = receivers_of(button))
        add_receiver(receivers->action, receiver);
}

void pbRemoveActionNotificationReceiver(RuntimeObject* button, RuntimeObject* receiver)
{
    if (ControlReceivers* receivers = receivers_of(button))
        remove_receiver(receivers->action, receiver);
}

void checkBoxAddDataNotificationReceiver(RuntimeObject* box, RuntimeObject* receiver)
{
    if (ControlReceivers* receivers = receivers_of(box))
        add_receiver(receivers->data, receiver);
}

void checkBoxRemoveDataNotificationReceiver(RuntimeObject* box, RuntimeObject* receiver)
{
    if (ControlReceivers* receivers = receivers_of(box))
        remove_receiver(receivers->data, receiver);
}

int32_t checkBoxGetBoolean(RuntimeObject* box)
{
    const ControlBindingHooks& hooks = control_binding_hooks();
    return box && hooks.check_box_value && hooks.check_box_value(box);
}

void checkBoxSetBoolean(RuntimeObject* box, int32_t value)
{
    const ControlBindingHooks& hooks = control_binding_hooks();
    if (box && hooks.set_check_box_value)
        hooks.set_check_box_value(box, (value & 0xFF) != 0);
}

RuntimeObject* checkBoxGetBoundPart(RuntimeObject* box, RuntimeString* name)
{
    return bound_part(*check_box_part_definition(), box, name);
}

RuntimeObject* radioGetBoundPart(RuntimeObject* button, RuntimeString* name)
{
    return bound_part(*radio_button_part_definition(), button, name);
}

void cbaAddActionNotificationReceiver(RuntimeObject* part, RuntimeObject* receiver)
{
    add_to(part_list(part), receiver);
}

void cbaRemoveActionNotificationReceiver(RuntimeObject* part, RuntimeObject* receiver)
{
    remove_from(part_list(part), receiver);
}

void rbaAddActionNotificationReceiver(RuntimeObject* part, RuntimeObject* receiver)
{
    add_to(part_list(part), receiver);
}

void rbaRemoveActionNotificationReceiver(RuntimeObject* part, RuntimeObject* receiver)
{
    remove_from(part_list(part), receiver);
}

void editSetString(RuntimeObject* field, RuntimeString* text)
{
    const ControlBindingHooks& hooks = control_binding_hooks();
    if (field && hooks.set_edit_text)
        hooks.set_edit_text(field, text);
}

}  // extern "C"
