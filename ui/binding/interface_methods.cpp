#include "ui/binding/interface_methods.h"

#include "runtime/objects/object_model.h"
#include "runtime/strings/string_ref.h"

namespace qv::ui {
namespace {

// The name part of "name%result%params" ("#name" for an event implementation).
StringRef signature_name(RuntimeString* signature)
{
    const StringRef s = StringRef::share(signature);
    const u8* bytes = s.bytes();
    i32 start = s.length() > 0 && bytes[0] == '#' ? 1 : 0;
    i32 end = start;
    while (end < s.length() && bytes[end] != '%')
        ++end;
    StringRef name = StringRef::FromBytes(bytes + start, end - start);
    name.set_encoding(s.encoding());
    return name;
}

}  // namespace

const InterfaceEntry* interface_entry(RuntimeObject* object, BuiltInInterface which)
{
    if (!object || !object->classRecord)
        return nullptr;
    ClassRecord* wanted = interface_class(which);
    ClassRecord* own = object->classRecord;
    const InterfaceEntry* entries = interface_table(own);
    for (i32 i = 0; i < own->interfaceCount; ++i)
        if (entries[i].interfaceClass == wanted)
            return &entries[i];
    return nullptr;
}

void* find_interface_method(RuntimeObject* object, BuiltInInterface which, std::string_view method)
{
    const InterfaceEntry* entry = interface_entry(object, which);
    if (!entry || !entry->methods)
        return nullptr;
    StringRef wanted = StringRef::FromBytes(method.data(), static_cast<i32>(method.size()));
    wanted.set_encoding(kEncodingASCII);
    for (i32 k = 0; k < entry->methodCount; ++k) {
        const MethodEntry& m = entry->methods[k];
        if (m.routine && signature_name(m.signature).CompareNoCase(wanted) == 0)
            return m.routine;
    }
    return nullptr;
}

bool call_boolean_method(RuntimeObject* object, BuiltInInterface which, std::string_view method, bool otherwise)
{
    void* routine = find_interface_method(object, which, method);
    if (!routine)
        return otherwise;
    return (reinterpret_cast<u32 (*)(RuntimeObject*)>(routine)(object) & 0xFF) != 0;
}

RuntimeString* call_string_method(RuntimeObject* object, BuiltInInterface which, std::string_view method)
{
    void* routine = find_interface_method(object, which, method);
    return routine ? reinterpret_cast<RuntimeString* (*)(RuntimeObject*)>(routine)(object) : nullptr;
}

}  // namespace qv::ui
