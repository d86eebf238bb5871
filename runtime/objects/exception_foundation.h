// Raising exceptions from inside the runtime. A raise records the exception for the nearest
// active landing record on the stack (or hands it to the unhandled-exception hook) and then
// returns normally: the raising routine carries on to its normal exit with a null or zero
// result, and the return lands in the image's handler.
#pragma once

#include "core/types.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

extern "C" {
void RuntimeRaiseException(RuntimeObject* exception);
void RuntimeReraiseException(RuntimeObject* exception);
void RuntimeUnhandledException(RuntimeObject* exception);
}

namespace qv {

// Exception objects: the header, then the error number and the message.
struct ExceptionObject {
    RuntimeObject header;
    i32 errorNumber;
    RuntimeString* message;
};
static_assert(sizeof(ExceptionObject) == 36);

using ExceptionHook = void (*)(RuntimeObject* exception);
ExceptionHook set_raise_hook(ExceptionHook hook);
ExceptionHook set_unhandled_exception_hook(ExceptionHook hook);

// The classes the foundation's own shortcuts raise; set at start-up.
enum class RaiseSlot { NilObject, IllegalCast, OutOfBounds };
void set_raise_slot(RaiseSlot slot, ClassRecord* exception_class);
ClassRecord* raise_slot(RaiseSlot slot);

void RaiseNew(ClassRecord* exception_class);
void RaiseNilObject();
void RaiseIllegalCast();
void RaiseOutOfBounds();

}  // namespace qv
