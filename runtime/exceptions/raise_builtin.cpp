// Raising the foundation's exception classes from runtime routines.
#include "runtime/exceptions/raise_builtin.h"

#include "runtime/definitions/class_registry.h"
#include "runtime/objects/exception_foundation.h"

namespace qv {

void raise_builtin(ExceptionClass which) { RaiseNew(ClassFromDefinition(exception_definition(which))); }

void raise_builtin(ExceptionClass which, const char* message)
{
    StringRef text = StringRef::FromCString(message);
    RaiseNewWithMessage(exception_definition(which), text.get(), 0);
}

}  // namespace qv
