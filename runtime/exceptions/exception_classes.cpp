// The exception class definitions: ErrorNumber and Message on RuntimeException, reached by the
// generic accessors at offsets 28 and 32, and every other class a plain subclass of it.
#include "runtime/exceptions/exception_classes.h"

#include <cstddef>

#include "core/once.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/objects/exception_foundation.h"

namespace qv {
namespace {

constexpr const char* kNames[kExceptionClassCount] = {
    "RuntimeException",
    "NilObjectException",
    "ServiceNotAvailableException",
    "NoOpenTransportException",
    "RegistryAccessErrorException",
    "IllegalCastException",
    "InvalidParentException",
    "stackOverflowException",
    "typeMismatchException",
    "OutOfBoundsException",
    "OutOfMemoryException",
    "KeyNotFoundException",
    "EndException",
    "ThreadAlreadyRunningException",
    "UnsupportedFormatException",
    "KeyChainException",
    "OLEException",
};

static_assert(offsetof(ExceptionObject, errorNumber) == 28);
static_assert(offsetof(ExceptionObject, message) == 32);

const PropertyRecord kProperties[] = {
    {0, "ErrorNumber", &kIntegerType, QV_ROUTINE(intGetter), QV_ROUTINE(intSetter),
     offsetof(ExceptionObject, errorNumber), 0},
    {0, "Message", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(stringSetter), offsetof(ExceptionObject, message),
     0},
};

// The message is the one counted field.
void finalize_exception(RuntimeObject* object)
{
    auto* exception = reinterpret_cast<ExceptionObject*>(object);
    RuntimeUnlockString(exception->message);
    exception->message = nullptr;
}

ObjectDefinition s_definitions[kExceptionClassCount];

void build_definitions()
{
    for (i32 i = 0; i < kExceptionClassCount; ++i) {
        DefinitionSource source{};
        source.name = kNames[i];
        source.instance_size = sizeof(ExceptionObject);
        if (i == 0) {
            source.properties = kProperties;
            source.finalizer = &finalize_exception;
        } else {
            source.super_definition = &s_definitions[0];
        }
        build_definition(s_definitions[i], source);
        RegisterDefinition(&s_definitions[i]);
    }
}

}  // namespace

void register_foundation_classes()
{
    static Once s_once;
    s_once([&] { build_definitions(); });
    set_raise_slot(RaiseSlot::NilObject, ClassFromDefinition(exception_definition(ExceptionClass::NilObjectException)));
    set_raise_slot(RaiseSlot::IllegalCast,
                   ClassFromDefinition(exception_definition(ExceptionClass::IllegalCastException)));
    set_raise_slot(RaiseSlot::OutOfBounds,
                   ClassFromDefinition(exception_definition(ExceptionClass::OutOfBoundsException)));
}

ObjectDefinition* exception_definition(ExceptionClass which)
{
    const i32 i = static_cast<i32>(which);
    return i >= 0 && i < kExceptionClassCount ? &s_definitions[i] : nullptr;
}

void RaiseNewWithMessage(ObjectDefinition* definition, RuntimeString* message, i32 number)
{
    RuntimeObject* object = CreateInstance(definition);
    if (!object)
        return;
    if (!object->classRecord || object->classRecord->instanceSize < static_cast<i32>(sizeof(ExceptionObject))) {
        assertion_failed("RuntimeExceptionFoundation", 540, "defn->instanceSize >= sizeof(RuntimeException)");
        RuntimeUnlockObject(object);
        return;
    }
    auto* exception = reinterpret_cast<ExceptionObject*>(object);
    RuntimeLockUnlockStrings(message, exception->message);
    exception->message = message;
    exception->errorNumber = number;
    RuntimeRaiseException(object);
    RuntimeUnlockObject(object);
}

}  // namespace qv
