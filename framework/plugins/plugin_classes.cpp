// Building runtime classes from the plug-in class descriptions.
#include <algorithm>
#include <cstring>
#include <deque>
#include <string_view>

#include "framework/application/event_firing.h"
#include "framework/plugins/plugin_registry.h"
#include "framework/plugins/plugin_state.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/registry/entry_point_registry.h"

namespace qv {
namespace {

// Where a class's own data begins when it has no superclass: right after the object header.
constexpr i32 kObjectHeaderSize = 28;

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool equal_no_case(std::string_view a, std::string_view b) { return export_names_equal(a, b); }

// Text the definition nodes point at for the life of the process.
const char* keep(std::string_view text)
{
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

const TypeDescriptor* type_named(std::string_view name)
{
    name = trim(name);
    if (name.empty())
        return nullptr;
    for (const TypeDescriptor* builtin :
         {&kStringType, &kIntegerType, &kBooleanType, &kSingleType, &kDoubleType, &kColorType})
        if (equal_no_case(name, builtin->name))
            return builtin;
    return new TypeDescriptor(object_type(keep(name)));
}

// "Name(a As T, b As U) As R": the name, the parameters and the result type's name.
struct Declaration {
    std::string_view name;
    std::vector<ParameterRecord> parameters;
    std::string_view result;
};

// "x As Integer" (or "ByRef x As Integer"): the parameter's name and type.
ParameterRecord parse_parameter(std::string_view text)
{
    text = trim(text);
    u8 by_reference = 0;
    if (text.size() > 6 && equal_no_case(text.substr(0, 6), "ByRef ")) {
        by_reference = 1;
        text = trim(text.substr(6));
    } else if (text.size() > 6 && equal_no_case(text.substr(0, 6), "ByVal ")) {
        text = trim(text.substr(6));
    }
    std::string_view name = text, type;
    for (size_t at = 0; at + 4 <= text.size(); ++at) {
        if (equal_no_case(text.substr(at, 4), " As ")) {
            name = trim(text.substr(0, at));
            type = text.substr(at + 4);
            break;
        }
    }
    return ParameterRecord{keep(name), type_named(type), by_reference};
}

Declaration parse_declaration(std::string_view text)
{
    Declaration out;
    const size_t open = text.find('(');
    out.name = trim(text.substr(0, open));
    if (open == std::string_view::npos)
        return out;
    const size_t close = text.find(')', open);
    const std::string_view list = text.substr(open + 1, close == std::string_view::npos ? text.npos : close - open - 1);
    if (!trim(list).empty()) {
        for (size_t start = 0;;) {
            const size_t comma = list.find(',', start);
            out.parameters.push_back(parse_parameter(list.substr(start, comma - start)));
            if (comma == std::string_view::npos)
                break;
            start = comma + 1;
        }
    }
    if (close != std::string_view::npos) {
        std::string_view rest = trim(text.substr(close + 1));
        if (rest.size() > 3 && equal_no_case(rest.substr(0, 3), "As "))
            out.result = trim(rest.substr(3));
    }
    return out;
}

const ParameterRecord* keep(const std::vector<ParameterRecord>& parameters)
{
    if (parameters.empty())
        return nullptr;
    auto* copy = new ParameterRecord[parameters.size()];
    std::copy(parameters.begin(), parameters.end(), copy);
    return copy;
}

void* routine_or_null(void* routine) { return routine == QV_PLUGIN_NONE ? nullptr : routine; }

void report(const std::string& text)
{
    if (PluginReport reporter = plugin_state().report)
        reporter(text.c_str());
}

PluginClassEntry* unbuilt_plugin_class(std::string_view name)
{
    for (PluginClassEntry* entry : plugin_state().classes)
        if (entry->kind != PluginClassKind::Extension && equal_no_case(entry->description->name, name))
            return entry;
    return nullptr;
}

void build_class(PluginClassEntry* entry);

// A class by name: a plug-in class (built first when it is not yet), else a built-in one.
ObjectDefinition* find_class(std::string_view name)
{
    if (PluginClassEntry* entry = unbuilt_plugin_class(name)) {
        if (!entry->definition && !entry->building)
            build_class(entry);
        if (entry->definition)
            return entry->definition;
    }
    return find_registered_definition(StringRef::FromBytes(name.data(), static_cast<i32>(name.size())));
}

// The property records of a description. The accessors' export names are the entry-point
// keys, so an image may import them too. A field counts from `data_offset`.
std::vector<PropertyRecord> property_records(const QvPluginClass& d, i32 data_offset, i32 kind)
{
    const std::string name = d.name;
    std::vector<PropertyRecord> properties;
    for (i32 i = 0; i < d.propertyCount && d.properties; ++i) {
        const QvPluginProperty& p = d.properties[i];
        PropertyRecord record{};
        record.name = p.name;
        record.type = type_named(p.type ? p.type : "");
        record.getter = routine_or_null(p.getter);
        record.setter = routine_or_null(p.setter);
        if (record.getter)
            record.getterExportName = keep(name + "." + p.name + ".Get");
        if (record.setter)
            record.setterExportName = keep(name + "." + p.name + ".Set");
        record.parameter = p.field == QV_PLUGIN_NO_FIELD ? 0 : data_offset + p.field;
        record.kind = kind;
        properties.push_back(record);
    }
    return properties;
}

// Member names are copied into the definition: `names` only needs to outlive the build (a
// deque, so that adding one moves none of the others).
std::vector<MethodRecord> method_records(const QvPluginClass& d, std::deque<std::string>& names)
{
    std::vector<MethodRecord> methods;
    for (i32 i = 0; i < d.methodCount && d.methods; ++i) {
        const QvPluginMethod& m = d.methods[i];
        const Declaration parsed = parse_declaration(m.declaration);
        MethodRecord record{};
        record.name = names.emplace_back(parsed.name).c_str();
        record.result = type_named(parsed.result);
        record.parameters = keep(parsed.parameters);
        record.parameterCount = static_cast<i32>(parsed.parameters.size());
        record.routine = routine_or_null(m.routine);
        record.secondRoutine = routine_or_null(m.setter);
        methods.push_back(record);
    }
    return methods;
}

void keep_constants(PluginClassEntry* entry)
{
    const QvPluginClass& d = *entry->description;
    for (i32 i = 0; i < d.constantCount && d.constants; ++i) {
        const QvPluginConstant& c = d.constants[i];
        entry->constants.push_back({c.name ? c.name : "", c.type ? c.type : "", c.value ? c.value : ""});
    }
}

void build_class(PluginClassEntry* entry)
{
    const QvPluginClass& d = *entry->description;
    entry->building = true;
    const std::string name = d.name;

    std::string_view super_name = d.superName ? trim(d.superName) : std::string_view();
    if (super_name.empty() && entry->kind == PluginClassKind::Control)
        super_name = kPluginControlBaseName;
    ObjectDefinition* super = nullptr;
    if (!super_name.empty()) {
        super = find_class(super_name);
        if (!super)
            report("Couldn't find " + name + " superclass: " + std::string(super_name));
    }
    entry->data_offset = super ? super->instanceSize : kObjectHeaderSize;

    const std::vector<PropertyRecord> properties = property_records(d, entry->data_offset, 0);
    std::deque<std::string> member_names;
    const std::vector<MethodRecord> methods = method_records(d, member_names);

    std::vector<EventRecord> events;
    for (i32 i = 0; i < d.eventCount && d.events; ++i) {
        const Declaration parsed = parse_declaration(d.events[i].declaration);
        EventRecord record{};
        record.name = member_names.emplace_back(parsed.name).c_str();
        record.resultTypeName = equal_no_case(parsed.result, "Boolean") ? "Boolean" : nullptr;
        record.parameters = keep(parsed.parameters);
        record.parameterCount = static_cast<i32>(parsed.parameters.size());
        events.push_back(record);
    }

    keep_constants(entry);

    std::vector<ObjectDefinition*> interfaces;
    for (std::string_view list = d.interfaces ? d.interfaces : ""; !trim(list).empty();) {
        const size_t comma = list.find(',');
        const std::string_view interface_name = trim(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        if (interface_name.empty())
            continue;
        ObjectDefinition* found = find_class(interface_name);
        if (found && found->isAnInterface)
            interfaces.push_back(found);
        else
            report("Couldn't find " + name + " interface : " + std::string(interface_name));
    }

    DefinitionSource source{};
    source.name = d.name;
    source.super_definition = super;
    source.instance_size = entry->data_offset + (d.dataSize > 0 ? d.dataSize : 0);
    source.properties = properties;
    source.methods = methods;
    source.events = events;
    source.interfaces = interfaces;  // copied into the definition's nodes
    source.is_an_interface = entry->kind == PluginClassKind::Interface;
    source.initializer = d.initializer;
    source.finalizer = d.finalizer;
    auto* definition = new ObjectDefinition;
    build_definition(*definition, source);
    RegisterDefinition(definition);
    entry->definition = definition;
    entry->building = false;
}

// Adds an extension's properties, methods and constants to the class it names. The class's
// objects and its subclasses' property numbering exist already, so the extension brings no
// instance data (a field counts from the instance's start), its properties stay out of the
// property table, and its superclass, events and interfaces are not used.
void apply_extension(PluginClassEntry* entry)
{
    const QvPluginClass& d = *entry->description;
    entry->applied = true;
    std::string_view target_name = trim(d.name);
    if (equal_no_case(target_name, "SystemClass"))
        target_name = "_SystemClass";  // the class behind the language's System
    ObjectDefinition* target = find_class(target_name);
    if (!target) {
        report("Couldn't find " + std::string(target_name) + " to extend");
        return;
    }
    // Every class that implements an interface must have all of its methods.
    if (target->isAnInterface) {
        report("Couldn't extend " + std::string(target_name) + ": it is an interface");
        return;
    }
    entry->data_offset = 0;
    std::deque<std::string> member_names;
    extend_definition(target, property_records(d, 0, kPropertyKindOutsideTable), method_records(d, member_names));
    keep_constants(entry);
}

}  // namespace

void build_plugin_classes()
{
    for (PluginClassEntry* entry : plugin_state().classes)
        if (entry->kind != PluginClassKind::Extension && !entry->definition && !entry->building)
            build_class(entry);
    // After the classes: an extension may name a plug-in class.
    for (PluginClassEntry* entry : plugin_state().classes)
        if (entry->kind == PluginClassKind::Extension && !entry->applied)
            apply_extension(entry);
    for (PluginRecord* record = plugin_state().plugins; record; record = record->next)
        record->flags &= ~kPluginDefinitionsPending;
}

PluginReport set_plugin_report(PluginReport reporter)
{
    const PluginReport previous = plugin_state().report;
    plugin_state().report = reporter;
    return previous;
}

const QvPluginControl* plugin_control_of(RuntimeObject* object)
{
    if (!object)
        return nullptr;
    for (ClassRecord* c = object->classRecord; c; c = c->superclass) {
        const StringRef class_name = StringRef::share(c->name);
        for (PluginClassEntry* entry : plugin_state().classes)
            if (entry->control && entry->definition &&
                class_name.CompareNoCase(StringRef::share(entry->definition->name)) == 0)
                return entry->control;
    }
    return nullptr;
}

}  // namespace qv

using namespace qv;

extern "C" {

void* PluginInstanceData(RuntimeObject* self, const QvPluginClass* description)
{
    const PluginClassEntry* entry = plugin_class_entry(description);
    if (!self || !entry || !entry->definition)
        return nullptr;
    return reinterpret_cast<u8*>(self) + entry->data_offset;
}

int32_t PluginFireEvent(RuntimeObject* self, const QvPluginClass* description, int32_t index)
{
    const PluginClassEntry* entry = plugin_class_entry(description);
    if (!self || !entry || !entry->definition || index < 0)
        return 0;
    EventNode* node = entry->definition->events;
    for (i32 i = 0; node && i < index; ++i)
        node = node->next;
    if (!node)
        return 0;
    if (node->index < 0)  // numbered when the class is made from the definition
        RuntimeLookupClass(entry->definition->name);
    if (node->index < 0)
        return 0;
    if (node->resultTypeName)
        return fire_boolean_event(self, node->index, false) ? 1 : 0;
    fire_event(self, node->index);
    return 0;
}

}  // extern "C"
