#include "debugger/runtime_host.h"

#include <cstddef>
#include <cstdint>

#include "debugger/debugger_environment.h"
#include "loader/application_image.h"
#include "platform/memory_probe.h"
#include "platform/process.h"
#include "runtime/objects/known_classes.h"
#include "runtime/objects/object_model.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv::debugger {

namespace {

// Longest superclass chain followed; a cycle in a corrupted class cannot hold the program.
constexpr int kMaxClassDepth = 256;

// Property entries looked at in one read, over the whole superclass chain: far more than any
// class has, and few enough that a count the debugger wrote into a class record (memory
// writes reach those too) costs a moment, not minutes.
constexpr u32 kMaxPropertiesWalked = 0x10000;
static_assert(kMaxPropertiesWalked <= SIZE_MAX / sizeof(PropertyEntry), "a table's size must not wrap");

char type_code(PropertyType type)
{
    switch (type) {
    case PropertyType::Boolean: return 'b';
    case PropertyType::Integer: return 'i';
    case PropertyType::Single: return 'f';
    case PropertyType::Double: return 'd';
    case PropertyType::Object: return 'o';
    case PropertyType::String: return 's';
    }
    return 0;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The text of a string record, or nothing when it cannot be read.
bool record_text(const RuntimeString* record, std::string_view& text)
{
    if (!record)
        return false;
    if (!platform::is_readable(record, sizeof *record) || record->length <= 0 || !record->buffer)
        return false;
    const auto length = static_cast<size_t>(record->length);
    if (!platform::is_readable(record->buffer, length + 1))
        return false;
    text = std::string_view(reinterpret_cast<const char*>(record->buffer) + 1, length);
    return true;
}

// "name%code...": the entry's name matches ignoring case and its type code is `code`.
bool entry_matches(const PropertyEntry& entry, std::string_view name, char code)
{
    std::string_view signature;
    if (!record_text(entry.name, signature))
        return false;
    const size_t percent = signature.find('%');
    if (percent != name.size() || percent + 1 >= signature.size() || signature[percent + 1] != code)
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (lower(signature[i]) != lower(name[i]))
            return false;
    return true;
}

// The object's address comes from the user and may name anything, a stack slot or the middle
// of a string: only a record the runtime made as a class is walked, and its getters called.
const PropertyEntry* find_property(const RuntimeObject* object, std::string_view name, char code)
{
    const ClassRecord* cls = object->classRecord;
    u32 budget = kMaxPropertiesWalked;
    for (int depth = 0; cls && depth < kMaxClassDepth; ++depth, cls = cls->superclass) {
        if (!is_known_class(cls) || !platform::is_readable(cls, sizeof *cls))
            return nullptr;
        const i32 signed_count = cls->propertyCount;
        if (signed_count < 0 || static_cast<u32>(signed_count) > budget)
            return nullptr;
        const u32 count = static_cast<u32>(signed_count);
        budget -= count;
        if (count > 0 && !platform::is_readable(cls->propertyTable, size_t{count} * sizeof(PropertyEntry)))
            return nullptr;
        for (u32 i = 0; i < count; ++i)
            if (entry_matches(cls->propertyTable[i], name, code))
                return &cls->propertyTable[i];
    }
    return nullptr;
}

}  // namespace

u32 RuntimeHost::process_id() { return platform::current_process_id(); }

u32 RuntimeHost::code_base() { return static_cast<u32>(reinterpret_cast<uintptr_t>(image_code_base())); }

u32 RuntimeHost::code_size() { return image_code_size(); }

u32 RuntimeHost::front_window() { return debugger_environment().front_window(); }

void RuntimeHost::bring_to_front(u32 window) { debugger_environment().bring_to_front(window); }

bool RuntimeHost::read_property(u32 address, std::string_view name, PropertyType type, PropertyValue& out)
{
    auto* object = reinterpret_cast<RuntimeObject*>(static_cast<uintptr_t>(address));
    // A getter trusts its object: words that merely name a class are not one.
    if (!is_live_object(object) || !platform::is_readable(object, sizeof *object))
        return false;
    const PropertyEntry* entry = find_property(object, name, type_code(type));
    if (!entry || !entry->getter)
        return false;
    // Getters take the object and the entry's parameter, and return the value by type.
    const i32 parameter = entry->parameter;
    void* getter = entry->getter;
    switch (type) {
    case PropertyType::Boolean:
        // Booleans come back in the low byte of the result register.
        out.bits = reinterpret_cast<u8 (*)(RuntimeObject*, i32)>(getter)(object, parameter) ? 1 : 0;
        return true;
    case PropertyType::Integer: {
        const i32 value = reinterpret_cast<i32 (*)(RuntimeObject*, i32)>(getter)(object, parameter);
        out.bits = static_cast<u32>(value);
        return true;
    }
    case PropertyType::Single: {
        const float value = reinterpret_cast<float (*)(RuntimeObject*, i32)>(getter)(object, parameter);
        u32 bits;
        static_assert(sizeof bits == sizeof value);
        __builtin_memcpy(&bits, &value, sizeof bits);
        out.bits = bits;
        return true;
    }
    case PropertyType::Double: {
        const double value = reinterpret_cast<double (*)(RuntimeObject*, i32)>(getter)(object, parameter);
        static_assert(sizeof out.bits == sizeof value);
        __builtin_memcpy(&out.bits, &value, sizeof value);
        return true;
    }
    case PropertyType::Object: {
        // The getter hands over a count; the address is all the debugger keeps.
        const ObjectRef value =
            ObjectRef::adopt(reinterpret_cast<RuntimeObject* (*)(RuntimeObject*, i32)>(getter)(object, parameter));
        out.bits = static_cast<u32>(reinterpret_cast<uintptr_t>(value.get()));
        return true;
    }
    case PropertyType::String: {
        const StringRef value =
            StringRef::adopt(reinterpret_cast<RuntimeString* (*)(RuntimeObject*, i32)>(getter)(object, parameter));
        std::string_view text;
        out.string.encoding = QuavGetStringEncoding(value.get());
        out.string.bytes = record_text(value.get(), text) ? std::string(text) : std::string();
        return true;
    }
    }
    return false;
}

}  // namespace qv::debugger
