// Classes for the notification and binder tests, defined the way the built-in controls will be:
// a control that is push button, check box and edit field at once (its lists, Value, Enabled,
// text and data source in its object, reached through the control hooks), receivers that log
// what they are told, a string source and a list. Every call lands in one log.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "runtime/definitions/class_registry.h"
#include "runtime/objects/object_model.h"
#include "tests/support/string_helpers.h"
#include "ui/binding/binders.h"
#include "ui/binding/builtin_interfaces.h"
#include "ui/binding/control_binding.h"
#include "ui/binding/interface_methods.h"
#include "ui/ui_service_routines.h"

namespace qv::ui::test {

struct TestControlObject {
    RuntimeObject header;
    ControlReceivers receivers;
    u8 value;
    u8 enabled;
    u8 window_open;
    u8 is_edit;
    RuntimeString* text;
    RuntimeObject* data_source;
    i32 id;
};

struct TestReceiverObject {
    RuntimeObject header;
    i32 id;
};

struct TestSourceObject {
    RuntimeObject header;
    RuntimeString* text;
    u8 available;
    u8 reserved[3];
    ReceiverList receivers;
    i32 id;
};

struct TestListObject {
    RuntimeObject header;
    RuntimeObject* bound;
    i32 id;
};

inline std::vector<std::string>& calls()
{
    static std::vector<std::string> s_calls;
    return s_calls;
}

// What a receiver or the Action event does besides logging (null: nothing).
inline void (*s_on_receiver)(RuntimeObject* receiver, const char* kind) = nullptr;
inline void (*s_on_action)(RuntimeObject* control) = nullptr;

inline i32 id_of(RuntimeObject* object);

inline void log_call(const std::string& what, RuntimeObject* object)
{
    calls().push_back(what + " " + std::to_string(id_of(object)));
}

inline void receiver_perform_action(RuntimeObject* self)
{
    log_call("action", self);
    if (s_on_receiver)
        s_on_receiver(self, "action");
}
inline void receiver_data_changed(RuntimeObject* self)
{
    log_call("data", self);
    if (s_on_receiver)
        s_on_receiver(self, "data");
}

inline RuntimeString* source_get_string(RuntimeObject* self)
{
    RuntimeString* text = reinterpret_cast<TestSourceObject*>(self)->text;
    RuntimeLockString(text);
    return text;
}
inline i32 source_data_available(RuntimeObject* self) { return reinterpret_cast<TestSourceObject*>(self)->available; }
inline void source_add_receiver(RuntimeObject* self, RuntimeObject* receiver)
{
    add_receiver(reinterpret_cast<TestSourceObject*>(self)->receivers, receiver);
}
inline void source_remove_receiver(RuntimeObject* self, RuntimeObject* receiver)
{
    remove_receiver(reinterpret_cast<TestSourceObject*>(self)->receivers, receiver);
}
inline void source_set_string(RuntimeObject* self, RuntimeString* text)
{
    log_call("source setString \"" + qv::test::text_of(text) + "\"", self);
    RuntimeLockString(text);
    RuntimeUnlockString(std::exchange(reinterpret_cast<TestSourceObject*>(self)->text, text));
}
inline void list_bind(RuntimeObject* self, RuntimeObject* source)
{
    log_call("BindList to " + std::to_string(id_of(source)), self);
    RuntimeLockUnlockObjects(source, reinterpret_cast<TestListObject*>(self)->bound);
    reinterpret_cast<TestListObject*>(self)->bound = source;
}

inline void finalize_control(RuntimeObject* self)
{
    auto* control = reinterpret_cast<TestControlObject*>(self);
    clear_control_receivers(control->receivers);
    RuntimeUnlockString(std::exchange(control->text, nullptr));
    RuntimeUnlockObject(std::exchange(control->data_source, nullptr));
}
inline void finalize_source(RuntimeObject* self)
{
    auto* source = reinterpret_cast<TestSourceObject*>(self);
    clear_receivers(source->receivers);
    RuntimeUnlockString(std::exchange(source->text, nullptr));
}
inline void finalize_list(RuntimeObject* self)
{
    RuntimeUnlockObject(std::exchange(reinterpret_cast<TestListObject*>(self)->bound, nullptr));
}

#define QV_TEST_METHOD(name, routine)                                                              \
    {                                                                                              \
        name, nullptr, nullptr, 0, reinterpret_cast<void*>(&routine), nullptr, nullptr, nullptr, 0 \
    }

// clang-format off
inline const MethodRecord kControlMethods[] = {
    QV_TEST_METHOD("addActionNotificationReceiver", pbAddActionNotificationReceiver),
    QV_TEST_METHOD("removeActionNotificationReceiver", pbRemoveActionNotificationReceiver),
    QV_TEST_METHOD("getBoolean", checkBoxGetBoolean),
    QV_TEST_METHOD("setBoolean", checkBoxSetBoolean),
    QV_TEST_METHOD("addDataNotificationReceiver", checkBoxAddDataNotificationReceiver),
    QV_TEST_METHOD("removeDataNotificationReceiver", checkBoxRemoveDataNotificationReceiver),
    QV_TEST_METHOD("getBoundPart", checkBoxGetBoundPart),
    QV_TEST_METHOD("setString", editSetString),
};
// Image code writes names in any case; the lookup ignores it.
inline const MethodRecord kReceiverMethods[] = {
    QV_TEST_METHOD("performaction", receiver_perform_action),
    QV_TEST_METHOD("DATACHANGED", receiver_data_changed),
};
inline const MethodRecord kSourceMethods[] = {
    QV_TEST_METHOD("getString", source_get_string),
    QV_TEST_METHOD("dataAvailable", source_data_available),
    QV_TEST_METHOD("addDataNotificationReceiver", source_add_receiver),
    QV_TEST_METHOD("removeDataNotificationReceiver", source_remove_receiver),
    QV_TEST_METHOD("setString", source_set_string),
};
inline const MethodRecord kListMethods[] = {QV_TEST_METHOD("BindList", list_bind)};
// clang-format on

inline ObjectDefinition s_control, s_receiver, s_silent, s_source, s_list;

inline i32 id_of(RuntimeObject* object)
{
    if (!object)
        return 0;
    if (object_is_a(object, ClassFromDefinition(&s_control)))
        return reinterpret_cast<TestControlObject*>(object)->id;
    if (object_is_a(object, ClassFromDefinition(&s_source)))
        return reinterpret_cast<TestSourceObject*>(object)->id;
    if (object_is_a(object, ClassFromDefinition(&s_list)))
        return reinterpret_cast<TestListObject*>(object)->id;
    return reinterpret_cast<TestReceiverObject*>(object)->id;  // receivers and silent objects
}

inline TestControlObject* as_control(RuntimeObject* object)
{
    return object && object_is_a(object, ClassFromDefinition(&s_control)) ? reinterpret_cast<TestControlObject*>(object)
                                                                          : nullptr;
}

inline ControlBindingHooks test_hooks()
{
    ControlBindingHooks hooks{};
    hooks.receivers = [](RuntimeObject* object) -> ControlReceivers* {
        TestControlObject* control = as_control(object);
        return control ? &control->receivers : nullptr;
    };
    hooks.check_box_value = [](RuntimeObject* box) { return as_control(box)->value != 0; };
    hooks.set_check_box_value = [](RuntimeObject* box, bool value) { as_control(box)->value = value; };
    hooks.set_enabled = [](RuntimeObject* control, bool enabled) {
        as_control(control)->enabled = enabled;
        log_call(enabled ? "enable" : "disable", control);
    };
    hooks.set_edit_text = [](RuntimeObject* field, RuntimeString* text) {
        RuntimeLockString(text);
        RuntimeUnlockString(std::exchange(as_control(field)->text, text));
        log_call("setString \"" + qv::test::text_of(text) + "\"", field);
    };
    hooks.set_edit_data_source = [](RuntimeObject* field, RuntimeObject* source) {
        RuntimeObject* previous = as_control(field)->data_source;
        RuntimeLockObject(source);
        as_control(field)->data_source = source;
        switch_field_data_source(field, previous, source);  // as the edit field does
        RuntimeUnlockObject(previous);
    };
    hooks.is_control = [](RuntimeObject* object) { return as_control(object) != nullptr; };
    hooks.is_edit_field = [](RuntimeObject* object) { return as_control(object) && as_control(object)->is_edit; };
    hooks.can_notify = [](RuntimeObject* control) { return as_control(control)->window_open != 0; };
    hooks.fire_action = [](RuntimeObject* control) {
        log_call("Action", control);
        if (s_on_action)
            s_on_action(control);
    };
    return hooks;
}

class BindingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static bool s_done = false;
        if (s_done)
            return;
        s_done = true;
        register_ui_service_classes();
        static ObjectDefinition* const s_control_interfaces[] = {
            interface_definition(BuiltInInterface::ActionSource),
            interface_definition(BuiltInInterface::BooleanProvider),
            interface_definition(BuiltInInterface::DataNotifier), interface_definition(BuiltInInterface::BindingPart),
            interface_definition(BuiltInInterface::StringInterface)};
        static ObjectDefinition* const s_receiver_interfaces[] = {
            interface_definition(BuiltInInterface::ActionNotificationReceiver),
            interface_definition(BuiltInInterface::DataNotificationReceiver)};
        static ObjectDefinition* const s_source_interfaces[] = {
            interface_definition(BuiltInInterface::StringProvider),
            interface_definition(BuiltInInterface::DataAvailableProvider),
            interface_definition(BuiltInInterface::DataNotifier),
            interface_definition(BuiltInInterface::StringInterface)};
        static ObjectDefinition* const s_list_interfaces[] = {interface_definition(BuiltInInterface::ListInterface)};
        define(s_control, "TestBindingControl", sizeof(TestControlObject), kControlMethods, s_control_interfaces,
               &finalize_control);
        define(s_receiver, "TestBindingReceiver", sizeof(TestReceiverObject), kReceiverMethods, s_receiver_interfaces);
        define(s_silent, "TestBindingSilent", sizeof(TestReceiverObject), {}, {});
        define(s_source, "TestBindingSource", sizeof(TestSourceObject), kSourceMethods, s_source_interfaces,
               &finalize_source);
        define(s_list, "TestBindingList", sizeof(TestListObject), kListMethods, s_list_interfaces, &finalize_list);
        // Classes are made once and kept: before the tests measure the allocator.
        for (const char* name : {"Sys$CheckBoxAction", "Sys$RadioButtonAction", "enablingBinder", "stringBinder",
                                 "actionBinder", "listBinder"})
            RuntimeLookupClass(StringRef::FromCString(name).get());
    }

    void SetUp() override
    {
        m_previous = control_binding_seam().get();
        control_binding_seam().restore(test_hooks());
        calls().clear();
        s_on_receiver = nullptr;
        s_on_action = nullptr;
    }
    void TearDown() override
    {
        // Binders and the sources' lists hold each other: break the cycles first.
        for (RuntimeObject* object : m_made) {
            if (TestControlObject* control = as_control(object))
                clear_control_receivers(control->receivers);
            else if (object_is_a(object, ClassFromDefinition(&s_source)))
                clear_receivers(reinterpret_cast<TestSourceObject*>(object)->receivers);
        }
        for (RuntimeObject* object : m_made)
            RuntimeUnlockObject(object);
        control_binding_seam().restore(m_previous);
    }

    RuntimeObject* control(i32 id, bool value = false)
    {
        RuntimeObject* object = keep(CreateInstance(&s_control));
        auto* fields = reinterpret_cast<TestControlObject*>(object);
        fields->id = id;
        fields->value = value;
        fields->enabled = 1;
        fields->window_open = 1;
        return object;
    }
    RuntimeObject* receiver(i32 id) { return with_id<TestReceiverObject>(s_receiver, id); }
    RuntimeObject* silent(i32 id) { return with_id<TestReceiverObject>(s_silent, id); }
    RuntimeObject* list(i32 id) { return with_id<TestListObject>(s_list, id); }
    RuntimeObject* source(i32 id, const char* text, bool available)
    {
        RuntimeObject* object = with_id<TestSourceObject>(s_source, id);
        auto* fields = reinterpret_cast<TestSourceObject*>(object);
        fields->text = text ? StringRef::FromCString(text).leak() : nullptr;
        fields->available = available;
        return object;
    }
    RuntimeObject* binder(const char* class_name)
    {
        return keep(RuntimeNewObject(RuntimeLookupClass(StringRef::FromCString(class_name).get())));
    }
    RuntimeObject* keep(RuntimeObject* object)
    {
        m_made.push_back(object);
        return object;
    }

    static std::vector<std::string> take_calls() { return std::exchange(calls(), {}); }

private:
    static void define(ObjectDefinition& out, const char* name, size_t size, std::span<const MethodRecord> methods,
                       std::span<ObjectDefinition* const> interfaces, QvObjectRoutine finalizer = nullptr)
    {
        DefinitionSource source{};
        source.name = name;
        source.instance_size = static_cast<i32>(size);
        source.methods = methods;
        source.interfaces = interfaces;
        source.finalizer = finalizer;
        build_definition(out, source);
        RegisterDefinition(&out);
        ClassFromDefinition(&out);
    }
    template <typename T>
    RuntimeObject* with_id(ObjectDefinition& definition, i32 id)
    {
        RuntimeObject* object = keep(CreateInstance(&definition));
        reinterpret_cast<T*>(object)->id = id;
        return object;
    }

    ControlBindingHooks m_previous{};
    std::vector<RuntimeObject*> m_made;
};

}  // namespace qv::ui::test
