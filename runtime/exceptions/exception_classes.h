// The foundation's exception classes (RuntimeException and its 16 subclasses), registered as
// class definitions at start-up, and raising one of them with a message.
#pragma once

#include "runtime/definitions/object_definition.h"

namespace qv {

// In registration order; the names are the class names.
enum class ExceptionClass : i32 {
    RuntimeException,
    NilObjectException,
    ServiceNotAvailableException,
    NoOpenTransportException,
    RegistryAccessErrorException,
    IllegalCastException,
    InvalidParentException,
    stackOverflowException,
    typeMismatchException,
    OutOfBoundsException,
    OutOfMemoryException,
    KeyNotFoundException,
    EndException,
    ThreadAlreadyRunningException,
    UnsupportedFormatException,
    KeyChainException,
    OLEException,
};
inline constexpr i32 kExceptionClassCount = 17;

// Builds and registers the definitions (the first call only), then points the three raise
// slots (nil object, illegal cast, out of bounds) at their classes.
void register_foundation_classes();

// The definition of an exception class; built by register_foundation_classes.
ObjectDefinition* exception_definition(ExceptionClass which);

// Creates an exception of the definition's class with the message (borrowed) and error
// number, raises it and lets go of the creation count.
void RaiseNewWithMessage(ObjectDefinition* definition, RuntimeString* message, i32 number);

}  // namespace qv
