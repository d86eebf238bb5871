#include "ui/binding/binders.h"

#include <utility>

#include "core/once.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/object_ref.h"
#include "ui/binding/control_binding.h"
#include "ui/binding/interface_methods.h"

namespace qv::ui {
namespace {

BinderObject* fields(RuntimeObject* binder) { return reinterpret_cast<BinderObject*>(binder); }

void finalize_binder(RuntimeObject* object)
{
    // The fields' counts end with the binder.
    ObjectRef::adopt(std::exchange(fields(object)->source, nullptr));
    ObjectRef::adopt(std::exchange(fields(object)->target, nullptr));
}

// Moves the binder's data subscription from its previous source to the new one, stores the
// pair, and reloads. The objects are held across the calls, which may be image code.
void rebind(RuntimeObject* binder, RuntimeObject* source, RuntimeObject* target, void (*reload)(RuntimeObject*))
{
    if (!binder)
        return;
    const ObjectRef held = ObjectRef::share(binder);
    {
        const ObjectRef previous = ObjectRef::share(fields(binder)->source);
        call_interface_method(previous.get(), BuiltInInterface::DataNotifier, "removeDataNotificationReceiver", binder);
    }
    RuntimeLockUnlockObjects(source, fields(binder)->source);
    fields(binder)->source = source;
    RuntimeLockUnlockObjects(target, fields(binder)->target);
    fields(binder)->target = target;
    call_interface_method(source, BuiltInInterface::DataNotifier, "addDataNotificationReceiver", binder);
    reload(binder);
}

bool is_control(RuntimeObject* object)
{
    const ControlBindingHooks& hooks = control_binding_hooks();
    return object && hooks.is_control && hooks.is_control(object);
}

void set_enabled(RuntimeObject* control, bool enabled)
{
    const ControlBindingHooks& hooks = control_binding_hooks();
    if (is_control(control) && hooks.set_enabled)
        hooks.set_enabled(control, enabled);
}

constexpr TypeDescriptor kObjectType = object_type("Object");
const ParameterRecord kBindParameters[] = {{"source", &kObjectType, 0}, {"target", &kObjectType, 0}};

// clang-format off
const MethodRecord kEnablingMethods[] = {
    {"bind", nullptr, kBindParameters, 2, QV_ROUTINE(enablingBinderBind), nullptr, nullptr, 0},
    {"DataChanged", nullptr, nullptr, 0, QV_ROUTINE(enablingBinderReload), nullptr, nullptr, 0},
};
const MethodRecord kStringMethods[] = {
    {"bind", nullptr, kBindParameters, 2, QV_ROUTINE(stringBinderBind), nullptr, nullptr, 0},
    {"DataChanged", nullptr, nullptr, 0, QV_ROUTINE(stringBinderReload), nullptr, nullptr, 0},
};
const MethodRecord kActionMethods[] = {
    {"bind", nullptr, kBindParameters, 2, QV_ROUTINE(actionBinderBind), nullptr, nullptr, 0},
};
const MethodRecord kListMethods[] = {
    {"bind", nullptr, kBindParameters, 2, QV_ROUTINE(listBinderBind), nullptr, nullptr, 0},
};
// clang-format on

const ClassTables kTables[] = {{{}, kEnablingMethods}, {{}, kStringMethods}, {{}, kActionMethods}, {{}, kListMethods}};

ObjectDefinition s_definitions[4];

void build_binder(ObjectDefinition& out, const char* name, std::span<const MethodRecord> methods,
                  std::span<ObjectDefinition* const> interfaces)
{
    DefinitionSource source{};
    source.name = name;
    source.instance_size = sizeof(BinderObject);
    source.methods = methods;
    source.interfaces = interfaces;
    source.finalizer = &finalize_binder;
    build_definition(out, source);
    RegisterDefinition(&out);
}

}  // namespace

ClassTableList binder_class_tables() { return kTables; }

void register_binder_classes()
{
    static Once s_once;
    s_once([&] {
        static ObjectDefinition* const s_receiving[] = {
            interface_definition(BuiltInInterface::DataNotificationReceiver),
            interface_definition(BuiltInInterface::Binding)};
        static ObjectDefinition* const s_binding[] = {interface_definition(BuiltInInterface::Binding)};
        build_binder(s_definitions[0], "enablingBinder", kEnablingMethods, s_receiving);
        build_binder(s_definitions[1], "stringBinder", kStringMethods, s_receiving);
        build_binder(s_definitions[2], "actionBinder", kActionMethods, s_binding);
        build_binder(s_definitions[3], "listBinder", kListMethods, s_binding);
    });
}

}  // namespace qv::ui

using namespace qv;
using namespace qv::ui;

extern "C" {

void enablingBinderBind(RuntimeObject* binder, RuntimeObject* source, RuntimeObject* target)
{
    rebind(binder, source, target, &enablingBinderReload);
}

// The source's getBoolean, False for a source that is no BooleanProvider, enables the target.
void enablingBinderReload(RuntimeObject* binder)
{
    if (!binder)
        return;
    const ObjectRef held_source = ObjectRef::share(fields(binder)->source);
    const ObjectRef held_target = ObjectRef::share(fields(binder)->target);
    RuntimeObject* source = held_source.get();
    RuntimeObject* target = held_target.get();
    const bool value = call_boolean_method(source, BuiltInInterface::BooleanProvider, "getBoolean", false);
    set_enabled(target, value);
}

void stringBinderBind(RuntimeObject* binder, RuntimeObject* source, RuntimeObject* target)
{
    rebind(binder, source, target, &stringBinderReload);
}

// The source's string goes to the target's setString; an edit field also takes the source as
// its data source; a control is enabled while the source has data.
void stringBinderReload(RuntimeObject* binder)
{
    if (!binder)
        return;
    const ObjectRef held_source = ObjectRef::share(fields(binder)->source);
    const ObjectRef held_target = ObjectRef::share(fields(binder)->target);
    RuntimeObject* source = held_source.get();
    RuntimeObject* target = held_target.get();
    const StringRef text = StringRef::adopt(call_string_method(source, BuiltInInterface::StringProvider, "getString"));
    const bool available = call_boolean_method(source, BuiltInInterface::DataAvailableProvider, "dataAvailable", true);
    call_interface_method(target, BuiltInInterface::StringInterface, "setString", text.get());
    const ControlBindingHooks& hooks = control_binding_hooks();
    if (target && hooks.is_edit_field && hooks.is_edit_field(target) && hooks.set_edit_data_source)
        hooks.set_edit_data_source(target, source);
    set_enabled(target, available);
}

// Nothing is stored: the target simply becomes one of the source's action receivers.
void actionBinderBind(RuntimeObject*, RuntimeObject* source, RuntimeObject* target)
{
    call_interface_method(source, BuiltInInterface::ActionSource, "addActionNotificationReceiver", target);
}

void listBinderBind(RuntimeObject*, RuntimeObject* list, RuntimeObject* source)
{
    call_interface_method(list, BuiltInInterface::ListInterface, "BindList", source);
}

}  // extern "C"
