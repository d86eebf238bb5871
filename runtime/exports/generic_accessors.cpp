// Generic property accessors: read or write the field at byte offset `param` of an object.
// Strings are counted: the getter hands back a new count, the setter keeps one.
#include <cstring>

#include "runtime/diagnostics/assertion.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/objects/object_model.h"
#include "runtime/strings/string_ref.h"

namespace {

// The field, or null (after a raise or an assertion) when there is no object or the field
// would not lie inside it.
void* field_of(RuntimeObject* object, int32_t param, int32_t width)
{
    if (!object) {
        qv::RaiseNilObject();
        return nullptr;
    }
    // RuntimeNewObject never allocates less than the header.
    const ClassRecord* c = object->classRecord;
    i32 size = c ? c->instanceSize : 0;
    if (size < static_cast<i32>(sizeof(RuntimeObject)))
        size = sizeof(RuntimeObject);
    if (param < 0 || param > size - width) {
        qv::assertion_failed("genericAccessors", 40, "param + width <= instanceSize");
        return nullptr;
    }
    return reinterpret_cast<u8*>(object) + param;
}

template <typename T>
T load(RuntimeObject* object, int32_t param)
{
    T value{};
    if (const void* field = field_of(object, param, sizeof(T)))
        std::memcpy(&value, field, sizeof value);
    return value;
}

template <typename T>
void store(RuntimeObject* object, int32_t param, T value)
{
    if (void* field = field_of(object, param, sizeof(T)))
        std::memcpy(field, &value, sizeof value);
}

}  // namespace

extern "C" {

int32_t shortGetter(RuntimeObject* object, int32_t param) { return load<int16_t>(object, param); }
void shortSetter(RuntimeObject* object, int32_t param, int32_t value)
{
    store(object, param, static_cast<int16_t>(value));
}
float singleGetter(RuntimeObject* object, int32_t param) { return load<float>(object, param); }
void singleSetter(RuntimeObject* object, int32_t param, float value) { store(object, param, value); }
double doubleGetter(RuntimeObject* object, int32_t param) { return load<double>(object, param); }
void doubleSetter(RuntimeObject* object, int32_t param, double value) { store(object, param, value); }

int32_t intGetter(RuntimeObject* object, int32_t param)
{
    void* field = field_of(object, param, sizeof(int32_t));
    int32_t value = 0;
    if (field)
        std::memcpy(&value, field, sizeof value);
    return value;
}

void intSetter(RuntimeObject* object, int32_t param, int32_t value)
{
    if (void* field = field_of(object, param, sizeof(int32_t)))
        std::memcpy(field, &value, sizeof value);
}

RuntimeString* stringGetter(RuntimeObject* object, int32_t param)
{
    void* field = field_of(object, param, sizeof(RuntimeString*));
    if (!field)
        return nullptr;
    RuntimeString* value;
    std::memcpy(&value, field, sizeof value);
    return qv::StringRef::share(value).leak();
}

void stringSetter(RuntimeObject* object, int32_t param, RuntimeString* value)
{
    void* field = field_of(object, param, sizeof(RuntimeString*));
    if (!field)
        return;
    RuntimeString* old;
    std::memcpy(&old, field, sizeof old);
    RuntimeString* kept = qv::StringRef::share(value).leak();  // before the release: value may be old
    std::memcpy(field, &kept, sizeof kept);
    RuntimeUnlockString(old);
}

int32_t boolGetter(RuntimeObject* object, int32_t param)
{
    const void* field = field_of(object, param, 1);
    return field && *static_cast<const u8*>(field) != 0;
}

void boolSetter(RuntimeObject* object, int32_t param, int32_t value)
{
    if (void* field = field_of(object, param, 1))
        *static_cast<u8*>(field) = (value & 0xFF) != 0;
}

RuntimeObject* objGetter(RuntimeObject* object, int32_t param)
{
    void* field = field_of(object, param, sizeof(RuntimeObject*));
    if (!field)
        return nullptr;
    RuntimeObject* value;
    std::memcpy(&value, field, sizeof value);
    RuntimeLockObject(value);
    return value;
}

void objSetter(RuntimeObject* object, int32_t param, RuntimeObject* value)
{
    void* field = field_of(object, param, sizeof(RuntimeObject*));
    if (!field)
        return;
    RuntimeObject* old;
    std::memcpy(&old, field, sizeof old);
    RuntimeLockObject(value);  // before the release: value may be old
    std::memcpy(field, &value, sizeof value);
    RuntimeUnlockObject(old);
}

}  // extern "C"
