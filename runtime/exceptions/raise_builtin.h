// Raising one of the foundation's exception classes by its enum, for runtime routines that
// report type mismatches, missing keys, exhausted memory and the like.
#pragma once

#include "runtime/exceptions/exception_classes.h"

namespace qv {

// Raises a new exception of the class; the raise returns normally (see exception_foundation.h).
void raise_builtin(ExceptionClass which);
// The same with a message (ASCII text) in the exception's Message.
void raise_builtin(ExceptionClass which, const char* message);

}  // namespace qv
