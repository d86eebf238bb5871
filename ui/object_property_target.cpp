// Setting properties of runtime objects from a mass property table.
#include "ui/object_property_target.h"

#include <cstring>

#include "runtime/definitions/parameterless_setters.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/strings/string_ref.h"

namespace qv::ui {
namespace {

using IntegerSetter = void (*)(RuntimeObject*, i32, i32);
using SingleSetter = void (*)(RuntimeObject*, i32, float);
using DoubleSetter = void (*)(RuntimeObject*, i32, double);
using StringSetter = void (*)(RuntimeObject*, i32, RuntimeString*);

StringRef utf8_text(const MassValue& value)
{
    StringRef text = StringRef::FromBytes(value.text.data(), static_cast<i32>(value.text.size()));
    text.set_encoding(QV_ENCODING_UTF8);
    return text;
}

}  // namespace

i32 ObjectPropertyTarget::property_count() const
{
    const ClassRecord* c = m_object ? m_object->classRecord : nullptr;
    if (!c || !c->propertyTable || c->propertyCount < 0)
        return 0;
    return c->propertyCount;
}

MassProperty ObjectPropertyTarget::property_at(i32 index) const
{
    const PropertyEntry& entry = m_object->classRecord->propertyTable[index];
    MassProperty property;
    property.has_setter = entry.setter != nullptr;
    const u8* bytes = string_bytes(entry.name);
    const i32 length = string_length(entry.name);
    const void* percent = length > 0 ? std::memchr(bytes, '%', static_cast<size_t>(length)) : nullptr;
    if (percent) {
        const i32 at = static_cast<i32>(static_cast<const u8*>(percent) - bytes) + 1;
        if (at < length)
            property.type = static_cast<char>(bytes[at]);
    }
    return property;
}

void ObjectPropertyTarget::set(i32 index, const MassValue& value)
{
    const PropertyEntry& entry = m_object->classRecord->propertyTable[index];
    if (is_parameterless_setter(entry.setter)) {
        set_without_parameter(entry.setter, value);
        return;
    }
    const bool generic = reinterpret_cast<uintptr_t>(entry.setter) == kGenericAccessorWord;
    const i32 param = entry.parameter;
    switch (value.type) {
    case 'b':
        (generic ? &boolSetter : reinterpret_cast<IntegerSetter>(entry.setter))(m_object, param, value.integer);
        break;
    case 'c':
    case 'i':
        (generic ? &intSetter : reinterpret_cast<IntegerSetter>(entry.setter))(m_object, param, value.integer);
        break;
    case 'f':
        (generic ? &singleSetter : reinterpret_cast<SingleSetter>(entry.setter))(m_object, param, value.single);
        break;
    case 'd':
        (generic ? &doubleSetter : reinterpret_cast<DoubleSetter>(entry.setter))(m_object, param, value.real);
        break;
    case 's':
        (generic ? &stringSetter : reinterpret_cast<StringSetter>(entry.setter))(m_object, param,
                                                                                 utf8_text(value).get());
        break;
    }
}

// A setter defined as (self, value): given the parameter too, it would take it for the value.
void ObjectPropertyTarget::set_without_parameter(void* setter, const MassValue& value)
{
    switch (value.type) {
    case 'b':
    case 'c':
    case 'i': reinterpret_cast<void (*)(RuntimeObject*, i32)>(setter)(m_object, value.integer); break;
    case 'f': reinterpret_cast<void (*)(RuntimeObject*, float)>(setter)(m_object, value.single); break;
    case 'd': reinterpret_cast<void (*)(RuntimeObject*, double)>(setter)(m_object, value.real); break;
    case 's':
        reinterpret_cast<void (*)(RuntimeObject*, RuntimeString*)>(setter)(m_object, utf8_text(value).get());
        break;
    }
}

}  // namespace qv::ui
