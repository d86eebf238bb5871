#include "ui/binding/builtin_interfaces.h"

#include "core/once.h"
#include "runtime/definitions/class_registry.h"

namespace qv::ui {
namespace {

constexpr TypeDescriptor kActionReceiverType = object_type("actionNotificationReceiver");
constexpr TypeDescriptor kDataReceiverType = object_type("dataNotificationReceiver");
constexpr TypeDescriptor kSelectionReceiverType = object_type("listSelectionNotificationReceiver");
constexpr TypeDescriptor kListDataReceiverType = object_type("listDataNotificationReceiver");
constexpr TypeDescriptor kObjectType = object_type("Object");

const ParameterRecord kStrParameter[] = {{"Str", &kStringType, 0}};
const ParameterRecord kValueParameter[] = {{"value", &kBooleanType, 0}};
const ParameterRecord kObjectParameter[] = {{"item", &kObjectType, 0}};
const ParameterRecord kIndexParameter[] = {{"index", &kIntegerType, 0}};
const ParameterRecord kTwoObjectParameters[] = {{"source", &kObjectType, 0}, {"target", &kObjectType, 0}};
const ParameterRecord kActionReceiverParameter[] = {{"receiver", &kActionReceiverType, 0}};
const ParameterRecord kDataReceiverParameter[] = {{"receiver", &kDataReceiverType, 0}};
const ParameterRecord kSelectionReceiverParameter[] = {{"receiver", &kSelectionReceiverType, 0}};
const ParameterRecord kListDataReceiverParameter[] = {{"receiver", &kListDataReceiverType, 0}};

constexpr MethodRecord method(const char* name, const TypeDescriptor* result = nullptr,
                              const ParameterRecord* parameters = nullptr, i32 count = 0)
{
    return {name, result, parameters, count, nullptr, nullptr, nullptr, nullptr, 0};
}

// clang-format off
const MethodRecord kStringProvider[] = {method("getString", &kStringType)};
const MethodRecord kStringInterface[] = {method("setString", nullptr, kStrParameter, 1)};
const MethodRecord kListInterface[] = {method("BindList", nullptr, kObjectParameter, 1)};
const MethodRecord kBooleanProvider[] = {method("getBoolean", &kBooleanType),
                                         method("setBoolean", nullptr, kValueParameter, 1)};
const MethodRecord kActionSource[] = {method("addActionNotificationReceiver", nullptr, kActionReceiverParameter, 1),
                                      method("removeActionNotificationReceiver", nullptr, kActionReceiverParameter, 1)};
const MethodRecord kActionReceiver[] = {method("PerformAction")};
const MethodRecord kDataAvailableProvider[] = {method("dataAvailable", &kBooleanType)};
const MethodRecord kDataNotifier[] = {method("addDataNotificationReceiver", nullptr, kDataReceiverParameter, 1),
                                      method("removeDataNotificationReceiver", nullptr, kDataReceiverParameter, 1)};
const MethodRecord kDataReceiver[] = {method("dataChanged")};
const MethodRecord kSelectionNotifier[] = {
    method("addListSelectionNotificationReceiver", nullptr, kSelectionReceiverParameter, 1),
    method("removeListSelectionNotificationReceiver", nullptr, kSelectionReceiverParameter, 1)};
const MethodRecord kSelectionReceiver[] = {method("selectionChanging"), method("selectionChanged")};
const MethodRecord kBinding[] = {method("bind", nullptr, kTwoObjectParameters, 2)};
const MethodRecord kBindingPart[] = {method("getBoundPart", &kObjectType, kStrParameter, 1)};
const MethodRecord kListDataProvider[] = {method("GetCount", &kIntegerType),
                                          method("GetRow", &kObjectType, kIndexParameter, 1)};
const MethodRecord kListDataNotifier[] = {
    method("addListDataNotificationReceiver", nullptr, kListDataReceiverParameter, 1),
    method("removeListDataNotificationReceiver", nullptr, kListDataReceiverParameter, 1)};
const MethodRecord kListDataReceiver[] = {method("listDataInsertedRow", nullptr, kIndexParameter, 1),
                                          method("listDataRemovedRow", nullptr, kIndexParameter, 1),
                                          method("listDataReload")};
const MethodRecord kTuple[] = {method("FieldCount", &kIntegerType),
                               method("getIndString", &kStringType, kIndexParameter, 1)};
// clang-format on

struct InterfaceSource {
    const char* name;
    std::span<const MethodRecord> methods;
};

// In BuiltInInterface order.
const InterfaceSource kInterfaces[] = {
    {"StringProvider", kStringProvider},
    {"StringInterface", kStringInterface},
    {"ListInterface", kListInterface},
    {"BooleanProvider", kBooleanProvider},
    {"actionSource", kActionSource},
    {"actionNotificationReceiver", kActionReceiver},
    {"DataAvailableProvider", kDataAvailableProvider},
    {"dataNotifier", kDataNotifier},
    {"dataNotificationReceiver", kDataReceiver},
    {"listSelectionNotifier", kSelectionNotifier},
    {"listSelectionNotificationReceiver", kSelectionReceiver},
    {"bindingInterface", kBinding},
    {"bindingPartInterface", kBindingPart},
    {"listDataProvider", kListDataProvider},
    {"listDataNotifier", kListDataNotifier},
    {"listDataNotificationReceiver", kListDataReceiver},
    {"tupleInterface", kTuple},
};
static_assert(std::size(kInterfaces) == static_cast<size_t>(BuiltInInterface::Count));

ObjectDefinition s_definitions[std::size(kInterfaces)];

}  // namespace

void register_builtin_interfaces()
{
    static Once s_once;
    s_once([&] {
        for (size_t i = 0; i < std::size(kInterfaces); ++i) {
            DefinitionSource source{};
            source.name = kInterfaces[i].name;
            source.methods = kInterfaces[i].methods;
            source.is_an_interface = true;
            build_definition(s_definitions[i], source);
            RegisterDefinition(&s_definitions[i]);
        }
    });
}

ObjectDefinition* interface_definition(BuiltInInterface which)
{
    register_builtin_interfaces();
    return &s_definitions[static_cast<size_t>(which)];
}

ClassRecord* interface_class(BuiltInInterface which) { return ClassFromDefinition(interface_definition(which)); }

}  // namespace qv::ui
